// Opening and closing beyond the app's left menu: bouncing slides, switching to the opposite side,
// sides on the other axis, pushing over a navigation centre, corners, opacity and a delegate's shadow.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/foundation/Error.h"
#include "platform/graphics/Path.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ShapeLayer.h"
#include "tests/ui/deck/DeckFixture.h"

namespace decktest {
namespace {

using testing::ElementsAre;

class PanelDeckOpenCloseTest : public DeckFixture {
 protected:
  std::shared_ptr<Page> page(const std::string& name) { return std::make_shared<Page>(name, journal, kOtherColor); }
  std::vector<std::string> delegateCalls() const {
    std::vector<std::string> calls;
    for (const auto& entry : *journal) {
      if (entry.rfind("center ", 0) == 0 && entry.find("appear") == std::string::npos &&
          entry.find("Appear") == std::string::npos)
        calls.push_back(entry);
    }
    return calls;
  }
};

// Remembers what the shadow hook was given.
class ShadowStyler : public PanelDeckControllerDelegate {
 public:
  int calls = 0;
  bool applyShadow(PanelDeckController&, pf::Layer&, const pf::Rect&) override {
    ++calls;
    return true;
  }
};

TEST_F(PanelDeckOpenCloseTest, BouncingOpenGoesOutThenSettlesInItsTwoStages) {
  showAppDeck();
  deck->setLeftSize(44);
  deck->setOpenSlideAnimationDuration(0.5);
  deck->setBounceDurationFactor(0.2);
  int bounced = 0;
  bool completed = false;
  deck->openLeftViewBouncing([&](PanelDeckController&) { ++bounced; },
                             [&](PanelDeckController&, bool ok) { completed = ok; });
  EXPECT_EQ(slidingX(), 320);
  settle(0.11);  // first stage: 0.5 x 0.2
  EXPECT_EQ(bounced, 1);
  EXPECT_EQ(slidingX(), 276);
  settle(0.3);
  EXPECT_FALSE(completed) << "the second stage takes 0.5 x 0.8";
  settle(0.11);
  EXPECT_TRUE(completed);
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
  EXPECT_EQ(pf::Accessibility::count(pf::Accessibility::Notification::ScreenChanged), 1u);
}

TEST_F(PanelDeckOpenCloseTest, OpeningTheOppositeSideSwitchesWithoutAnAnnouncement) {
  showAppDeck();
  auto right = page("right");
  deck->setRightController(right);
  deck->openRightView(false);
  settle();
  journal->clear();
  pf::Accessibility::reset();
  bool completed = false;
  EXPECT_TRUE(deck->openLeftView(true, [&](PanelDeckController&, bool ok) { completed = ok; }));
  settle(1);
  EXPECT_TRUE(completed);
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
  EXPECT_THAT(delegateCalls(), ElementsAre("center willClose right", "center willOpen left", "center didClose right",
                                           "center didShowCenter right", "center didOpen left"));
  EXPECT_EQ(pf::Accessibility::count(pf::Accessibility::Notification::ScreenChanged), 0u);
}

TEST_F(PanelDeckOpenCloseTest, OpeningLeftWhileTopIsOpenClosesTopFirstUnlessRefused) {
  showAppDeck();
  deck->setTopController(page("top"));
  deck->openTopView(false);
  settle();
  journal->clear();
  center->closeAnswer = false;
  bool completed = true;
  EXPECT_FALSE(deck->openLeftView(true, [&](PanelDeckController&, bool ok) { completed = ok; }));
  settle();
  EXPECT_FALSE(completed);
  EXPECT_TRUE(deck->isSideOpen(DeckSideTop));
  center->closeAnswer = std::nullopt;
  EXPECT_TRUE(deck->openLeftView());
  settle(1);
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
  EXPECT_TRUE(deck->isSideClosed(DeckSideTop));
  // The open starts from the close's completion, which runs before the close is announced.
  EXPECT_THAT(delegateCalls(), ElementsAre("center willClose top", "center willOpen left", "center didClose top",
                                           "center didShowCenter top", "center didOpen left"));
}

TEST_F(PanelDeckOpenCloseTest, CloseBouncingOnAPartlyOpenSideOnlyCompletes) {
  showAppDeck();
  deck->setSlidingFrameForOffset(100, DeckOffsetHorizontal, false);
  bool completed = false;
  EXPECT_TRUE(deck->closeOpenViewBouncing({}, [&](PanelDeckController&, bool ok) { completed = ok; }));
  EXPECT_TRUE(completed);
  EXPECT_EQ(slidingX(), 100);
}

TEST_F(PanelDeckOpenCloseTest, PushOverTheCentreNeedsANavigationCentre) {
  showAppDeck();
  EXPECT_FALSE(deck->canRightViewPushViewControllerOverCenterController());
  try {
    deck->rightViewPushViewControllerOverCenterController(page("detail"));
    ADD_FAILURE() << "no throw";
  } catch (const pf::ContractViolation& fault) {
    EXPECT_STREQ(fault.what(),
                 "cannot rightViewPushViewControllerOverCenterView when center controller is not a navigation controller");
  }
  auto stack = std::make_shared<pf::NavigationController>(page("module"));
  deck->setCenterController(stack);
  deck->setRightController(page("right"));
  deck->openRightView(false);
  settle();
  ASSERT_TRUE(deck->canRightViewPushViewControllerOverCenterController());
  auto detail = page("detail");
  auto holder = deck->view()->superview();
  const size_t siblings = holder->subviews().size();
  deck->rightViewPushViewControllerOverCenterController(detail);
  // The centre answers navigation through the deck, so the push lands on the deck's stack.
  EXPECT_EQ(navigation->topViewController(), detail);
  EXPECT_TRUE(deck->isSideClosed(DeckSideRight));
  settle();
  EXPECT_LE(holder->subviews().size(), siblings) << "the snapshot goes at the end";
  EXPECT_TRUE(deck->view()->isUserInteractionEnabled());
}

TEST_F(PanelDeckOpenCloseTest, CornersRoundOnlyOnTheSidesWithPanels) {
  showAppDeck();
  deck->setCenterViewCornerRadius(8);
  auto mask = std::dynamic_pointer_cast<pf::ShapeLayer>(deck->slidingControllerView()->layer()->mask());
  ASSERT_TRUE(mask);
  const pf::Rect bounds = deck->slidingControllerView()->bounds();
  EXPECT_EQ(*mask->path(), pf::Path::withRoundedRect(bounds, 1 | 4, {8, 8}));
  EXPECT_EQ(*deck->shadowLayer()->shadowPath(), *mask->path());
  // An animated change with no frame animation running takes 0.3 s.
  deck->applyCenterViewCornerRadiusAnimated(true);
  auto animation = mask->animationForKey("animatePath");
  ASSERT_TRUE(animation);
  EXPECT_EQ(animation->duration, 0.3);
}

TEST_F(PanelDeckOpenCloseTest, CentreOpacityAppliesWithOneSideOnly) {
  showAppDeck();
  deck->setCenterViewOpacity(0.5);
  EXPECT_EQ(center->view()->alpha(), 0.5);
  EXPECT_FALSE(center->view()->isOpaque());
  deck->setRightController(page("right"));
  settle();
  EXPECT_EQ(center->view()->alpha(), 1.0) << "two sides put the centre back to opaque";
  deck->setCenterViewOpacity(0.3);
  EXPECT_EQ(center->view()->alpha(), 1.0);
}

TEST_F(PanelDeckOpenCloseTest, DelegateThatStylesTheShadowGetsItAlone) {
  showAppDeck();
  auto styler = std::make_shared<ShadowStyler>();
  deck->setDelegate(styler);
  deck->shadowLayer()->removeAllAnimations();
  deck->setShadowEnabled(false);
  deck->setShadowEnabled(true, true);
  EXPECT_EQ(styler->calls, 1);
  EXPECT_EQ(deck->shadowLayer()->superlayer(), nullptr);
  EXPECT_FALSE(deck->shadowLayer()->hasAnimations());
}

TEST_F(PanelDeckOpenCloseTest, TapperSwallowsTouchesAndTapToCloseBounces) {
  showAppDeck();
  deck->setCenterhiddenInteractivity(DeckCenterTapToCloseBouncing);
  deck->setCenterTapperAccessibilityLabel(std::string("关闭菜单"));
  deck->openLeftView();
  settle();
  auto tapper = deck->centerTapper();
  ASSERT_TRUE(tapper);
  EXPECT_EQ(pf::Accessibility::label(*tapper), "关闭菜单");
  EXPECT_TRUE(pf::Accessibility::viewIsModal(*tapper));
  const auto frame = pf::Accessibility::frame(*tapper);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->size.width, ledge()) << "only the strip on screen";
  int bounces = 0;
  struct Counter : PanelDeckControllerDelegate {
    int* count;
    void didBounceViewSideClosingController(PanelDeckController&, DeckSide, pf::ViewController*) override { ++*count; }
  };
  auto counter = std::make_shared<Counter>();
  counter->count = &bounces;
  deck->setDelegate(counter);
  screen().tap(inWindow(deck->referenceBounds().size.width - 10, 200));
  settle(1);
  EXPECT_EQ(bounces, 1);
  EXPECT_TRUE(deck->isSideClosed(DeckSideLeft));
  EXPECT_FALSE(deck->centerTapper());
}

}  // namespace
}  // namespace decktest
