#include "jobs/JobButtons.h"

namespace korvalin {

namespace {
constexpr int32_t kButtonWidth = 900;
}  // namespace

JobButtons::JobButtons(ProgramJobs& jobs) : jobs_(jobs) {
  Command8.SetToolTipText("Stop Everything");
  // Each starts its own job, with the same opening and closing steps as Start.
  cmdStart.OnClick = [this] { jobs_.runner.Run([this] { jobs_.Start(EntryKind::Track); }); };
  cmdEncFile.OnClick = [this] { jobs_.runner.Run([this] { jobs_.Start(EntryKind::Wav); }); };
  CmdDecoder.OnClick = [this] { jobs_.runner.Run([this] { jobs_.Start(EntryKind::Mp3); }); };
  // A rip or an encoding stops after the block in hand, a batch before its next file.
  Command8.OnClick = [this] { jobs_.StopEverything(); };
}

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
