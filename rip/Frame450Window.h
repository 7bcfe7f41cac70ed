#pragma once
// Finding a drive's read offset (or another pressing's) from the AccurateRip database's frame-450
// checksums, without ripping a track again and again.
//
// The frame-450 checksum, as the database keeps it beside each track's whole checksum, is the
// AccurateRip v1 sum over the 588 sample pairs of the track's frame 450 (the track's first frame
// counted as 0): sum of pair[i] * (i + 1) for i = 0..587, each pair read as one 32-bit
// little-endian word, kept to 32 bits. A track whose samples arrive k pairs late (a drive that needs
// the correction +k) holds the database's frame 450 k pairs further on. Sliding the 588-pair window
// over +-2000 pairs around frame 450 and comparing every sum with the database's therefore names
// the corrections at which the audio agrees with other people's rips.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rip/AccurateRipDatabase.h"
#include "settings/AccuracySettings.h"

namespace korvalin {

inline constexpr int32_t kFrame450 = 450;
inline constexpr int32_t kFrame450Pairs = 588;

// The frame-450 checksum of 588 pairs of 16-bit little-endian stereo audio.
uint32_t Frame450Checksum(const uint8_t* pairs);

// The audio of one track around its frame 450, taken as the track is read (from its first byte
// on, or skipping to the part that matters), and the frame-450 checksums at every shift.
class Frame450Window {
 public:
  // Shifts from -radius to +radius pairs.
  explicit Frame450Window(int32_t radius);

  // The first and the end (exclusive) CD frame of the track that the window reaches into.
  int32_t FirstFrame() const;
  int32_t EndFrame() const;
  // Whether a track of `frames` frames is long enough to hold the whole window.
  bool Fits(int32_t frames) const { return frames >= EndFrame(); }

  // The next `bytes` of the track's audio; blocks may split a pair.
  void Add(const uint8_t* data, std::size_t bytes);
  // Passes over the next `bytes` of the track's audio without keeping them.
  void Skip(int64_t bytes) { position_ += bytes; }

  // Whether every byte of the window has come.
  bool Complete() const { return filled_ == static_cast<int64_t>(window_.size()); }
  // Whether the window holds nothing but silence: every shift's checksum is 0 then, and would
  // match any database entry of a silent frame.
  bool Silent() const;
  // The checksum at each shift, from -radius to +radius (2 * radius + 1 of them); empty until the
  // window is complete.
  std::vector<uint32_t> Checksums() const;
  int32_t Radius() const { return radius_; }

 private:
  int32_t radius_;
  int64_t first_;  // the window's first byte in the track
  int64_t position_ = 0;
  int64_t filled_ = 0;
  std::vector<uint8_t> window_;
};

// A shift at which a track's frame 450 agrees with the database.
struct OffsetMatch {
  int32_t offset = 0;      // in sample pairs: the read offset correction that gives this audio
  uint32_t rips = 0;       // the confidences of the agreeing responses, summed
  uint32_t responses = 0;  // how many responses agree
};

// The shifts at which `checksums` (from Frame450Window::Checksums) match the frame-450 checksum of
// track `trackIndex` (0 for the disc's first audio track) in a response of `db`; the most rips
// first, then the smallest shift. Responses that hold 0 for the frame (no value) are passed over.
std::vector<OffsetMatch> MatchingOffsets(const std::vector<uint32_t>& checksums, int32_t radius, const DbarFile& db,
                                         std::size_t trackIndex);

// The shift at which a rip's own audio agrees with another pressing in the database, for the
// rip's report ("this rip matches a pressing at offset +6"): the best of `matches` (from the rip's
// own frame-450 window), when the rip as it stands (shift 0) agrees with none. Nothing otherwise.
std::optional<int32_t> OtherPressingOffset(const std::vector<OffsetMatch>& matches);

}  // namespace korvalin
