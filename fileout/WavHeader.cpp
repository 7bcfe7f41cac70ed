#include "fileout/WavHeader.h"

#include <cstring>
#include <limits>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

void Put32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

std::array<uint8_t, kWavHeaderSize> BuildPcmWavHeader(const PcmLayout& layout, uint32_t dataLength) {
  const uint32_t blockAlign = layout.channels * layout.bitsPerSample / 8;
  std::array<uint8_t, kWavHeaderSize> h{};
  std::memcpy(&h[0], "RIFF", 4);
  Put32(&h[4], dataLength + 36);
  std::memcpy(&h[8], "WAVE", 4);
  std::memcpy(&h[12], "fmt ", 4);
  Put32(&h[16], 16);  // size of the format chunk
  Put16(&h[20], 1);   // PCM
  Put16(&h[22], static_cast<uint16_t>(layout.channels));
  Put32(&h[24], layout.samplesPerSecond);
  Put32(&h[28], layout.samplesPerSecond * blockAlign);  // bytes per second
  Put16(&h[32], static_cast<uint16_t>(blockAlign));     // bytes per sample frame
  Put16(&h[34], static_cast<uint16_t>(layout.bitsPerSample));
  std::memcpy(&h[36], "data", 4);
  Put32(&h[40], dataLength);
  return h;
}

std::array<uint8_t, kWavHeaderSize> BuildCdWavHeader(int64_t dataLength) {
  if (dataLength > kMaxWavDataLength || dataLength < std::numeric_limits<int32_t>::min()) {
    throw RaisedError::Of(errnum::Overflow);
  }
  return BuildPcmWavHeader(kCdAudioLayout, static_cast<uint32_t>(static_cast<int32_t>(dataLength)));
}

}  // namespace korvalin
