#include "desktop/frmpopup.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/FakeServices.h"

namespace korvalin {
namespace {

// The main window as the tray form sees it: a caption, and a log of what was asked of it.
struct RecordingHost : TrayHost {
  std::string MainWindowCaption() override { return caption; }
  void ShowMainWindow() override { log.push_back("show"); }
  void Command2_Click() override { log.push_back("cancel"); }
  void UnloadDecoderWindow() override { Step("unload decoder"); }
  void UnloadMainWindow() override { Step("unload main"); }
  void EndProgram() override { Step("end"); }
  void Step(const std::string& what) {
    log.push_back(what);
    if (what == failing) throw std::runtime_error(what);
  }
  std::string caption = "Korvalin v2.0";
  std::string failing;
  std::vector<std::string> log;
};

class frmpopupTest : public ::testing::Test {
 protected:
  std::vector<NotifyMessage> Messages() const {
    std::vector<NotifyMessage> m;
    for (const auto& c : tray.calls) m.push_back(c.message);
    return m;
  }
  test::FakeServices fake;
  test::ScriptedEventLoop& loop = fake.loop;
  test::FakeNotificationArea& tray = fake.tray;
  RecordingHost host;
  JobEvents jobs;
  frmpopup form{fake.services, host, jobs};
};

TEST_F(frmpopupTest, LoadAddsTheIconOnceAndUnloadDeletesItByTheSameIdentifierTwice) {
  form.Form_Load();
  form.Form_Load();  // already loaded: nothing more
  ASSERT_EQ(tray.calls.size(), 1u);
  const NotifyIconData& added = tray.calls[0].data;
  EXPECT_EQ(added.cbSize, 88u);
  EXPECT_EQ(added.hWnd, &form.window);
  EXPECT_EQ(added.uID, form.Icon.handle);
  EXPECT_EQ(added.uFlags, 7u);
  EXPECT_EQ(added.uCallbackMessage, 512);
  EXPECT_EQ(added.hIcon, form.Icon.picture);
  EXPECT_EQ(added.Tip(), "Korvalin");
  EXPECT_TRUE(form.IconShown());
  EXPECT_FALSE(form.window.Visible());
  EXPECT_TRUE(form.Timer1.Enabled() && form.Timer2.Enabled());

  form.Form_Unload();
  form.Form_Unload();  // already unloaded: nothing more
  EXPECT_EQ(Messages(), (std::vector<NotifyMessage>{NotifyMessage::Add, NotifyMessage::Delete, NotifyMessage::Delete}));
  EXPECT_TRUE(tray.calls[1].result);
  EXPECT_FALSE(tray.calls[2].result);  // nothing left to remove
  EXPECT_EQ(tray.calls[2].data.uID, form.Icon.handle);
  EXPECT_EQ(tray.calls[2].data.Tip(), "Korvalin");  // the rest of the record as it was
  EXPECT_EQ(tray.Shown(), 0u);
  EXPECT_FALSE(form.Loaded());
  EXPECT_FALSE(form.Timer1.Enabled() || form.Timer2.Enabled());
}

TEST_F(frmpopupTest, TheTipAndTheCaptionFollowTheMainCaptionEverySecondWhileLoaded) {
  form.Form_Load();
  host.caption = "Extracting Track 3";
  loop.Advance(0.9);
  EXPECT_EQ(tray.Tip(), "Korvalin");
  loop.Advance(0.2);
  EXPECT_EQ(tray.Tip(), "Extracting Track 3");
  EXPECT_EQ(form.window.Caption(), "Extracting Track 3");
  host.caption = "Progress 50.00 %";
  loop.Advance(1.0);
  EXPECT_EQ(tray.Tip(), "Progress 50.00 %");

  form.Form_Unload();
  const auto calls = tray.calls.size();
  loop.Advance(5.0);
  EXPECT_EQ(tray.calls.size(), calls);  // unloaded: the timers are still
}

TEST_F(frmpopupTest, TheTipIsCutToSixtyThreeBytesWithoutSplittingACharacter) {
  const std::string e = "\xC3\xA9";  // "é", two bytes
  const struct {
    std::string caption;
    std::string tip;
  } cases[] = {
      {std::string(63, 'a'), std::string(63, 'a')},
      {std::string(64, 'a'), std::string(63, 'a')},
      {std::string(70, 'b'), std::string(63, 'b')},
      {std::string(62, 'c') + e, std::string(62, 'c')},        // the cut falls inside "é"
      {std::string(61, 'd') + e + "x", std::string(61, 'd') + e},
      {"", ""},
  };
  for (const auto& c : cases) {
    NotifyIconData record;
    record.SetTip(c.caption);
    EXPECT_EQ(record.Tip(), c.tip) << c.caption.size();
    EXPECT_EQ(record.szTip.back(), '\0');
  }
}

TEST_F(frmpopupTest, OnlyTheReleaseOfTheRightButtonOpensTheMenu) {
  form.Form_Load();
  int popups = 0;
  auto watch = form.window.PopupRequested.Connect([&](controls::MenuItem* menu) {
    EXPECT_EQ(menu, &form.Popup);
    ++popups;
  });
  host.caption = "Encoding song.wav";
  for (int32_t message : {512, 513, 514, 515, 516, 519, 520}) tray.Mouse(&form.window, form.Icon.handle, message);
  EXPECT_EQ(popups, 0);
  EXPECT_EQ(form.window.Caption(), "Encoding song.wav");  // every message copies the caption
  tray.Mouse(nullptr, form.Icon.handle, 517);  // another window's icon
  EXPECT_EQ(popups, 0);
  tray.Mouse(&form.window, form.Icon.handle, 517);
  EXPECT_EQ(popups, 1);
}

TEST_F(frmpopupTest, RestoreAndStopShowTheWindowFirstAndRemoveTheIconLast) {
  form.Form_Load();
  form.Exit.Click();
  EXPECT_EQ(host.log, std::vector<std::string>{"show"});
  EXPECT_EQ(tray.Shown(), 0u);

  host.log.clear();
  form.Form_Load();
  form.mnuStopencoding.Click();
  EXPECT_EQ(host.log, (std::vector<std::string>{"show", "cancel"}));
  EXPECT_EQ(tray.Shown(), 0u);
  EXPECT_FALSE(form.Loaded());
}

TEST_F(frmpopupTest, ShutdownEndsTheProgramWhicheverUnloadFails) {
  for (const std::string failing : {"", "unload decoder", "unload main"}) {
    host.log.clear();
    host.failing = failing;
    form.Form_Load();
    form.mnuEnd.Click();
    EXPECT_EQ(host.log, (std::vector<std::string>{"unload decoder", "unload main", "end"})) << failing;
    EXPECT_EQ(tray.Shown(), 0u) << failing;
  }
}

TEST_F(frmpopupTest, ATrayThatRefusesTheIconLeavesTheFormLoadedWithoutOne) {
  tray.takesIcons = false;
  form.Form_Load();
  EXPECT_TRUE(form.Loaded());
  EXPECT_FALSE(form.IconShown());
}

}  // namespace
}  // namespace korvalin
