#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/ui/Animator.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/KeyframeAnimation.h"
#include "platform/ui/Layer.h"
#include "platform/ui/TimingFunction.h"
#include "platform/ui/Transaction.h"
#include "platform/ui/View.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Animation;
using pf::BasicAnimation;
using pf::Clock;
using pf::Point;
using pf::Rect;
using pf::View;
using testing::ElementsAre;

using AnimationTest = UiTest;

double presentedX(const View& view) {
  return view.layer()->presentationLayer()->position().x;
}

TEST_F(AnimationTest, TimingFunctionsKeepTheirEndsAndShape) {
  for (const char* name : {"linear", "easeIn", "easeOut", "easeInEaseOut", "default"}) {
    const auto f = pf::TimingFunction::named(name);
    EXPECT_EQ(f.progress(0), 0) << name;
    EXPECT_EQ(f.progress(1), 1) << name;
  }
  EXPECT_NEAR(pf::TimingFunction::named("easeInEaseOut").progress(0.5), 0.5, 1e-6);
  EXPECT_LT(pf::TimingFunction::named("easeIn").progress(0.25), 0.25);
  EXPECT_GT(pf::TimingFunction::named("easeOut").progress(0.25), 0.25);
  EXPECT_THROW(pf::TimingFunction::named("bouncy"), pf::ContractViolation);
}

TEST_F(AnimationTest, ModelChangesAtOncePresentationHalfwayCompletionAfterTheDuration) {
  auto view = std::make_shared<View>(Rect(0, 0, 10, 10));
  window->addSubview(view);
  std::vector<std::pair<double, bool>> completions;

  View::animateWithDuration(
      1.0, 0, View::kAnimationCurveLinear,
      [&] {
        view->setCenter({105, 5});
      },
      [&](bool finished) { completions.emplace_back(Clock::now(), finished); });

  EXPECT_EQ(view->center(), (Point{105, 5}));
  EXPECT_DOUBLE_EQ(presentedX(*view), 5);
  clock->advance(0.5);
  EXPECT_DOUBLE_EQ(presentedX(*view), 55);
  ASSERT_NE(view->layer()->animationForKey("position"), nullptr);
  runUntil(0.99);
  EXPECT_TRUE(completions.empty());
  runUntil(1.5);
  EXPECT_THAT(completions, ElementsAre(std::pair{1.0, true}));
  EXPECT_EQ(view->layer()->animationForKey("position"), nullptr);
  EXPECT_DOUBLE_EQ(presentedX(*view), 105);
}

TEST_F(AnimationTest, CompletionRunsLaterEvenWithNothingToAnimate) {
  int calls = 0;
  View::animateWithDuration(
      0.3, [] {},
      [&](bool finished) {
        EXPECT_TRUE(finished);
        ++calls;
      });
  EXPECT_EQ(calls, 0);
  drain();
  EXPECT_EQ(calls, 1);
}

TEST_F(AnimationTest, AnInterruptedAnimationCompletesOnceUnfinished) {
  auto view = std::make_shared<View>(Rect(0, 0, 10, 10));
  std::vector<bool> first, second;
  View::animateWithDuration(
      1.0, [&] { view->setAlpha(0); }, [&](bool f) { first.push_back(f); });
  clock->advance(0.25);
  View::animateWithDuration(
      1.0, [&] { view->setAlpha(0.5); }, [&](bool f) { second.push_back(f); });
  drain();
  EXPECT_THAT(first, ElementsAre(false));
  runUntil(5);
  EXPECT_THAT(first, ElementsAre(false));
  EXPECT_THAT(second, ElementsAre(true));
}

// Halfway through a move from x=0 to x=100, a new move to x=200 starts: from where the view is drawn
// when asked to, else from the old model value (a jump).
TEST_F(AnimationTest, BeginFromCurrentStateStartsWhereTheViewIsDrawn) {
  struct Case {
    unsigned options;
    double startX;
  };
  for (const Case c : {Case{View::kAnimationCurveLinear | View::kAnimationBeginFromCurrentState, 50},
                       Case{View::kAnimationCurveLinear, 100}}) {
    auto view = std::make_shared<View>(Rect(-5, 0, 10, 10));
    View::animateWithDuration(1.0, 0, View::kAnimationCurveLinear, [&] { view->setCenter({100, 5}); });
    clock->advance(0.5);
    View::animateWithDuration(1.0, 0, c.options, [&] { view->setCenter({200, 5}); });
    EXPECT_DOUBLE_EQ(presentedX(*view), c.startX) << c.options;
    clock->advance(0.5);
    EXPECT_DOUBLE_EQ(presentedX(*view), (c.startX + 200) / 2) << c.options;
    runUntil(Clock::now() + 2);
  }
}

TEST_F(AnimationTest, DelayHoldsTheOldValueAndRepeatAutoreverseRunsBackAndForth) {
  auto view = std::make_shared<View>(Rect(0, 0, 10, 10));
  View::animateWithDuration(1.0, 0.5, View::kAnimationCurveLinear, [&] { view->setAlpha(0); });
  EXPECT_DOUBLE_EQ(view->layer()->presentationLayer()->opacity(), 1);
  clock->advance(1.0);
  EXPECT_DOUBLE_EQ(view->layer()->presentationLayer()->opacity(), 0.5);
  runUntil(2);

  auto shaker = std::make_shared<View>(Rect(0, 0, 10, 10));
  View::animateWithDuration(
      1.0, 0, View::kAnimationCurveLinear | View::kAnimationRepeat | View::kAnimationAutoreverse,
      [&] { shaker->setAlpha(0); });
  const double start = Clock::now();
  const auto opacityAt = [&](double t) {
    clock->advanceTo(start + t);
    return shaker->layer()->presentationLayer()->opacity();
  };
  EXPECT_DOUBLE_EQ(opacityAt(0.5), 0.5);
  EXPECT_DOUBLE_EQ(opacityAt(1.25), 0.25);
  EXPECT_DOUBLE_EQ(opacityAt(1.75), 0.75);
  EXPECT_DOUBLE_EQ(opacityAt(10.5), 0.5);
  EXPECT_TRUE(pf::Animator::shared().isAnimating());
  shaker->layer()->removeAllAnimations();
}

TEST_F(AnimationTest, RemovingTheViewInItsOwnCompletionIsSafe) {
  auto view = std::make_shared<View>(Rect(0, 0, 10, 10));
  window->addSubview(view);
  std::weak_ptr<View> weak = view;
  int calls = 0;
  View::animateWithDuration(
      0.3, [&] { view->setAlpha(0); },
      [weak, &calls](bool) {
        ++calls;
        if (auto v = weak.lock()) v->removeFromSuperview();
      });
  view.reset();
  runUntil(1);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(weak.expired());
  EXPECT_TRUE(window->subviews().empty());
}

TEST_F(AnimationTest, BeginCommitFormCallsTheDidStopSelectorWhileTheDelegateLives) {
  auto view = std::make_shared<View>(Rect(0, 0, 10, 10));
  auto delegate = std::make_shared<int>(0);
  std::vector<std::string> stops;
  int context = 7;
  const auto run = [&](std::weak_ptr<void> who) {
    View::beginAnimations("bounce", &context);
    View::setAnimationDelegate(who);
    View::setAnimationDidStopSelector([&](const std::string& id, bool finished, void* ctx) {
      stops.push_back(id + (finished ? " finished " : " stopped ") + std::to_string(*static_cast<int*>(ctx)));
    });
    View::setAnimationDuration(0.4);
    view->setFrame(Rect(0, 50, 10, 10));
    View::commitAnimations();
  };
  run(delegate);
  EXPECT_EQ(view->layer()->animationForKey("position")->duration, 0.4);
  runUntil(1);
  EXPECT_THAT(stops, ElementsAre("bounce finished 7"));

  auto gone = std::make_shared<int>(0);
  run(gone);
  gone.reset();
  runUntil(2);
  EXPECT_EQ(stops.size(), 1u);
}

struct StopLog : pf::AnimationDelegate {
  std::vector<std::string> events;
  void animationDidStart(Animation& a) override { events.push_back("start " + a.keyPath); }
  void animationDidStop(Animation& a, bool finished) override {
    events.push_back("stop " + a.keyPath + (finished ? " finished" : " removed"));
  }
};

TEST_F(AnimationTest, LayerAnimationsFillRemoveAndReportOnce) {
  auto layer = pf::Layer::make();
  auto log = std::make_shared<StopLog>();
  auto held = BasicAnimation::make("position.x");
  held->fromValue = 0.0;
  held->toValue = 80.0;
  held->duration = 1;
  held->fillMode = Animation::FillMode::Forwards;
  held->removedOnCompletion = false;
  held->delegate = log;
  layer->addAnimation(held, "hold");
  clock->advance(0.25);
  EXPECT_DOUBLE_EQ(layer->presentationLayer()->position().x, 20);
  EXPECT_EQ(layer->position().x, 0) << "the model stays";
  runUntil(3);
  EXPECT_DOUBLE_EQ(layer->presentationLayer()->position().x, 80) << "filled forwards";
  ASSERT_NE(layer->animationForKey("hold"), nullptr) << "kept after completion";
  EXPECT_THAT(log->events, ElementsAre("start position.x", "stop position.x finished"));

  layer->removeAnimationForKey("hold");
  drain();
  EXPECT_THAT(log->events, ElementsAre("start position.x", "stop position.x finished"));
  EXPECT_DOUBLE_EQ(layer->presentationLayer()->position().x, 0);
}

TEST_F(AnimationTest, KeyframesFollowTheirKeyTimes) {
  auto layer = pf::Layer::make();
  auto bounce = pf::KeyframeAnimation::make("position.y");
  bounce->values = {0.0, 100.0, 50.0};
  bounce->keyTimes = {0, 0.25, 1};
  bounce->duration = 2;
  layer->addAnimation(bounce, "previewBounceAnimation");
  const double start = Clock::now();
  const auto yAt = [&](double t) {
    clock->advanceTo(start + t);
    return layer->presentationLayer()->position().y;
  };
  EXPECT_DOUBLE_EQ(yAt(0.25), 50);
  EXPECT_DOUBLE_EQ(yAt(0.5), 100);
  EXPECT_DOUBLE_EQ(yAt(1.25), 75);
  runUntil(start + 3);
  EXPECT_FALSE(layer->hasAnimations());
}

TEST_F(AnimationTest, TransactionsTimeImplicitAnimationsAndCompleteAfterThem) {
  auto root = pf::Layer::make();
  auto layer = pf::Layer::make();
  root->addSublayer(layer);
  std::vector<double> done;

  pf::Transaction::begin();
  pf::Transaction::setAnimationDuration(2);
  pf::Transaction::setCompletionBlock([&] { done.push_back(Clock::now()); });
  layer->setOpacity(0);
  pf::Transaction::commit();
  EXPECT_EQ(layer->animationForKey("opacity")->duration, 2);
  clock->advance(1);
  EXPECT_NEAR(layer->presentationLayer()->opacity(), 0.2, 0.1) << "the default curve";
  runUntil(5);
  EXPECT_THAT(done, ElementsAre(2.0));

  pf::Transaction::begin();
  pf::Transaction::setDisableActions(true);
  layer->setOpacity(1);
  pf::Transaction::commit();
  EXPECT_FALSE(layer->hasAnimations());

  auto loose = pf::Layer::make();
  loose->setOpacity(0.5);
  EXPECT_FALSE(loose->hasAnimations()) << "a layer outside a tree changes at once";
}

TEST_F(AnimationTest, ViewLayersAnimateOnlyInsideBlocks) {
  auto view = std::make_shared<View>(Rect(0, 0, 10, 10));
  window->addSubview(view);
  view->setAlpha(0.5);
  view->layer()->setCornerRadius(4);
  EXPECT_FALSE(view->layer()->hasAnimations());

  View::animateWithDuration(0.3, [&] {
    View::performWithoutAnimation([&] { view->setAlpha(0.2); });
    view->setBounds(Rect(0, 0, 40, 40));
  });
  EXPECT_EQ(view->layer()->animationKeys(), std::vector<std::string>{"bounds"});
  runUntil(1);

  View::setAnimationsEnabled(false);
  View::animateWithDuration(0.3, [&] { view->setAlpha(1); });
  View::setAnimationsEnabled(true);
  EXPECT_FALSE(view->layer()->hasAnimations());
}

TEST_F(AnimationTest, HitTestingFollowsThePresentationAndWaitsUnlessInteractionIsAllowed) {
  auto view = std::make_shared<View>(Rect(0, 0, 50, 50));
  window->addSubview(view);
  View::animateWithDuration(1.0, 0, View::kAnimationCurveLinear | View::kAnimationAllowUserInteraction,
                            [&] { view->setFrame(Rect(200, 0, 50, 50)); });

  EXPECT_EQ(window->hitTest({25, 25}, nullptr), view) << "still drawn at the start";
  EXPECT_EQ(window->hitTest({225, 25}, nullptr), window);
  clock->advance(1);
  runUntil(Clock::now());
  EXPECT_EQ(window->hitTest({225, 25}, nullptr), view);

  View::animateWithDuration(1.0, [&] { view->setAlpha(0.5); });
  EXPECT_EQ(window->hitTest({225, 25}, nullptr), window)
      << "a view animating without the option takes no touches";
  runUntil(Clock::now() + 1);
  EXPECT_EQ(window->hitTest({225, 25}, nullptr), view);
}

// A container reads the animation a block gave the view's layer while the block is still open, and a
// begin/commit block may set its duration after its changes.
TEST_F(AnimationTest, BlockAnimationsAreOnTheLayerAtOnceAndFollowLateTiming) {
  auto view = std::make_shared<View>(Rect(0, 0, 50, 50));
  double seen = -1;
  View::animateWithDuration(0.4, 0, View::kAnimationCurveEaseIn, [&] {
    view->setCenter({100, 100});
    if (auto running = view->layer()->animationForKey("position")) seen = running->duration;
  });
  EXPECT_EQ(seen, 0.4);
  runUntil(1);

  std::vector<bool> done;
  View::beginAnimations("late", nullptr);
  view->setAlpha(0);
  View::setAnimationDuration(2);
  View::setAnimationDelay(1);
  View::commitAnimations();
  auto fade = view->layer()->animationForKey("opacity");
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(fade->duration, 2);
  EXPECT_EQ(fade->beginTime, Clock::now() + 1);
  const double start = Clock::now();
  clock->advance(2);
  EXPECT_DOUBLE_EQ(view->layer()->presentationLayer()->opacity(), 0.5) << "1 s delay, then halfway";
  runUntil(start + 2.9);
  EXPECT_TRUE(view->layer()->hasAnimations());
  runUntil(start + 3.1);
  EXPECT_FALSE(view->layer()->hasAnimations());
}

}  // namespace
