#pragma once
// Splitting file paths and creating destination folders. Paths use "/" and absolute paths
// begin with "/".

#include <string>

#include "controls/Window.h"
#include "platform/Dialogs.h"

namespace korvalin {

// The folder part of the path that SplitPathName last split, with its trailing "/", or "".
extern std::string LastFolder;

// The file name without its folder and without its last four characters (the extension, taken
// blindly). A path ending in "/" gives the whole path less four characters. Fewer than four
// characters to drop raise the invalid-argument error.
std::string FileTitleNoExt(const std::string& path);

// The file name of a path (the whole path when it has no "/" or ends in one); the folder part
// goes to LastFolder.
std::string SplitPathName(const std::string& path);

// Creates every folder along an absolute path. Shows the busy pointer meanwhile. On failure
// shows the "SETUP" message and returns false; folders made before the failing one stay.
// Does not change the current folder.
bool MakeDirectories(const std::string& path, Dialogs& dialogs, controls::Screen& screen);

}  // namespace korvalin
