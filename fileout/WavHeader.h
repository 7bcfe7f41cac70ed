#pragma once
// The 44-byte RIFF/WAVE header of a PCM file: the one header writer of every WAV the program
// makes (rips, decoded MP3s, recordings).

#include <array>
#include <cstdint>

namespace korvalin {

inline constexpr std::size_t kWavHeaderSize = 44;
// The largest data length whose RIFF length (data length + 36) still fits a signed 32-bit field.
inline constexpr int64_t kMaxWavDataLength = 2147483611;

// The sample layout a header describes; the block alignment and byte rate follow from it.
struct PcmLayout {
  uint32_t channels = 2;
  uint32_t samplesPerSecond = 44100;
  uint32_t bitsPerSample = 16;
};

// CD audio: stereo, 16-bit, 44100 Hz.
inline constexpr PcmLayout kCdAudioLayout{};

// The header of a PCM WAV file in `layout` holding `dataLength` bytes of samples.
std::array<uint8_t, kWavHeaderSize> BuildPcmWavHeader(const PcmLayout& layout, uint32_t dataLength);

// The header of CD audio; raises the overflow error when `dataLength` + 36 does not fit a signed
// 32-bit integer.
std::array<uint8_t, kWavHeaderSize> BuildCdWavHeader(int64_t dataLength);

}  // namespace korvalin
