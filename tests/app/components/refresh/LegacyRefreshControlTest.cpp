#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/components/refresh/LegacyRefreshArrowView.h"
#include "app/components/refresh/LegacyRefreshControl.h"
#include "platform/foundation/Log.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Label.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/TouchInjector.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Point;

// The legacy road: the platform's control hidden, the start-up step run, a legacy control on a
// scroll view that fills the phone's window.
class LegacyRefreshControlTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::View::setAnimationsEnabled(true);
    pf::RefreshControl::setAvailable(false);
    ASSERT_TRUE(LegacyRefreshControl::load());
    scroll = std::make_shared<pf::ScrollView>(pf::Rect(0, 0, 320, 480));
    scroll->setContentSize({320, 2000});
    scroll->setBackgroundColor(pf::Color::white());
    window->addSubview(scroll);
    control = std::dynamic_pointer_cast<LegacyRefreshControl>(LegacyRefreshControl::make());
    ASSERT_TRUE(control);
    scroll->addSubview(control);
  }
  void TearDown() override {
    pf::RefreshControl::setAvailable(true);
    LegacyRefreshControl::load();
    UiTest::TearDown();
  }
  void listen() {
    control->addTarget(control, "refresh", [this](pf::Control&, unsigned) { ++actions; },
                       pf::Control::kValueChanged);
  }
  // Drags the content down until it is pulled by `pull` points (the scroll view moves half the finger's
  // way past the top) and holds there past the velocity window.
  void pullAndHold(double pull) {
    fingers = std::make_unique<pf::TouchInjector>(window);
    fingers->press(0, {160, 100});
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
      runUntil(pf::Clock::now() + 0.02);
      fingers->move(0, {160, 100 + 2 * pull * i / steps});
    }
    runUntil(pf::Clock::now() + 0.2);
  }
  void release() {
    fingers->lift(0);
    runUntil(pf::Clock::now() + 2);
  }
  double pulled() const { return -scroll->contentOffset().y; }

  std::shared_ptr<pf::ScrollView> scroll;
  std::shared_ptr<LegacyRefreshControl> control;
  std::unique_ptr<pf::TouchInjector> fingers;
  int actions = 0;
};

// Catches an arrow that starts before 30 % of the height, misses the halfway point or does not glow.
TEST_F(LegacyRefreshControlTest, TheArrowGrowsFromThirtyPercentAndGlowsPastTheHeight) {
  struct Case {
    double pull;
    double progress;
    bool glowing;
  };
  for (const Case& c : {Case{18, 0, false}, Case{39, 0.5, false}, Case{70, 40.0 / 42, true}}) {
    SCOPED_TRACE(c.pull);
    scroll->setContentOffset({0, -c.pull});
    if (c.glowing) {
      EXPECT_GT(control->arrow()->progress(), 1);
    } else {
      EXPECT_NEAR(control->arrow()->progress(), c.progress, 1e-9);
    }
    auto& shape = control->arrow()->shapeLayer();
    EXPECT_EQ(shape.shadowOpacity(), c.glowing ? 1.0 : 0.0);
    EXPECT_EQ(*shape.fillColor(), c.glowing ? control->arrow()->glowColor() : control->arrow()->tintColor());
  }
  scroll->setContentOffset({0, 0});
}

// Catches a release past the height that does not refresh, refreshes twice, leaves the content
// uncovered-less or answers isRefreshing NO while spinning.
TEST_F(LegacyRefreshControlTest, HoldingPastTheHeightIsReadyAndReleasingRefreshesOnce) {
  listen();
  pullAndHold(70);
  EXPECT_NEAR(pulled(), 70, 1e-6);
  EXPECT_EQ(control->refreshControlState(), LegacyRefreshControl::kReady);
  EXPECT_EQ(actions, 0);
  // The top inset takes the control's height the moment the refresh starts.
  double insetAtStart = -1;
  auto watch = scroll->observeContentOffset([&](pf::ScrollView& s, Point) {
    if (insetAtStart < 0 && control->isRefreshing()) insetAtStart = s.contentInset().top;
  });
  release();
  EXPECT_EQ(insetAtStart, 60);
  EXPECT_EQ(control->refreshControlState(), LegacyRefreshControl::kRefreshing);
  EXPECT_EQ(actions, 1);
  EXPECT_TRUE(control->isRefreshing());
  // The content rests where the new inset stopped its spring: within the spring's first frame of 60.
  EXPECT_NEAR(pulled(), 60, 1.5);
  EXPECT_EQ(scroll->contentInset().top, 60);
  EXPECT_TRUE(control->spinner()->isAnimating());

  scroll->setContentOffset({0, -30});  // the content scrolled up by 30
  EXPECT_EQ(scroll->contentInset().top, 30);
  scroll->setContentOffset({0, 10});
  EXPECT_EQ(scroll->contentInset().top, 0);
  scroll->setContentOffset({0, -60});
  EXPECT_EQ(scroll->contentInset().top, 60);

  control->endRefreshing();
  EXPECT_FALSE(control->isRefreshing());
  EXPECT_FALSE(control->spinner()->isAnimating());
  EXPECT_EQ(scroll->contentInset().top, 0);
  runUntil(pf::Clock::now() + 0.1);
  const double fading = control->layer()->presentationOrSelf()->opacity();
  EXPECT_GT(fading, 0.2);
  EXPECT_LT(fading, 0.8);
  EXPECT_LT(scroll->layer()->presentationOrSelf()->bounds().origin.y, -5);
  runUntil(pf::Clock::now() + 0.11);
  EXPECT_EQ(control->layer()->presentationOrSelf()->opacity(), 0);
  EXPECT_EQ(scroll->layer()->presentationOrSelf()->bounds().origin.y, 0);
  EXPECT_EQ(actions, 1);
}

// Catches a short pull that refreshes, or a pulling look that stays after the release.
TEST_F(LegacyRefreshControlTest, AShortPullShowsTheArrowAndReleasingHidesIt) {
  listen();
  pullAndHold(40);
  EXPECT_EQ(control->refreshControlState(), LegacyRefreshControl::kPulling);
  EXPECT_EQ(control->alpha(), 1);
  release();
  EXPECT_EQ(control->refreshControlState(), LegacyRefreshControl::kHidden);
  EXPECT_EQ(actions, 0);
  EXPECT_EQ(pulled(), 0);
}

// Catches a fling from inside the content that overshoots the top and starts a refresh.
TEST_F(LegacyRefreshControlTest, AFlingFromInsideTheContentNeverRefreshes) {
  listen();
  scroll->setContentOffset({0, 100});
  scroll->flingWithVelocity({0, -4000});
  double furthest = 0;
  for (int i = 0; i < 200; ++i) {
    runUntil(pf::Clock::now() + 1.0 / 60);
    furthest = std::max(furthest, pulled());
    EXPECT_EQ(control->refreshControlState(), LegacyRefreshControl::kHidden);
  }
  EXPECT_GT(furthest, 60);
  EXPECT_EQ(actions, 0);
}

// Catches a refresh started with nobody to tell, and a missing explanation in the log.
TEST_F(LegacyRefreshControlTest, ARefreshWithoutATargetIsLoggedAndNotStarted) {
  pf::Log::Capture log;
  pullAndHold(70);
  release();
  EXPECT_NE(control->refreshControlState(), LegacyRefreshControl::kRefreshing);
  EXPECT_FALSE(control->isRefreshing());
  EXPECT_TRUE(log.contains(
      "No action configured for UIControlEventValueChanged event, not transitioning to refreshing state"));
}

// Catches a glow that is not the tint's brightness moved 0.35 away from it.
TEST_F(LegacyRefreshControlTest, TheGlowMovesTheTintsBrightnessAwayFromItself) {
  struct Case {
    std::optional<pf::Color> tint;
    double glow;
    double shadow;
  };
  const Case cases[] = {
      {std::nullopt, 0.15, -0.15},
      {pf::Color::fromHsba(0.6, 0.5, 0.9, 1), 0.55, 0.25},
      {pf::Color::fromHsba(0.6, 0.5, 0.1, 1), 0.45, 0.15},
  };
  for (const Case& c : cases) {
    control->setTintColor(c.tint);
    EXPECT_NEAR(control->arrow()->glowColor().hsba()->brightness, c.glow, 1e-6);
    if (c.shadow > 0) {
      EXPECT_NEAR(control->arrow()->layer()->shadowColor()->hsba()->brightness, c.shadow, 1e-6);
    }
    EXPECT_EQ(control->textLabel()->textColor(), control->tintColor());
  }
}

// Catches a title that overlaps the arrow or is laid out when there is none.
TEST_F(LegacyRefreshControlTest, ATitleMovesTheArrowUpAndShowsBelowIt) {
  control->setAttributedTitle("下拉刷新");
  control->layoutIfNeeded();
  EXPECT_EQ(control->arrow()->center().y, 20);
  EXPECT_EQ(control->textLabel()->frame(), pf::Rect(0, 35, 320, 25));
  control->setAttributedTitle(std::nullopt);
  control->layoutIfNeeded();
  EXPECT_EQ(control->arrow()->center().y, 30);
  EXPECT_EQ(control->textLabel()->frame(), pf::Rect());
}

// Catches a tint set through the class's appearance proxy that does not reach a control entering a
// window.
TEST_F(LegacyRefreshControlTest, TheAppearanceProxysTintReachesNewControls) {
  pf::Appearance::of<LegacyRefreshControl>().set(&LegacyRefreshControl::setTintColor, pf::Color::red());
  auto tinted = std::dynamic_pointer_cast<LegacyRefreshControl>(LegacyRefreshControl::make());
  scroll->addSubview(tinted);
  pf::Appearance::reset();
  EXPECT_EQ(tinted->tintColor(), pf::Color::red());
  EXPECT_EQ(tinted->textLabel()->textColor(), pf::Color::red());
}

// Catches a control that keeps following a scroll view it has left.
TEST_F(LegacyRefreshControlTest, ALeftScrollViewIsNoLongerFollowed) {
  control->removeFromSuperview();
  scroll->setContentOffset({0, -70});
  EXPECT_EQ(control->arrow()->progress(), 0);
}

// Catches a glowing arrow that does not show where the pull uncovers it.
TEST_F(LegacyRefreshControlTest, SnapshotOfAGlowingPulledArrow) {
  scroll->setContentOffset({0, -80});
  control->setRefreshControlState(LegacyRefreshControl::kReady);
  runUntil(pf::Clock::now() + 0.5);
  pf::HeadlessHost host;
  host.render();
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) host.writePng(std::string(folder) + "/refresh-glow.png");
  // The arrow's centre is the middle of the uncovered strip; its ring passes 13 points right of it.
  const Point centre{160, 40};
  EXPECT_EQ(control->center().y, -40);
  const double radius = control->arrow()->arrowRadius();
  const pf::Pixel ring = host.pixelAt({centre.x + radius, centre.y});
  EXPECT_LT(ring.red, 100);  // glow grey 0.15
  EXPECT_EQ(host.pixelAt({20, 40}).red, 255);
}

// The platform road: where the platform has its own control, that is what is made.
TEST(LegacyRefreshPlatformRoad, ThePlatformsOwnControlIsMade) {
  pf::RefreshControl::setAvailable(true);
  EXPECT_FALSE(LegacyRefreshControl::load());
  EXPECT_TRUE(std::dynamic_pointer_cast<pf::RefreshControl>(LegacyRefreshControl::make()));
}

}  // namespace
