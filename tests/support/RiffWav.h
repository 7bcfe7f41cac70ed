#pragma once
// WAV files of any shape for tests: a format chunk with the fields given, other chunks before or
// after the audio, odd chunk sizes, a data length that says more than the file holds.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvalin::test {

struct RiffChunk {
  std::string id;     // four characters
  std::string body;
  // The length written in the chunk's header; -1: the body's size.
  int64_t declaredLength = -1;
};

// The 16-byte body of a "fmt " chunk.
std::string FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bitsPerSample);
// The 40-byte extensible form, whose real format code stands in its sub-format.
std::string ExtensibleFormatBody(uint16_t subFormat, uint16_t channels, uint32_t rate, uint16_t bitsPerSample);

// "RIFF", the length, "WAVE", then the chunks in order, each padded to an even length.
std::string RiffFile(const std::vector<RiffChunk>& chunks);

// A plain 16-bit PCM WAV: format then data.
std::string PcmWav(std::string_view pcm, uint32_t rate, uint16_t channels);

}  // namespace korvalin::test
