#pragma once
// Option buttons of one group exclude each other: choosing one clears the others.

#include <memory>
#include <vector>

#include "controls/Control.h"

namespace korvalin::controls {

class OptionButton;

class OptionGroup {
 public:
  void Add(OptionButton& button);
  const std::vector<OptionButton*>& Members() const { return members_; }

 private:
  std::vector<OptionButton*> members_;
};

class OptionButton : public Control {
 public:
  explicit OptionButton(std::string name, std::string caption = {}, bool value = false)
      : Control(std::move(name)), caption_(std::move(caption)), value_(value) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text) { Set(caption_, std::move(text), Property::Caption); }

  bool Value() const { return value_; }
  // Choosing a button clears the rest of its group and runs its click handler.
  void SetValue(bool on);

  Event OnClick;

 private:
  friend class OptionGroup;
  std::string caption_;
  bool value_;
  OptionGroup* group_ = nullptr;
};

}  // namespace korvalin::controls
