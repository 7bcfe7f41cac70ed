#include "finder/LocalSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "common/Text.h"

namespace korvalin {
namespace {

enum class Kind { Folder, File, Other };

Kind KindOf(int folderFd, const dirent* e) {
  struct stat st {};
  switch (e->d_type) {
    case DT_DIR: return Kind::Folder;
    case DT_REG: return Kind::File;
    case DT_LNK:
      // A link counts by what it points to, but a folder reached through a link is not entered.
      if (::fstatat(folderFd, e->d_name, &st, 0) != 0) return Kind::Other;
      return S_ISREG(st.st_mode) ? Kind::File : Kind::Other;
    case DT_UNKNOWN:
      if (::fstatat(folderFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return Kind::Other;
      if (S_ISDIR(st.st_mode)) return Kind::Folder;
      if (S_ISREG(st.st_mode)) return Kind::File;
      if (S_ISLNK(st.st_mode) && ::fstatat(folderFd, e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode)) {
        return Kind::File;
      }
      return Kind::Other;
    default: return Kind::Other;
  }
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return false;
  const int fd = ::dirfd(dir);
  struct Keyed {
    std::string key;
    FolderEntry entry;
  };
  std::vector<Keyed> found;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    const Kind kind = KindOf(fd, e);
    if (kind == Kind::Other) continue;
    found.push_back({LCase(name), FolderEntry{std::string(name), kind == Kind::Folder}});
  }
  ::closedir(dir);
  std::sort(found.begin(), found.end(), [](const Keyed& a, const Keyed& b) {
    return a.key != b.key ? a.key < b.key : a.entry.name < b.entry.name;
  });
  entries.reserve(found.size());
  for (auto& k : found) entries.push_back(std::move(k.entry));
  return true;
}

std::string ExtensionOf(const std::string& name) {
  const std::size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : LCase(std::string_view(name).substr(dot));
}

std::string BaseNameOf(const std::string& name) { return LCase(std::string_view(name).substr(0, name.find('.'))); }

std::string NormalizeTypeFilter(const std::string& text) {
  if (text == "*.*" || (!text.empty() && text[0] == '.')) return LCase(text);
  return "." + LCase(text);
}

bool PassesFilters(const std::string& name, const std::string& typeFilter, const std::string& nameFilter) {
  if (typeFilter == "*.*") return true;
  if (ExtensionOf(name) != typeFilter) return false;
  return nameFilter.empty() || LCase(nameFilter) == BaseNameOf(name);
}

std::string SearchSummary(int64_t directories, int64_t files) {
  return "Directories: " + std::to_string(directories) + "   Files:  " + std::to_string(files);
}

LocalSearch::LocalSearch(std::string startFolder, std::string typeFilter, std::string nameFilter)
    : start_(std::move(startFolder)), typeFilter_(LCase(typeFilter)), nameFilter_(std::move(nameFilter)) {}

std::string LocalSearch::Seed(const std::string& startFolder) {
  if (!startFolder.empty() && startFolder.back() == '/') return startFolder;
  return startFolder + "/";
}

void LocalSearch::Run() {
  // No start folder is no search: it never stands for the root of the file system.
  if (start_.empty()) return;
  const std::string seed = Seed(start_);
  queue_.push_back(seed);
  log_.push_back(seed);
  // The start folder is listed among the folders, so it is counted with them.
  directories_ = 1;
  if (events.seeded) events.seeded(seed);
  while (!queue_.empty()) {
    if (events.reading) events.reading(queue_.front());
    ReadFolder(queue_.front());  // a copy: the queue changes while the folder is read
    if (!queue_.empty()) queue_.pop_front();
    if (events.folderRead) events.folderRead();
  }
}

void LocalSearch::ReadFolder(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  std::vector<FolderEntry> entries;
  if (!ListFolder(folder, entries)) return;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && yield) {
      yield();
      if (stopRequested && stopRequested()) queue_.clear();
    }
    const FolderEntry& e = entries[i];
    if (e.isFolder) {
      if (e.name[0] != '.') Subfolder(folder + e.name + "/");  // ".git", ".cache": not entered
    } else if (PassesFilters(e.name, typeFilter_, nameFilter_)) {
      results_.push_back(folder + e.name);
      if (events.found) events.found(results_.back());
    }
  }
}

void LocalSearch::Subfolder(const std::string& path) {
  // After a stop the queue is empty: the folder is logged and counted, never read.
  const bool queued = !queue_.empty();
  if (queued) queue_.insert(queue_.begin() + 1, path);
  log_.insert(log_.empty() ? log_.end() : log_.begin() + 1, path);
  if (directories_ < kMaxDirectories) ++directories_;
  if (events.subfolder) events.subfolder(path, queued);
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& typeFilter,
                                   const std::function<void()>& yield) {
  LocalSearch search(folder, NormalizeTypeFilter(typeFilter));
  search.yield = yield;
  search.Run();
  return search.Results();
}

}  // namespace korvalin
