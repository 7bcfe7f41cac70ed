#pragma once

#include <cstdint>
#include <functional>

#include "controls/ItemList.h"

namespace korvalin::controls {

class ListBox : public ItemList {
 public:
  using ItemList::ItemList;

  void DblClick() { Fire(OnDblClick); }
  Event OnDblClick;

  // A mouse button pressed over the list: button 1 left, 2 right, 4 middle; position in twips.
  // A right press leaves the selection as it was.
  void MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) {
    if (OnMouseDown) OnMouseDown(button, shift, x, y);
  }
  std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> OnMouseDown;
};

}  // namespace korvalin::controls
