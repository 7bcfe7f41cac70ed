#include "platform/UserFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace korvalin {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string XdgFolder(const char* variable, const char* fallbackBelowHome) {
  std::string folder = Env(variable);
  // The base-directory rules ignore relative values.
  if (folder.empty() || folder[0] != '/') folder = HomeFolder() + fallbackBelowHome;
  return folder;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The value of XDG_MUSIC_DIR in user-dirs.dirs: a shell assignment such as
// XDG_MUSIC_DIR="$HOME/Music"; only "$HOME/..." and absolute values are meaningful.
std::string MusicFolderFromUserDirs() {
  std::ifstream file(XdgFolder("XDG_CONFIG_HOME", "/.config") + "/user-dirs.dirs");
  std::string line;
  const std::string key = "XDG_MUSIC_DIR=";
  while (std::getline(file, line)) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = HomeFolder() + value.substr(5);
    if (!value.empty() && value[0] == '/') return WithoutTrailingSlash(value);
  }
  return {};
}

}  // namespace

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) home = entry->pw_dir;
  }
  if (home.empty()) home = "/";
  return WithoutTrailingSlash(home);
}

std::string UserMusicFolder() {
  std::string music = Env("XDG_MUSIC_DIR");
  if (!music.empty() && music[0] == '/') return WithoutTrailingSlash(music);
  music = MusicFolderFromUserDirs();
  if (!music.empty()) return music;
  return HomeFolder() + "/Music";
}

std::string UserCacheFolder() { return WithoutTrailingSlash(XdgFolder("XDG_CACHE_HOME", "/.cache")) + "/Korvalin"; }

std::string UserDataFolder() { return WithoutTrailingSlash(XdgFolder("XDG_DATA_HOME", "/.local/share")) + "/Korvalin"; }

bool FolderIsWritable(const std::string& folder) { return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0; }

namespace {
bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

bool RunsFromBuildFolder(const std::string& programFolder) { return IsFolder(programFolder + "/pictures"); }

std::string ProgramDataFolder(const std::string& programFolder) {
  const std::string folder = WithoutTrailingSlash(programFolder);
  if (RunsFromBuildFolder(folder)) return folder;
  // <prefix>/bin -> <prefix>/share/korvalin, written without ".." so that it reads well where the
  // program shows or reports it.
  const std::size_t slash = folder.rfind('/');
  const std::string prefix = slash == std::string::npos ? folder + "/.." : folder.substr(0, slash);
  const std::string installed = prefix + "/share/korvalin";
  if (IsFolder(installed)) return installed;
  return folder;
}

std::vector<std::string> DiscFolders(const std::string& programFolder) {
  std::vector<std::string> folders{ProgramDataFolder(programFolder) + "/discs", UserDataFolder() + "/discs"};
  struct stat first {}, second {};
  if (::stat(folders[0].c_str(), &first) == 0 && ::stat(folders[1].c_str(), &second) == 0 &&
      first.st_dev == second.st_dev && first.st_ino == second.st_ino) {
    folders.pop_back();
  }
  return folders;
}

std::string DefaultDestination(const std::string& programFolder) {
  if (RunsFromBuildFolder(programFolder) && FolderIsWritable(programFolder))
    return WithoutTrailingSlash(programFolder) + "/WAVFiles";
  return UserMusicFolder() + "/Korvalin";
}

std::string StartingDestination(const std::string& programFolder) {
  if (RunsFromBuildFolder(programFolder) && FolderIsWritable(programFolder)) return WithoutTrailingSlash(programFolder);
  return DefaultDestination(programFolder);
}

std::string WritableProgramFolder(const std::string& programFolder) {
  if (RunsFromBuildFolder(programFolder) && FolderIsWritable(programFolder)) return WithoutTrailingSlash(programFolder);
  return UserCacheFolder();
}

}  // namespace korvalin
