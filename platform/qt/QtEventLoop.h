#pragma once
// The program's event loop on Qt: a yield processes the pending Qt events, timers are QTimers.

#include "platform/EventLoop.h"

namespace korvalin {

class QtEventLoop : public EventLoop {
 public:
  void Yield() override;
  void YieldWhileWaiting() override;
  double Clock() override;
  std::unique_ptr<TimerHandle> Attach(controls::Timer& timer) override;
};

}  // namespace korvalin
