#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/components/stackedpanels/UIViewWithShadow.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Label.h"
#include "tests/app/components/stackedpanels/StackedPanelsTest.h"

namespace {

constexpr double kAddingStop = -130;  // the left stop on a phone

bool hasShade(const std::shared_ptr<pf::View>& panel) {
  for (const auto& subview : panel->subviews()) {
    if (std::dynamic_pointer_cast<UIViewWithShadow>(subview)) {
      return subview->frame() == pf::Rect(-40, 0, 40, subview->frame().height());
    }
  }
  return false;
}

using StackedPanelsAddingTest = StackedPanelsTest;

// Catches a panel layer that is not the container's second subview (the category screen's touch
// routing looks for it there) or a line holder placed away from the left stop.
TEST_F(StackedPanelsAddingTest, TheLineHolderComesFirstAndThePanelLayerSecond) {
  makeContainer();
  const auto& subviews = container->view()->subviews();
  ASSERT_EQ(subviews.size(), 2u);
  EXPECT_EQ(subviews[0], container->borderViews());
  EXPECT_EQ(subviews[1], container->slideViews());
  EXPECT_EQ(container->borderViews()->frame().origin.x, kAddingStop - 2);
  EXPECT_EQ(container->view()->frame().origin, (pf::Point{0, 0}));
  EXPECT_TRUE(container->dragDirection().empty());
  EXPECT_EQ(container->lastTouchPoint(), -1);
}

// Catches a left stop that is not scaled by the screen's width, or is read once and kept.
TEST_F(StackedPanelsAddingTest, TheLeftStopScalesWithTheScreen) {
  struct Case {
    pf::Screen::Profile profile;
    double stop;
  };
  for (const Case& c : {Case{pf::Screen::Profile::Phone, -130}, Case{pf::Screen::Profile::Tablet, -312}}) {
    pf::Screen::configure(c.profile);
    EXPECT_DOUBLE_EQ(StackedPanelsController::leftStop(), c.stop);
  }
}

// Catches a start panel that slides, gets a shade or moves the start position.
TEST_F(StackedPanelsAddingTest, TheStartPanelStandsAtZeroWithoutShadeOrSlide) {
  makeContainer();
  auto first = makePanel(200);
  container->addViewInSlider(first, nullptr, true);
  EXPECT_EQ(x(first->view()), 0);
  EXPECT_FALSE(first->view()->layer()->hasAnimations());
  EXPECT_FALSE(hasShade(first->view()));
  EXPECT_EQ(container->slideStartPosition(), 0);
  EXPECT_EQ(first->view()->tag(), 0);
  EXPECT_TRUE(first->isVisible());
}

// Catches a second panel that appears at its final place (no slide) or slides for the wrong time.
TEST_F(StackedPanelsAddingTest, ASecondPanelStartsBesideItsInvokerAndSlidesInAFifthOfASecond) {
  makeContainer();
  auto first = makePanel(200);
  container->addViewInSlider(first, nullptr, true);
  auto invoker = std::make_shared<pf::ViewController>();
  invoker->view()->setFrame(first->view()->bounds());
  first->addChildViewController(invoker);
  first->view()->addSubview(invoker->view());
  auto second = makePanel(200);
  container->addViewInSlider(second, invoker, false);
  const double w = container->view()->frame().width();
  EXPECT_EQ(shownX(second->view()), 200);  // on screen: right beside the invoker
  EXPECT_EQ(x(first->view()), kAddingStop);       // the model at once
  EXPECT_EQ(x(second->view()), w - 200);
  EXPECT_TRUE(hasShade(second->view()));
  runUntil(pf::Clock::now() + 0.1);
  EXPECT_LT(shownX(first->view()), 0);
  EXPECT_GT(shownX(first->view()), kAddingStop);
  runUntil(pf::Clock::now() + 0.11);
  EXPECT_EQ(shownX(first->view()), kAddingStop);
  EXPECT_EQ(shownX(second->view()), w - 200);
  EXPECT_EQ(container->slideStartPosition(), kAddingStop);
  EXPECT_EQ(container->viewAtLeft(), first->view());
  EXPECT_EQ(container->viewAtRight(), second->view());
}

// Catches a choice in an earlier panel that keeps the panels after it, or adds the new one elsewhere.
TEST_F(StackedPanelsAddingTest, AChoiceInTheFirstPanelDropsThePanelsAfterIt) {
  makeContainer(600);
  auto panels = stackPanels(3, 200);
  auto chosen = makePanel(200);
  container->addViewInSlider(chosen, panels[0], false);
  ASSERT_EQ(container->viewControllersStack().size(), 2u);
  EXPECT_EQ(container->viewControllersStack()[1], chosen);
  EXPECT_FALSE(panels[1]->view()->superview());
  EXPECT_FALSE(panels[2]->view()->superview());
  EXPECT_EQ(chosen->view()->tag(), 1);
  EXPECT_EQ(shownX(chosen->view()), kAddingStop + 200);  // beside the invoker, which lay piled
  settle();
  EXPECT_EQ(x(panels[0]->view()), kAddingStop);
  EXPECT_EQ(x(chosen->view()), 400);
}

// Catches a depth-first tag search: it would take panel 0's tag-2 label for panel 2.
TEST_F(StackedPanelsAddingTest, ATaggedViewInsideAnEarlierPanelIsNotTakenForAPanel) {
  makeContainer(600);
  auto panels = stackPanels(3, 200);
  auto label = std::make_shared<pf::Label>(pf::Rect(0, 0, 50, 20));
  label->setTag(2);
  panels[0]->view()->addSubview(label);
  container->addViewInSlider(makePanel(200), panels[1], false);
  EXPECT_EQ(label->superview(), panels[0]->view());
  EXPECT_FALSE(panels[2]->view()->superview());
  EXPECT_EQ(container->viewControllersStack().size(), 3u);
}

// Catches more than three panels left visible, or pile lines that do not follow the pile's depth.
TEST_F(StackedPanelsAddingTest, DeeperPilesHideTheOldestPanelAndShowMoreLines) {
  struct Case {
    size_t panels;
    bool firstHidden;
    bool grey;
    bool white;
  };
  for (const Case& c : {Case{2, false, false, false}, Case{3, false, true, false}, Case{4, true, true, true}}) {
    makeContainer(600);
    stackPanels(c.panels, 300);
    EXPECT_EQ(panel(0)->isHidden(), c.firstHidden) << c.panels;
    EXPECT_EQ(!container->borderViews()->subviews()[1]->isHidden(), c.grey) << c.panels;
    EXPECT_EQ(!container->borderViews()->subviews()[0]->isHidden(), c.white) << c.panels;
    size_t shown = 0;
    for (const auto& p : container->slideViews()->subviews()) shown += p->isHidden() ? 0 : 1;
    EXPECT_LE(shown, 3u);
    container->view()->removeFromSuperview();
  }
}

// Catches a rotation that leaves the piled panels where they were or the hidden ones showing.
TEST_F(StackedPanelsAddingTest, RotationRelaysThePanelsAndForwardsTheCalls) {
  makeContainer(600);
  auto panels = stackPanels(4, 400);
  pf::Rect frame = container->view()->frame();
  frame.size.width = 800;
  container->view()->setFrame(frame);
  container->willAnimateRotationToInterfaceOrientation(pf::Application::InterfaceOrientation::LandscapeLeft, 0.3);
  EXPECT_EQ(x(panels[3]->view()), 400);  // right-aligned in the wider container
  EXPECT_EQ(x(panels[2]->view()), kAddingStop);
  EXPECT_TRUE(panels[0]->view()->isHidden());
  container->didRotateFromInterfaceOrientation(pf::Application::InterfaceOrientation::Portrait);
  EXPECT_FALSE(panels[1]->view()->isHidden());
  EXPECT_FALSE(panels[3]->view()->isHidden());
}

}  // namespace

namespace {

// Catches panels, shade or pile lines that do not show where the category screen puts them: beside
// a 130-point menu column (scaled), four panels 150 points wide (scaled), on the phone and the tablet.
TEST_F(StackedPanelsAddingTest, SnapshotOfFourPanelsBesideTheMenuColumn) {
  struct Case {
    pf::Screen::Profile profile;
    const char* file;
  };
  const pf::Color colors[] = {pf::Color::red(), pf::Color::fromRgba(0, 0.6, 0), pf::Color::blue(),
                              pf::Color::orange()};
  for (const Case& c : {Case{pf::Screen::Profile::Phone, "stacked-phone.png"},
                        Case{pf::Screen::Profile::Tablet, "stacked-tablet.png"}}) {
    SCOPED_TRACE(c.file);
    pf::Screen::configure(c.profile);
    window = std::make_shared<pf::Window>();
    window->setBackgroundColor(pf::Color::white());
    window->makeKeyAndVisible();
    const double s = pf::Screen::mainScreen().bounds().width() / 320;
    const double menu = 130 * s + 2;
    const double width = pf::Screen::mainScreen().bounds().width() - menu;
    makeContainer(width);
    pf::Rect frame = container->view()->frame();
    frame.origin.x = menu;
    container->view()->setFrame(frame);
    std::shared_ptr<pf::ViewController> invoker;
    for (const pf::Color& color : colors) {
      auto panel = makePanel(150 * s, color);
      container->addViewInSlider(panel, invoker, !invoker);
      invoker = panel;
      settle();
    }
    pf::HeadlessHost host;
    host.render();
    if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) host.writePng(std::string(folder) + "/" + c.file);
    const double leftEdge = menu + StackedPanelsController::leftStop();  // where the pile stands
    const double panelWidth = 150 * s;
    const double rightX = menu + width - panelWidth;
    EXPECT_EQ(host.pixelAt({leftEdge + panelWidth / 2, 240}).blue, 255);                  // the left panel
    EXPECT_EQ(host.pixelAt({rightX + panelWidth / 2, 240}).red, 255);                     // the newest
    EXPECT_GE(host.pixelAt({leftEdge + panelWidth + 2, 240}).red, 250);  // next to the pile: clear
    const pf::Pixel shade = host.pixelAt({rightX - 2, 240});
    EXPECT_LT(shade.red, 240);  // the shade darkens the gap next to the newest panel
    const pf::Pixel line = host.pixelAt({leftEdge - 1, 240});
    EXPECT_GT(line.red, 60);  // the grey pile line, just left of the pile
    EXPECT_LT(line.red, 160);
    EXPECT_EQ(line.red, line.blue);
    container->view()->removeFromSuperview();
  }
}

}  // namespace
