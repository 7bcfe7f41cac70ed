#include "settings/PathHelpers.h"

#include <sys/stat.h>

#include <cerrno>

#include "common/Text.h"

namespace korvalin {

std::string LastFolder;

namespace {

// The text after the last "/", or nullopt-like npos when there is no "/".
std::size_t LastSlash(const std::string& path) { return path.rfind('/'); }

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string FileTitleNoExt(const std::string& path) {
  const std::size_t slash = LastSlash(path);
  if (slash != std::string::npos && slash + 1 < path.size()) return DropRight(path.substr(slash + 1), 4);
  return DropRight(path, 4);
}

std::string SplitPathName(const std::string& path) {
  const std::size_t slash = LastSlash(path);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) name = path;
  LastFolder = path.substr(0, path.size() - name.size());
  return name;
}

bool MakeDirectories(const std::string& path, Dialogs& dialogs, controls::Screen& screen) {
  screen.SetMousePointer(controls::MousePointer::Hourglass);
  bool ok = !path.empty() && path[0] == '/';  // only absolute paths name a place to create
  std::string built;
  std::size_t start = 0;
  while (ok) {
    const std::size_t next = path.find('/', start + 1);
    const std::string component = path.substr(start + 1, next == std::string::npos ? std::string::npos : next - start - 1);
    if (!component.empty()) {  // "//" and a trailing "/" name no folder
      built += "/" + component;
      if (::mkdir(built.c_str(), 0777) != 0 && errno != EEXIST) ok = false;
      else if (!IsFolder(built)) ok = false;  // the name exists, but not as a folder
    }
    if (next == std::string::npos) break;
    start = next;
  }
  if (!ok) {
    dialogs.MsgBox("Error While Attempting to Create Directories on Destination Drive.", MsgBoxButtons::OK,
                   MsgBoxIcon::Exclamation, "SETUP");
  }
  screen.SetMousePointer(controls::MousePointer::Default);
  return ok;
}

}  // namespace korvalin
