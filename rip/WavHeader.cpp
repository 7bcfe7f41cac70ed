#include "rip/WavHeader.h"

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

std::array<uint8_t, kWavHeaderSize> BuildCdWavHeader(int64_t dataLength) {
  if (dataLength > kMaxWavDataLength || dataLength < std::numeric_limits<int32_t>::min()) {
    throw RaisedError::Of(errnum::Overflow);
  }
  const auto length = static_cast<int32_t>(dataLength);
  std::array<uint8_t, kWavHeaderSize> h{};
  std::memcpy(&h[0], "RIFF", 4);
  Put32(&h[4], static_cast<uint32_t>(length + 36));
  std::memcpy(&h[8], "WAVE", 4);
  std::memcpy(&h[12], "fmt ", 4);
  Put32(&h[16], 16);      // size of the format chunk
  Put16(&h[20], 1);       // PCM
  Put16(&h[22], 2);       // channels
  Put32(&h[24], 44100);   // samples per second
  Put32(&h[28], 176400);  // bytes per second
  Put16(&h[32], 4);       // bytes per sample frame
  Put16(&h[34], 16);      // bits per sample
  std::memcpy(&h[36], "data", 4);
  Put32(&h[40], static_cast<uint32_t>(length));
  return h;
}

}  // namespace korvalin
