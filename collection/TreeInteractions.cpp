#include "collection/TreeInteractions.h"

#include <algorithm>

#include "collection/BackingLists.h"
#include "collection/FileRename.h"
#include "common/FileKind.h"
#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "desktop/DestroyFile.h"
#include "settings/PathHelpers.h"

namespace korvalin {

using controls::ListBox;
using controls::TreeNode;

namespace {

constexpr int16_t kLeftButton = 1;
constexpr int16_t kRightButton = 2;
constexpr int16_t kGroup = 2;
constexpr int16_t kItem = 3;

std::string NextActionLine(const std::string& text) { return "Next Action:  Process  " + text; }

// A WAV or MP3 file's name (the collection keeps each file's case).
bool IsAudioFileName(const std::string& text) { return AudioFileKindOf(text) != AudioFileKind::None; }

// A list entry that names a file with its folder. An entry without one (a bare name, as the
// selected lists hold when names are shown) would name a file in whatever the current folder is.
bool HasFolder(const std::string& entry) { return !entry.empty() && entry[0] == '/'; }

TreeNode& Need(TreeNode* node) {
  if (node == nullptr) throw RaisedError::Of(errnum::InvalidArgument);
  return *node;
}

}  // namespace

// An item kind with its two groups and their backing lists.
struct TreeInteractions::ItemKind {
  const char* available;
  const char* selected;
  ListBox CollectionTree::*availableList;
  ListBox CollectionTree::*selectedList;
  bool track;
};

const TreeInteractions::ItemKind* TreeInteractions::KindOf(const std::string& text) {
  static const ItemKind tracks{group::AvailableTracks, group::SelectedTracks, &CollectionTree::lstTracks,
                               &CollectionTree::lstRecord, true};
  static const ItemKind wav{group::Wav, group::SelectedWav, &CollectionTree::List1, &CollectionTree::List5, false};
  static const ItemKind mp3{group::Mp3, group::SelectedMp3, &CollectionTree::List2, &CollectionTree::List4, false};
  switch (KindOfItem(text)) {
    case EntryKind::Track: return &tracks;
    case EntryKind::Wav: return &wav;
    case EntryKind::Mp3: return &mp3;
    case EntryKind::None: break;
  }
  return nullptr;
}

TreeInteractions::TreeInteractions(CollectionTree& collection, EventLoop& loop, CollectionHost& host,
                                   controls::MenuItem& mnupopup, controls::MenuItem& mnuStart2,
                                   controls::MenuItem& mnuFileRemove, controls::MenuItem& mnuRemoveDelete)
    : host_(host),
      loop_(loop),
      collection_(collection),
      tree_(collection.TreeView1),
      mnupopup_(mnupopup),
      mnuStart2_(mnuStart2),
      mnuFileRemove_(mnuFileRemove),
      mnuRemoveDelete_(mnuRemoveDelete) {
  tree_.OnMouseDown = [this](int16_t b, int16_t s, TreeNode* n) { TreeView1_MouseDown(b, s, n); };
  tree_.OnMouseMove = [this](int16_t b, int16_t s, TreeNode* n) { TreeView1_MouseMove(b, s, n); };
  tree_.OnMouseUp = [this](int16_t b, int16_t s, TreeNode* n) { TreeView1_MouseUp(b, s, n); };
  tree_.OnDblClick = [this] { TreeView1_DblClick(); };
  tree_.OnDragOver = [this](TreeNode* n) { TreeView1_DragOver(n); };
  tree_.OnDragDrop = [this](TreeNode* n) { TreeView1_DragDrop(n); };
  tree_.OnBeforeLabelEdit = [this](bool& cancel) { TreeView1_BeforeLabelEdit(cancel); };
  tree_.OnAfterLabelEdit = [this](bool& cancel, std::string& s) { TreeView1_AfterLabelEdit(cancel, s); };
  mnupopup_.OnClick = [this] { mnupopup_Click(); };
  mnuFileRemove_.OnClick = [this] { mnuFileRemove_Click(); };
  mnuRemoveDelete_.OnClick = [this] { mnuRemoveDelete_Click(); };
  // The handlers yield, and rebuilds and removals run meanwhile: never keep a removed node.
  treeChanges_ = tree_.Changed.Connect([this](controls::Change c) {
    if (c.what == controls::Property::ItemRemoved || c.what == controls::Property::Items) ForgetRemovedNodes();
  });
}

TreeInteractions::~TreeInteractions() {
  tree_.OnMouseDown = nullptr;
  tree_.OnMouseMove = nullptr;
  tree_.OnMouseUp = nullptr;
  tree_.OnDblClick = nullptr;
  tree_.OnDragOver = nullptr;
  tree_.OnDragDrop = nullptr;
  tree_.OnBeforeLabelEdit = nullptr;
  tree_.OnAfterLabelEdit = nullptr;
  mnupopup_.OnClick = nullptr;
  mnuFileRemove_.OnClick = nullptr;
  mnuRemoveDelete_.OnClick = nullptr;
}

void TreeInteractions::ForgetRemovedNodes() {
  if (PressedNode != nullptr && !tree_.Contains(PressedNode)) PressedNode = nullptr;
  if (LastDropTarget != nullptr && !tree_.Contains(LastDropTarget)) LastDropTarget = nullptr;
}

// --- press, move, release ----------------------------------------------------------------------

void TreeInteractions::TreeView1_MouseDown(int16_t button, int16_t, TreeNode* node) {
  PressedNode = node;
  IgnoreErrors([&] { tree_.SetSelectedItem(node); });
  if ((button & kRightButton) != 0) {
    // While a job runs the pop-up menu is disabled and does not open.
    if (mnupopup_.Enabled()) host_.ShowPopupMenu(mnupopup_);
    return;
  }
  try {
    tree_.SetDropHighlight(tree_.SelectedItem());
    host_.ShowNextAction(NextActionLine(Need(tree_.SelectedItem()).Text()));
    const std::string text = Need(PressedNode).Text();
    ListBox& record = collection_.lstRecord;
    if (LCase(Left(text, 5)) == "track") {
      record.Clear();
      record.AddItem(text);
    } else if (text == group::SelectedTracks || text == group::AvailableTracks) {
      record.Clear();
      for (const TreeNode* child : PressedNode->Children()) record.AddItem(child->Text());
    }
    tree_.StartLabelEdit();  // only a file item's label opens
    loop_.Yield();
  } catch (const std::exception&) {
    // A press on empty space, or a step that failed: the press ends here.
  }
}

void TreeInteractions::TreeView1_MouseMove(int16_t button, int16_t, TreeNode*) {
  if (button != kLeftButton) return;
  IgnoreErrors([&] {
    PressedNodeKind = CollectionTree::NodeKind(PressedNode);
    if (PressedNodeKind != kItem) return;  // groups and the root stay where they are
    tree_.SetSelectedItem(PressedNode);
    tree_.SetDragIcon(kDragPicture);
    LastDropTarget = nullptr;  // a new drag: every node entered counts
    tree_.BeginDrag();
  });
}

void TreeInteractions::TreeView1_MouseUp(int16_t, int16_t, TreeNode*) {
  IgnoreErrors(
      [&] { host_.ShowNextAction(NextActionLine(Need(tree_.SelectedItem()).Text())); },
      [&] {
        if (tree_.DropHighlight() != nullptr) tree_.SetSelectedItem(tree_.DropHighlight());
      },
      [&] {
        const std::string& text = Need(tree_.SelectedItem()).Text();
        if (LCase(Left(text, 6)) == "track ") host_.SetCurrentTrack(CInt32(Val(Mid(text, 7, 2))));
      });
}

// --- moves -------------------------------------------------------------------------------------

void TreeInteractions::TreeView1_DblClick() {
  if (PressedNode == nullptr || PressedNode->Text().empty()) return;
  Move(*PressedNode);
}

TreeNode* TreeInteractions::PartnerOf(const TreeNode& item) const {
  if (CollectionTree::NodeKind(&item) != kItem || item.Parent() == nullptr) return nullptr;
  const ItemKind* kind = KindOf(item.Text());
  if (kind == nullptr) return nullptr;
  const std::string& group = item.Parent()->Text();
  if (group == kind->available) return collection_.FindText(kind->selected);
  if (group == kind->selected) return collection_.FindText(kind->available);
  return nullptr;
}

void TreeInteractions::Move(TreeNode& item) {
  const ItemKind* kind = KindOf(item.Text());
  if (kind == nullptr || PartnerOf(item) == nullptr) return;  // a group, the root, or an odd item
  const std::string text = item.Text();
  const bool toSelected = item.Parent()->Text() == kind->available;
  ListBox& available = collection_.*(kind->availableList);
  ListBox& selected = collection_.*(kind->selectedList);
  ListBox& scratch = collection_.List7;
  const auto yield = [this] { loop_.Yield(); };

  // The lists. Whatever they held before, they end up agreeing with the tree: the entry leaves
  // the group's list and enters the partner's, once. (The press that began a double-click has
  // just made lstRecord that one track: putting it in front again would extract it twice.)
  if (kind->track) {
    IgnoreErrors([&] {
      if (toSelected) {
        RemoveFirst(available, text);
        RemoveEvery(selected, text, yield);
        PutInFront(selected, text, scratch);
      } else {
        RemoveEvery(selected, text, yield);
        if (!Holds(available, text)) available.AddItem(text);
      }
    });
  } else {
    IgnoreErrors([&] {
      if (toSelected) {
        RemoveEvery(available, text, yield);
        RemoveEvery(selected, text, yield);
        PutInFront(selected, text, scratch);
      } else {
        RemoveEvery(selected, text, yield);
        PutInFront(available, text, scratch);
      }
    });
  }

  // The tree. The list loops yield, so look the item and its partner up again.
  if (!tree_.Contains(&item)) return;
  TreeNode* partner = PartnerOf(item);
  if (partner == nullptr) return;
  IgnoreErrors([&] {
    tree_.SetParent(item, *partner);
    if (kind->track && toSelected) tree_.SetDropHighlight(nullptr);
    if (kind->track && !toSelected) {
      RebuildAvailableTracks();  // the moved track comes back last, as lstTracks has it
    } else {
      tree_.EnsureVisible(item);
    }
  });
}

void TreeInteractions::RebuildAvailableTracks() {
  TreeNode* group = collection_.FindText(group::AvailableTracks);
  if (group == nullptr) return;
  while (!group->Children().empty()) tree_.Remove(*group->Children().back());
  for (int32_t i = 0; i < collection_.lstTracks.ListCount(); ++i) {
    const std::string entry = collection_.lstTracks.List(i);
    IgnoreErrors([&] {
      if (TreeNode* g = collection_.FindText(group::AvailableTracks)) {
        tree_.Add(g, "p name" + entry, entry, treeimage::Item, treeimage::ItemSelected);
      }
    });
    loop_.Yield();
  }
}

// --- dragging ----------------------------------------------------------------------------------

void TreeInteractions::TreeView1_DragOver(TreeNode* target) {
  IgnoreErrors([&] {
    if (target == LastDropTarget) return;
    LastDropTarget = target;
    const int16_t kind = CollectionTree::NodeKind(target);
    const bool fitting = target != nullptr && PressedNode != nullptr &&
                         (kind == PressedNodeKind - 1 || kind == PressedNodeKind);
    if (!fitting) {
      tree_.SetDropHighlight(nullptr);
      return;
    }
    const std::string& dragged = PressedNode->Text();
    const std::string& t = target->Text();
    bool accepted = true;
    if (Left(dragged, 5) == "Track") {
      accepted = t == group::SelectedTracks || Left(t, 5) == "Track";
    } else if (IsWavFile(dragged)) {
      accepted = t == group::SelectedWav || t == group::Wav;
    } else if (IsMp3File(dragged)) {
      accepted = t == group::SelectedMp3 || t == group::Mp3;
    }
    if (accepted) tree_.SetDropHighlight(target);
  });
}

void TreeInteractions::TreeView1_DragDrop(TreeNode*) {
  IgnoreErrors([&] {
    TreeNode* highlight = tree_.DropHighlight();
    if (highlight == nullptr || PressedNode == nullptr) return;
    // A highlighted group, or a highlighted track item standing for its group.
    TreeNode* group = CollectionTree::NodeKind(highlight) == kGroup ? highlight : highlight->Parent();
    if (group != nullptr && group == PartnerOf(*PressedNode)) Move(*PressedNode);
  });
  IgnoreErrors([&] { tree_.SetDropHighlight(nullptr); });
  PressedNode = nullptr;
  PressedNodeKind = 0;
}

// --- renaming ----------------------------------------------------------------------------------

void TreeInteractions::TreeView1_BeforeLabelEdit(bool& cancel) {
  const TreeNode* node = tree_.SelectedItem();
  if (node == nullptr || !IsAudioFileName(node->Text())) cancel = true;
}

void TreeInteractions::TreeView1_AfterLabelEdit(bool& cancel, std::string& newString) {
  TreeNode* node = tree_.SelectedItem();
  if (node == nullptr) {
    cancel = true;
    return;
  }
  try {
    // The node's text must go on naming a WAV or MP3 file.
    if (!IsAudioFileName(newString)) throw RaisedError::Of(errnum::BadFileName);
    // A change of letter case alone is shown, and the file keeps its name.
    if (LCase(newString) != LCase(node->Text())) RenameFileOf(node->Text(), newString);
    PressedNode = node;
    tree_.SetSelectedItem(node);
    tree_.SetDropHighlight(node);
    tree_.SetText(*node, newString);
  } catch (const std::exception&) {
    // Refused: nothing changed. The editor opens again on the same node.
    cancel = true;
    IgnoreErrors([&] {
      TreeNode* again = PressedNode != nullptr ? PressedNode : node;
      tree_.SetSelectedItem(again);
      tree_.SetDropHighlight(again);
      tree_.StartLabelEdit();
    });
  }
}

void TreeInteractions::RenameFileOf(const std::string& nodeText, const std::string& name) {
  if (name.find('/') != std::string::npos) throw RaisedError::Of(errnum::BadFileName);  // not a plain name
  const bool wav = IsWavFile(name);
  ListBox* lists[] = {wav ? &collection_.List1 : &collection_.List2, wav ? &collection_.List5 : &collection_.List4};
  // A node showing a full path stands for that file; one showing a name, for a file of that name.
  const bool byPath = nodeText.find('/') != std::string::npos;
  const auto key = [byPath](const std::string& entry) { return byPath ? entry : SplitPathName(entry); };
  const std::string wanted = key(nodeText);
  // The names are compared lower-cased; an entry with exactly the node's text is preferred, so
  // that of two files differing in letter case the one shown is renamed.
  for (const bool exact : {true, false}) {
    for (ListBox* list : lists) {
      for (int32_t i = 0; i < list->ListCount(); ++i) {
        const std::string entry = list->List(i);
        if (!HasFolder(entry)) continue;
        const std::string k = key(entry);
        if (exact ? k != wanted : LCase(k) != LCase(wanted)) continue;
        SplitPathName(entry);
        const std::string renamed = LastFolder + name;
        RenameFile(entry, renamed);
        list->SetList(i, renamed);
        return;
      }
    }
  }
  throw RaisedError::Of(errnum::FileNotFound);  // no list names the file: nothing to rename
}

// --- the pop-up menu ---------------------------------------------------------------------------

void TreeInteractions::mnupopup_Click() {
  IgnoreErrors([&] {
    PressedNodeKind = CollectionTree::NodeKind(PressedNode);
    const bool onNode = PressedNodeKind != 0;
    const bool onFile = onNode && IsAudioFileName(PressedNode->Text());
    mnuStart2_.SetEnabled(onNode);
    mnuRemoveDelete_.SetEnabled(onFile);
    mnuFileRemove_.SetEnabled(onFile);
  });
}

std::string TreeInteractions::TakePressedFileOffTree() {
  if (PressedNode == nullptr) return {};
  const std::string name = PressedNode->Text();
  if (!IsAudioFileName(name)) return {};
  loop_.Yield();
  if (TreeNode* node = collection_.FindText(name)) tree_.Remove(*node);
  return name;
}

void TreeInteractions::mnuFileRemove_Click() {
  IgnoreErrors([&] {
    const std::string name = TakePressedFileOffTree();
    if (name.empty()) return;
    for (ListBox* list : {&collection_.List1, &collection_.List2, &collection_.List4, &collection_.List5}) {
      for (int32_t i = 0; i < list->ListCount(); ++i) {
        if (list->List(i) == name) {
          list->RemoveItem(i);
          return;
        }
      }
    }
  });
}

void TreeInteractions::mnuRemoveDelete_Click() {
  IgnoreErrors([&] {
    const std::string name = TakePressedFileOffTree();
    if (name.empty()) return;
    for (ListBox* list : {&collection_.List1, &collection_.List2, &collection_.List4, &collection_.List5}) {
      for (int32_t i = 0; i < list->ListCount(); ++i) {
        const std::string entry = list->List(i);
        if (!HasFolder(entry) || (entry != name && SplitPathName(entry) != name)) continue;
        IgnoreErrors([&] { p_DestroyFile(entry, loop_); });  // a failed deletion still unlists
        // The deletion yields: the entry may have moved meanwhile.
        const auto& items = list->Items();
        for (int32_t j = 0; j < list->ListCount(); ++j) {
          if (items[static_cast<std::size_t>(j)] == entry) {
            list->RemoveItem(j);
            break;
          }
        }
        return;
      }
    }
  });
}

}  // namespace korvalin
