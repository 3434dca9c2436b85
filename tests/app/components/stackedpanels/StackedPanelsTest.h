#pragma once
// A stacked-panels container in the key window of the headless host, with panels made of plain
// controllers of a chosen width, and a finger that drags exactly where it is told.

#include <memory>
#include <string>
#include <vector>

#include "app/components/stackedpanels/StackedPanelsController.h"
#include "platform/ui/Layer.h"
#include "platform/ui/TouchInjector.h"
#include "platform/ui/View.h"
#include "tests/platform/ui/UiTest.h"

class StackedPanelsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::View::setAnimationsEnabled(true);
  }
  void TearDown() override {
    container.reset();
    pf::Screen::configure(pf::Screen::Profile::Phone);
    UiTest::TearDown();
  }

  // The container in the window at (0, 0), `width` points wide (0: as the container makes itself).
  void makeContainer(double width = 0) {
    container = std::make_shared<StackedPanelsController>()->init();
    if (width > 0) {
      pf::Rect frame = container->view()->frame();
      frame.size.width = width;
      container->view()->setFrame(frame);
    }
    window->addSubview(container->view());
  }
  std::shared_ptr<pf::ViewController> makePanel(double width, pf::Color color = pf::Color::white()) {
    auto panel = std::make_shared<pf::ViewController>();
    panel->view()->setFrame(pf::Rect(0, 0, width, 400));
    panel->view()->setBackgroundColor(color);
    return panel;
  }
  // Adds panels one after another, each invoked by the one before, and lets every slide end.
  std::vector<std::shared_ptr<pf::ViewController>> stackPanels(size_t count, double width) {
    std::vector<std::shared_ptr<pf::ViewController>> panels;
    for (size_t i = 0; i < count; ++i) {
      panels.push_back(makePanel(width));
      container->addViewInSlider(panels.back(), i == 0 ? nullptr : panels[i - 1], i == 0);
      settle();
    }
    return panels;
  }
  void settle() { runUntil(pf::Clock::now() + 1); }
  std::shared_ptr<pf::View> panel(size_t index) const { return container->slideViews()->subviews().at(index); }
  static double x(const std::shared_ptr<pf::View>& view) { return view->frame().origin.x; }
  static double shownX(const std::shared_ptr<pf::View>& view) {
    return view->layer()->presentationOrSelf()->frame().origin.x;
  }
  static void placeAt(const std::shared_ptr<pf::View>& view, double x) {
    pf::Rect frame = view->frame();
    frame.origin.x = x;
    view->setFrame(frame);
  }
  // Presses at `from`, crosses the recogniser's threshold in the first direction of the path, then
  // moves through the path's points, a frame apart; `lift` ends the touch there.
  void dragThrough(double from, const std::vector<double>& path, bool lift = true) {
    fingers = std::make_unique<pf::TouchInjector>(window);
    fingers->press(0, {from, 200});
    const double start = !path.empty() && path.front() < from ? from - 12 : from + 12;
    runUntil(pf::Clock::now() + 0.02);
    fingers->move(0, {start, 200});
    for (double point : path) {
      runUntil(pf::Clock::now() + 0.02);
      fingers->move(0, {point, 200});
    }
    if (!lift) return;
    runUntil(pf::Clock::now() + 0.02);
    fingers->lift(0);
  }

  std::shared_ptr<StackedPanelsController> container;
  std::unique_ptr<pf::TouchInjector> fingers;
};
