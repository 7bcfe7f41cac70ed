#include "tests/support/ScriptedEventLoop.h"

#include <cmath>

namespace korvalin::test {

ScriptedEventLoop::ScriptedEventLoop(double startOfDay, double secondsPerYield)
    : startOfDay_(startOfDay), step_(secondsPerYield), timers_([this] { return now_; }) {}

void ScriptedEventLoop::Yield() {
  ++yields_;
  now_ += step_;
  // Take the actions out before running them: an action may yield (and queue) in turn.
  auto [first, last] = script_.equal_range(yields_);
  std::vector<std::function<void()>> due;
  for (auto it = first; it != last; ++it) due.push_back(std::move(it->second));
  script_.erase(first, last);
  for (auto& action : due) action();
  for (auto& action : everyYield_) action();
  timers_.FireDue(now_);
}

double ScriptedEventLoop::Clock() { return std::fmod(startOfDay_ + now_, 86400.0); }

std::unique_ptr<EventLoop::TimerHandle> ScriptedEventLoop::Attach(controls::Timer& timer) {
  return timers_.Attach(timer);
}

void ScriptedEventLoop::AtYield(int n, std::function<void()> action) {
  script_.emplace(yields_ + n, std::move(action));
}

void ScriptedEventLoop::Advance(double seconds) {
  const double target = now_ + seconds;
  for (double due = timers_.NextDue(); due >= 0 && due <= target; due = timers_.NextDue()) {
    if (due > now_) now_ = due;
    timers_.FireDue(now_);
  }
  now_ = target;
}

}  // namespace korvalin::test
