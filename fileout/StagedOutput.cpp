#include "fileout/StagedOutput.h"

#include "fileout/NameTemplate.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korvalin {
namespace {

constexpr const char* kKind = ".korvalin-";
constexpr const char* kSuffix = ".part";
// Room left in a 255-byte name for the marks around the target's name.
constexpr std::size_t kLongestNamePart = 200;
constexpr int kMostNumberedNames = 9999;

std::atomic<unsigned> sequence{0};

int64_t ChangedNs(const struct stat& st) { return st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec; }

std::size_t LastSlash(const std::string& path) { return path.rfind('/'); }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = LastSlash(path);
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool AllDigits(const std::string& text) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Moves `from` to `to` unless something already has that name (errno EEXIST then).
bool MoveNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without that kind of rename: a hard link is just as exclusive.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return true;
  }
  if (errno != EPERM && errno != ENOSYS) return false;
  // Nor hard links (FAT): look, then move.
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

StagedOutput::StagedOutput(std::string target) : target_(std::move(target)), realTarget_(target_), finalPath_(target_) {}

StagedOutput::~StagedOutput() { Discard(); }

bool StagedOutput::Fail(bool creating, int error) {
  error_ = error;
  cause_ = std::strerror(error);
  problem_ = (creating ? "cannot create " : "cannot write ") + target_ + ": " + cause_;
  return false;
}

bool StagedOutput::FailAs(const std::string& kind, int error) {
  error_ = error;
  cause_ = "it is " + kind;
  problem_ = target_ + " is " + kind;
  return false;
}

bool StagedOutput::Create() {
  struct stat st {};
  if (::lstat(target_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = ::realpath(target_.c_str(), nullptr)) {
      realTarget_ = real;
      std::free(real);
    }
  }
  mode_t mode = 0;
  if (::stat(realTarget_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return FailAs("a directory", EISDIR);
    if (S_ISFIFO(st.st_mode)) return FailAs("a FIFO, not a file", EINVAL);
    if (S_ISSOCK(st.st_mode)) return FailAs("a socket, not a file", EINVAL);
    if (!S_ISREG(st.st_mode)) {
      // A device has no name to move a file over: it is written directly.
      inPlace_ = true;
      writePath_ = realTarget_;
      return true;
    }
    existed_ = true;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    changedNs_ = ChangedNs(st);
    mode = st.st_mode & 07777;
  } else if (errno != ENOENT) {
    return Fail(true, errno);
  }

  RemoveStaleTemporaries(FolderOf(realTarget_));
  const std::size_t slash = LastSlash(realTarget_);
  const std::string folder = slash == std::string::npos ? std::string() : realTarget_.substr(0, slash + 1);
  const std::string name = realTarget_.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, kLongestNamePart);
  const std::string stem = folder + "." + name + kKind + std::to_string(::getpid()) + "-";
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    const std::string candidate = stem + std::to_string(sequence++) + kSuffix;
    fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) writePath_ = candidate;
    else if (errno != EEXIST) break;
  }
  if (fd < 0) return Fail(true, errno);
  // The file that replaces another keeps its permissions.
  if (existed_) (void)::fchmod(fd, mode);
  ::close(fd);
  pending_ = true;
  return true;
}

bool StagedOutput::Commit() {
  if (inPlace_) return true;
  if (!pending_) return Fail(false, EBADF);
  // What the new name shows must be on the disk before the old file is let go.
  const int fd = ::open(writePath_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fdatasync(fd) != 0) {
    const int error = errno;
    if (fd >= 0) ::close(fd);
    Discard();
    return Fail(false, error);
  }
  ::close(fd);

  struct stat st {};
  if (existed_ && ::lstat(realTarget_.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == device_ &&
      st.st_ino == inode_ && ChangedNs(st) == changedNs_) {
    // Still the file the job set out to replace.
    if (::rename(writePath_.c_str(), realTarget_.c_str()) != 0) {
      const int error = errno;
      Discard();
      return Fail(false, error);
    }
    pending_ = false;
    finalPath_ = target_;
    return true;
  }
  return MoveToFreeName();
}

bool StagedOutput::MoveToFreeName() {
  for (int n = 1; n <= kMostNumberedNames; ++n) {
    const std::string name = n == 1 ? realTarget_ : NumberedName(realTarget_, n);
    if (MoveNoReplace(writePath_, name)) {
      pending_ = false;
      renamed_ = n > 1;
      finalPath_ = n == 1 ? target_ : name;
      return true;
    }
    if (errno != EEXIST) break;
  }
  const int error = errno;
  Discard();
  return Fail(false, error);
}

void StagedOutput::Discard() {
  if (pending_) ::unlink(writePath_.c_str());
  pending_ = false;
}

std::string NumberedName(const std::string& path, int number) {
  const std::size_t slash = LastSlash(path);
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = path.rfind('.');
  // A dot that starts the name (".hidden") or lies in a folder's name is no extension.
  if (dot == std::string::npos || dot <= nameStart) dot = path.size();
  const std::string tail = " (" + std::to_string(number) + ")" + path.substr(dot);
  // A name at the file system's limit stays within it: its stem gives way to the number.
  const std::size_t room = tail.size() < kLongestNameBytes ? kLongestNameBytes - tail.size() : 0;
  return path.substr(0, nameStart) + CutAtCharacter(path.substr(nameStart, dot - nameStart), room) + tail;
}

bool IsStagedTemporaryName(const std::string& name, long& pid) {
  const std::size_t suffixLength = std::strlen(kSuffix);
  if (name.size() < 2 + suffixLength || name[0] != '.' ||
      name.compare(name.size() - suffixLength, suffixLength, kSuffix) != 0) {
    return false;
  }
  const std::size_t kind = name.rfind(kKind);
  if (kind == std::string::npos || kind == 0) return false;
  const std::size_t start = kind + std::strlen(kKind);
  const std::string marks = name.substr(start, name.size() - suffixLength - start);  // "<pid>-<sequence>"
  const std::size_t dash = marks.find('-');
  if (dash == std::string::npos || !AllDigits(marks.substr(0, dash)) || !AllDigits(marks.substr(dash + 1))) return false;
  pid = std::strtol(marks.substr(0, dash).c_str(), nullptr, 10);
  return pid > 0;
}

int RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  int removed = 0;
  const long self = ::getpid();
  while (const dirent* entry = ::readdir(dir)) {
    long pid = 0;
    if (!IsStagedTemporaryName(entry->d_name, pid) || pid == self) continue;
    // Only a process that no longer exists has given up its file; any other answer keeps it.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace korvalin
