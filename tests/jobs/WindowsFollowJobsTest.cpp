// The other windows follow a job's life on their own, with no main window in the program: each
// subscribes in its constructor. A window made outside the main window (the README's example)
// follows jobs the same way.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/ListBox.h"
#include "desktop/WindowTray.h"
#include "finder/frmsearch.h"
#include "jobs/ProgramJobs.h"
#include "mp3/frmPlayList.h"
#include "tests/support/FakeServices.h"

namespace korvalin {
namespace {

// A window that listens to jobs, as "Adding a window" in the README writes it.
class frmRecent {
 public:
  frmRecent(Services&, JobEvents& jobs) {
    connections_ = CloseOnJobs(jobs, [this] { window.SetLoaded(false); });
    connections_.push_back(jobs.fileWritten.Connect([this](const std::string& path) { lstRecent.AddItem(path); }));
  }
  controls::Window window{"frmRecent", "Recent Files"};
  controls::ListBox lstRecent{"lstRecent"};

 private:
  std::vector<controls::Connection> connections_;
};

struct NoMainWindow : CollectionHost {
  void ShowMainWindow() override {}
};

// The program's jobs and its other windows, made as the composition root and the main window
// make them, but without the main window.
struct Program {
  test::FakeServices fake;
  ProgramJobs jobs{fake.services};
  NoMainWindow host;
  Settings settings;
  CollectionTree collection{settings, fake.services.loop, host};
  controls::Window mainWindow{"Form1"};
  controls::Label status{"lblStatus"};
  OwnedForms forms;
  WindowTray tray{fake.services, mainWindow, status, jobs, forms};
  frmsearch& finder = forms.Make<frmsearch>(fake.services, jobs.Events());
  frmPlayList& editor = forms.Make<frmPlayList>(fake.services, collection, jobs.Events());
  frmRecent& recent = forms.Make<frmRecent>(fake.services, jobs.Events());

  void OpenAll() {
    finder.Show();
    editor.Show();
    tray.trayForm.Form_Load();
    recent.window.SetLoaded(true);
  }
};

TEST(WindowsFollowJobs, EachWindowClosesOnTheJobsLifeByItself) {
  struct Case {
    const char* what;
    std::function<void(JobRunner&)> event;
    bool finderOpen, editorOpen, trayOpen, recentOpen;
  };
  const Case cases[] = {
      {"a job locks the commands", [](JobRunner& r) { r.Run([&] { r.Lock(true); }); }, false, false, true, false},
      {"a job that locks nothing", [](JobRunner& r) { r.Run([] {}); }, true, true, true, true},
      {"a stop", [](JobRunner& r) { r.Stop(); }, true, true, true, true},
      {"the program closes", [](JobRunner& r) { r.Close(); }, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Program program;
    program.OpenAll();
    c.event(program.jobs.runner);
    EXPECT_EQ(program.finder.window.Loaded(), c.finderOpen);
    EXPECT_EQ(program.editor.window.Loaded(), c.editorOpen);
    EXPECT_EQ(program.tray.trayForm.Loaded(), c.trayOpen);
    EXPECT_EQ(program.fake.tray.Shown(), c.trayOpen ? 1u : 0u);
    EXPECT_EQ(program.recent.window.Loaded(), c.recentOpen);
  }
}

TEST(WindowsFollowJobs, AWindowMadeOutsideTheMainWindowListsEachFileAJobWrites) {
  Program program;
  JobRunner& runner = program.jobs.runner;
  runner.Run([&] {
    runner.FileWritten("/music/1-1.wav");
    runner.FileWritten("/music/1-2.mp3");
  });
  EXPECT_EQ(program.recent.lstRecent.Items(), (std::vector<std::string>{"/music/1-1.wav", "/music/1-2.mp3"}));
}

// The disk-space watch's stop says why before the job stops.
TEST(WindowsFollowJobs, TheLowSpaceStopSaysWhyFirst) {
  Program program;
  std::vector<std::string> order;
  JobEvents& e = program.jobs.Events();
  auto a = e.stoppedBecause.Connect([&](const std::string& why) { order.push_back(why); });
  auto b = e.stopping.Connect([&] { order.push_back("stopping"); });
  program.jobs.LowSpaceStop();
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0].rfind("Job stopped: low disk space, ", 0), 0u) << order[0];
  EXPECT_EQ(order[1], "stopping");
  // The rip log's outcome says the same.
  EXPECT_EQ(program.jobs.runner.flags.StopReason, order[0].substr(std::string("Job ").size()));
}

}  // namespace
}  // namespace korvalin
