#include "finder/frmsearch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakeServices.h"
#include "tests/support/FileTree.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::MakeTree;
using test::TempDir;
using Paths = std::vector<std::string>;

class FinderTest : public ::testing::Test {
 protected:
  // Half a second a yield, so elapsed times are easy figures.
  test::FakeServices fake{36000, 0.5};
  test::ScriptedEventLoop& loop = fake.loop;
  test::ScriptedDialogs& dialogs = fake.dialogs;
  frmsearch form{fake.services};
  TempDir dir;
  std::string root = dir.Path() + "/";

  void SetUp() override {
    form.Show();
    form.Dir1.SetText(dir.Path());
  }
};

TEST_F(FinderTest, LoadCentresTheWindowAndStartsInTheCurrentFolder) {
  test::FakeServices other;
  other.screen.SetSize(20000, 12000);
  frmsearch f{other.services};
  EXPECT_FALSE(f.window.Loaded());
  f.Show();
  EXPECT_TRUE(f.window.Loaded());
  EXPECT_TRUE(f.window.Visible());
  EXPECT_EQ(f.window.Left(), (20000 - f.window.Width()) / 2);
  EXPECT_EQ(f.window.Top(), (12000 - f.window.Height()) / 2);
  EXPECT_EQ(f.Dir1.Text(), std::filesystem::current_path().string());
  EXPECT_EQ(f.window.Caption(), "File Finder");
  EXPECT_EQ(f.SSTab1.TabCaption(0), "Local Search ");
  EXPECT_EQ(f.SSTab1.TabCaption(1), "Internet Search");
}

TEST_F(FinderTest, TheTypeBoxIsAlwaysLowerCaseAndGetsItsDotAtSearchStart) {
  EXPECT_EQ(form.zFileExt.MaxLength(), 4);
  form.zFileExt.SetText(".MP3");
  EXPECT_EQ(form.zFileExt.Text(), ".mp3");
  MakeTree(dir.Path(), {"a.wav", "B.WAV", "c.mp3"});
  form.zFileExt.SetText("WAV");
  EXPECT_EQ(form.zFileExt.Text(), "wav");
  form.Command1.Click();
  EXPECT_EQ(form.zFileExt.Text(), ".wav");
  EXPECT_EQ(form.lstfiles.Items(), (Paths{root + "a.wav", root + "B.WAV"}));
  form.zFileExt.SetText("*.*");
  form.Text1.SetText("c");  // ignored under "*.*"
  form.Command1.Click();
  EXPECT_EQ(form.zFileExt.Text(), "*.*");
  EXPECT_EQ(form.lstfiles.ListCount(), 3);
}

TEST_F(FinderTest, AnEmptyLookInSearchesNothingAndAsksForAFolder) {
  form.Dir1.SetText("");
  form.zFileExt.SetText("*.*");
  form.Command1.Click();
  EXPECT_EQ(form.lbltime.Caption(), kChooseFolderText);
  EXPECT_EQ(form.lstfiles.ListCount(), 0);
  EXPECT_EQ(form.List1.ListCount(), 0);
  EXPECT_EQ(loop.Yields(), 0);
  EXPECT_EQ(form.Command1.Caption(), kSearchCaption);
  EXPECT_FALSE(form.Searching());
}

TEST_F(FinderTest, ASearchRunsToItsEndAndShowsItsSummaryAndTime) {
  MakeTree(dir.Path(), {"a.wav", "A/b.wav", "B/c.wav", "B/d.mp3"});
  std::vector<std::string> during;
  loop.AtYield(1, [&] {
    during = {form.Command1.Caption(), form.lbltime.Caption()};
    EXPECT_TRUE(form.Command1.Enabled());
    EXPECT_FALSE(form.zFileExt.Enabled());
    EXPECT_FALSE(form.Text1.Enabled());
    EXPECT_FALSE(form.chkhidelist.Enabled());
    EXPECT_TRUE(form.Dir1.Enabled());
    EXPECT_EQ(form.lstdirs.List(0), root);
  });
  form.Command1.Click();
  EXPECT_EQ(during, (std::vector<std::string>{"Stop!", "Searching . . . " + root}));
  EXPECT_EQ(form.lstfiles.Items(), (Paths{root + "a.wav", root + "B/c.wav", root + "A/b.wav"}));
  EXPECT_EQ(form.List1.Items(), (Paths{root, root + "B/", root + "A/"}));
  EXPECT_EQ(form.lstdirs.ListCount(), 0);
  EXPECT_EQ(form.Command1.Caption(), "Search !");
  EXPECT_EQ(form.Label1.Caption(), "Directories: 3   Files:  3");  // as many as the log lists
  EXPECT_EQ(loop.Yields(), 3);  // two at the top (three entries), one in B, none in A
  EXPECT_EQ(form.lbltime.Caption(), "Time taken: 1.5 second(s)");
  EXPECT_EQ(form.DirectoryCount, 0);
  EXPECT_EQ(form.FileCount, 0);
  EXPECT_TRUE(form.zFileExt.Enabled());
  EXPECT_TRUE(form.Text1.Enabled());
  EXPECT_TRUE(form.chkhidelist.Enabled());

  // The next search starts afresh.
  form.Text1.SetText("C");
  form.Command1.Click();
  EXPECT_EQ(form.lstfiles.Items(), Paths{root + "B/c.wav"});
  EXPECT_EQ(form.List1.ListCount(), 3);
}

TEST_F(FinderTest, HiddenListsAreShownAgainAtTheEnd) {
  MakeTree(dir.Path(), {"a.wav", "b.wav"});
  form.chkhidelist.SetValue(controls::CheckBox::Checked);
  bool logShown = true, filesShown = true, queueShown = false;
  loop.AtYield(1, [&] {
    logShown = form.List1.Visible();
    filesShown = form.lstfiles.Visible();
    queueShown = form.lstdirs.Visible();
  });
  form.Command1.Click();
  EXPECT_FALSE(logShown);
  EXPECT_FALSE(filesShown);
  EXPECT_TRUE(queueShown);
  EXPECT_TRUE(form.List1.Visible());
  EXPECT_TRUE(form.lstfiles.Visible());
}

TEST_F(FinderTest, AfterStopTheFolderBeingReadIsFinishedAndNothingElse) {
  // Top level: a.wav, B/, C/, d.wav, e.wav. "Stop!" comes at the second yield, before C.
  MakeTree(dir.Path(), {"a.wav", "B/b.wav", "C/c.wav", "d.wav", "e.wav"});
  std::vector<std::string> atStop;
  loop.AtYield(2, [&] {
    form.Command1.Click();
    atStop = {form.Command1.Caption(), form.lbltime.Caption(), form.Label1.Caption()};
    EXPECT_EQ(form.lstdirs.ListCount(), 0);
    EXPECT_TRUE(form.zFileExt.Enabled());
  });
  form.Command1.Click();
  EXPECT_EQ(atStop, (std::vector<std::string>{"Search !", "Time taken: 0 second(s)", "Directories: 2   Files:  1"}));
  EXPECT_EQ(form.lstfiles.Items(), (Paths{root + "a.wav", root + "d.wav", root + "e.wav"}));
  EXPECT_EQ(form.List1.Items(), (Paths{root, root + "C/", root + "B/"}));  // C is logged, never read
  // The search's own end has the last word: the whole search's figures and its real time.
  EXPECT_EQ(form.Label1.Caption(), "Directories: 3   Files:  3");
  EXPECT_EQ(form.lbltime.Caption(), "Time taken: 2 second(s)");
  EXPECT_FALSE(form.Searching());
}

TEST_F(FinderTest, SearchPressedWhileAStoppedSearchFinishesStartsAfterItNotInsideIt) {
  MakeTree(dir.Path(), {"a.wav", "B/b.wav", "C/c.mp3", "d.wav", "e.mp3"});
  int deepest = 0, depth = 0;
  const frmsearch* f = &form;
  loop.EveryYield([&] { deepest = std::max(deepest, depth); });
  form.Command1.OnClick = [&] {
    ++depth;
    form.Command1_Click();
    --depth;
  };
  loop.AtYield(1, [&] { form.Command1.Click(); });  // "Stop!"
  loop.AtYield(2, [&] {
    form.zFileExt.SetText("mp3");
    form.Command1.Click();  // "Search !" while the first search reads its last entries
    EXPECT_EQ(form.lstfiles.Items(), Paths{root + "a.wav"});  // nothing was cleared or restarted
    EXPECT_TRUE(f->Searching());
  });
  form.Command1.Click();
  EXPECT_EQ(deepest, 1);  // a search never ran inside another
  EXPECT_EQ(form.lstfiles.Items(), (Paths{root + "e.mp3", root + "C/c.mp3"}));
  EXPECT_EQ(form.Label1.Caption(), "Directories: 3   Files:  2");
  EXPECT_EQ(form.Command1.Caption(), "Search !");
  EXPECT_FALSE(form.Searching());
}

TEST_F(FinderTest, ClosingTheWindowDuringASearchEndsIt) {
  MakeTree(dir.Path(), {"a.wav", "B/b.wav", "c.wav"});
  loop.AtYield(1, [&] { form.cmdend.Click(); });
  form.Command1.Click();
  EXPECT_FALSE(form.window.Loaded());
  EXPECT_FALSE(form.window.Visible());
  EXPECT_FALSE(form.Searching());
  EXPECT_EQ(form.lstfiles.Items(), (Paths{root + "a.wav", root + "c.wav"}));
  // Loaded again, it searches as before.
  form.Show();
  form.Command1.Click();
  EXPECT_EQ(form.lstfiles.ListCount(), 3);
}

TEST_F(FinderTest, ALongTimeLabelIsReplacedByTheFolderBeingReadAndDots) {
  std::string deep = dir.Path();
  for (int i = 0; i < 4; ++i) deep += "/" + std::string(50, static_cast<char>('a' + i));
  MakeTree(deep, {"x.wav"});
  std::vector<std::string> labels;
  auto watch = form.lbltime.Changed.Connect([&](controls::Change) { labels.push_back(form.lbltime.Caption()); });
  form.Command1.Click();
  const std::string last = deep + "/";
  ASSERT_GT(("Searching . . . " + last).size(), 200u);
  EXPECT_NE(std::find(labels.begin(), labels.end(), last + "..."), labels.end());
  for (const auto& l : labels) EXPECT_NE(l, "Searching . . . " + last);  // never stays too long
  EXPECT_EQ(form.lstfiles.Items(), Paths{deep + "/x.wav"});
}

TEST_F(FinderTest, BrowsePicksTheStartFolderThroughTheDialog) {
  dialogs.fileAnswers.push_back(std::string("/srv/music"));
  dialogs.fileAnswers.push_back(std::nullopt);
  form.cmdBrowse.Click();
  EXPECT_EQ(form.Dir1.Text(), "/srv/music");
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].initialFolder, dir.Path());  // it opens where the box points
  form.cmdBrowse.Click();  // cancelled
  EXPECT_EQ(form.Dir1.Text(), "/srv/music");
}

}  // namespace
}  // namespace korvalin
