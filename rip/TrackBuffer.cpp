#include "rip/TrackBuffer.h"

#include <array>
#include <cstring>

namespace korvalin {
namespace {

void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

bool TrackBuffer::ReadBlock(modAKRip32& cd, int32_t address, int32_t frames) {
  std::array<uint8_t, cdrecord::kTrackHeaderSize> header{};
  PutLe32(&header[0], static_cast<uint32_t>(address));
  PutLe32(&header[4], static_cast<uint32_t>(frames));
  PutLe32(&header[8], static_cast<uint32_t>(cdrecord::kTrackDataSize));
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    std::memcpy(block_.data(), header.data(), header.size());
    if (cd.Library().ReadCDAudioLBA(cd.CurrentDriveHandle, block_.data()) == 1) return true;
  }
  return false;
}

}  // namespace korvalin
