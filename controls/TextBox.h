#pragma once

#include <cstdint>
#include <functional>

#include "controls/Control.h"

namespace korvalin::controls {

class TextBox : public Control {
 public:
  explicit TextBox(std::string name, std::string text = {}) : Control(std::move(name)), text_(std::move(text)) {}

  const std::string& Text() const { return text_; }
  // Any change of text, typed or set by the program, runs the change handler.
  void SetText(std::string text) {
    if (Set(text_, std::move(text), Property::Text)) Fire(OnChange);
  }

  // How many characters the user may type; 0 = no limit. Text set by the program is not cut.
  int32_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t n) { Set(maxLength_, n, Property::MaxLength); }

  bool Bold() const { return bold_; }
  void SetBold(bool on) { bold_ = on; }

  // A key typed into the box, by its character code; the handler may change it (0 swallows it).
  void KeyPress(int16_t& keyAscii) {
    if (OnKeyPress) OnKeyPress(keyAscii);
  }
  void KeyUp(int16_t keyCode, int16_t shift) {
    if (OnKeyUp) OnKeyUp(keyCode, shift);
  }

  Event OnChange;
  std::function<void(int16_t& keyAscii)> OnKeyPress;
  std::function<void(int16_t keyCode, int16_t shift)> OnKeyUp;

 private:
  std::string text_;
  int32_t maxLength_ = 0;
  bool bold_ = false;
};

}  // namespace korvalin::controls
