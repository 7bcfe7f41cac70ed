#include "controls/BarSwitches.h"

namespace korvalin::controls {

void SwitchBarsFromMenu(const std::vector<std::pair<MenuItem*, PictureBox*>>& switches, const Event& relayout) {
  for (const auto& [item, bar] : switches) {
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
