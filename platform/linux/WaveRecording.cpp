#include "platform/linux/WaveRecording.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "fileout/WavHeader.h"

namespace korvalin {
namespace {

// Writes as much of `data` as the file takes; the number of bytes written. When that is short,
// errno says why.
std::size_t WriteSome(int fd, const char* data, std::size_t length) {
  std::size_t done = 0;
  while (done < length) {
    const ssize_t n = ::write(fd, data + done, length - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool WriteAll(int fd, const char* data, std::size_t length) { return WriteSome(fd, data, length) == length; }

// The system's words for an error number ("No space left on device").
std::string Reason(int error) { return std::error_code(error, std::generic_category()).message(); }

bool DiskFull(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

std::string SpoolFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

// An unnamed file in the temporary folder: nothing of it is left behind, whatever happens.
int MakeSpool() {
  const std::string folder = SpoolFolder();
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  std::string name = folder + "/korvalin-capture-XXXXXX";
  fd = ::mkstemp(name.data());
  if (fd >= 0) ::unlink(name.c_str());
  return fd;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return !a.empty() && std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

bool IsRecordableFormat(const WaveFormat& f) {
  if (f.samplesPerSecond <= 0 || f.samplesPerSecond > 192000) return false;
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  return f.alignment == f.channels * f.bitsPerSample / 8 && f.bytesPerSecond == f.alignment * f.samplesPerSecond;
}

std::string PcmWavHeader(const WaveFormat& f, uint32_t dataLength) {
  const auto header = BuildPcmWavHeader({.channels = static_cast<uint32_t>(f.channels),
                                         .samplesPerSecond = static_cast<uint32_t>(f.samplesPerSecond),
                                         .bitsPerSample = static_cast<uint32_t>(f.bitsPerSample)},
                                        dataLength);
  return std::string(header.begin(), header.end());
}

WaveRecording::~WaveRecording() { Discard(); }

bool WaveRecording::Begin(const WaveFormat& format) {
  std::lock_guard lock(mutex_);
  if (spool_ >= 0) ::close(spool_);
  spool_ = MakeSpool();
  const int cause = errno;
  length_ = 0;
  broken_ = spool_ < 0;
  format_ = format;
  error_ = broken_ ? Reason(cause) + " (temporary folder " + SpoolFolder() + ")" : "";
  return spool_ >= 0;
}

void WaveRecording::Append(const char* bytes, std::size_t length) {
  std::lock_guard lock(mutex_);
  if (spool_ < 0 || broken_) return;
  // A WAV file's lengths are 32-bit: a recording stops growing before it would overflow them.
  constexpr std::size_t kLongest = 0xFFFFFFFFu - 36 - 1024;
  if (length_ + length > kLongest) {
    broken_ = true;
    error_ = "the recording reached the largest size a WAV file can hold";
    return;
  }
  if (!WriteAll(spool_, bytes, length)) {
    // A full temporary folder: the recording keeps what it had, without the partial block.
    const int cause = errno;
    broken_ = true;
    error_ = Reason(cause) + " (temporary folder " + SpoolFolder() + ")";
    if (::ftruncate(spool_, static_cast<off_t>(length_)) != 0) ::lseek(spool_, static_cast<off_t>(length_), SEEK_SET);
    return;
  }
  length_ += length;
}

void WaveRecording::Discard() {
  std::lock_guard lock(mutex_);
  if (spool_ >= 0) ::close(spool_);
  spool_ = -1;
  length_ = 0;
  broken_ = false;
}

std::size_t WaveRecording::Length() const {
  std::lock_guard lock(mutex_);
  return length_;
}

bool WaveRecording::Broken() const {
  std::lock_guard lock(mutex_);
  return broken_;
}

std::string WaveRecording::ErrorText() const {
  std::lock_guard lock(mutex_);
  return error_;
}

int WaveRecording::Save(const std::string& path) {
  std::lock_guard lock(mutex_);
  error_.clear();
  if (spool_ < 0) {
    error_ = "nothing was recorded";
    return kNothingRecorded;
  }
  if (path.empty()) {
    error_ = Reason(ENOENT);
    return kWriteFailed;
  }
  struct stat st {};
  const bool exists = ::lstat(path.c_str(), &st) == 0;
  if (exists && !SameFile(path, lastSaved_)) {
    error_ = Reason(EEXIST);
    return kPathTaken;
  }

  const std::filesystem::path target(path);
  const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
  std::string temp = folder + "/." + target.filename().string() + ".part-XXXXXX";
  const int out = ::mkstemp(temp.data());
  if (out < 0) {
    error_ = Reason(errno);
    return kWriteFailed;
  }
  ::fchmod(out, 0644);
  // The header tells the truth at every moment: first no samples, at the end all that were written.
  int failure = WriteAll(out, PcmWavHeader(format_, 0).data(), 44) ? 0 : errno;
  std::size_t written = 0;  // sample bytes in the file
  std::vector<char> block(1 << 16);
  while (failure == 0 && written < length_) {
    const std::size_t want = std::min(block.size(), length_ - written);
    const ssize_t n = ::pread(spool_, block.data(), want, static_cast<off_t>(written));
    if (n <= 0) {
      failure = n < 0 ? errno : EIO;
      break;
    }
    const std::size_t put = WriteSome(out, block.data(), static_cast<std::size_t>(n));
    written += put;
    if (put < static_cast<std::size_t>(n)) failure = errno;
  }
  // A full disk keeps the whole sample blocks that fitted, as a shorter recording; it never
  // replaces an earlier save.
  bool partial = false;
  if (failure != 0 && DiskFull(failure) && !exists && format_.alignment > 0) {
    written -= written % static_cast<std::size_t>(format_.alignment);
    partial = written > 0 && ::ftruncate(out, static_cast<off_t>(44 + written)) == 0;
  }
  bool ok = failure == 0 || partial;
  if (ok) {
    const ssize_t n = ::pwrite(out, PcmWavHeader(format_, static_cast<uint32_t>(written)).data(), 44, 0);
    if (n != 44) {
      failure = n < 0 ? errno : EIO;
      ok = false;
    }
  }
  if (ok && ::fdatasync(out) != 0) {
    failure = errno;
    ok = false;
  }
  if (::close(out) != 0 && ok) {
    failure = errno;
    ok = false;
  }
  // Into place: over the file this recorder saved before, never over anything else.
  int placeError = 0;
  if (ok && exists) {
    if (::rename(temp.c_str(), path.c_str()) != 0) placeError = errno;
  } else if (ok && ::link(temp.c_str(), path.c_str()) != 0) {
    placeError = errno;
    // A file system without hard links: the name was free a moment ago.
    if (placeError != EEXIST && ::lstat(path.c_str(), &st) != 0) {
      placeError = ::rename(temp.c_str(), path.c_str()) == 0 ? 0 : errno;
    }
  }
  ::unlink(temp.c_str());
  if (!ok || placeError != 0) {
    const int cause = ok ? placeError : failure;
    error_ = Reason(cause);
    return cause == EEXIST ? kPathTaken : kWriteFailed;
  }
  lastSaved_ = path;
  if (failure == 0) return kSaved;
  char kept[32];
  std::snprintf(kept, sizeof kept, "%.1f", static_cast<double>(written) / std::max(1, format_.bytesPerSecond));
  error_ = Reason(failure) + "; the first " + kept + " seconds were kept";
  return kSavedInPart;
}

}  // namespace korvalin
