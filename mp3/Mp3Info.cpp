#include "mp3/Mp3Info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "mp3/Id3v1Tag.h"

namespace korvalin {
namespace {

constexpr const char* kSource = "ReadFrameHeader";
// The frame search reads every position up to 5000, plus what a frame found at the last of them
// needs: its header and the Xing count at frame offsets 44 to 47.
constexpr std::size_t kHeadBytes = kFrameSearchPositions + 48;

class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) throw ErrorFromErrno(errno, kSource);
  }
  ~ReadOnlyFile() { ::close(fd_); }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  int64_t Length() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw ErrorFromErrno(errno, kSource);
    return st.st_size;
  }

  // Up to `count` bytes from `offset`; fewer only at the end of the file.
  std::vector<unsigned char> ReadAt(int64_t offset, std::size_t count) const {
    std::vector<unsigned char> out(count);
    std::size_t got = 0;
    while (got < count) {
      const ssize_t n = ::pread(fd_, out.data() + got, count - got, static_cast<off_t>(offset + static_cast<int64_t>(got)));
      if (n < 0) {
        if (errno == EINTR) continue;
        throw ErrorFromErrno(errno, kSource);
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return out;
  }

 private:
  int fd_;
};

// The frame's first byte offset among positions 1..5000, or -1. Only an MPEG-1 Layer III sync
// (with or without CRC) counts.
int64_t FindFrame(const std::vector<unsigned char>& head) {
  for (std::size_t at = 0; at < static_cast<std::size_t>(kFrameSearchPositions) && at + 1 < head.size(); ++at) {
    if (head[at] == 0xFF && (head[at + 1] == 0xFA || head[at + 1] == 0xFB)) return static_cast<int64_t>(at);
  }
  return -1;
}

// Four bytes from `at`, zeros past the end of what was read.
std::array<unsigned char, 4> FourBytes(const std::vector<unsigned char>& data, std::size_t at) {
  std::array<unsigned char, 4> out{};
  for (std::size_t i = 0; i < 4; ++i) {
    if (at + i < data.size()) out[i] = data[at + i];
  }
  return out;
}

// A tag field: `width` bytes from `at`, trailing blanks removed.
std::string TagField(std::string_view tag, std::size_t at, std::size_t width) {
  std::string_view bytes = tag.substr(at, width);
  while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
  return Latin1ToUtf8(bytes);
}

// The tag is the file's last 128 bytes when they begin with "TAG"; the fields sit at fixed offsets
// from there. Blocks before it (APEv2, Lyrics3) are not read.
void ReadTag(const ReadOnlyFile& file, int64_t length, Mp3Info& info) {
  const auto last = file.ReadAt(length - static_cast<int64_t>(kId3v1Size), kId3v1Size);
  const std::string_view tag(reinterpret_cast<const char*>(last.data()), last.size());
  info.hasTag = IsId3v1Tag(tag);
  if (!info.hasTag) {
    info.title = info.artist = info.album = info.year = info.comment = "";
    info.genre = 255;
    return;
  }
  info.title = TagField(tag, 3, 30);
  info.artist = TagField(tag, 33, 30);
  info.album = TagField(tag, 63, 30);
  info.year = TagField(tag, 93, 4);
  info.comment = TagField(tag, 97, 29);
  info.genre = static_cast<unsigned char>(tag[127]);
}

constexpr std::array<int, 15> kLayer1Bitrates{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr std::array<int, 15> kLayer2Bitrates{0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr std::array<int, 15> kLayer3Bitrates{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

const char* YesNo(int64_t bit) { return bit ? "yes" : "no"; }

}  // namespace

std::string BytesToBits(const unsigned char bytes[4]) {
  std::string bits;
  for (int i = 0; i < 4; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      if (bytes[i] & (1u << bit)) {
        bits.push_back('1');
      } else if (!bits.empty()) {
        bits.push_back('0');
      }
    }
  }
  return bits;
}

int64_t BitsToNumber(std::string_view bits) {
  int64_t value = 0;
  for (const char c : bits) value = value * 2 + (c == '1' ? 1 : 0);
  return value;
}

std::string ReadFrameHeader(const std::string& path, bool readTag, bool readHeader, Mp3Info& info,
                            FrameSearch& search) {
  const ReadOnlyFile file(path);
  search = FrameSearch{};
  search.fileLength = file.Length();
  if (search.fileLength < kShortestAnalysedFile) return {};

  std::array<unsigned char, 4> header{};
  if (readHeader) {
    const auto head = file.ReadAt(0, kHeadBytes);
    search.offset = FindFrame(head);
    search.found = search.offset >= 0;
    if (search.found) {
      const auto at = static_cast<std::size_t>(search.offset);
      const auto xing = FourBytes(head, at + 36);
      search.XingFound = std::memcmp(xing.data(), "Xing", 4) == 0;
      if (search.XingFound) search.XingFrames = BitsToNumber(BytesToBits(FourBytes(head, at + 44).data()));
      header = FourBytes(head, at);
    }
  }
  if (readTag) ReadTag(file, search.fileLength, info);
  return search.found ? BytesToBits(header.data()) : std::string();
}

void GetMp3Info(const std::string& path, Mp3Info& info) {
  info = Mp3Info{};
  FrameSearch search;
  const std::string h = ReadFrameHeader(path, true, true, info, search);
  if (h.size() != 32) {
    info.problem = search.fileLength < kShortestAnalysedFile ? kTooShort : kNoFrame;
    return;
  }
  // The field at 1-based bit positions from..from+count-1.
  auto field = [&](std::size_t from, std::size_t count) { return BitsToNumber(std::string_view(h).substr(from - 1, count)); };

  constexpr std::array<int16_t, 4> kVersions{25, 0, 2, 1};
  constexpr std::array<int16_t, 4> kLayers{0, 3, 2, 1};
  constexpr std::array<const char*, 4> kModes{"stereo", "joint stereo", "dual channel", "single channel"};
  constexpr std::array<const char*, 4> kEmphases{"no", "50/15", "reserved", "CCITT J 17"};
  constexpr std::array<int32_t, 3> kFrequencies{44100, 48000, 32000};

  const int16_t version = kVersions[static_cast<std::size_t>(field(12, 2))];
  const int16_t layer = kLayers[static_cast<std::size_t>(field(14, 2))];
  if (version != 1 || layer == 0) {
    info.problem = "not an MPEG-1 audio frame";
    return;
  }
  const auto frequencyIndex = static_cast<std::size_t>(field(21, 2));
  if (frequencyIndex >= kFrequencies.size()) {
    info.problem = "reserved sample-rate index";
    return;
  }
  const int32_t frequency = kFrequencies[frequencyIndex];
  const auto length = static_cast<double>(search.fileLength);

  double bitrate = 0;
  if (search.XingFound) {
    if (search.XingFrames == 0) {
      info.problem = "Xing frame count 0";
      return;
    }
    bitrate = length * frequency / static_cast<double>(search.XingFrames) / 1000 / 144;
  } else {
    const auto index = static_cast<std::size_t>(field(17, 4));
    if (index == 15) {
      info.problem = "reserved bitrate index";
      return;
    }
    const auto& table = layer == 1 ? kLayer1Bitrates : layer == 2 ? kLayer2Bitrates : kLayer3Bitrates;
    bitrate = table[index];
    if (bitrate == 0) {
      info.problem = "free-format bitrate";
      return;
    }
  }
  const double seconds = std::floor(length * 8 / bitrate / 1000);
  int16_t rounded = 0;
  try {
    rounded = CInt16(bitrate);
  } catch (const RaisedError&) {
    info.problem = "bitrate out of range";
    return;
  }
  if (!(seconds <= std::numeric_limits<int32_t>::max())) {
    info.problem = "duration out of range";
    return;
  }

  info.version = version;
  info.layer = layer;
  info.mode = kModes[static_cast<std::size_t>(field(25, 2))];
  info.emphasis = kEmphases[static_cast<std::size_t>(field(31, 2))];
  info.frequency = frequency;
  info.bitrate = rounded;
  info.padding = YesNo(field(23, 1));
  info.privateBit = YesNo(field(24, 1));
  info.copyright = YesNo(field(29, 1));
  info.original = YesNo(field(30, 1));
  info.crc = field(16, 1) ? "no" : "yes";
  info.duration = static_cast<int32_t>(seconds);
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
    uint32_t code = extra == 0 ? c : c & (0x3Fu >> extra);
    bool valid = extra < 4 && i + extra < text.size();
    for (std::size_t k = 1; valid && k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(text[i + k]);
      valid = (cc & 0xC0) == 0x80;
      code = (code << 6) | (cc & 0x3F);
    }
    if (!valid) {
      // A stray byte or a sequence cut short: one unknown character.
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
    i += extra + 1;
  }
  return out;
}

}  // namespace korvalin
