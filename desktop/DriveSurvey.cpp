#include "desktop/DriveSurvey.h"

#include <filesystem>
#include <vector>

#include "desktop/MountTable.h"

namespace korvalin {

int64_t FreeMegabytes(int64_t bytes) {
  constexpr int64_t kMegabyte = 1000000;
  int64_t mb = bytes / kMegabyte;
  const int64_t rest = bytes % kMegabyte;
  if (rest > kMegabyte / 2 || (rest == kMegabyte / 2 && mb % 2 != 0)) ++mb;
  return mb;
}

namespace {

// The destination as the mount table names it: absolute, with links and "." and ".." resolved
// as far as the path exists.
std::string ResolvedPath(const std::string& path) {
  std::error_code ec;
  const auto resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  return ec ? path : resolved.string();
}

}  // namespace

void DriveSurvey::Run(DriveSource& drives, const std::string& destination) {
  listing_.clear();
  std::vector<std::string> roots = drives.DriveRoots();
  if (roots.size() > kMaxRoots) roots.resize(kMaxRoots);

  // The destination's drive is the mount that holds it, not just any root it begins with.
  std::string destinationRoot;
  if (!destination.empty()) {
    const std::string path = ResolvedPath(destination);
    for (const auto& root : roots) {
      if (MountPointHolds(root, path) && root.size() >= destinationRoot.size()) destinationRoot = root;
    }
  }

  for (const auto& root : roots) {
    int64_t total = 0;
    int64_t free = 0;
    drives.DriveInfo(root, total, free);
    if (total == 0) continue;
    if (drives.DriveType(root) != "Fixed drive") continue;
    const int64_t mb = FreeMegabytes(free);
    listing_ += root + " - " + std::to_string(mb) + " MB available\r\n";
    if (!destinationRoot.empty() && root == destinationRoot) {
      destinationRoot_ = root;
      destinationMb_ = mb;
    }
  }
}

}  // namespace korvalin
