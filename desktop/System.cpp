#include "desktop/System.h"

#include <pwd.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/sysmacros.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "desktop/MountTable.h"

namespace korvalin {
namespace fs = std::filesystem;

namespace {

// The block device under a file system: its kernel name and whether its medium is removable.
struct BlockDevice {
  dev_t number = 0;
  std::string name;
  bool removable = false;
};

std::string FirstLineOf(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The block device that holds the file system of a path whose stat is `st`, mounted from `device`.
// File systems on a disk carry the disk's number; others (an overlay, a network share, some
// multi-disk file systems) carry a number of their own, so the mounted device is asked instead.
BlockDevice BlockDeviceOf(const struct stat& st, const std::string& device) {
  BlockDevice dev;
  if (major(st.st_dev) != 0) {
    dev.number = st.st_dev;
  } else {
    struct stat ds {};
    if (::stat(device.c_str(), &ds) == 0 && S_ISBLK(ds.st_mode)) dev.number = ds.st_rdev;
  }
  if (dev.number == 0) return dev;
  const fs::path sys =
      "/sys/dev/block/" + std::to_string(major(dev.number)) + ":" + std::to_string(minor(dev.number));
  std::error_code ec;
  const fs::path real = fs::canonical(sys, ec);
  if (ec) return {};
  dev.name = real.filename();
  // A partition has no removable flag of its own: the disk it belongs to (its parent) has it.
  fs::path flag = real / "removable";
  if (!fs::exists(flag, ec) && fs::exists(real / "partition", ec)) flag = real.parent_path() / "removable";
  dev.removable = FirstLineOf(flag) == "1";
  return dev;
}

// The mount holding an existing path and the path's stat; false when the path does not exist.
bool Locate(const std::string& root, struct stat& st, Mount& mount) {
  if (root.empty() || ::stat(root.c_str(), &st) != 0) return false;
  std::error_code ec;
  const fs::path real = fs::canonical(root, ec);
  const auto mounts = ReadMountTable();
  const Mount* m = MountHolding(mounts, ec ? root : real.string());
  if (!m) return false;
  mount = *m;
  return true;
}

// The name of the link in `folder` (one of /dev/disk/by-*) that leads to block device `number`.
std::string LinkTo(const char* folder, dev_t number) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    struct stat st {};
    if (::stat(it->path().c_str(), &st) == 0 && S_ISBLK(st.st_mode) && st.st_rdev == number) {
      return DecodeLinkName(it->path().filename());
    }
  }
  return {};
}

std::string WithoutTrailingBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// A folder as the folder queries give it: "" when there is none, else ending in "/".
std::string FolderText(const std::string& folder) {
  std::string text = WithoutTrailingBlanks(folder.substr(0, folder.find('\0')));
  if (text.empty()) return text;
  if (text.back() != '/') text += '/';
  return text;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

// --- drives ------------------------------------------------------------------------------------

void System::DriveInfo(const std::string& strRoot, int64_t& lngTotalSpace, int64_t& lngFreeSpace) {
  lngTotalSpace = 0;
  lngFreeSpace = 0;
  struct statvfs v {};
  if (strRoot.empty() || ::statvfs(strRoot.c_str(), &v) != 0) return;
  const auto unit = static_cast<int64_t>(v.f_frsize ? v.f_frsize : v.f_bsize);
  lngTotalSpace = unit * static_cast<int64_t>(v.f_blocks);
  lngFreeSpace = unit * static_cast<int64_t>(v.f_bavail);
}

void System::Drives(int16_t& intRemovable, int16_t& intNotRemovable, int16_t& intCD, int16_t& intRAM,
                    int16_t& intNetwork) {
  for (const auto& root : DriveRoots()) {
    const std::string type = DriveType(root);
    if (type == "Removable drive") ++intRemovable;
    if (type == "Fixed drive") ++intNotRemovable;
    if (type == "CD-ROM drive") ++intCD;
    if (type == "RAM-disk") ++intRAM;
    if (type == "Network drive") ++intNetwork;
  }
}

std::string System::DriveType(const std::string& strRoot) {
  struct stat st {};
  Mount mount;
  if (!Locate(strRoot, st, mount)) return "";
  const BlockDevice dev = BlockDeviceOf(st, mount.device);
  return DriveTypeText(mount.type, dev.name, dev.removable);
}

std::vector<std::string> System::DriveRoots() {
  std::vector<std::string> roots;
  std::set<std::string> seen;
  for (const auto& m : ReadMountTable()) {
    if (IsPseudoFileSystem(m.type) || seen.count(m.point)) continue;
    // Single files mounted over others (a container's /etc/hosts) are no drives.
    struct stat st {};
    if (::stat(m.point.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    seen.insert(m.point);
    roots.push_back(m.point);
  }
  return roots;
}

std::string System::MountOf(const std::string& path) {
  const auto mounts = ReadMountTable();
  const Mount* m = MountHolding(mounts, path);
  return m ? m->point : "";
}

std::string DriveTypeText(const std::string& fsType, const std::string& blockName, bool removable) {
  static const std::set<std::string> network{"nfs",   "nfs4",      "cifs",           "smb3",        "smbfs",
                                             "ncpfs", "afs",       "ceph",           "glusterfs",   "9p",
                                             "davfs", "lustre",    "fuse.glusterfs", "fuse.sshfs",  "sshfs",
                                             "fuse.rclone", "fuse.s3fs", "fuse.davfs2"};
  if (fsType == "tmpfs" || fsType == "ramfs") return "RAM-disk";
  if (network.count(fsType)) return "Network drive";
  if (fsType.empty() || IsPseudoFileSystem(fsType)) return "";
  if (fsType == "iso9660" || fsType == "udf" || StartsWith(blockName, "sr")) return "CD-ROM drive";
  if (removable) return "Removable drive";
  return "Fixed drive";
}

std::string System::PutPoints(int64_t lngNumber) {
  const bool negative = lngNumber < 0;
  // Digits of the magnitude, also for the most negative number.
  std::string digits = std::to_string(lngNumber);
  if (negative) digits.erase(0, 1);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += '.';
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

int64_t System::FastDiskSpace(const std::string& strRoot) {
  int64_t total = 0;
  int64_t free = 0;
  DriveInfo(strRoot, total, free);
  return free;
}

// --- memory, keyboard, processors ------------------------------------------------------------------

void System::FreeMemory(uint8_t& btePercentUsed, int64_t& lngTotalRam, int64_t& lngFreeRam) {
  btePercentUsed = 0;
  lngTotalRam = 0;
  lngFreeRam = 0;
  struct sysinfo si {};
  if (::sysinfo(&si) != 0 || si.totalram == 0) return;
  const int64_t unit = si.mem_unit ? si.mem_unit : 1;
  const int64_t total = static_cast<int64_t>(si.totalram) * unit;
  // "Available" counts the caches the kernel gives back on demand; older kernels lack the line.
  int64_t available = (static_cast<int64_t>(si.freeram) + static_cast<int64_t>(si.bufferram)) * unit;
  std::ifstream meminfo("/proc/meminfo");
  for (std::string key; meminfo >> key;) {
    int64_t kb = 0;
    meminfo >> kb;
    if (key == "MemAvailable:") {
      available = kb * 1024;
      break;
    }
    meminfo.ignore(1 << 12, '\n');
  }
  if (available > total) available = total;
  btePercentUsed = static_cast<uint8_t>(((total - available) * 100 + total / 2) / total);
  lngTotalRam = (total + 512) / 1024;
  lngFreeRam = (available + 512) / 1024;
}

uint8_t System::FunctionKeys() { return 12; }

std::string System::KeyboardType() { return KeyboardTypeText(4); }

std::string System::KeyboardTypeText(int32_t type) {
  switch (type) {
    case 1: return "IBM PC/XT or compatible (83 key)";
    case 2: return "Olivetti \"ico\" (102 key)";
    case 3: return "IBM PC/AT or compatible (84 key)";
    case 4: return "IBM enhanced (101 or 102 key)";
    case 5: return "Nokia 1050 or compatible";
    case 6: return "Nokia 9140 or compatible";
    case 7: return "Japanese";
    default: return "";
  }
}

void System::SystemInfo(std::string& strProcessor, int32_t& lngNumOfProcessors, int64_t& lngActiveProcessor) {
  // The model line has a different name on different processor families.
  std::ifstream cpuinfo("/proc/cpuinfo");
  for (std::string line; std::getline(cpuinfo, line);) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string key = WithoutTrailingBlanks(line.substr(0, colon));
    while (!key.empty() && key.back() == '\t') key.pop_back();
    if (key == "model name" || key == "Processor" || key == "cpu model") {
      const auto start = line.find_first_not_of(" \t", colon + 1);
      if (start != std::string::npos) {
        strProcessor = line.substr(start);
        break;
      }
    }
  }
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  lngNumOfProcessors = online > 0 ? static_cast<int32_t>(online) : 1;
  lngActiveProcessor = 0;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) == 0) {
    for (int cpu = 0; cpu < 64; ++cpu) {
      if (CPU_ISSET(cpu, &set)) lngActiveProcessor |= int64_t{1} << cpu;
    }
  }
}

// --- folders and names ---------------------------------------------------------------------------

std::string System::TempDir() {
  const char* tmp = std::getenv("TMPDIR");
  return FolderText(tmp && *tmp ? tmp : "/tmp");
}

std::string System::SystemDir() { return FolderText("/usr/lib"); }

std::string System::WinDir() { return FolderText("/etc"); }

std::string System::ComputerName() {
  char buffer[256] = {};
  if (::gethostname(buffer, sizeof buffer - 1) != 0) return "";
  return WithoutTrailingBlanks(BeforeNul(buffer, sizeof buffer));
}

std::string System::UserName() {
  const struct passwd* pw = ::getpwuid(::geteuid());
  if (!pw || !pw->pw_name) return "";
  return WithoutTrailingBlanks(pw->pw_name);
}

std::string System::SerialNumber(const std::string& strRoot) {
  struct stat st {};
  Mount mount;
  if (!Locate(strRoot, st, mount)) return "0000-0000";
  const BlockDevice dev = BlockDeviceOf(st, mount.device);
  return SerialFromUuid(dev.number ? LinkTo("/dev/disk/by-uuid", dev.number) : "");
}

std::string System::VolumeLabel(const std::string& strRoot) {
  struct stat st {};
  Mount mount;
  if (!Locate(strRoot, st, mount)) return "";
  const BlockDevice dev = BlockDeviceOf(st, mount.device);
  const std::string label = dev.number ? LinkTo("/dev/disk/by-label", dev.number) : "";
  const std::string text = BeforeNul(label.data(), label.size());
  return text.empty() ? "NoName" : text;
}

void System::WinVer(int32_t& intMajor, int32_t& intMinor, std::string& strPlatform) {
  intMajor = 0;
  intMinor = 0;
  strPlatform.clear();
  struct utsname u {};
  if (::uname(&u) != 0) return;
  const std::string release = BeforeNul(u.release, sizeof u.release);
  char* end = nullptr;
  intMajor = static_cast<int32_t>(std::strtol(release.c_str(), &end, 10));
  if (end && *end == '.') intMinor = static_cast<int32_t>(std::strtol(end + 1, nullptr, 10));
  strPlatform = BeforeNul(u.sysname, sizeof u.sysname) + " " + std::to_string(intMajor) + "." + std::to_string(intMinor);
}

std::string System::BeforeNul(const char* buffer, std::size_t size) {
  std::size_t n = 0;
  while (n < size && buffer[n] != '\0') ++n;
  return std::string(buffer, n);
}

// --- helpers -------------------------------------------------------------------------------------

std::string SerialFromUuid(const std::string& uuid) {
  std::string hex;
  for (char c : uuid) {
    if (std::isxdigit(static_cast<unsigned char>(c))) hex += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (hex.size() == 8) break;
  }
  if (hex.empty()) return "0000-0000";
  hex.insert(0, 8 - hex.size(), '0');
  return hex.substr(0, 4) + "-" + hex.substr(4);
}

std::string DecodeLinkName(const std::string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
        std::isxdigit(static_cast<unsigned char>(name[i + 2])) && std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
      out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      out += name[i];
    }
  }
  return out;
}

}  // namespace korvalin
