#include "tests/support/SmallDisk.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace korvalin::test {
namespace {

bool WriteText(const char* path, const std::string& text) {
  const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  return ok;
}

// Enters a private mount namespace once per process; the empty text when it worked.
const std::string& EnterMountNamespace() {
  static const std::string failure = []() -> std::string {
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (uid == 0) {
      if (::unshare(CLONE_NEWNS) != 0) return std::string("no mount namespace: ") + std::strerror(errno);
    } else {
      // A user namespace in which this user is root may mount a tmpfs (a single-threaded process only).
      if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return std::string("no user namespace: ") + std::strerror(errno);
      WriteText("/proc/self/setgroups", "deny");
      if (!WriteText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
          !WriteText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
        return "cannot map the user into its namespace";
      }
    }
    // Mounts made from here on stay in this process.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      return std::string("cannot make mounts private: ") + std::strerror(errno);
    }
    return {};
  }();
  return failure;
}

}  // namespace

SmallDisk::SmallDisk(int64_t bytes) {
  why_ = EnterMountNamespace();
  if (!why_.empty()) return;
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
  if (::mount("korvalin-small-disk", folder_.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
    why_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
    return;
  }
  mounted_ = true;
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(folder_.Path().c_str(), MNT_DETACH);
}

int64_t SmallDisk::FreeBytes() const {
  struct statvfs st {};
  if (::statvfs(folder_.Path().c_str(), &st) != 0) throw std::runtime_error("statvfs failed on " + folder_.Path());
  return static_cast<int64_t>(st.f_bavail) * static_cast<int64_t>(st.f_frsize);
}

void SmallDisk::LeaveFree(int64_t bytes) {
  const std::string path = folder_ / (".filler-" + std::to_string(++fillers_));
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error("cannot create " + path);
  const std::vector<char> page(4096, '\0');
  while (FreeBytes() > bytes) {
    const auto n = static_cast<std::size_t>(std::min<int64_t>(4096, FreeBytes() - bytes));
    if (::write(fd, page.data(), n) <= 0) break;
  }
  ::close(fd);
}

void SmallDisk::MakeReadOnly() {
  if (::mount(nullptr, folder_.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) != 0) {
    throw std::runtime_error(std::string("cannot remount read-only: ") + std::strerror(errno));
  }
}

}  // namespace korvalin::test
