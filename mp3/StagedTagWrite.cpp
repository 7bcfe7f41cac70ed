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

constexpr const char* kId3v2Source = "WriteId3v2Tag";

[[noreturn]] void Raise(int error, const char* source = kSource) {
  throw RaisedError(ErrorFromErrno(error).Number(), std::strerror(error), source);
}
[[noreturn]] void Raise(int error, const std::string& cause, const char* source = kSource) {
  throw RaisedError(ErrorFromErrno(error).Number(), cause, source);
}

// The length of the ID3v2 tag at the start of the file (0 when there is none), or -1 when its
// header does not say where it ends.
int64_t Id3v2Length(const std::string& path, int64_t fileSize) {
  unsigned char header[10] = {};
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) Raise(errno, kId3v2Source);
  const ssize_t got = ::pread(fd, header, sizeof header, 0);
  ::close(fd);
  if (got < static_cast<ssize_t>(sizeof header) || std::memcmp(header, "ID3", 3) != 0) return 0;
  int64_t size = 0;
  for (int i = 6; i < 10; ++i) {
    if (header[i] & 0x80) return -1;  // a tag's size has seven bits a byte
    size = (size << 7) | header[i];
  }
  const bool footer = header[3] == 4 && (header[5] & 0x10) != 0;
  const int64_t length = 10 + size + (footer ? 10 : 0);
  return length <= fileSize ? length : -1;
}

// Writes all of `data`; the error number of a failure, else 0.
int WriteAll(int fd, const char* data, std::size_t size) {
  for (std::size_t done = 0; done < size;) {
    const ssize_t w = ::write(fd, data + done, size - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return w < 0 ? errno : ENOSPC;
    done += static_cast<std::size_t>(w);
  }
  return 0;
}

// Copies `prefix`, then every byte of `from` after its first `skip`, into `to`; the error number
// of a failure, else 0.
int CopyFile(const std::string& from, const std::string& to, const std::string& prefix = {}, off_t skip = 0) {
  const int in = ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (in < 0) return errno;
  const int out = ::open(to.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (out < 0) {
    const int error = errno;
    ::close(in);
    return error;
  }
  std::vector<char> buffer(kCopyBlock);
  int error = WriteAll(out, prefix.data(), prefix.size());
  if (error == 0 && skip > 0 && ::lseek(in, skip, SEEK_SET) != skip) error = errno;
  while (error == 0) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) error = errno;
      break;
    }
    error = WriteAll(out, buffer.data(), static_cast<std::size_t>(n));
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

std::string WriteId3v2TagStaged(const std::string& path, const std::vector<uint8_t>& block) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) throw ErrorFromErrno(errno, kId3v2Source);
  if (S_ISDIR(st.st_mode)) Raise(EISDIR, "it is a directory", kId3v2Source);
  if (!S_ISREG(st.st_mode)) Raise(EINVAL, "it is not a regular file", kId3v2Source);
  if (::access(path.c_str(), W_OK) != 0) Raise(errno, kId3v2Source);
  if (block.size() < 10 || std::memcmp(block.data(), "ID3", 3) != 0) Raise(EINVAL, "no ID3v2 tag to write", kId3v2Source);
  const int64_t old = Id3v2Length(path, st.st_size);
  if (old < 0) Raise(EINVAL, "its ID3v2 tag is damaged: where the audio starts is unknown", kId3v2Source);

  // The tag comes before the audio: the file is always written anew beside it.
  StagedOutput staged(path);
  if (!staged.Create()) Raise(staged.Error(), staged.Cause(), kId3v2Source);
  const std::string prefix(block.begin(), block.end());
  if (const int error = CopyFile(path, staged.WritePath(), prefix, static_cast<off_t>(old)); error != 0) {
    Raise(error, kId3v2Source);
  }
  if (!staged.Commit()) Raise(staged.Error(), staged.Cause(), kId3v2Source);
  return staged.FinalPath();
}

}  // namespace korvalin
