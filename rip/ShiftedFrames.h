#pragma once
// Reads of whole CD frames, taken a number of stereo samples further on (a positive shift) or back
// (a negative one) on the disc. A frame read this way straddles two frames of the disc, so a block
// of n frames needs n + 1 of them; the last of those is kept, and the next block, which begins in
// it, reads only n new frames. The requests reaching the disc therefore follow on from each other
// exactly, which is what a drive's own cache and the program's read-ahead serve fastest. A frame
// that lies outside the disc's audio (before frame 0, at or after the lead-out, in a data track)
// is never read: it is silence, as no drive can read there.

#include <cstdint>
#include <functional>
#include <vector>

namespace korvalin {

// Frames `first` to `end` (exclusive) of the disc.
struct FrameSpan {
  int32_t first = 0;
  int32_t end = 0;
};

class ShiftedFrames {
 public:
  // Reads `count` whole frames from `first` into `out`; false when the disc could not read them.
  using Source = std::function<bool(int32_t first, int32_t count, uint8_t* out)>;

  // `audio`: the stretches of the disc that hold audio, in order.
  ShiftedFrames(int32_t shiftSamples, std::vector<FrameSpan> audio);

  // Reads `count` frames as they stand `shiftSamples` samples from frame `first` on. False when a
  // frame of the disc that holds audio could not be read (`out` is then undefined).
  bool Read(const Source& source, int32_t first, int32_t count, uint8_t* out);

  // The next read takes nothing from an earlier one (a track ended, another reader took over).
  void Forget() { carried_ = false; }

  int32_t ShiftSamples() const { return shift_; }

 private:
  bool HoldsAudio(int32_t frame) const;
  // Fills frames [first, first + count) of the disc into `out`: reads the runs of audio frames,
  // zeros the rest.
  bool Fill(const Source& source, int32_t first, int32_t count, uint8_t* out);

  int32_t shift_;
  int32_t wholeFrames_;  // the shift in whole frames, rounded down
  int32_t byteRest_;     // what remains of it in bytes: 0 .. 2351
  std::vector<FrameSpan> audio_;
  std::vector<uint8_t> staging_;
  std::vector<uint8_t> carry_;  // the last disc frame of the last read
  int32_t carryFrame_ = 0;
  bool carried_ = false;
};

}  // namespace korvalin
