#include "platform/EventLoop.h"

namespace korvalin {

namespace {
constexpr double kSecondsPerDay = 86400.0;
}

double SecondsBetween(double start, double now) {
  double d = now - start;
  if (d < 0) d += kSecondsPerDay;
  return d;
}

void PauseYielding(EventLoop& loop, double seconds) {
  const double start = loop.Clock();
  // A clock that moves backwards counts as a day gone by, which ends the pause.
  while (SecondsBetween(start, loop.Clock()) < seconds) loop.YieldWhileWaiting();
}

}  // namespace korvalin
