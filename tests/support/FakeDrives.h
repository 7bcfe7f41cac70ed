#pragma once
// Drives with figures of the test's choosing, in the order given.

#include <string>
#include <vector>

#include "desktop/DriveSource.h"
#include "desktop/MountTable.h"

namespace korvalin::test {

struct FakeDrive {
  std::string root;
  int64_t total = 0;
  int64_t free = 0;
  std::string type = "Fixed drive";
};

class FakeDrives : public DriveSource {
 public:
  std::vector<std::string> DriveRoots() override {
    std::vector<std::string> roots;
    for (const auto& d : drives) roots.push_back(d.root);
    return roots;
  }
  void DriveInfo(const std::string& strRoot, int64_t& lngTotalSpace, int64_t& lngFreeSpace) override {
    measured.push_back(strRoot);
    lngTotalSpace = lngFreeSpace = 0;
    if (const FakeDrive* d = Find(strRoot)) {
      lngTotalSpace = d->total;
      lngFreeSpace = d->free;
    }
  }
  std::string DriveType(const std::string& strRoot) override {
    const FakeDrive* d = Find(strRoot);
    return d ? d->type : "";
  }
  // The longest of the drive roots and `pseudoMounts` above the path.
  std::string MountOf(const std::string& path) override {
    std::string holder = DriveSource::MountOf(path);
    for (const auto& point : pseudoMounts) {
      if (MountPointHolds(point, path) && point.size() >= holder.size()) holder = point;
    }
    return holder;
  }

  FakeDrive& operator[](const std::string& root) {
    for (auto& d : drives) {
      if (d.root == root) return d;
    }
    return drives.emplace_back(FakeDrive{root});
  }

  std::vector<FakeDrive> drives;
  // Mounted file systems that are no drives (a desktop's network share mounted through a user
  // file system, say): they hold paths, but are never listed or measured.
  std::vector<std::string> pseudoMounts;
  std::vector<std::string> measured;  // every root DriveInfo was asked about, in order

 private:
  const FakeDrive* Find(const std::string& root) const {
    for (const auto& d : drives) {
      if (d.root == root) return &d;
    }
    return nullptr;
  }
};

}  // namespace korvalin::test
