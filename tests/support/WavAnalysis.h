#pragma once
// Reading WAV files in tests: the RIFF header's fields as written, and the samples of the data
// chunk, found by walking the chunks.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvalin::test {

struct WavContents {
  uint32_t riffLength = 0;   // the RIFF chunk's length field
  uint16_t formatTag = 0;    // 1: PCM
  uint16_t channels = 0;
  uint32_t rate = 0;
  uint32_t byteRate = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  std::size_t dataOffset = 0;  // where the samples start in the file
  uint32_t dataLength = 0;     // the data chunk's length field
  std::vector<int16_t> samples;  // interleaved; as many as the data chunk holds in the file
};

// The WAV file's header and 16-bit samples; nothing when the bytes are no RIFF/WAVE file with a
// "fmt " and a "data" chunk.
std::optional<WavContents> ParseWav(std::string_view bytes);

// Whether the header agrees with the file: RIFF length = file size - 8, the data length is what
// follows the header, the rates and block size follow from rate, channels and sample size.
bool HeaderIsExact(const WavContents& wav, std::size_t fileSize);

// The largest difference between two sample lists of the same length; -1 when the lengths differ.
int LargestSampleDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b);

}  // namespace korvalin::test
