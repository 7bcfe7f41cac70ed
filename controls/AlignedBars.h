#pragma once
// Bars aligned to the top and bottom edges of a window, laid out as a window system lays them out:
// each takes the full inner width and they stack inward from their edge in order. A hidden bar
// keeps its size and sits where it would be, but takes no room from the stack.

#include <cstdint>
#include <vector>

#include "controls/PictureBox.h"

namespace korvalin::controls {

// What the bars leave of the inner height: from `top` down to `bottom`. In a window shorter than
// its bars `bottom` lies above `top`; Height() is then 0.
struct FreeBand {
  int32_t top = 0;
  int32_t bottom = 0;
  int32_t Height() const { return bottom > top ? bottom - top : 0; }
};

struct AlignedBars {
  std::vector<PictureBox*> top;     // in stacking order, from the top edge down
  std::vector<PictureBox*> bottom;  // in stacking order, from the bottom edge up

  // Moves every bar into an inner area of `width` x `height` (top bars first, then bottom bars)
  // and returns the band between the shown ones.
  FreeBand Arrange(int32_t width, int32_t height) const;
  // The height of every bar together: what they take when all are switched on.
  int32_t TotalHeight() const;
};

}  // namespace korvalin::controls
