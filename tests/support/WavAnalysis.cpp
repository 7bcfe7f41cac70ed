#include "tests/support/WavAnalysis.h"

#include <algorithm>
#include <cstdlib>

namespace korvalin::test {
namespace {

uint32_t Le(std::string_view b, std::size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

}  // namespace

std::optional<WavContents> ParseWav(std::string_view b) {
  if (b.size() < 12 || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE") return std::nullopt;
  WavContents w;
  w.riffLength = Le(b, 4, 4);
  bool haveFormat = false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string_view id = b.substr(at, 4);
    const uint32_t length = Le(b, at + 4, 4);
    const std::size_t body = at + 8;
    if (id == "fmt " && length >= 16 && body + 16 <= b.size()) {
      w.formatTag = static_cast<uint16_t>(Le(b, body, 2));
      w.channels = static_cast<uint16_t>(Le(b, body + 2, 2));
      w.rate = Le(b, body + 4, 4);
      w.byteRate = Le(b, body + 8, 4);
      w.blockAlign = static_cast<uint16_t>(Le(b, body + 12, 2));
      w.bitsPerSample = static_cast<uint16_t>(Le(b, body + 14, 2));
      haveFormat = true;
    } else if (id == "data" && haveFormat) {
      w.dataOffset = body;
      w.dataLength = length;
      const std::size_t held = std::min<std::size_t>(length, b.size() - body);
      for (std::size_t i = 0; i + 1 < held; i += 2) {
        w.samples.push_back(static_cast<int16_t>(Le(b, body + i, 2)));
      }
      return w;
    }
    at = body + length + (length & 1);
  }
  return std::nullopt;
}

bool HeaderIsExact(const WavContents& w, std::size_t fileSize) {
  return w.formatTag == 1 && w.bitsPerSample == 16 && w.channels >= 1 && w.blockAlign == 2 * w.channels &&
         w.byteRate == w.rate * w.blockAlign && w.riffLength + 8 == fileSize &&
         w.dataOffset + w.dataLength == fileSize && w.dataLength % w.blockAlign == 0;
}

int LargestSampleDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  if (a.size() != b.size()) return -1;
  int largest = 0;
  for (std::size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
  return largest;
}

}  // namespace korvalin::test
