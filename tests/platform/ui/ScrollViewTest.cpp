#include "platform/ui/ScrollView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/HeadlessHost.h"
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

  // Runs of "scroll" fold into one entry so the order of the rest shows.
  void note(const std::string& event) {
    if (event == "scroll" && !events.empty() && events.back() == "scroll") return;
    events.push_back(event);
  }
  std::vector<std::string> events;
  std::shared_ptr<pf::View> zoomView;
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

}  // namespace
