#pragma once

#include <cstdint>

#include "controls/Control.h"

namespace korvalin::controls {

// Values: 0 cleared, 1 ticked, 2 greyed. Any change of value, by the user or the program,
// runs the click handler, which is what lets code "run a box's click action" by setting it.
class CheckBox : public Control {
 public:
  static constexpr int16_t Unchecked = 0, Checked = 1, Grayed = 2;

  explicit CheckBox(std::string name, std::string caption = {}, int16_t value = Unchecked)
      : Control(std::move(name)), caption_(std::move(caption)), value_(value) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text) { Set(caption_, std::move(text), Property::Caption); }

  int16_t Value() const { return value_; }
  // Raises the invalid-property-value error for anything but 0, 1, 2.
  void SetValue(int16_t value);

  // What a user's click does: ticks a cleared or greyed box, clears a ticked one.
  void UserClick() { SetValue(value_ == Checked ? Unchecked : Checked); }

  Event OnClick;

 private:
  std::string caption_;
  int16_t value_;
};

}  // namespace korvalin::controls
