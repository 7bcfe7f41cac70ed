#include <gtest/gtest.h>

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
  Form1 form{fake.services};
};

TEST_F(Form1Layout, StartsWithTheDesignTexts) {
  EXPECT_EQ(form.window.Caption(), "Korvalin V 2.1");
  EXPECT_EQ(form.Label3.Caption(), "Next Action: Make a selection");
  EXPECT_EQ(form.Label33.Caption(), "OFF");
  EXPECT_FALSE(form.Picture4.Visible());  // the CD bar starts hidden
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_EQ(form.Timer1.Interval(), 1000);
  EXPECT_EQ(form.tmrWarning.Interval(), 2000);
}

TEST_F(Form1Layout, TreeAreaFillsWhatTheBarsLeave) {
  ResizeTo(9000, 7000);
  // Toolbar and next-action strip shown, CD bar hidden.
  EXPECT_EQ(form.Picture7.Top(), 360 + 285);
  EXPECT_EQ(form.Picture7.Height(), 7000 - 645 - 360 - 345);
  EXPECT_EQ(form.Picture7.Width(), 9000 - form.Picture8.Width() - 50);
  EXPECT_EQ(form.Picture8.Left(), 9000 - form.Picture8.Width());
  EXPECT_EQ(form.Picture5.Top(), 360);
  EXPECT_EQ(form.Picture1.Top(), 7000 - 360);
  EXPECT_EQ(form.Picture2.Top(), 7000 - 360 - 345);
  EXPECT_EQ(form.Picture3.Width(), 9000);
}

TEST_F(Form1Layout, WithEveryBarHiddenTheTreeAreaRunsFromTheStripToTheBottom) {
  for (auto* bar : {&form.Picture1, &form.Picture2, &form.Picture3, &form.Picture4}) bar->SetVisible(false);
  ResizeTo(6000, 6600);
  EXPECT_EQ(form.Picture5.Top(), 0);
  EXPECT_EQ(form.Picture7.Top(), 285);
  EXPECT_EQ(form.Picture7.Top() + form.Picture7.Height(), 6600);
}

TEST_F(Form1Layout, HidingTheStatusBarAddsExactlyItsHeight) {
  ResizeTo(6000, 6600);
  const int32_t before = form.Picture7.Height();
  form.Picture1.SetVisible(false);
  form.Form_Resize();
  EXPECT_EQ(form.Picture7.Height(), before + form.Picture1.Height());
  EXPECT_EQ(form.Picture2.Top(), 6600 - 345);  // the activity bar drops to the bottom edge
  form.Picture4.SetVisible(true);              // the CD bar pushes the tree area down
  form.Form_Resize();
  EXPECT_EQ(form.Picture7.Top(), 360 + 315 + 285);
  EXPECT_EQ(form.Picture5.Top(), 360 + 315);
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
  Form1 form(fake.services);
  form.ChangeProgress("Extracting track /x.wav", 3, 40);
  EXPECT_EQ(form.window.Caption(), "Progress 07.50 %");
  EXPECT_EQ(form.Label33.Caption(), "07.50 %");
  EXPECT_EQ(form.ProgressBar1.Value(), 7);
  form.ChangeProgress("", 40, 40);
  EXPECT_EQ(form.window.Caption(), "Progress 100.00 %");
  EXPECT_EQ(form.ProgressBar1.Value(), 100);
  EXPECT_THROW(form.ChangeProgress("", 1, 0), RaisedError);  // the displays keep their values
  EXPECT_EQ(form.Label33.Caption(), "100.00 %");
  form.ChangeProgress("", 1, 3);
  EXPECT_EQ(form.Label33.Caption(), "33.33 %");
  EXPECT_EQ(form.ProgressBar1.Value(), 33);
}

}  // namespace
}  // namespace korvalin
