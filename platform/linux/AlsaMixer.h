#pragma once
// The mixer over the ALSA simple mixer of one card ("default" unless told otherwise): speaker
// volume is the "Master" element, CD volume and mute the "CD" element's playback volume and
// switch, bass and treble the "Bass" and "Treble" elements.

#include <string>
#include <vector>

#include "platform/Mixer.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace korvalin {

class AlsaMixer : public Mixer {
 public:
  explicit AlsaMixer(std::string card = "default");
  ~AlsaMixer() override;
  AlsaMixer(const AlsaMixer&) = delete;
  AlsaMixer& operator=(const AlsaMixer&) = delete;

  bool Open() override;
  bool LookUp(MixerLine line, MixerControlType type, MixerControl& control) override;
  bool SetValue(const MixerControl& control, uint32_t value) override;
  int64_t GetValue(const MixerControl& control) override;

 private:
  // A control handed out by LookUp: the element's name and which of its parts it is. Elements
  // are found again by name on every use, so a control stays valid across a new Open.
  struct Entry {
    std::string element;
    bool isSwitch;
  };
  void Close();
  snd_mixer_elem_t* Element(const std::string& name) const;
  const Entry* Find(const MixerControl& control) const;

  std::string card_;
  snd_mixer_t* handle_ = nullptr;
  std::vector<Entry> entries_;  // control id n is entries_[n - 1]
};

}  // namespace korvalin
