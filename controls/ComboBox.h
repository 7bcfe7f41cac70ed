#pragma once
// A drop-down list: either a fixed list to choose from, or an editable box with suggestions.

#include "controls/ItemList.h"

namespace korvalin::controls {

class ComboBox : public ItemList {
 public:
  enum class Style { Editable, List };

  explicit ComboBox(std::string name, Style style = Style::List, std::string text = {})
      : ItemList(std::move(name)), style_(style), text_(std::move(text)) {}

  Style GetStyle() const { return style_; }

  // The shown text: the chosen entry, or what was typed into an editable box.
  const std::string& Text() const { return text_; }
  // Editable: takes the text (the entry of the same text, if any, becomes the chosen one).
  // Fixed list: chooses the entry of that text; a text not in the list is refused.
  void SetText(std::string text);

  Event OnChange;

 protected:
  void IndexChanged() override;

 private:
  Style style_;
  std::string text_;
};

}  // namespace korvalin::controls
