#include "discinfo/XmcdRecord.h"

#include <map>

namespace korvalin {

namespace {

// No real disc has more than 99 tracks; a record claiming track 100000 must not make the
// program allocate for it.
constexpr int kMostTracks = 99;

std::string Unescaped(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char next = value[i + 1];
      if (next == 'n') { out += '\n'; ++i; continue; }
      if (next == 't') { out += '\t'; ++i; continue; }
      if (next == '\\') { out += '\\'; ++i; continue; }
    }
    out += value[i];
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A whole non-negative number of at most 9 digits; -1 otherwise.
int Number(std::string_view s) {
  s = Trim(s);
  if (s.empty() || s.size() > 9) return -1;
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// "Artist / Title" split at the first " / ".
bool SplitArtist(const std::string& text, std::string& artist, std::string& title) {
  const std::size_t at = text.find(" / ");
  if (at == std::string::npos) return false;
  artist = std::string(Trim(std::string_view(text).substr(0, at)));
  title = std::string(Trim(std::string_view(text).substr(at + 3)));
  return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

XmcdRecord ParseXmcd(std::string_view text) {
  XmcdRecord record;
  std::map<std::string, std::string> values;  // keyword -> joined raw value
  std::map<int, std::string> titles;
  bool inOffsets = false;

  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    if (!line.empty() && line.front() == '#') {
      std::string_view comment = Trim(line.substr(1));
      if (StartsWith(comment, "Track frame offsets")) {
        inOffsets = true;
        continue;
      }
      if (inOffsets) {
        const int offset = Number(comment);
        if (offset >= 0) {
          if (record.frameOffsets.size() < kMostTracks) record.frameOffsets.push_back(offset);
          continue;
        }
        inOffsets = false;
      }
      if (StartsWith(comment, "Disc length:")) {
        std::string_view rest = Trim(comment.substr(12));
        std::size_t digits = 0;
        while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
        const int seconds = Number(rest.substr(0, digits));
        if (seconds > 0) record.discSeconds = seconds;
      }
      continue;
    }
    inOffsets = false;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string key(Trim(line.substr(0, equals)));
    const std::string_view value = line.substr(equals + 1);
    if (StartsWith(key, "TTITLE")) {
      const int n = Number(std::string_view(key).substr(6));
      if (n >= 0 && n < kMostTracks) titles[n] += value;
      continue;
    }
    if (key == "DISCID") {
      // Several ids may be listed, on several lines or comma-separated: the first is this disc's.
      if (values[key].empty()) values[key] = std::string(value);
      continue;
    }
    values[key] += value;
  }

  const std::string dtitle = std::string(Trim(Unescaped(values["DTITLE"])));
  if (!SplitArtist(dtitle, record.artist, record.album)) {
    record.artist = dtitle;
    record.album = dtitle;
  }
  std::string id(Trim(values["DISCID"]));
  record.discId = id.substr(0, id.find(','));
  record.year = std::string(Trim(Unescaped(values["DYEAR"])));
  record.genre = std::string(Trim(Unescaped(values["DGENRE"])));
  record.extended = Unescaped(values["EXTD"]);

  const int count = titles.empty() ? 0 : titles.rbegin()->first + 1;
  record.trackTitles.assign(count, "");
  record.trackArtists.assign(count, "");
  const bool variousArtists = StartsWith(record.artist, "Various");
  for (const auto& [n, raw] : titles) {
    std::string title(Trim(Unescaped(raw)));
    std::string artist, rest;
    if (variousArtists && SplitArtist(title, artist, rest)) {
      record.trackArtists[n] = artist;
      title = rest;
    }
    record.trackTitles[n] = title;
  }
  return record;
}

}  // namespace korvalin
