#include "collection/CollectionTree.h"

#include <sys/stat.h>

#include "collection/BackingLists.h"
#include "common/FileKind.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "desktop/DestroyFile.h"
#include "finder/LocalSearch.h"
#include "settings/PathHelpers.h"

namespace korvalin {
namespace {

using controls::TreeNode;

constexpr double kAddPauseSeconds = 0.3;
constexpr int64_t kSmallestFile = 100;  // bytes; anything shorter holds no audio worth listing

// The file name of a path, as it is on disk.
std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The length of a regular file, or -1 when there is none at the path.
int64_t FileLength(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return st.st_size;
}

}  // namespace

EntryKind KindOfItem(const std::string& text) {
  if (Left(text, 5) == "Track") return EntryKind::Track;
  switch (AudioFileKindOf(text)) {
    case AudioFileKind::Wav: return EntryKind::Wav;
    case AudioFileKind::Mp3: return EntryKind::Mp3;
    case AudioFileKind::None: break;
  }
  return EntryKind::None;
}

EntryKind KindOfNode(const std::string& text) {
  if (text == group::SelectedTracks || text == group::AvailableTracks) return EntryKind::Track;
  if (text == group::SelectedWav || text == group::Wav) return EntryKind::Wav;
  if (text == group::SelectedMp3 || text == group::Mp3) return EntryKind::Mp3;
  return KindOfItem(text);
}

const std::vector<std::string>& TreePictures() {
  static const std::vector<std::string> pictures{"tree-root.svg",          "tree-group.svg",
                                                 "tree-item.svg",          "tree-root-selected.svg",
                                                 "tree-group-selected.svg", "tree-item-selected.svg"};
  return pictures;
}

CollectionTree::CollectionTree(const Settings& settings, EventLoop& loop, CollectionHost& host)
    : settings_(settings), loop_(loop), host_(host) {}

int16_t CollectionTree::NodeKind(const TreeNode* node) {
  if (node == nullptr || node->Key().empty()) return 0;
  switch (node->Key()[0]) {
    case 'f': return 1;
    case 'g': return 2;
    case 'p': return 3;
    default: return 0;
  }
}

bool CollectionTree::SelectText(const std::string& text) {
  TreeNode* node = FindText(text);
  if (node == nullptr) return false;
  TreeView1.SetSelectedItem(node);
  return true;
}

TreeNode* CollectionTree::FindText(const std::string& text) const {
  for (int32_t i = 1; i <= TreeView1.Count(); ++i) {
    TreeNode& node = TreeView1.Nodes(i);
    if (node.Text() == text) return &node;
  }
  return nullptr;
}

void CollectionTree::AddGroup(const char* key, const char* text) {
  TreeNode* root = TreeView1.Find(kRootKey);
  if (root == nullptr) throw RaisedError::Of(errnum::InvalidArgument);
  TreeView1.Add(root, key, text, treeimage::Group, treeimage::GroupSelected);
}

void CollectionTree::showfiles() {
  const auto yield = [this] { loop_.Yield(); };
  IgnoreErrors([&] { TreeView1.Remove(2); }, [&] { TreeView1.Remove(1); });
  IgnoreErrors([&] { List1.Clear(); }, [&] { List2.Clear(); }, [&] { List4.Clear(); }, [&] { List5.Clear(); });
  // Every file of the destination and its sub-folders, its kind by its last characters: a name
  // such as "03 - Mr. Jones.mp3", which a rip named from the disc information may write, is an
  // MP3 file too.
  const auto listFiles = [&](controls::ListBox& list, bool (*ofKind)(const std::string&)) {
    for (auto& path : FindFiles(settings_.DecodePath, "*.*", yield)) {
      if (ofKind(path)) list.AddItem(std::move(path));
    }
  };
  IgnoreErrors([&] { listFiles(List1, IsWavFile); });
  IgnoreErrors([&] { listFiles(List2, IsMp3File); });
  IgnoreErrors([&] { host_.ShowMainWindow(); });
  IgnoreErrors([&] { TreeView1.SetImageList(TreePictures()); });

  IgnoreErrors([&] { TreeView1.Add(nullptr, kRootKey, kRootText, treeimage::Root, treeimage::RootSelected); },
               [&] { AddGroup("g Selected Tracks", group::SelectedTracks); },
               [&] { TreeView1.EnsureVisible(*FindText(group::SelectedTracks)); },
               [&] { AddGroup("g Available Tracks", group::AvailableTracks); });
  IgnoreErrors([&] {
    TreeNode* tracks = FindText(group::AvailableTracks);
    if (tracks == nullptr) return;
    for (const auto& entry : lstTracks.Items()) {
      IgnoreErrors([&] { TreeView1.Add(tracks, "p " + entry, entry, treeimage::Item, treeimage::ItemSelected); });
    }
    TreeView1.EnsureVisible(*tracks);
  });
  IgnoreErrors([&] { AddGroup("g Selected WAV Files", group::SelectedWav); },
               [&] { TreeView1.EnsureVisible(*FindText(group::SelectedWav)); },
               [&] { AddGroup("g WAV Files", group::Wav); });
  IgnoreErrors([&] { AddFileItems(List1, group::Wav); });
  IgnoreErrors([&] { AddGroup("g Selected MP3 Files", group::SelectedMp3); },
               [&] { AddGroup("g Available MP3 Files", group::Mp3); });
  IgnoreErrors([&] { Reverse(List1); });
  IgnoreErrors([&] { AddFileItems(List2, group::Mp3); },
               [&] { TreeView1.EnsureVisible(*FindText(group::Mp3)); });
  IgnoreErrors([&] { Reverse(List2); });
}

// One item per list entry, last entry first, under the group. With full paths shown an item's
// text is the path; otherwise it is the file name. An entry whose key is taken already (a
// second file of the same name) gets no item but stays in the list.
void CollectionTree::AddFileItems(controls::ListBox& list, const char* groupText) {
  TreeNode* parent = FindText(groupText);
  if (parent == nullptr) return;
  TreeNode* last = nullptr;
  const auto& entries = list.Items();
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    IgnoreErrors([&] {
      const std::string text = settings_.ShowFullPath != 0 ? *it : NameOf(*it);
      last = &TreeView1.Add(parent, "p " + text, text, treeimage::Item, treeimage::ItemSelected);
      if (settings_.ShowFullPath == 0) TreeView1.EnsureVisible(*last);
    });
  }
  if (last != nullptr) TreeView1.EnsureVisible(*last);
}

void CollectionTree::Reverse(controls::ListBox& list) {
  List7.Clear();
  for (int32_t i = list.ListCount() - 1; i >= 0; --i) List7.AddItem(list.List(i));
  list.Clear();
  for (const auto& entry : List7.Items()) list.AddItem(entry);
}

void CollectionTree::Cmaddfile2(const std::string& path) {
  PauseYielding(loop_, kAddPauseSeconds);
  try {
    const int64_t length = FileLength(path);
    if (length < kSmallestFile) return;  // missing or too short
    const std::string name = NameOf(path);
    const auto inTree = [&] {
      for (int32_t i = 1; i <= TreeView1.Count(); ++i) {
        const std::string& text = TreeView1.Nodes(i).Text();
        if (text == path || text == name) return true;
      }
      return false;
    };
    if (inTree()) return;

    const char* groupText = nullptr;
    // Every WAV handed over is one the job keeps (its product, or an intermediate file whose
    // encoding did not finish): "Delete WAV" removes the others itself, node and all.
    if (IsWavFile(path)) {
      groupText = group::Wav;
    } else if (IsMp3File(path)) {
      groupText = group::Mp3;
    }
    if (groupText != nullptr && FindText(groupText) != nullptr) {
      loop_.Yield();
      const std::string text = settings_.ShowFullPath != 0 ? path : name;
      // The yield may have rebuilt the tree or added the same file: look again.
      if (inTree()) return;
      IgnoreErrors([&] {
        if (TreeNode* parent = FindText(groupText)) {
          TreeView1.EnsureVisible(
              TreeView1.Add(parent, "p name" + text, text, treeimage::Item, treeimage::ItemSelected));
          loop_.Yield();
        }
      });
    }

    controls::ListBox* list = IsWavFile(path) ? &List1 : IsMp3File(path) ? &List2 : nullptr;
    if (list != nullptr && !Holds(*list, path)) PutInFront(*list, path, List7);
  } catch (const std::exception&) {
    // Errors are ignored: the file simply stays out of the collection.
  }
}

void CollectionTree::showfiles3(const std::string& path) {
  IgnoreErrors([&] { ListWithoutItem(path); });
}

void CollectionTree::ListWithoutItem(const std::string& path) {
  if (Holds(List1, path) || Holds(List2, path)) return;
  if (IsWavFile(path)) {
    List1.AddItem(path);
  } else if (IsMp3File(path)) {
    List2.AddItem(path);
  }
}

bool CollectionTree::IsAvailable(const std::string& path) const {
  if (IsWavFile(path)) return Holds(List1, path);
  if (IsMp3File(path)) return Holds(List2, path);
  return false;
}

void CollectionTree::ForgetTracks() {
  IgnoreErrors([&] { lstTracks.Clear(); }, [&] { lstRecord.Clear(); });
}

void CollectionTree::AddAvailableTrack(const std::string& line) { lstTracks.AddItem(line); }

void CollectionTree::SetCurrentChosenTrack(int32_t index) { lstRecord.SetListIndex(index); }

void CollectionTree::DeleteAndUnlist(const std::string& path) {
  p_DestroyFile(path, loop_);
  Unlist(path);
}

bool CollectionTree::Unlist(const std::string& path) {
  bool held = false;
  // Out of every file list, so that no later batch picks the file up again.
  for (controls::ListBox* list : {&List1, &List5, &List2, &List4}) {
    held = held || Holds(*list, path);
    RemoveEvery(*list, path);
  }
  if (TreeNode* node = FindText(path)) {
    TreeView1.Remove(*node);
    return true;
  }
  // Items show bare names when full paths are off; the name's item goes only when no file of
  // that name is left in the lists (it may stand for another folder's file of the same name).
  if (settings_.ShowFullPath != 0) return held;
  const std::string name = NameOf(path);
  for (const controls::ListBox* list : {&List1, &List5, &List2, &List4}) {
    for (const auto& entry : list->Items()) {
      if (NameOf(entry) == name) return held;
    }
  }
  if (TreeNode* node = FindText(name); node != nullptr && NodeKind(node) == 3) {
    TreeView1.Remove(*node);
    return true;
  }
  return held;
}

CollectionSelection CollectionTree::Selected() const {
  CollectionSelection s;
  const TreeNode* node = TreeView1.SelectedItem();
  if (node == nullptr) return s;
  s.node = node->Text();
  s.kind = KindOfNode(s.node);
  const std::string& t = s.node;
  if (t == group::AvailableTracks || t == group::Wav || t == group::Mp3) {
    s.scope = CollectionSelection::Scope::Available;
  } else if (t == group::SelectedTracks || t == group::SelectedWav || t == group::SelectedMp3) {
    s.scope = CollectionSelection::Scope::Selected;
  } else if (s.kind != EntryKind::None) {
    s.scope = CollectionSelection::Scope::Item;
  }
  switch (s.kind) {
    case EntryKind::None: break;
    case EntryKind::Track:
      if (t == group::AvailableTracks) {
        for (const TreeNode* child : node->Children()) s.entries.push_back(child->Text());
      } else {
        s.entries = lstRecord.Items();
      }
      break;
    case EntryKind::Wav:
    case EntryKind::Mp3: {
      const bool wav = s.kind == EntryKind::Wav;
      if (s.scope == CollectionSelection::Scope::Item) {
        if (auto path = FindByName(t)) s.entries.push_back(std::move(*path));
      } else {
        const bool chosen = s.scope == CollectionSelection::Scope::Selected;
        s.entries = (wav ? (chosen ? List5 : List1) : (chosen ? List4 : List2)).Items();
      }
      break;
    }
  }
  return s;
}

int32_t CollectionTree::TakeEveryAvailableTrack(TakeTracks how) {
  std::vector<std::string> tracks;
  if (how == TakeTracks::AsShown) {
    if (const TreeNode* shown = FindText(group::AvailableTracks)) {
      for (const TreeNode* child : shown->Children()) tracks.push_back(child->Text());
    }
  } else {
    tracks = lstTracks.Items();
  }
  lstRecord.Clear();
  for (auto& line : tracks) lstRecord.AddItem(std::move(line));
  if (how == TakeTracks::FromAvailableList) lstTracks.Clear();
  if (lstRecord.ListCount() > 0) lstRecord.SetListIndex(0);
  return lstRecord.ListCount();
}

std::optional<std::string> CollectionTree::FindByName(const std::string& itemText) const {
  const controls::ListBox* available = nullptr;
  const controls::ListBox* selected = nullptr;
  switch (AudioFileKindOf(itemText)) {
    case AudioFileKind::Wav: available = &List1, selected = &List5; break;
    case AudioFileKind::Mp3: available = &List2, selected = &List4; break;
    case AudioFileKind::None: return std::nullopt;
  }
  const std::string name = SplitPathName(itemText);
  for (const controls::ListBox* list : {available, selected}) {
    for (const std::string& line : list->Items()) {
      if (SplitPathName(line) == name) return line;
    }
  }
  return std::nullopt;
}

void CollectionTree::FollowJobs(JobEvents& e) {
  auto follow = [this](controls::Connection c) { jobConnections_.push_back(std::move(c)); };
  follow(e.tracksTaken.Connect([this](const std::vector<std::string>&) { TakeEveryAvailableTrack(TakeTracks::AsShown); }));
  follow(e.trackInHand.Connect([this](int32_t index) { SetCurrentChosenTrack(index); }));
  follow(e.fileWritten.Connect([this](const std::string& path) { Cmaddfile2(path); }));
  follow(e.fileDeleted.Connect([this](const std::string& path) { Unlist(path); }));
  follow(e.stoppedWavKept.Connect([this](const std::string& path) { ListWithoutItem(path); }));
}

}  // namespace korvalin
