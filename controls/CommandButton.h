#pragma once

#include "controls/Control.h"

namespace korvalin::controls {

class CommandButton : public Control {
 public:
  explicit CommandButton(std::string name, std::string caption = {})
      : Control(std::move(name)), caption_(std::move(caption)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text) { Set(caption_, std::move(text), Property::Caption); }

  // The name of the picture shown on the button ("" for none).
  const std::string& Picture() const { return picture_; }
  void SetPicture(std::string name) { Set(picture_, std::move(name), Property::Picture); }

  // A click, whether the user's or the program's.
  void Click() { Fire(OnClick); }

  Event OnClick;

 private:
  std::string caption_;
  std::string picture_;
};

}  // namespace korvalin::controls
