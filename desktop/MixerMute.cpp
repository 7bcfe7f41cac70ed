#include "desktop/MixerMute.h"

namespace korvalin {

void MixerMute::OpenAndPrepare() {
  if (mixer_.Open()) {
    const struct {
      MixerLine line;
      MixerControlType type;
      MixerControl& control;
    } wanted[] = {{MixerLine::Speakers, MixerControlType::Volume, SpeakerVolume},
                  {MixerLine::CompactDisc, MixerControlType::Volume, CdVolume},
                  {MixerLine::Speakers, MixerControlType::Bass, SpeakerBass},
                  {MixerLine::Speakers, MixerControlType::Treble, SpeakerTreble}};
    for (const auto& w : wanted) {
      LastCallSucceeded = mixer_.LookUp(w.line, w.type, w.control);
      if (LastCallSucceeded) LastCallSucceeded = mixer_.GetValue(w.control) != -1;
    }
  } else if (!toldNoMixer_) {
    toldNoMixer_ = true;
    dialogs_.MsgBox(kNoMixerMessage, MsgBoxButtons::OK);
  }
  // Full volume for the speakers and the CD line, so that a CD can be heard; without a mixer
  // these writes fail unseen.
  LastCallSucceeded = mixer_.SetValue(SpeakerVolume, kMixerFullScale);
  LastCallSucceeded = mixer_.SetValue(CdVolume, kMixerFullScale);
}

void MixerMute::SetCdMute(uint32_t value) {
  LastCallSucceeded = mixer_.LookUp(MixerLine::CompactDisc, MixerControlType::Mute, CdMute);
  LastCallSucceeded = mixer_.SetValue(CdMute, value);
}

}  // namespace korvalin
