#include <gtest/gtest.h>

#include <limits>

#include "dialog/grid.h"
#include "platform/types.h"
#include "strip/strip_controller.h"

namespace wendrel {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(12.5), 12);
  EXPECT_EQ(RoundHalfEven(13.5), 14);
  EXPECT_EQ(RoundHalfEven(-67.5), -68);
  EXPECT_EQ(RoundHalfEven(247.6), 248);
  EXPECT_EQ(RoundHalfEven(1e12), std::numeric_limits<std::int32_t>::max());
}

TEST(Rounding, TwipsRoundUpToWholePixels) {
  EXPECT_EQ(RoundUpToPixels(345, 15), 345);
  EXPECT_EQ(RoundUpToPixels(350, 15), 360);
  EXPECT_EQ(RoundUpToPixels(0, 15), 0);
  EXPECT_EQ(RoundUpToPixels(735, 15), 735);
  EXPECT_EQ(RoundUpToPixels(346, 12), 348);
}

TEST(Grid, ColumnWidthsArePercentagesOfTheUsableWidth) {
  Grid grid(6390);
  grid.SetCols(6);
  const int percents[] = {4, 10, 20, 33, 33, 0};
  const std::int32_t expected[] = {248, 619, 1238, 2043, 2043, 0};
  for (int col = 0; col < 6; ++col) {
    SetColWidthPercent(grid, col, percents[col]);
    EXPECT_EQ(grid.ColWidth(col), expected[col]) << col;
  }
}

TEST(Grid, CellsAreWrittenThroughTheCurrentCell) {
  Grid grid(1000);
  grid.SetCols(3);
  grid.SetRows(3);
  SetCellText(grid, 2, 1, "b");
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Text(), "b");
  grid.SetRows(1);
  EXPECT_EQ(grid.Row(), 0);
  grid.SetRows(3);
  EXPECT_EQ(grid.Cell(2, 1), "");
  EXPECT_THROW(SetCellText(grid, 3, 0, "x"), std::out_of_range);
  SetColAlignment(grid, 0, "1");
  EXPECT_EQ(grid.ColAlignment(0), 1);
}

}  // namespace
}  // namespace wendrel
