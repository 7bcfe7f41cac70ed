#include <gtest/gtest.h>

#include <vector>

#include "controls/BarSwitches.h"

namespace korvalin::controls {
namespace {

TEST(BarSwitches, ACheckMarkFollowsItsBarAndAClickLaysTheBarsOutAfterSwitching) {
  PictureBox shownBar{"shown", PictureBox::Align::Top}, hiddenBar{"hidden", PictureBox::Align::Bottom};
  hiddenBar.SetVisible(false);
  MenuItem shownItem{"mnuShown"}, hiddenItem{"mnuHidden"};
  std::vector<bool> seenAtRelayout;
  SwitchBarsFromMenu({{&shownItem, &shownBar}, {&hiddenItem, &hiddenBar}},
                     [&] { seenAtRelayout.push_back(hiddenBar.Visible() && hiddenItem.Checked()); });
  EXPECT_TRUE(shownItem.Checked());
  EXPECT_FALSE(hiddenItem.Checked());
  hiddenItem.Click();
  hiddenItem.Click();
  shownItem.Click();
  EXPECT_EQ(seenAtRelayout, (std::vector<bool>{true, false, false}));
  EXPECT_FALSE(shownBar.Visible());
  EXPECT_FALSE(shownItem.Checked());
}

}  // namespace
}  // namespace korvalin::controls
