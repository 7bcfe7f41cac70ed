#include "common/TrackLine.h"

#include <cstdio>
#include <cstring>

#include "common/Numeric.h"
#include "common/Text.h"

namespace korvalin {

std::string TrackLine(int32_t track, const std::string& length) {
  char number[16];
  std::snprintf(number, sizeof number, "%2d", track);
  return std::string("Track ") + number + " - " + length;
}

int32_t TrackNumberOf(const std::string& line) { return CInt32(Val(Mid(line, 6, 3))); }

std::string TextBeforeNul(const char* buffer, std::size_t length) {
  const void* nul = std::memchr(buffer, '\0', length);
  return nul ? std::string(buffer, static_cast<const char*>(nul)) : std::string();
}

}  // namespace korvalin
