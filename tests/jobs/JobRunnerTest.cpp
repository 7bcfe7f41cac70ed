#include "jobs/JobRunner.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/RaisedError.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using Lines = std::vector<std::string>;

// Every signal of the runner, in the order it came, with the flags as each one saw them.
struct SignalLog {
  explicit SignalLog(JobRunner& runner) : runner(runner) {
    JobEvents& e = runner.events;
    auto note = [this](const std::string& what) {
      const JobFlags& f = this->runner.flags;
      log.push_back(what + (f.CaptureStopRequested ? " S" : "") + (f.CancelRequested ? " C" : ""));
    };
    keep(e.starting.Connect([=] { note("starting"); }));
    keep(e.ended.Connect([=] { note("ended"); }));
    keep(e.locked.Connect([=] { note("locked"); }));
    keep(e.unlocked.Connect([=] { note("unlocked"); }));
    keep(e.stopping.Connect([=] { note("stopping"); }));
    keep(e.progress.Connect([=](const std::string& text, int32_t bar) { note("progress " + text + " " + std::to_string(bar)); }));
    keep(e.status.Connect([=](StatusLine line, const std::string& text) {
      note("line " + std::to_string(static_cast<int>(line)) + " " + text);
    }));
    keep(e.idle.Connect([=](bool soon) { note(soon ? "idle soon" : "idle"); }));
    keep(e.commandShown.Connect([=](JobCommand c) { note(c == JobCommand::Cancel ? "show cancel" : "show stop"); }));
    keep(e.spaceWatchEnded.Connect([=] { note("space watch ended"); }));
    keep(e.fileWritten.Connect([=](const std::string& p) { note("written " + p); }));
    keep(e.fileDeleted.Connect([=](const std::string& p) { note("deleted " + p); }));
    keep(e.stoppedWavKept.Connect([=](const std::string& p) { note("kept " + p); }));
    keep(e.closing.Connect([=] { note("closing"); }));
  }
  void keep(controls::Connection c) { connections.push_back(std::move(c)); }
  JobRunner& runner;
  Lines log;
  std::vector<controls::Connection> connections;
};

TEST(JobRunner, EachCommandPublishesTheJobsLifeInItsOrder) {
  test::TempDir dir;
  const std::string wav = dir / "1-2.wav", mp3 = dir / "1-2.mp3";
  test::WriteFile(wav, std::string(100, 'x'));
  struct Case {
    const char* name;
    std::string output;  // the file being written when the command comes
    std::function<void(JobRunner&)> command;
    Lines signals;
  };
  const Lines stopEverything{"idle soon S C", "unlocked S C", "space watch ended S C", "kept " + wav + " S C",
                             "written " + wav + " S C"};
  auto stopped = [&](const char* flags) {
    Lines l{std::string("stopping") + flags};
    l.insert(l.end(), stopEverything.begin(), stopEverything.end());
    l.push_back("unlocked S C");
    return l;
  };
  const Case cases[] = {
      {"a job's reports come between starting and ended, the flags cleared after starting", "",
       [](JobRunner& r) {
         r.flags.CancelRequested = kTrue;
         r.Run([&] {
           r.Disablem();
           r.ShowCancelCommand();
           r.ChangeProgress("", 1, 4);
           r.ShowDestination("Destination: /x.wav");
           r.FileWritten("/x.wav");
           r.Enablem();
           r.ResetStatusSoon();
         });
       },
       {"starting C", "locked", "show cancel", "line 0 Progress 25.00 %", "progress 25.00 % 25", "line 2 Destination: /x.wav",
        "written /x.wav", "unlocked", "idle soon", "ended"}},
      {"Stop Everything keeps the WAV in hand and lists it", wav, [](JobRunner& r) { r.StopEverything(); }, stopEverything},
      {"an MP3 in hand is listed, not kept", mp3, [](JobRunner& r) { r.StopEverything(); },
       {"idle soon S C", "unlocked S C", "space watch ended S C", "written " + mp3 + " S C"}},
      {"no file yet: nothing is listed", "", [](JobRunner& r) { r.StopEverything(); },
       {"idle soon S C", "unlocked S C", "space watch ended S C"}},
      {"Stop", wav, [](JobRunner& r) { r.Stop(); }, stopped(" S")},
      {"Cancel", wav, [](JobRunner& r) { r.Cancel(); }, stopped(" S C")},
      {"the disk-space watch's stop", wav, [](JobRunner& r) { r.LowSpaceStop("low disk space"); }, stopped(" S")},
      {"closing: no job starts after it", "",
       [](JobRunner& r) {
         r.Close();
         r.Run([&] { r.Disablem(); });
       },
       {"closing"}},
      {"a total of 0 raises and reports nothing", "",
       [](JobRunner& r) { EXPECT_THROW(r.ChangeProgress("", 1, 0), RaisedError); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeServices fake;
    JobRunner runner(fake.loop);
    runner.state.CurrentOutputPath = c.output;
    SignalLog log(runner);
    c.command(runner);
    EXPECT_EQ(log.log, c.signals);
  }
}

TEST(JobRunner, AJobStartedInsideAJobsYieldDoesNotRunAndADeletedFileIsGoneFirst) {
  test::FakeServices fake;
  test::TempDir dir;
  const std::string wav = dir / "a.wav";
  test::WriteFile(wav, "x");
  JobRunner runner(fake.loop);
  SignalLog log(runner);
  bool exists = true;
  auto check = runner.events.fileDeleted.Connect([&](const std::string& p) { exists = test::Exists(p); });
  int inner = 0;
  runner.Run([&] {
    runner.Run([&] { ++inner; });
    runner.DeleteFile(wav);
  });
  EXPECT_EQ(inner, 0);
  EXPECT_FALSE(exists);
  EXPECT_EQ(log.log, (Lines{"starting", "deleted " + wav, "ended"}));
  EXPECT_FALSE(runner.Running());
}

}  // namespace
}  // namespace korvalin
