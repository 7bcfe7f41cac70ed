#include "controls/Timer.h"

#include "common/RaisedError.h"

namespace korvalin::controls {

void Timer::SetInterval(int32_t ms) {
  if (ms < 0 || ms > 65535) throw RaisedError::Of(errnum::InvalidPropertyValue);
  if (ms == interval_) return;
  interval_ = ms;
  Changed.Emit(Change{Property::Interval});
}

}  // namespace korvalin::controls
