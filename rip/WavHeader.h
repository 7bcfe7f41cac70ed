#pragma once
// The fixed 44-byte RIFF/WAVE header of CD audio: PCM, stereo, 16-bit, 44100 Hz.

#include <array>
#include <cstdint>

namespace korvalin {

inline constexpr std::size_t kWavHeaderSize = 44;
// The largest data length whose RIFF length (data length + 36) still fits a signed 32-bit field.
inline constexpr int64_t kMaxWavDataLength = 2147483611;

// Raises the overflow error when `dataLength` + 36 does not fit a signed 32-bit integer.
std::array<uint8_t, kWavHeaderSize> BuildCdWavHeader(int64_t dataLength);

}  // namespace korvalin
