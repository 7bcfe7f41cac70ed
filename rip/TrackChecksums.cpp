#include "rip/TrackChecksums.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace korvalin {
namespace {

// AccurateRip leaves out five frames' worth of pairs, less one, at the start of the first audio
// track and five frames at the end of the last.
constexpr int64_t kSkippedPairs = 5 * 588;

// Eight tables for slicing the input eight bytes at a time.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables() {
  CrcTables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (uint32_t i = 0; i < 256; ++i) {
    for (std::size_t s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  }
  return t;
}

constexpr CrcTables kCrc = MakeCrcTables();

// Runs the register (already inverted) over the bytes.
uint32_t CrcUpdate(uint32_t c, const uint8_t* p, std::size_t n) {
  while (n >= 8) {
    uint32_t lo, hi;
    std::memcpy(&lo, p, 4);
    std::memcpy(&hi, p + 4, 4);
    lo ^= c;
    c = kCrc[7][lo & 0xFF] ^ kCrc[6][(lo >> 8) & 0xFF] ^ kCrc[5][(lo >> 16) & 0xFF] ^ kCrc[4][lo >> 24] ^
        kCrc[3][hi & 0xFF] ^ kCrc[2][(hi >> 8) & 0xFF] ^ kCrc[1][(hi >> 16) & 0xFF] ^ kCrc[0][hi >> 24];
    p += 8;
    n -= 8;
  }
  while (n-- > 0) c = kCrc[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
  return c;
}

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace


uint32_t TrackChecksums::Crc32Of(uint32_t crc, const uint8_t* data, std::size_t bytes) {
  return ~CrcUpdate(~crc, data, bytes);
}

TrackChecksums::TrackChecksums(int64_t totalPairs, TrackPlace place)
    : first_(place.firstAudioTrack ? kSkippedPairs : 1),
      last_(place.lastAudioTrack ? totalPairs - kSkippedPairs : totalPairs) {}

void TrackChecksums::Add(const uint8_t* data, std::size_t bytes) {
  crc_ = CrcUpdate(crc_, data, bytes);
  bytes_ += static_cast<int64_t>(bytes);
  frame450_.Add(data, bytes);
  if (partialBytes_ > 0) {
    const std::size_t take = std::min(bytes, 4 - partialBytes_);
    std::memcpy(partial_ + partialBytes_, data, take);
    partialBytes_ += take;
    data += take;
    bytes -= take;
    if (partialBytes_ < 4) return;
    AddPairs(partial_, 1);
    partialBytes_ = 0;
  }
  AddPairs(data, bytes / 4);
  partialBytes_ = bytes % 4;
  std::memcpy(partial_, data + bytes - partialBytes_, partialBytes_);
}

void TrackChecksums::AddPairs(const uint8_t* data, std::size_t pairs) {
  // Only the pairs whose multiplier lies in first_..last_ count; the others still advance it.
  const int64_t m0 = multiplier_;
  multiplier_ += static_cast<int64_t>(pairs);
  int64_t from = std::max(m0, first_), to = std::min(multiplier_ - 1, last_);
  uint32_t v1 = v1_, v2 = v2_;
  for (int64_t m = from; m <= to; ++m) {
    const uint64_t product = static_cast<uint64_t>(Le32(data + 4 * (m - m0))) * static_cast<uint32_t>(m);
    v1 += static_cast<uint32_t>(product);
    v2 += static_cast<uint32_t>(product) + static_cast<uint32_t>(product >> 32);
  }
  v1_ = v1;
  v2_ = v2;
}

}  // namespace korvalin
