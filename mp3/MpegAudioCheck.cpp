#include "mp3/MpegAudioCheck.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <vector>

namespace korvalin {
namespace {

constexpr std::size_t kSearchBytes = 64 * 1024;
constexpr std::size_t kId3v2HeaderSize = 10;
constexpr std::size_t kId3v1Size = 128;

struct Frame {
  int version = 0;  // the header's two version bits: 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  int layer = 0;    // the header's two layer bits: 3 Layer I, 2 Layer II, 1 Layer III
  int rate = 0;
  std::size_t length = 0;
};

// The frame whose header starts at `p`, or a frame of length 0 when there is none.
Frame FrameAt(const unsigned char* p) {
  static constexpr std::array<std::array<int, 16>, 5> kKbps{{
      {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // MPEG-1 Layer I
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // MPEG-1 Layer II
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // MPEG-1 Layer III
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},     // MPEG-2/2.5 Layer I
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},          // MPEG-2/2.5 Layer II, III
  }};
  static constexpr std::array<int, 3> kMpeg1Rates{44100, 48000, 32000};
  Frame f;
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return f;
  f.version = (p[1] >> 3) & 3;
  f.layer = (p[1] >> 1) & 3;
  const int bitrateIndex = p[2] >> 4, rateIndex = (p[2] >> 2) & 3, padding = (p[2] >> 1) & 1;
  if (f.version == 1 || f.layer == 0 || rateIndex == 3) return f;
  const bool mpeg1 = f.version == 3;
  const int table = mpeg1 ? 3 - f.layer : (f.layer == 3 ? 3 : 4);
  const int kbps = kKbps[static_cast<std::size_t>(table)][static_cast<std::size_t>(bitrateIndex)];
  if (kbps == 0) return f;  // free format or a bad index: not taken for audio here
  f.rate = kMpeg1Rates[static_cast<std::size_t>(rateIndex)] >> (mpeg1 ? 0 : f.version == 2 ? 1 : 2);
  if (f.layer == 3) {
    f.length = static_cast<std::size_t>((12 * kbps * 1000 / f.rate + padding) * 4);
  } else {
    const int perFrame = (f.layer == 1 && !mpeg1) ? 72 : 144;
    f.length = static_cast<std::size_t>(perFrame * kbps * 1000 / f.rate + padding);
  }
  return f;
}

std::vector<unsigned char> ReadAt(int fd, off_t offset, std::size_t size) {
  std::vector<unsigned char> data(size);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, data.data() + done, size - done, offset + static_cast<off_t>(done));
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  data.resize(done);
  return data;
}

}  // namespace

bool HoldsMpegAudio(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const off_t end = ::lseek(fd, 0, SEEK_END);
  off_t start = 0;
  const auto head = ReadAt(fd, 0, kId3v2HeaderSize);
  if (head.size() == kId3v2HeaderSize && head[0] == 'I' && head[1] == 'D' && head[2] == '3') {
    // An ID3v2 tag before the audio: its size is stored seven bits a byte.
    const off_t size = (head[6] & 0x7F) << 21 | (head[7] & 0x7F) << 14 | (head[8] & 0x7F) << 7 | (head[9] & 0x7F);
    start = static_cast<off_t>(kId3v2HeaderSize) + size + ((head[5] & 0x10) ? static_cast<off_t>(kId3v2HeaderSize) : 0);
  }
  const auto data = ReadAt(fd, start, kSearchBytes + 4);
  ::close(fd);
  const std::size_t audioEnd = static_cast<std::size_t>(end - start);  // where the audio may end
  for (std::size_t at = 0; at + 4 <= data.size() && at < kSearchBytes; ++at) {
    const Frame frame = FrameAt(&data[at]);
    if (frame.length == 0) continue;
    const std::size_t next = at + frame.length;
    // The frame ends the file (a tag may follow), or a frame of the same stream follows it.
    if (next == audioEnd || next + kId3v1Size == audioEnd) return true;
    if (next + 4 <= data.size()) {
      const Frame following = FrameAt(&data[next]);
      if (following.length != 0 && following.version == frame.version && following.layer == frame.layer &&
          following.rate == frame.rate) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace korvalin
