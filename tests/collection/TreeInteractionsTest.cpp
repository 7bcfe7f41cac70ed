#include "collection/TreeInteractions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>

#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FileTree.h"
#include "controls/Label.h"
#include "controls/Window.h"

namespace korvalin {
namespace {

using controls::TreeNode;
using test::Exists;
using test::MakeFile;
using test::TempDir;
using Texts = std::vector<std::string>;

constexpr int16_t kLeft = 1, kRight = 2;

// The tree's host with the tree's pop-up menu, as the main window has them.
struct TreeHost : CollectionHost {
  explicit TreeHost(Services& services) : collection(settings, services.loop, *this) {}
  Settings settings;
  CollectionTree collection;
  controls::Window window{"Form1", "Korvalin V 2.1"};
  controls::Label Label3{"Label3", "Next Action: Make a selection"};
  int32_t CurrentTrack = 0;
  controls::MenuItem mnuStart2{"mnuStart2", "Start!"};
  controls::MenuItem mnuSpace5{"mnuSpace5", "-"};
  controls::MenuItem mnuFileRemove{"mnuFileRemove", "Remove from List"};
  controls::MenuItem mnuRemoveDelete{"mnuRemoveDelete", "Remove and Delete File"};
  controls::MenuItem mnupopup{"mnupopup", "popup", {&mnuStart2, &mnuSpace5, &mnuFileRemove, &mnuRemoveDelete}};
  // A running job locks the pop-up with the other commands.
  void Disablem() { mnupopup.SetEnabled(false); }
  // CollectionHost
  void ShowMainWindow() override { window.SetVisible(true); }
  void ShowNextAction(const std::string& line) override { Label3.SetCaption(line); }
  void SetCurrentTrack(int32_t track) override { CurrentTrack = track; }
  void ShowPopupMenu(controls::MenuItem& menu) override { window.PopupMenu(menu); }
};

class TreeInteractionsTest : public ::testing::Test {
 protected:
  test::FakeServices fake;
  TreeHost form{fake.services};
  TreeInteractions tree{form.collection, fake.loop, form, form.mnupopup, form.mnuStart2, form.mnuFileRemove,
                        form.mnuRemoveDelete};
  TempDir dest;
  CollectionTree& c = form.collection;
  controls::TreeView& view = test::Inside(form.collection).TreeView1;
  int editsAsked = 0;
  int dragsBegun = 0;
  controls::Connection edits = view.LabelEditRequested.Connect([this](TreeNode*) { ++editsAsked; });
  controls::Connection drags = view.DragRequested.Connect([this] { ++dragsBegun; });

  // A collection of three tracks and the files under the destination folder.
  void Build(int16_t fullPath, std::initializer_list<const char*> files = {}) {
    form.settings.DecodePath = dest.Path();
    form.settings.ShowFullPath = fullPath;
    for (const char* f : files) MakeFile(dest / f, 1000);
    for (const char* t : {"Track  1 - 01:05", "Track  2 - 02:00", "Track  3 - 00:03"}) c.AddAvailableTrack(t);
    c.showfiles();
  }

  TreeNode* Node(const std::string& text) { return c.FindText(text); }
  Texts Children(const std::string& group) {
    Texts texts;
    for (const TreeNode* n : Node(group)->Children()) texts.push_back(n->Text());
    return texts;
  }
  std::string ParentOf(const std::string& text) { return Node(text)->Parent()->Text(); }

  void Press(TreeNode* node, int16_t button = kLeft) { tree.TreeView1_MouseDown(button, 0, node); }
  void Press(const std::string& text) { Press(Node(text)); }
  void Release() { tree.TreeView1_MouseUp(kLeft, 0, nullptr); }
  void DoubleClick(const std::string& text) {
    Press(text);
    Release();
    tree.TreeView1_DblClick();
  }
  // Press on an item, move with the left button, pass over `over` and drop.
  void Drag(const std::string& text, std::initializer_list<const char*> over) {
    Press(text);
    tree.TreeView1_MouseMove(kLeft, 0, Node(text));
    tree.TreeView1_DragOver(Node(text));
    for (const char* target : over) tree.TreeView1_DragOver(Node(target));
    tree.TreeView1_DragDrop(nullptr);
  }
  // The whole collection as text: every node with its parent, and every list.
  std::string Snapshot() {
    std::string s;
    for (const TreeNode* n : view.All()) s += n->Text() + "<" + (n->Parent() ? n->Parent()->Text() : "") + "\n";
    const auto in = test::Inside(c);
    for (const controls::ListBox* l : {&in.lstTracks, &in.lstRecord, &in.List1, &in.List5, &in.List2, &in.List4}) {
      s += l->Name() + ":";
      for (const auto& e : l->Items()) s += e + "|";
      s += "\n";
    }
    return s;
  }
};

// --- double-click moves ------------------------------------------------------------------------

TEST_F(TreeInteractionsTest, ATrackMovesToSelectedTracksAndBackOnce) {
  Build(1);
  DoubleClick("Track  3 - 00:03");
  Press("Track  1 - 01:05");  // the double-click's own press makes lstRecord this one track
  test::Inside(c).lstRecord.AddItem("Track  3 - 00:03");
  tree.TreeView1_DblClick();
  EXPECT_EQ(Children(group::SelectedTracks), (Texts{"Track  3 - 00:03", "Track  1 - 01:05"}));
  EXPECT_EQ(Children(group::AvailableTracks), Texts{"Track  2 - 02:00"});
  EXPECT_EQ(test::Inside(c).lstTracks.Items(), Texts{"Track  2 - 02:00"});
  // In front, and once: a track listed twice would be extracted twice.
  EXPECT_EQ(c.ChosenTracks(), (Texts{"Track  1 - 01:05", "Track  3 - 00:03"}));
  EXPECT_EQ(view.DropHighlight(), nullptr);

  DoubleClick("Track  1 - 01:05");
  // "Available Tracks" is rebuilt from lstTracks: the track that came back is last.
  EXPECT_EQ(Children(group::AvailableTracks), (Texts{"Track  2 - 02:00", "Track  1 - 01:05"}));
  EXPECT_EQ(Node("Track  1 - 01:05")->Key(), "p nameTrack  1 - 01:05");
  EXPECT_EQ(Node("Track  1 - 01:05")->Image(), 3);
  EXPECT_EQ(Node("Track  1 - 01:05")->SelectedImage(), 6);
  EXPECT_EQ(test::Inside(c).lstTracks.Items(), (Texts{"Track  2 - 02:00", "Track  1 - 01:05"}));
  EXPECT_EQ(Children(group::SelectedTracks), Texts{"Track  3 - 00:03"});
  EXPECT_EQ(test::Inside(c).lstRecord.ListCount(), 0);
  // The pressed node went with the rebuild: nothing dangles.
  EXPECT_EQ(tree.PressedNode, nullptr);
  tree.mnupopup_Click();
  EXPECT_FALSE(form.mnuStart2.Enabled());

  // Back again while lstRecord had lost it: lstTracks still gets it, once.
  DoubleClick("Track  1 - 01:05");
  test::Inside(c).lstRecord.Clear();
  c.AddAvailableTrack("Track  1 - 01:05");
  DoubleClick("Track  1 - 01:05");
  EXPECT_EQ(test::Inside(c).lstTracks.Items(), (Texts{"Track  2 - 02:00", "Track  1 - 01:05"}));
  EXPECT_EQ(Children(group::AvailableTracks), (Texts{"Track  2 - 02:00", "Track  1 - 01:05"}));
}

TEST_F(TreeInteractionsTest, AWavFileMovesWithItsFullPathBetweenList1AndList5) {
  Build(1, {"a.wav", "song.wav", "z.wav"});
  const std::string song = dest / "song.wav";
  const Texts others{dest / "z.wav", dest / "a.wav"};  // the rebuild lists them last found first
  ASSERT_EQ(test::Inside(c).List1.ListCount(), 3);
  test::Inside(c).List5.AddItem(song);  // a stale entry goes too: the path is listed once
  DoubleClick(song);
  EXPECT_EQ(ParentOf(song), group::SelectedWav);
  EXPECT_EQ(Node(group::SelectedWav)->Children().back(), Node(song));
  EXPECT_EQ(test::Inside(c).List1.Items(), others);
  EXPECT_EQ(test::Inside(c).List5.Items(), Texts{song});
  EXPECT_TRUE(Node(group::SelectedWav)->Expanded());  // the user sees where it went

  DoubleClick(song);
  EXPECT_EQ(ParentOf(song), group::Wav);
  EXPECT_EQ(Node(group::Wav)->Children().back(), Node(song));
  EXPECT_EQ(test::Inside(c).List5.ListCount(), 0);
  EXPECT_EQ(test::Inside(c).List1.Items(), (Texts{song, dest / "z.wav", dest / "a.wav"}));
}

TEST_F(TreeInteractionsTest, AnMp3MoveLeavesTheRestOfList2InPlace) {
  Build(1, {"a.mp3", "b.mp3", "c.mp3"});
  const Texts before = test::Inside(c).List2.Items();
  test::Inside(c).List4.AddItem("x.mp3");
  DoubleClick(dest / "b.mp3");
  Texts rest = before;
  rest.erase(std::find(rest.begin(), rest.end(), dest / "b.mp3"));
  EXPECT_EQ(test::Inside(c).List2.Items(), rest);
  EXPECT_EQ(test::Inside(c).List4.Items(), (Texts{dest / "b.mp3", "x.mp3"}));
  EXPECT_EQ(ParentOf(dest / "b.mp3"), group::SelectedMp3);
}

TEST_F(TreeInteractionsTest, WithNamesShownTheSelectedListHoldsTheNameAndTheAvailableListKeepsThePath) {
  Build(0, {"Song.MP3"});
  DoubleClick("Song.MP3");
  EXPECT_EQ(ParentOf("Song.MP3"), group::SelectedMp3);  // the extension's case does not matter
  EXPECT_EQ(test::Inside(c).List2.Items(), Texts{dest / "Song.MP3"});
  EXPECT_EQ(test::Inside(c).List4.Items(), Texts{"Song.MP3"});
  DoubleClick("Song.MP3");
  EXPECT_EQ(test::Inside(c).List2.Items(), (Texts{"Song.MP3", dest / "Song.MP3"}));
  EXPECT_EQ(test::Inside(c).List4.ListCount(), 0);
}

TEST_F(TreeInteractionsTest, ADoubleClickOnAGroupOrTheRootChangesNothing) {
  Build(1, {"a.wav", "b.mp3"});
  DoubleClick("Track  2 - 02:00");
  const std::string before = Snapshot();
  for (const char* g : {group::SelectedTracks, group::AvailableTracks, group::SelectedWav, group::Wav,
                        group::SelectedMp3, group::Mp3, kRootText}) {
    Press(g);
    test::Inside(c).lstRecord.Clear();  // the press itself may choose the tracks; only the move is looked at
    test::Inside(c).lstRecord.AddItem("Track  2 - 02:00");
    tree.TreeView1_DblClick();
    EXPECT_EQ(Snapshot(), before) << g;
  }
}

// --- press and release -------------------------------------------------------------------------

TEST_F(TreeInteractionsTest, APressChoosesTheNextActionAndTheTracksOfTheNextExtraction) {
  Build(1, {"a.wav"});
  Press(group::AvailableTracks);
  EXPECT_EQ(c.ChosenTracks(), (Texts{"Track  1 - 01:05", "Track  2 - 02:00", "Track  3 - 00:03"}));
  EXPECT_EQ(form.Label3.Caption(), "Next Action:  Process  Available Tracks");
  EXPECT_EQ(view.SelectedItem(), Node(group::AvailableTracks));
  EXPECT_EQ(view.DropHighlight(), Node(group::AvailableTracks));
  EXPECT_EQ(tree.PressedNode, Node(group::AvailableTracks));

  Press("Track  2 - 02:00");
  EXPECT_EQ(c.ChosenTracks(), Texts{"Track  2 - 02:00"});
  Press(group::SelectedTracks);  // empty
  EXPECT_EQ(test::Inside(c).lstRecord.ListCount(), 0);
  test::Inside(c).lstRecord.AddItem("Track  3 - 00:03");
  Press(dest / "a.wav");
  Press(group::Wav);
  EXPECT_EQ(c.ChosenTracks(), Texts{"Track  3 - 00:03"});
  EXPECT_EQ(form.Label3.Caption(), "Next Action:  Process  WAV Files");

  // Only a file item's label opens for editing.
  EXPECT_EQ(editsAsked, 1);

  // Empty space: nothing pressed, nothing selected, the next action stays.
  Press(nullptr);
  EXPECT_EQ(tree.PressedNode, nullptr);
  EXPECT_EQ(view.SelectedItem(), nullptr);
  EXPECT_EQ(view.DropHighlight(), nullptr);
  EXPECT_EQ(form.Label3.Caption(), "Next Action:  Process  WAV Files");
}

TEST_F(TreeInteractionsTest, AReleaseOnATrackLineSetsTheCurrentTrack) {
  Build(1);
  c.AddAvailableTrack("Track 12 - 00:40");
  c.AddAvailableTrack("Track ab - 00:40");
  c.showfiles();
  form.CurrentTrack = 5;
  Press("Track 12 - 00:40");
  Release();
  EXPECT_EQ(form.CurrentTrack, 12);
  Press("Track  3 - 00:03");  // a leading blank
  Release();
  EXPECT_EQ(form.CurrentTrack, 3);
  Press(group::AvailableTracks);
  Release();
  EXPECT_EQ(form.CurrentTrack, 3);
  Press("Track ab - 00:40");
  Release();
  EXPECT_EQ(form.CurrentTrack, 0);
  EXPECT_EQ(form.Label3.Caption(), "Next Action:  Process  Track ab - 00:40");

  // The release selects the highlighted node, whatever the selection became meanwhile.
  Press("Track 12 - 00:40");
  view.SetSelectedItem(Node(group::Wav));
  Release();
  EXPECT_EQ(view.SelectedItem(), Node("Track 12 - 00:40"));
  EXPECT_EQ(form.Label3.Caption(), "Next Action:  Process  WAV Files");
}

// --- dragging ----------------------------------------------------------------------------------

TEST_F(TreeInteractionsTest, OnlyItemsAreDraggedAndOnlyTheLeftButtonDragsThem) {
  Build(1, {"a.wav"});
  for (const char* g : {group::Wav, kRootText}) {
    Press(g);
    tree.TreeView1_MouseMove(kLeft, 0, Node(g));
  }
  EXPECT_EQ(dragsBegun, 0);
  EXPECT_EQ(tree.PressedNodeKind, 1);
  Press(dest / "a.wav");
  tree.TreeView1_MouseMove(kLeft | kRight, 0, nullptr);
  tree.TreeView1_MouseMove(0, 0, nullptr);
  EXPECT_EQ(dragsBegun, 0);
  view.SetSelectedItem(Node(group::Wav));
  tree.TreeView1_MouseMove(kLeft, 0, nullptr);
  EXPECT_EQ(dragsBegun, 1);
  EXPECT_EQ(tree.PressedNodeKind, 3);
  EXPECT_EQ(view.SelectedItem(), Node(dest / "a.wav"));
  EXPECT_EQ(view.DragIcon(), "tree-drag.svg");
}

TEST_F(TreeInteractionsTest, PassingOverGroupsOnlyHighlightsAndTheDropMovesOnce) {
  Build(1, {"a.wav", "b.mp3"});
  const std::string wav = dest / "a.wav";
  const std::string before = Snapshot();

  // Over an MP3 group a WAV item finds no target: the highlight stays, nothing moves.
  Press(wav);
  tree.TreeView1_MouseMove(kLeft, 0, Node(wav));
  tree.TreeView1_DragOver(Node(group::SelectedMp3));
  EXPECT_EQ(view.DropHighlight(), Node(wav));
  tree.TreeView1_DragOver(Node(group::SelectedWav));
  EXPECT_EQ(view.DropHighlight(), Node(group::SelectedWav));
  EXPECT_EQ(Snapshot(), before);  // not yet
  tree.TreeView1_DragOver(Node(dest / "b.mp3"));  // an item fits, but is no group of WAV files
  EXPECT_EQ(view.DropHighlight(), Node(group::SelectedWav));
  tree.TreeView1_DragOver(nullptr);  // left the tree
  EXPECT_EQ(view.DropHighlight(), nullptr);
  tree.TreeView1_DragOver(Node(group::SelectedWav));
  tree.TreeView1_DragDrop(nullptr);
  EXPECT_EQ(ParentOf(wav), group::SelectedWav);
  EXPECT_EQ(test::Inside(c).List5.Items(), Texts{wav});
  EXPECT_EQ(test::Inside(c).List1.ListCount(), 0);
  EXPECT_EQ(view.DropHighlight(), nullptr);
  EXPECT_EQ(tree.PressedNode, nullptr);
  EXPECT_EQ(tree.PressedNodeKind, 0);

  // Over both groups and dropped on its own: it stays, and so do the lists.
  const std::string moved = Snapshot();
  Drag(wav, {group::Wav, group::SelectedWav});
  EXPECT_EQ(Snapshot(), moved);
  Drag(wav, {group::SelectedMp3, group::Mp3});
  EXPECT_EQ(Snapshot(), moved);
  Drag(wav, {group::SelectedWav, group::Wav});
  EXPECT_EQ(ParentOf(wav), group::Wav);
  EXPECT_EQ(test::Inside(c).List1.Items(), Texts{wav});
  EXPECT_EQ(test::Inside(c).List5.ListCount(), 0);
}

TEST_F(TreeInteractionsTest, ATrackDroppedOnATrackItemJoinsThatItemsGroup) {
  Build(1);
  DoubleClick("Track  3 - 00:03");
  // Dropped on the other track of its own group: nothing moves.
  Drag("Track  1 - 01:05", {"Track  2 - 02:00"});
  EXPECT_EQ(ParentOf("Track  1 - 01:05"), group::AvailableTracks);
  // On a track of "Selected Tracks": it goes into that group, not under the item.
  Drag("Track  1 - 01:05", {"Track  3 - 00:03"});
  EXPECT_EQ(Children(group::SelectedTracks), (Texts{"Track  3 - 00:03", "Track  1 - 01:05"}));
  EXPECT_EQ(c.ChosenTracks(), Texts{"Track  1 - 01:05"});  // the press chose it alone
  EXPECT_EQ(test::Inside(c).lstTracks.Items(), Texts{"Track  2 - 02:00"});
  // "Available Tracks" itself is no target for a track; one of its tracks is.
  Drag("Track  3 - 00:03", {group::AvailableTracks});
  EXPECT_EQ(ParentOf("Track  3 - 00:03"), group::SelectedTracks);
  Drag("Track  3 - 00:03", {"Track  2 - 02:00"});
  EXPECT_EQ(Children(group::AvailableTracks), (Texts{"Track  2 - 02:00", "Track  3 - 00:03"}));
  EXPECT_EQ(test::Inside(c).lstTracks.Items(), (Texts{"Track  2 - 02:00", "Track  3 - 00:03"}));
}

// --- renaming ----------------------------------------------------------------------------------

class RenameTest : public TreeInteractionsTest {
 protected:
  // The user edits the selected node's label to `text`; true when the edit was taken.
  bool Edit(const std::string& node, const std::string& text) {
    Press(node);
    editsAsked = 0;
    const Texts before = view.SelectedItem() ? Texts{view.SelectedItem()->Text()} : Texts{};
    view.EndLabelEdit(*view.SelectedItem(), text);
    return view.SelectedItem()->Text() == text && before != Texts{text};
  }
};

TEST_F(RenameTest, ANewNameRenamesTheFileAndItsEntryInItsFolder) {
  Build(0, {"sub/a.wav", "x.mp3"});
  const std::string folder = dest / "sub";
  ASSERT_TRUE(Edit("a.wav", "b.wav"));
  EXPECT_FALSE(Exists(folder + "/a.wav"));
  EXPECT_TRUE(Exists(folder + "/b.wav"));
  EXPECT_EQ(test::Inside(c).List1.Items(), Texts{folder + "/b.wav"});
  EXPECT_EQ(view.DropHighlight(), Node("b.wav"));
  EXPECT_EQ(tree.PressedNode, Node("b.wav"));
  EXPECT_EQ(editsAsked, 0);

  // Selected files are found in the selected list.
  DoubleClick("x.mp3");
  test::Inside(c).List2.Clear();
  test::Inside(c).List4.Clear();
  test::Inside(c).List4.AddItem(dest / "x.mp3");
  ASSERT_TRUE(Edit("x.mp3", "Y.mp3"));
  EXPECT_TRUE(Exists(dest / "Y.mp3"));
  EXPECT_EQ(test::Inside(c).List4.Items(), Texts{dest / "Y.mp3"});
}

TEST_F(RenameTest, ARefusedNameReopensTheEditorAndChangesNothing) {
  Build(0, {"a.wav", "c.wav"});
  const std::string before = Snapshot();
  for (const char* refused : {"c.wav", "sub/b.wav", "/tmp/b.wav", "a.txt", "b.mp3"}) {
    EXPECT_FALSE(Edit("a.wav", refused)) << refused;
    EXPECT_EQ(editsAsked, 1) << refused;
    EXPECT_EQ(view.SelectedItem(), Node("a.wav"));
    EXPECT_EQ(view.DropHighlight(), Node("a.wav"));
    EXPECT_EQ(Snapshot(), before) << refused;
    EXPECT_EQ(test::ReadFile(dest / "c.wav").size(), 1000u);
    EXPECT_TRUE(Exists(dest / "a.wav"));
  }
  // A file no list names is not renamed, so the node keeps its name too.
  test::Inside(c).List1.Clear();
  EXPECT_FALSE(Edit("a.wav", "d.wav"));
  EXPECT_TRUE(Exists(dest / "a.wav"));
}

TEST_F(RenameTest, ALetterCaseChangeIsShownAndTheFileKeepsItsName) {
  Build(0, {"a.wav"});
  ASSERT_TRUE(Edit("a.wav", "A.WAV"));
  EXPECT_TRUE(Exists(dest / "a.wav"));
  EXPECT_FALSE(Exists(dest / "A.WAV"));
  EXPECT_EQ(test::Inside(c).List1.Items(), Texts{dest / "a.wav"});
}

TEST_F(RenameTest, WithFullPathsTheFileShownIsTheOneRenamed) {
  Build(1, {"a.wav", "sub/a.wav", "A.wav"});
  ASSERT_TRUE(Edit(dest / "sub/a.wav", "b.wav"));
  EXPECT_TRUE(Exists(dest / "sub/b.wav"));
  EXPECT_TRUE(Exists(dest / "a.wav"));
  EXPECT_TRUE(Exists(dest / "A.wav"));
  ASSERT_TRUE(Edit(dest / "A.wav", "c.wav"));
  EXPECT_TRUE(Exists(dest / "a.wav"));
  EXPECT_TRUE(Exists(dest / "c.wav"));
  // Editing the whole path names a folder: refused.
  EXPECT_FALSE(Edit(dest / "a.wav", dest / "d.wav"));
  EXPECT_TRUE(Exists(dest / "a.wav"));
}

// --- the pop-up menu ---------------------------------------------------------------------------

TEST_F(TreeInteractionsTest, ARightPressOpensThePopUpWhichOffersWhatFitsThePressedNode) {
  Build(1, {"a.WAV"});
  std::vector<controls::MenuItem*> shown;
  auto popups = form.window.PopupRequested.Connect([&](controls::MenuItem* m) { shown.push_back(m); });
  auto offered = [&] {
    return Texts{form.mnuStart2.Enabled() ? "Start!" : "", form.mnuFileRemove.Enabled() ? "Remove" : "",
                 form.mnuRemoveDelete.Enabled() ? "Delete" : ""};
  };
  Press(Node(dest / "a.WAV"), kRight);
  EXPECT_EQ(shown, std::vector<controls::MenuItem*>{&form.mnupopup});
  EXPECT_EQ(view.SelectedItem(), Node(dest / "a.WAV"));
  EXPECT_EQ(editsAsked, 0);
  form.mnupopup.Click();
  EXPECT_EQ(offered(), (Texts{"Start!", "Remove", "Delete"}));
  Press(Node("Track  1 - 01:05"), kRight);
  form.mnupopup.Click();
  EXPECT_EQ(offered(), (Texts{"Start!", "", ""}));
  EXPECT_EQ(tree.PressedNodeKind, 3);
  Press(nullptr, kRight);
  form.mnupopup.Click();
  EXPECT_EQ(offered(), (Texts{"", "", ""}));
  EXPECT_EQ(tree.PressedNodeKind, 0);

  // While a job runs the pop-up stays shut.
  form.Disablem();
  Press(Node(dest / "a.WAV"), kRight);
  EXPECT_EQ(shown.size(), 3u);
}

TEST_F(TreeInteractionsTest, RemoveFromListWithNamesShownTakesOutOnlyTheNode) {
  Build(0, {"song.mp3"});
  Press(Node("song.mp3"), kRight);
  form.mnuFileRemove.Click();
  EXPECT_EQ(Node("song.mp3"), nullptr);
  EXPECT_EQ(test::Inside(c).List2.Items(), Texts{dest / "song.mp3"});  // a bare name is no entry of List2
  EXPECT_TRUE(Exists(dest / "song.mp3"));
}

TEST_F(TreeInteractionsTest, RemoveFromListTakesOutTheEntryItNamesExactly) {
  Build(1, {"x[1].wav", "x1.wav"});
  ASSERT_EQ(test::Inside(c).List1.Items(), (Texts{dest / "x[1].wav", dest / "x1.wav"}));
  Press(Node(dest / "x1.wav"), kRight);
  form.mnuFileRemove.Click();
  EXPECT_EQ(Node(dest / "x1.wav"), nullptr);
  EXPECT_EQ(test::Inside(c).List1.Items(), Texts{dest / "x[1].wav"});
  EXPECT_TRUE(Exists(dest / "x1.wav"));
  // A group is no file.
  Press(Node(group::Wav), kRight);
  form.mnuFileRemove.Click();
  EXPECT_NE(Node(group::Wav), nullptr);
}

TEST_F(TreeInteractionsTest, RemoveAndDeleteFindsTheEntryByItsFileNameAndDeletesThatFileOnly) {
  Build(0, {"song.mp3", "other.mp3"});
  Press(Node("song.mp3"), kRight);
  form.mnuRemoveDelete.Click();
  EXPECT_EQ(Node("song.mp3"), nullptr);
  EXPECT_FALSE(Exists(dest / "song.mp3"));
  EXPECT_TRUE(Exists(dest / "other.mp3"));
  EXPECT_EQ(test::Inside(c).List2.Items(), Texts{dest / "other.mp3"});
}

TEST_F(TreeInteractionsTest, RemoveAndDeleteNeverTakesABracketedNameForAPattern) {
  Build(1, {"song[1].mp3", "song1.mp3", "a.mp3"});
  // "song[1].mp3" comes first: read as a pattern it would stand for "song1.mp3".
  ASSERT_EQ(test::Inside(c).List2.Items(), (Texts{dest / "song[1].mp3", dest / "song1.mp3", dest / "a.mp3"}));
  Press(Node(dest / "song1.mp3"), kRight);
  form.mnuRemoveDelete.Click();
  EXPECT_FALSE(Exists(dest / "song1.mp3"));
  EXPECT_TRUE(Exists(dest / "song[1].mp3"));
  EXPECT_EQ(test::Inside(c).List2.Items(), (Texts{dest / "song[1].mp3", dest / "a.mp3"}));

  Press(Node(dest / "song[1].mp3"), kRight);
  form.mnuRemoveDelete.Click();
  EXPECT_FALSE(Exists(dest / "song[1].mp3"));
  EXPECT_TRUE(Exists(dest / "a.mp3"));
  EXPECT_EQ(test::Inside(c).List2.Items(), Texts{dest / "a.mp3"});
}

TEST_F(TreeInteractionsTest, RemoveAndDeleteNeverDeletesAFileOfTheCurrentFolder) {
  Build(0, {"song.mp3"});
  DoubleClick("song.mp3");
  DoubleClick("song.mp3");  // List2 now starts with the bare name "song.mp3"
  ASSERT_EQ(test::Inside(c).List2.List(0), "song.mp3");
  TempDir elsewhere;
  MakeFile(elsewhere / "song.mp3", 500);
  char cwd[PATH_MAX];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(::chdir(elsewhere.Path().c_str()), 0);
  Press(Node("song.mp3"), kRight);
  form.mnuRemoveDelete.Click();
  ASSERT_EQ(::chdir(cwd), 0);
  EXPECT_TRUE(Exists(elsewhere / "song.mp3"));
  EXPECT_FALSE(Exists(dest / "song.mp3"));
  EXPECT_EQ(test::Inside(c).List2.Items(), Texts{"song.mp3"});
}

TEST_F(TreeInteractionsTest, AFailedDeletionStillUnlistsTheFile) {
  Build(1, {"ro/keep.wav"});
  const std::string path = dest / "ro/keep.wav";
  ::chmod(path.c_str(), 0444);  // write-protected: the deletion refuses it
  Press(Node(path), kRight);
  form.mnuRemoveDelete.Click();
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(test::Inside(c).List1.ListCount(), 0);
  EXPECT_EQ(Node(path), nullptr);
}

}  // namespace
}  // namespace korvalin
