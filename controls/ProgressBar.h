#pragma once

#include <cstdint>

#include "controls/Control.h"

namespace korvalin::controls {

class ProgressBar : public Control {
 public:
  explicit ProgressBar(std::string name, int32_t min = 0, int32_t max = 100)
      : Control(std::move(name)), min_(min), max_(max), value_(min) {}

  int32_t Min() const { return min_; }
  int32_t Max() const { return max_; }
  int32_t Value() const { return value_; }
  // A value outside Min..Max is an invalid-property-value error; the bar keeps its value.
  void SetValue(int32_t value);

 private:
  int32_t min_, max_, value_;
};

}  // namespace korvalin::controls
