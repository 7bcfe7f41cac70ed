#pragma once
// What the AccurateRip database says of one ripped track, in the words the log, the status line,
// the window and korvalin-cli all use.
//
// The figures: T is the sum of the confidences of every response that holds a checksum for the
// track (an entry whose checksum or confidence is 0 holds none); C is the sum of the confidences of the responses
// whose checksum equals the track's v1 or v2 checksum. Every response stands for rips that agreed
// with each other, so C counts the rips that agree with this one and T all rips of the disc.

#include <cstdint>
#include <string>
#include <vector>

#include "rip/AccurateRipDatabase.h"

namespace korvalin {

enum class AccurateRipResult {
  Accurate,     // the track matches rips in the database
  NotAccurate,  // the database knows the track and no rip there matches it
  NotPresent,   // the database has nothing for this track (or this disc)
  NotVerified,  // nothing to compare with, or the track cannot be called accurate whatever matches
};

struct TrackVerdict {
  AccurateRipResult result = AccurateRipResult::NotVerified;
  int confidence = 0;  // C (Accurate), or the largest group of agreeing rips (NotAccurate)
  int total = 0;       // T
  std::string text;    // the words shown for the track
  // "this rip matches a pressing at offset +6" when the rip agrees with another pressing only at
  // another shift; "" otherwise.
  std::string otherPressing;

  bool Accurate() const { return result == AccurateRipResult::Accurate; }
};

// How the track's rip ended, as far as the verdict is concerned.
struct RippedTrack {
  uint32_t v1 = 0;
  uint32_t v2 = 0;
  int64_t bytes = 0;        // audio bytes the checksums were built from
  bool complete = false;    // every frame of the track was read (not cancelled, not ended early)
  bool suspicious = false;  // frames that could not be read exactly
  // The rip's frame-450 checksums at every shift of +-2000 samples (Frame450Window); empty: none.
  std::vector<uint32_t> frame450 = {};
};

// The verdict for audio track `audioIndex` (0 for the disc's first audio track) from the
// responses of its disc's dBAR file.
TrackVerdict JudgeTrack(const std::vector<DbarResponse>& responses, int audioIndex, const RippedTrack& track);

// The verdict when there is no database answer to compare with: `why` in a few words.
TrackVerdict UnverifiedTrack(const std::string& why);
// A disc the database does not know: each of its tracks is "Not present in the database".
TrackVerdict AbsentTrack();

// The last line of the log: "10 of 12 tracks accurately ripped".
std::string AccurateRipSummary(int accurate, int judged);

// The line for a rip whose frame-450 checksums match a pressing read at another offset than the
// one set: "this rip matches a pressing at offset +6" (samples, signed).
std::string OtherPressingLine(int offsetSamples);

}  // namespace korvalin
