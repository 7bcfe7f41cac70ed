#pragma once
// The mounted file systems, as the kernel lists them for this process. They take the place of
// drive letters: a "drive root" is the mount point of a real (not pseudo) file system.

#include <string>
#include <string_view>
#include <vector>

namespace korvalin {

struct Mount {
  std::string device;  // what is mounted: "/dev/sda1", "server:/export", "tmpfs"
  std::string point;   // where: "/", "/home", "/media/usb stick"
  std::string type;    // the file system type: "ext4", "nfs4", "tmpfs"
};

// The entries of a mount table text (the format of /proc/self/mounts), in order. Blanks, tabs,
// newlines and backslashes in names come escaped as octal (\040) and are decoded.
std::vector<Mount> ParseMountTable(std::string_view text);

// The kernel's table for this process; empty when it cannot be read.
std::vector<Mount> ReadMountTable();

// File systems that hold no user files: the kernel's views of processes, devices, control groups
// and the like. They are never drives.
bool IsPseudoFileSystem(const std::string& type);

// Whether `point` is `path` itself or a folder above it, compared by whole path components.
bool MountPointHolds(const std::string& point, const std::string& path);

// The entry whose mount point holds `path` most closely (the longest one; of equal ones the last,
// which is the one mounted on top); nullptr when none does.
const Mount* MountHolding(const std::vector<Mount>& mounts, const std::string& path);

}  // namespace korvalin
