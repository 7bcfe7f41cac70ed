#include "window/MainToolbar.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvalin {
namespace {

struct Shown {
  bool stop, cancel, lowSpace;
};

// The toolbar follows the job's signals by itself: stop and cancel appear when a job offers them
// (and stay for the next job), the low-space warning comes and goes with the drive.
TEST(MainToolbar, ShowsTheButtonsAJobOffersAndTheLowSpaceWarning) {
  struct Step {
    const char* what;
    std::function<void(JobEvents&)> emit;
    Shown after;
  };
  const Step steps[] = {
      {"at start", [](JobEvents&) {}, {true, false, false}},
      {"drive runs low", [](JobEvents& e) { e.lowSpace.Emit(true); }, {true, false, true}},
      {"job offers stop", [](JobEvents& e) { e.commandShown.Emit(JobCommand::Stop); }, {true, false, true}},
      {"job offers cancel", [](JobEvents& e) { e.commandShown.Emit(JobCommand::Cancel); }, {true, true, true}},
      {"space again", [](JobEvents& e) { e.lowSpace.Emit(false); }, {true, true, false}},
  };
  JobEvents events;
  MainToolbar toolbar(events);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.emit(events);
    EXPECT_EQ(toolbar.Command1.Visible(), step.after.stop);
    EXPECT_EQ(toolbar.Command2.Visible(), step.after.cancel);
    EXPECT_EQ(toolbar.Label5.Visible(), step.after.lowSpace);
  }
}

TEST(MainToolbar, LaysItsButtonsOutInOneRowWithPicturesTipsAndTheWarningAfterThem) {
  JobEvents events;
  MainToolbar toolbar(events);
  const controls::CommandButton* row[] = {&toolbar.CmdSelectAction, &toolbar.C777,     &toolbar.C5555555, &toolbar.Copt,
                                          &toolbar.Cmdhelp,         &toolbar.Command4, &toolbar.Command1, &toolbar.Command2,
                                          &toolbar.Command5,        &toolbar.Command7};
  int32_t rightOfLast = 0;
  for (const auto* button : row) {
    SCOPED_TRACE(button->Name());
    EXPECT_EQ(button->Top(), row[0]->Top());
    EXPECT_GE(button->Left(), rightOfLast);  // no two overlap
    rightOfLast = button->Left() + button->Width();
    const bool shown = button != &toolbar.Command7;
    EXPECT_EQ(!button->Picture().empty(), shown);
    EXPECT_EQ(!button->ToolTipText().empty(), shown);
  }
  EXPECT_FALSE(toolbar.Command7.Visible());
  EXPECT_GT(toolbar.Label5.Left(), rightOfLast);
}

}  // namespace
}  // namespace korvalin
