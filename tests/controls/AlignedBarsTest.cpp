#include <gtest/gtest.h>

#include <array>

#include "controls/AlignedBars.h"

namespace korvalin::controls {
namespace {

// Two bars at the top (540, 405 high) and two at the bottom (360 nearest the edge, then 345).
struct Case {
  const char* name;
  int32_t height;
  std::array<bool, 4> shown;
  std::array<int32_t, 4> tops;  // where each bar lands
  int32_t bandTop, bandBottom, bandHeight;
};

TEST(AlignedBars, StackFromTheirEdgesAndLeaveTheMiddle) {
  const Case cases[] = {
      {"all shown", 7200, {true, true, true, true}, {0, 540, 6840, 6495}, 945, 6495, 5550},
      // A hidden bar sits where it would appear and takes no room.
      {"first of each hidden", 7200, {false, true, false, true}, {0, 0, 6840, 6855}, 405, 6855, 6450},
      {"second of each hidden", 7200, {true, false, true, false}, {0, 540, 6840, 6495}, 540, 6840, 6300},
      {"all hidden", 7200, {false, false, false, false}, {0, 0, 6840, 6855}, 0, 7200, 7200},
      // Shorter than its bars: they overlap, the band is empty, nothing is refused.
      {"shorter than its bars", 1000, {true, true, true, true}, {0, 540, 640, 295}, 945, 295, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PictureBox top1{"top1", PictureBox::Align::Top}, top2{"top2", PictureBox::Align::Top};
    PictureBox bottom1{"bottom1", PictureBox::Align::Bottom}, bottom2{"bottom2", PictureBox::Align::Bottom};
    const std::array<PictureBox*, 4> bars{&top1, &top2, &bottom1, &bottom2};
    const int32_t heights[] = {540, 405, 360, 345};
    for (std::size_t i = 0; i < bars.size(); ++i) {
      bars[i]->Move(77, 88, 10, heights[i]);
      bars[i]->SetVisible(c.shown[i]);
    }
    const AlignedBars layout{{&top1, &top2}, {&bottom1, &bottom2}};
    const FreeBand band = layout.Arrange(9000, c.height);
    for (std::size_t i = 0; i < bars.size(); ++i) {
      EXPECT_EQ(bars[i]->Top(), c.tops[i]) << bars[i]->Name();
      EXPECT_EQ(bars[i]->Left(), 0) << bars[i]->Name();
      EXPECT_EQ(bars[i]->Width(), 9000) << bars[i]->Name();
      EXPECT_EQ(bars[i]->Height(), heights[i]) << bars[i]->Name();
    }
    EXPECT_EQ(band.top, c.bandTop);
    EXPECT_EQ(band.bottom, c.bandBottom);
    EXPECT_EQ(band.Height(), c.bandHeight);
    EXPECT_EQ(layout.TotalHeight(), 540 + 405 + 360 + 345);  // hidden or not
  }
}

}  // namespace
}  // namespace korvalin::controls
