#include "collection/FileRename.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "common/RaisedError.h"

namespace korvalin {

void RenameFile(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
  const int err = errno;
  if (err != EINVAL && err != ENOSYS) throw ErrorFromErrno(err);
  // A file system that cannot refuse the replacement itself: look first.
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) throw ErrorFromErrno(EEXIST);
  if (::rename(from.c_str(), to.c_str()) != 0) throw ErrorFromErrno(errno);
}

}  // namespace korvalin
