#pragma once
// What reading one track took: every read that had to be repeated, and (with secure reading) the
// frames that never read the same way twice. A plain read counts its retries too.

#include <cstdint>
#include <vector>

namespace korvalin {

struct TrackReadReport {
  bool secure = false;                   // the track was read with secure reading on
  uint32_t retries = 0;                  // reads beyond those a clean disc needs: a block asked for
                                         // again after a failed call, a block read more than twice
                                         // in secure reading, or the drive's own re-reads and repairs
  std::vector<int32_t> suspiciousFrames; // disc frames (LBA) kept from a best read that never agreed

  bool Suspicious() const { return !suspiciousFrames.empty(); }
};

}  // namespace korvalin
