// The collection's operations: what the selected node stands for, taking every available track,
// finding a file by its item's name, listing a file without an item, the disc's tracks, and which
// WAV "Delete WAV" may delete.

#include <gtest/gtest.h>

#include <optional>

#include "collection/CollectionTree.h"
#include "collection/DeleteWavRule.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FileTree.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using Scope = CollectionSelection::Scope;
using Texts = std::vector<std::string>;

struct Host : CollectionHost {
  void ShowMainWindow() override {}
};

class CollectionOperationsTest : public ::testing::Test {
 protected:
  test::TempDir dest;
  Settings settings;
  test::ScriptedEventLoop loop;
  Host host;
  CollectionTree tree{settings, loop, host};

  // A tree showing tracks 1-3 and no files; then the lists as a session left them.
  void SetUp() override {
    settings.DecodePath = dest.Path();
    settings.ShowFullPath = 0;
    for (const char* line : {"Track  1 - 01:00", "Track  2 - 02:00", "Track  3 - 03:00"}) tree.AddAvailableTrack(line);
    tree.showfiles();
    test::Inside(tree).lstTracks.RemoveItem(0);  // the group shows what the list no longer holds
    test::Inside(tree).lstRecord.AddItem("Track  3 - 03:00");
    SetUpLists();
  }
  void SetUpLists() {
    const auto in = test::Inside(tree);
    for (auto* list : {&in.List1, &in.List5, &in.List2, &in.List4}) list->Clear();
    for (const char* p : {"/a/x.wav", "/b/y.wav"}) in.List1.AddItem(p);
    for (const char* p : {"/c/z.wav", "/d/x.wav", "/d/Song.WAV"}) in.List5.AddItem(p);
    in.List2.AddItem("/e/m.mp3");
    in.List4.AddItem("/f/n.MP3");
  }
  void Select(const std::string& text) {
    controls::TreeNode* node = text.empty() ? nullptr : tree.FindText(text);
    controls::TreeView& view = test::Inside(tree).TreeView1;
    if (node == nullptr && !text.empty()) node = &view.Add(tree.FindText(group::Wav), "p " + text, text);
    view.SetSelectedItem(node);
  }
};

TEST_F(CollectionOperationsTest, TheSelectedNodeStandsForItsGroupsListOrItsOneFile) {
  struct Case {
    std::string node;
    EntryKind kind;
    Scope scope;
    Texts entries;
  };
  const Case cases[] = {
      {"", EntryKind::None, Scope::None, {}},
      {kRootText, EntryKind::None, Scope::None, {}},
      // Tracks: "Available Tracks" as shown; otherwise the tracks chosen for extraction.
      {group::AvailableTracks, EntryKind::Track, Scope::Available, {"Track  1 - 01:00", "Track  2 - 02:00", "Track  3 - 03:00"}},
      {group::SelectedTracks, EntryKind::Track, Scope::Selected, {"Track  3 - 03:00"}},
      {"Track  2 - 02:00", EntryKind::Track, Scope::Item, {"Track  3 - 03:00"}},
      {group::Wav, EntryKind::Wav, Scope::Available, {"/a/x.wav", "/b/y.wav"}},
      {group::SelectedWav, EntryKind::Wav, Scope::Selected, {"/c/z.wav", "/d/x.wav", "/d/Song.WAV"}},
      {group::Mp3, EntryKind::Mp3, Scope::Available, {"/e/m.mp3"}},
      {group::SelectedMp3, EntryKind::Mp3, Scope::Selected, {"/f/n.MP3"}},
      // Items: the available list first, then the selected one, by file name.
      {"x.wav", EntryKind::Wav, Scope::Item, {"/a/x.wav"}},
      {"Song.WAV", EntryKind::Wav, Scope::Item, {"/d/Song.WAV"}},
      {"gone.mp3", EntryKind::Mp3, Scope::Item, {}},
  };
  for (const Case& c : cases) {
    Select(c.node);
    const CollectionSelection s = tree.Selected();
    EXPECT_EQ(s.node, c.node);
    EXPECT_EQ(s.kind, c.kind) << c.node;
    EXPECT_EQ(s.scope, c.scope) << c.node;
    EXPECT_EQ(s.entries, c.entries) << c.node;
  }
}

TEST_F(CollectionOperationsTest, FindByNameLooksInTheKindsAvailableListThenItsSelectedOne) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"x.wav", "/a/x.wav"},         // available before selected
      {"/elsewhere/x.wav", "/a/x.wav"},  // the item's own folder does not count
      {"z.wav", "/c/z.wav"},
      {"Z.wav", std::nullopt},       // names are compared exactly
      {"n.MP3", "/f/n.MP3"},
      {"m.wav", std::nullopt},       // a WAV name is looked for among WAV files only
      {"x.mp3", std::nullopt},
      {"Track  1 - 01:00", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [item, path] : cases) EXPECT_EQ(tree.FindByName(item), path) << item;
}

TEST_F(CollectionOperationsTest, TakingEveryAvailableTrackCopiesTheShownOnesOrMovesTheListedOnes) {
  struct Case {
    TakeTracks how;
    Texts chosen;
    int32_t leftAvailable;
  };
  const Case cases[] = {
      {TakeTracks::AsShown, {"Track  1 - 01:00", "Track  2 - 02:00", "Track  3 - 03:00"}, 2},
      {TakeTracks::FromAvailableList, {"Track  2 - 02:00", "Track  3 - 03:00"}, 0},
  };
  for (const Case& c : cases) {
    test::Inside(tree).lstTracks.Clear();
    for (const char* line : {"Track  2 - 02:00", "Track  3 - 03:00"}) tree.AddAvailableTrack(line);
    EXPECT_EQ(tree.TakeEveryAvailableTrack(c.how), static_cast<int32_t>(c.chosen.size()));
    EXPECT_EQ(tree.ChosenTracks(), c.chosen);
    EXPECT_EQ(tree.CurrentChosenTrack(), 0);
    EXPECT_EQ(test::Inside(tree).lstTracks.ListCount(), c.leftAvailable);
    EXPECT_EQ(tree.FindText(group::AvailableTracks)->Children().size(), 3u);  // the tree is not changed
  }
  // Nothing to take: nothing chosen, and no error.
  test::Inside(tree).lstTracks.Clear();
  test::Inside(tree).lstRecord.AddItem("Track  9 - 09:00");
  EXPECT_EQ(tree.TakeEveryAvailableTrack(TakeTracks::FromAvailableList), 0);
  EXPECT_TRUE(tree.ChosenTracks().empty());
}

TEST_F(CollectionOperationsTest, AFileListedWithoutAnItemJoinsTheEndOfItsKindsAvailableListOnce) {
  struct Case {
    std::string path;
    Texts wavs;  // the available lists afterwards
    Texts mp3s;
  };
  const Case cases[] = {
      {"/g/new.wav", {"/a/x.wav", "/b/y.wav", "/g/new.wav"}, {"/e/m.mp3"}},
      {"/g/New.MP3", {"/a/x.wav", "/b/y.wav"}, {"/e/m.mp3", "/g/New.MP3"}},
      {"/b/y.wav", {"/a/x.wav", "/b/y.wav"}, {"/e/m.mp3"}},             // held already
      {"/g/notes.txt", {"/a/x.wav", "/b/y.wav"}, {"/e/m.mp3"}},         // not a WAV or MP3 file
      {"", {"/a/x.wav", "/b/y.wav"}, {"/e/m.mp3"}},
  };
  const std::size_t nodes = static_cast<std::size_t>(test::Inside(tree).TreeView1.Count());
  for (const Case& c : cases) {
    SetUpLists();
    tree.ListWithoutItem(c.path);
    EXPECT_EQ(test::Inside(tree).List1.Items(), c.wavs) << c.path;
    EXPECT_EQ(test::Inside(tree).List2.Items(), c.mp3s) << c.path;
    EXPECT_EQ(static_cast<std::size_t>(test::Inside(tree).TreeView1.Count()), nodes) << c.path;
  }
}

TEST_F(CollectionOperationsTest, AFileIsAvailableOnlyInTheAvailableListOfItsKind) {
  const std::pair<std::string, bool> cases[] = {
      {"/a/x.wav", true},   {"/e/m.mp3", true},
      {"/c/z.wav", false},  // selected, not available
      {"/f/n.MP3", false},
      {"/a/x.mp3", false},  // same folder and name, other kind
      {"x.wav", false},     // a name is not a path
      {"/A/X.WAV", false},  // paths are compared exactly
      {"", false},
  };
  for (const auto& [path, available] : cases) EXPECT_EQ(tree.IsAvailable(path), available) << path;
}

TEST_F(CollectionOperationsTest, ReadingADiscAgainForgetsItsTracksAndTheTrackInHand) {
  tree.SetCurrentChosenTrack(0);
  EXPECT_EQ(tree.CurrentChosenTrack(), 0);
  tree.ForgetTracks();
  EXPECT_TRUE(tree.ChosenTracks().empty());
  EXPECT_EQ(tree.CurrentChosenTrack(), -1);
  EXPECT_EQ(tree.TakeEveryAvailableTrack(TakeTracks::FromAvailableList), 0);
  for (const char* line : {"Track  1 - 04:00", "Track  2 - 05:00"}) tree.AddAvailableTrack(line);
  EXPECT_EQ(tree.TakeEveryAvailableTrack(TakeTracks::FromAvailableList), 2);
  EXPECT_EQ(tree.ChosenTracks(), (Texts{"Track  1 - 04:00", "Track  2 - 05:00"}));
  tree.SetCurrentChosenTrack(1);
  EXPECT_EQ(tree.CurrentChosenTrack(), 1);
  // The tree shows the disc as it was last built; only a rebuild shows the new tracks.
  EXPECT_EQ(tree.FindText(group::AvailableTracks)->Children().size(), 3u);
}

TEST(DeleteWavRule, OnlyTheProgramsOwnEncodedWavInTheDestinationGoes) {
  test::TempDir dest, elsewhere;
  test::MakeTree(dest.Path(), {"a.wav", "A.WAV", "b.Wav", "sub/c.wav"});
  test::MakeFile(elsewhere / "d.wav");
  const std::string spelt = dest.Path() + "/sub/../a.wav";
  struct Case {
    std::string wav;
    int16_t option;
    std::string destination;
    bool encoded;
    bool deleted;
  };
  const Case cases[] = {
      {dest / "a.wav", 1, dest.Path(), true, true},
      {dest / "a.wav", 1, dest.Path() + "/", true, true},  // the folder however it is spelt
      {spelt, 1, dest.Path(), true, true},
      {dest / "a.wav", 0, dest.Path(), true, false},       // option off
      {dest / "a.wav", -1, dest.Path(), true, false},      // only 1 is on
      {dest / "a.wav", 1, dest.Path(), false, false},      // stopped or failed encoding
      {dest / "A.WAV", 1, dest.Path(), true, false},       // not the program's own name
      {dest / "b.Wav", 1, dest.Path(), true, false},
      {dest / "sub/c.wav", 1, dest.Path(), true, false},   // below the destination
      {elsewhere / "d.wav", 1, dest.Path(), true, false},  // brought from elsewhere
      {dest / "a.wav", 1, "", true, false},
      {dest / "a.wav", 1, dest / "missing", true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeleteWavApplies(c.wav, c.option, c.destination, c.encoded), c.deleted)
        << c.wav << " option " << c.option << " in " << c.destination << (c.encoded ? " encoded" : "");
  }
}

}  // namespace
}  // namespace korvalin
