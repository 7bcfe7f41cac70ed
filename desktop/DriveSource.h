#pragma once
// Where the disk space figures come from: the machine's mounted file systems (System), or a
// stand-in with figures of one's choosing.

#include <cstdint>
#include <string>
#include <vector>

namespace korvalin {

class DriveSource {
 public:
  virtual ~DriveSource() = default;

  // The drive roots: mount points of real file systems, in mount-table order.
  virtual std::vector<std::string> DriveRoots() = 0;
  // Total and free bytes of the file system at strRoot; both 0 when it cannot be measured.
  virtual void DriveInfo(const std::string& strRoot, int64_t& lngTotalSpace, int64_t& lngFreeSpace) = 0;
  // "Fixed drive", "Removable drive", "CD-ROM drive", "Network drive", "RAM-disk", or "" for a
  // path that does not exist or is no drive.
  virtual std::string DriveType(const std::string& strRoot) = 0;
  // The mount point of the file system that holds the absolute `path` (a pseudo file system's
  // too, which is no drive); "" when none does. By default: the longest drive root above it.
  virtual std::string MountOf(const std::string& path);
};

}  // namespace korvalin
