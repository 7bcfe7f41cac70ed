#include "discinfo/MusicBrainzJson.h"

#include <cctype>

#include <nlohmann/json.hpp>

namespace korvalin {

namespace {

using nlohmann::json;

// Answers nest a few levels deep; anything deeper is dropped while parsing, so a hostile answer
// cannot make the parser build an arbitrarily deep tree.
constexpr int kDeepestNesting = 24;

std::string Str(const json& object, const char* key) {
  if (!object.is_object()) return {};
  const auto it = object.find(key);
  return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

const json* Child(const json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

const json* List(const json& object, const char* key) {
  const json* child = Child(object, key);
  return child && child->is_array() ? child : nullptr;
}

long long Number(const json& object, const char* key, long long otherwise = 0) {
  const json* child = Child(object, key);
  if (!child) return otherwise;
  if (child->is_number_integer()) return child->get<long long>();
  if (child->is_number_unsigned()) {
    const auto n = child->get<unsigned long long>();
    return n > 0x7fffffffULL ? otherwise : static_cast<long long>(n);
  }
  return otherwise;
}

// An artist credit as it reads: each name followed by its join phrase ("A feat. B").
std::string CreditText(const json* credit) {
  if (!credit || !credit->is_array()) return {};
  std::string text;
  for (const json& part : *credit) {
    std::string name = Str(part, "name");
    if (name.empty()) {
      if (const json* artist = Child(part, "artist")) name = Str(*artist, "name");
    }
    text += name + Str(part, "joinphrase");
  }
  return text;
}

std::vector<std::string> CreditIds(const json* credit) {
  std::vector<std::string> ids;
  if (!credit || !credit->is_array()) return ids;
  for (const json& part : *credit) {
    if (const json* artist = Child(part, "artist")) {
      const std::string id = Str(*artist, "id");
      if (!id.empty()) ids.push_back(id);
    }
  }
  return ids;
}

bool HasDiscId(const json& medium, const std::string& discId) {
  const json* discs = List(medium, "discs");
  if (!discs || discId.empty()) return false;
  for (const json& d : *discs) {
    if (Str(d, "id") == discId) return true;
  }
  return false;
}

std::size_t TrackCountOf(const json& medium) {
  const json* tracks = List(medium, "tracks");
  return tracks ? tracks->size() : 0;
}

int32_t LengthMs(long long ms) { return ms > 0 && ms < 0x7fffffffLL ? static_cast<int32_t>(ms) : 0; }

TrackInfo TrackOf(const json& track, int number, const std::string& albumArtist) {
  TrackInfo info;
  info.number = number;
  const json* recording = Child(track, "recording");
  const json empty = json::object();
  const json& rec = recording && recording->is_object() ? *recording : empty;
  info.title = Str(track, "title");
  if (info.title.empty()) info.title = Str(rec, "title");
  info.artist = CreditText(List(track, "artist-credit"));
  if (info.artist.empty()) info.artist = CreditText(List(rec, "artist-credit"));
  if (info.artist == albumArtist) info.artist.clear();  // empty: the album artist
  info.lengthMs = LengthMs(Number(track, "length"));
  if (info.lengthMs == 0) info.lengthMs = LengthMs(Number(rec, "length"));
  info.recordingId = Str(rec, "id");
  info.trackId = Str(track, "id");
  if (const json* isrcs = List(rec, "isrcs")) {
    for (const json& isrc : *isrcs) {
      if (isrc.is_string()) {
        info.isrc = isrc.get<std::string>();
        break;
      }
    }
  }
  return info;
}

// The release as a candidate, or false when none of its media is this disc.
bool CandidateOf(const json& release, const MusicBrainzDisc& disc, DiscInfoCandidate& c) {
  const json* media = List(release, "media");
  if (!media) return false;
  const json* chosen = nullptr;
  for (const json& medium : *media) {
    if (HasDiscId(medium, disc.discId)) {
      chosen = &medium;
      c.mediumDiscId = disc.discId;
      break;
    }
  }
  if (!chosen) {
    for (const json& medium : *media) {
      if (disc.trackCount > 0 && TrackCountOf(medium) == static_cast<std::size_t>(disc.trackCount)) {
        chosen = &medium;
        break;
      }
    }
  }
  if (!chosen) return false;

  c.source = "MusicBrainz";
  c.album = Str(release, "title");
  c.artist = CreditText(List(release, "artist-credit"));
  c.artistIds = CreditIds(List(release, "artist-credit"));
  const std::string date = Str(release, "date");
  if (date.size() >= 4 && std::isdigit(static_cast<unsigned char>(date[0])) &&
      std::isdigit(static_cast<unsigned char>(date[3]))) {
    c.year = date.substr(0, 4);
  }
  if (const json* labels = List(release, "label-info")) {
    for (const json& info : *labels) {
      const json* label = Child(info, "label");
      const std::string name = label ? Str(*label, "name") : "";
      const std::string catalog = Str(info, "catalog-number");
      if (name.empty() && catalog.empty()) continue;
      c.label = name;
      c.catalogNumber = catalog;
      break;
    }
  }
  c.country = Str(release, "country");
  c.barcode = Str(release, "barcode");
  c.releaseId = Str(release, "id");
  if (const json* group = Child(release, "release-group")) c.releaseGroupId = Str(*group, "id");
  c.discNumber = static_cast<int>(Number(*chosen, "position", 0));
  if (c.discNumber < 0 || c.discNumber > 999) c.discNumber = 0;
  c.discCount = static_cast<int>(media->size());
  if (const json* tracks = List(*chosen, "tracks")) {
    int number = disc.firstTrack;
    for (const json& track : *tracks) c.tracks.push_back(TrackOf(track, number++, c.artist));
  }
  return true;
}

bool LooksLikeWebPage(std::string_view body) {
  std::size_t i = 0;
  while (i < body.size() && (body[i] == ' ' || body[i] == '\n' || body[i] == '\r' || body[i] == '\t')) ++i;
  return i < body.size() && body[i] == '<';
}

SourceAnswer Problem(std::string text) {
  SourceAnswer a;
  a.problem = std::move(text);
  return a;
}

SourceAnswer Read(std::string_view body, const MusicBrainzDisc& disc) {
  if (body.empty()) return Problem("the answer is empty");
  if (LooksLikeWebPage(body)) return Problem("the answer is a web page, not disc information");
  const json answer = json::parse(
      body.begin(), body.end(),
      [](int depth, json::parse_event_t, json&) { return depth <= kDeepestNesting; },
      /*allow_exceptions=*/false);
  if (answer.is_discarded()) return Problem("the answer is not valid JSON");
  if (!answer.is_object()) return Problem("the answer is not disc information");
  const std::string error = Str(answer, "error");
  if (!error.empty()) return Problem("the server says: " + error.substr(0, 120));

  std::vector<const json*> releases;
  if (const json* list = List(answer, "releases")) {
    for (const json& r : *list) releases.push_back(&r);
  } else if (List(answer, "media")) {
    releases.push_back(&answer);  // one release on its own
  }
  if (releases.empty()) return Problem("no release holds this disc");

  SourceAnswer result;
  for (const json* release : releases) {
    DiscInfoCandidate c;
    if (CandidateOf(*release, disc, c)) result.candidates.push_back(std::move(c));
  }
  if (result.candidates.empty()) {
    const std::string tracks = " medium of " + std::to_string(disc.trackCount) + " tracks";
    result.problem = releases.size() == 1 ? "the release listed has no" + tracks
                                          : "none of the " + std::to_string(releases.size()) + " releases listed has a" + tracks;
  }
  return result;
}

}  // namespace

SourceAnswer ParseMusicBrainzDiscAnswer(std::string_view body, const MusicBrainzDisc& disc) {
  try {
    return Read(body, disc);
  } catch (const std::exception&) {
    // Nothing above throws on any input; this stays as the promise's last line of defence.
    return Problem("the answer cannot be read");
  }
}

}  // namespace korvalin
