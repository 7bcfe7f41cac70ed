#include "rip/TrackBuffer.h"

#include <array>
#include <cstring>

namespace korvalin {
namespace {

void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

std::array<uint8_t, cdrecord::kTrackHeaderSize> RequestHeader(int32_t address, int32_t frames, std::size_t capacity) {
  std::array<uint8_t, cdrecord::kTrackHeaderSize> header{};
  PutLe32(&header[0], static_cast<uint32_t>(address));
  PutLe32(&header[4], static_cast<uint32_t>(frames));
  PutLe32(&header[8], static_cast<uint32_t>(capacity));
  return header;
}

}  // namespace

bool TrackBuffer::ReadBlock(modAKRip32& cd, int32_t address, int32_t frames) {
  const auto header = RequestHeader(address, frames, cdrecord::kTrackDataSize);
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (attempt > 0) ++retries_;
    std::memcpy(block_.data(), header.data(), header.size());
    if (cd.Library().ReadCDAudioLBA(cd.CurrentDriveHandle, block_.data()) == 1) return true;
  }
  return false;
}

int32_t TrackBuffer::ReadReadableFrames(modAKRip32& cd, int32_t address, int32_t frames) {
  if (ReadBlock(cd, address, frames)) return frames;
  if (frames <= 1) return 0;
  ++retries_;
  // One frame at a time, each into a small request of its own, then copied to its place. The
  // library's last error stays that of the frame that failed.
  std::vector<uint8_t> single(cdrecord::kTrackHeaderSize + cdrecord::kFrameSize, 0);
  int32_t read = 0;
  for (; read < frames; ++read) {
    const auto header = RequestHeader(address + read, 1, cdrecord::kFrameSize);
    std::memcpy(single.data(), header.data(), header.size());
    if (cd.Library().ReadCDAudioLBA(cd.CurrentDriveHandle, single.data()) != 1) break;
    std::memcpy(block_.data() + cdrecord::kTrackHeaderSize + static_cast<std::size_t>(read) * cdrecord::kFrameSize,
                single.data() + cdrecord::kTrackHeaderSize, cdrecord::kFrameSize);
  }
  return read;
}

}  // namespace korvalin
