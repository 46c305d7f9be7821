#include "model/anim_grid.h"

#include <gtest/gtest.h>

#include <limits>

namespace kiv {
namespace {

TAnimKeys Grid(int32_t columns, int32_t rows, int32_t count = 0, std::vector<int32_t> intervals = {}) {
  TAnimKeys keys;
  keys.Columns = columns;
  keys.Rows = rows;
  keys.Count = count;
  keys.Intervals = std::move(intervals);
  return keys;
}

TEST(AnimGrid, MissingIntervalsRepeatTheLastOne) {
  const TAnimGrid grid(Grid(2, 2, 4, {200, 300}));
  EXPECT_EQ(grid.FrameDuration(0), 200);
  EXPECT_EQ(grid.FrameDuration(1), 300);
  EXPECT_EQ(grid.FrameDuration(2), 300);
  EXPECT_EQ(grid.FrameDuration(3), 300);
  EXPECT_EQ(grid.CycleDuration(), 1100);

  const TAnimGrid plain(Grid(3, 1));
  EXPECT_EQ(plain.FrameCount(), 3);  // every cell when no count is given
  EXPECT_EQ(plain.FrameDuration(2), TAnimGrid::kDefaultInterval);
  EXPECT_EQ(plain.CycleDuration(), 300);
}

TEST(AnimGrid, FramesFollowTimeAndLoop) {
  const TAnimGrid grid(Grid(2, 2, 4, {200, 300}));
  EXPECT_EQ(grid.FrameAt(-50), 0);
  EXPECT_EQ(grid.FrameAt(0), 0);
  EXPECT_EQ(grid.FrameAt(199), 0);
  EXPECT_EQ(grid.FrameAt(200), 1);
  EXPECT_EQ(grid.FrameAt(499), 1);
  EXPECT_EQ(grid.FrameAt(500), 2);
  EXPECT_EQ(grid.FrameAt(800), 3);
  EXPECT_EQ(grid.FrameAt(1099), 3);
  EXPECT_EQ(grid.FrameAt(1100), 0);  // loops for ever without a repetition count
  EXPECT_EQ(grid.FrameAt(1100.0 * 1000 + 250), 1);
  EXPECT_EQ(grid.CellOf(3), (TGridCell{1, 1}));
  EXPECT_EQ(grid.CellOf(1), (TGridCell{1, 0}));

  TAnimKeys twice = Grid(4, 1);
  twice.RepCount = 2;
  twice.Offset = 150;  // starts midway into its second frame
  const TAnimGrid limited(twice);
  EXPECT_EQ(limited.FrameAt(0), 1);
  EXPECT_EQ(limited.FrameAt(250), 0);
  EXPECT_EQ(limited.FrameAt(649), 3);
  EXPECT_EQ(limited.FrameAt(650), 3);  // two plays done: the last frame stays
  EXPECT_EQ(limited.FrameAt(1e9), 3);
}

TEST(AnimGrid, BrokenGridsNeverDivideByZero) {
  const TAnimGrid zero(Grid(0, 0));
  EXPECT_EQ(zero.Columns(), 1);
  EXPECT_EQ(zero.Rows(), 1);
  EXPECT_FALSE(zero.IsGrid());
  EXPECT_EQ(zero.FrameCount(), 1);
  EXPECT_EQ(zero.FrameAt(12345), 0);
  EXPECT_EQ(zero.CellOf(0), (TGridCell{0, 0}));

  const TAnimGrid negative(Grid(-3, 2));
  EXPECT_EQ(negative.Columns(), 1);
  EXPECT_TRUE(negative.IsGrid());
  EXPECT_EQ(negative.CellOf(1), (TGridCell{0, 1}));

  // Frames without length are skipped; an animation without length stays on frame 0.
  const TAnimGrid skipping(Grid(3, 1, 0, {0, 100, -5}));
  EXPECT_EQ(skipping.FrameAt(0), 1);
  EXPECT_EQ(skipping.FrameAt(150), 1);
  const TAnimGrid still(Grid(3, 1, 0, {0}));
  EXPECT_EQ(still.CycleDuration(), 0);
  EXPECT_EQ(still.FrameAt(500), 0);

  // More frames than cells are cut to the cells; huge grids need no per-frame memory.
  EXPECT_EQ(TAnimGrid(Grid(2, 2, 9)).FrameCount(), 4);
  const TAnimGrid huge(Grid(100000, 100000, 0, {10}));
  EXPECT_EQ(huge.FrameCount(), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(huge.FrameAt(1000), 100);
  EXPECT_EQ(huge.CellOf(100001), (TGridCell{1, 1}));
  EXPECT_EQ(TAnimGrid(Grid(2, 1)).FrameAt(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(TAnimGrid(Grid(2, 1)).FrameAt(std::numeric_limits<double>::infinity()), 0);
}

}  // namespace
}  // namespace kiv
