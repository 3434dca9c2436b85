// The app square's paged grid, driven through the headless host on the phone and the tablet: pages
// swiped one at a time load and recycle only what enters and leaves the three-page range, a tap opens
// the item under it, a touch lights the item's name until it lifts, a pull past the first page shows
// the delegate a negative offset; reloads, memory warnings and a turning status bar; and the
// single-item changes with each animation bit.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Transition.h"
#include "tests/ui/grid/SquareGridFixture.h"

namespace {

using squaregrid::SquareGridTest;

std::vector<long> gridPositionsFrom(long first, long end) {
  std::vector<long> positions(size_t(std::max(0L, end - first)));
  std::iota(positions.begin(), positions.end(), first);
  return positions;
}

TEST_P(SquareGridTest, TheSquaresGridPagesSixItemsAtATime) {
  makeSquare(14);
  EXPECT_TRUE(grid->isPagingEnabled());
  EXPECT_EQ(grid->contentSize(), (pf::Size{3 * width(), grid->bounds().height()}));
  EXPECT_EQ(loadedPositions(), gridPositionsFrom(0, 14));
  EXPECT_EQ(source->cellsMade, 14);
  EXPECT_EQ(source->cellCalls, 14);
  // The first row of page 1 starts at item 6, one page width on.
  EXPECT_EQ(grid->layoutStrategy()->originForItemAtPosition(6).x,
            width() + grid->layoutStrategy()->originForItemAtPosition(0).x);
  expectCellsShowTheirItems("after set-up");
}

TEST_P(SquareGridTest, SwipingPageByPageRecyclesThePageLeftBehindAndMakesTheOneAhead) {
  makeSquare(40);
  ASSERT_EQ(loadedPositions(), gridPositionsFrom(0, 18));
  const int made = source->cellsMade;
  int calls = source->cellCalls;
  for (long page = 1; page <= 6; ++page) {
    swipePages(+1);
    const std::string at = "page " + std::to_string(page);
    ASSERT_DOUBLE_EQ(grid->contentOffset().x, double(page) * width()) << at;
    EXPECT_EQ(source->page, page) << at;
    // Pages page - 1 to page + 1 are loaded; only page + 1 is new (nothing new from page 0 to 1).
    EXPECT_EQ(loadedPositions(), gridPositionsFrom((page - 1) * 6, std::min((page + 2) * 6, 40L))) << at;
    const int fresh = page == 1 ? 0 : int(std::min((page + 2) * 6, 40L) - std::min((page + 1) * 6, 40L));
    EXPECT_EQ(source->cellCalls - calls, fresh) << at;
    calls = source->cellCalls;
    EXPECT_EQ(source->cellsMade, made) << at << ": recycled cells are reused, none remade";
    expectCellsShowTheirItems(at);
  }
  swipePages(-1);
  EXPECT_EQ(loadedPositions(), gridPositionsFrom(24, 40));
  EXPECT_EQ(source->cellsMade, made);
}

TEST_P(SquareGridTest, ATapOnAnItemOpensItAndATapBesideItemsOpensNothing) {
  makeSquare(14);
  swipePages(+1);
  host->tap(windowPointOfItem(7));
  host->advance(0.5);
  EXPECT_EQ(source->taps, std::vector<long>{7});
  // The spacing between items 7 and 8.
  const pf::Point gap = windowPointOfItem(7, 1.0, 0.3);
  host->tap({gap.x + grid->itemSpacing() / 2.0, gap.y});
  host->advance(0.5);
  EXPECT_EQ(source->taps, std::vector<long>{7});
}

TEST_P(SquareGridTest, ATouchLightsTheNameUntilItLiftsAlsoOutsideTheItem) {
  makeSquare(14);
  swipePages(+1);
  auto cell = grid->cellForItemAtIndex(7);
  ASSERT_NE(cell, nullptr);
  auto name = squaregrid::nameLabelOf(*cell);
  fingers->press(0, windowPointOfItem(7));
  host->advance(0.2);
  EXPECT_TRUE(name->isHighlighted());
  EXPECT_TRUE(squaregrid::iconViewOf(*cell)->isHighlighted());
  fingers->lift(0);
  host->advance(0.5);
  EXPECT_FALSE(name->isHighlighted());
  EXPECT_EQ(source->taps, std::vector<long>{7});

  // Pressed by the right edge, slid a few points off the item, lifted there.
  const pf::Point edge = windowPointOfItem(7, 0.97, 0.5);
  fingers->press(0, edge);
  host->advance(0.2);
  EXPECT_TRUE(name->isHighlighted());
  fingers->move(0, {edge.x + 9, edge.y});
  host->advance(0.05);
  fingers->lift(0);
  host->advance(0.5);
  EXPECT_FALSE(name->isHighlighted());
  EXPECT_EQ(source->taps, std::vector<long>{7});
}

TEST_P(SquareGridTest, PullingPastTheFirstPageShowsTheDelegateANegativeOffset) {
  makeSquare(14);
  const double y = headerHeight() + 30;
  host->drag({{width() * 0.15, y}, {width() * 0.6, y}}, 0.3);
  ASSERT_FALSE(source->offsets.empty());
  EXPECT_LT(*std::min_element(source->offsets.begin(), source->offsets.end()), 0);
  host->advance(1.0);
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, 0);
  EXPECT_EQ(source->page, 0);
}

TEST_P(SquareGridTest, AReloadKeepsTheOffsetWhereItCanElseTheNearestOne) {
  struct Case {
    long count;
    double page;
    size_t loaded;
  };
  for (const Case c : {Case{14, 2, 8}, Case{7, 1, 7}, Case{0, 0, 0}}) {
    makeSquare(14);
    swipePages(+1);
    swipePages(+1);
    ASSERT_DOUBLE_EQ(grid->contentOffset().x, 2 * width());
    source->items.resize(size_t(c.count));
    grid->reloadData();
    host->render();
    const std::string what = std::to_string(c.count) + " items";
    EXPECT_DOUBLE_EQ(grid->contentOffset().x, c.page * width()) << what;
    EXPECT_EQ(loadedPositions().size(), c.loaded) << what;
    EXPECT_DOUBLE_EQ(grid->contentSize().width, std::ceil(c.count / 6.0) * width()) << what;
    expectCellsShowTheirItems(what);
    grid->removeFromSuperview();
  }
}

TEST_P(SquareGridTest, AMemoryWarningEmptiesTheReuseQueue) {
  makeSquare(14);
  swipePages(+1);
  swipePages(+1);
  const int made = source->cellsMade;
  pf::Application::sharedApplication().receiveMemoryWarning();
  EXPECT_EQ(grid->dequeueReusableCell(), nullptr);
  swipePages(-1);
  EXPECT_EQ(loadedPositions(), gridPositionsFrom(0, 14));
  EXPECT_EQ(source->cellsMade, made + 6);
  expectCellsShowTheirItems("after the warning");
}

TEST_P(SquareGridTest, ATurningStatusBarFadesTheGridAndSnapsItToAPage) {
  makeSquare(14);
  swipePages(+1);
  grid->setContentOffset({width() + 10, 0});
  const int sizeCalls = source->sizeCalls;
  // The grid hears of the turn before it happens.
  std::optional<pf::Application::InterfaceOrientation> before;
  auto observation = pf::NotificationCenter::defaultCenter().addObserver(
      pf::Application::kWillChangeStatusBarOrientationNotification, nullptr, [&](const pf::Notification&) {
        before = pf::Application::sharedApplication().statusBarOrientation();
      });
  pf::Application::sharedApplication().setStatusBarOrientation(
      pf::Application::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(before, pf::Application::InterfaceOrientation::Portrait);
  host->render();
  EXPECT_EQ(source->sizeCalls, sizeCalls + 1);
  auto fade = std::dynamic_pointer_cast<const pf::Transition>(
      grid->layer()->animationForKey(GridView::kRotationAnimationKey));
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(fade->type, pf::Transition::kFade);
  EXPECT_DOUBLE_EQ(fade->duration, 0.25);
  host->advance(0.5);
  // Snapped up to the next page origin.
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, 2 * width());
  expectCellsShowTheirItems("after turning");
}

TEST_P(SquareGridTest, InsertingShowsTheNewItemFadingOrScrollingAsAsked) {
  makeSquare(14);
  source->items.insert(source->items.begin() + 2, 100);
  grid->insertObjectAtIndex(2, kGridItemAnimationFade);
  auto inserted = grid->cellForItemAtIndex(2);
  ASSERT_NE(inserted, nullptr);
  // Fades in after the others have moved aside.
  host->advance(0.45);
  EXPECT_GT(inserted->layer()->presentationOrSelf()->opacity(), 0.0);
  EXPECT_LT(inserted->layer()->presentationOrSelf()->opacity(), 1.0);
  host->advance(1.0);
  EXPECT_EQ(inserted->layer()->presentationOrSelf()->opacity(), 1.0);
  EXPECT_EQ(grid->numberTotalItems(), 15);
  expectCellsShowTheirItems("after a fading insert");

  // Animated: scrolls to the item, no fade.
  source->items.insert(source->items.begin() + 14, 101);
  grid->insertObjectAtIndex(14, true);
  host->advance(0.1);
  EXPECT_EQ(grid->cellForItemAtIndex(14)->layer()->presentationOrSelf()->opacity(), 1.0);
  host->advance(1.0);
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, 2 * width());
  expectCellsShowTheirItems("after an animated insert");
}

TEST_P(SquareGridTest, InsertingBeforeTheLoadedPagesKeepsEveryCellOnItsItem) {
  makeSquare(40);
  for (int i = 0; i < 3; ++i) swipePages(+1);
  ASSERT_EQ(loadedPositions(), gridPositionsFrom(12, 30));
  source->items.insert(source->items.begin(), 100);
  grid->insertObjectAtIndex(0, kGridItemAnimationNone);
  host->advance(0.5);
  expectCellsShowTheirItems("after inserting item 0");
  EXPECT_EQ(loadedPositions(), gridPositionsFrom(12, 30));
}

TEST_P(SquareGridTest, RemovingTakesTheCellAwayWithoutFadeOrScrollWhenOnlyAnimated) {
  makeSquare(14);
  auto removed = grid->cellForItemAtIndex(3);
  source->items.erase(source->items.begin() + 3);
  grid->removeObjectAtIndex(3, true);
  EXPECT_EQ(removed->tag(), GridView::kLeavingTag);
  host->advance(0.05);
  EXPECT_EQ(removed->superview(), nullptr);
  EXPECT_DOUBLE_EQ(grid->contentOffset().x, 0);
  EXPECT_EQ(loadedPositions(), gridPositionsFrom(0, 13));
  expectCellsShowTheirItems("after removing");

  auto faded = grid->cellForItemAtIndex(12);
  source->items.erase(source->items.begin() + 12);
  grid->removeObjectAtIndex(12, kGridItemAnimationFade);
  host->advance(0.15);
  EXPECT_NE(faded->superview(), nullptr);
  EXPECT_LT(faded->layer()->presentationOrSelf()->opacity(), 1.0);
  host->advance(0.5);
  EXPECT_EQ(faded->superview(), nullptr);
  expectCellsShowTheirItems("after a fading removal");
}

TEST_P(SquareGridTest, SwappingExchangesTheCellsAndAPlaceOutOfRangeLeavesNoHole) {
  makeSquare(40);
  std::swap(source->items[1], source->items[4]);
  grid->swapObjectAtIndex(1, 4, kGridItemAnimationFade);
  host->advance(0.5);
  expectCellsShowTheirItems("after swapping 1 and 4");

  // Place 30 is beyond the three pages in range.
  std::swap(source->items[2], source->items[30]);
  grid->swapObjectAtIndex(2, 30, kGridItemAnimationNone);
  host->advance(0.5);
  EXPECT_EQ(loadedPositions(), gridPositionsFrom(0, 18));
  expectCellsShowTheirItems("after swapping 2 and 30");
  for (int i = 0; i < 5; ++i) swipePages(+1);
  EXPECT_EQ(loadedPositions(), gridPositionsFrom(24, 40));
  expectCellsShowTheirItems("on page 5");
}

TEST_P(SquareGridTest, ReloadingAnItemFadesInItsNewCell) {
  makeSquare(14);
  auto old = grid->cellForItemAtIndex(5);
  source->items[5] = 200;
  grid->reloadObjectAtIndex(5, kGridItemAnimationFade);
  auto fresh = grid->cellForItemAtIndex(5);
  ASSERT_NE(fresh, old);
  EXPECT_EQ(old->tag(), GridView::kLeavingTag);
  host->advance(0.15);
  EXPECT_GT(fresh->layer()->presentationOrSelf()->opacity(), 0.0);
  EXPECT_LT(fresh->layer()->presentationOrSelf()->opacity(), 1.0);
  host->advance(0.5);
  EXPECT_EQ(old->superview(), nullptr);
  expectCellsShowTheirItems("after reloading 5");
}

TEST_P(SquareGridTest, WrongIndexesAndAMissingCellAreContractFaults) {
  makeSquare(14);
  const auto message = [](const std::function<void()>& call) {
    try {
      call();
    } catch (const pf::ContractViolation& fault) {
      return std::string(fault.what());
    }
    return std::string("no fault");
  };
  EXPECT_EQ(message([&] { grid->reloadObjectAtIndex(14, false); }), "Invalid index");
  EXPECT_EQ(message([&] { grid->insertObjectAtIndex(16, false); }), "Invalid index specified");
  EXPECT_EQ(message([&] { grid->removeObjectAtIndex(-1, false); }), "Invalid index specified");
  EXPECT_EQ(message([&] { grid->swapObjectAtIndex(-1, 0, false); }), "Invalid index1 specified");
  EXPECT_EQ(message([&] { grid->swapObjectAtIndex(0, 99, false); }), "Invalid index2 specified");
  EXPECT_EQ(grid->numberTotalItems(), 14);
  source->nilCellAt = 3;
  const std::string missing = message([&] { grid->reloadData(); });
  EXPECT_NE(missing.find("3"), std::string::npos) << missing;
}

INSTANTIATE_TEST_SUITE_P(Profiles, SquareGridTest, testing::ValuesIn(squaregrid::kProfiles),
                         squaregrid::profileName);

}  // namespace
