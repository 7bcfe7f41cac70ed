#include "controls/ProgressBar.h"

#include "common/RaisedError.h"

namespace korvalin::controls {

void ProgressBar::SetValue(int32_t value) {
  if (value < min_ || value > max_) throw RaisedError::Of(errnum::InvalidPropertyValue);
  Set(value_, value, Property::Value);
}

}  // namespace korvalin::controls
