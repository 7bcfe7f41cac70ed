#include "tests/support/RiffWav.h"

namespace korvalin::test {
namespace {

void Put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bitsPerSample) {
  std::string s;
  const uint16_t blockAlign = static_cast<uint16_t>(channels * ((bitsPerSample + 7) / 8));
  Put16(s, tag);
  Put16(s, channels);
  Put32(s, rate);
  Put32(s, rate * blockAlign);
  Put16(s, blockAlign);
  Put16(s, bitsPerSample);
  return s;
}

std::string ExtensibleFormatBody(uint16_t subFormat, uint16_t channels, uint32_t rate, uint16_t bitsPerSample) {
  std::string s = FormatBody(0xFFFE, channels, rate, bitsPerSample);
  Put16(s, 22);             // extra bytes
  Put16(s, bitsPerSample);  // valid bits
  Put32(s, channels == 1 ? 0x4 : 0x3);
  Put16(s, subFormat);
  s += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  return s;
}

std::string RiffFile(const std::vector<RiffChunk>& chunks) {
  std::string body = "WAVE";
  for (const auto& c : chunks) {
    body += c.id;
    Put32(body, static_cast<uint32_t>(c.declaredLength < 0 ? c.body.size() : c.declaredLength));
    body += c.body;
    if (c.body.size() % 2 != 0) body += '\0';
  }
  std::string file = "RIFF";
  Put32(file, static_cast<uint32_t>(body.size()));
  return file + body;
}

std::string PcmWav(std::string_view pcm, uint32_t rate, uint16_t channels) {
  return RiffFile({{"fmt ", FormatBody(1, channels, rate, 16)}, {"data", std::string(pcm)}});
}

}  // namespace korvalin::test
