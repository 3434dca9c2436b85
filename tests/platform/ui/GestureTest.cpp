#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "platform/ui/LongPressGestureRecognizer.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/PinchGestureRecognizer.h"
#include "platform/ui/RotationGestureRecognizer.h"
#include "platform/ui/SwipeGestureRecognizer.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/Touch.h"
#include "platform/ui/TouchInjector.h"
#include "platform/ui/View.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Clock;
using pf::GestureRecognizer;
using pf::Point;
using pf::Rect;
using pf::View;
using State = pf::GestureRecognizer::State;
using testing::ElementsAre;

// A view that logs the touches it gets.
class TouchLog : public View {
 public:
  using View::View;
  std::vector<std::string> events;
  std::function<void()> onBegan;
  void touchesBegan(const pf::TouchSet&, const pf::Event*) override {
    events.push_back("began");
    if (onBegan) onBegan();
  }
  void touchesMoved(const pf::TouchSet&, const pf::Event*) override { events.push_back("moved"); }
  void touchesEnded(const pf::TouchSet&, const pf::Event*) override { events.push_back("ended"); }
  void touchesCancelled(const pf::TouchSet&, const pf::Event*) override { events.push_back("cancelled"); }
};

class GestureTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    view = std::make_shared<TouchLog>(Rect(0, 0, 200, 200));
    window->addSubview(view);
    fingers = std::make_unique<pf::TouchInjector>(window);
  }
  void TearDown() override {
    fingers.reset();
    view.reset();
    UiTest::TearDown();
  }
  void tap(Point at) {
    fingers->press(0, at);
    clock->advance(0.05);
    fingers->lift(0);
  }
  // Records each action as its state number.
  static void record(GestureRecognizer& recognizer, std::vector<int>& log) {
    recognizer.addTarget([&log](GestureRecognizer& r) { log.push_back(static_cast<int>(r.state())); });
  }

  std::shared_ptr<TouchLog> view;
  std::unique_ptr<pf::TouchInjector> fingers;
};

TEST_F(GestureTest, TouchesWithoutRecognisersReachTheHitView) {
  tap({10, 10});
  fingers->press(0, {10, 10});
  fingers->move(0, {20, 20});
  fingers->cancelAll();
  EXPECT_THAT(view->events, ElementsAre("began", "ended", "began", "moved", "cancelled"));
}

TEST_F(GestureTest, SingleTapWaitsForTheDoubleTapToFail) {
  auto single = std::make_shared<pf::TapGestureRecognizer>();
  auto twice = std::make_shared<pf::TapGestureRecognizer>();
  twice->setNumberOfTapsRequired(2);
  single->requireGestureRecognizerToFail(twice);
  std::vector<int> singles, doubles;
  record(*single, singles);
  record(*twice, doubles);
  view->addGestureRecognizer(single);
  view->addGestureRecognizer(twice);

  tap({50, 50});
  EXPECT_TRUE(singles.empty()) << "the double tap may still come";
  runUntil(Clock::now() + 1);
  EXPECT_THAT(singles, ElementsAre(3));
  EXPECT_TRUE(doubles.empty());
  EXPECT_THAT(view->events, ElementsAre("began", "cancelled")) << "the end is held, then cancelled";

  singles.clear();
  tap({50, 50});
  clock->advance(0.1);
  tap({52, 51});
  runUntil(Clock::now() + 1);
  EXPECT_THAT(doubles, ElementsAre(3));
  EXPECT_TRUE(singles.empty());
  EXPECT_EQ(single->state(), State::Possible) << "reset for the next gesture";
}

TEST_F(GestureTest, ATapThatMovesTooFarFailsAndTheViewGetsTheTouch) {
  auto tapper = std::make_shared<pf::TapGestureRecognizer>();
  std::vector<int> taps;
  record(*tapper, taps);
  view->addGestureRecognizer(tapper);

  fingers->press(0, {50, 50});
  fingers->move(0, {80, 50});
  fingers->lift(0);

  EXPECT_TRUE(taps.empty());
  EXPECT_THAT(view->events, ElementsAre("began", "moved", "ended"));
}

TEST_F(GestureTest, PanReportsTranslationAndVelocity) {
  auto pan = std::make_shared<pf::PanGestureRecognizer>();
  std::vector<int> states;
  std::vector<Point> translations;
  pan->addTarget([&](GestureRecognizer& r) {
    states.push_back(static_cast<int>(r.state()));
    translations.push_back(static_cast<pf::PanGestureRecognizer&>(r).translationInView(view.get()));
  });
  view->addGestureRecognizer(pan);

  fingers->press(0, {20, 100});
  clock->advance(0.02);
  fingers->move(0, {25, 100});
  EXPECT_TRUE(states.empty()) << "within the hysteresis";
  for (int step = 1; step <= 5; ++step) {
    clock->advance(0.02);
    fingers->move(0, {25.0 + 10 * step, 100});
  }
  const Point velocity = pan->velocityInView(view.get());
  EXPECT_NEAR(velocity.x, 500, 1);
  EXPECT_NEAR(velocity.y, 0, 1e-9);
  pan->setTranslation({0, 0}, view.get());
  clock->advance(0.02);
  fingers->move(0, {85, 110});
  fingers->lift(0);

  ASSERT_GE(states.size(), 3u);
  EXPECT_EQ(states.front(), 1);
  EXPECT_EQ(states.back(), 3);
  EXPECT_EQ(translations.front(), (Point{15, 0}));
  EXPECT_EQ(translations[translations.size() - 2], (Point{10, 10})) << "counted from the reset";
  EXPECT_THAT(view->events, ElementsAre("began", "moved", "cancelled"))
      << "a recognised pan cancels the view's touch";
}

TEST_F(GestureTest, PanTranslationIsInTheAskingViewsSpace) {
  view->setTransform(pf::AffineTransform::makeScale(2, 2));
  auto pan = std::make_shared<pf::PanGestureRecognizer>();
  pan->setCancelsTouchesInView(false);
  view->addGestureRecognizer(pan);
  fingers->press(0, {100, 100});
  fingers->move(0, {140, 120});
  EXPECT_EQ(pan->translationInView(nullptr), (Point{40, 20}));
  EXPECT_EQ(pan->translationInView(view.get()), (Point{20, 10}));
  fingers->lift(0);
  EXPECT_THAT(view->events, ElementsAre("began", "moved", "ended"));
}

TEST_F(GestureTest, DelegateVetoesAndRecognitionExcludesRivals) {
  struct Veto : pf::GestureRecognizerDelegate {
    bool begin = true;
    bool together = false;
    std::optional<bool> gestureRecognizerShouldBegin(GestureRecognizer&) override { return begin; }
    std::optional<bool> shouldRecognizeSimultaneously(GestureRecognizer&, GestureRecognizer&) override {
      return together;
    }
  };
  auto veto = std::make_shared<Veto>();
  auto pan = std::make_shared<pf::PanGestureRecognizer>();
  auto press = std::make_shared<pf::LongPressGestureRecognizer>();
  pan->setDelegate(veto);
  std::vector<int> pans, presses;
  record(*pan, pans);
  record(*press, presses);
  view->addGestureRecognizer(pan);
  view->addGestureRecognizer(press);

  veto->begin = false;
  fingers->press(0, {50, 50});
  fingers->move(0, {52, 50});
  runUntil(Clock::now() + 1);
  fingers->move(0, {90, 50});
  fingers->lift(0);
  EXPECT_TRUE(pans.empty()) << "the delegate said no";
  EXPECT_THAT(presses, ElementsAre(1, 2, 3));

  presses.clear();
  veto->begin = true;
  fingers->press(0, {50, 50});
  fingers->move(0, {90, 50});
  runUntil(Clock::now() + 1);
  fingers->lift(0);
  EXPECT_THAT(pans, ElementsAre(1, 3));
  EXPECT_TRUE(presses.empty()) << "the pan won and the long press failed";
}

TEST_F(GestureTest, ARecogniserRemovedWhileRecognisingStopsCleanly) {
  auto pan = std::make_shared<pf::PanGestureRecognizer>();
  std::vector<int> states;
  pan->addTarget([&](GestureRecognizer& r) {
    states.push_back(static_cast<int>(r.state()));
    if (r.state() == State::Changed) view->removeGestureRecognizer(&r);
  });
  view->addGestureRecognizer(pan);

  fingers->press(0, {20, 20});
  fingers->move(0, {60, 20});
  fingers->move(0, {80, 20});
  fingers->move(0, {100, 20});
  fingers->lift(0);

  EXPECT_THAT(states, ElementsAre(1, 2));
  EXPECT_EQ(pan->view(), nullptr);
  EXPECT_EQ(pan->state(), State::Possible);
  fingers->press(0, {20, 20});
  fingers->move(0, {90, 20});
  fingers->lift(0);
  EXPECT_THAT(states, ElementsAre(1, 2)) << "no actions after removal";
}

TEST_F(GestureTest, AViewRemovedInItsOwnTouchHandlerIsSafe) {
  std::weak_ptr<View> weak = view;
  view->onBegan = [weak] {
    if (auto v = weak.lock()) v->removeFromSuperview();
  };
  auto tapper = std::make_shared<pf::TapGestureRecognizer>();
  int taps = 0;
  tapper->addTarget([&](GestureRecognizer&) { ++taps; });
  tapper->setCancelsTouchesInView(false);
  tapper->setDelaysTouchesEnded(false);
  view->addGestureRecognizer(tapper);
  auto log = view;
  view.reset();

  tap({10, 10});
  log.reset();
  EXPECT_TRUE(weak.expired());
  EXPECT_TRUE(window->subviews().empty());
  EXPECT_EQ(taps, 1) << "the recogniser had the touch before the view left";
  tap({10, 10});
}

TEST_F(GestureTest, PinchAndSwipeFollowTheirFingers) {
  auto pinch = std::make_shared<pf::PinchGestureRecognizer>();
  std::vector<double> scales;
  pinch->addTarget(
      [&](GestureRecognizer& r) { scales.push_back(static_cast<pf::PinchGestureRecognizer&>(r).scale()); });
  view->addGestureRecognizer(pinch);
  fingers->press(0, {80, 100});
  fingers->press(1, {120, 100});
  fingers->moveAll({{0, {60, 100}}, {1, {140, 100}}});
  fingers->lift(0);
  fingers->lift(1);
  ASSERT_FALSE(scales.empty());
  EXPECT_DOUBLE_EQ(scales.front(), 2);
  view->removeGestureRecognizer(pinch.get());

  auto swipe = std::make_shared<pf::SwipeGestureRecognizer>();
  swipe->setDirection(pf::SwipeGestureRecognizer::kLeft);
  std::vector<int> swipes;
  record(*swipe, swipes);
  view->addGestureRecognizer(swipe);
  for (const double dx : {80.0, -80.0}) {
    fingers->press(0, {100, 100});
    clock->advance(0.05);
    fingers->move(0, {100 + dx / 2, 102});
    clock->advance(0.05);
    fingers->move(0, {100 + dx, 104});
    fingers->lift(0);
  }
  EXPECT_THAT(swipes, ElementsAre(3)) << "only the leftward stroke";
}

TEST_F(GestureTest, RotationFollowsTwoFingersTurningPastHalfACircle) {
  const double pi = std::numbers::pi;
  const struct {
    double turn;  // radians, clockwise on screen
    bool recognised;
  } cases[] = {{pi / 4, true}, {-pi / 2, true}, {1.5 * pi, true}, {-1.25 * pi, true}, {0.03, false}};
  for (const auto& c : cases) {
    auto rotation = std::make_shared<pf::RotationGestureRecognizer>();
    std::vector<int> states;
    std::vector<double> velocities;
    rotation->addTarget([&](GestureRecognizer& r) {
      states.push_back(static_cast<int>(r.state()));
      velocities.push_back(static_cast<pf::RotationGestureRecognizer&>(r).velocity());
    });
    view->addGestureRecognizer(rotation);
    // Two fingers 80 apart about (100, 100), turning in small steps, a second in all.
    auto at = [](double angle) {
      return std::map<int, Point>{{0, {100 - 40 * std::cos(angle), 100 - 40 * std::sin(angle)}},
                                  {1, {100 + 40 * std::cos(angle), 100 + 40 * std::sin(angle)}}};
    };
    fingers->press(0, at(0)[0]);
    fingers->press(1, at(0)[1]);
    constexpr int kSteps = 40;
    for (int i = 1; i <= kSteps; ++i) {
      clock->advance(1.0 / kSteps);
      fingers->moveAll(at(c.turn * i / kSteps));
    }
    if (c.recognised) {
      EXPECT_NEAR(rotation->rotation(), c.turn, 1e-9) << c.turn;
      EXPECT_NEAR(velocities.back(), c.turn, 0.01) << c.turn;  // radians a second
    }
    fingers->lift(0);
    fingers->lift(1);
    if (c.recognised) {
      ASSERT_GE(states.size(), 3u) << c.turn;
      EXPECT_EQ(states.front(), static_cast<int>(State::Began)) << c.turn;
      EXPECT_EQ(states.back(), static_cast<int>(State::Ended)) << c.turn;
    } else {
      EXPECT_TRUE(states.empty()) << c.turn;
    }
    view->removeGestureRecognizer(rotation.get());
  }
}

TEST_F(GestureTest, ResettingTheRotationMidGestureCountsFromThere) {
  auto rotation = std::make_shared<pf::RotationGestureRecognizer>();
  std::vector<double> seen;
  rotation->addTarget([&](GestureRecognizer& r) {
    auto& turning = static_cast<pf::RotationGestureRecognizer&>(r);
    seen.push_back(turning.rotation());
    turning.setRotation(0);  // applies each step to a view and starts again, as a viewer does
  });
  view->addGestureRecognizer(rotation);
  fingers->press(0, {60, 100});
  fingers->press(1, {140, 100});
  double total = 0;
  for (int i = 1; i <= 20; ++i) {
    const double angle = 0.1 * i;
    clock->advance(0.02);
    fingers->moveAll({{0, {100 - 40 * std::cos(angle), 100 - 40 * std::sin(angle)}},
                      {1, {100 + 40 * std::cos(angle), 100 + 40 * std::sin(angle)}}});
  }
  fingers->lift(0);
  fingers->lift(1);
  for (double step : seen) total += step;
  EXPECT_NEAR(total, 2.0, 1e-9);
}

TEST_F(GestureTest, DelaysTouchesBeganHoldsTheViewsTouchesWhileTheRecogniserMayStillTakeThem) {
  const struct {
    const char* what;
    bool pan;  // else a single tap
    bool delays;
    Point to;  // where the finger goes before it lifts
    std::vector<std::string> view;
  } cases[] = {
      {"recognised pan, delayed", true, true, {150, 50}, {}},
      {"recognised pan, not delayed", true, false, {150, 50}, {"began", "cancelled"}},
      {"recognised tap, delayed", false, true, {50, 50}, {}},
      {"failed tap, delayed", false, true, {150, 50}, {"began", "moved", "ended"}},
      {"failed tap, not delayed", false, false, {150, 50}, {"began", "moved", "ended"}},
  };
  for (const auto& c : cases) {
    std::shared_ptr<GestureRecognizer> recognizer;
    if (c.pan) {
      recognizer = std::make_shared<pf::PanGestureRecognizer>();
    } else {
      recognizer = std::make_shared<pf::TapGestureRecognizer>();
    }
    recognizer->setDelaysTouchesBegan(c.delays);
    view->addGestureRecognizer(recognizer);
    view->events.clear();
    fingers->press(0, {50, 50});
    clock->advance(0.05);
    if (c.to != Point{50, 50}) {
      fingers->move(0, c.to);
      clock->advance(0.05);
    }
    fingers->lift(0);
    runUntil(Clock::now() + 1);
    EXPECT_EQ(view->events, c.view) << c.what;
    view->removeGestureRecognizer(recognizer.get());
  }
}

TEST_F(GestureTest, DelaysTouchesEndedHoldsTheEndUntilADoubleTapFails) {
  for (bool delays : {true, false}) {
    auto doubleTap = std::make_shared<pf::TapGestureRecognizer>();
    doubleTap->setNumberOfTapsRequired(2);
    doubleTap->setDelaysTouchesEnded(delays);
    view->addGestureRecognizer(doubleTap);
    view->events.clear();
    tap({50, 50});
    if (delays) {
      EXPECT_THAT(view->events, ElementsAre("began")) << "the end waits for a second tap";
    } else {
      EXPECT_THAT(view->events, ElementsAre("began", "ended"));
    }
    runUntil(Clock::now() + 1);
    EXPECT_THAT(view->events, ElementsAre("began", "ended")) << delays;
    view->removeGestureRecognizer(doubleTap.get());
  }
}

TEST_F(GestureTest, TapUnderTwoPansReachesTheViewWhenBothFail) {
  // A pan on the view and one on its superview: both fail as the finger lifts without moving, and
  // the end they held back must still reach the view.
  auto inner = std::make_shared<TouchLog>(Rect(20, 20, 100, 100));
  view->addSubview(inner);
  auto outerPan = std::make_shared<pf::PanGestureRecognizer>();
  auto innerPan = std::make_shared<pf::PanGestureRecognizer>();
  view->addGestureRecognizer(outerPan);
  inner->addGestureRecognizer(innerPan);
  tap({50, 50});
  EXPECT_THAT(inner->events, ElementsAre("began", "ended"));
  EXPECT_EQ(outerPan->state(), State::Possible);
  EXPECT_EQ(innerPan->state(), State::Possible);
  tap({50, 50});
  EXPECT_THAT(inner->events, ElementsAre("began", "ended", "began", "ended"));
}

}  // namespace
