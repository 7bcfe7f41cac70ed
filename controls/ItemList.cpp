#include "controls/ItemList.h"

#include "common/RaisedError.h"

namespace korvalin::controls {

void ItemList::CheckIndex(int32_t index, int32_t limit) const {
  if (index < 0 || index > limit) throw RaisedError::Of(errnum::InvalidArgument);
}

std::string ItemList::List(int32_t index) const {
  if (index < -1) throw RaisedError::Of(errnum::InvalidArgument);
  if (index < 0 || index >= ListCount()) return {};
  return items_[static_cast<std::size_t>(index)];
}

void ItemList::AddItem(std::string text, int32_t index) {
  if (index == -1) index = ListCount();
  CheckIndex(index, ListCount());
  items_.insert(items_.begin() + index, std::move(text));
  if (listIndex_ >= index) ++listIndex_;
  Notify(Property::ItemInserted, index);
}

void ItemList::RemoveItem(int32_t index) {
  CheckIndex(index, ListCount() - 1);
  items_.erase(items_.begin() + index);
  Notify(Property::ItemRemoved, index);
  if (listIndex_ == index) {
    listIndex_ = -1;
    Notify(Property::ListIndex);
  } else if (listIndex_ > index) {
    --listIndex_;
  }
}

void ItemList::SetList(int32_t index, std::string text) {
  CheckIndex(index, ListCount() - 1);
  items_[static_cast<std::size_t>(index)] = std::move(text);
  Notify(Property::ItemChanged, index);
  if (index == listIndex_) IndexChanged();
}

void ItemList::Clear() {
  if (items_.empty() && listIndex_ == -1) return;
  items_.clear();
  Notify(Property::Items);
  if (listIndex_ != -1) {
    listIndex_ = -1;
    Notify(Property::ListIndex);
  }
}

void ItemList::SelectIndex(int32_t index, bool runClick) {
  if (index < -1 || index >= ListCount()) throw RaisedError::Of(errnum::InvalidPropertyValue);
  if (index == listIndex_) return;
  listIndex_ = index;
  Notify(Property::ListIndex);
  IndexChanged();
  if (runClick) Fire(OnClick);
}

}  // namespace korvalin::controls
