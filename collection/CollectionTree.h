#pragma once
// The collection: CD tracks, WAV files and MP3 files, each kind split into what is available
// and what is selected for the next action. It is held twice: in the backing lists that the
// jobs' selection is read from, and in the tree the main window shows (one root, six groups, one
// item per track or file). Both are private: the window, the jobs' selection, the finder and the
// playlist use the operations.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/TreeView.h"
#include "finder/ResultCommands.h"
#include "joblife/JobEvents.h"
#include "platform/EventLoop.h"
#include "settings/Settings.h"

namespace korvalin {

// The six groups, found by their texts; in this order under the root.
namespace group {
inline constexpr const char* SelectedTracks = "Selected Tracks";
inline constexpr const char* AvailableTracks = "Available Tracks";
inline constexpr const char* SelectedWav = "Selected WAV Files";
inline constexpr const char* Wav = "WAV Files";
inline constexpr const char* SelectedMp3 = "Selected MP3 Files";
inline constexpr const char* Mp3 = "MP3 Files";
}  // namespace group

inline constexpr const char* kRootKey = "f Collection 1";
inline constexpr const char* kRootText = "CD Tracks, WAV, MP3 files";

// Image numbers in the tree's picture list.
namespace treeimage {
inline constexpr int16_t Root = 1, Group = 2, Item = 3, RootSelected = 4, GroupSelected = 5, ItemSelected = 6;
}

// The tree's pictures, in image-number order (files of the program's "pictures" folder).
const std::vector<std::string>& TreePictures();

// What a node of the tree stands for, by its text: CD tracks, WAV files or MP3 files.
enum class EntryKind { None, Track, Wav, Mp3 };
// An item: a track line (its text begins "Track") or a WAV or MP3 file (by its name); None
// otherwise.
EntryKind KindOfItem(const std::string& text);
// An item or a group: a group stands for the kind of its items; None for the root and any other
// text.
EntryKind KindOfNode(const std::string& text);

// What the tree's selected node stands for: the work a Start on it takes.
struct CollectionSelection {
  enum class Scope {
    None,       // no node, the root, or a node of no kind
    Available,  // "Available Tracks", "WAV Files", "MP3 Files"
    Selected,   // "Selected Tracks", "Selected WAV Files", "Selected MP3 Files"
    Item,       // one track or file
  };
  std::string node;  // the selected node's text; "" when none is selected
  EntryKind kind = EntryKind::None;
  Scope scope = Scope::None;
  // CD tracks: the track lines the group "Available Tracks" shows, for that group; otherwise the
  // tracks chosen for extraction (lstRecord, which a press on a track makes that track alone).
  // Files: every path of the group's list, in list order; for an item, the one path the lists
  // hold under its name (none when no list holds it any more).
  std::vector<std::string> entries;
};

// How "take every available track" finds the tracks.
enum class TakeTracks {
  // The tracks the group "Available Tracks" shows; they stay available (a Start on that group:
  // a rip takes nothing away from the disc).
  AsShown,
  // Every line of lstTracks, which then leave it (the all-tracks switch); the tree is not changed.
  FromAvailableList,
};

// What the collection needs of the main window.
class CollectionHost {
 public:
  virtual ~CollectionHost() = default;
  virtual void ShowMainWindow() = 0;
  // What the mouse work on the tree shows in its window; a host without those displays ignores it.
  virtual void ShowNextAction(const std::string& /*line*/) {}
  virtual void SetCurrentTrack(int32_t /*track*/) {}
  virtual void ShowPopupMenu(controls::MenuItem& /*menu*/) {}
};

class CollectionTree : public FinderCollection {
 public:
  CollectionTree(const Settings& settings, EventLoop& loop, CollectionHost& host);
  CollectionTree(const CollectionTree&) = delete;
  CollectionTree& operator=(const CollectionTree&) = delete;

  // What the main window shows of the collection: the tree and the two track lists. Only the
  // window's layout (which places them) and its view (which binds them to widgets) take them;
  // everything else goes through the operations below.
  struct ShownControls {
    controls::TreeView& TreeView1;
    controls::ListBox& lstTracks;
    controls::ListBox& lstRecord;
  };
  ShownControls Shown() { return {TreeView1, lstTracks, lstRecord}; }

  // Rebuilds the whole collection from the destination folder (WAV and MP3 files in it and
  // below) and the available tracks; shows the main window. Selected files are forgotten.
  void showfiles();
  // Adds a file that a job wrote (or the user chose): after a 0.3-second pause that keeps the
  // window live, a WAV or MP3 file of 100 bytes or more gets an item at the end of its group
  // and its path at the front of its list, whatever "Delete WAV" says. A file
  // whose path or name is the text of a node already is not added.
  void Cmaddfile2(const std::string& path) override;
  // After a file chosen for conversion (in the File Finder, or on the command line) was handed to
  // Cmaddfile2: a WAV or MP3 file it turned away still enters the end of its list (without a
  // node) unless the list holds it.
  void showfiles3(const std::string& path) override;
  // Deletes the file (an error goes to the caller and the node stays), then takes the path out
  // of the file lists and removes its item from the tree.
  void DeleteAndUnlist(const std::string& path);
  // Takes the path out of the file lists and its item out of the tree; the file is not touched
  // (it was renamed or deleted elsewhere). True when the collection held it.
  bool Unlist(const std::string& path);

  // --- the collection's operations ---
  // What the selected node stands for; see CollectionSelection.
  CollectionSelection Selected() const;
  // The tracks chosen for extraction, in order.
  const std::vector<std::string>& ChosenTracks() const { return lstRecord.Items(); }
  // Makes the chosen tracks every available track, first to last, with the first one current;
  // returns how many there are.
  int32_t TakeEveryAvailableTrack(TakeTracks how);
  // The disc's tracks: forgotten before a disc is read, then listed one line per track.
  void ForgetTracks();
  void AddAvailableTrack(const std::string& line);
  // The chosen track a job has in hand: a capture starts from it and moves it on; -1 for none.
  int32_t CurrentChosenTrack() const { return lstRecord.ListIndex(); }
  void SetCurrentChosenTrack(int32_t index);
  // True when the available list of the path's kind (WAV Files or MP3 Files) holds the path.
  bool IsAvailable(const std::string& path) const;
  // Puts a WAV or MP3 file at the end of its available list, without an item in the tree, unless
  // that list holds it already; a file of another kind is not listed.
  void ListWithoutItem(const std::string& path);
  // The path of the WAV or MP3 file an item's text names: the first entry of the kind's
  // available list, then of its selected list, whose file name is the name in `itemText`.
  // Nothing for a name no list holds, and for a text that names no WAV or MP3 file.
  std::optional<std::string> FindByName(const std::string& itemText) const;

  // 1 root, 2 group, 3 item, 0 no node (or a key of another kind): the key's first character
  // decides.
  static int16_t NodeKind(const controls::TreeNode* node);

  // The first node, in position order, with this text (groups are found so), or nullptr.
  controls::TreeNode* FindText(const std::string& text) const;
  // Selects the first node with this text, as a click on it would; false when there is none.
  bool SelectText(const std::string& text);

  // From now on the collection shows what jobs report: the tracks a job takes and the one in
  // hand, the files it writes and deletes, the WAV a stopped job kept.
  void FollowJobs(JobEvents& jobs);

 private:
  // The tree's mouse work moves entries between the lists.
  friend class TreeInteractions;
  // Tests set up and inspect states that no operation makes (tests/support).
  friend struct CollectionInsideForTests;

  controls::TreeView TreeView1{"TreeView1"};
  controls::ListBox lstTracks{"lstTracks"};  // available CD tracks
  controls::ListBox lstRecord{"lstRecord"};  // chosen CD tracks
  controls::ListBox List1{"List1"};          // available WAV files (full paths)
  controls::ListBox List5{"List5"};          // selected WAV files
  controls::ListBox List2{"List2"};          // available MP3 files (full paths)
  controls::ListBox List4{"List4"};          // selected MP3 files
  controls::ListBox List7{"List7"};          // scratch, for putting a list in a new order

  void AddGroup(const char* key, const char* text);
  void AddFileItems(controls::ListBox& list, const char* groupText);
  void Reverse(controls::ListBox& list);

  const Settings& settings_;
  EventLoop& loop_;
  CollectionHost& host_;
  std::vector<controls::Connection> jobConnections_;
};

}  // namespace korvalin
