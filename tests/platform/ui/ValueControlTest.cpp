#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/host/HeadlessHost.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Control;
using pf::Rect;

class ValueControlTest : public UiTest {
 protected:
  // Counts value-changed events of the control, noting the value each time.
  template <typename T, typename Read>
  void watch(T& control, Read read) {
    control.addAction(
        [this, read](Control& sender, unsigned) { values.push_back(read(static_cast<T&>(sender))); },
        Control::kValueChanged);
  }
  pf::HeadlessHost host{window};
  std::vector<double> values;
};

TEST_F(ValueControlTest, AContinuousSliderReportsAsItMovesAReleasedOneOnlyAtTheEnd) {
  struct Case {
    const char* name;
    bool continuous;
    std::vector<pf::Point> path;
    size_t minEvents, maxEvents;  // a drag moves through many points on its way
    double lastValue;
  };
  // Track from x 34 to 286 (the thumb's half width in from each end of 20...300).
  const std::vector<Case> cases = {
      {"continuous drag", true, {{34, 100}, {97, 100}, {160, 100}, {286, 100}}, 10, 100, 1.0},
      {"released drag", false, {{34, 100}, {97, 100}, {160, 100}, {286, 100}}, 1, 1, 1.0},
      {"released back where it began", false, {{34, 100}, {160, 100}, {34, 100}}, 0, 0, 0.0},
      {"dragged past the end stays in range", true, {{160, 100}, {900, 100}}, 2, 12, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto slider = std::make_shared<pf::Slider>(Rect{{20, 80}, {280, 40}});
    window->addSubview(slider);
    slider->setContinuous(c.continuous);
    values.clear();
    watch(*slider, [](pf::Slider& s) { return static_cast<double>(s.value()); });
    host.drag(c.path, 0.2);
    EXPECT_GE(values.size(), c.minEvents);
    EXPECT_LE(values.size(), c.maxEvents);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_TRUE(std::adjacent_find(values.begin(), values.end()) == values.end());  // each a real change
    EXPECT_NEAR(slider->value(), c.lastValue, 1e-6);
    if (!values.empty()) EXPECT_NEAR(values.back(), c.lastValue, 1e-6);
    slider->removeFromSuperview();
  }
}

TEST_F(ValueControlTest, ASliderKeepsItsValueInsideItsRange) {
  pf::Slider slider;
  slider.setMinimumValue(10);
  slider.setMaximumValue(20);
  slider.setValue(25);
  EXPECT_EQ(slider.value(), 20);
  slider.setMaximumValue(15);
  EXPECT_EQ(slider.value(), 15);
  slider.setValue(-3);
  EXPECT_EQ(slider.value(), 10);
}

TEST_F(ValueControlTest, ASwitchFlipsOnATapAndNotWhenSetByCode) {
  auto toggle = std::make_shared<pf::Switch>(Rect{{100, 100}, {200, 200}});
  EXPECT_EQ(toggle->frame().size, pf::Switch::kSize);
  window->addSubview(toggle);
  watch(*toggle, [](pf::Switch& s) { return s.isOn() ? 1.0 : 0.0; });
  toggle->setOn(true);
  host.tap({120, 115});
  host.tap({120, 115});
  EXPECT_THAT(values, testing::ElementsAre(0.0, 1.0));
}

TEST_F(ValueControlTest, SegmentsSelectOnATapAndAMomentaryControlKeepsNone) {
  auto segments =
      std::make_shared<pf::SegmentedControl>(std::vector<pf::SegmentedControl::Item>{"博客", "用户", "话题"});
  segments->setFrame({{10, 100}, {300, 29}});
  window->addSubview(segments);
  watch(*segments, [](pf::SegmentedControl& s) { return static_cast<double>(s.selectedSegmentIndex()); });
  host.tap({160, 110});
  host.tap({160, 110});  // the selected one again: no change
  segments->setEnabled(false, 2);
  host.tap({300, 110});
  EXPECT_THAT(values, testing::ElementsAre(1.0));
  EXPECT_EQ(segments->selectedSegmentIndex(), 1);
  segments->setMomentary(true);
  host.tap({20, 110});
  EXPECT_THAT(values, testing::ElementsAre(1.0, 0.0));
  EXPECT_EQ(segments->selectedSegmentIndex(), pf::SegmentedControl::kNoSegment);
  segments->removeSegmentAtIndex(0);
  EXPECT_EQ(segments->titleForSegmentAtIndex(0), "用户");
}

TEST_F(ValueControlTest, APageControlStepsTowardsTheTap) {
  auto pages = std::make_shared<pf::PageControl>(Rect{{0, 400}, {320, 36}});
  window->addSubview(pages);
  pages->setNumberOfPages(3);
  watch(*pages, [](pf::PageControl& p) { return static_cast<double>(p.currentPage()); });
  host.tap({300, 418});
  host.tap({300, 418});
  host.tap({300, 418});  // already on the last page
  host.tap({10, 418});
  EXPECT_THAT(values, testing::ElementsAre(1.0, 2.0, 1.0));
  pages->setNumberOfPages(1);
  EXPECT_EQ(pages->currentPage(), 0);
}

TEST_F(ValueControlTest, ProgressStaysBetweenZeroAndOne) {
  pf::ProgressView progress;
  for (auto [given, kept] : std::vector<std::pair<float, float>>{{0.5f, 0.5f}, {2, 1}, {-1, 0}, {NAN, 0}}) {
    progress.setProgress(given);
    EXPECT_EQ(progress.progress(), kept);
  }
}

TEST_F(ValueControlTest, AnActivityIndicatorTurnsWhileAnimatingAndHidesWhenStopped) {
  auto spinner = std::make_shared<pf::ActivityIndicatorView>(pf::ActivityIndicatorView::Style::Gray);
  EXPECT_EQ(spinner->frame().size, (pf::Size{20, 20}));
  EXPECT_TRUE(spinner->isHidden());
  spinner->startAnimating();
  EXPECT_FALSE(spinner->isHidden());
  runUntil(pf::Clock::now() + 0.5);
  EXPECT_EQ(spinner->phase(), 6);
  spinner->stopAnimating();
  EXPECT_TRUE(spinner->isHidden());
  runUntil(pf::Clock::now() + 0.5);
  EXPECT_EQ(spinner->phase(), 6);
  spinner->setHidesWhenStopped(false);
  EXPECT_FALSE(spinner->isHidden());
}

}  // namespace
