#include "platform/linux/DiscFolderDrives.h"

#include "platform/UserFolders.h"

namespace korvalin {

std::vector<CdDriveSource> FindDrivesIn(const std::vector<std::string>& discFolders) {
  if (discFolders.empty()) return CdioLibrary::FindDrives("");
  std::vector<CdDriveSource> drives = CdioLibrary::FindDrives(discFolders.front());
  // Every listing starts with the real drives again; take only the images of the later folders.
  for (std::size_t i = 1; i < discFolders.size(); ++i) {
    for (CdDriveSource& drive : CdioLibrary::FindDrives(discFolders[i])) {
      if (drive.isImage) drives.push_back(std::move(drive));
    }
  }
  return drives;
}

std::vector<CdDriveSource> FindProgramDrives(const std::string& programFolder) {
  return FindDrivesIn(DiscFolders(programFolder));
}

}  // namespace korvalin
