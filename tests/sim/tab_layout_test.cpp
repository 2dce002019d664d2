// The simulated tab strip keeps its tab rectangles between changes; every change that moves a
// tab must show in the rectangles asked for next.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/sim/sim_desktop.h"

namespace wendrel::sim {
namespace {

class TabLayout : public ::testing::Test {
 protected:
  TabLayout() : desktop_(out_, "."), platform_(desktop_.platform()), view_(platform_.tabStrip) {
    platform_.strip.SetTabStripBounds({0, 0, 3000, 400});
  }
  // Left and top of tab i, in twips.
  std::pair<float, float> At(int index) {
    const TabRect r = view_.TabRectangle(index);
    return {r.left, r.top};
  }
  void AddTab(int index, const std::string& caption) {
    view_.InsertTab(index);
    view_.SetCaption(index, caption);
  }

  std::ostringstream out_;
  SimDesktop desktop_;
  Platform platform_;
  ITabStripView& view_;
};

// Widths at 15 twips a pixel: a caption of L characters is (8 L + 12) * 15 twips wide.
TEST_F(TabLayout, FollowsCaptionsInsertsAndRemovals) {
  AddTab(1, "ab");   // 420 twips
  AddTab(2, "abc");  // 540 twips
  EXPECT_EQ(At(2), std::make_pair(450.f, 30.f));
  view_.SetCaption(1, "abcd");  // 660 twips
  EXPECT_EQ(At(2), std::make_pair(690.f, 30.f));
  view_.SetCaption(1, "wxyz");  // same length, same place
  EXPECT_EQ(At(2), std::make_pair(690.f, 30.f));
  AddTab(1, "");  // 180 twips, in front
  EXPECT_EQ(At(3), std::make_pair(870.f, 30.f));
  view_.RemoveTab(2);
  EXPECT_EQ(At(2), std::make_pair(210.f, 30.f));
}

TEST_F(TabLayout, FollowsMultiRowAndTheStripsWidth) {
  for (int i = 1; i <= 4; ++i) AddTab(i, "abcdefgh");  // 1140 twips each
  EXPECT_EQ(At(4), std::make_pair(30.f + 3 * 1140, 30.f)) << "one row while multi-row is off";
  view_.SetMultiRow(true);
  EXPECT_EQ(At(3), std::make_pair(30.f, 390.f));
  EXPECT_EQ(At(4), std::make_pair(1170.f, 390.f));
  platform_.strip.SetTabStripBounds({0, 0, 1500, 400});
  EXPECT_EQ(At(4), std::make_pair(30.f, 1110.f)) << "one tab a row in a narrow strip";
  view_.SetMultiRow(false);
  EXPECT_EQ(At(2), std::make_pair(1170.f, 30.f));
}

}  // namespace
}  // namespace wendrel::sim
