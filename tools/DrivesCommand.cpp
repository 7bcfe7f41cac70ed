// korvalin-cli drives: the drive list as the main window shows it, and the tracks of each drive
// that opens.

#include <cstdio>
#include <exception>

#include "platform/linux/DiscFolders.h"
#include "rip/modAKRip32.h"
#include "tools/CliCommand.h"
#include "tools/DriveOptions.h"

namespace korvalin::cli {
namespace {

int Drives(const std::vector<std::string>& args) {
  if (!args.empty()) return Fail("drives takes no arguments");
  CdioLibrary library(CdioLibrary::FindDrives(DiscImageFolders()));
  modAKRip32 cd(library);
  int32_t adapters = -1;
  try {
    adapters = library.GetNumAdapters();
  } catch (const std::exception& e) {
    std::printf("%s\n", e.what());
    return 0;
  }
  for (int32_t i = 0; i <= adapters && i < 8; ++i) {
    // The list ends in a blank entry, as the window's list does; it is no drive and is not printed.
    const std::string line = DriveListText(cd.GetDriveEntry(i));
    if (line.empty()) continue;
    std::printf("%d: %s\n", i, line.c_str());
    if (!cd.OpenDrive(i)) {
      const std::string why = library.LastFault().empty() ? cd.LibraryErrorText() : library.LastFault();
      std::printf("   (no disc or no table of contents: %s)\n", why.c_str());
    } else {
      for (int32_t t = 1; t <= 99; ++t) {
        const int32_t first = cd.TrackFirstFrame(t), end = cd.TrackEndFrame(t);
        if (end <= first && t > 1) break;  // past the lead-out, the table holds zeros
        std::printf("   track %2d: frames %d to %d (%d frames)\n", t, first, end, end - first);
      }
    }
    cd.CloseDrive();
  }
  return 0;
}

const CliRegistration registration({"drives", "", "List the CD drives and disc images, with their tracks.", Drives});

}  // namespace
}  // namespace korvalin::cli
