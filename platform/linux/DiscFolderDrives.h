#pragma once
// The drive list of the program and its command-line companion: the CD drives the system has,
// then the disc images of every disc folder in order (the program's own, then the user's).

#include <string>
#include <vector>

#include "platform/linux/CdioLibrary.h"

namespace korvalin {

std::vector<CdDriveSource> FindDrivesIn(const std::vector<std::string>& discFolders);

// FindDrivesIn(DiscFolders(programFolder)).
std::vector<CdDriveSource> FindProgramDrives(const std::string& programFolder);

}  // namespace korvalin
