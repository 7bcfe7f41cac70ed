#pragma once
// The event loop of the command-line companion: no window events, only timers on the real
// clock, run when the program yields.

#include "platform/EventLoop.h"
#include "platform/TimerSchedule.h"

namespace korvalin {

class HeadlessEventLoop : public EventLoop {
 public:
  HeadlessEventLoop();
  void Yield() override;
  void YieldWhileWaiting() override;
  double Clock() override;
  std::unique_ptr<TimerHandle> Attach(controls::Timer& timer) override;

 private:
  TimerSchedule timers_;
};

// Local time of day, in seconds since midnight.
double LocalSecondsSinceMidnight();

}  // namespace korvalin
