#pragma once
// Keeps the due times of attached timers on a monotonic clock in seconds and runs the ticks
// that are due. Event loops without a toolkit of their own (the headless one, the scripted one
// in tests) drive their timers with it.

#include <functional>
#include <memory>
#include <vector>

#include "platform/EventLoop.h"

namespace korvalin {

class TimerSchedule {
 public:
  explicit TimerSchedule(std::function<double()> now) : now_(std::move(now)) {}
  TimerSchedule(const TimerSchedule&) = delete;
  TimerSchedule& operator=(const TimerSchedule&) = delete;

  std::unique_ptr<EventLoop::TimerHandle> Attach(controls::Timer& timer);

  // Runs, in order of due time, every tick due at `now`. A timer that is late ticks once and
  // then keeps its rhythm from `now`.
  void FireDue(double now);

  // The earliest due time of a running timer, or a negative value when none runs.
  double NextDue() const;

 private:
  struct Entry {
    controls::Timer* timer = nullptr;
    double due = 0;
    bool armed = false;
    bool ticking = false;
    bool attached = true;
    controls::Connection connection;
  };
  class Handle;
  static void Arm(Entry& e, double now);

  std::function<double()> now_;
  // Shared with the handles, so a handle may outlive the schedule.
  std::shared_ptr<std::vector<std::shared_ptr<Entry>>> entries_ =
      std::make_shared<std::vector<std::shared_ptr<Entry>>>();
};

}  // namespace korvalin
