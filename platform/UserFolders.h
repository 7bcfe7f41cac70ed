#pragma once
// Where the program finds what it reads and puts what it writes on behalf of the user.
// A program run from its build folder keeps everything beside itself; an installed program
// cannot write its own folder, so what it writes goes to the user's folders (XDG base
// directories and the user's music folder).

#include <string>
#include <vector>

namespace korvalin {

// $HOME, else the password entry's home folder, else "/".
std::string HomeFolder();
// The user's music folder: $XDG_MUSIC_DIR, else the XDG_MUSIC_DIR line of
// $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config), else ~/Music. No trailing "/".
std::string UserMusicFolder();
// $XDG_CACHE_HOME/Korvalin (default ~/.cache/Korvalin).
std::string UserCacheFolder();
// $XDG_DATA_HOME/Korvalin (default ~/.local/share/Korvalin).
std::string UserDataFolder();
// True when the current user may create files in the folder.
bool FolderIsWritable(const std::string& folder);
// True when the program runs from a build folder: its read-only files (pictures) lie beside it.
bool RunsFromBuildFolder(const std::string& programFolder);
// The folder of the program's read-only files (pictures, help, demo disc): the program folder in
// a build, else <prefix>/share/korvalin beside an installed program's bin/ folder (the program
// folder again when there is none).
std::string ProgramDataFolder(const std::string& programFolder);
// The folders searched for disc images, in order: the discs/ folder of the program's read-only
// files (the demo disc), then the user's own (UserDataFolder() + "/discs"). A folder named twice
// (the same place reached two ways) is listed once.
std::vector<std::string> DiscFolders(const std::string& programFolder);
// The destination folder used when none is stored: the program folder + "/WAVFiles" for a program
// run from its (writable) build folder, else the user's music folder + "/Korvalin". An installed
// program never writes beside itself, even when run by a user who could.
std::string DefaultDestination(const std::string& programFolder);
// The destination the program starts with before one is stored or chosen: the program folder
// itself when it runs from its writable build folder, else DefaultDestination().
std::string StartingDestination(const std::string& programFolder);
// The folder for files the program writes for itself (the web start page): the program folder
// for a program run from its writable build folder, else the user's cache folder.
std::string WritableProgramFolder(const std::string& programFolder);

}  // namespace korvalin
