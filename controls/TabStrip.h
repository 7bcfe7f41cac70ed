#pragma once
// A strip of tabs over pages of controls: the captions, and which tab is in front.

#include <cstdint>
#include <string>
#include <vector>

#include "common/RaisedError.h"
#include "controls/Control.h"

namespace korvalin::controls {

class TabStrip : public Control {
 public:
  TabStrip(std::string name, std::vector<std::string> captions)
      : Control(std::move(name)), captions_(std::move(captions)) {}

  int32_t Tabs() const { return static_cast<int32_t>(captions_.size()); }
  // The caption of tab `index` (from 0).
  const std::string& TabCaption(int32_t index) const { return captions_.at(Checked(index)); }
  void SetTabCaption(int32_t index, std::string text) {
    captions_.at(Checked(index)) = std::move(text);
    Notify(Property::Caption, index);
  }

  // The tab in front. Bringing another one to the front, by the user or the program, runs the
  // click handler.
  int32_t Tab() const { return tab_; }
  void SetTab(int32_t index) {
    Checked(index);
    if (index == tab_) return;
    tab_ = index;
    Notify(Property::Value);
    Fire(OnClick);
  }

  Event OnClick;

 private:
  std::size_t Checked(int32_t index) const {
    if (index < 0 || index >= Tabs()) throw RaisedError::Of(errnum::InvalidPropertyValue);
    return static_cast<std::size_t>(index);
  }

  std::vector<std::string> captions_;
  int32_t tab_ = 0;
};

}  // namespace korvalin::controls
