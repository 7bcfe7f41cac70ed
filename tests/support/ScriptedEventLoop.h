#pragma once
// The event loop of the tests: a virtual clock and a script of actions. Each Yield moves the
// clock on by a small step, runs the actions queued for that yield (a cancel click at the third
// yield, say) and then every timer that has come due. Waits that yield until the clock has moved
// cost no real time.

#include <functional>
#include <map>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/TimerSchedule.h"

namespace korvalin::test {

class ScriptedEventLoop : public EventLoop {
 public:
  // The clock starts at `startOfDay` seconds after midnight; each yield takes `secondsPerYield`.
  explicit ScriptedEventLoop(double startOfDay = 10 * 3600.0, double secondsPerYield = 0.001);

  void Yield() override;
  double Clock() override;
  std::unique_ptr<TimerHandle> Attach(controls::Timer& timer) override;

  // Runs `action` inside the n-th yield from now (1 = the next one).
  void AtYield(int n, std::function<void()> action);
  // Runs `action` inside every yield, after the scripted ones.
  void EveryYield(std::function<void()> action) { everyYield_.push_back(std::move(action)); }

  // Moves virtual time on by `seconds`, running every timer at its own due time, in order.
  void Advance(double seconds);

  // How much virtual time each yield takes from now on.
  void SetSecondsPerYield(double seconds) { step_ = seconds; }

  int Yields() const { return yields_; }
  // Virtual seconds since the loop was made (never wraps).
  double Elapsed() const { return now_; }

 private:
  double startOfDay_;
  double step_;
  double now_ = 0;
  int yields_ = 0;
  std::multimap<int, std::function<void()>> script_;
  std::vector<std::function<void()>> everyYield_;
  TimerSchedule timers_;
};

}  // namespace korvalin::test
