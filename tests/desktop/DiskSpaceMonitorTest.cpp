#include "desktop/DiskSpaceMonitor.h"

#include <gtest/gtest.h>

#include <functional>

#include "controls/Label.h"
#include "tests/support/FakeDrives.h"
#include "tests/support/ScriptedEventLoop.h"

namespace korvalin {
namespace {

using test::FakeDrives;

constexpr int64_t kMB = 1000000;

TEST(FreeMegabytes, RoundsHalvesToEvenInSixtyFourBits) {
  const std::pair<int64_t, int64_t> cases[] = {
      {0, 0},           {499999, 0},        {500000, 0},       {500001, 1},
      {1499999, 1},     {1500000, 2},       {2500000, 2},      {3500000, 4},
      {2147483648, 2147}, {32768 * kMB, 32768}, {4000000 * kMB, 4000000}};
  for (const auto& [bytes, mb] : cases) EXPECT_EQ(FreeMegabytes(bytes), mb) << bytes;
}

TEST(DriveSurvey, ListsMeasuredFixedDrivesAndFindsTheMountHoldingTheDestination) {
  FakeDrives drives;
  drives["/"] = {"/", 100 * kMB, 12345 * kMB};
  drives["/boot"] = {"/boot", 0, 0};  // cannot be measured
  drives["/media/stick"] = {"/media/stick", 8000 * kMB, 2500000, "Removable drive"};
  drives["/data"] = {"/data", 5000000 * kMB, 4000000 * kMB};
  drives["/data2"] = {"/data2", 3000 * kMB, 1499999};
  DriveSurvey survey;
  EXPECT_EQ(survey.DestinationFigure(), "0");
  survey.Run(drives, "/data2/music");
  EXPECT_EQ(survey.Listing(),
            "/ - 12345 MB available\r\n"
            "/data - 4000000 MB available\r\n"
            "/data2 - 1 MB available\r\n");
  EXPECT_EQ(survey.DestinationRoot(), "/data2");  // not "/data", which only begins the same way
  EXPECT_EQ(survey.DestinationFigure(), "1");
  survey.Run(drives, "/data/x/../music");
  EXPECT_EQ(survey.DestinationRoot(), "/data");
  EXPECT_EQ(survey.DestinationFigure(), "4000000");
}

TEST(DriveSurvey, AFigureCountsOnlyForTheMountItWasMeasuredOn) {
  FakeDrives drives;
  drives["/"] = {"/", 100 * kMB, 70 * kMB};
  drives["/nas"] = {"/nas", 100 * kMB, 10 * kMB, "Network drive"};
  DriveSurvey survey;
  survey.Run(drives, "/nas/music");
  EXPECT_FALSE(survey.DestinationMegabytes());  // not the figure of "/", which also holds it
  EXPECT_EQ(survey.DestinationRoot(), "/nas");
  EXPECT_EQ(survey.DestinationFigure(), "0");
  survey.Run(drives, "/home/music");
  EXPECT_EQ(survey.DestinationMegabytes(), 70);
  // The same mount failing to answer once keeps its figure; another mount never takes it.
  drives["/"].total = 0;
  survey.Run(drives, "/home/music");
  EXPECT_EQ(survey.DestinationMegabytes(), 70);
  survey.Run(drives, "/nas/music");
  EXPECT_FALSE(survey.DestinationMegabytes());
  EXPECT_EQ(survey.DestinationFigure(), "0");
  drives["/"].total = 100 * kMB;
  survey.Run(drives, "/nas/music");
  EXPECT_EQ(survey.Listing(), "/ - 70 MB available\r\n");
}

TEST(DriveSurvey, ListsAHundredRootsButFindsAndMeasuresTheDestinationBeyondThem) {
  FakeDrives drives;
  for (int i = 0; i < 150; ++i) drives["/m" + std::to_string(i)] = {"/m" + std::to_string(i), kMB, i * kMB};
  DriveSurvey survey;
  survey.Run(drives, "/m120/music");
  EXPECT_EQ(drives.measured.size(), 101u);
  EXPECT_EQ(drives.measured[99], "/m99");
  EXPECT_EQ(survey.Listing().find("/m100 "), std::string::npos);
  EXPECT_EQ(survey.DestinationRoot(), "/m120");
  EXPECT_EQ(survey.DestinationMegabytes(), 120);
}

// The monitor with the main window's parts it works with, on the virtual clock.
class MonitorRig {
 public:
  MonitorRig() {
    drives["/"] = {"/", 1000 * kMB, 500 * kMB};
    drives["/music"] = {"/music", 1000 * kMB, 75 * kMB};
    tmrWarning.SetEnabled(false);
  }
  void SetFree(int64_t mb) { drives["/music"].free = mb * kMB; }

  test::ScriptedEventLoop loop;
  FakeDrives drives;
  controls::Timer tmrWarning{"tmrWarning", 2000, false};
  controls::Timer Timer1{"Timer1", 1000, false};
  controls::Label Label5{"Label5", "Low Drive space"};
  JobFlags flags;
  DiskSpaceLimits limits{1, 100, 1, 50, "/music/rips"};
  int stops = 0;
  int yieldsInStop = -1;
  DiskSpaceMonitor monitor{{tmrWarning, [this](bool on) { Label5.SetVisible(on); }, [this] { Timer1.SetEnabled(true); }, flags,
                            [this] {
                              // As the main window's stop command: "Stop Everything" ends the watch.
                              ++stops;
                              tmrWarning.SetEnabled(false);
                              yieldsInStop = loop.Yields();
                            }},
                           loop, [this] { return limits; }, drives};
  std::unique_ptr<EventLoop::TimerHandle> attached = loop.Attach(tmrWarning);
  std::unique_ptr<EventLoop::TimerHandle> attached1 = loop.Attach(Timer1);
};

TEST(DiskSpaceMonitor, WarnsOrStopsOnlyBelowItsThresholds) {
  struct Case {
    int64_t freeMb;
    bool warned;
    bool stopped;
  };
  const Case cases[] = {{101, false, false}, {100, false, false}, {99, true, false},
                        {75, true, false},   {50, true, false},   {49, true, true}, {0, true, true}};
  for (const auto& c : cases) {
    MonitorRig rig;
    rig.SetFree(c.freeMb);
    rig.monitor.JobStarting();
    rig.loop.Advance(1.999);
    EXPECT_TRUE(rig.drives.measured.empty());
    rig.loop.Advance(0.001);
    EXPECT_EQ(rig.Label5.Visible(), c.warned) << c.freeMb;
    EXPECT_EQ(rig.stops, c.stopped ? 1 : 0) << c.freeMb;
    EXPECT_EQ(rig.flags.CancelRequested, c.stopped ? kTrue : kFalse) << c.freeMb;
    EXPECT_EQ(rig.flags.CaptureStopRequested, c.stopped ? kTrue : kFalse) << c.freeMb;
    EXPECT_EQ(rig.Timer1.Enabled(), c.stopped) << c.freeMb;
    // The job goes on and the watch with it, unless stopped: then it rests until the next job.
    EXPECT_EQ(rig.tmrWarning.Enabled(), !c.stopped) << c.freeMb;
  }
}

TEST(DiskSpaceMonitor, TheStopYieldsOnceAfterTheStopCommand) {
  MonitorRig rig;
  rig.SetFree(10);
  rig.monitor.JobStarting();
  const int before = rig.loop.Yields();
  rig.loop.Advance(2);
  EXPECT_EQ(rig.yieldsInStop, before);
  EXPECT_EQ(rig.loop.Yields(), before + 1);
  rig.loop.Advance(60);
  EXPECT_EQ(rig.stops, 1);
}

TEST(DiskSpaceMonitor, TheSettingsDecideWhetherItRunsWarnsAndStops) {
  struct Case {
    int16_t warning, stop;
    bool runs, warned, stopped;
  };
  // 10 MB free: below both thresholds.
  const Case cases[] = {{1, 1, true, true, true},
                        {1, 0, true, true, false},
                        {0, 1, true, true, true},  // asking for the stop alone starts the watch
                        {0, 0, false, false, false}};
  for (const auto& c : cases) {
    MonitorRig rig;
    rig.SetFree(10);
    rig.limits.HDWarning = c.warning;
    rig.limits.HDstopdecoding = c.stop;
    rig.Label5.SetVisible(true);  // left from the last job
    rig.monitor.JobStarting();
    EXPECT_FALSE(rig.Label5.Visible());
    EXPECT_EQ(rig.tmrWarning.Enabled(), c.runs);
    rig.loop.Advance(2);
    EXPECT_EQ(rig.Label5.Visible(), c.warned) << c.warning << c.stop;
    EXPECT_EQ(rig.stops, c.stopped ? 1 : 0) << c.warning << c.stop;
  }
}

TEST(DiskSpaceMonitor, FiguresBeyondSixteenBitsCompareAsTheyAre) {
  MonitorRig rig;
  rig.limits.HDWarningNo = 32767;
  rig.limits.HDStopNo = 32000;
  rig.SetFree(40000);  // 40000 read into 16 bits would be -25536, below every threshold
  rig.monitor.JobStarting();
  rig.loop.Advance(2);
  EXPECT_FALSE(rig.Label5.Visible());
  EXPECT_EQ(rig.monitor.DestinationFigure(), "40000");
  rig.drives["/music"].free = 4000000 * kMB;
  std::string shown;  // what an open Preferences dialog would show
  rig.monitor.OnSurveyed = [&] { shown = rig.monitor.DriveListing() + rig.monitor.DestinationFigure(); };
  rig.monitor.Survey();
  EXPECT_EQ(shown, "/ - 500 MB available\r\n/music - 4000000 MB available\r\n4000000");
  rig.SetFree(32766);
  rig.loop.Advance(2);
  EXPECT_TRUE(rig.Label5.Visible());
  EXPECT_EQ(rig.stops, 0);
}

// After a low-space stop on one drive, the next job's destination on a drive that cannot be
// measured runs to its end: no figure of the old drive stops or warns it.
TEST(DiskSpaceMonitor, AStopOnOneDriveDoesNotFollowTheDestinationToAnother) {
  struct Case {
    const char* destination;
    std::function<void(FakeDrives&)> unmeasurable;
  };
  const Case cases[] = {
      {"/nas/rips", [](FakeDrives& d) { d["/nas"] = {"/nas", 1000 * kMB, 900 * kMB, "Network drive"}; }},
      {"/media/stick/rips", [](FakeDrives& d) { d["/media/stick"] = {"/media/stick", 0, 0}; }},
      {"/media/phone/rips", [](FakeDrives& d) { d["/media/phone"] = {"/media/phone", 8000 * kMB, 10 * kMB, "Removable drive"}; }},
      // A share mounted through a user file system under the drive that was full.
      {"/music/share/rips", [](FakeDrives& d) { d.pseudoMounts.push_back("/music/share"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.destination);
    MonitorRig rig;
    c.unmeasurable(rig.drives);
    rig.SetFree(10);
    rig.monitor.JobStarting();
    rig.loop.Advance(2);
    ASSERT_EQ(rig.stops, 1);

    rig.limits.DecodePath = c.destination;
    rig.flags = JobFlags{};
    rig.monitor.JobStarting();
    rig.loop.Advance(20);
    EXPECT_EQ(rig.stops, 1);
    EXPECT_FALSE(rig.Label5.Visible());
    EXPECT_EQ(rig.flags.CancelRequested, kFalse);
    EXPECT_EQ(rig.monitor.DestinationFigure(), "0");
    // Back on the full drive, its own figure stops the job again.
    rig.limits.DecodePath = "/music/rips";
    rig.loop.Advance(2);
    EXPECT_EQ(rig.stops, 2);
  }
}

TEST(DiskSpaceMonitor, ADestinationNeverMeasuredIsNotTakenForAFullOne) {
  MonitorRig rig;
  rig.drives["/music"].type = "Network drive";
  rig.monitor.JobStarting();
  rig.loop.Advance(10);
  EXPECT_EQ(rig.stops, 0);
  EXPECT_FALSE(rig.Label5.Visible());
  EXPECT_EQ(rig.monitor.DestinationFigure(), "0");
  EXPECT_EQ(rig.drives.measured.size(), 10u);  // five ticks, two drives each
  rig.monitor.JobEnded();
  rig.loop.Advance(10);
  EXPECT_EQ(rig.drives.measured.size(), 10u);
}

}  // namespace
}  // namespace korvalin
