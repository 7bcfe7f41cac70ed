#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Form1.h"
#include "common/RaisedError.h"
#include "tests/support/FakeServices.h"

namespace korvalin {
namespace {

class Form1Layout : public ::testing::Test {
 protected:
  void ResizeTo(int32_t width, int32_t height) {
    form.window.SetScaleSize(width, height);
    form.Form_Resize();
  }
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
};

TEST_F(Form1Layout, StartsWithTheDesignTexts) {
  EXPECT_EQ(form.window.Caption(), "Korvalin V 2.1");
  EXPECT_EQ(form.displays.Label3.Caption(), "Next Action: Make a selection");
  EXPECT_EQ(form.displays.Label33.Caption(), "OFF");
  EXPECT_FALSE(form.Picture4.Visible());  // the CD bar starts hidden
  EXPECT_FALSE(form.displays.Timer1.Enabled());
  EXPECT_EQ(form.displays.Timer1.Interval(), 1000);
  EXPECT_EQ(form.programJobs.tmrWarning.Interval(), 2000);
}

TEST_F(Form1Layout, TreeAreaFillsWhatTheBarsLeave) {
  ResizeTo(12000, 9000);
  const int32_t toolbar = form.Picture3.Height(), strip = form.Picture5.Height();
  const int32_t status = form.Picture1.Height(), activity = form.Picture2.Height();
  // Toolbar and next-action strip shown, CD bar hidden.
  EXPECT_EQ(form.Picture5.Top(), toolbar);
  EXPECT_EQ(form.Picture7.Top(), toolbar + strip);
  EXPECT_EQ(form.Picture7.Height(), 9000 - toolbar - strip - status - activity);
  EXPECT_EQ(form.Picture7.Width(), 12000 - form.Picture8.Width() - 50);
  EXPECT_EQ(form.Picture8.Left(), 12000 - form.Picture8.Width());
  EXPECT_EQ(form.Picture1.Top(), 9000 - status);
  EXPECT_EQ(form.Picture2.Top(), 9000 - status - activity);
  EXPECT_EQ(form.Picture3.Width(), 12000);
  const auto shown = form.collection.Shown();
  EXPECT_EQ(shown.TreeView1.Height(), form.Picture7.Height());
  EXPECT_EQ(shown.TreeView1.Width(), form.Picture7.Width());
  // The options panel grows with the window beside the tree area, its track lists within it.
  EXPECT_EQ(form.Picture8.Top(), form.Picture7.Top());
  EXPECT_EQ(form.Picture8.Height(), form.Picture7.Height());
  EXPECT_LE(shown.lstRecord.Top() + shown.lstRecord.Height(), form.Picture8.Height());
  EXPECT_GT(shown.lstRecord.Top(), shown.lstTracks.Top() + shown.lstTracks.Height());
  // The job buttons keep to the right edge; the next-action line has the rest of the strip.
  EXPECT_EQ(form.jobButtons.Command8.Left() + form.jobButtons.Command8.Width(), 12000 - 300);
  EXPECT_LT(form.displays.Label3.Left() + form.displays.Label3.Width(), form.jobButtons.cmdStart.Left());
}

TEST_F(Form1Layout, TheTrackListsKeepAFewLinesAndFitAtTheMinimumSize) {
  for (auto* bar : {&form.Picture4, &form.Picture3, &form.Picture1, &form.Picture2}) bar->SetVisible(true);
  ResizeTo(form.MinimumScaleWidth(), form.MinimumScaleHeight());
  const auto& tracks = form.collection.Shown().lstTracks;
  const auto& record = form.collection.Shown().lstRecord;
  EXPECT_GE(tracks.Height(), 700);
  EXPECT_EQ(record.Height(), tracks.Height());
  EXPECT_LE(record.Top() + record.Height(), form.Picture8.Height());
  EXPECT_GT(form.Picture7.Width(), 0);
  ResizeTo(3000, 2000);  // smaller than allowed (a window manager that ignores the minimum)
  EXPECT_EQ(tracks.Height(), record.Height());
  EXPECT_GE(tracks.Height(), 700);
}

TEST_F(Form1Layout, WithEveryBarHiddenTheTreeAreaRunsFromTheStripToTheBottom) {
  for (auto* bar : {&form.Picture1, &form.Picture2, &form.Picture3, &form.Picture4}) bar->SetVisible(false);
  ResizeTo(9000, 7200);
  EXPECT_EQ(form.Picture5.Top(), 0);
  EXPECT_EQ(form.Picture7.Top(), form.Picture5.Height());
  EXPECT_EQ(form.Picture7.Top() + form.Picture7.Height(), 7200);
}

TEST_F(Form1Layout, HidingTheStatusBarAddsExactlyItsHeight) {
  ResizeTo(9000, 7200);
  const int32_t before = form.Picture7.Height();
  form.mnuStatusbar.Click();  // checked at start: hides the bar
  EXPECT_FALSE(form.mnuStatusbar.Checked());
  EXPECT_FALSE(form.Picture1.Visible());
  EXPECT_EQ(form.Picture7.Height(), before + form.Picture1.Height());
  EXPECT_EQ(form.Picture2.Top(), 7200 - form.Picture2.Height());  // the activity bar drops to the edge
  form.mnuCDbar.Click();  // unchecked at start: shows the CD bar, which pushes the tree area down
  EXPECT_TRUE(form.mnuCDbar.Checked());
  EXPECT_EQ(form.Picture5.Top(), form.Picture3.Height() + form.Picture4.Height());
  EXPECT_EQ(form.Picture7.Top(), form.Picture3.Height() + form.Picture4.Height() + form.Picture5.Height());
}

TEST_F(Form1Layout, EachBarsControlsSitSideBySideInsideIt) {
  struct Row {
    controls::PictureBox& region;
    std::vector<controls::Control*> leftToRight;
  };
  const Row rows[] = {
      {form.Picture4, {&form.cdBar.cmbDrives, &form.cdBar.cmdRefresh, &form.cdBar.Command11, &form.cdBar.Command12, &form.cdBar.Check3, &form.cdBar.lblCDID,
                       &form.cdBar.lblNumTracks}},
      {form.Picture5, {&form.displays.Label3, &form.jobButtons.cmdStart, &form.jobButtons.cmdEncFile, &form.jobButtons.CmdDecoder, &form.jobButtons.Command8}},
      {form.Picture2, {&form.displays.Label2}},
      {form.Picture1, {&form.displays.ProgressBar1, &form.displays.Label33, &form.displays.lblStatus}},
  };
  for (const int32_t width : {9000, 12000}) {
    ResizeTo(width, 7200);
    for (const auto& row : rows) {
      int32_t right = 0;
      for (const auto* c : row.leftToRight) {
        SCOPED_TRACE(c->Name() + " at " + std::to_string(width));
        EXPECT_GT(c->Width(), 0);
        EXPECT_GT(c->Left(), right);
        EXPECT_GT(c->Top(), 0);
        EXPECT_LE(c->Top() + c->Height(), row.region.Height());
        right = c->Left() + c->Width();
      }
      EXPECT_LT(right, width) << row.region.Name();
    }
  }
  EXPECT_EQ(form.cdBar.cmdRefresh.ToolTipText(), "Refresh CD Info");
  EXPECT_EQ(form.cdBar.Command11.Picture(), "play.svg");
  EXPECT_EQ(form.cdBar.Command12.Picture(), "stop.svg");
}

TEST_F(Form1Layout, TooSmallAWindowLeavesTheLayoutAsItCan) {
  ResizeTo(1000, 300);  // the tree area cannot get a negative size; the other steps still run
  EXPECT_EQ(form.Picture8.Left(), 1000 - form.Picture8.Width());
  EXPECT_GE(form.Picture7.Height(), 0);
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST(ChangeProgress, ShowsThePercentInCaptionLabelAndBar) {
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  form.jobs.ChangeProgress("Extracting track /x.wav", 3, 40);
  EXPECT_EQ(form.window.Caption(), "Progress 07.50 %");
  EXPECT_EQ(form.displays.Label33.Caption(), "07.50 %");
  EXPECT_EQ(form.displays.ProgressBar1.Value(), 7);
  form.jobs.ChangeProgress("", 40, 40);
  EXPECT_EQ(form.window.Caption(), "Progress 100.00 %");
  EXPECT_EQ(form.displays.ProgressBar1.Value(), 100);
  EXPECT_THROW(form.jobs.ChangeProgress("", 1, 0), RaisedError);  // the displays keep their values
  EXPECT_EQ(form.displays.Label33.Caption(), "100.00 %");
  form.jobs.ChangeProgress("", 1, 3);
  EXPECT_EQ(form.displays.Label33.Caption(), "33.33 %");
  EXPECT_EQ(form.displays.ProgressBar1.Value(), 33);
}

}  // namespace
}  // namespace korvalin
