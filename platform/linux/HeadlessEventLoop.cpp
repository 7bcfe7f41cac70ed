#include "platform/linux/HeadlessEventLoop.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace korvalin {
namespace {

double MonotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

double LocalSecondsSinceMidnight() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const double fraction = duration<double>(now - system_clock::from_time_t(t)).count();
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

HeadlessEventLoop::HeadlessEventLoop() : timers_(&MonotonicSeconds) {}

void HeadlessEventLoop::Yield() { timers_.FireDue(MonotonicSeconds()); }

void HeadlessEventLoop::YieldWhileWaiting() {
  Yield();
  // Nothing else can happen without a window: sleep until the next timer, at most 2 ms.
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

double HeadlessEventLoop::Clock() { return LocalSecondsSinceMidnight(); }

std::unique_ptr<EventLoop::TimerHandle> HeadlessEventLoop::Attach(controls::Timer& timer) {
  return timers_.Attach(timer);
}

}  // namespace korvalin
