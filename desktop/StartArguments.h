#pragma once
// What the program is given on its command line, as a file manager's "Open with" hands it over:
// WAV and MP3 files, which join the collection as if chosen in the File Finder, and an audio CD's
// drive, which becomes the chosen drive. Anything else is named in a sentence for standard error
// and left out; the program starts all the same.

#include <cstdint>
#include <string>
#include <vector>

namespace korvalin {

struct StartArguments {
  std::vector<std::string> files;       // WAV and MP3 files, in the order given
  int32_t drive = -1;                   // the drive list's line of the drive given; -1 for none
  std::vector<std::string> complaints;  // one sentence for each argument left out
  bool help = false;                    // --help: say how to call the program and end
};

// `drivePaths` are the drive list's devices and disc images, in its order. A drive is named by
// its device ("/dev/cdrom", a link to it, or "/dev/sr0"), by a "cdda://sr0" address or by the
// folder a desktop mounts an audio CD at (".../gvfs/cdda:host=sr0"). "file://" addresses are
// taken as their paths.
StartArguments ReadStartArguments(const std::vector<std::string>& args, const std::vector<std::string>& drivePaths);

inline constexpr const char* kStartUsage =
    "Usage: korvalin [FILE.wav | FILE.mp3 | CD-DEVICE]...\n"
    "Starts the program; WAV and MP3 files named join the collection, a CD drive's device (such as\n"
    "/dev/sr0) becomes the chosen drive.\n";

}  // namespace korvalin
