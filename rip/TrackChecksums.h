#pragma once
// The checksums of one ripped track, built up block by block while the track is read, so that no
// second pass over the audio is needed: the CRC-32 of the audio bytes (the "copy CRC") and the two
// AccurateRip checksums, which skip the first 2939 sample pairs of a disc's first audio track and
// the last 2940 of its last one (the parts a drive's read offset can shift out of reach).

#include <cstddef>
#include <cstdint>

#include "rip/Frame450Window.h"

namespace korvalin {

// Where a track stands on the disc, for the AccurateRip skips.
struct TrackPlace {
  bool firstAudioTrack = false;
  bool lastAudioTrack = false;
};

class TrackChecksums {
 public:
  // `totalPairs`: the stereo sample pairs the whole track holds (frames × 588), which fixes where
  // the last track's skipped tail begins even when the rip ends early.
  TrackChecksums(int64_t totalPairs, TrackPlace place);

  // Adds the next bytes of 16-bit little-endian stereo audio. Blocks may split a sample pair.
  void Add(const uint8_t* data, std::size_t bytes);

  uint32_t Crc32() const { return ~crc_; }
  uint32_t AccurateRipV1() const { return v1_; }
  uint32_t AccurateRipV2() const { return v2_; }
  // Audio bytes added so far.
  int64_t Bytes() const { return bytes_; }
  // The audio around the track's frame 450, for comparing with the database's frame-450 checksums
  // at every shift of +-2000 samples (MatchingOffsets): where the rip agrees with other pressings.
  const Frame450Window& Frame450() const { return frame450_; }

  // The CRC-32 (the polynomial of zip files) of `bytes` bytes, continuing from `crc` (0 to start).
  static uint32_t Crc32Of(uint32_t crc, const uint8_t* data, std::size_t bytes);

 private:
  void AddPairs(const uint8_t* data, std::size_t pairs);

  int64_t first_;  // the lowest multiplier that counts
  int64_t last_;   // the highest multiplier that counts
  int64_t multiplier_ = 1;
  uint32_t crc_ = 0xFFFFFFFFu;
  uint32_t v1_ = 0;
  uint32_t v2_ = 0;
  int64_t bytes_ = 0;
  uint8_t partial_[4] = {};  // a pair split between two blocks
  std::size_t partialBytes_ = 0;
  Frame450Window frame450_{kMaxReadOffset};
};

}  // namespace korvalin
