#include "tests/support/Mp3Analysis.h"

#include <mpg123.h>
#include <sys/types.h>

#include <algorithm>
#include <cstring>

namespace korvalin::test {
namespace {

constexpr int kMpeg1Layer3[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kMpeg1Layer2[] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr int kMpeg1Layer1[] = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr int kMpeg2Layer1[] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr int kMpeg2Layer23[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int kMpeg1Rates[] = {44100, 48000, 32000};

unsigned Byte(std::string_view data, std::size_t at) { return static_cast<unsigned char>(data[at]); }

struct MemoryReader {
  std::string_view data;
  std::size_t position = 0;
};

ssize_t ReadMemory(void* handle, void* buffer, size_t count) {
  auto* m = static_cast<MemoryReader*>(handle);
  const std::size_t n = std::min(count, m->data.size() - m->position);
  std::memcpy(buffer, m->data.data() + m->position, n);
  m->position += n;
  return static_cast<ssize_t>(n);
}

off_t SeekMemory(void* handle, off_t offset, int whence) {
  auto* m = static_cast<MemoryReader*>(handle);
  const off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(m->position)
                                                                 : static_cast<off_t>(m->data.size());
  const off_t target = base + offset;
  if (target < 0 || target > static_cast<off_t>(m->data.size())) return -1;
  m->position = static_cast<std::size_t>(target);
  return target;
}

}  // namespace

std::optional<MpegFrame> ParseFrameHeader(std::string_view data, std::size_t offset) {
  if (offset + 4 > data.size()) return std::nullopt;
  const unsigned b1 = Byte(data, offset + 1), b2 = Byte(data, offset + 2), b3 = Byte(data, offset + 3);
  if (Byte(data, offset) != 0xFF || (b1 & 0xE0) != 0xE0) return std::nullopt;

  MpegFrame f;
  f.offset = offset;
  switch ((b1 >> 3) & 3) {
    case 0: f.version = MpegVersion::Mpeg25; break;
    case 2: f.version = MpegVersion::Mpeg2; break;
    case 3: f.version = MpegVersion::Mpeg1; break;
    default: return std::nullopt;
  }
  const unsigned layerBits = (b1 >> 1) & 3;
  if (layerBits == 0) return std::nullopt;
  f.layer = 4 - static_cast<int>(layerBits);
  f.crcProtected = (b1 & 1) == 0;

  const unsigned bitrateIndex = b2 >> 4, rateIndex = (b2 >> 2) & 3;
  if (bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return std::nullopt;
  const bool mpeg1 = f.version == MpegVersion::Mpeg1;
  const int* table = mpeg1 ? (f.layer == 1 ? kMpeg1Layer1 : f.layer == 2 ? kMpeg1Layer2 : kMpeg1Layer3)
                           : (f.layer == 1 ? kMpeg2Layer1 : kMpeg2Layer23);
  f.bitrateKbps = table[bitrateIndex];
  const int divisor = mpeg1 ? 1 : f.version == MpegVersion::Mpeg2 ? 2 : 4;
  f.sampleRate = kMpeg1Rates[rateIndex] / divisor;
  f.padding = (b2 >> 1) & 1;
  f.privateBit = b2 & 1;
  f.mode = static_cast<int>(b3 >> 6);
  f.modeExtension = static_cast<int>((b3 >> 4) & 3);
  f.copyright = (b3 >> 3) & 1;
  f.original = (b3 >> 2) & 1;
  f.emphasis = static_cast<int>(b3 & 3);

  if (f.layer == 1) {
    f.samplesPerChannel = 384;
    f.length = static_cast<std::size_t>((12000 * f.bitrateKbps / f.sampleRate + f.padding) * 4);
  } else {
    f.samplesPerChannel = (f.layer == 3 && !mpeg1) ? 576 : 1152;
    const int perKbit = f.samplesPerChannel / 8 * 1000;
    f.length = static_cast<std::size_t>(perKbit * f.bitrateKbps / f.sampleRate + f.padding);
  }
  return f;
}

FrameScan ScanFrames(std::string_view data) {
  FrameScan scan;
  std::size_t end = data.size();
  if (end >= 128 && data.substr(end - 128, 3) == "TAG") {
    scan.hasId3v1 = true;
    end -= 128;
  }
  std::size_t at = 0;
  if (end >= 10 && data.substr(0, 3) == "ID3") {
    const std::size_t body = (Byte(data, 6) & 0x7F) << 21 | (Byte(data, 7) & 0x7F) << 14 |
                             (Byte(data, 8) & 0x7F) << 7 | (Byte(data, 9) & 0x7F);
    scan.id3v2Size = std::min(end, 10 + body + ((Byte(data, 5) & 0x10) ? 10 : 0));
    at = scan.id3v2Size;
  }
  const std::string_view audio = data.substr(0, end);
  while (at < end) {
    const auto frame = ParseFrameHeader(audio, at);
    if (!frame || frame->length < 4 || at + frame->length > end) break;
    scan.frames.push_back(*frame);
    at += frame->length;
  }
  scan.strayBytes = end - at;
  return scan;
}

bool IsTagFrame(std::string_view data, const MpegFrame& frame) {
  if (frame.layer != 3) return false;
  const bool mono = frame.mode == kModeMono;
  const std::size_t sideInfo =
      frame.version == MpegVersion::Mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  const std::size_t at = frame.offset + 4 + (frame.crcProtected ? 2 : 0) + sideInfo;
  if (at + 4 > frame.offset + frame.length || at + 4 > data.size()) return false;
  const std::string_view id = data.substr(at, 4);
  return id == "Xing" || id == "Info";
}

DecodedAudio DecodeMp3(std::string_view data) {
  DecodedAudio out;
  int error = MPG123_OK;
  mpg123_handle* mh = mpg123_new(nullptr, &error);
  if (!mh) return out;
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  mpg123_format_none(mh);
  const long* rates = nullptr;
  std::size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (std::size_t i = 0; i < rateCount; ++i) {
    mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  }
  MemoryReader reader{data};
  if (mpg123_replace_reader_handle(mh, ReadMemory, SeekMemory, nullptr) == MPG123_OK &&
      mpg123_open_handle(mh, &reader) == MPG123_OK) {
    std::vector<unsigned char> buffer(32768);
    for (;;) {
      std::size_t done = 0;
      const int r = mpg123_read(mh, buffer.data(), buffer.size(), &done);
      if (r == MPG123_NEW_FORMAT) {
        int encoding = 0;
        mpg123_getformat(mh, &out.rate, &out.channels, &encoding);
      }
      for (std::size_t i = 0; i + 1 < done; i += 2) {
        int16_t sample = 0;  // libmpg123 gives samples in the machine's own byte order
        std::memcpy(&sample, &buffer[i], 2);
        out.samples.push_back(sample);
      }
      if (r != MPG123_OK && r != MPG123_NEW_FORMAT) break;
    }
    mpg123_close(mh);
  }
  mpg123_delete(mh);
  return out;
}

}  // namespace korvalin::test
