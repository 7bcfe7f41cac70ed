#pragma once
// The item list and current index that list boxes and combo boxes share.

#include <cstdint>
#include <string>
#include <vector>

#include "controls/Control.h"

namespace korvalin::controls {

class ItemList : public Control {
 public:
  using Control::Control;

  int32_t ListCount() const { return static_cast<int32_t>(items_.size()); }
  // The entry at `index`; "" for an index past the end, as the toolkit answers.
  std::string List(int32_t index) const;
  const std::vector<std::string>& Items() const { return items_; }

  // Appends (index -1) or inserts before `index`; an index beyond the end is an
  // invalid-argument error and changes nothing.
  void AddItem(std::string text, int32_t index = -1);
  void RemoveItem(int32_t index);
  void SetList(int32_t index, std::string text);
  void Clear();

  // -1 = nothing selected. Choosing another index runs the click handler.
  int32_t ListIndex() const { return listIndex_; }
  void SetListIndex(int32_t index) { SelectIndex(index, true); }

  Event OnClick;

 protected:
  void SelectIndex(int32_t index, bool runClick);
  virtual void IndexChanged() {}

 private:
  void CheckIndex(int32_t index, int32_t limit) const;
  std::vector<std::string> items_;
  int32_t listIndex_ = -1;
};

}  // namespace korvalin::controls
