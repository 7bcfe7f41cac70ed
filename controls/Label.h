#pragma once

#include "controls/Control.h"

namespace korvalin::controls {

class Label : public Control {
 public:
  explicit Label(std::string name, std::string caption = {}) : Control(std::move(name)), caption_(std::move(caption)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text) { Set(caption_, std::move(text), Property::Caption); }

 private:
  std::string caption_;
};

}  // namespace korvalin::controls
