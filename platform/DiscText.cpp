#include "platform/DiscText.h"

#include <cstdint>

namespace korvalin {
namespace {

// The length of the UTF-8 sequence at `i`, or 0 when the bytes there are not one.
std::size_t Utf8SequenceAt(const std::string& s, std::size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  std::size_t length = 0;
  uint32_t value = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) length = 2, value = c & 0x1F;
  else if (c >= 0xE0 && c <= 0xEF) length = 3, value = c & 0x0F;
  else if (c >= 0xF0 && c <= 0xF4) length = 4, value = c & 0x07;
  else return 0;
  if (i + length > s.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    value = value << 6 | (d & 0x3F);
  }
  // Overlong forms, surrogates and values past the last code point are no text.
  if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
      (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  return length;
}

bool IsUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = Utf8SequenceAt(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string Latin1ToUtf8(const std::string& s) {
  std::string out;
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string DiscTextField(const std::string& text) {
  std::string out = IsUtf8(text) ? text : Latin1ToUtf8(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  const std::size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

}  // namespace korvalin
