#pragma once
// A mixer at the service boundary: it has the controls it is given, keeps their values and
// records every call in order ("Open", "LookUp CD Mute", "Get 2", "Set 2 1").

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Mixer.h"

namespace korvalin::test {

class FakeMixer : public Mixer {
 public:
  using Key = std::pair<MixerLine, MixerControlType>;

  // A sound card with speaker volume, bass and treble and a CD line with volume and mute.
  FakeMixer()
      : controls{{MixerLine::Speakers, MixerControlType::Volume},
                 {MixerLine::Speakers, MixerControlType::Bass},
                 {MixerLine::Speakers, MixerControlType::Treble},
                 {MixerLine::CompactDisc, MixerControlType::Volume},
                 {MixerLine::CompactDisc, MixerControlType::Mute}} {}

  bool Open() override {
    calls.push_back("Open");
    open = opens;
    return opens;
  }
  bool LookUp(MixerLine line, MixerControlType type, MixerControl& control) override {
    calls.push_back("LookUp " + Name(line, type));
    if (!open || !controls.count({line, type})) return false;
    control.id = IdOf({line, type});
    return true;
  }
  bool SetValue(const MixerControl& control, uint32_t value) override {
    calls.push_back("Set " + std::to_string(control.id) + " " + std::to_string(value));
    if (!open || control.id == 0) return false;
    values[control.id] = value;
    return true;
  }
  int64_t GetValue(const MixerControl& control) override {
    calls.push_back("Get " + std::to_string(control.id));
    if (!open || control.id == 0) return -1;
    auto it = values.find(control.id);
    return it == values.end() ? 0 : it->second;
  }

  // The value of a control by line and type; -1 when it was never written.
  int64_t Value(MixerLine line, MixerControlType type) {
    auto it = values.find(IdOf({line, type}));
    return it == values.end() ? -1 : static_cast<int64_t>(it->second);
  }

  static std::string Name(MixerLine line, MixerControlType type) {
    static const char* types[] = {"Volume", "Bass", "Treble", "Mute"};
    return std::string(line == MixerLine::Speakers ? "Speakers " : "CD ") + types[static_cast<int>(type)];
  }

  bool opens = true;       // whether there is a mixer to open
  std::set<Key> controls;  // the controls the card has
  std::vector<std::string> calls;
  std::map<uint32_t, uint32_t> values;

 private:
  // Ids in the order of first look-up, from 1.
  uint32_t IdOf(Key key) {
    auto [it, added] = ids_.emplace(key, static_cast<uint32_t>(ids_.size() + 1));
    return it->second;
  }
  std::map<Key, uint32_t> ids_;
  bool open = false;
};

}  // namespace korvalin::test
