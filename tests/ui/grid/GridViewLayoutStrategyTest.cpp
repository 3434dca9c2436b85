// The layout strategies as pure geometry: the app square's worked example on a 320 x 372 grid, the
// item under a point at edges and in gaps, the ranges to load, and inputs that used to hang or divide
// by zero (no step between items, a zero-wide paged grid, an offset past the last page).

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/grid/GridViewLayoutHorizontalPagedLTRStrategy.h"
#include "ui/grid/GridViewLayoutHorizontalPagedTTBStrategy.h"
#include "ui/grid/GridViewLayoutStrategyFactory.h"
#include "ui/grid/GridViewLayoutVerticalStrategy.h"

namespace {

using pf::EdgeInsets;
using pf::Point;
using pf::Rect;
using pf::Size;

constexpr EdgeInsets kSquareInsets{20, 20, 20, 20};

std::shared_ptr<GridViewLayoutStrategy> squareStrategy(long type, long count, Rect bounds = {0, 0, 320, 372},
                                                       Size item = {70, 100}, long spacing = 20,
                                                       EdgeInsets insets = kSquareInsets, bool centred = true) {
  auto strategy = GridViewLayoutStrategyFactory::strategyFromType(type);
  strategy->setupItemSize(item, spacing, insets, centred);
  strategy->rebaseWithItemCount(count, bounds);
  return strategy;
}

TEST(GridLayoutStrategyTest, TheFactoryMakesTypesZeroToThreeAndNothingElse) {
  for (long type : {0L, 1L, 2L, 3L}) {
    auto strategy = GridViewLayoutStrategyFactory::strategyFromType(type);
    ASSERT_NE(strategy, nullptr) << type;
    EXPECT_EQ(strategy->type(), type);
    EXPECT_EQ(strategy->requiresEnablingPaging(), type >= 2) << type;
  }
  EXPECT_EQ(GridViewLayoutStrategyFactory::strategyFromType(4), nullptr);
  EXPECT_EQ(GridViewLayoutStrategyFactory::strategyFromType(-1), nullptr);
}

TEST(GridLayoutStrategyTest, TheSquaresWorkedExample) {
  auto strategy = squareStrategy(2, 14);
  auto& paged = dynamic_cast<GridViewLayoutHorizontalPagedLTRStrategy&>(*strategy);
  EXPECT_EQ(paged.numberOfItemsPerColumn(), 2);
  EXPECT_EQ(paged.numberOfItemsPerRow(), 3);
  EXPECT_EQ(paged.numberOfItemsPerPage(), 6);
  EXPECT_EQ(paged.numberOfPages(), 3);
  EXPECT_EQ(paged.edgeInsets(), (EdgeInsets{76, 35, 76, 35}));
  EXPECT_EQ(strategy->contentSize(), (Size{960, 372}));
  EXPECT_EQ(paged.pageForItemAtIndex(7), 1);
  EXPECT_EQ(strategy->originForItemAtPosition(7), (Point{445, 76}));
  EXPECT_EQ(strategy->originForItemAtPosition(0), (Point{35, 76}));
  EXPECT_EQ(strategy->originForItemAtPosition(13), (Point{640 + 35 + 90, 76}));
  EXPECT_EQ(strategy->rangeOfPositionsInBoundsFromOffset({0, 0}), (GridPositionRange{0, 14}));
  EXPECT_EQ(strategy->rangeOfPositionsInBoundsFromOffset({320, 0}), (GridPositionRange{0, 14}));
  EXPECT_EQ(strategy->rangeOfPositionsInBoundsFromOffset({640, 0}), (GridPositionRange{6, 8}));
  // Top to bottom: item 7 is the second of page 1's first column.
  EXPECT_EQ(squareStrategy(3, 14)->originForItemAtPosition(7), (Point{355, 196}));
}

TEST(GridLayoutStrategyTest, ThePointOnAnItemCountsOnlyInsideItsLeftAndTopEdges) {
  struct Case {
    const char* what;
    long type;
    Point at;
    long item;
  };
  const Case cases[] = {
      {"top left corner", 2, {35, 76}, 0},
      {"inside item 7", 2, {450, 100}, 7},
      {"right edge of item 0", 2, {105, 100}, -1},
      {"bottom edge of item 0", 2, {40, 176}, -1},
      {"spacing between columns", 2, {110, 100}, -1},
      {"spacing between rows", 2, {40, 186}, -1},
      {"left margin", 2, {10, 100}, -1},
      {"page boundary belongs to the left page", 2, {320, 100}, -1},
      {"past the last item", 2, {640 + 215, 196 + 10}, -1},
      {"vertical: second row (tall content keeps the minimum top)", 0, {40, 20 + 120 + 1}, 3},
      {"vertical: right edge", 0, {105, 80}, -1},
      {"horizontal: second column", 1, {40 + 90, 80}, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(squareStrategy(c.type, 14)->itemPositionFromLocation(c.at), c.item) << c.what;
  }
}

TEST(GridLayoutStrategyTest, ScrollingLoadsARowOrColumnEitherSideOfTheVisibleOnes) {
  // Vertical, 3 a row, rows 120 apart: at y 250 rows 1 (one above the first visible) to 6.
  auto vertical = squareStrategy(0, 100);
  EXPECT_EQ(vertical->rangeOfPositionsInBoundsFromOffset({0, 0}), (GridPositionRange{0, 15}));
  EXPECT_EQ(vertical->rangeOfPositionsInBoundsFromOffset({0, 250}), (GridPositionRange{3, 18}));
  EXPECT_EQ(vertical->rangeOfPositionsInBoundsFromOffset({0, -40}), (GridPositionRange{0, 15}));
  // Horizontal, 2 a column, columns 90 apart: at x 200 columns 1 to 7.
  auto horizontal = squareStrategy(1, 100);
  EXPECT_EQ(horizontal->rangeOfPositionsInBoundsFromOffset({200, 0}), (GridPositionRange{2, 12}));
}

TEST(GridLayoutStrategyTest, MarginsAreWholePointsWhenCentredAndTheMinimumOtherwise) {
  const EdgeInsets fractional{20.5, 20.5, 20.5, 20.5};
  auto loose = squareStrategy(0, 14, {0, 0, 320, 372}, {70, 100}, 20, fractional, false);
  EXPECT_EQ(dynamic_cast<GridViewLayoutStrategyBase&>(*loose).edgeInsets(), fractional);
  // 3 items take 250 of 320: 35 each side; the tall content leaves the minimum, truncated.
  auto centred = squareStrategy(0, 14, {0, 0, 320, 372}, {70, 100}, 20, fractional, true);
  EXPECT_EQ(dynamic_cast<GridViewLayoutStrategyBase&>(*centred).edgeInsets(), (EdgeInsets{20, 35, 20, 35}));
  EXPECT_EQ(centred->contentSize(), (Size{320, 5 * 120 - 20 + 40}));
  // No items: the block is (-spacing, -spacing) and the margins split what is left.
  EXPECT_EQ(squareStrategy(0, 0)->contentSize(), (Size{320, 372}));
  EXPECT_EQ(squareStrategy(2, 0)->contentSize(), (Size{0, 372}));
}

TEST(GridLayoutStrategyTest, InputsWithoutAStepOrAWidthEndAndFindNothing) {
  // Items with no step between them used to make the per-row count grow for ever.
  for (long type : {0L, 1L, 2L, 3L}) {
    const std::string what = "type " + std::to_string(type);
    auto negative = squareStrategy(type, 14, {0, 0, 320, 372}, {10, 10}, -10);
    EXPECT_EQ(negative->itemPositionFromLocation({30, 30}), -1) << what;
    // A zero-sized item used to divide by zero into an integer.
    auto zero = squareStrategy(type, 14, {0, 0, 320, 372}, {0, 0}, 0);
    EXPECT_EQ(zero->itemPositionFromLocation({30, 30}), -1) << what;
    EXPECT_TRUE(zero->rangeOfPositionsInBoundsFromOffset({100, 100}).isEmpty()) << what;
  }
  // A zero-wide paged grid used never to find its page: every point is on page 0.
  auto narrow = squareStrategy(2, 14, {0, 0, 0, 372});
  EXPECT_EQ(narrow->itemPositionFromLocation({50, 100}), 0);
  EXPECT_EQ(narrow->itemPositionFromLocation({5000, 100}), -1);
  EXPECT_TRUE(narrow->rangeOfPositionsInBoundsFromOffset({50, 0}).isEmpty());
}

TEST(GridLayoutStrategyTest, AnOffsetPastTheLastPageLoadsNothing) {
  auto strategy = squareStrategy(2, 14);
  const GridPositionRange range = strategy->rangeOfPositionsInBoundsFromOffset({1600, 0});
  EXPECT_TRUE(range.isEmpty());
  EXPECT_GE(range.length, 0);
  EXPECT_EQ(range.end(), range.location);
}

}  // namespace
