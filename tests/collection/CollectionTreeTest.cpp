#include "collection/CollectionTree.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <sys/stat.h>

#include "common/RaisedError.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FileTree.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using controls::TreeNode;
using test::MakeFile;
using test::TempDir;
using Texts = std::vector<std::string>;

struct Host : CollectionHost {
  int shown = 0;
  void ShowMainWindow() override { ++shown; }
};

class CollectionTest : public ::testing::Test {
 protected:
  TempDir dest;
  Settings settings;
  test::ScriptedEventLoop loop;
  Host host;
  CollectionTree tree{settings, loop, host};

  void SetUp() override {
    settings.DecodePath = dest.Path();
    settings.ShowFullPath = 1;
    settings.DeleteWAV = 0;
  }

  std::string Put(const std::string& name, std::size_t size = 1000) {
    MakeFile(dest / name, size);
    return dest / name;
  }

  Texts Children(const char* groupText) {
    Texts texts;
    if (TreeNode* g = tree.FindText(groupText)) {
      for (const TreeNode* n : g->Children()) texts.push_back(n->Text());
    }
    return texts;
  }
  TreeNode& Last(const char* groupText) { return *tree.FindText(groupText)->Children().back(); }
};

TEST_F(CollectionTest, AnEmptyDestinationGivesTheRootTheSixGroupsAndTheTracks) {
  tree.AddAvailableTrack("Track  1 - 3:12");
  tree.AddAvailableTrack("Track  2 - 4:01");
  test::Inside(tree).lstRecord.AddItem("Track  2 - 4:01");
  tree.showfiles();
  EXPECT_EQ(host.shown, 1);
  TreeNode& root = test::Inside(tree).TreeView1.Nodes(1);
  EXPECT_EQ(root.Key(), "f Collection 1");
  EXPECT_EQ(root.Text(), "CD Tracks, WAV, MP3 files");
  Texts keys, texts;
  for (const TreeNode* g : root.Children()) {
    keys.push_back(g->Key());
    texts.push_back(g->Text());
    EXPECT_EQ(g->Image(), 2);
    EXPECT_EQ(g->SelectedImage(), 5);
  }
  EXPECT_EQ(keys, (Texts{"g Selected Tracks", "g Available Tracks", "g Selected WAV Files", "g WAV Files",
                         "g Selected MP3 Files", "g Available MP3 Files"}));
  EXPECT_EQ(texts, (Texts{"Selected Tracks", "Available Tracks", "Selected WAV Files", "WAV Files",
                          "Selected MP3 Files", "MP3 Files"}));
  EXPECT_EQ(test::Inside(tree).TreeView1.Nodes(2).Text(), "Selected Tracks");
  EXPECT_EQ(Children(group::AvailableTracks), (Texts{"Track  1 - 3:12", "Track  2 - 4:01"}));
  EXPECT_EQ(Last(group::AvailableTracks).Key(), "p Track  2 - 4:01");
  EXPECT_EQ(Last(group::AvailableTracks).Image(), 3);
  EXPECT_EQ(Last(group::AvailableTracks).SelectedImage(), 6);
  EXPECT_TRUE(root.Expanded());
  EXPECT_FALSE(tree.FindText(group::AvailableTracks)->Expanded());  // its items stay folded
  EXPECT_TRUE(Children(group::SelectedTracks).empty());              // selected tracks get no nodes
  EXPECT_EQ(test::Inside(tree).lstRecord.ListCount(), 1);                          // but keep their list
  EXPECT_EQ(test::Inside(tree).TreeView1.ImageList().size(), 6u);

  EXPECT_EQ(CollectionTree::NodeKind(&root), 1);
  EXPECT_EQ(CollectionTree::NodeKind(tree.FindText(group::Mp3)), 2);
  EXPECT_EQ(CollectionTree::NodeKind(&Last(group::AvailableTracks)), 3);
  EXPECT_EQ(CollectionTree::NodeKind(nullptr), 0);
  EXPECT_EQ(CollectionTree::NodeKind(&test::Inside(tree).TreeView1.Add(nullptr, "x odd", "odd")), 0);
}

TEST_F(CollectionTest, FilesAppearLastFoundFirstWithFullPathsOrNames) {
  const std::string a = Put("a.wav"), b = Put("b.wav"), m = Put("sub/M.MP3"), n = Put("n.mp3");
  Put("notes.txt");
  tree.showfiles();
  EXPECT_EQ(Children(group::Wav), (Texts{b, a}));
  EXPECT_EQ(test::Inside(tree).List1.Items(), (Texts{b, a}));
  EXPECT_EQ(Last(group::Wav).Key(), "p " + a);
  EXPECT_TRUE(tree.FindText(group::Wav)->Expanded());
  EXPECT_EQ(Children(group::Mp3), (Texts{m, n}));  // found n first (top folder), then sub/M.MP3
  EXPECT_EQ(test::Inside(tree).List2.Items(), (Texts{m, n}));

  settings.ShowFullPath = 0;
  test::Inside(tree).List4.AddItem("selected.mp3");
  test::Inside(tree).List5.AddItem("selected.wav");
  tree.showfiles();
  EXPECT_EQ(Children(group::Wav), (Texts{"b.wav", "a.wav"}));
  EXPECT_EQ(Last(group::Wav).Key(), "p a.wav");
  EXPECT_EQ(Children(group::Mp3), (Texts{"M.MP3", "n.mp3"}));  // names kept as on disk
  EXPECT_EQ(test::Inside(tree).List2.Items(), (Texts{m, n}));                // lists keep full paths
  EXPECT_EQ(test::Inside(tree).List4.ListCount(), 0);                         // a rebuild forgets selections
  EXPECT_EQ(test::Inside(tree).List5.ListCount(), 0);
  EXPECT_EQ(test::Inside(tree).TreeView1.Count(), 1 + 6 + 4);                 // the old tree is gone
}

TEST_F(CollectionTest, TwoFilesOfOneNameShownByNameGetOneItemButBothStayListed) {
  const std::string x1 = Put("one/x.wav"), x2 = Put("two/x.wav");
  settings.ShowFullPath = 0;
  tree.showfiles();
  EXPECT_EQ(Children(group::Wav), Texts{"x.wav"});
  EXPECT_EQ(test::Inside(tree).List1.Items(), (Texts{x1, x2}));
}

TEST_F(CollectionTest, FilesInSubFoldersAreListedByTheirLastCharacters) {
  struct Row {
    const char* path;
    bool wav, mp3;
  };
  const std::vector<Row> rows{
      {"Ana Ray/Blue Hours/03 - Mr. Jones.mp3", false, true},
      {"Ana Ray/Vol. 2/01 - Intro.wav", true, false},
      {"Various/St. Elmo (2).WAV", true, false},
      {"1-3.mp3", false, true},
      {"a.b.c.mp3.txt", false, false},
      {".hidden/01 - Secret.mp3", false, false},  // hidden folders are not entered
      {"_hidden/01 - Found.mp3", false, true},
  };
  Texts wavs, mp3s;
  for (const Row& row : rows) {
    const std::string path = Put(row.path);
    if (row.wav) wavs.push_back(path);
    if (row.mp3) mp3s.push_back(path);
  }
  tree.showfiles();
  std::sort(wavs.begin(), wavs.end());
  std::sort(mp3s.begin(), mp3s.end());
  Texts listedWavs = test::Inside(tree).List1.Items(), listedMp3s = test::Inside(tree).List2.Items();
  std::sort(listedWavs.begin(), listedWavs.end());
  std::sort(listedMp3s.begin(), listedMp3s.end());
  EXPECT_EQ(listedWavs, wavs);
  EXPECT_EQ(listedMp3s, mp3s);
  EXPECT_EQ(Children(group::Mp3).size(), mp3s.size());
}

TEST_F(CollectionTest, AddedFileGoesToTheEndOfItsGroupAndTheFrontOfItsList) {
  const std::string a = Put("a.wav");
  tree.showfiles();
  const std::string song = Put("Music/Song.WAV");
  const int yieldsBefore = loop.Yields();
  const double before = loop.Elapsed();
  tree.Cmaddfile2(song);
  EXPECT_GE(loop.Elapsed() - before, 0.3);  // the pause kept events running
  EXPECT_GE(loop.Yields() - yieldsBefore, 300);
  EXPECT_EQ(Children(group::Wav), (Texts{a, song}));  // the path kept as it is
  EXPECT_EQ(Last(group::Wav).Key(), "p name" + song);
  EXPECT_EQ(test::Inside(tree).List1.Items(), (Texts{song, a}));

  tree.Cmaddfile2(song);  // a second time: nothing changes
  EXPECT_EQ(Children(group::Wav), (Texts{a, song}));
  EXPECT_EQ(test::Inside(tree).List1.Items(), (Texts{song, a}));

  const std::string mp3 = Put("x.mp3");
  settings.ShowFullPath = 0;
  tree.Cmaddfile2(mp3);
  EXPECT_EQ(Children(group::Mp3), Texts{"x.mp3"});
  EXPECT_EQ(Last(group::Mp3).Key(), "p namex.mp3");
  tree.Cmaddfile2(Put("elsewhere/x.mp3"));  // its name is a node's text already
  EXPECT_EQ(test::Inside(tree).List2.Items(), Texts{mp3});
}

TEST_F(CollectionTest, SmallMissingAndForeignFilesAreNotAdded) {
  tree.showfiles();
  const std::size_t nodes = test::Inside(tree).TreeView1.Count();
  tree.Cmaddfile2(Put("small.wav", 99));
  tree.Cmaddfile2(dest / "missing.wav");
  tree.Cmaddfile2(Put("song.ogg"));
  Put("folder.wav/inside.txt");
  tree.Cmaddfile2(dest / "folder.wav");
  EXPECT_EQ(static_cast<std::size_t>(test::Inside(tree).TreeView1.Count()), nodes);
  EXPECT_EQ(test::Inside(tree).List1.ListCount(), 0);
  EXPECT_EQ(test::Inside(tree).List2.ListCount(), 0);

  const std::string enough = Put("enough.wav", 100);
  tree.Cmaddfile2(enough);
  EXPECT_EQ(Children(group::Wav), Texts{enough});
}

TEST_F(CollectionTest, WithDeleteWavOnANewWavIsListedAllTheSame) {
  settings.DeleteWAV = 1;
  const std::string old = Put("old.wav");
  tree.showfiles();
  EXPECT_EQ(Children(group::Wav), Texts{old});
  const std::string wav = Put("new.wav"), mp3 = Put("new.mp3");
  tree.Cmaddfile2(wav);
  tree.Cmaddfile2(mp3);
  EXPECT_EQ(Children(group::Wav), (Texts{old, wav}));
  EXPECT_EQ(test::Inside(tree).List1.Items(), (Texts{wav, old}));
  EXPECT_EQ(Children(group::Mp3), Texts{mp3});
}

TEST_F(CollectionTest, ARebuildOrASecondAddDuringTheAddLeavesOneNode) {
  // Quarter-second yields from midnight: the pause takes two, the yield after the group is
  // found is the third.
  test::ScriptedEventLoop quarters(0, 0.25);
  CollectionTree t{settings, quarters, host};
  t.showfiles();
  const std::string inside = Put("song.mp3");
  quarters.AtYield(3, [&] { t.showfiles(); });  // finds the new file itself
  t.Cmaddfile2(inside);
  EXPECT_EQ(t.FindText(group::Mp3)->Children().size(), 1u);
  EXPECT_EQ(test::Inside(t).List2.Items(), Texts{inside});

  TempDir elsewhere;
  const std::string outside = elsewhere / "far.mp3";
  MakeFile(outside, 500);
  quarters.AtYield(3, [&] { t.showfiles(); });  // does not know the file: it goes under the new group
  t.Cmaddfile2(outside);
  EXPECT_EQ(t.FindText(group::Mp3)->Children().back()->Text(), outside);
  EXPECT_EQ(test::Inside(t).List2.Items(), (Texts{outside, inside}));

  const std::string twice = Put("twice.wav");
  quarters.AtYield(3, [&] { t.Cmaddfile2(twice); });  // the same file handed over again meanwhile
  t.Cmaddfile2(twice);
  EXPECT_EQ(t.FindText(group::Wav)->Children().size(), 1u);
  EXPECT_EQ(test::Inside(t).List1.Items(), Texts{twice});
}

TEST_F(CollectionTest, FinderFilesTurnedAwayStillEnterTheEndOfTheirList) {
  const std::string listed = Put("listed.mp3");
  tree.showfiles();
  const std::string small = Put("small.wav", 10), other = Put("other.wav");
  test::Inside(tree).List1.AddItem(other);
  for (const std::string& selection : {small, small, listed, dest / "x.ogg", std::string()}) {
    tree.showfiles3(selection);
  }
  EXPECT_EQ(test::Inside(tree).List1.Items(), (Texts{other, small}));
  EXPECT_EQ(test::Inside(tree).List2.Items(), Texts{listed});
}

TEST_F(CollectionTest, DeleteAndUnlistRemovesTheFileItsEntryAndItsNodeOrRaisesAndKeepsThem) {
  const std::string a = Put("a.mp3"), ro = Put("ro.mp3");
  tree.showfiles();
  test::Inside(tree).List4.AddItem(a);
  tree.DeleteAndUnlist(a);
  EXPECT_FALSE(test::Exists(a));
  EXPECT_EQ(Children(group::Mp3), Texts{ro});
  EXPECT_EQ(test::Inside(tree).List2.Items(), Texts{ro});
  EXPECT_TRUE(test::Inside(tree).List4.Items().empty());

  ::chmod(ro.c_str(), 0444);
  try {
    tree.DeleteAndUnlist(ro);
    FAIL() << "no error raised";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Source(), "p_DestroyFile");
  }
  EXPECT_TRUE(test::Exists(ro));
  EXPECT_EQ(Children(group::Mp3), Texts{ro});
  EXPECT_EQ(test::Inside(tree).List2.Items(), Texts{ro});

  // Shown by name, the node goes with the file, unless it may stand for another file of that name.
  ::chmod(ro.c_str(), 0644);
  settings.ShowFullPath = 0;
  const std::string twin = Put("sub/ro.mp3");
  tree.showfiles();
  ASSERT_EQ(Children(group::Mp3), Texts{"ro.mp3"});
  tree.DeleteAndUnlist(twin);
  EXPECT_EQ(Children(group::Mp3), Texts{"ro.mp3"});
  tree.DeleteAndUnlist(ro);
  EXPECT_FALSE(test::Exists(ro));
  EXPECT_TRUE(Children(group::Mp3).empty());
  EXPECT_TRUE(test::Inside(tree).List2.Items().empty());
}

}  // namespace
}  // namespace korvalin
