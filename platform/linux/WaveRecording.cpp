#include "platform/linux/WaveRecording.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "fileout/WavHeader.h"

namespace korvalin {
namespace {

bool WriteAll(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t n = ::write(fd, data, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

// An unnamed file in the temporary folder: nothing of it is left behind, whatever happens.
int MakeSpool() {
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = tmp && *tmp ? tmp : "/tmp";
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
  length_ = 0;
  broken_ = spool_ < 0;
  format_ = format;
  return spool_ >= 0;
}

void WaveRecording::Append(const char* bytes, std::size_t length) {
  std::lock_guard lock(mutex_);
  // A WAV file's lengths are 32-bit: a recording stops growing before it would overflow them.
  constexpr std::size_t kLongest = 0xFFFFFFFFu - 36 - 1024;
  if (spool_ < 0 || broken_ || length_ + length > kLongest) return;
  if (!WriteAll(spool_, bytes, length)) {
    // A full temporary folder: the recording keeps what it had, without the partial block.
    broken_ = true;
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
}

std::size_t WaveRecording::Length() const {
  std::lock_guard lock(mutex_);
  return length_;
}

int WaveRecording::Save(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (path.empty()) return kWriteFailed;
  struct stat st {};
  const bool exists = ::lstat(path.c_str(), &st) == 0;
  if (exists && !SameFile(path, lastSaved_)) return kPathTaken;

  const std::filesystem::path target(path);
  const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
  std::string temp = folder + "/." + target.filename().string() + ".part-XXXXXX";
  const int out = ::mkstemp(temp.data());
  if (out < 0) return kWriteFailed;
  ::fchmod(out, 0644);
  // The header tells the truth at every moment: first no samples, at the end all of them.
  const uint32_t length = static_cast<uint32_t>(length_);
  bool ok = WriteAll(out, PcmWavHeader(format_, 0).data(), 44);
  std::vector<char> block(1 << 16);
  for (std::size_t done = 0; ok && done < length_;) {
    const std::size_t want = std::min(block.size(), length_ - done);
    const ssize_t n = ::pread(spool_, block.data(), want, static_cast<off_t>(done));
    ok = n > 0 && WriteAll(out, block.data(), static_cast<std::size_t>(n));
    done += n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  ok = ok && ::pwrite(out, PcmWavHeader(format_, length).data(), 44, 0) == 44 && ::fdatasync(out) == 0;
  ok = ::close(out) == 0 && ok;
  // Into place: over the file this recorder saved before, never over anything else.
  int placeError = 0;
  if (ok && exists) {
    ok = ::rename(temp.c_str(), path.c_str()) == 0;
  } else if (ok) {
    ok = ::link(temp.c_str(), path.c_str()) == 0;
    placeError = ok ? 0 : errno;
    // A file system without hard links: the name was free a moment ago.
    if (!ok && placeError != EEXIST && ::lstat(path.c_str(), &st) != 0) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  }
  ::unlink(temp.c_str());
  if (!ok) return placeError == EEXIST ? kPathTaken : kWriteFailed;
  lastSaved_ = path;
  return kSaved;
}

}  // namespace korvalin
