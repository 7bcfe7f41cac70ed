#pragma once
// Secure reading where the disc gives no reader that corrects itself (a disc image, a test's
// library): a block is read again and again until every frame of it has come back the same way
// twice, at most 16 reads in all.

#include <cstdint>
#include <vector>

#include "rip/TrackBuffer.h"
#include "rip/TrackReadReport.h"
#include "rip/modAKRip32.h"

namespace korvalin {

class AgreeingReads {
 public:
  static constexpr int kMaxReads = 16;

  // Reads `frames` frames from `address` as TrackBuffer::ReadReadableFrames does (so a block that
  // cannot be read at all, or breaks off, ends the same way), then reads the frames that stand
  // again until each has agreed with an earlier read of itself. The count of frames that stand in
  // Data(). Reads beyond the two a clean block needs go to `report.retries`; a frame that never
  // agrees is taken from its best read (the read that differs least from all the others) and its
  // address goes to `report.suspiciousFrames`.
  int32_t Read(modAKRip32& cd, int32_t address, int32_t frames, TrackReadReport& report);

  const uint8_t* Data() const { return agreed_.data(); }

 private:
  uint8_t* Frame(int32_t read, int32_t frame);
  const uint8_t* Frame(int32_t read, int32_t frame) const;
  // The read of `frame` that differs from all the other reads of it in the fewest bytes; the
  // earliest such read on a tie.
  int32_t BestRead(int32_t frame, int32_t reads) const;

  TrackBuffer buffer_;
  std::vector<uint8_t> reads_;           // every read of the block, one after the other
  std::vector<int32_t> framesRead_;      // how many frames each read brought back
  std::vector<uint8_t> agreed_;          // the frames as they are kept
};

}  // namespace korvalin
