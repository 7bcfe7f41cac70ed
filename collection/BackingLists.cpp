#include "collection/BackingLists.h"

#include <algorithm>

namespace korvalin {

int32_t IndexOf(const controls::ListBox& list, const std::string& entry) {
  const auto& items = list.Items();
  const auto found = std::find(items.begin(), items.end(), entry);
  return found == items.end() ? -1 : static_cast<int32_t>(found - items.begin());
}

void RemoveFirst(controls::ListBox& list, const std::string& entry) {
  if (const int32_t index = IndexOf(list, entry); index >= 0) list.RemoveItem(index);
}

void RemoveEvery(controls::ListBox& list, const std::string& entry, const std::function<void()>& afterEachStep) {
  for (int32_t i = 0; i < list.ListCount();) {
    if (list.List(i) == entry) {
      list.RemoveItem(i);
    } else {
      ++i;
    }
    if (afterEachStep) afterEachStep();
  }
}

void PutInFront(controls::ListBox& list, const std::string& entry, controls::ListBox& scratch) {
  scratch.Clear();
  scratch.AddItem(entry);
  for (const auto& e : list.Items()) scratch.AddItem(e);
  list.Clear();
  for (const auto& e : scratch.Items()) list.AddItem(e);
}

}  // namespace korvalin
