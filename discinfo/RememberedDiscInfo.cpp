#include "discinfo/RememberedDiscInfo.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

#include "rip/DiscIds.h"

namespace korvalin {
namespace {

using nlohmann::json;

constexpr std::uintmax_t kLargestFile = 1 << 20;  // a kept choice is a few kilobytes

json ToJson(const DiscInfoCandidate& c) {
  json tracks = json::array();
  for (const TrackInfo& t : c.tracks) tracks.push_back({{"number", t.number}, {"title", t.title}, {"artist", t.artist}});
  return {{"source", c.source}, {"album", c.album},     {"artist", c.artist},   {"year", c.year},
          {"genre", c.genre},   {"label", c.label},     {"country", c.country}, {"releaseId", c.releaseId},
          {"tracks", tracks}};
}

std::string Text(const json& object, const char* key) {
  const auto it = object.find(key);
  return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

DiscInfoCandidate FromJson(const json& j) {
  DiscInfoCandidate c;
  c.source = "cache";
  c.album = Text(j, "album");
  c.artist = Text(j, "artist");
  c.year = Text(j, "year");
  c.genre = Text(j, "genre");
  c.label = Text(j, "label");
  c.country = Text(j, "country");
  c.releaseId = Text(j, "releaseId");
  const auto tracks = j.find("tracks");
  if (tracks != j.end() && tracks->is_array()) {
    for (const json& t : *tracks) {
      if (!t.is_object() || !t.contains("number") || !t["number"].is_number_integer()) continue;
      TrackInfo track;
      track.number = t["number"].get<int>();
      track.title = Text(t, "title");
      track.artist = Text(t, "artist");
      c.tracks.push_back(std::move(track));
    }
  }
  const std::string from = Text(j, "source");
  c.reasons.push_back(kKeptChoiceReason);
  if (!from.empty() && from != "cache") c.reasons.push_back("first found by " + from);
  return c;
}

// Only the characters the ids are made of reach a file name.
std::string Safe(const std::string& id) {
  std::string out;
  for (char c : id) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    out += plain ? c : '_';
  }
  return out;
}

}  // namespace

std::string RememberedDiscInfo::FileOf(const DiscQuery& disc) const {
  std::string name = Hex8(disc.cddbId);
  if (!disc.musicBrainzId.empty()) name += "-" + Safe(disc.musicBrainzId);
  return folder_ + "/" + name + ".json";
}

std::optional<DiscInfoCandidate> RememberedDiscInfo::Kept(const DiscQuery& disc) const {
  const std::string path = FileOf(disc);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) > kLargestFile) return {};
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const json j = json::parse(text.str(), nullptr, false);
  if (j.is_discarded() || !j.is_object()) return {};
  return FromJson(j);
}

LookupResult RememberedDiscInfo::Look(const DiscQuery& disc, const LookupOptions&, bool,
                                      const std::function<bool()>&) {
  LookupResult result;
  if (auto kept = Kept(disc)) result.candidates.push_back(std::move(*kept));
  return result;
}

std::string RememberedDiscInfo::Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  const std::string path = FileOf(disc);
  // Written beside its name and moved over it, so a failed write never leaves half a file.
  const std::string part = path + ".part-" + std::to_string(::getpid());
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out << ToJson(chosen).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    out.flush();
    if (!out) {
      const std::string why = std::strerror(errno ? errno : EIO);
      std::filesystem::remove(part, ec);
      return "Could not save the disc information in " + folder_ + ": " + why;
    }
  }
  std::filesystem::rename(part, path, ec);
  if (ec) {
    std::filesystem::remove(part, ec);
    return "Could not save the disc information in " + folder_ + ": " + ec.message();
  }
  return "";
}

}  // namespace korvalin
