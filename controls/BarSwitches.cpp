#include "controls/BarSwitches.h"

namespace korvalin::controls {

void SwitchBarsFromMenu(const std::vector<std::pair<MenuItem*, PictureBox*>>& switches, const Event& relayout) {
  for (const auto& [menuItem, shownBar] : switches) {
    MenuItem* item = menuItem;  // a lambda captures variables, not the names of a binding
    PictureBox* bar = shownBar;
    item->SetChecked(bar->Visible());
    item->OnClick = [item, bar, relayout] {
      const bool show = !item->Checked();
      item->SetChecked(show);
      bar->SetVisible(show);
      Fire(relayout);
    };
  }
}

}  // namespace korvalin::controls
