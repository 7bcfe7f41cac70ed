#include "platform/linux/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvalin {
namespace {

std::string NotRegular(mode_t mode) { return "is " + FileKindText(mode) + ", not a regular file"; }
std::string Unreadable(int err) { return std::string("cannot be read (") + std::strerror(err) + ")"; }

}  // namespace

std::string FileKindText(mode_t mode) {
  if (S_ISREG(mode)) return "a regular file";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  return "a special file";
}

RegularFile OpenRegularFile(const std::string& path) {
  RegularFile file;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    file.fault = Unreadable(errno);
    return file;
  }
  if (!S_ISREG(st.st_mode)) {
    file.fault = NotRegular(st.st_mode);
    return file;
  }
  // O_NONBLOCK: should a FIFO have taken the name since, the open returns at once instead of
  // waiting for a writer, and fstat refuses it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    file.fault = Unreadable(errno);
    return file;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = errno;
    file.fault = S_ISREG(st.st_mode) ? Unreadable(err) : NotRegular(st.st_mode);
    ::close(fd);
    return file;
  }
  // Reads of a regular file never wait anyway; clear the flag so that they behave as usual.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file.fd = fd;
  file.size = st.st_size;
  return file;
}

}  // namespace korvalin
