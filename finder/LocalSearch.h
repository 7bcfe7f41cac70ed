#pragma once
// The walk behind the File Finder: from a start folder, list every file that passes a type
// filter (".wav", or "*.*" for all) and an optional name filter, folder by folder.
//
// The walk keeps a queue of folders; the one at its front is being read. Each subfolder met is
// put directly behind it, so the walk is depth-first: after a folder come its subfolders, the
// last one in name order first, each with its whole subtree. Before every entry of a folder
// after the first it yields, so a window stays live; a stop request seen after a yield empties
// the queue: the folder being read is still read to its end (its files are listed, its
// subfolders only logged and counted), then the walk ends.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace korvalin {

// One entry of a folder listing.
struct FolderEntry {
  std::string name;
  bool isFolder = false;
};

// The folders and regular files of a folder, in name order (compared case-insensitively, ties
// byte by byte), without "." and "..". Links to files count as files; links to folders are
// not followed, so a link back up the tree cannot make a walk endless. False when the folder
// cannot be listed.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// The part of a name from its first "." on, lower-cased ("" without a "."): song.part1.wav has
// the extension ".part1.wav".
std::string ExtensionOf(const std::string& name);
// The part of a name before its first ".", lower-cased (the whole name without a ".").
std::string BaseNameOf(const std::string& name);

// A type filter as the search uses it: lower-cased, and with a "." in front unless it is "*.*"
// or begins with "." already ("wav" becomes ".wav").
std::string NormalizeTypeFilter(const std::string& text);

// Whether a file of this name is listed: "*.*" lists every file and ignores the name filter;
// otherwise the extension must equal the type filter and, when a name filter is given, its
// lower-case form must equal the base name. Nothing is read as a wildcard.
bool PassesFilters(const std::string& name, const std::string& typeFilter, const std::string& nameFilter);

// The summary line of a search: "Directories: 3   Files:  12".
std::string SearchSummary(int64_t directories, int64_t files);

class LocalSearch {
 public:
  static constexpr int16_t kMaxDirectories = 32767;

  // `typeFilter` is compared lower-cased, as given ("wav" matches nothing: normalise first).
  LocalSearch(std::string startFolder, std::string typeFilter, std::string nameFilter = {});

  // Called before every entry of a folder after the first.
  std::function<void()> yield;
  // Read after every yield; true empties the queue.
  std::function<bool()> stopRequested;

  // What the walk does, as it does it (each may be empty).
  struct Events {
    std::function<void(const std::string& folder)> seeded;   // the start folder queued and logged
    std::function<void(const std::string& folder)> reading;  // the folder at the front is read next
    // A subfolder was logged at position 1 and, unless the queue had been emptied, queued there.
    std::function<void(const std::string& folder, bool queued)> subfolder;
    std::function<void(const std::string& path)> found;
    std::function<void()> folderRead;  // the front of the queue was taken off (if it was still there)
  } events;

  // Walks until the queue is empty. An empty start folder walks nothing.
  void Run();

  // The start folder as it is queued: unchanged when it ends in "/", else with "/" added.
  static std::string Seed(const std::string& startFolder);

  const std::vector<std::string>& Results() const { return results_; }
  // Every folder queued in this search, the start folder first, each new one at position 1.
  const std::deque<std::string>& Log() const { return log_; }
  const std::deque<std::string>& Queue() const { return queue_; }
  // Folders in the log: the start folder and every subfolder queued (or met after a stop);
  // stops counting at 32767.
  int16_t Directories() const { return directories_; }

 private:
  void ReadFolder(std::string folder);
  void Subfolder(const std::string& path);

  std::string start_;
  std::string typeFilter_;
  std::string nameFilter_;
  std::deque<std::string> queue_;
  std::deque<std::string> log_;
  std::vector<std::string> results_;
  int16_t directories_ = 0;
};

// A whole search with no window: the paths found, in order; none for an empty folder.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& typeFilter,
                                   const std::function<void()>& yield = {});

}  // namespace korvalin
