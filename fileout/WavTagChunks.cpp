#include "fileout/WavTagChunks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace korvalin {
namespace {

// Tag chunks larger than these are no tags this program wrote or can use (an ID3v2 tag with
// pictures stays far below); a damaged length must not make it read gigabytes.
constexpr int64_t kLargestInfoList = 1 << 20;
constexpr int64_t kLargestId3Chunk = 64 << 20;

struct InfoField {
  const char* id;
  std::string TrackTags::*text;
};
constexpr InfoField kInfoTexts[] = {
    {"INAM", &TrackTags::title}, {"IART", &TrackTags::artist}, {"IPRD", &TrackTags::album},
    {"ICRD", &TrackTags::year},  {"IGNR", &TrackTags::genre},  {"ICMT", &TrackTags::comment},
};

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void PutChunk(std::vector<uint8_t>& out, const char* id, const uint8_t* body, std::size_t size) {
  out.insert(out.end(), id, id + 4);
  Put32(out, static_cast<uint32_t>(size));
  out.insert(out.end(), body, body + size);
  if (size % 2 != 0) out.push_back(0);
}

// A text sub-chunk: the text and its terminating NUL.
void PutText(std::vector<uint8_t>& out, const char* id, const std::string& text) {
  if (text.empty()) return;
  std::vector<uint8_t> body(text.begin(), text.end());
  body.push_back(0);
  PutChunk(out, id, body.data(), body.size());
}

std::string TrackText(int track, int count) {
  if (track <= 0) return {};
  return count > 0 ? std::to_string(track) + "/" + std::to_string(count) : std::to_string(track);
}

// "7", "7/12" -> 7 and 12; anything unreadable stays 0.
void ReadTrackText(std::string_view text, int& track, int& count) {
  auto number = [](std::string_view digits) {
    int n = 0;
    for (char c : digits) {
      if (c < '0' || c > '9' || n > 99999) return 0;
      n = n * 10 + (c - '0');
    }
    return n;
  };
  const auto slash = text.find('/');
  track = number(text.substr(0, slash));
  count = slash == std::string_view::npos ? 0 : number(text.substr(slash + 1));
}

bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t more = 0;
    uint32_t least = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      more = 1, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      more = 2, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      more = 3, least = 0x10000;
    } else {
      return false;
    }
    if (i + more >= s.size()) return false;
    uint32_t cp = c & (0x3F >> more);
    for (std::size_t k = 1; k <= more; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = cp << 6 | (b & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += more + 1;
  }
  return true;
}

std::string Latin1AsUtf8(std::string_view s) {
  std::string out;
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// A sub-chunk's text: up to its first NUL, as UTF-8.
std::string InfoText(std::string_view body) {
  const std::string_view text = body.substr(0, body.find('\0'));
  return IsUtf8(text) ? std::string(text) : Latin1AsUtf8(text);
}

bool ReadAt(int fd, int64_t offset, void* buffer, std::size_t size) {
  auto* p = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, p + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteAt(int fd, int64_t offset, const void* data, std::size_t size, int& error) {
  const auto* p = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, p + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<uint8_t> InfoListChunk(const TrackTags& tags) {
  std::vector<uint8_t> body = {'I', 'N', 'F', 'O'};
  for (const InfoField& field : kInfoTexts) PutText(body, field.id, tags.*field.text);
  PutText(body, "ITRK", TrackText(tags.track, tags.trackCount));
  if (body.size() == 4) return {};
  std::vector<uint8_t> chunk;
  PutChunk(chunk, "LIST", body.data(), body.size());
  return chunk;
}

std::vector<uint8_t> Id3Chunk(const std::vector<uint8_t>& id3v2Tag) {
  std::vector<uint8_t> chunk;
  if (!id3v2Tag.empty()) PutChunk(chunk, "id3 ", id3v2Tag.data(), id3v2Tag.size());
  return chunk;
}

std::optional<TrackTags> ParseInfoList(std::string_view body) {
  if (body.size() < 4 || body.substr(0, 4) != "INFO") return std::nullopt;
  TrackTags tags;
  std::size_t at = 4;
  // A lone pad byte at the end is forgiven, as some writers count it and others do not.
  while (at + 1 < body.size()) {
    if (at + 8 > body.size()) return std::nullopt;
    const std::string_view id = body.substr(at, 4);
    const uint32_t length = U32(reinterpret_cast<const uint8_t*>(body.data() + at + 4));
    if (length > body.size() - at - 8) return std::nullopt;
    const std::string_view text = body.substr(at + 8, length);
    for (const InfoField& field : kInfoTexts) {
      if (id == field.id) tags.*field.text = InfoText(text);
    }
    // ITRK is the track; IPRT ("part") stands for it in files of some writers.
    if (id == "ITRK" || (id == "IPRT" && tags.track == 0)) ReadTrackText(InfoText(text), tags.track, tags.trackCount);
    at += 8 + length + (length & 1);
  }
  return tags;
}

WavTagChunks ReadWavTagChunks(const std::string& path) {
  WavTagChunks found;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return found;
  struct stat st {};
  uint8_t riff[12];
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !ReadAt(fd, 0, riff, sizeof riff) ||
      std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
    ::close(fd);
    return found;
  }
  const int64_t fileSize = st.st_size;
  int64_t at = sizeof riff;
  while (at + 8 <= fileSize) {
    uint8_t header[8];
    if (!ReadAt(fd, at, header, sizeof header)) break;
    const int64_t length = U32(header + 4);
    if (length > fileSize - at - 8) break;  // cut short: nothing from here on is whole
    const bool list = std::memcmp(header, "LIST", 4) == 0 && length <= kLargestInfoList;
    const bool id3 = (std::memcmp(header, "id3 ", 4) == 0 || std::memcmp(header, "ID3 ", 4) == 0) &&
                     length <= kLargestId3Chunk;
    if ((list && !found.info) || (id3 && found.id3.empty())) {
      std::vector<uint8_t> body(static_cast<std::size_t>(length));
      if (!ReadAt(fd, at + 8, body.data(), body.size())) break;
      if (list) {
        found.info = ParseInfoList(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
      } else {
        found.id3 = std::move(body);
      }
    }
    at += 8 + length + (length & 1);
  }
  ::close(fd);
  return found;
}

TrackTags WithGapsFilled(TrackTags tags, const TrackTags& from) {
  for (std::string TrackTags::*text :
       {&TrackTags::title, &TrackTags::artist, &TrackTags::album, &TrackTags::albumArtist, &TrackTags::year,
        &TrackTags::genre, &TrackTags::isrc, &TrackTags::comment, &TrackTags::albumId, &TrackTags::trackId,
        &TrackTags::recordingId, &TrackTags::artistId, &TrackTags::releaseGroupId}) {
    if ((tags.*text).empty()) tags.*text = from.*text;
  }
  for (int TrackTags::*number : {&TrackTags::track, &TrackTags::trackCount, &TrackTags::disc, &TrackTags::discCount}) {
    if (tags.*number == 0) tags.*number = from.*number;
  }
  return tags;
}

bool AppendWavChunks(int fd, int64_t audioEnd, const std::vector<uint8_t>& chunks, int& error) {
  error = 0;
  struct stat st {};
  // A device (/dev/null) takes the audio as it comes; it has no end to put tags after.
  if (chunks.empty() || (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode))) return true;
  std::vector<uint8_t> tail;
  if (audioEnd % 2 != 0) tail.push_back(0);  // the data chunk's pad byte
  tail.insert(tail.end(), chunks.begin(), chunks.end());
  const int64_t riffLength = audioEnd + static_cast<int64_t>(tail.size()) - 8;
  if (audioEnd < 12 || riffLength > std::numeric_limits<uint32_t>::max()) {
    error = EFBIG;
    return false;
  }
  uint8_t length[4];
  for (int i = 0; i < 4; ++i) length[i] = static_cast<uint8_t>(riffLength >> (8 * i));
  // The chunks first, the length that counts them last: a failure between the two leaves chunks
  // outside the RIFF length, where readers pass over them.
  const bool written = WriteAt(fd, audioEnd, tail.data(), tail.size(), error) && ::fdatasync(fd) == 0 &&
                       WriteAt(fd, 4, length, sizeof length, error) && ::fdatasync(fd) == 0;
  if (written) return true;
  if (error == 0) error = errno;
  // Back to the audio alone (cutting a file never needs room on the disk), with its own length.
  uint8_t audioLength[4];
  for (int i = 0; i < 4; ++i) audioLength[i] = static_cast<uint8_t>((audioEnd - 8) >> (8 * i));
  int ignored = 0;
  if (::ftruncate(fd, static_cast<off_t>(audioEnd)) == 0) WriteAt(fd, 4, audioLength, sizeof audioLength, ignored);
  return false;
}

}  // namespace korvalin
