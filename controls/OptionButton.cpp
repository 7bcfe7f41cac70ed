#include "controls/OptionButton.h"

namespace korvalin::controls {

void OptionGroup::Add(OptionButton& button) {
  members_.push_back(&button);
  button.group_ = this;
}

void OptionButton::SetValue(bool on) {
  if (!Set(value_, on, Property::Value)) return;
  if (!on) return;
  if (group_) {
    for (OptionButton* other : group_->Members()) {
      if (other != this) other->Set(other->value_, false, Property::Value);
    }
  }
  Fire(OnClick);
}

}  // namespace korvalin::controls
