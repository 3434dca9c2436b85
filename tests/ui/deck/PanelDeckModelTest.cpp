// The deck's model and geometry before and after it shows: defaults, sizes, limits, sliding frames,
// the preview bounce's positions.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/Error.h"
#include "platform/ui/Slider.h"
#include "tests/ui/deck/DeckFixture.h"

namespace decktest {
namespace {

using pf::Rect;

class PanelDeckModelTest : public DeckFixture {
 protected:
  std::shared_ptr<pf::ViewController> plain() { return std::make_shared<pf::ViewController>(); }
};

// Offsets the delegate heard.
class OffsetListener : public PanelDeckControllerDelegate {
 public:
  std::vector<double> offsets;
  void didChangeOffset(PanelDeckController&, double offset, DeckOffsetOrientation, bool) override {
    offsets.push_back(offset);
  }
};

TEST_F(PanelDeckModelTest, DeckBuiltWithCentreAndLeftHasTheDefaults) {
  auto centerController = plain();
  deck = PanelDeckController::create(centerController, plain());
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) EXPECT_EQ(deck->ledge(side), 44);
  EXPECT_EQ(deck->sideControllerCount(), 1);
  EXPECT_EQ(deck->controllers().size(), 2u);
  EXPECT_EQ(deck->leftSize(), 44);
  EXPECT_TRUE(deck->canPanOverViewsOfClass(pf::Slider::staticClass()));
  EXPECT_EQ(deck->sideForController(centerController.get()), PanelDeckController::kNotFound);
  EXPECT_EQ(deck->openSlideAnimationDuration(), 0.3);
  EXPECT_EQ(deck->bounceDurationFactor(), 0.3);
  EXPECT_EQ(deck->shadowLayer()->shadowRadius(), 10);
  EXPECT_EQ(deck->shadowLayer()->shadowOpacity(), 0.5);
  EXPECT_EQ(PanelDeckController::oppositeOfSide(DeckSideTop), DeckSideBottom);
  EXPECT_EQ(PanelDeckController::oppositeOfSide(7), DeckSideNone);
  EXPECT_EQ(deck->controllerForSide(7), nullptr);
  EXPECT_EQ(deck->ledgeOffsetForSide(9), 0);
}

TEST_F(PanelDeckModelTest, SizesBeforeTheFirstAppearanceAreStoredWithoutAnimation) {
  deck = PanelDeckController::create(plain(), plain());
  bool completed = false;
  deck->setLeftSize(50, [&](bool) { completed = true; });
  settle();
  EXPECT_FALSE(completed);
  EXPECT_EQ(deck->ledge(DeckSideLeft), 50);
  EXPECT_EQ(deck->leftViewSize(), 270);
  deck->setSizeMode(DeckSizeModeView);
  deck->setLeftSize(200);
  EXPECT_EQ(deck->ledge(DeckSideLeft), 120);
  EXPECT_EQ(deck->leftSize(), 200);
  deck->setSize(10, 5);  // no such side: nothing stored
  EXPECT_EQ(deck->ledge(5), 0);
}

TEST_F(PanelDeckModelTest, MaxSizeLimitsOneSideAndIsRefusedWithTwo) {
  deck = PanelDeckController::create(plain(), plain());
  EXPECT_EQ(deck->limitOffset(276, DeckOffsetHorizontal), 276);
  deck->setMaxSize(100);
  EXPECT_EQ(deck->limitOffset(276, DeckOffsetHorizontal), 220);
  EXPECT_EQ(deck->limitOffset(-50, DeckOffsetHorizontal), -50);

  auto both = PanelDeckController::create(plain(), plain(), plain());
  bool completed = false;
  both->setMaxSize(100, [&](bool) { completed = true; });
  EXPECT_FALSE(completed);
  EXPECT_EQ(both->maxSize(), 0);
  EXPECT_EQ(both->limitOffset(276, DeckOffsetHorizontal), 276);
}

TEST_F(PanelDeckModelTest, SlidingRectShrinksInsteadOfMovingWhenResizing) {
  deck = PanelDeckController::create(plain(), plain(), plain());
  EXPECT_EQ(deck->slidingRectForOffset(-100, DeckOffsetHorizontal), (Rect{{-100, 0}, {320, 480}}));
  deck->setResizesCenterView(true);
  EXPECT_EQ(deck->slidingRectForOffset(-100, DeckOffsetHorizontal), (Rect{{0, 0}, {220, 480}}));
  EXPECT_EQ(deck->slidingRectForOffset(100, DeckOffsetHorizontal), (Rect{{100, 0}, {220, 480}}));
}

TEST_F(PanelDeckModelTest, BounceFactorIsClamped) {
  deck = PanelDeckController::create(plain());
  for (auto [given, kept] : std::vector<std::pair<double, double>>{{-1, 0}, {0.5, 0.5}, {1.5, 0.99}}) {
    deck->setBounceDurationFactor(given);
    EXPECT_EQ(deck->bounceDurationFactor(), kept);
  }
}

TEST_F(PanelDeckModelTest, PreviewBouncePositionsFollowTheDampedSwing) {
  showAppDeck();
  const double base = deck->slidingControllerView()->layer()->position().x;
  auto values = deck->bouncingValuesForViewSide(DeckSideLeft, 40, 4, 0.4f, 1.2);
  ASSERT_TRUE(values);
  ASSERT_EQ(values->size(), 100u);
  const std::vector<double> start = {0, 8, 16, 22, 28, 32, 35, 38, 39, 39, 39, 38};
  for (size_t i = 0; i < start.size(); ++i) EXPECT_EQ((*values)[i] - base, start[i]) << i;
  EXPECT_EQ((*values)[25] - base, 0);
  // Every swing goes the same way; right and bottom go the other way.
  for (double v : *values) EXPECT_GE(v - base, 0);
  EXPECT_EQ(deck->bouncingValuesForViewSide(DeckSideLeft, 40, 4, 0.4f, 0.5)->size(), 50u);
  EXPECT_FALSE(deck->bouncingValuesForViewSide(5, 40, 4, 0.4f, 1.2));
  // Damping outside its range behaves as its nearest end.
  EXPECT_EQ(*deck->bouncingValuesForViewSide(DeckSideLeft, 40, 4, 0, 1.2),
            *deck->bouncingValuesForViewSide(DeckSideLeft, 40, 4, 0.0001f, 1.2));
  EXPECT_EQ(*deck->bouncingValuesForViewSide(DeckSideLeft, 40, 4, 3, 1.2),
            *deck->bouncingValuesForViewSide(DeckSideLeft, 40, 4, 0.9999f, 1.2));
  // A maximum size bounds every swing.
  deck->setMaxSize(deck->referenceBounds().size.width - 20);
  const auto limited = deck->bouncingValuesForViewSide(DeckSideLeft, 40, 4, 0.4f, 1.2);
  for (double v : *limited) EXPECT_LE(v - base, 20);
}

TEST_F(PanelDeckModelTest, PreviewBounceShakesWithoutMovingTheModelAndRefusesASecond) {
  showAppDeck();
  bool completed = false;
  EXPECT_TRUE(deck->previewBounceView(DeckSideLeft, [&](PanelDeckController&, bool ok) { completed = ok; }));
  EXPECT_FALSE(deck->previewBounceView(DeckSideLeft));
  EXPECT_FALSE(deck->previewBounceView(DeckSideRight)) << "no right controller";
  settle(0.1);
  EXPECT_GT(shownX(), 0);
  EXPECT_EQ(slidingX(), 0);
  settle(1.5);
  EXPECT_TRUE(completed);
  EXPECT_EQ(shownX(), 0);
}

TEST_F(PanelDeckModelTest, OffsetChangeIsToldOncePerChange) {
  showAppDeck();
  auto listener = std::make_shared<OffsetListener>();
  deck->setDelegate(listener);
  deck->setSlidingFrameForOffset(0, DeckOffsetHorizontal, false);
  EXPECT_TRUE(listener->offsets.empty());
  deck->setSlidingFrameForOffset(100, DeckOffsetHorizontal, false);
  deck->setSlidingFrameForOffset(100, DeckOffsetHorizontal, false);
  EXPECT_EQ(listener->offsets, std::vector<double>{100});
}

TEST_F(PanelDeckModelTest, SideViewsHideOnlyWithTwoSides) {
  showAppDeck();
  settle();
  EXPECT_FALSE(menu->view()->isHidden()) << "a single side stays visible under the centre";
  auto right = std::make_shared<Page>("right", journal, kOtherColor);
  deck->setRightController(right);
  deck->hideAppropriateSideViews();
  EXPECT_TRUE(menu->view()->isHidden());
  EXPECT_TRUE(right->view()->isHidden());
}

TEST_F(PanelDeckModelTest, NavigationBehaviourIsFixedOnceShown) {
  deck = PanelDeckController::create(plain(), plain());
  deck->setNavigationControllerBehavior(DeckNavigationIntegrated);
  deck->setNavigationControllerBehavior(DeckNavigationContained);
  showAppDeck();
  EXPECT_THROW(deck->setNavigationControllerBehavior(DeckNavigationIntegrated), pf::ContractViolation);
}

TEST_F(PanelDeckModelTest, SizeChangeWhileOpenSlidesToTheNewOffset) {
  showAppDeck();
  deck->openLeftView();
  settle();
  bool finished = false;
  deck->setLeftSize(100, [&](bool done) { finished = done; });
  EXPECT_EQ(slidingX(), deck->referenceBounds().size.width - 100);
  settle();
  EXPECT_TRUE(finished);
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
}

}  // namespace
}  // namespace decktest
