#pragma once
// Menu items that show and hide a window's bars.

#include <utility>
#include <vector>

#include "controls/MenuItem.h"
#include "controls/PictureBox.h"

namespace korvalin::controls {

// Checks each item as its bar is shown now, and hands it its click: the click flips the check mark
// and the bar's visibility together, then runs `relayout` (the window lays its bars out again).
void SwitchBarsFromMenu(const std::vector<std::pair<MenuItem*, PictureBox*>>& switches, const Event& relayout);

}  // namespace korvalin::controls
