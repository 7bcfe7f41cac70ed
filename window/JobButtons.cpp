#include "window/JobButtons.h"

namespace korvalin {

namespace {
constexpr int32_t kButtonWidth = 900;
}  // namespace

void JobButtons::Place() {
  cmdStart.Move(4920, 45, kButtonWidth, 330);
  cmdEncFile.Move(5880, 45, kButtonWidth, 330);
  CmdDecoder.Move(6840, 45, kButtonWidth, 330);
  Command8.Move(7800, 45, kButtonWidth, 330);
}

void JobButtons::Arrange(int32_t width) {
  int32_t left = width - kWidth;
  for (auto* b : {&cmdStart, &cmdEncFile, &CmdDecoder, &Command8}) {
    b->SetLeft(left);
    left += kButtonWidth + kGap;
  }
}

}  // namespace korvalin
