// Dragging the centre of the app's deck: where a release settles, flings, the elastic pull past the
// open offset, sides that are missing, a disabled deck and drags that start on a slider.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/ui/Slider.h"
#include "tests/ui/deck/DeckFixture.h"

namespace decktest {
namespace {

using pf::Screen;

class PanelDeckPanTest : public DeckFixture, public testing::WithParamInterface<Screen::Profile> {
 protected:
  // Presses at x (deck coordinates), moves by dx in steps and stays pressed.
  std::unique_ptr<pf::TouchInjector> pressAndMove(double x, double dx) {
    auto injector = std::make_unique<pf::TouchInjector>(window);
    const double y = deck->view()->bounds().size.height / 2;
    injector->press(0, inWindow(x, y));
    for (int i = 1; i <= 20; ++i) {
      settle(0.02);
      injector->move(0, inWindow(x + dx * i / 20, y));
    }
    return injector;
  }
};

TEST_P(PanelDeckPanTest, SlowReleaseOpensFromTwoThirdsAndClosesJustBelow) {
  showAppDeck(GetParam());
  const double twoThirds = openOffset() - openOffset() / 3;
  dragAndHold(20, twoThirds);
  settle();
  EXPECT_EQ(slidingX(), openOffset());
  EXPECT_THAT(*journal, testing::Contains("center didOpen left"));
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "center didOpen left"), 1);
  deck->closeLeftView(false);
  settle();
  journal->clear();
  dragAndHold(20, twoThirds - 1);
  settle();
  EXPECT_EQ(slidingX(), 0);
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "center didOpen left"), 0);
  EXPECT_THAT(*journal, testing::Contains("center didClose left"));
}

TEST_P(PanelDeckPanTest, FlingDecidesByDirectionNotByTwoThirds) {
  showAppDeck(GetParam());
  dragBy(20, 40, 0.05);  // short and fast to the right: opens
  EXPECT_EQ(slidingX(), openOffset());
  // The slide takes 1.25 x the distance left over the speed.
  settle(2);
  EXPECT_EQ(slidingX(), openOffset());
  dragBy(deck->referenceBounds().size.width - 20, -30, 0.03);  // short and fast to the left: closes
  settle(2);
  EXPECT_EQ(slidingX(), 0);
}

TEST_P(PanelDeckPanTest, DragPastTheOpenOffsetPullsElasticallyUnlessTurnedOff) {
  showAppDeck(GetParam());
  const double excess = 30;
  auto fingers = pressAndMove(10, openOffset() + excess);
  EXPECT_NEAR(slidingX(), openOffset() + 2 * excess / std::log(1 + excess), 1e-3);
  fingers->lift(0);
  settle();
  EXPECT_EQ(slidingX(), openOffset());
  deck->closeLeftView(false);
  settle();
  deck->setElastic(false);
  fingers = pressAndMove(10, openOffset() + excess);
  EXPECT_EQ(slidingX(), openOffset());
  fingers->lift(0);
  settle();
}

TEST_P(PanelDeckPanTest, NoDragTowardsAMissingSide) {
  showAppDeck(GetParam());
  dragAndHold(deck->referenceBounds().size.width - 20, -150);
  settle();
  EXPECT_EQ(slidingX(), 0);
  EXPECT_TRUE(journal->empty());
}

TEST_P(PanelDeckPanTest, DisabledDeckAndDragsFromASliderMoveAndSendNothing) {
  showAppDeck(GetParam());
  deck->setEnabled(false);
  dragAndHold(20, openOffset());
  settle();
  EXPECT_EQ(slidingX(), 0);
  EXPECT_TRUE(journal->empty());

  deck->setEnabled(true);
  auto slider = std::make_shared<pf::Slider>(pf::Rect{{0, 100}, {200, 40}});
  center->view()->addSubview(slider);
  const pf::Point onSlider = center->view()->convertPointToView({100, 120}, nullptr);
  screen().drag({onSlider, {onSlider.x + 150, onSlider.y}}, 0.5);
  settle();
  EXPECT_EQ(slidingX(), 0);
  EXPECT_TRUE(journal->empty());
}

TEST_P(PanelDeckPanTest, RefusedOpenDuringAPanStopsTheDeck) {
  showAppDeck(GetParam());
  center->openAnswer = false;
  dragAndHold(20, openOffset());
  settle();
  EXPECT_EQ(slidingX(), 0);
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "center willOpen left"), 0);
}

INSTANTIATE_TEST_SUITE_P(Profiles, PanelDeckPanTest, testing::Values(Screen::Profile::Phone, Screen::Profile::Tablet),
                         [](const auto& info) { return info.param == Screen::Profile::Phone ? "Phone" : "Tablet"; });

}  // namespace
}  // namespace decktest
