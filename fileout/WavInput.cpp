#include "fileout/WavInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

constexpr uint16_t kPcmTag = 1;
constexpr uint16_t kExtensibleTag = 0xFFFE;  // the real format code is in the first two bytes of its sub-format
constexpr std::size_t kPlainFormatSize = 16;
constexpr std::size_t kExtensibleFormatSize = 40;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24; }
bool Is(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

}  // namespace

void RequireMp3SampleRate(const std::string& path, const WavAudioFormat& format) {
  std::string rates;
  for (const int32_t rate : kMp3SampleRates) {
    if (rate == format.sampleRate) return;
    rates += (rates.empty() ? "" : rate == kMp3SampleRates[std::size(kMp3SampleRates) - 1] ? " or " : ", ") +
             std::to_string(rate);
  }
  throw RaisedError(kInvalidFileFormat, "Cannot encode \"" + path + "\": its sample rate is " +
                                            std::to_string(format.sampleRate) + " Hz, and an MP3 file holds only " +
                                            rates + " Hz. Convert it to one of these rates first.");
}

WavInput::WavInput(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
    const int err = errno;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    const RaisedError e = ErrorFromErrno(err);
    throw RaisedError(e.Number(), "Cannot read \"" + path + "\": " + e.Description() + ".");
  }
  fileSize_ = st.st_size;
  try {
    ReadHeader();
  } catch (...) {
    ::close(fd_);
    fd_ = -1;
    throw;
  }
}

WavInput::~WavInput() {
  if (fd_ >= 0) ::close(fd_);
}

void WavInput::Refuse(const std::string& why) const {
  throw RaisedError(kInvalidFileFormat, "Cannot encode \"" + path_ + "\": " + why +
                                            " Only 16-bit PCM WAV files, mono or stereo, can be encoded.");
}

bool WavInput::ReadAt(int64_t offset, void* buffer, std::size_t size) const {
  auto* p = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd_, p + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void WavInput::ReadHeader() {
  uint8_t riff[12];
  if (!ReadAt(0, riff, sizeof riff) || !Is(riff, "RIFF") || !Is(riff + 8, "WAVE")) Refuse("it is not a WAV file.");

  // Chunks follow one another, each an id, a 32-bit length and its bytes, padded to an even length.
  // The RIFF length itself is not trusted: writers often leave it wrong.
  bool haveFormat = false, haveData = false;
  uint16_t tag = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  int64_t at = sizeof riff;
  while (!(haveFormat && haveData) && at + 8 <= fileSize_) {
    uint8_t chunk[8];
    if (!ReadAt(at, chunk, sizeof chunk)) break;
    const int64_t length = U32(chunk + 4);
    const int64_t body = at + 8;
    if (Is(chunk, "fmt ") && !haveFormat) {
      if (length < static_cast<int64_t>(kPlainFormatSize)) Refuse("its format chunk is damaged.");
      uint8_t fmt[kExtensibleFormatSize] = {};
      const auto size = static_cast<std::size_t>(std::min<int64_t>(length, kExtensibleFormatSize));
      if (!ReadAt(body, fmt, size)) Refuse("its format chunk is damaged.");
      tag = U16(fmt);
      channels = U16(fmt + 2);
      rate = U32(fmt + 4);
      bits = U16(fmt + 14);
      if (tag == kExtensibleTag && size == kExtensibleFormatSize && U16(fmt + 16) >= 22) tag = U16(fmt + 24);
      haveFormat = true;
    } else if (Is(chunk, "data") && !haveData) {
      format_.dataOffset = body;
      // A length that runs past the end (a truncated file, or a writer that never came back to
      // fill it in) is what the file holds.
      format_.dataLength = std::min(length, fileSize_ - body);
      format_.declaredLength = length;
      format_.bytesAfterData = fileSize_ - body;
      format_.lengthAgrees = length <= fileSize_ - body && WholeChunksFrom(body + length + (length & 1));
      haveData = true;
    }
    at = body + length + (length & 1);
  }

  if (!haveFormat) Refuse("it has no format chunk.");
  if (tag != kPcmTag) Refuse("its audio is not PCM (format " + std::to_string(tag) + ").");
  if (bits != 16) Refuse("it holds " + std::to_string(bits) + "-bit samples.");
  if (channels != 1 && channels != 2) Refuse("it has " + std::to_string(channels) + " channels.");
  if (!haveData) Refuse("it has no audio data chunk.");
  format_.channels = channels;
  format_.sampleRate = static_cast<int32_t>(std::min<uint32_t>(rate, INT32_MAX));
}

bool WavInput::WholeChunksFrom(int64_t at) const {
  // A lone pad byte at the very end is forgiven: some writers leave it off, others add it.
  while (at + 1 < fileSize_) {
    uint8_t chunk[8];
    if (at + 8 > fileSize_ || !ReadAt(at, chunk, sizeof chunk)) return false;
    for (int i = 0; i < 4; ++i) {
      if (chunk[i] < 0x20 || chunk[i] > 0x7E) return false;
    }
    const int64_t length = U32(chunk + 4);
    at += 8 + length + (length & 1);
  }
  return at <= fileSize_ + 1;
}

int32_t WavInput::Read(void* buffer, int32_t size) {
  const auto wanted = static_cast<int32_t>(std::clamp<int64_t>(format_.dataLength - position_, 0, std::max(size, 0)));
  auto* p = static_cast<char*>(buffer);
  int32_t done = 0;
  while (done < wanted) {
    const ssize_t n = ::pread(fd_, p + done, static_cast<std::size_t>(wanted - done),
                              static_cast<off_t>(format_.dataOffset + position_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const RaisedError e = ErrorFromErrno(errno);
      throw RaisedError(e.Number(), "Cannot read \"" + path_ + "\": " + e.Description() + ".");
    }
    if (n == 0) break;  // the file was cut short while we read it
    done += static_cast<int32_t>(n);
  }
  position_ += done;
  return done;
}

}  // namespace korvalin
