// The grid's interactive modes on the square's layout, phone and tablet: edit mode and its delete
// requests, long-press sorting in push and swap style (one move reported per place crossed), the
// grid scrolling by itself under an item held at its edge, and pinching an item: back to its place
// up to twice its size, open at full size beyond, and the next pinch starting from 2.5.

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/PinchGestureRecognizer.h"
#include "tests/ui/grid/SquareGridFixture.h"
#include "ui/grid/GridViewSortingDelegate.h"
#include "ui/grid/GridViewTransformationDelegate.h"

namespace {

using GridMove = std::pair<long, long>;
using squaregrid::SquareGridTest;

// Takes delete requests (item 1 cannot be deleted), sorts its model and opens items at full size.
class EditingSource : public squaregrid::SquareSource, public GridViewSortingDelegate,
                      public GridViewTransformationDelegate {
 public:
  EditingSource(long count, bool takesDeletes) : SquareSource(count), takesDeletes(takesDeletes) {}

  std::optional<bool> canDeleteItemAtIndex(GridView&, long index) override { return index != 1; }
  bool handlesDeleteRequests() const override { return takesDeletes; }
  void processDeleteActionForItemAtIndex(GridView&, long index) override { deletes.push_back(index); }
  void changedEdit(GridView&, bool edit) override { edits.push_back(edit); }
  void GridViewDidTapOnEmptySpace(GridView&) override { ++emptyTaps; }

  void moveItemAtIndex(GridView&, long from, long to) override {
    moves.emplace_back(from, to);
    const long item = items[size_t(from)];
    items.erase(items.begin() + from);
    items.insert(items.begin() + to, item);
  }
  void exchangeItemAtIndex(GridView&, long a, long b) override {
    exchanges.emplace_back(a, b);
    std::swap(items[size_t(a)], items[size_t(b)]);
  }
  void didEndMovingCell(GridView&, GridViewCell&) override { ++drops; }

  pf::Size sizeInFullSizeForCell(GridView&, GridViewCell&, long, pf::Application::InterfaceOrientation) override {
    return {200, 200};
  }
  std::shared_ptr<pf::View> fullSizeViewForCell(GridView&, GridViewCell&, long index) override {
    auto view = std::make_shared<pf::View>();
    view->setBackgroundColor(pf::Color::white());
    view->setTag(1000 + int(index));
    return view;
  }
  void didStartTransformingCell(GridView&, GridViewCell&) override { transforms.push_back("start"); }
  void didEnterFullSizeForCell(GridView&, GridViewCell&) override { transforms.push_back("full"); }
  void didEndTransformingCell(GridView&, GridViewCell&) override { transforms.push_back("end"); }

  bool takesDeletes;
  std::vector<long> deletes;
  std::vector<bool> edits;
  int emptyTaps = 0;
  std::vector<GridMove> moves;
  std::vector<GridMove> exchanges;
  int drops = 0;
  std::vector<std::string> transforms;
};

class GridEditingTest : public SquareGridTest {
 protected:
  std::shared_ptr<EditingSource> makeEditingSquare(long count, bool takesDeletes = true) {
    auto editing = std::make_shared<EditingSource>(count, takesDeletes);
    makeSquare(count, editing);
    grid->setSortingDelegate(editing);
    return editing;
  }
  // Moves the finger in steps of a few points, as a slow drag does.
  void slide(pf::Point& at, pf::Point to) {
    const double distance = std::hypot(to.x - at.x, to.y - at.y);
    const int steps = std::max(1, int(std::ceil(distance / 4)));
    const pf::Point from = at;
    for (int i = 1; i <= steps; ++i) {
      at = {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
      fingers->move(0, toWindow(at));
      host->advance(0.01);
    }
  }
  // A point on the left part of an item, away from the edge that scrolls by itself.
  pf::Point leftPartOf(long item) { return gridPointOfItem(item, 0.05, 0.5); }
  double gap() const { return double(grid->itemSpacing()) / 2; }
};

TEST_P(GridEditingTest, EditModeNeedsADelegateThatTakesDeleteRequests) {
  auto editing = makeEditingSquare(14, false);
  grid->setEditing(true);
  EXPECT_FALSE(grid->isEditing());
  EXPECT_FALSE(grid->cellForItemAtIndex(0)->isEditing());
  EXPECT_EQ(editing->edits, std::vector<bool>{true});
}

TEST_P(GridEditingTest, InEditModeTheDeleteButtonAsksAndTapsOnItemsDoNothing) {
  auto editing = makeEditingSquare(14);
  grid->setDisableEditOnEmptySpaceTap(true);
  grid->setEditing(true);
  EXPECT_TRUE(grid->isEditing());
  EXPECT_TRUE(grid->cellForItemAtIndex(4)->isEditing());
  EXPECT_FALSE(grid->cellForItemAtIndex(1)->isEditing()) << "item 1 cannot be deleted";
  // The delete button hangs over the item's top left corner.
  const pf::Point corner = gridPointOfItem(4, 0, 0);
  host->tap(toWindow({corner.x + 10, corner.y + 10}));
  host->advance(0.5);
  EXPECT_EQ(editing->deletes, std::vector<long>{4});
  host->tap(windowPointOfItem(5));
  host->advance(0.5);
  EXPECT_TRUE(editing->taps.empty());
  EXPECT_TRUE(grid->isEditing());
  // Empty space ends edit mode.
  host->tap(toWindow({grid->bounds().width() / 2, 2}));
  host->advance(0.5);
  EXPECT_EQ(editing->emptyTaps, 1);
  EXPECT_FALSE(grid->isEditing());
  EXPECT_FALSE(grid->cellForItemAtIndex(4)->isEditing());
  EXPECT_EQ(editing->edits, (std::vector<bool>{true, false}));
}

TEST_P(GridEditingTest, ALongPressWithEditOnLongPressEntersEditMode) {
  auto editing = makeEditingSquare(14);
  grid->setSortingDelegate(std::weak_ptr<GridViewSortingDelegate>());
  grid->setEnableEditOnLongPress(true);
  fingers->press(0, windowPointOfItem(3));
  host->advance(0.3);
  fingers->lift(0);
  host->advance(0.5);
  EXPECT_TRUE(grid->isEditing());
  EXPECT_EQ(editing->edits.front(), true);
}

TEST_P(GridEditingTest, ASlowPushDragReportsOneMovePerPlaceCrossed) {
  auto editing = makeEditingSquare(14);
  grid->setStyle(GridView::kStylePush);
  pf::Point at = leftPartOf(2);
  fingers->press(0, toWindow(at));
  host->advance(0.3);
  ASSERT_NE(grid->movingCell(), nullptr);
  // Out into the gap beside item 2, down into the gap between the rows, along it, then over 3, 4, 5.
  at = {gridPointOfItem(2, 0, 0).x - gap(), at.y};
  fingers->move(0, toWindow(at));
  host->advance(0.01);
  const double rowGap = gridPointOfItem(3, 0, 0).y - gap();
  slide(at, {at.x, rowGap});
  slide(at, {leftPartOf(3).x, rowGap});
  slide(at, leftPartOf(3));
  slide(at, leftPartOf(4));
  slide(at, leftPartOf(5));
  fingers->lift(0);
  host->advance(0.5);
  EXPECT_EQ(editing->moves, (std::vector<GridMove>{{2, 3}, {3, 4}, {4, 5}}));
  EXPECT_EQ(editing->drops, 1);
  EXPECT_EQ(grid->movingCell(), nullptr);
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, 0);
  expectCellsShowTheirItems("after the drop");
}

TEST_P(GridEditingTest, APushInOneStepRenumbersTheItemsBetween) {
  auto editing = makeEditingSquare(14);
  grid->setStyle(GridView::kStylePush);
  grid->sortingMoveDidStartAtPoint(gridPointOfItem(2, 0.5, 0.5));
  auto lifted = grid->movingCell();
  ASSERT_NE(lifted, nullptr);
  EXPECT_EQ(lifted->tag(), 0);
  // Its own place, a gap and a place past the last item change nothing.
  grid->sortingMoveDidContinueToPoint(gridPointOfItem(2, 0.5, 0.5));
  grid->sortingMoveDidContinueToPoint({gridPointOfItem(2, 0, 0).x - gap(), 50});
  grid->sortingMoveDidContinueToPoint(gridPointOfItem(13, 0.5, 0.5 + 1.5));
  EXPECT_TRUE(editing->moves.empty());
  grid->sortingMoveDidContinueToPoint(gridPointOfItem(5, 0.5, 0.5));
  EXPECT_EQ(editing->moves, (std::vector<GridMove>{{2, 5}}));
  for (long place : {2L, 3L, 4L}) {
    EXPECT_EQ(squaregrid::shownName(*grid->cellForItemAtIndex(place)), squaregrid::itemName(place + 1));
  }
  grid->sortingMoveDidContinueToPoint(gridPointOfItem(2, 0.5, 0.5));
  EXPECT_EQ(editing->moves, (std::vector<GridMove>{{2, 5}, {5, 2}}));
  grid->sortingMoveDidStopAtPoint(gridPointOfItem(2, 0.5, 0.5));
  host->advance(0.5);
  EXPECT_EQ(lifted->tag(), GridView::kItemTagOffset + 2);
  expectCellsShowTheirItems("after moving back");
}

TEST_P(GridEditingTest, ASwapTradesPlacesWithTheItemUnderTheLiftedOne) {
  auto editing = makeEditingSquare(14);
  grid->sortingMoveDidStartAtPoint(gridPointOfItem(0, 0.5, 0.5));
  auto other = grid->cellForItemAtIndex(4);
  grid->sortingMoveDidContinueToPoint(gridPointOfItem(4, 0.5, 0.5));
  EXPECT_EQ(editing->exchanges, (std::vector<GridMove>{{0, 4}}));
  EXPECT_EQ(grid->positionForItemSubview(*other), 0);
  host->advance(0.5);
  EXPECT_NEAR(other->frame().origin.x, grid->layoutStrategy()->originForItemAtPosition(0).x, 1e-6);
  EXPECT_NEAR(other->frame().origin.y, grid->layoutStrategy()->originForItemAtPosition(0).y, 1e-6);
  grid->sortingMoveDidStopAtPoint(gridPointOfItem(4, 0.5, 0.5));
  host->advance(0.5);
  expectCellsShowTheirItems("after the swap");
}

TEST_P(GridEditingTest, AnItemHeldAtTheRightEdgeScrollsHalfAnItemEveryStepUpToTheEnd) {
  makeEditingSquare(14);
  pf::Point at = leftPartOf(2);
  fingers->press(0, toWindow(at));
  host->advance(0.3);
  ASSERT_NE(grid->movingCell(), nullptr);
  fingers->move(0, {width() - 4, toWindow(at).y});
  const double half = grid->itemSize().width / 2;
  const double last = 2 * width();
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, half);
  host->advance(0.31);
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, 2 * half);
  host->advance(0.3);
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, 3 * half);
  host->advance(0.3 * std::ceil(last / half));
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, last);
  host->advance(2.0);
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, last);
  fingers->lift(0);
  host->advance(1.0);
  EXPECT_EQ(grid->movingCell(), nullptr);
}

TEST_P(GridEditingTest, APinchUpToTwiceReturnsTheItemAndBeyondOpensItsFullSizeView) {
  auto editing = makeEditingSquare(14);
  grid->setTransformDelegate(editing);
  auto cell = grid->cellForItemAtIndex(4);
  const pf::Point center = windowPointOfItem(4, 0.5, 0.5);
  host->pinch(center, 30, 55);
  host->advance(0.05);
  EXPECT_TRUE(grid->isInTransformingState());
  host->advance(1.0);
  EXPECT_FALSE(grid->isInTransformingState());
  EXPECT_EQ(cell->superview(), grid);
  EXPECT_NEAR(cell->frame().origin.x, grid->layoutStrategy()->originForItemAtPosition(4).x, 1e-6);
  EXPECT_NEAR(cell->frame().origin.y, grid->layoutStrategy()->originForItemAtPosition(4).y, 1e-6);
  EXPECT_EQ(editing->transforms, (std::vector<std::string>{"start", "end"}));

  host->pinch(center, 30, 90);
  host->advance(1.0);
  EXPECT_EQ(editing->transforms, (std::vector<std::string>{"start", "end", "start", "full"}));
  EXPECT_TRUE(grid->isInFullSizeMode());
  EXPECT_TRUE(cell->isInFullSizeMode());
  ASSERT_NE(cell->fullSizeView(), nullptr);
  EXPECT_EQ(grid->pinchGesture()->view(), cell->fullSizeView());
  // Editing waits while an item is open.
  grid->setEditing(true);
  EXPECT_FALSE(grid->isEditing());

  // The next pinch starts from 2.5.
  const pf::Point middle = cell->fullSizeView()->convertPointToView(
      {cell->fullSizeView()->bounds().width() / 2, cell->fullSizeView()->bounds().height() / 2}, nullptr);
  fingers->press(0, {middle.x - 30, middle.y});
  fingers->press(1, {middle.x + 30, middle.y});
  host->advance(0.02);
  fingers->moveAll({{0, {middle.x - 36, middle.y}}, {1, {middle.x + 36, middle.y}}});
  host->advance(0.02);
  EXPECT_DOUBLE_EQ(grid->pinchGesture()->scale(), 2.5);
  EXPECT_FALSE(cell->isInFullSizeMode());
  fingers->lift(0);
  fingers->lift(1);
  host->advance(1.0);
}

INSTANTIATE_TEST_SUITE_P(Profiles, GridEditingTest, testing::ValuesIn(squaregrid::kProfiles),
                         squaregrid::profileName);

}  // namespace
