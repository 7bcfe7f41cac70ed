#include "desktop/DriveSurvey.h"

#include <filesystem>
#include <vector>

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

// The free megabytes of a fixed drive that answers; none for any other root.
std::optional<int64_t> Measure(DriveSource& drives, const std::string& root) {
  int64_t total = 0;
  int64_t free = 0;
  drives.DriveInfo(root, total, free);
  if (total == 0 || drives.DriveType(root) != "Fixed drive") return std::nullopt;
  return FreeMegabytes(free);
}

}  // namespace

void DriveSurvey::Run(DriveSource& drives, const std::string& destination) {
  listing_.clear();
  std::vector<std::string> roots = drives.DriveRoots();

  // The destination's drive is the mount that holds it, not just any root it begins with, and
  // never the one it was on before.
  const std::string destinationRoot = destination.empty() ? "" : drives.MountOf(ResolvedPath(destination));
  if (destinationRoot != destinationRoot_) {
    destinationRoot_ = destinationRoot;
    destinationMb_.reset();
  }

  if (roots.size() > kMaxRoots) roots.resize(kMaxRoots);
  bool destinationSurveyed = false;
  for (const auto& root : roots) {
    const std::optional<int64_t> mb = Measure(drives, root);
    if (root == destinationRoot_) destinationSurveyed = true;
    if (!mb) continue;
    listing_ += root + " - " + std::to_string(*mb) + " MB available\r\n";
    if (root == destinationRoot_) destinationMb_ = mb;
  }
  // A destination beyond the listed roots is measured all the same.
  if (!destinationRoot_.empty() && !destinationSurveyed) {
    if (const std::optional<int64_t> mb = Measure(drives, destinationRoot_)) destinationMb_ = mb;
  }
}

}  // namespace korvalin
