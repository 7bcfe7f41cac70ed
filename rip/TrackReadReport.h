#pragma once
// What reading one track took: the reads beyond the first that secure reading needed, and the
// frames that never read the same way twice. A normal (non-secure) read leaves it empty.

#include <cstdint>
#include <vector>

namespace korvalin {

struct TrackReadReport {
  bool secure = false;                   // the track was read with secure reading on
  uint32_t retries = 0;                  // extra reads of blocks or frames beyond the first
  std::vector<int32_t> suspiciousFrames; // disc frames (LBA) kept from a best read that never agreed

  bool Suspicious() const { return !suspiciousFrames.empty(); }
};

}  // namespace korvalin
