#include "controls/CheckBox.h"

#include "common/RaisedError.h"

namespace korvalin::controls {

void CheckBox::SetValue(int16_t value) {
  if (value < Unchecked || value > Grayed) throw RaisedError::Of(errnum::InvalidPropertyValue);
  if (Set(value_, value, Property::Value)) Fire(OnClick);
}

}  // namespace korvalin::controls
