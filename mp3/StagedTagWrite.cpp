#include "mp3/StagedTagWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "common/RaisedError.h"
#include "fileout/StagedOutput.h"

namespace korvalin {
namespace {

constexpr const char* kSource = "WriteId3v1Tag";
constexpr std::size_t kCopyBlock = 256 * 1024;

[[noreturn]] void Raise(int error) { throw RaisedError(ErrorFromErrno(error).Number(), std::strerror(error), kSource); }
[[noreturn]] void Raise(int error, const std::string& cause) {
  throw RaisedError(ErrorFromErrno(error).Number(), cause, kSource);
}

// Copies every byte of `from` into `to`; the error number of a failure, else 0.
int CopyFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (in < 0) return errno;
  const int out = ::open(to.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (out < 0) {
    const int error = errno;
    ::close(in);
    return error;
  }
  std::vector<char> buffer(kCopyBlock);
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) error = errno;
      break;
    }
    for (ssize_t done = 0; done < n && error == 0;) {
      const ssize_t w = ::write(out, buffer.data() + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) error = w < 0 ? errno : ENOSPC;
      else done += w;
    }
    if (error != 0) break;
  }
  ::close(in);
  if (::close(out) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace

std::string WriteId3v1TagStaged(const std::string& path, const Id3v1Fields& fields) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) throw ErrorFromErrno(errno, kSource);
  if (S_ISDIR(st.st_mode)) Raise(EISDIR, "it is a directory");
  if (!S_ISREG(st.st_mode)) Raise(EINVAL, "it is not a regular file");
  // The copy would only need the folder's permission; the file's own decides.
  if (::access(path.c_str(), W_OK) != 0) Raise(errno);

  StagedOutput staged(path);
  if (!staged.Create()) {
    // A folder that takes no new file: the tag goes into the file itself, which the tag writer
    // does without touching the audio.
    if (staged.Error() != EACCES && staged.Error() != EPERM) Raise(staged.Error(), staged.Cause());
    WriteId3v1Tag(path, fields);
    return path;
  }
  if (const int error = CopyFile(path, staged.WritePath()); error != 0) Raise(error);
  WriteId3v1Tag(staged.WritePath(), fields);
  if (!staged.Commit()) Raise(staged.Error(), staged.Cause());
  return staged.FinalPath();
}

}  // namespace korvalin
