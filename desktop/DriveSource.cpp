#include "desktop/DriveSource.h"

#include "desktop/MountTable.h"

namespace korvalin {

std::string DriveSource::MountOf(const std::string& path) {
  std::string holder;
  for (const auto& root : DriveRoots()) {
    if (MountPointHolds(root, path) && root.size() >= holder.size()) holder = root;
  }
  return holder;
}

}  // namespace korvalin
