#pragma once

#include "controls/ItemList.h"

namespace korvalin::controls {

class ListBox : public ItemList {
 public:
  using ItemList::ItemList;

  void DblClick() { Fire(OnDblClick); }
  Event OnDblClick;
};

}  // namespace korvalin::controls
