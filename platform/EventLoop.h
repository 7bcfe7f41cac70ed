#pragma once
// The program's one event loop, as the program's logic sees it: yield once to let queued events
// run, read the clock, and have timers driven.

#include <functional>
#include <memory>

#include "controls/Timer.h"

namespace korvalin {

class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // Runs the events that are waiting (clicks, repaints, due timers), then returns.
  virtual void Yield() = 0;
  // The same for a loop that only waits (for a pause to pass, a worker to finish): the loop may
  // sleep briefly when nothing is waiting, rather than spin.
  virtual void YieldWhileWaiting() { Yield(); }

  // Local time of day in seconds since midnight, with a fraction.
  virtual double Clock() = 0;

  // From now until the returned handle is dropped, the loop runs the timer's tick handler
  // whenever the timer is due. A tick does not start while the same timer's last tick runs.
  class TimerHandle {
   public:
    virtual ~TimerHandle() = default;
  };
  [[nodiscard]] virtual std::unique_ptr<TimerHandle> Attach(controls::Timer& timer) = 0;
};

// Seconds from `start` to `now` on a clock that wraps at midnight.
double SecondsBetween(double start, double now);

// Waits `seconds`, yielding all the while, so the window stays live. Always ends, also across
// midnight or when the clock is set back.
void PauseYielding(EventLoop& loop, double seconds);

}  // namespace korvalin
