#pragma once
// A timer's state. The event loop service drives attached timers: while enabled with a
// non-zero interval, the tick handler runs every interval milliseconds. Enabling the timer or
// changing its interval starts the count again.

#include <cstdint>
#include <string>

#include "controls/Control.h"

namespace korvalin::controls {

class Timer {
 public:
  explicit Timer(std::string name, int32_t intervalMs = 0, bool enabled = false)
      : name_(std::move(name)), interval_(intervalMs), enabled_(enabled) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    Changed.Emit(Change{Property::Enabled});
  }

  int32_t Interval() const { return interval_; }
  void SetInterval(int32_t ms);

  // Whether ticks are due at all.
  bool Running() const { return enabled_ && interval_ > 0; }

  void Tick() { Fire(OnTimer); }

  Event OnTimer;
  Signal<Change> Changed;

 private:
  std::string name_;
  int32_t interval_;
  bool enabled_;
};

}  // namespace korvalin::controls
