// The Playlist Editor inside the main window: the stored playlist, the header view, the file
// commands and playback, on real files in a temporary folder.

#include "mp3/frmPlayList.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/Form1.h"
#include "collection/BackingLists.h"
#include "mp3/Mp3TagBlocks.h"
#include "tests/support/AudioTools.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/PcmGenerator.h"

namespace korvalin {
namespace {

using Lines = std::vector<std::string>;

class PlaylistTest : public ::testing::Test {
 protected:
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
  frmPlayList& editor = form.windows.playlistEditor;
  test::TempDir dir;

  std::string& Stored(const std::string& key) { return fake.store.values[{"Korvalin v2.0", "music", key}]; }
  bool IsStored(const std::string& key) const { return fake.store.values.count({"Korvalin v2.0", "music", key}) > 0; }
  void Store(const Lines& entries) {
    Stored("HowMany") = std::to_string(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (!entries[i].empty()) Stored(std::to_string(i + 1)) = entries[i];
    }
  }
  // A 128 kbit/s MP3 of a second of music.
  std::string Mp3(const std::string& name) {
    static const std::string bytes = test::EncodeMp3(discgen::MusicBytes(44100, 2), 44100, 2, 128);
    const std::string path = dir / name;
    test::WriteFile(path, bytes);
    return path;
  }
  // The main window's tree has an item for the file (by its name or its full path).
  bool InTree(const std::string& name) const {
    return form.collection.FindText(name) != nullptr || form.collection.FindText(dir / name) != nullptr;
  }
  void Select(int32_t index) {
    editor.List2.OnClick = nullptr;  // choosing a line without its click
    editor.List2.SetListIndex(index);
    editor.List2.OnClick = [this] { editor.List2_Click(); };
  }
};

TEST_F(PlaylistTest, LoadShowsMissingKeysAsEmptyAndARebuildStoresTheWholeListAgain) {
  Store({"/m/a.mp3", "", "/m/c.MP3", "/m/d.Mp3", "/m/e.mp3"});
  Stored("6") = "/m/stale.mp3";  // above "HowMany": never read
  form.toolbar.C5555555.Click();
  EXPECT_TRUE(editor.window.Visible());
  EXPECT_EQ(editor.window.Caption(), "Playlist Editor");
  EXPECT_EQ(editor.List2.Items(), (Lines{"/m/a.mp3", "Empty", "/m/c.MP3", "/m/d.Mp3", "/m/e.mp3"}));

  // Delisting the last line drops "Empty" and the mixed-case ".Mp3" too.
  Select(4);
  editor.Command6.Click();
  EXPECT_EQ(editor.List2.Items(), (Lines{"/m/a.mp3", "/m/c.MP3"}));
  EXPECT_EQ(Stored("HowMany"), "2");
  EXPECT_EQ(Stored("1"), "/m/a.mp3");
  EXPECT_EQ(Stored("2"), "/m/c.MP3");
  EXPECT_EQ(Stored("3"), "/m/c.MP3");  // stale, and not read
  EXPECT_EQ(editor.List3.ListCount(), 0);

  // A new load starts from the store, not from the list it had.
  editor.Form_Unload();
  EXPECT_FALSE(editor.window.Loaded());
  form.mnuPlaylist.Click();
  EXPECT_EQ(editor.List2.Items(), (Lines{"/m/a.mp3", "/m/c.MP3"}));

  // A damaged count reads no more than a list can hold.
  editor.Form_Unload();
  Stored("HowMany") = "1e9";
  form.toolbar.C5555555.Click();
  EXPECT_EQ(editor.List2.ListCount(), kPlaylistLimit);
}

TEST_F(PlaylistTest, AddAppendsAFileOnceAndStoresIt) {
  Store({"/m/a.mp3"});
  editor.Show();
  editor.Text5.SetText("   ");
  editor.Command20.Click();
  editor.Text5.SetText("/m/a.mp3");
  editor.Command20.Click();
  EXPECT_EQ(editor.List2.ListCount(), 1);
  EXPECT_EQ(editor.Text5.Text(), "/m/a.mp3");
  editor.Text5.SetText("/m/b.mp3");
  editor.Command20.Click();
  EXPECT_EQ(editor.List2.Items(), (Lines{"/m/a.mp3", "/m/b.mp3"}));
  EXPECT_EQ(Stored("HowMany"), "2");
  EXPECT_EQ(Stored("2"), "/m/b.mp3");
  EXPECT_EQ(editor.Text5.Text(), "");
}

TEST_F(PlaylistTest, AClickedEntryShowsItsHeaderAndTagAndMayJoinTheCollection) {
  form.Form_Load();
  fake.dialogs.messages.clear();  // the load's word about the empty drive
  const std::string song = Mp3("song.mp3");
  Store({song, "/m/none.mp3"});
  editor.Show();
  editor.List2.SetListIndex(0);
  EXPECT_EQ(editor.Text5.Text(), song);
  ASSERT_EQ(editor.List1.ListCount(), 12);
  EXPECT_EQ(editor.List1.List(0), "Bitrate            128");
  EXPECT_EQ(editor.List1.List(1), "Frequency       44100");
  EXPECT_EQ(editor.List1.List(8), "Mode               joint stereo");
  EXPECT_EQ(editor.List1.List(11), "Private             no");
  EXPECT_EQ(editor.Text4(6).Text(), "255");
  EXPECT_EQ(editor.Text4(7).Text(), "False");
  EXPECT_EQ(editor.Text4(8).Text(), std::to_string(test::FileSize(song)) + " bytes");
  EXPECT_EQ(test::Inside(form.collection).List2.ListCount(), 0);

  editor.Check11.SetValue(controls::CheckBox::Checked);
  editor.List2.SetListIndex(-1);
  editor.List2.SetListIndex(0);
  EXPECT_EQ(test::Inside(form.collection).List2.Items(), (Lines{song}));
  EXPECT_TRUE(fake.dialogs.messages.empty());

  // A file that is gone: said once, and nothing of the file before stays on view.
  editor.List2.SetListIndex(1);
  EXPECT_EQ(fake.dialogs.MessageTexts(), (Lines{"Cannot read /m/none.mp3: File not found"}));
  EXPECT_EQ(editor.List1.ListCount(), 0);
  EXPECT_EQ(editor.Text4(7).Text(), "False");  // the has-tag box is not among those cleared
}

TEST_F(PlaylistTest, ReadHeaderOfAShortFileAndOfAFileWithoutAFrame) {
  editor.Show();
  test::WriteFile(dir / "tiny.mp3", std::string(99, 'x'));
  editor.Text5.SetText(dir / "tiny.mp3");
  editor.cmdHdr2.Click();
  EXPECT_EQ(fake.dialogs.MessageTexts(), (Lines{"File contains no data"}));
  EXPECT_EQ(editor.Text5.Text(), "");

  test::WriteFile(dir / "text.mp3", std::string(4000, 't') + "TAGTitle" + std::string(120, ' '));
  editor.Text5.SetText(dir / "text.mp3");
  editor.cmdHdr2.Click();
  EXPECT_EQ(editor.List1.Items(), (Lines{"Header: no frame"}));
  EXPECT_EQ(editor.Text4(2).Text(), "Title");
  EXPECT_EQ(editor.Text4(7).Text(), "True");

  // Chosen through the dialog: the length first, then the header.
  fake.dialogs.fileAnswers.push_back(Mp3("chosen.mp3"));
  editor.cmdHdr1.Click();
  EXPECT_EQ(editor.Text5.Text(), dir / "chosen.mp3");
  EXPECT_EQ(editor.List1.ListCount(), 12);
  EXPECT_EQ(fake.screen.MousePointer(), controls::MousePointer::Default);
  fake.dialogs.fileAnswers.push_back(std::nullopt);
  editor.cmdHdr1.Click();
  EXPECT_EQ(editor.Text5.Text(), dir / "chosen.mp3");
  EXPECT_EQ(fake.screen.MousePointer(), controls::MousePointer::Default);
}

TEST_F(PlaylistTest, WriteTagFromTheBoxes) {
  editor.Show();
  const std::string song = Mp3("song.mp3");
  const auto size = test::FileSize(song);
  editor.Text5.SetText(song);
  editor.cmdHdr2.Click();
  editor.Text4(1).SetText("Artist");
  editor.Text4(2).SetText("Title");
  editor.Text4(6).SetText("300");
  editor.cmdTag.Click();
  EXPECT_EQ(test::FileSize(song), size + 128);
  // The view shows what the file holds now, without "Read header".
  EXPECT_EQ(editor.Text4(1).Text(), "Artist");
  EXPECT_EQ(editor.Text4(2).Text(), "Title");
  EXPECT_EQ(editor.Text4(6).Text(), "255");
  EXPECT_EQ(editor.Text4(7).Text(), "True");
  editor.cmdTag.Click();
  EXPECT_EQ(test::FileSize(song), size + 128);  // replaced, not appended again

  editor.Text5.SetText(dir / "gone.mp3");
  editor.cmdTag.Click();
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(fake.dialogs.messages[0].text, "The tag was not written to " + dir / "gone.mp3" + ": File not found");
  EXPECT_FALSE(test::Exists(dir / "gone.mp3"));
}

TEST_F(PlaylistTest, DeleteAsksThenRemovesTheFileAndOnlyItsLine) {
  const std::string a = Mp3("a.mp3"), b = Mp3("b.mp3"), loose = Mp3("loose.mp3");
  Store({a, b});
  form.collection.showfiles();
  form.collection.Cmaddfile2(b);
  ASSERT_TRUE(InTree("b.mp3"));
  editor.Show();

  editor.Text5.SetText(b);
  fake.dialogs.messageAnswers = {MsgBoxResult::No};
  editor.Command10.Click();
  EXPECT_TRUE(test::Exists(b));
  EXPECT_EQ(fake.dialogs.messages.back().title, "Delete File");
  EXPECT_EQ(fake.dialogs.messages.back().buttons, MsgBoxButtons::YesNoCancel);

  fake.dialogs.messageAnswers = {MsgBoxResult::Yes};
  Select(0);
  editor.Command10.Click();
  EXPECT_FALSE(test::Exists(b));
  EXPECT_EQ(fake.dialogs.MessageTexts().back(), b + " has been Deleted");
  EXPECT_EQ(editor.List2.Items(), (Lines{a}));  // the selected line a stays
  EXPECT_FALSE(InTree("b.mp3"));  // nor does the main window list it
  EXPECT_FALSE(Holds(test::Inside(form.collection).List2, b));
  EXPECT_EQ(Stored("HowMany"), "1");
  EXPECT_EQ(editor.Text5.Text(), "");
  EXPECT_EQ(editor.Text4(8).Text(), "");

  // A file not in the playlist: the playlist keeps every line.
  editor.Text5.SetText(loose);
  fake.dialogs.messageAnswers = {MsgBoxResult::Yes};
  Select(0);
  editor.Command10.Click();
  EXPECT_FALSE(test::Exists(loose));
  EXPECT_EQ(editor.List2.Items(), (Lines{a}));

  // A write-protected file is not deleted, and not reported deleted.
  ::chmod(a.c_str(), 0444);
  editor.Text5.SetText(a);
  fake.dialogs.messageAnswers = {MsgBoxResult::Yes};
  editor.Command10.Click();
  EXPECT_TRUE(test::Exists(a));
  EXPECT_EQ(fake.dialogs.MessageTexts().back(), a + " could not be deleted: Permission denied");
  EXPECT_EQ(editor.List2.Items(), (Lines{a}));

  // An empty file goes without a question.
  test::WriteFile(dir / "empty.mp3", "");
  editor.Text5.SetText(dir / "empty.mp3");
  const auto asked = fake.dialogs.messages.size();
  editor.Command10.Click();
  EXPECT_FALSE(test::Exists(dir / "empty.mp3"));
  EXPECT_EQ(fake.dialogs.messages.size(), asked + 1);
  EXPECT_EQ(fake.dialogs.messages.back().text, "File contains no data");
}

TEST_F(PlaylistTest, RenameMovesTheFileAndItsLineAndAsksBeforeReplacing) {
  const std::string a = Mp3("a.mp3"), b = Mp3("b.mp3");
  Store({a, b});
  form.collection.showfiles();
  form.collection.Cmaddfile2(a);
  form.collection.Cmaddfile2(b);
  ASSERT_TRUE(InTree("a.mp3"));
  editor.Show();
  editor.Text5.SetText(a);
  fake.dialogs.fileAnswers.push_back(dir / "renamed.mp3");
  editor.Command2.Click();
  EXPECT_FALSE(test::Exists(a));
  EXPECT_TRUE(test::Exists(dir / "renamed.mp3"));
  EXPECT_EQ(editor.List2.Items(), (Lines{dir / "renamed.mp3", b}));
  // The main window's collection follows at once.
  EXPECT_EQ(test::Inside(form.collection).List2.Items(), (Lines{dir / "renamed.mp3", b}));
  EXPECT_FALSE(InTree("a.mp3"));
  EXPECT_TRUE(InTree("renamed.mp3"));
  EXPECT_EQ(Stored("1"), dir / "renamed.mp3");
  EXPECT_EQ(Stored("HowMany"), "2");
  EXPECT_EQ(editor.Text5.Text(), dir / "renamed.mp3");

  // Onto a file that exists: only a Yes replaces it.
  fake.dialogs.fileAnswers.push_back(b);
  fake.dialogs.messageAnswers = {MsgBoxResult::No};
  editor.Command2.Click();
  EXPECT_TRUE(test::Exists(dir / "renamed.mp3"));
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(fake.dialogs.messages[0].text,
            "The filename you picked already exists. Do you want to overwrite the existing file?");
  EXPECT_EQ(fake.dialogs.messages[0].title, b);

  fake.dialogs.fileAnswers.push_back(std::nullopt);
  editor.Command2.Click();
  EXPECT_EQ(editor.Text5.Text(), dir / "renamed.mp3");
}

TEST_F(PlaylistTest, PlayWithoutASoundCardSaysSoAndStopAlwaysAnswers) {
  const std::string a = Mp3("a.mp3");
  Store({a});
  editor.Show();
  ASSERT_NE(editor.ActiveMP31(), nullptr);
  editor.Command11.Click();  // no line chosen, no file being edited: nothing to play
  EXPECT_FALSE(editor.ActiveMP31()->Busy());
  EXPECT_TRUE(fake.dialogs.messages.empty());
  Select(0);
  editor.Command11.Click();
  editor.Command12.Click();
  EXPECT_FALSE(editor.ActiveMP31()->Busy());
  EXPECT_EQ(fake.dialogs.MessageTexts(),
            (Lines{"No sound device could play this file, or it is not an MP3 file: " + a}));
  // A job start unloads the editor and with it the player.
  form.jobs.Disablem();
  EXPECT_FALSE(editor.window.Loaded());
  EXPECT_EQ(editor.ActiveMP31(), nullptr);
  EXPECT_EQ(editor.List2.ListCount(), 0);
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST_F(PlaylistTest, ARippedFileShowsItsTitlesAndItsHeaderPastTheId3v2Tag) {
  struct Row {
    const char* title;
    int version;
    std::string shown;  // the ID3v1 title, one byte per character
  };
  editor.Show();
  const std::string audio = test::ReadFile(Mp3("plain.mp3"));
  for (const Row& row : {Row{"Second Song", 3, "Second Song"}, Row{"Caf\xc3\xa9", 4, "Caf\xc3\xa9"},
                         Row{"Night \xf0\x9f\x8c\x99", 3, "Night ?"}, Row{"", 3, ""}}) {
    SCOPED_TRACE(row.title);
    TrackTags tags;
    tags.title = row.title;
    tags.artist = "Anna Vector";
    tags.album = "Vector Album";
    tags.year = "1994";
    tags.genre = "Rock";
    tags.track = 2;
    const Mp3TagBlocks blocks = RenderMp3TagBlocks(tags, row.version, fake.tags);
    const std::string path = dir / "ripped.mp3";
    test::WriteFile(path, std::string(blocks.id3v2.begin(), blocks.id3v2.end()) + audio + blocks.id3v1);
    editor.Text5.SetText(path);
    editor.cmdHdr2.Click();
    EXPECT_EQ(editor.List1.List(0), "Bitrate            128");
    EXPECT_EQ(editor.Text4(1).Text(), "Anna Vector");
    EXPECT_EQ(editor.Text4(2).Text(), row.shown);
    EXPECT_EQ(editor.Text4(3).Text(), "Vector Album");
    EXPECT_EQ(editor.Text4(4).Text(), "1994");
    EXPECT_EQ(editor.Text4(6).Text(), "17");
    EXPECT_EQ(editor.Text4(7).Text(), "True");
  }
}

}  // namespace
}  // namespace korvalin
