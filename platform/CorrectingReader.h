#pragma once
// A reader of a real drive that checks and corrects what it reads by itself: it reads every
// stretch of audio in overlapping passes, lines them up against jitter and reads again what a
// scratch spoiled. Secure reading trusts its output and takes its findings.

#include <cstdint>
#include <vector>

namespace korvalin {

class CorrectingReader {
 public:
  virtual ~CorrectingReader() = default;

  struct Findings {
    uint32_t rereads = 0;             // reads it had to repeat or repair (read errors, fixed jitter)
    std::vector<int32_t> uncorrected;  // frames it gave up on and returned as best it could
  };

  // Reads `count` frames of 2352 bytes from frame `first` into `out`, adding what it found to
  // `findings`. False when the frames could not be read at all (`out` is then undefined).
  virtual bool Read(int32_t first, int32_t count, uint8_t* out, Findings& findings) = 0;
};

}  // namespace korvalin
