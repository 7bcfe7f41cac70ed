#pragma once
// Audio files for tests and benchmarks: MP3 made with the program's own encoder adapter, PCM WAV
// files, and the field's command-line tools (mpg123, lame) run on them for comparison.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvalin::test {

// MP3 bytes of 16-bit interleaved PCM (little-endian bytes) at `rate` with 1 or 2 channels,
// constant `kbps`, quality "Normal", through the LAME encoder adapter. No tag frame.
std::string EncodeMp3(std::string_view pcm, int rate, int channels, int kbps);

// Writes a 44-byte-header PCM WAV file of 16-bit samples.
void WritePcmWav(const std::string& path, std::string_view pcm, int rate, int channels);

// Runs a program found on PATH with the arguments, its output thrown away; its exit status
// (128 + signal when killed, 127 when it could not start).
int RunTool(const std::vector<std::string>& argv);

}  // namespace korvalin::test
