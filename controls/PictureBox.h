#pragma once
// A region of a window that holds other controls; bars aligned to the top or bottom edge.

#include "controls/Control.h"

namespace korvalin::controls {

class PictureBox : public Control {
 public:
  enum class Align { None, Top, Bottom };

  explicit PictureBox(std::string name, Align align = Align::None) : Control(std::move(name)), align_(align) {}

  Align GetAlign() const { return align_; }

 private:
  Align align_;
};

}  // namespace korvalin::controls
