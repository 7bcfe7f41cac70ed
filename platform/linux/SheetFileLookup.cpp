#include "platform/linux/SheetFileLookup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "common/Text.h"

namespace korvalin {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::string Beside(const std::string& folder, const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// The entry of `folder` whose name equals `part` but for case; the first in byte order when
// several do, so that the choice is the same on every run.
std::string CaselessEntry(const std::string& folder, const std::string& part) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return {};
  const std::string wanted = LCase(part);
  std::vector<std::string> matches;
  while (const dirent* e = ::readdir(dir)) {
    const std::string entry = e->d_name;
    if (entry != "." && entry != ".." && LCase(entry) == wanted) matches.push_back(entry);
  }
  ::closedir(dir);
  if (matches.empty()) return {};
  return *std::min_element(matches.begin(), matches.end());
}

// `relative` (parts between "/") found from `start` part by part, each part as written when it
// exists, else without regard to case; "" when a part is not there.
std::string FindCaseless(std::string path, const std::string& relative) {
  std::size_t from = 0;
  while (from <= relative.size()) {
    std::size_t slash = relative.find('/', from);
    if (slash == std::string::npos) slash = relative.size();
    const std::string part = relative.substr(from, slash - from);
    from = slash + 1;
    if (part.empty()) continue;
    const std::string next = path == "/" ? "/" + part : path + "/" + part;
    if (part == "." || part == ".." || Exists(next)) {
      path = next;
      continue;
    }
    const std::string entry = CaselessEntry(path, part);
    if (entry.empty()) return {};
    path = path == "/" ? "/" + entry : path + "/" + entry;
  }
  return path;
}

}  // namespace

std::string FindSheetFile(const std::string& sheetFolder, const std::string& name) {
  const std::string written = Beside(sheetFolder, name);
  if (name.empty() || Exists(written)) return written;
  std::string slashed = name;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  if (slashed != name && Exists(Beside(sheetFolder, slashed))) return Beside(sheetFolder, slashed);
  const bool absolute = slashed[0] == '/';
  std::string found = FindCaseless(absolute ? "/" : sheetFolder, slashed);
  if (!found.empty()) return found;
  const std::string base = slashed.substr(slashed.rfind('/') + 1);
  if (!base.empty() && base != slashed && base != "." && base != "..") {
    if (Exists(Beside(sheetFolder, base))) return Beside(sheetFolder, base);
    found = FindCaseless(sheetFolder, base);
    if (!found.empty()) return found;
  }
  return written;
}

}  // namespace korvalin
