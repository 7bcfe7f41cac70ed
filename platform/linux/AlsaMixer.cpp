#include "platform/linux/AlsaMixer.h"

#include <alsa/asoundlib.h>

#include <cmath>

namespace korvalin {
namespace {

// ALSA reports through its own printing; the program answers with its own message instead.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

// The simple-mixer element and part behind a line and control type; nullptr where the card model
// has none (bass and treble of the CD line).
const char* ElementName(MixerLine line, MixerControlType type) {
  if (line == MixerLine::CompactDisc) {
    return type == MixerControlType::Volume || type == MixerControlType::Mute ? "CD" : nullptr;
  }
  switch (type) {
    case MixerControlType::Volume: return "Master";
    case MixerControlType::Bass: return "Bass";
    case MixerControlType::Treble: return "Treble";
    case MixerControlType::Mute: return "Master";
  }
  return nullptr;
}

long Scaled(uint32_t value, long min, long max) {
  if (value > kMixerFullScale) value = kMixerFullScale;
  return min + std::lround(static_cast<double>(value) * static_cast<double>(max - min) / kMixerFullScale);
}

}  // namespace

AlsaMixer::AlsaMixer(std::string card) : card_(std::move(card)) { snd_lib_error_set_handler(QuietAlsa); }

AlsaMixer::~AlsaMixer() { Close(); }

void AlsaMixer::Close() {
  if (handle_) snd_mixer_close(handle_);
  handle_ = nullptr;
}

bool AlsaMixer::Open() {
  Close();
  snd_mixer_t* handle = nullptr;
  if (snd_mixer_open(&handle, 0) < 0) return false;
  if (snd_mixer_attach(handle, card_.c_str()) < 0 || snd_mixer_selem_register(handle, nullptr, nullptr) < 0 ||
      snd_mixer_load(handle) < 0) {
    snd_mixer_close(handle);
    return false;
  }
  handle_ = handle;
  return true;
}

snd_mixer_elem_t* AlsaMixer::Element(const std::string& name) const {
  if (!handle_) return nullptr;
  snd_mixer_selem_id_t* id = nullptr;
  snd_mixer_selem_id_alloca(&id);
  snd_mixer_selem_id_set_index(id, 0);
  snd_mixer_selem_id_set_name(id, name.c_str());
  return snd_mixer_find_selem(handle_, id);
}

const AlsaMixer::Entry* AlsaMixer::Find(const MixerControl& control) const {
  if (control.id == 0 || control.id > entries_.size()) return nullptr;
  return &entries_[control.id - 1];
}

bool AlsaMixer::LookUp(MixerLine line, MixerControlType type, MixerControl& control) {
  const char* name = ElementName(line, type);
  if (!name) return false;
  snd_mixer_elem_t* elem = Element(name);
  if (!elem) return false;
  const bool isSwitch = type == MixerControlType::Mute;
  if (isSwitch ? !snd_mixer_selem_has_playback_switch(elem) : !snd_mixer_selem_has_playback_volume(elem)) return false;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].element == name && entries_[i].isSwitch == isSwitch) {
      control.id = static_cast<uint32_t>(i + 1);
      return true;
    }
  }
  entries_.push_back(Entry{name, isSwitch});
  control.id = static_cast<uint32_t>(entries_.size());
  return true;
}

bool AlsaMixer::SetValue(const MixerControl& control, uint32_t value) {
  const Entry* entry = Find(control);
  snd_mixer_elem_t* elem = entry ? Element(entry->element) : nullptr;
  if (!elem) return false;
  if (entry->isSwitch) return snd_mixer_selem_set_playback_switch_all(elem, value ? 0 : 1) == 0;  // mute = switch off
  long min = 0, max = 0;
  if (snd_mixer_selem_get_playback_volume_range(elem, &min, &max) < 0 || max <= min) return false;
  return snd_mixer_selem_set_playback_volume_all(elem, Scaled(value, min, max)) == 0;
}

int64_t AlsaMixer::GetValue(const MixerControl& control) {
  const Entry* entry = Find(control);
  snd_mixer_elem_t* elem = entry ? Element(entry->element) : nullptr;
  if (!elem) return -1;
  // One value for the control: the first channel's (mono elements have only that one).
  const auto channel = snd_mixer_selem_is_playback_mono(elem) ? SND_MIXER_SCHN_MONO : SND_MIXER_SCHN_FRONT_LEFT;
  if (entry->isSwitch) {
    int on = 0;
    if (snd_mixer_selem_get_playback_switch(elem, channel, &on) < 0) return -1;
    return on ? 0 : 1;
  }
  long min = 0, max = 0, volume = 0;
  if (snd_mixer_selem_get_playback_volume_range(elem, &min, &max) < 0 || max <= min ||
      snd_mixer_selem_get_playback_volume(elem, channel, &volume) < 0) {
    return -1;
  }
  return std::lround(static_cast<double>(volume - min) * kMixerFullScale / static_cast<double>(max - min));
}

}  // namespace korvalin
