#include "desktop/MountTable.h"

#include <fstream>
#include <set>
#include <sstream>

namespace korvalin {
namespace {

// "\040" and its kin back to the character they stand for.
std::string DecodeOctalEscapes(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      bool octal = true;
      for (char c : digits) octal = octal && c >= '0' && c <= '7';
      if (octal) {
        out += static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) | (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

}  // namespace

std::vector<Mount> ParseMountTable(std::string_view text) {
  std::vector<Mount> mounts;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::istringstream line{std::string(text.substr(start, end - start))};
    std::string device, point, type;
    if (line >> device >> point >> type) {
      mounts.push_back({DecodeOctalEscapes(device), DecodeOctalEscapes(point), DecodeOctalEscapes(type)});
    }
    start = end + 1;
  }
  return mounts;
}

std::vector<Mount> ReadMountTable() {
  std::ifstream in("/proc/self/mounts");
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return ParseMountTable(text.str());
}

bool IsPseudoFileSystem(const std::string& type) {
  static const std::set<std::string> pseudo{
      "proc",     "sysfs",     "devtmpfs",   "devpts",          "cgroup",      "cgroup2",    "mqueue",
      "debugfs",  "tracefs",   "securityfs", "pstore",          "bpf",         "configfs",   "fusectl",
      "hugetlbfs", "autofs",   "binfmt_misc", "efivarfs",       "rpc_pipefs",  "nsfs",       "selinuxfs",
      "nfsd",     "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs",
      // Read-only images of installed software packages, mounted one per package.
      "squashfs"};
  return pseudo.count(type) != 0;
}

bool MountPointHolds(const std::string& point, const std::string& path) {
  if (point.empty() || path.compare(0, point.size(), point) != 0) return false;
  if (path.size() == point.size() || point.back() == '/') return true;
  return path[point.size()] == '/';
}

const Mount* MountHolding(const std::vector<Mount>& mounts, const std::string& path) {
  const Mount* best = nullptr;
  for (const auto& m : mounts) {
    if (MountPointHolds(m.point, path) && (!best || m.point.size() >= best->point.size())) best = &m;
  }
  return best;
}

}  // namespace korvalin
