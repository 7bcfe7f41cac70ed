#pragma once
// Runs a piece of a test that must not hang in a child process of its own, so that a call that
// waits forever (on a FIFO, say) fails the test instead of stalling the whole run.

#include <chrono>
#include <functional>
#include <string>

namespace korvalin::test {

struct BoundedRun {
  bool finished = false;  // false: still running at the limit, and killed with every process it started
  std::string result;     // what `body` returned
  std::chrono::milliseconds took{0};
};

// Calls `body` in a forked child and waits at most `limit` for it. `body` must not use test
// assertions (they would fail in the child): it returns what the test checks afterwards, a text
// of less than a pipe's buffer (64 KB).
BoundedRun RunBounded(std::chrono::milliseconds limit, const std::function<std::string()>& body);

}  // namespace korvalin::test
