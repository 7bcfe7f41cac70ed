#include "discinfo/DiscInfoCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "fileout/StagedOutput.h"
#include "platform/UserFolders.h"

namespace korvalin {
namespace {

using nlohmann::json;

constexpr int kFormat = 1;
constexpr off_t kMaxFileBytes = 1 << 20;  // far more than any disc's text

// Only characters that are safe in a file name, whatever the id holds.
std::string SafeName(const std::string& id) {
  std::string out;
  for (const char c : id) {
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
    out += safe ? c : '_';
  }
  return out;
}

std::string Hex(uint32_t v) {
  static const char* digits = "0123456789abcdef";
  std::string s(8, '0');
  for (int i = 7; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = digits[v & 0xF];
  return s;
}

// Every folder of `path` in turn; false when one cannot be made.
bool MakeFolders(const std::string& path) {
  for (std::size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    const std::string part = path.substr(0, at);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteAll(const std::string& path, const std::string& text, std::string& why) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  std::size_t done = 0;
  bool ok = true;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      why = n < 0 ? std::strerror(errno) : "nothing could be written";
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  // On the disk before the name moves, so the name never stands for an empty file.
  if (ok && ::fdatasync(fd) != 0) {
    ok = false;
    why = std::strerror(errno);
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    why = std::strerror(errno);
  }
  return ok;
}

// The file's text; nothing for a missing file. Throws for a file that cannot be a cache file.
std::optional<std::string> ReadSmallFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return std::nullopt;
    throw std::runtime_error(std::strerror(errno));
  }
  struct stat st {};
  std::string text;
  std::string fault;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    fault = "it is not a regular file";
  } else if (st.st_size > kMaxFileBytes) {
    fault = "it is larger than any saved choice";
  } else {
    text.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) fault = std::strerror(errno);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    text.resize(done);
  }
  ::close(fd);
  if (!fault.empty()) throw std::runtime_error(fault);
  return text;
}

std::string Text(const json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || it->is_null()) return {};
  if (!it->is_string()) throw std::runtime_error(std::string("\"") + key + "\" is not text");
  return it->get<std::string>();
}

int Number(const json& object, const char* key, int low, int high) {
  const auto it = object.find(key);
  if (it == object.end() || it->is_null()) {
    // Missing means 0 where 0 may stand; otherwise the choice would not read back as it was saved.
    if (low > 0) throw std::runtime_error(std::string("\"") + key + "\" is missing");
    return 0;
  }
  if (!it->is_number_integer()) throw std::runtime_error(std::string("\"") + key + "\" is not a whole number");
  const auto v = it->get<int64_t>();
  if (v < low || v > high) throw std::runtime_error(std::string("\"") + key + "\" is out of range");
  return static_cast<int>(v);
}

}  // namespace

std::string DiscInfoCache::DefaultFolder() { return UserDataFolder() + "/discinfo"; }

std::string DiscInfoCache::FileOf(const DiscQuery& disc) const {
  const std::string id = disc.musicBrainzId.empty() ? std::string() : "-" + SafeName(disc.musicBrainzId);
  return folder_ + "/" + Hex(disc.cddbId) + id + ".json";
}

std::string CacheText(const DiscQuery& disc, const DiscInfoCandidate& c) {
  json tracks = json::array();
  for (const TrackInfo& t : c.tracks) {
    tracks.push_back({{"number", t.number}, {"title", t.title}, {"artist", t.artist}, {"lengthMs", t.lengthMs},
                      {"isrc", t.isrc}, {"recordingId", t.recordingId}, {"trackId", t.trackId},
                      {"songwriter", t.songwriter}});
  }
  const json file = {
      {"format", kFormat},
      {"musicBrainzId", disc.musicBrainzId},
      {"cddbId", Hex(disc.cddbId)},
      {"chosenFrom", c.source},
      {"album", c.album},
      {"artist", c.artist},
      {"year", c.year},
      {"genre", c.genre},
      {"label", c.label},
      {"catalogNumber", c.catalogNumber},
      {"country", c.country},
      {"barcode", c.barcode},
      {"discNumber", c.discNumber},
      {"discCount", c.discCount},
      {"releaseId", c.releaseId},
      {"releaseGroupId", c.releaseGroupId},
      {"mediumDiscId", c.mediumDiscId},
      {"artistIds", c.artistIds},
      {"songwriter", c.songwriter},
      {"tracks", tracks},
  };
  // Text that is not UTF-8 is written with replacement characters rather than refused.
  return file.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

DiscInfoCandidate ParseCacheText(const std::string& text, const DiscQuery& disc) {
  const json file = json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (file.is_discarded() || !file.is_object()) throw std::runtime_error("it is not JSON");
  // A file written without the format and the ids (as the window's first version wrote them) is
  // read by its name alone; one that gives them must give these.
  if (file.contains("format") && Number(file, "format", 0, 1000) != kFormat) throw std::runtime_error("it is of another format");
  if ((file.contains("cddbId") && Text(file, "cddbId") != Hex(disc.cddbId)) ||
      (file.contains("musicBrainzId") && Text(file, "musicBrainzId") != disc.musicBrainzId)) {
    throw std::runtime_error("it belongs to another disc");
  }
  DiscInfoCandidate c;
  c.source = kCacheSource;
  c.album = Text(file, "album");
  c.artist = Text(file, "artist");
  c.year = Text(file, "year");
  c.genre = Text(file, "genre");
  c.label = Text(file, "label");
  c.catalogNumber = Text(file, "catalogNumber");
  c.country = Text(file, "country");
  c.barcode = Text(file, "barcode");
  c.discNumber = Number(file, "discNumber", 0, 999);
  c.discCount = Number(file, "discCount", 0, 999);
  c.releaseId = Text(file, "releaseId");
  c.releaseGroupId = Text(file, "releaseGroupId");
  c.mediumDiscId = Text(file, "mediumDiscId");
  c.songwriter = Text(file, "songwriter");
  if (const auto ids = file.find("artistIds"); ids != file.end() && !ids->is_null()) {
    if (!ids->is_array()) throw std::runtime_error("\"artistIds\" is not a list");
    for (const json& id : *ids) {
      if (!id.is_string()) throw std::runtime_error("\"artistIds\" holds something other than text");
      c.artistIds.push_back(id.get<std::string>());
    }
  }
  const auto tracks = file.find("tracks");
  if (tracks == file.end() || !tracks->is_array()) throw std::runtime_error("it lists no tracks");
  if (tracks->size() > 99) throw std::runtime_error("it lists more than 99 tracks");
  for (const json& t : *tracks) {
    if (!t.is_object()) throw std::runtime_error("a track is not an object");
    TrackInfo track;
    track.number = Number(t, "number", 1, 99);
    track.title = Text(t, "title");
    track.artist = Text(t, "artist");
    track.lengthMs = Number(t, "lengthMs", 0, 100 * 60 * 1000);
    track.isrc = Text(t, "isrc");
    track.recordingId = Text(t, "recordingId");
    track.trackId = Text(t, "trackId");
    track.songwriter = Text(t, "songwriter");
    c.tracks.push_back(std::move(track));
  }
  std::string from = Text(file, "chosenFrom");
  if (from.empty()) from = Text(file, "source");
  c.reasons.push_back(from.empty() || from == kCacheSource ? "chosen before for this disc"
                                                         : "chosen before for this disc (from " + from + ")");
  return c;
}

CachedChoice DiscInfoCache::Load(const DiscQuery& disc) const {
  CachedChoice kept;
  const std::string path = FileOf(disc);
  try {
    const std::optional<std::string> text = ReadSmallFile(path);
    if (text) kept.candidate = ParseCacheText(*text, disc);
  } catch (const std::exception& e) {
    kept.problem = "The saved disc information \"" + path + "\" was ignored: " + e.what() + ".";
  }
  return kept;
}

std::string DiscInfoCache::Save(const DiscQuery& disc, const DiscInfoCandidate& chosen) const {
  if (!MakeFolders(folder_)) return "The folder \"" + folder_ + "\" for saved disc information cannot be made: " + std::strerror(errno) + ".";
  StagedOutput out(FileOf(disc));
  std::string why;
  if (!out.Create()) return "The disc information cannot be saved: " + out.Problem() + ".";
  if (!WriteAll(out.WritePath(), CacheText(disc, chosen), why)) {
    out.Discard();
    return "The disc information cannot be saved in \"" + out.Target() + "\": " + why + ".";
  }
  if (!out.Commit()) return "The disc information cannot be saved: " + out.Problem() + ".";
  return {};
}

}  // namespace korvalin
