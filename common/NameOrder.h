#pragma once
// The one order in which the program lists names: compared case-insensitively, ties broken byte
// by byte, so that listings come out the same on every run and machine.

#include <string>
#include <string_view>

#include "common/Text.h"

namespace korvalin {

inline bool NameLess(std::string_view a, std::string_view b) {
  const std::string la = LCase(a), lb = LCase(b);
  if (la != lb) return la < lb;
  return a < b;
}

}  // namespace korvalin
