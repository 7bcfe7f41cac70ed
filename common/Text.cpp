#include "common/Text.h"

#include <cstdint>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of the character with 0-based index `chars` (s.size() when past the end).
std::size_t ByteOffset(std::string_view s, std::size_t chars) {
  std::size_t i = 0;
  while (i < s.size() && chars > 0) {
    ++i;
    while (i < s.size() && IsContinuation(static_cast<unsigned char>(s[i]))) ++i;
    --chars;
  }
  return i;
}

char32_t Decode(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
  char32_t cp = extra == 0 ? b0 : extra == 1 ? (b0 & 0x1F) : extra == 2 ? (b0 & 0x0F) : (b0 & 0x07);
  std::size_t j = i + 1;
  for (int k = 0; k < extra; ++k, ++j) {
    if (j >= s.size() || !IsContinuation(static_cast<unsigned char>(s[j]))) {
      // Not valid UTF-8: take the byte as it is.
      ++i;
      return static_cast<char32_t>(0x110000 + b0);
    }
    cp = (cp << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
  }
  i = j;
  return cp;
}

void Encode(char32_t cp, std::string& out) {
  if (cp >= 0x110000) {
    out += static_cast<char>(cp - 0x110000);
  } else if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char32_t Lower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;                    // Latin-1
  if (c >= 0x100 && c <= 0x17F) {                                              // Latin Extended-A
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    const bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x178) return 0xFF;
    return oddLower ? ((c % 2 == 1) ? c + 1 : c) : ((c % 2 == 0) ? c + 1 : c);
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;                    // Greek
  if (c >= 0x410 && c <= 0x42F) return c + 32;                                 // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

}  // namespace

std::size_t Len(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s) {
    if (!IsContinuation(c)) ++n;
  }
  return n;
}

std::string Left(std::string_view s, std::size_t n) { return std::string(s.substr(0, ByteOffset(s, n))); }

std::string Right(std::string_view s, std::size_t n) {
  const std::size_t len = Len(s);
  if (n >= len) return std::string(s);
  return std::string(s.substr(ByteOffset(s, len - n)));
}

std::string Mid(std::string_view s, std::size_t start, std::size_t count) {
  if (start < 1) throw RaisedError::Of(errnum::InvalidArgument);
  const std::size_t b = ByteOffset(s, start - 1);
  const std::string_view rest = s.substr(b);
  if (count == std::string_view::npos) return std::string(rest);
  return std::string(rest.substr(0, ByteOffset(rest, count)));
}

std::string DropRight(std::string_view s, std::size_t n) {
  const std::size_t len = Len(s);
  if (len < n) throw RaisedError::Of(errnum::InvalidArgument);
  return Left(s, len - n);
}

std::string LCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {  // the common case, byte by byte
      out += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
      ++i;
      continue;
    }
    Encode(Lower(Decode(s, i)), out);
  }
  return out;
}

std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

}  // namespace korvalin
