#include "fileout/clsFileIo.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileout/WavHeader.h"

namespace korvalin {

clsFileIo::~clsFileIo() {
  // A dropped object never keeps a descriptor (or its lock) alive.
  if (IsOpen()) ::close(handle_);
}

bool clsFileIo::OpenFile(const std::string& name) {
  if (IsOpen()) ::close(handle_);  // reopening an object releases the earlier file first
  int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);  // someone else holds the file: no sharing
    fd = kInvalidHandle;
  }
  handle_ = fd < 0 ? kInvalidHandle : fd;
  closed_ = false;
  wrote_ = false;
  if (handle_ == kInvalidHandle) return false;
  fileName_ = name;
  return true;
}

bool clsFileIo::CloseFile() {
  if (fileName_.empty() || handle_ == kInvalidHandle) return false;
  if (closed_) {
    lastResult_ = 0;  // closing twice fails, as closing a released handle does
    return true;
  }
  lastResult_ = ::close(handle_) == 0 ? 1 : 0;
  closed_ = true;
  return true;
}

bool clsFileIo::FlushBuffers() {
  if (!IsOpen()) {
    lastResult_ = 0;
    return false;
  }
  // A special file that cannot be synchronised (/dev/null, a pipe) has nothing to flush.
  lastResult_ = ::fdatasync(handle_) == 0 || errno == EINVAL || errno == EROFS ? 1 : 0;
  if (lastResult_ == 0) lastError_ = errno;
  return lastResult_ != 0;
}

bool clsFileIo::PrepareFirstWrite() {
  if (wrote_) return true;
  struct stat st {};
  if (::fstat(handle_, &st) != 0) return false;
  if (S_ISREG(st.st_mode)) {  // devices and pipes have no old content to cut
    const off_t pos = ::lseek(handle_, 0, SEEK_CUR);
    if (pos < 0 || ::ftruncate(handle_, pos) != 0) return false;
  }
  wrote_ = true;
  return true;
}

bool clsFileIo::WriteAll(const void* address, int32_t size) {
  transferCount_ = 0;
  if (size < 0 || !PrepareFirstWrite()) {
    lastError_ = size < 0 ? EINVAL : errno;
    lastResult_ = 0;
    return false;
  }
  const auto* p = static_cast<const char*>(address);
  int32_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(handle_, p + done, static_cast<size_t>(size - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      lastError_ = errno;
      break;
    }
    if (n == 0) {
      lastError_ = ENOSPC;
      break;
    }
    done += static_cast<int32_t>(n);
  }
  if (done != size && done > 0) {
    // A write cut short (a full disk) is taken back, so that the file ends where a whole write
    // ended: a WAV never stops inside a frame, an MP3 never inside an encoder block.
    const off_t end = ::lseek(handle_, 0, SEEK_CUR);
    if (end >= done && ::ftruncate(handle_, end - done) == 0 && ::lseek(handle_, end - done, SEEK_SET) >= 0) done = 0;
  }
  transferCount_ = done;
  lastResult_ = done == size ? 1 : 0;
  return lastResult_ != 0;
}

bool clsFileIo::writeWavHeader(int64_t length) {
  const auto header = BuildCdWavHeader(length);  // raises before anything is written
  if (!IsOpen()) return false;
  if (!WriteAll(header.data(), static_cast<int32_t>(header.size()))) return false;
  return FlushBuffers();
}

bool clsFileIo::RewriteWavHeader(int64_t length) {
  const auto header = BuildCdWavHeader(length);
  if (!IsOpen()) return false;
  const ssize_t n = ::pwrite(handle_, header.data(), header.size(), 0);
  lastResult_ = n == static_cast<ssize_t>(header.size()) ? 1 : 0;
  if (lastResult_ == 0) {
    lastError_ = n < 0 ? errno : ENOSPC;
    return false;
  }
  return FlushBuffers();
}

bool clsFileIo::WriteBytes(const void* address, int32_t size) {
  if (!IsOpen()) return false;
  if (!WriteAll(address, size)) return false;
  return FlushBuffers();
}

int32_t clsFileIo::ReadBytes(void* address, int32_t size) {
  if (!IsOpen()) return 0;
  if (size < 0) return 0;
  auto* p = static_cast<char*>(address);
  int32_t done = 0;
  bool failed = false;
  while (done < size) {
    const ssize_t n = ::read(handle_, p + done, static_cast<size_t>(size - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      failed = true;
      break;
    }
    if (n == 0) break;  // end of file: success with fewer bytes
    done += static_cast<int32_t>(n);
  }
  transferCount_ = done;
  return failed ? 0 : 1;
}

bool RemoveIfEmpty(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0 && ::unlink(path.c_str()) == 0;
}

}  // namespace korvalin
