#include "controls/ComboBox.h"

#include "common/RaisedError.h"

namespace korvalin::controls {

void ComboBox::IndexChanged() {
  if (ListIndex() >= 0) {
    if (Set(text_, List(ListIndex()), Property::Text) && style_ == Style::Editable) Fire(OnChange);
  } else if (style_ == Style::List) {
    Set(text_, std::string(), Property::Text);
  }
}

void ComboBox::SetText(std::string text) {
  int32_t match = -1;
  for (int32_t i = 0; i < ListCount(); ++i) {
    if (Items()[static_cast<std::size_t>(i)] == text) {
      match = i;
      break;
    }
  }
  if (style_ == Style::List) {
    if (match < 0) throw RaisedError::Of(errnum::InvalidPropertyValue);
    SetListIndex(match);
    return;
  }
  const bool changed = Set(text_, std::move(text), Property::Text);
  // The chosen entry follows the typed text without a click, as typing does.
  SelectIndex(match, false);
  if (changed) Fire(OnChange);
}

}  // namespace korvalin::controls
