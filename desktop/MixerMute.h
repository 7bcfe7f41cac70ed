#pragma once
// Silencing the CD line of the sound card while a CD is copied, and turning the CD and speaker
// volumes up when the Preferences dialog loads.

#include <cstdint>

#include "platform/Dialogs.h"
#include "platform/Mixer.h"

namespace korvalin {

inline constexpr const char* kNoMixerMessage =
    "Couldn't open the mixer please check if a audio mixer is installed then retry.";

class MixerMute {
 public:
  MixerMute(Mixer& mixer, Dialogs& dialogs) : mixer_(mixer), dialogs_(dialogs) {}

  // Opens the mixer (saying so the first time there is none, not at every opening of the
  // dialog: once a run is enough), looks up the speaker volume, CD volume,
  // bass and treble and reads each one found, then sets speaker and CD volume to full.
  void OpenAndPrepare();
  // Looks up the CD line's mute control, then sets it. Fails silently without a mixer or a CD line.
  void MuteCD() { SetCdMute(1); }
  void UnmuteCD() { SetCdMute(0); }

  // The controls found so far; a control never found has id 0.
  MixerControl SpeakerVolume, CdVolume, SpeakerBass, SpeakerTreble, CdMute;
  // Whether the last mixer call succeeded; kept, never shown.
  bool LastCallSucceeded = false;

 private:
  void SetCdMute(uint32_t value);

  Mixer& mixer_;
  Dialogs& dialogs_;
  bool toldNoMixer_ = false;
};

}  // namespace korvalin
