#pragma once
// A menu or menu item. A menu lists its items in order; a caption of "-" is a separator.

#include <vector>

#include "controls/Control.h"

namespace korvalin::controls {

class MenuItem : public Control {
 public:
  explicit MenuItem(std::string name, std::string caption = {}, std::vector<MenuItem*> items = {})
      : Control(std::move(name)), caption_(std::move(caption)), items_(std::move(items)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text) { Set(caption_, std::move(text), Property::Caption); }

  bool Checked() const { return checked_; }
  void SetChecked(bool on) { Set(checked_, on, Property::Checked); }

  bool IsSeparator() const { return caption_ == "-"; }
  const std::vector<MenuItem*>& Items() const { return items_; }
  // Adds an item at the end, before the menu is shown: another window puts its own item here.
  void Append(MenuItem& item) { items_.push_back(&item); }

  void Click() { Fire(OnClick); }
  Event OnClick;

 private:
  std::string caption_;
  bool checked_ = false;
  std::vector<MenuItem*> items_;
};

}  // namespace korvalin::controls
