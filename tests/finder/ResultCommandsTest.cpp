#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "finder/frmsearch.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FileTree.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::Exists;
using test::MakeTree;
using Paths = std::vector<std::string>;

class RecordingHost : public FinderCollection {
 public:
  void Cmaddfile2(const std::string& path) override { calls.push_back("Cmaddfile2 " + path); }
  void showfiles3(const std::string& path) override { calls.push_back("showfiles3 " + path); }
  std::vector<std::string> calls;
};

class ResultCommandsTest : public ::testing::Test {
 protected:
  test::FakeServices fake;
  test::ScriptedEventLoop& loop = fake.loop;
  test::ScriptedDialogs& dialogs = fake.dialogs;
  frmsearch form{fake.services};
  RecordingHost host;
  test::TempDir dir;
  std::string root = dir.Path() + "/";
  int popups = 0;
  controls::Connection popupWatch = form.window.PopupRequested.Connect([this](controls::MenuItem* menu) {
    EXPECT_EQ(menu, &form.mnupopup);
    ++popups;
  });

  void SetUp() override {
    form.SetCollection(&host);
    form.Show();
    form.Dir1.SetText(dir.Path());
  }
  void Fill(const Paths& entries, int32_t selected) {
    form.lstfiles.Clear();
    for (const auto& e : entries) form.lstfiles.AddItem(e);
    form.lstfiles.SetListIndex(selected);
  }
};

TEST_F(ResultCommandsTest, TheMenuOpensOnARightPressOverASelectedWavOrMp3Only) {
  EXPECT_EQ(form.mnupopup.Items().size(), 4u);
  EXPECT_FALSE(form.mnupopup.Visible());  // a pop-up, never in a menu bar
  std::vector<std::string> captions;
  for (auto* item : form.mnupopup.Items()) captions.push_back(item->Caption());
  EXPECT_EQ(captions, (Paths{"Select for Conversion", "Remove File from list", "Delete File", "Close Window"}));

  struct Case {
    Paths entries;
    int32_t selected;
    int16_t button;
    bool opens;
  };
  const Case cases[] = {
      {{"/m/a.wav"}, 0, 2, true},
      {{"/m/A.WAV"}, 0, 2, true},          // the type is compared lower-cased
      {{"/m/b.Mp3"}, 0, 2, true},
      {{"/m/a.wav"}, 0, 3, true},          // left and right together
      {{"/m/notes.txt"}, 0, 2, false},     // listed under "*.*"
      {{"/m/a.wav.bak"}, 0, 2, false},
      {{"/m/wav"}, 0, 2, false},
      {{"/m/a.wav", "/m/b.mp3"}, -1, 2, false},  // nothing selected
      {{"/m/a.wav"}, 0, 1, false},         // left button
      {{"/m/a.wav"}, 0, 4, false},         // middle button
  };
  for (const Case& c : cases) {
    Fill(c.entries, c.selected);
    popups = 0;
    form.lstfiles.MouseDown(c.button, 0, 300, 150);
    EXPECT_EQ(popups, c.opens ? 1 : 0) << (c.entries[0]) << " button " << c.button;
  }
}

TEST_F(ResultCommandsTest, SelectForConversionHandsTheSelectedPathToTheCollection) {
  Fill({root + "One.wav", root + "two.mp3"}, 1);
  form.mnuSeelectfile.Click();
  EXPECT_EQ(host.calls, (Paths{"Cmaddfile2 " + root + "two.mp3", "showfiles3 " + root + "two.mp3"}));
  host.calls.clear();
  Fill({root + "One.wav"}, -1);
  form.mnuSeelectfile.Click();  // nothing selected: nothing handed over
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(ResultCommandsTest, RemoveTakesTheEntryOffTheListAndLeavesTheFile) {
  MakeTree(dir.Path(), {"a.wav", "b.wav"});
  Fill({root + "a.wav", root + "b.wav"}, 0);
  form.mnuRemoveFile.Click();
  EXPECT_EQ(form.lstfiles.Items(), Paths{root + "b.wav"});
  EXPECT_TRUE(Exists(root + "a.wav"));
  form.mnuRemoveFile.Click();  // nothing selected now: nothing happens
  EXPECT_EQ(form.lstfiles.ListCount(), 1);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ResultCommandsTest, DeleteAsksFirstAndOnlyYesDeletesAndUnlists) {
  MakeTree(dir.Path(), {"a.wav", "b.mp3"});
  Fill({root + "a.wav", root + "b.mp3"}, 1);
  dialogs.messageAnswers = {MsgBoxResult::No, MsgBoxResult::Cancel, MsgBoxResult::Yes};
  form.mnuDelete.Click();
  form.mnuDelete.Click();
  EXPECT_TRUE(Exists(root + "b.mp3"));
  EXPECT_EQ(form.lstfiles.ListCount(), 2);
  form.mnuDelete.Click();
  EXPECT_FALSE(Exists(root + "b.mp3"));
  EXPECT_TRUE(Exists(root + "a.wav"));
  EXPECT_EQ(form.lstfiles.Items(), Paths{root + "a.wav"});
  ASSERT_EQ(dialogs.messages.size(), 3u);
  for (const auto& m : dialogs.messages) {
    EXPECT_EQ(m.text, "Are you sure you want to delete this file?");
    EXPECT_EQ(m.title, "Delete File");
    EXPECT_EQ(m.buttons, MsgBoxButtons::YesNoCancel);
    EXPECT_EQ(m.icon, MsgBoxIcon::Exclamation);
  }
}

TEST_F(ResultCommandsTest, AFileThatCouldNotBeDeletedKeepsItsEntryAndTheUserIsToldWhy) {
  MakeTree(dir.Path(), {"locked.wav"}, 200);
  ::chmod((root + "locked.wav").c_str(), 0444);
  Fill({root + "locked.wav"}, 0);
  dialogs.messageAnswers = {MsgBoxResult::Yes};
  form.mnuDelete.Click();
  EXPECT_TRUE(Exists(root + "locked.wav"));
  EXPECT_EQ(form.lstfiles.Items(), Paths{root + "locked.wav"});
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_NE(dialogs.messages[1].text.find(root + "locked.wav"), std::string::npos);
  EXPECT_NE(dialogs.messages[1].text.find("Permission denied"), std::string::npos);
  EXPECT_EQ(dialogs.messages[1].title, "Delete File");

  // A file that is gone already leaves nothing to keep: its entry goes.
  Fill({root + "gone.wav"}, 0);
  dialogs.messageAnswers = {MsgBoxResult::Yes};
  form.mnuDelete.Click();
  EXPECT_EQ(form.lstfiles.ListCount(), 0);
  EXPECT_FALSE(Exists(root + "gone.wav"));
}

TEST_F(ResultCommandsTest, CloseWindowUnloadsTheFinder) {
  form.mnuClose.Click();
  EXPECT_FALSE(form.window.Loaded());
  EXPECT_FALSE(form.window.Visible());
}

TEST_F(ResultCommandsTest, CommandsDuringASearchLeaveItsResultsRight) {
  // Top level in order: a.wav, b.wav, c.wav, Sub/; yields come before b, c and Sub.
  MakeTree(dir.Path(), {"a.wav", "b.wav", "c.wav", "Sub/d.wav", "Sub/e.wav"});
  loop.AtYield(2, [&] {
    ASSERT_EQ(form.lstfiles.Items(), (Paths{root + "a.wav", root + "b.wav"}));
    form.lstfiles.SetListIndex(1);
    dialogs.messageAnswers = {MsgBoxResult::Yes};
    // While the deletion of b pauses, the user takes a off the list: b's entry moves up, and it
    // is still b's entry that goes.
    loop.AtYield(1, [&] {
      form.lstfiles.SetListIndex(0);
      form.mnuRemoveFile.Click();
    });
    form.mnuDelete.Click();
    EXPECT_TRUE(form.Searching());
  });
  form.Command1.Click();
  EXPECT_TRUE(Exists(root + "a.wav"));
  EXPECT_FALSE(Exists(root + "b.wav"));
  EXPECT_EQ(form.lstfiles.Items(), (Paths{root + "c.wav", root + "Sub/d.wav", root + "Sub/e.wav"}));
  EXPECT_EQ(form.Label1.Caption(), "Directories: 2   Files:  3");
  EXPECT_EQ(form.Command1.Caption(), "Search !");
}

}  // namespace
}  // namespace korvalin
