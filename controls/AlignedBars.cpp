#include "controls/AlignedBars.h"

namespace korvalin::controls {

FreeBand AlignedBars::Arrange(int32_t width, int32_t height) const {
  FreeBand band{0, height};
  for (auto* bar : top) {
    bar->Move(0, band.top, width, bar->Height());
    if (bar->Visible()) band.top += bar->Height();
  }
  for (auto* bar : bottom) {
    if (bar->Visible()) band.bottom -= bar->Height();
    // A hidden bar waits just beyond the stack's edge, where it appears when shown.
    bar->Move(0, bar->Visible() ? band.bottom : band.bottom - bar->Height(), width, bar->Height());
  }
  return band;
}

int32_t AlignedBars::TotalHeight() const {
  int32_t sum = 0;
  for (const auto* list : {&top, &bottom}) {
    for (const auto* bar : *list) sum += bar->Height();
  }
  return sum;
}

}  // namespace korvalin::controls
