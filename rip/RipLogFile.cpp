#include "rip/RipLogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvalin {
namespace {

// Names tried before giving up: a folder holding this many logs of the same base is not normal.
constexpr int kMaxNames = 1000;

std::string Cause(int error) { return std::strerror(error); }

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string RipLogFailureText(const std::string& path, const std::string& cause) {
  return "Could not write the rip log \"" + path + "\": " + cause + ".";
}

RipLogFile::RipLogFile(std::string folder, std::string base) : folder_(std::move(folder)), base_(std::move(base)) {}

std::string RipLogFile::Candidate(int number) const {
  return folder_ + "/" + base_ + (number == 1 ? "-rip.log" : "-rip-" + std::to_string(number) + ".log");
}

bool RipLogFile::IsOurs(const std::string& path) const {
  struct stat st {};
  return !path_.empty() && path == path_ && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         st.st_dev == device_ && st.st_ino == inode_ && st.st_ctim.tv_sec == changed_.tv_sec &&
         st.st_ctim.tv_nsec == changed_.tv_nsec && st.st_size == size_;
}

void RipLogFile::Remember(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return;  // then IsOurs fails and the next write takes a new name
  device_ = st.st_dev;
  inode_ = st.st_ino;
  changed_ = st.st_ctim;
  size_ = st.st_size;
}

std::optional<std::string> RipLogFile::Write(const std::string& text) {
  const std::string shown = path_.empty() ? Candidate(1) : path_;
  // The temporary file is hidden and unique to this process; O_EXCL never opens another file.
  std::string temp;
  int fd = -1;
  for (int i = 0; i < kMaxNames && fd < 0; ++i) {
    temp = folder_ + "/." + base_ + "-rip.log." + std::to_string(::getpid()) + "-" + std::to_string(i) + ".tmp";
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && errno != EEXIST) return RipLogFailureText(shown, Cause(errno));
  }
  if (fd < 0) return RipLogFailureText(shown, Cause(EEXIST));
  const bool written = WriteAll(fd, text) && ::fdatasync(fd) == 0;
  const int writeError = errno;
  if (::close(fd) != 0 && written) {
    const int closeError = errno;
    ::unlink(temp.c_str());
    return RipLogFailureText(shown, Cause(closeError));
  }
  if (!written) {
    ::unlink(temp.c_str());
    return RipLogFailureText(shown, Cause(writeError));
  }
  std::optional<std::string> failure = Place(temp);
  ::unlink(temp.c_str());  // still there only when it was linked to a new name, or refused
  // Taken after the unlink, which changes the file's change time when it was linked.
  if (!failure) Remember(path_);
  return failure;
}

std::optional<std::string> RipLogFile::Place(const std::string& temp) {
  if (IsOurs(path_)) {
    if (::rename(temp.c_str(), path_.c_str()) != 0) return RipLogFailureText(path_, Cause(errno));
    return std::nullopt;
  }
  // A first version, or our earlier one was removed or replaced by someone else: a new name.
  // link() fails where anything stands, so no file is ever replaced.
  for (int number = 1; number <= kMaxNames; ++number) {
    const std::string name = Candidate(number);
    if (::link(temp.c_str(), name.c_str()) == 0) {
      path_ = name;
      return std::nullopt;
    }
    if (errno == EEXIST) continue;
    // File systems without hard links (a memory stick) can still move a file to a name only if
    // nothing stands there.
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
      path_ = name;
      return std::nullopt;
    }
    if (errno != EEXIST) return RipLogFailureText(name, Cause(errno));
  }
  return RipLogFailureText(Candidate(1), "every name for it is taken");
}

}  // namespace korvalin
