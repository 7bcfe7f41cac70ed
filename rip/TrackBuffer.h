#pragma once
// The block that audio frames are read into: a 24-byte request header and room for 26 frames.
// Both extractions (to WAV and straight to MP3) read their tracks through it.

#include <cstdint>
#include <vector>

#include "platform/CdExtractionLibrary.h"
#include "rip/modAKRip32.h"

namespace korvalin {

class TrackBuffer {
 public:
  static constexpr int32_t kFramesPerBlock = static_cast<int32_t>(cdrecord::kFramesPerBlock);
  static constexpr int kReadAttempts = 3;

  TrackBuffer() : block_(cdrecord::kTrackBufferSize, 0) {}

  // Reads `frames` frames from `address` of the open drive, with up to three calls; true when
  // one of them succeeded. The request header is written afresh before every call.
  bool ReadBlock(modAKRip32& cd, int32_t address, int32_t frames);
  // Reads the block as ReadBlock does; when it fails, reads its frames one at a time from the
  // start until one fails, so that a disc or image that ends (or breaks) inside the block still
  // gives every frame before that point. The count of frames that stand in Data(), in order.
  int32_t ReadReadableFrames(modAKRip32& cd, int32_t address, int32_t frames);

  const uint8_t* Data() const { return block_.data() + cdrecord::kTrackHeaderSize; }

  // Re-reads so far: every call after the first for a block, and every fallback to reading a
  // block's frames one at a time.
  uint32_t Retries() const { return retries_; }

 private:
  std::vector<uint8_t> block_;
  uint32_t retries_ = 0;
};

}  // namespace korvalin
