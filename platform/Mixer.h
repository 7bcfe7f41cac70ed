#pragma once
// The sound card's mixer as the program uses it: controls found by line and control type, each
// read or written as one value for all its channels.

#include <cstdint>

namespace korvalin {

// The mixer lines the program works with: the speakers (the card's main output) and the CD
// audio input.
enum class MixerLine { Speakers, CompactDisc };
enum class MixerControlType { Volume, Bass, Treble, Mute };

// Full scale of a volume, bass or treble control.
inline constexpr uint32_t kMixerFullScale = 65535;

// A control found by Mixer::LookUp. Id 0 names no control: reads and writes addressed to it fail.
struct MixerControl {
  uint32_t id = 0;
};

class Mixer {
 public:
  virtual ~Mixer() = default;

  // Opens the mixer of the default sound card; a second call replaces the first connection.
  // False when there is no mixer to open.
  virtual bool Open() = 0;

  // Finds the control of `type` on `line` and fills `control`. False when there is no open mixer
  // or no such control; `control` is then left as it was.
  virtual bool LookUp(MixerLine line, MixerControlType type, MixerControl& control) = 0;

  // Volumes, bass and treble run from 0 to kMixerFullScale; a mute control is 1 (silent) or 0.
  // True when the value was written.
  virtual bool SetValue(const MixerControl& control, uint32_t value) = 0;

  // The control's value on the same scale, or -1 when it cannot be read.
  virtual int64_t GetValue(const MixerControl& control) = 0;
};

}  // namespace korvalin
