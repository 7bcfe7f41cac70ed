#include "settings/DiscInfoSettings.h"

#include <algorithm>

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"

namespace korvalin {
namespace {

constexpr const char* kKnownSources[] = {"MusicBrainz", "gnudb"};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

std::string Get(SettingsStore& store, const char* key, const std::string& fallback) {
  return store.get(kSettingsApplication, kSettingsSection, key, fallback);
}

}  // namespace

std::vector<std::string> SourceList(const std::string& text) {
  std::vector<std::string> sources;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string name = Lower(Trim(text.substr(start, comma - start)));
    for (const char* known : kKnownSources) {
      if (name == Lower(known) && std::find(sources.begin(), sources.end(), known) == sources.end()) {
        sources.emplace_back(known);
      }
    }
    start = comma + 1;
  }
  return sources;
}

bool IsBaseUrl(const std::string& text) {
  std::size_t host = 0;
  if (text.rfind("http://", 0) == 0) host = 7;
  else if (text.rfind("https://", 0) == 0) host = 8;
  else return false;
  if (text.size() == host || text[host] == '/' || text[host] == ':') return false;
  return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; });
}

std::string CountryCode(const std::string& text) {
  const std::string code = Trim(text);
  if (code.size() != 2) return "";
  std::string upper;
  for (char c : code) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return "";
    upper += c;
  }
  return upper;
}

void LoadDiscInfoSettings(SettingsStore& store, Settings& settings) {
  using namespace settingkey;
  settings.LookupDiscInfo = 1;
  IgnoreErrors([&] { settings.LookupDiscInfo = CInt16(Get(store, LookupDiscInfo, "1")) != 0 ? 1 : 0; });
  settings.DiscInfoSources = kDefaultDiscInfoSources;
  IgnoreErrors([&] {
    const std::string stored = Get(store, DiscInfoSources, kDefaultDiscInfoSources);
    const std::vector<std::string> sources = SourceList(stored);
    if (sources.empty()) return;
    std::string joined;
    for (const auto& name : sources) joined += (joined.empty() ? "" : ",") + name;
    settings.DiscInfoSources = joined;
  });
  settings.PreferredCountry.clear();
  IgnoreErrors([&] { settings.PreferredCountry = CountryCode(Get(store, PreferredCountry, "")); });
  settings.MusicBrainzUrl = kDefaultMusicBrainzUrl;
  IgnoreErrors([&] {
    const std::string url = Get(store, MusicBrainzUrl, kDefaultMusicBrainzUrl);
    if (IsBaseUrl(url)) settings.MusicBrainzUrl = url;
  });
  settings.GnudbUrl = kDefaultGnudbUrl;
  IgnoreErrors([&] {
    const std::string url = Get(store, GnudbUrl, kDefaultGnudbUrl);
    if (IsBaseUrl(url)) settings.GnudbUrl = url;
  });
}

}  // namespace korvalin
