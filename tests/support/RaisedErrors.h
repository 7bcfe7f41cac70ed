#pragma once
// The number of the error a call raises, for tests of the program's error numbers.

#include <cstdint>
#include <functional>

#include "common/RaisedError.h"

namespace korvalin::test {

// The RaisedError's number, or 0 when the call raises nothing.
inline int32_t ErrorNumberOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const RaisedError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace korvalin::test
