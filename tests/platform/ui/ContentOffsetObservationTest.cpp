#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/Layer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TouchInjector.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Point;
using pf::Rect;
using pf::ScrollView;

class ContentOffsetObservationTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    scroll = std::make_shared<ScrollView>(Rect(0, 0, 320, 480));
    scroll->setContentSize({320, 2000});
    window->addSubview(scroll);
  }
  struct Change {
    Point old;
    Point now;
  };
  std::shared_ptr<void> record(std::vector<Change>& changes) {
    return scroll->observeContentOffset(
        [&changes](ScrollView& s, Point old) { changes.push_back({old, s.contentOffset()}); });
  }
  std::shared_ptr<ScrollView> scroll;
};

// Catches an observer told the new offset twice (no old value) or told of a set that moved nothing.
TEST_F(ContentOffsetObservationTest, EveryChangeArrivesWithTheOffsetBeforeIt) {
  std::vector<Change> changes;
  auto handle = record(changes);
  scroll->setContentOffset({0, 40});
  scroll->setContentOffset({0, 40});
  scroll->setContentOffset({0, -25});
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].old, (Point{0, 0}));
  EXPECT_EQ(changes[0].now, (Point{0, 40}));
  EXPECT_EQ(changes[1].old, (Point{0, 40}));
  EXPECT_EQ(changes[1].now, (Point{0, -25}));
}

// Catches a drag that moves the content without telling the observers, and an observation that
// outlives its handle.
TEST_F(ContentOffsetObservationTest, DragsAreObservedUntilTheHandleGoes) {
  std::vector<Change> changes;
  auto handle = record(changes);
  pf::TouchInjector fingers(window);
  fingers.press(0, {100, 100});
  for (int y = 110; y <= 170; y += 10) {
    runUntil(pf::Clock::now() + 0.02);
    fingers.move(0, {100, static_cast<double>(y)});
  }
  ASSERT_FALSE(changes.empty());
  EXPECT_LT(changes.back().now.y, 0);  // pulled down past the top
  for (size_t i = 1; i < changes.size(); ++i) EXPECT_EQ(changes[i].old, changes[i - 1].now);
  handle.reset();
  const size_t seen = changes.size();
  fingers.lift(0);
  runUntil(pf::Clock::now() + 3);
  EXPECT_EQ(changes.size(), seen);
  EXPECT_EQ(scroll->contentOffset(), (Point{0, 0}));
}

// Catches an observer dropped by an earlier one during the same change still being called.
TEST_F(ContentOffsetObservationTest, AnObserverDroppedMidChangeIsNotCalled) {
  int secondCalls = 0;
  std::shared_ptr<void> second;
  auto first = scroll->observeContentOffset([&second](ScrollView&, Point) { second.reset(); });
  second = scroll->observeContentOffset([&secondCalls](ScrollView&, Point) { ++secondCalls; });
  scroll->setContentOffset({0, 10});
  EXPECT_EQ(secondCalls, 0);
}

// Catches an inset change in an animation block that leaves the offset outside the content, or moves
// it without the block's timing.
TEST_F(ContentOffsetObservationTest, AnInsetChangedInABlockBringsTheOffsetBackWithTheBlock) {
  scroll->setContentInset({60, 0, 0, 0});
  scroll->setContentOffset({0, -60});
  bool done = false;
  pf::View::animateWithDuration(
      0.2, [&] { scroll->setContentInset({0, 0, 0, 0}); }, [&](bool) { done = true; });
  EXPECT_EQ(scroll->contentOffset(), (Point{0, 0}));  // the model at once
  runUntil(pf::Clock::now() + 0.1);
  const double shown = scroll->layer()->presentationOrSelf()->bounds().origin.y;
  EXPECT_LT(shown, -5);
  EXPECT_GT(shown, -55);
  runUntil(pf::Clock::now() + 0.15);
  EXPECT_TRUE(done);
  EXPECT_EQ(scroll->layer()->presentationOrSelf()->bounds().origin.y, 0);
}

// Catches a spring back from the top that ignores an inset given on the way: it would hide the strip
// the new inset uncovers.
TEST_F(ContentOffsetObservationTest, AnInsetGivenDuringTheSpringBackMovesItsEnd) {
  scroll->setContentOffset({0, -100});
  scroll->flingWithVelocity({0, 0});
  ASSERT_TRUE(scroll->isDecelerating());
  runUntil(pf::Clock::now() + 0.05);
  ASSERT_LT(scroll->contentOffset().y, -60);
  scroll->setContentInset({60, 0, 0, 0});
  runUntil(pf::Clock::now() + 2);
  EXPECT_EQ(scroll->contentOffset(), (Point{0, -60}));
  EXPECT_FALSE(scroll->isDecelerating());
}

// Catches an inset change outside a block moving the content (only the limits change).
TEST_F(ContentOffsetObservationTest, AnInsetChangedOutsideABlockLeavesTheOffset) {
  scroll->setContentInset({60, 0, 0, 0});
  scroll->setContentOffset({0, -60});
  scroll->setContentInset({0, 0, 0, 0});
  EXPECT_EQ(scroll->contentOffset(), (Point{0, -60}));
}

}  // namespace
