#pragma once
// Runs a control call from a user action. An error a handler lets through must not unwind into
// Qt's event dispatch: the program's handlers ignore errors, so the action just ends.

#include <exception>

namespace korvalin {

template <typename Fn>
void Safely(Fn&& fn) {
  try {
    fn();
  } catch (const std::exception&) {
  }
}

}  // namespace korvalin
