#include "controls/Control.h"

#include "common/RaisedError.h"

namespace korvalin::controls {

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (width < 0 || height < 0) throw RaisedError::Of(errnum::InvalidPropertyValue);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Notify(Property::Geometry);
}

}  // namespace korvalin::controls
