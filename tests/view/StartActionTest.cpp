// The Start action through the real widgets: the job the selected node calls for, the commands
// locked while it runs and free again after, the status back to idle a second later.

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "app/view/Form1View.h"
#include "tests/support/AudioTools.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"

namespace korvalin {
namespace {

class StartActionTest : public ::testing::Test {
 protected:
  StartActionTest() {
    fake.media.trackMs = {2000, 3000};
    fake.cd.identifications = {"Fake drive"};
    fake.cd.SetTrackLengths({150, 600});  // 2 s and 8 s of frames
    form.Form_Load();
    exposed = QTest::qWaitForWindowExposed(&view);
  }
  void Select(const std::string& text) {
    controls::TreeNode* node = form.collection.FindText(text);
    ASSERT_NE(node, nullptr) << text;
    test::Inside(form.collection).TreeView1.SetSelectedItem(node);
  }
  void ClickStart() {
    ASSERT_TRUE(exposed);
    QTest::mouseClick(view.findChild<QToolButton*>("CmdSelectAction"), Qt::LeftButton);
  }
  std::vector<std::string> Wavs() {
    std::vector<std::string> names;
    for (const auto& path : test::Inside(form.collection).List1.Items()) {
      names.push_back(path.substr(path.rfind('/') + 1));
    }
    return names;
  }

  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
  Form1View view{form};
  bool exposed = false;
};

TEST_F(StartActionTest, TheRootStartsNoJobButStillFreesTheCommandsAndResetsTheStatus) {
  Select("CD Tracks, WAV, MP3 files");
  form.toolbar.C777.SetEnabled(false);  // as a job leaves it
  form.jobs.ChangeProgress("", 1, 2);
  ClickStart();
  EXPECT_TRUE(form.toolbar.C777.Enabled());
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_EQ(form.window.Caption(), "Progress 50.00 %");
  fake.loop.Advance(1.0);
  EXPECT_EQ(form.window.Caption(), "Korvalin V " KORVALIN_VERSION);
  EXPECT_EQ(form.displays.Label33.Caption(), "");
}

TEST_F(StartActionTest, ATrackItemExtractsAndAnUpperCaseWavItemEncodesAndStays) {
  form.options.optWAV.SetValue(true);
  test::Inside(form.collection).lstRecord.AddItem("Track  1 - 00:02");
  Select("Track  1 - 00:02");
  ClickStart();
  ASSERT_EQ(Wavs().size(), 1u);
  EXPECT_EQ(Wavs()[0].substr(Wavs()[0].find('-')), "-1.wav");
  EXPECT_TRUE(form.toolbar.CmdSelectAction.Enabled());

  // "Song.WAV" is a WAV file: Start encodes it. Being no ".wav" name, it is never deleted.
  form.settings.DeleteWAV = 0;  // WAV files get their node
  const std::string upper = fake.programFolder / "Song.WAV";
  test::WritePcmWav(upper, std::string(44100 * 4, '\3'), 44100, 2);
  form.collection.Cmaddfile2(upper);
  form.settings.DeleteWAV = 1;
  Select(upper);
  ClickStart();
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_GT(test::FileSize(form.settings.DecodePath + "/Song.mp3"), 1000);
  EXPECT_TRUE(test::Exists(upper));
}

TEST_F(StartActionTest, AvailableTracksToWavListsEachFileAndASecondStartRipsThemAgain) {
  form.settings.DeleteWAV = 1;  // concerns two-stage extraction only
  form.options.optWAV.SetValue(true);
  Select("Available Tracks");
  auto* tree = view.findChild<QTreeWidget*>("TreeView1");
  ASSERT_NE(tree, nullptr);
  const auto wavGroup = [&] {
    return tree->findItems("WAV Files", Qt::MatchExactly | Qt::MatchRecursive).value(0);
  };
  ClickStart();
  ASSERT_NE(wavGroup(), nullptr);
  EXPECT_EQ(wavGroup()->childCount(), 2);
  EXPECT_EQ(form.collection.FindText("Available Tracks")->Children().size(), 2u);
  ClickStart();
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_EQ(wavGroup()->childCount(), 4);
  EXPECT_EQ(Wavs().size(), 4u);
}

TEST_F(StartActionTest, TheMp3GroupRunsTheDecodeBatch) {
  Select("MP3 Files");
  ClickStart();
  EXPECT_EQ(fake.dialogs.MessageTexts(), std::vector<std::string>{"No files in list."});
}

TEST_F(StartActionTest, StopAndCancelStayLiveWhileAJobRunsAndEndIt) {
  form.options.optWAV.SetValue(true);
  Select("Available Tracks");
  bool cancelEnabledDuringJob = false, startLockedDuringJob = false;
  fake.loop.AtYield(4, [&] {
    const MainToolbar& t = form.toolbar;
    cancelEnabledDuringJob = t.Command2.Visible() && t.Command2.Enabled() && t.Command1.Enabled();
    startLockedDuringJob = !form.toolbar.CmdSelectAction.Enabled();
    form.toolbar.Command2.Click();  // the cancel button, clicked inside the job's yield
  });
  ClickStart();
  EXPECT_TRUE(cancelEnabledDuringJob);
  EXPECT_TRUE(startLockedDuringJob);
  // The first track was cut short and the second never started.
  ASSERT_EQ(Wavs().size(), 1u);
  EXPECT_LT(test::FileSize(test::Inside(form.collection).List1.List(0)), 44 + 150 * 2352);
  EXPECT_TRUE(form.toolbar.CmdSelectAction.Enabled());
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST_F(StartActionTest, AJobButtonClickedDuringAJobStartsNothingInsideIt) {
  form.options.optWAV.SetValue(true);
  Select("Available Tracks");
  int decodesInside = 0;
  fake.loop.AtYield(3, [&] {
    const auto before = fake.dialogs.messages.size();
    form.jobButtons.CmdDecoder.Click();  // would show "No files in list." if it ran
    decodesInside += static_cast<int>(fake.dialogs.messages.size() - before);
  });
  ClickStart();
  EXPECT_EQ(decodesInside, 0);
  EXPECT_EQ(Wavs().size(), 2u);  // the extraction went on to its end
}

}  // namespace
}  // namespace korvalin
