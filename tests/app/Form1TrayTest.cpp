// The main window and the tray: Minimize, the Start action's minimise during a job, the tray menu's
// commands on a running rip, the Preferences box, and a desktop without a tray.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Form1.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

class Form1TrayTest : public ::testing::Test {
 protected:
  Form1TrayTest() {
    fake.media.trackMs = {2000, 3000};
    fake.cd.identifications = {"Fake drive"};
    fake.cd.SetTrackLengths({150, 600});  // 2 s and 8 s of frames
    form.Form_Load();
    form.options.optWAV.SetValue(true);
  }
  // Rips both tracks through the Start action.
  void RipBothTracks() {
    test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Available Tracks"));
    form.CmdSelectAction_Click();
  }
  std::vector<std::string> Wavs() { return test::Inside(form.collection).List1.Items(); }
  void RightClickIcon() { fake.tray.Mouse(&form.windows.tray.trayForm.window, form.windows.tray.trayForm.Icon.handle, traymouse::RightUp); }

  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
};

TEST_F(Form1TrayTest, MinimizeHidesTheWindowBehindTheIconAndRestoreBringsItBack) {
  form.mnuMinimize.Click();
  EXPECT_FALSE(form.window.Visible());
  EXPECT_EQ(fake.tray.Shown(), 1u);
  EXPECT_EQ(form.window.WindowState(), controls::Window::State::Normal);

  int popups = 0;
  auto watch = form.windows.tray.trayForm.window.PopupRequested.Connect([&](controls::MenuItem*) { ++popups; });
  RightClickIcon();
  EXPECT_EQ(popups, 1);
  form.windows.tray.trayForm.Exit.Click();
  EXPECT_TRUE(form.window.Visible());
  EXPECT_EQ(fake.tray.Shown(), 0u);
}

TEST_F(Form1TrayTest, WithoutATrayMinimizeMinimisesToTheTaskBarAndSaysSoOnce) {
  const struct {
    bool available, takesIcons;
  } desktops[] = {{false, true}, {true, false}};
  for (const auto& d : desktops) {
    ProgramJobs fJobs{fake.services};
    Form1 f{fake.services, fJobs};
    fake.tray.available = d.available;
    fake.tray.takesIcons = d.takesIcons;
    f.window.SetVisible(true);
    f.mnuMinimize.Click();
    EXPECT_TRUE(f.window.Visible()) << d.available;  // never hidden with nothing to bring it back
    EXPECT_EQ(f.window.WindowState(), controls::Window::State::Minimized);
    EXPECT_EQ(f.displays.lblStatus.Caption(), kNoTrayNotice);
    f.displays.lblStatus.SetCaption("");
    f.window.SetWindowState(controls::Window::State::Normal);  // the user restores it
    f.mnuMinimize.Click();
    EXPECT_EQ(f.window.WindowState(), controls::Window::State::Minimized);
    EXPECT_EQ(f.displays.lblStatus.Caption(), "");  // said once
    EXPECT_EQ(fake.tray.Shown(), 0u);
  }
}

TEST_F(Form1TrayTest, MinimizeOnStartPutsTheWindowAwayForTheJobAndItsEndBringsItBack) {
  form.settings.MinimizeOnstart = 1;
  bool hiddenDuringJob = false;
  fake.loop.AtYield(3, [&] { hiddenDuringJob = !form.window.Visible() && fake.tray.Shown() == 1; });
  RipBothTracks();
  EXPECT_TRUE(hiddenDuringJob);
  EXPECT_TRUE(form.window.Visible());
  EXPECT_EQ(fake.tray.Shown(), 0u);
  EXPECT_EQ(Wavs().size(), 2u);

  // No tray: minimised to the task bar for the job, restored at its end.
  fake.tray.available = false;
  form.cdBar.cmdRefresh_Click();  // the tracks again
  bool minimisedDuringJob = false;
  fake.loop.AtYield(3, [&] { minimisedDuringJob = form.window.WindowState() == controls::Window::State::Minimized; });
  RipBothTracks();
  EXPECT_TRUE(minimisedDuringJob);
  EXPECT_EQ(form.window.WindowState(), controls::Window::State::Normal);
  EXPECT_TRUE(form.window.Visible());
}

TEST_F(Form1TrayTest, StopConversionDuringARipLeavesAValidShorterFileAndTheWindowBack) {
  form.settings.MinimizeOnstart = 1;
  fake.loop.AtYield(4, [&] {
    RightClickIcon();
    form.windows.tray.trayForm.mnuStopencoding.Click();
  });
  RipBothTracks();
  ASSERT_EQ(Wavs().size(), 1u);  // the second track never started
  const std::string bytes = test::ReadFile(Wavs()[0]);
  EXPECT_LT(bytes.size(), 44u + 150 * 2352);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav);
  EXPECT_TRUE(test::HeaderIsExact(*wav, bytes.size()));
  EXPECT_TRUE(form.window.Visible());
  EXPECT_EQ(fake.tray.Shown(), 0u);
  EXPECT_TRUE(form.toolbar.CmdSelectAction.Enabled());
}

TEST_F(Form1TrayTest, RestoreDuringAJobLeavesTheJobRunning) {
  form.settings.MinimizeOnstart = 1;
  bool shownDuringJob = false;
  fake.loop.AtYield(4, [&] { form.windows.tray.trayForm.Exit.Click(); });
  fake.loop.AtYield(8, [&] { shownDuringJob = form.window.Visible() && fake.tray.Shown() == 0; });
  RipBothTracks();
  EXPECT_TRUE(shownDuringJob);
  std::vector<int64_t> sizes;
  for (const auto& wav : Wavs()) sizes.push_back(test::FileSize(wav));
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int64_t>{44 + 150 * 2352, 44 + 600 * 2352}));  // both tracks whole
}

TEST_F(Form1TrayTest, ShutdownFromTheTrayDuringARipStopsItAndEndsTheProgram) {
  form.settings.MinimizeOnstart = 1;
  int closes = 0;
  auto c = form.window.CloseRequested.Connect([&] { ++closes; });
  fake.loop.AtYield(4, [&] { form.windows.tray.trayForm.mnuEnd.Click(); });
  RipBothTracks();
  EXPECT_TRUE(form.Unloaded());
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(fake.tray.Shown(), 0u);
  EXPECT_FALSE(form.window.Visible());  // the job's end does not bring a closed window back
  EXPECT_EQ(fake.exceptionFilter.installed, nullptr);
  ASSERT_EQ(Wavs().size(), 1u);
  EXPECT_LT(test::FileSize(Wavs()[0]), 44 + 150 * 2352);
}

TEST_F(Form1TrayTest, ThePreferencesBoxShowsTheIconInsteadOfTheDialogAndTheWindowsUnloadRemovesIt) {
  controls::Window& preferences = form.windows.prefs.window;
  preferences.SetVisible(true);
  form.windows.prefs.Check4.UserClick();
  EXPECT_EQ(fake.tray.Shown(), 1u);
  EXPECT_FALSE(preferences.Visible());
  EXPECT_FALSE(form.window.Visible());  // the program goes into the tray, main window and all
  EXPECT_EQ(fake.store.get("Korvalin v2.0", "Settings", "desktop icon", ""), "1");
  form.windows.prefs.Check4.UserClick();
  EXPECT_EQ(fake.tray.Shown(), 0u);
  EXPECT_TRUE(preferences.Visible());
  EXPECT_TRUE(form.window.Visible());

  // Without a tray the main window is minimised to the task bar, and comes back from there.
  fake.tray.available = false;
  form.windows.prefs.Check4.UserClick();
  EXPECT_TRUE(form.window.Visible());
  EXPECT_EQ(form.window.WindowState(), controls::Window::State::Minimized);
  form.windows.prefs.Check4.UserClick();
  EXPECT_EQ(form.window.WindowState(), controls::Window::State::Normal);
  fake.tray.available = true;

  form.windows.prefs.Check4.UserClick();
  form.window.OnUnload();
  EXPECT_EQ(fake.tray.Shown(), 0u);
}

}  // namespace
}  // namespace korvalin
