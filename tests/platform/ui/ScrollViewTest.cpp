#include "platform/ui/ScrollView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/HeadlessHost.h"
#include "platform/ui/Layer.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/TouchInjector.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Point;
using pf::Rect;
using pf::ScrollView;
using pf::Size;

class ScrollLog : public pf::ScrollViewDelegate {
 public:
  void scrollViewDidScroll(ScrollView&) override { note("scroll"); }
  void scrollViewWillBeginDragging(ScrollView&) override { note("willBeginDragging"); }
  void scrollViewDidEndDragging(ScrollView&, bool decelerate) override {
    note(decelerate ? "didEndDragging decelerate" : "didEndDragging");
  }
  void scrollViewWillBeginDecelerating(ScrollView&) override { note("willBeginDecelerating"); }
  void scrollViewDidEndDecelerating(ScrollView&) override { note("didEndDecelerating"); }
  void scrollViewDidEndScrollingAnimation(ScrollView&) override { note("didEndScrollingAnimation"); }
  std::shared_ptr<pf::View> viewForZoomingInScrollView(ScrollView&) override { return zoomView; }
  void scrollViewDidZoom(ScrollView&) override { note("didZoom"); }
  void scrollViewDidEndZooming(ScrollView&, pf::View*, double) override { note("didEndZooming"); }
  bool scrollViewShouldScrollToTop(ScrollView&) override { return allowsTop; }
  void scrollViewDidScrollToTop(ScrollView&) override { note("didScrollToTop"); }

  // Runs of "scroll" fold into one entry so the order of the rest shows.
  void note(const std::string& event) {
    if (event == "scroll" && !events.empty() && events.back() == "scroll") return;
    events.push_back(event);
  }
  std::vector<std::string> events;
  std::shared_ptr<pf::View> zoomView;
  bool allowsTop = true;
};

class ScrollViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    scroll = std::make_shared<ScrollView>(Rect(0, 0, 320, 480));
    scroll->setContentSize({320, 10000});
    scroll->setDelegate(log);
    window->addSubview(scroll);
  }
  void settle() { runUntil(pf::Clock::now() + 10); }

  std::shared_ptr<ScrollLog> log = std::make_shared<ScrollLog>();
  std::shared_ptr<ScrollView> scroll;
};

TEST_F(ScrollViewTest, AFlingComesToRestWhereTheDecelerationRateTakesIt) {
  const struct {
    double velocity, rate;
  } cases[] = {
      {1000, ScrollView::kDecelerationRateNormal},
      {3000, ScrollView::kDecelerationRateNormal},
      {-2000, ScrollView::kDecelerationRateNormal},
      {3000, ScrollView::kDecelerationRateFast},
  };
  for (const auto& c : cases) {
    scroll->setContentOffset({0, 5000});
    scroll->setDecelerationRate(c.rate);
    log->events.clear();
    scroll->flingWithVelocity({0, c.velocity});
    EXPECT_TRUE(scroll->isDecelerating());
    settle();
    // Velocity decays by the rate each millisecond: the distance is v / (-1000 ln rate).
    const double expected = c.velocity / (-1000 * std::log(c.rate));
    const double travelled = scroll->contentOffset().y - 5000;
    EXPECT_NEAR(travelled, expected, std::abs(expected) * 0.03 + 5) << c.velocity << " at " << c.rate;
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(log->events, (std::vector<std::string>{"didEndDragging decelerate", "willBeginDecelerating",
                                                     "scroll", "didEndDecelerating"}));
  }
}

TEST_F(ScrollViewTest, AFlingPastAnEdgeBouncesBackOrStopsThere) {
  for (bool bounces : {true, false}) {
    scroll->setBounces(bounces);
    scroll->setContentOffset({0, 9400});
    scroll->flingWithVelocity({0, 4000});
    double furthest = 0;
    for (int i = 0; i < 300 && scroll->isDecelerating(); ++i) {
      runUntil(pf::Clock::now() + ScrollView::kFrameInterval);
      furthest = std::max(furthest, scroll->contentOffset().y);
    }
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(scroll->contentOffset().y, 10000 - 480) << bounces;
    if (bounces) {
      EXPECT_GT(furthest, 10000 - 480);
    } else {
      EXPECT_EQ(furthest, 10000 - 480);
    }
  }
}

TEST_F(ScrollViewTest, PagingStopsOnAPageBoundary) {
  scroll->setContentSize({320 * 5, 480});
  scroll->setPagingEnabled(true);
  const struct {
    double start, velocity, page;
  } cases[] = {
      {320 + 100, 0, 1},     // less than half a page on: back
      {320 + 200, 0, 2},     // more than half: on
      {320 + 40, 800, 2},    // a flick turns the page whatever the distance
      {640 - 40, -800, 1},   // and back
      {1280 + 100, 800, 4},  // never past the last page
      {-30, -800, 0},        // nor before the first
  };
  for (const auto& c : cases) {
    scroll->setContentOffset({c.start, 0});
    log->events.clear();
    scroll->flingWithVelocity({c.velocity, 0});
    settle();
    EXPECT_EQ(scroll->contentOffset(), (Point{320 * c.page, 0})) << c.start << " " << c.velocity;
    EXPECT_EQ(log->events.back(), "didEndDecelerating");
  }
}

TEST_F(ScrollViewTest, ADragFollowsTheFingerThenDecelerates) {
  pf::HeadlessHost host(window);
  host.drag({{160, 400}, {160, 300}, {160, 100}}, 0.2);
  EXPECT_GT(scroll->contentOffset().y, 250);
  EXPECT_TRUE(scroll->isDecelerating());
  settle();
  EXPECT_GT(scroll->contentOffset().y, 500);
  EXPECT_EQ(log->events, (std::vector<std::string>{"willBeginDragging", "scroll", "didEndDragging decelerate",
                                                   "willBeginDecelerating", "scroll", "didEndDecelerating"}));
}

TEST_F(ScrollViewTest, ASlowDragPastTheTopRubberBandsAndSettlesBack) {
  pf::HeadlessHost host(window);
  host.drag({{160, 100}, {160, 300}, {160, 300}}, 2);
  EXPECT_LT(scroll->contentOffset().y, -50);
  EXPECT_GT(scroll->contentOffset().y, -200);  // the content moves less than the finger
  settle();
  EXPECT_EQ(scroll->contentOffset().y, 0);
}

TEST_F(ScrollViewTest, AnimatedOffsetsEndInTheScrollingAnimationCall) {
  scroll->setContentOffset({0, 800}, true);
  EXPECT_EQ(scroll->contentOffset().y, 0);
  settle();
  EXPECT_EQ(scroll->contentOffset().y, 800);
  EXPECT_EQ(log->events, (std::vector<std::string>{"scroll", "didEndScrollingAnimation"}));

  log->events.clear();
  scroll->scrollRectToVisible(Rect(0, 100, 10, 10), false);  // moves up only as far as needed
  EXPECT_EQ(scroll->contentOffset().y, 100);
  scroll->scrollRectToVisible(Rect(0, 2000, 10, 100), false);
  EXPECT_EQ(scroll->contentOffset().y, 2100 - 480);
  scroll->scrollRectToVisible(Rect(0, 20000, 10, 100), false);  // clamped to the content
  EXPECT_EQ(scroll->contentOffset().y, 10000 - 480);
}

TEST_F(ScrollViewTest, ZoomStaysWithinItsLimits) {
  auto picture = std::make_shared<pf::View>(Rect(0, 0, 320, 480));
  scroll->addSubview(picture);
  scroll->setContentSize({320, 480});
  log->zoomView = picture;
  scroll->setMinimumZoomScale(0.5);
  scroll->setMaximumZoomScale(3);
  const struct { double asked, got; } cases[] = {{2, 2}, {10, 3}, {0.1, 0.5}, {1, 1}};
  for (const auto& c : cases) {
    scroll->setZoomScale(c.asked);
    EXPECT_EQ(scroll->zoomScale(), c.got);
    EXPECT_EQ(scroll->contentSize(), (Size{320 * c.got, 480 * c.got}));
    EXPECT_EQ(picture->frame(), Rect(0, 0, 320 * c.got, 480 * c.got));
  }
  scroll->zoomToRect(Rect(100, 100, 80, 120), false);  // would be 4: held at 3
  EXPECT_EQ(scroll->zoomScale(), 3);
  EXPECT_EQ(scroll->contentOffset(), (Point{140 * 3 - 160, 160 * 3 - 240}));
  EXPECT_EQ(log->events.back(), "didEndZooming");

  pf::HeadlessHost host(window);
  scroll->setZoomScale(1);
  host.pinch({160, 240}, 50, 400, 0.3);  // eight times the spread
  settle();
  EXPECT_EQ(scroll->zoomScale(), 3);
}

TEST_F(ScrollViewTest, AScrollViewWithoutAZoomViewIgnoresZoom) {
  scroll->setMaximumZoomScale(3);
  scroll->setZoomScale(2);
  EXPECT_EQ(scroll->zoomScale(), 1);
}

TEST_F(ScrollViewTest, AZoomAnimatesOnTheClockAndEndsInTheZoomCall) {
  auto picture = std::make_shared<pf::View>(Rect(0, 0, 320, 480));
  scroll->addSubview(picture);
  scroll->setContentSize({320, 480});
  log->zoomView = picture;
  scroll->setMaximumZoomScale(4);
  const struct {
    const char* what;
    std::function<void()> zoom;
    double scale;
    Point offset;
  } cases[] = {
      // About the centre: (160, 240) stays in the middle.
      {"setZoomScale", [&] { scroll->setZoomScale(2, true); }, 2, {160, 240}},
      {"zoomToRect", [&] { scroll->zoomToRect(Rect(100, 100, 80, 120), true); }, 4, {140 * 4 - 160, 160 * 4 - 240}},
      {"beyond the limit", [&] { scroll->setZoomScale(9, true); }, 4, {160 * 4 - 160, 240 * 4 - 240}},
  };
  for (const auto& c : cases) {
    scroll->setZoomScale(1);
    log->events.clear();
    c.zoom();
    EXPECT_EQ(scroll->zoomScale(), 1) << c.what;  // nothing moves until the clock does
    runUntil(pf::Clock::now() + ScrollView::kScrollAnimationDuration / 2);
    EXPECT_GT(scroll->zoomScale(), 1) << c.what;
    EXPECT_LT(scroll->zoomScale(), c.scale) << c.what;
    EXPECT_TRUE(log->events.empty() || log->events.back() != "didEndZooming") << c.what;
    settle();
    EXPECT_EQ(scroll->zoomScale(), c.scale) << c.what;
    EXPECT_EQ(scroll->contentOffset(), c.offset) << c.what;
    EXPECT_EQ(picture->frame(), Rect(0, 0, 320 * c.scale, 480 * c.scale)) << c.what;
    ASSERT_GE(log->events.size(), 3u) << c.what;
    EXPECT_EQ(log->events.front(), "didZoom") << c.what;
    EXPECT_EQ(log->events.back(), "didEndZooming") << c.what;
    EXPECT_EQ(std::count(log->events.begin(), log->events.end(), "didEndZooming"), 1) << c.what;
  }
}

TEST_F(ScrollViewTest, APinchPastTheLimitBouncesBackBeforeTheZoomEnds) {
  auto picture = std::make_shared<pf::View>(Rect(0, 0, 320, 480));
  scroll->addSubview(picture);
  scroll->setContentSize({320, 480});
  log->zoomView = picture;
  scroll->setMaximumZoomScale(2);
  pf::HeadlessHost host(window);
  host.pinch({160, 240}, 50, 400, 0.3);
  EXPECT_GT(scroll->zoomScale(), 2);
  EXPECT_TRUE(scroll->isZoomBouncing());
  EXPECT_EQ(std::count(log->events.begin(), log->events.end(), "didEndZooming"), 0);
  settle();
  EXPECT_EQ(scroll->zoomScale(), 2);
  EXPECT_FALSE(scroll->isZoomBouncing());
  EXPECT_EQ(log->events.back(), "didEndZooming");
}

TEST_F(ScrollViewTest, DirectionalLockKeepsADragOnItsMainAxis) {
  scroll->setContentSize({3000, 10000});
  scroll->setBounces(false);
  const struct {
    bool lock;
    Point to;
    bool movesX, movesY;
  } cases[] = {
      {true, {200, 200}, false, true},   // mostly down: vertical only
      {true, {40, 370}, true, false},    // mostly across: horizontal only
      {false, {200, 200}, true, true},   // unlocked: both
      {false, {40, 370}, true, true},
  };
  pf::HeadlessHost host(window);
  for (const auto& c : cases) {
    scroll->setDirectionalLockEnabled(c.lock);
    scroll->setContentOffset({1000, 1000});
    // Slow, so the release does not fling.
    host.drag({{240, 400}, c.to, c.to}, 3);
    settle();
    const Point moved{scroll->contentOffset().x - 1000, scroll->contentOffset().y - 1000};
    EXPECT_EQ(moved.x != 0, c.movesX) << c.lock << " to " << c.to.x << "," << c.to.y << " moved " << moved.x;
    EXPECT_EQ(moved.y != 0, c.movesY) << c.lock << " to " << c.to.x << "," << c.to.y << " moved " << moved.y;
  }
}

class ScrollIndicatorTest : public ScrollViewTest {
 protected:
  void SetUp() override {
    ScrollViewTest::SetUp();
    scroll->setBackgroundColor(pf::Color::white());
  }
  // Presentation opacity of an indicator: what a rendering shows.
  static double shownOpacity(const std::shared_ptr<pf::Layer>& indicator) {
    return indicator ? indicator->presentationOrSelf()->opacity() : 0;
  }
  static bool visible(const std::shared_ptr<pf::Layer>& indicator) {
    return indicator && !indicator->isHidden() && shownOpacity(indicator) > 0;
  }
  // The window point in the middle of an indicator.
  Point middleOf(const std::shared_ptr<pf::Layer>& indicator) const {
    const Rect f = indicator->frame();
    return {f.midX() - scroll->contentOffset().x, f.midY() - scroll->contentOffset().y};
  }
  static bool isWhite(pf::Pixel p) { return p.red > 240 && p.green > 240 && p.blue > 240; }
};

TEST_F(ScrollIndicatorTest, IndicatorsShowWhileDeceleratingAndFadeAfter) {
  pf::HeadlessHost host(window);
  scroll->setContentOffset({0, 5000});  // a jump without motion shows nothing
  EXPECT_FALSE(visible(scroll->verticalScrollIndicator()));

  scroll->flingWithVelocity({0, 1000});
  runUntil(pf::Clock::now() + 0.1);
  const auto& bar = scroll->verticalScrollIndicator();
  ASSERT_TRUE(visible(bar));
  EXPECT_FALSE(visible(scroll->horizontalScrollIndicator()));  // the content is no wider than the view
  // Its length is the visible share of the track; its place, the share scrolled.
  const double track = 480 - 2 * ScrollView::kIndicatorMargin;
  const double length = track * 480 / 10000;
  const double y = scroll->contentOffset().y;
  EXPECT_NEAR(bar->frame().height(), length, 1e-9);
  EXPECT_NEAR(bar->frame().minY(), y + ScrollView::kIndicatorMargin + (track - length) * y / (10000 - 480), 1e-9);
  EXPECT_EQ(bar->frame().maxX(), 320 - ScrollView::kIndicatorMargin);
  host.render();
  const pf::Pixel drawn = host.pixelAt(middleOf(bar));
  EXPECT_LT(drawn.red, 190);
  EXPECT_TRUE(isWhite(host.pixelAt({middleOf(bar).x - 6, middleOf(bar).y})));

  while (scroll->isDecelerating()) runUntil(pf::Clock::now() + ScrollView::kFrameInterval);
  EXPECT_GT(shownOpacity(bar), 0.9);
  runUntil(pf::Clock::now() + ScrollView::kIndicatorFadeDuration / 2);
  EXPECT_GT(shownOpacity(bar), 0.2);
  EXPECT_LT(shownOpacity(bar), 0.8);
  runUntil(pf::Clock::now() + ScrollView::kIndicatorFadeDuration);
  EXPECT_EQ(shownOpacity(bar), 0);
  host.render();
  EXPECT_TRUE(isWhite(host.pixelAt(middleOf(bar))));
}

TEST_F(ScrollIndicatorTest, EachAxisShowsOnlyWhenItScrollsAndIsWanted) {
  const struct {
    Size content;
    bool showsHorizontal, showsVertical;
    bool horizontal, vertical;
  } cases[] = {
      {{320, 10000}, true, true, false, true},
      {{1000, 480}, true, true, true, false},
      {{1000, 10000}, true, true, true, true},
      {{1000, 10000}, true, false, true, false},
      {{1000, 10000}, false, false, false, false},
      {{320, 480}, true, true, false, false},
  };
  for (const auto& c : cases) {
    scroll->setContentSize(c.content);
    scroll->setShowsHorizontalScrollIndicator(c.showsHorizontal);
    scroll->setShowsVerticalScrollIndicator(c.showsVertical);
    scroll->flashScrollIndicators();
    EXPECT_EQ(visible(scroll->horizontalScrollIndicator()), c.horizontal) << c.content.width << "x" << c.content.height;
    EXPECT_EQ(visible(scroll->verticalScrollIndicator()), c.vertical) << c.content.width << "x" << c.content.height;
    if (c.horizontal && c.vertical) {
      // Both keep clear of the corner they share.
      EXPECT_LT(scroll->verticalScrollIndicator()->frame().maxY(),
                scroll->horizontalScrollIndicator()->frame().minY());
      EXPECT_LT(scroll->horizontalScrollIndicator()->frame().maxX(),
                scroll->verticalScrollIndicator()->frame().minX());
    }
    // A flash fades by itself.
    settle();
    EXPECT_FALSE(visible(scroll->horizontalScrollIndicator()));
    EXPECT_FALSE(visible(scroll->verticalScrollIndicator()));
  }
}

TEST_F(ScrollIndicatorTest, TheStyleSetsTheColourAndTheIndicatorStaysAboveNewSubviews) {
  scroll->setBackgroundColor(pf::Color::fromWhite(0.5));
  using Style = ScrollView::IndicatorStyle;
  const struct {
    Style style;
    bool lighter;
  } cases[] = {{Style::Default, false}, {Style::Black, false}, {Style::White, true}};
  pf::HeadlessHost host(window);
  for (const auto& c : cases) {
    scroll->setIndicatorStyle(c.style);
    scroll->flashScrollIndicators();
    host.render();
    const int red = host.pixelAt(middleOf(scroll->verticalScrollIndicator())).red;
    EXPECT_EQ(red > 128 + 30, c.lighter) << static_cast<int>(c.style) << " drew " << red;
    EXPECT_EQ(red < 128 - 30, !c.lighter) << static_cast<int>(c.style) << " drew " << red;
    settle();
  }
  // Content added after the indicators were made still lies beneath them.
  scroll->flashScrollIndicators();
  auto cover = std::make_shared<pf::View>(Rect(0, 0, 320, 10000));
  cover->setBackgroundColor(pf::Color::fromRgba(1, 1, 1));
  scroll->addSubview(cover);
  host.render();
  EXPECT_GT(host.pixelAt(middleOf(scroll->verticalScrollIndicator())).red, 128 + 30);  // white style
  EXPECT_TRUE(isWhite(host.pixelAt({100, 100})));
}

TEST_F(ScrollIndicatorTest, PullingPastTheTopShortensTheIndicatorWhileTracking) {
  pf::TouchInjector finger(window);
  finger.press(0, {160, 100});
  for (int y = 110; y <= 300; y += 10) {
    runUntil(pf::Clock::now() + 0.05);
    finger.move(0, {160, static_cast<double>(y)});
  }
  ASSERT_TRUE(scroll->isTracking());
  const double offset = scroll->contentOffset().y;
  ASSERT_LT(offset, -ScrollView::kIndicatorMinimumLength - 50);
  const auto& bar = scroll->verticalScrollIndicator();
  ASSERT_TRUE(visible(bar));
  EXPECT_EQ(bar->frame().height(), ScrollView::kIndicatorMinimumLength);
  EXPECT_EQ(bar->frame().minY(), offset + ScrollView::kIndicatorMargin);  // pinned to the top of the view
  finger.lift(0);
  settle();
  EXPECT_FALSE(visible(bar));
}

TEST_F(ScrollViewTest, AStatusBarTapScrollsTheOneScrollToTopViewUp) {
  auto other = std::make_shared<ScrollView>(Rect(0, 0, 100, 100));
  other->setContentSize({100, 1000});
  const struct {
    const char* what;
    std::function<void()> arrange;
    bool moves;
    double top;
  } cases[] = {
      {"the only one", [] {}, true, 0},
      {"under a bar", [&] { scroll->setContentInset({64, 0, 0, 0}); }, true, -64},
      {"two that scroll to the top", [&] { scroll->addSubview(other); }, false, 0},
      {"the other does not", [&] { scroll->addSubview(other); other->setScrollsToTop(false); }, true, 0},
      {"the other is hidden", [&] { scroll->addSubview(other); other->setHidden(true); }, true, 0},
      {"the delegate refuses", [&] { log->allowsTop = false; }, false, 0},
      {"the status bar is hidden", [] { pf::Application::sharedApplication().setStatusBarHidden(true); }, false, 0},
  };
  pf::HeadlessHost host(window);
  for (const auto& c : cases) {
    other->removeFromSuperview();
    other->setScrollsToTop(true);
    other->setHidden(false);
    log->allowsTop = true;
    pf::Application::sharedApplication().setStatusBarHidden(false);
    scroll->setContentInset({});
    c.arrange();
    scroll->setContentOffset({0, 5000});
    log->events.clear();
    EXPECT_EQ(host.tapStatusBar(), c.moves) << c.what;
    EXPECT_EQ(scroll->contentOffset().y, 5000) << c.what << ": animated";
    settle();
    EXPECT_EQ(scroll->contentOffset().y, c.moves ? c.top : 5000) << c.what;
    if (c.moves) {
      EXPECT_EQ(log->events.back(), "didScrollToTop") << c.what;
    } else {
      EXPECT_TRUE(log->events.empty()) << c.what;
    }
  }
  pf::Application::sharedApplication().setStatusBarHidden(false);
}

// Content that logs the touches it gets.
class TouchedContent : public pf::View {
 public:
  using View::View;
  void touchesBegan(const pf::TouchSet&, const pf::Event*) override { events.push_back("began"); }
  void touchesEnded(const pf::TouchSet&, const pf::Event*) override { events.push_back("ended"); }
  void touchesCancelled(const pf::TouchSet&, const pf::Event*) override { events.push_back("cancelled"); }
  std::vector<std::string> events;
};

TEST_F(ScrollViewTest, DelayedContentTouchesReachTheContentOnlyIfNoDragTakesThem) {
  const struct {
    const char* what;
    bool delays;
    double hold;   // seconds still before moving or lifting
    bool drags;
    std::vector<std::string> whileHeld, after;
  } cases[] = {
      {"a quick tap arrives whole at the lift", true, 0.05, false, {}, {"began", "ended"}},
      {"a still finger arrives after the delay", true, 0.3, false, {"began"}, {"began", "ended"}},
      {"a quick drag never reaches the content", true, 0.05, true, {}, {}},
      {"a drag after the delay cancels", true, 0.3, true, {"began"}, {"began", "cancelled"}},
      {"not delayed: at once, then cancelled", false, 0.05, true, {"began"}, {"began", "cancelled"}},
  };
  auto content = std::make_shared<TouchedContent>(Rect(0, 0, 320, 10000));
  scroll->addSubview(content);
  pf::TouchInjector finger(window);
  for (const auto& c : cases) {
    scroll->setDelaysContentTouches(c.delays);
    scroll->setContentOffset({0, 1000});
    content->events.clear();
    finger.press(0, {160, 300});
    runUntil(pf::Clock::now() + c.hold);
    EXPECT_EQ(content->events, c.whileHeld) << c.what;
    if (c.drags) {
      for (int y = 290; y >= 200; y -= 10) {
        runUntil(pf::Clock::now() + 0.01);
        finger.move(0, {160, static_cast<double>(y)});
      }
    }
    finger.lift(0);
    settle();
    EXPECT_EQ(content->events, c.after) << c.what;
    EXPECT_EQ(scroll->contentOffset().y > 1000, c.drags) << c.what;
  }
}

}  // namespace

namespace scroll_view_nested_drag_test {

// Counts what a pan on the scroll view's superview saw.
struct OuterPan {
  int began = 0;
  int ended = 0;
};

// Faults caught: a list that scrolls one way only taking a drag the other way (an enclosing view's
// pan, panels sliding sideways over the list, never moves), and a drag along the axis the list
// scrolls leaking to the enclosing pan.
TEST_F(ScrollViewTest, ADragAcrossTheOnlyAxisThatScrollsGoesToTheEnclosingPan) {
  const struct {
    const char* what;
    Size content;
    Point to;
    bool outerTakes;
    bool scrolls;
  } cases[] = {
      {"vertical list, drag across", {320, 10000}, {60, 300}, true, false},
      {"vertical list, drag along it", {320, 10000}, {170, 100}, false, true},
      {"horizontal strip, drag along", {3000, 480}, {60, 300}, false, true},
      {"horizontal strip, drag up", {3000, 480}, {170, 100}, true, false},
      {"both ways, drag across", {3000, 10000}, {60, 300}, false, true},
  };
  auto outer = std::make_shared<pf::View>(Rect(0, 0, 320, 480));
  scroll->removeFromSuperview();
  outer->addSubview(scroll);
  window->addSubview(outer);
  OuterPan seen;
  auto pan = std::make_shared<pf::PanGestureRecognizer>();
  pan->addTarget([&seen](pf::GestureRecognizer& recognizer) {
    if (recognizer.state() == pf::GestureRecognizer::State::Began) ++seen.began;
    if (recognizer.state() == pf::GestureRecognizer::State::Ended) ++seen.ended;
  });
  outer->addGestureRecognizer(pan);
  pf::HeadlessHost host(window);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    seen = {};
    scroll->setContentSize(c.content);
    scroll->setBounces(false);
    scroll->setContentOffset({c.content.width > 320 ? 1000.0 : 0.0, c.content.height > 480 ? 1000.0 : 0.0});
    const Point before = scroll->contentOffset();
    host.drag({{160, 300}, c.to}, 1);
    settle();
    EXPECT_EQ(seen.began == 1 && seen.ended == 1, c.outerTakes);
    EXPECT_EQ(scroll->contentOffset() != before, c.scrolls);
  }
}

}  // namespace scroll_view_nested_drag_test
