#include <gtest/gtest.h>

#include <vector>

#include "controls/Timer.h"
#include "platform/EventLoop.h"
#include "platform/TimerSchedule.h"
#include "tests/support/ScriptedEventLoop.h"

namespace korvalin {
namespace {

using test::ScriptedEventLoop;

TEST(ScriptedEventLoop, RunsQueuedActionsInsideTheirYield) {
  ScriptedEventLoop loop;
  std::vector<int> order;
  loop.AtYield(3, [&] { order.push_back(3); });
  loop.AtYield(1, [&] {
    order.push_back(1);
    loop.AtYield(1, [&] { order.push_back(2); });  // queued from inside a yield: the next one
  });
  for (int i = 0; i < 5; ++i) loop.Yield();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(loop.Yields(), 5);
}

TEST(ScriptedEventLoop, FiresTimersOnVirtualTimeOnly) {
  ScriptedEventLoop loop;
  controls::Timer timer("Timer1", 1000, false);
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  auto handle = loop.Attach(timer);
  loop.Advance(5);
  EXPECT_EQ(ticks, 0);  // disabled
  timer.SetEnabled(true);
  loop.Advance(0.999);
  EXPECT_EQ(ticks, 0);
  loop.Advance(0.001);
  EXPECT_EQ(ticks, 1);
  loop.Advance(3.5);
  EXPECT_EQ(ticks, 4);
  timer.SetInterval(500);  // a new interval starts the count again from now
  loop.Advance(0.4);
  EXPECT_EQ(ticks, 4);
  loop.Advance(0.1);
  EXPECT_EQ(ticks, 5);
  handle.reset();  // detached: no more ticks
  loop.Advance(10);
  EXPECT_EQ(ticks, 5);
}

TEST(ScriptedEventLoop, AOneShotTimerThatDisablesItselfTicksOnce) {
  ScriptedEventLoop loop;
  controls::Timer timer("Timer1", 1000, true);
  int ticks = 0;
  timer.OnTimer = [&] {
    ++ticks;
    timer.SetEnabled(false);
  };
  auto handle = loop.Attach(timer);
  loop.Advance(10);
  EXPECT_EQ(ticks, 1);
}

TEST(TimerSchedule, ATickIsNeverReenteredByYieldsInsideIt) {
  double now = 0;
  TimerSchedule schedule([&] { return now; });
  controls::Timer timer("tmrRecord", 100, true);
  int depth = 0, maxDepth = 0, ticks = 0;
  timer.OnTimer = [&] {
    ++ticks;
    maxDepth = std::max(maxDepth, ++depth);
    now += 0.5;  // the handler yields for a while, long past its next due time
    schedule.FireDue(now);
    --depth;
  };
  auto handle = schedule.Attach(timer);
  now = 0.1;
  schedule.FireDue(now);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(ticks, 1);
  schedule.FireDue(now);  // late: one tick, then its rhythm continues from now
  EXPECT_EQ(ticks, 2);
}

TEST(PauseYielding, LastsAtLeastItsTimeAndEndsAcrossMidnight) {
  ScriptedEventLoop loop(86400.0 - 0.05, 0.01);  // 50 ms before midnight
  PauseYielding(loop, 0.2);
  EXPECT_GE(loop.Elapsed(), 0.2 - 1e-9);
  EXPECT_LT(loop.Elapsed(), 0.25);
  EXPECT_NEAR(SecondsBetween(86399.9, 0.1), 0.2, 1e-9);
  EXPECT_DOUBLE_EQ(SecondsBetween(10, 12.5), 2.5);
}

}  // namespace
}  // namespace korvalin
