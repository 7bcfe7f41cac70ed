#include "desktop/DestroyFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

constexpr const char* kSource = "p_DestroyFile";
constexpr double kPauseSeconds = 0.2;

[[noreturn]] void Fail(int err) { throw ErrorFromErrno(err, kSource); }

// Opens the file as a writer would, to be sure nobody holds it and it may be changed. A link is
// never followed: opening with create through a dangling link would make a file at its target.
// A link passes: it is removed as it is, its target untouched.
void CheckCanOpen(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int openError = errno;
    struct stat st {};
    if (openError == ELOOP && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return;
    Fail(openError);
  }
  struct stat st {};
  int err = 0;
  if (::fstat(fd, &st) != 0) {
    err = errno;
  } else if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    // Write-protected: refused for every user alike, the superuser included.
    err = EACCES;
  } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    err = errno;  // another writer has it open
  }
  ::close(fd);
  if (err != 0) Fail(err);
}

}  // namespace

void p_DestroyFile(const std::string& DFile, EventLoop& loop) {
  CheckCanOpen(DFile);
  if (::unlink(DFile.c_str()) != 0) Fail(errno);
  try {
    PauseYielding(loop, kPauseSeconds);
  } catch (const RaisedError& e) {
    throw e.WithSource(kSource);
  }
}

}  // namespace korvalin
