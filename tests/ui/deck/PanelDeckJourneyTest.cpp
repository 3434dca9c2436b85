// The app's deck as a learner uses it: the menu button toggles the module menu, the menu closes when a
// module is chosen, on the phone and the tablet.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/ui/deck/DeckFixture.h"

namespace decktest {
namespace {

using pf::Accessibility;
using pf::Screen;
using testing::ElementsAre;

class PanelDeckJourneyTest : public DeckFixture, public testing::WithParamInterface<Screen::Profile> {};

TEST_P(PanelDeckJourneyTest, MenuButtonOpensWithTheRecordedOrderAndClosesAgain) {
  showAppDeck(GetParam());
  EXPECT_FALSE(deck->isSideOpen(DeckSideLeft));
  EXPECT_TRUE(deck->toggleLeftView());
  // The frame takes its end value at once; the picture slides over 0.3 s.
  EXPECT_EQ(slidingX(), openOffset());
  EXPECT_THAT(*journal, ElementsAre("menu willAppear animated", "center willOpen left"));
  EXPECT_FALSE(deck->view()->isUserInteractionEnabled()) << "touches stay off while the deck slides";
  settle(0.15);
  EXPECT_GT(shownX(), 0);
  EXPECT_LT(shownX(), openOffset());
  settle(0.2);
  EXPECT_THAT(*journal, ElementsAre("menu willAppear animated", "center willOpen left", "menu didAppear animated",
                                    "center didOpen left"));
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
  EXPECT_TRUE(deck->view()->isUserInteractionEnabled());
  EXPECT_EQ(Accessibility::count(Accessibility::Notification::ScreenChanged), 1u);
  // The open offset leaves the app's strip: 50 points on the phone, 120 on the tablet.
  EXPECT_DOUBLE_EQ(deck->referenceBounds().size.width - slidingX(), GetParam() == Screen::Profile::Phone ? 50 : 120);

  journal->clear();
  EXPECT_TRUE(deck->closeLeftView());
  settle();
  EXPECT_THAT(*journal, ElementsAre("menu willDisappear animated", "center willClose left",
                                    "menu didDisappear animated", "center didClose left", "center didShowCenter left"));
  EXPECT_EQ(slidingX(), 0);
  EXPECT_EQ(Accessibility::count(Accessibility::Notification::ScreenChanged), 2u);
}

TEST_P(PanelDeckJourneyTest, TogglingTwiceAtOnceClosesAgainAndTellsEachOnce) {
  showAppDeck(GetParam());
  deck->toggleLeftView();
  // The second press sees the frame the first one already assigned (open) and closes.
  deck->toggleLeftView();
  settle();
  EXPECT_EQ(slidingX(), 0);
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "center willOpen left"), 1);
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "center willClose left"), 1);
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "center didClose left"), 1);
  // The open never came to rest open, so it is not reported as done.
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "center didOpen left"), 0);
  EXPECT_TRUE(deck->view()->isUserInteractionEnabled()) << "nested slides give touches back only at the end";
}

TEST_P(PanelDeckJourneyTest, VetoedCloseChangesNothingAndHearsTheRealAnimatedFlag) {
  showAppDeck(GetParam());
  deck->openLeftView();
  settle();
  journal->clear();
  center->closeAnswer = false;
  bool completed = true;
  EXPECT_FALSE(deck->closeLeftView(true, [&](PanelDeckController&, bool ok) { completed = ok; }));
  EXPECT_FALSE(completed);
  EXPECT_EQ(center->lastCloseAnimated, true);
  deck->closeLeftView(false);
  EXPECT_EQ(center->lastCloseAnimated, false);
  settle();
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
  EXPECT_TRUE(journal->empty());
}

TEST_P(PanelDeckJourneyTest, OpeningWithoutAControllerSucceedsQuietly) {
  showAppDeck(GetParam());
  bool completed = false;
  EXPECT_TRUE(deck->openRightView(true, [&](PanelDeckController&, bool ok) { completed = ok; }));
  settle();
  EXPECT_TRUE(completed);
  EXPECT_TRUE(journal->empty());
  EXPECT_EQ(slidingX(), 0);
}

INSTANTIATE_TEST_SUITE_P(Profiles, PanelDeckJourneyTest,
                         testing::Values(Screen::Profile::Phone, Screen::Profile::Tablet),
                         [](const auto& info) { return info.param == Screen::Profile::Phone ? "Phone" : "Tablet"; });

}  // namespace
}  // namespace decktest
