#pragma once
// The next-action strip's job buttons: Extract, encode, decode and "Stop Everything". They keep
// to the strip's right edge; the next-action line has the rest of the strip. The main window
// wires their clicks to the jobs.

#include <cstdint>

#include "controls/CommandButton.h"

namespace korvalin {

struct JobButtons {
  JobButtons() { Command8.SetToolTipText("Stop Everything"); }
  JobButtons(const JobButtons&) = delete;
  JobButtons& operator=(const JobButtons&) = delete;

  controls::CommandButton cmdStart{"cmdStart", "Extract"};
  controls::CommandButton cmdEncFile{"cmdEncFile", "encode"};
  controls::CommandButton CmdDecoder{"CmdDecoder", "decode"};
  controls::CommandButton Command8{"Command8", "Cancel"};  // "Stop Everything"

  // The width (twips) the buttons take at the strip's right edge, its margin included.
  static constexpr int32_t kWidth = 300 + 4 * 900 + 3 * 60;
  // The room kept between the next-action line and the first button.
  static constexpr int32_t kGap = 60;

  // The buttons as designed, in a strip 9000 twips wide.
  void Place();
  // Keeps the buttons at the right edge of a strip `width` wide.
  void Arrange(int32_t width);
};

}  // namespace korvalin
