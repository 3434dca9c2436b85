// The deck coming and going under its navigation controller, and re-arranging after a rotation.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/ui/deck/DeckFixture.h"
#include "platform/ui/Animation.h"
#include "ui/deck/PanelDeckView.h"

namespace decktest {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

class PanelDeckLifecycleTest : public DeckFixture, public testing::WithParamInterface<pf::Screen::Profile> {};

TEST_P(PanelDeckLifecycleTest, DisappearingReachesTheMenuOnlyWhenOpen) {
  for (bool open : {false, true}) {
    SCOPED_TRACE(open ? "open" : "closed");
    showAppDeck(GetParam());
    if (open) {
      deck->openLeftView(false);
      settle();
    }
    journal->clear();
    navigation->pushViewController(std::make_shared<Page>("settings", journal, kOtherColor), false);
    settle();
    std::vector<std::string> menuCalls;
    for (const auto& entry : *journal) {
      if (entry.rfind("menu ", 0) == 0) menuCalls.push_back(entry);
    }
    if (open) {
      EXPECT_THAT(menuCalls, ElementsAre("menu willDisappear", "menu didDisappear"));
    } else {
      EXPECT_THAT(menuCalls, IsEmpty());
    }
    EXPECT_THAT(*journal, testing::Contains("center didDisappear"));
    journal->clear();
    navigation->popViewControllerAnimated(false);
    settle();
    EXPECT_THAT(*journal, testing::Contains("center didAppear"));
    EXPECT_EQ(std::count(journal->begin(), journal->end(), "menu didAppear"), open ? 1 : 0);
  }
}

TEST_F(PanelDeckLifecycleTest, RotationKeepsAnOpenSideOpenAtTheNewWidth) {
  struct Case {
    double ledge;
    bool open;
    double expected;
  };
  for (const Case& c : {Case{44, true, 436}, Case{50, true, 430}, Case{44, false, 0}}) {
    SCOPED_TRACE(c.ledge);
    showAppDeck();
    deck->setLeftSize(c.ledge);
    if (c.open) deck->openLeftView(false);
    settle();
    deck->shouldAutorotate();
    pf::Rect frame = deck->view()->frame();
    frame.size.width = 480;
    deck->view()->setFrame(frame);
    deck->willRotateToInterfaceOrientation(pf::ViewController::Orientation::LandscapeLeft, 0);
    deck->willAnimateRotationToInterfaceOrientation(pf::ViewController::Orientation::LandscapeLeft, 0);
    EXPECT_EQ(slidingX(), c.expected);
    EXPECT_EQ(deck->isSideOpen(DeckSideLeft), c.open);
  }
}

TEST_F(PanelDeckLifecycleTest, InteractionCounterNestsAndTheViewKeepsItsOwnersChoice) {
  showAppDeck();
  auto* gate = dynamic_cast<PanelDeckView*>(deck->view().get());
  ASSERT_NE(gate, nullptr);
  deck->disableUserInteraction();
  deck->disableUserInteraction();
  deck->enableUserInteraction();
  EXPECT_FALSE(gate->isUserInteractionEnabled());
  deck->enableUserInteraction();
  deck->enableUserInteraction();  // an extra enable at 0 does nothing
  EXPECT_TRUE(gate->isUserInteractionEnabled());
  deck->disableUserInteraction();
  gate->setUserInteractionEnabled(true);
  EXPECT_FALSE(gate->isUserInteractionEnabled()) << "the owner's yes waits for the deck";
  deck->enableUserInteraction();
  EXPECT_TRUE(gate->isUserInteractionEnabled());
  gate->setUserInteractionEnabled(false);
  deck->disableUserInteraction();
  deck->enableUserInteraction();
  EXPECT_FALSE(gate->isUserInteractionEnabled()) << "the owner's no survives the deck's animations";
}

TEST_P(PanelDeckLifecycleTest, ShadowFollowsTheSlidingViewAndFadesInAtRest) {
  showAppDeck(GetParam());
  auto shadow = deck->shadowLayer();
  auto* sliding = deck->slidingControllerView();
  ASSERT_EQ(shadow->superlayer(), sliding->layer()->superlayer());
  const auto& siblings = shadow->superlayer()->sublayers();
  const auto below = std::find(siblings.begin(), siblings.end(), shadow);
  const auto slidingAt = std::find(siblings.begin(), siblings.end(), sliding->layer());
  EXPECT_LT(below, slidingAt) << "the shadow lies under the sliding view";
  shadow->removeAllAnimations();
  deck->openLeftView();
  EXPECT_EQ(shadow->frame(), sliding->frame());
  EXPECT_TRUE(shadow->animationForKey("position"));
  settle(2);
  // At rest with no animation on the shadow, it fades in over a second.
  shadow->removeAllAnimations();
  deck->centerViewHidden();
  auto fade = shadow->animationForKey("animateShadowOpacity");
  ASSERT_TRUE(fade);
  EXPECT_EQ(fade->duration, 1.0);
  deck->setShadowEnabled(false);
  EXPECT_EQ(shadow->superlayer(), nullptr);
  deck->setShadowEnabled(true);
  EXPECT_EQ(shadow->superlayer(), sliding->layer()->superlayer());
}

// Faults caught: the centre's rounded mask and its shadow kept at the size the centre had when the
// deck appeared, so when the stack's bar hides (a module that brings its own bars) the strip the centre
// grew by at its foot, where a tab bar lies, is masked away and shows black.
TEST_P(PanelDeckLifecycleTest, TheCentresMaskFollowsItWhenTheBarAboveHides) {
  showAppDeck(GetParam());
  navigation->setNavigationBarHidden(true);
  settle();
  auto* sliding = deck->slidingControllerView();
  const pf::Rect centre = sliding->convertRectToView(sliding->bounds(), nullptr);
  EXPECT_EQ(centre.maxY(), pf::Screen::mainScreen().bounds().height());
  screen().render();
  const pf::Pixel foot = screen().pixelAt({centre.midX(), centre.maxY() - 10});
  EXPECT_GT(foot.red, 200) << "the centre's foot is masked away";
  EXPECT_EQ(deck->shadowLayer()->frame(), sliding->frame());
  navigation->setNavigationBarHidden(false);
  settle();
  screen().render();
  EXPECT_GT(screen().pixelAt({centre.midX(), centre.maxY() - 10}).red, 200);
}

TEST_P(PanelDeckLifecycleTest, LeavingTheDeckFreesItAndItsScreens) {
  showAppDeck(GetParam());
  deck->setCenterhiddenInteractivity(DeckCenterTapToClose);
  deck->openLeftView();
  settle();
  deck->setCenterController(std::make_shared<Page>("next", journal, kOtherColor));
  std::weak_ptr<PanelDeckController> deckWatch = deck;
  std::weak_ptr<Page> menuWatch = menu;
  std::weak_ptr<ModuleScreen> centerWatch = center;
  navigation->popViewControllerAnimated(false);
  deck.reset();
  menu.reset();
  center.reset();
  settle(2);
  EXPECT_TRUE(deckWatch.expired());
  EXPECT_TRUE(menuWatch.expired());
  EXPECT_TRUE(centerWatch.expired());
}

INSTANTIATE_TEST_SUITE_P(Profiles, PanelDeckLifecycleTest,
                         testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const auto& info) { return info.param == pf::Screen::Profile::Phone ? "Phone" : "Tablet"; });

}  // namespace
}  // namespace decktest
