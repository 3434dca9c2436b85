#include "platform/ui/PopoverController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/Error.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/ControllerJournal.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::PopoverController;
using testing::ElementsAre;

class Listener : public pf::PopoverControllerDelegate {
 public:
  bool allow = true;
  std::vector<std::string> heard;
  bool popoverControllerShouldDismissPopover(PopoverController&) override {
    heard.push_back("should");
    return allow;
  }
  void popoverControllerDidDismissPopover(PopoverController&) override { heard.push_back("did"); }
};

class PopoverControllerTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::Screen::configure(pf::Screen::Profile::Tablet);
    window->setFrame(pf::Screen::mainScreen().bounds());
    root = std::make_shared<pf::View>(window->bounds());
    window->addSubview(root);
  }
  void TearDown() override {
    pf::Screen::configure(pf::Screen::Profile::Phone);
    UiTest::TearDown();
  }
  std::shared_ptr<pf::View> root;
  std::shared_ptr<Journal> journal = std::make_shared<Journal>();
};

TEST_F(PopoverControllerTest, OnlyTheTabletHasPopovers) {
  pf::Screen::configure(pf::Screen::Profile::Phone);
  EXPECT_THROW(PopoverController(std::make_shared<pf::ViewController>()), pf::ContractViolation);
}

TEST_F(PopoverControllerTest, BoxSitsBesideItsTargetByTheAllowedArrows) {
  struct Case {
    pf::Rect target;
    unsigned allowed;
    unsigned arrow;
  };
  const Case cases[] = {
      {pf::Rect(0, 0, 300, 300), PopoverController::kArrowDirectionAny, PopoverController::kArrowDirectionUp},
      {pf::Rect(300, 900, 40, 40), PopoverController::kArrowDirectionAny,
       PopoverController::kArrowDirectionDown},
      {pf::Rect(10, 400, 40, 40),
       PopoverController::kArrowDirectionLeft | PopoverController::kArrowDirectionRight,
       PopoverController::kArrowDirectionLeft},
      {pf::Rect(700, 400, 40, 40),
       PopoverController::kArrowDirectionLeft | PopoverController::kArrowDirectionRight,
       PopoverController::kArrowDirectionRight},
  };
  for (const auto& c : cases) {
    auto popover = std::make_shared<PopoverController>(std::make_shared<pf::ViewController>());
    popover->setPopoverContentSize({300, 400});
    popover->presentPopoverFromRect(c.target, root, c.allowed, false);
    EXPECT_EQ(popover->popoverArrowDirection(), c.arrow);
    const pf::Rect box = popover->popoverView()->frame();
    EXPECT_FALSE(box.intersects(c.target)) << c.arrow;
    EXPECT_TRUE(pf::Rect(0, 0, 768, 1024).contains(box)) << c.arrow;
    EXPECT_EQ(box.size,
              (pf::Size{300 + 2 * PopoverController::kBorder, 400 + 2 * PopoverController::kBorder}));
  }
}

TEST_F(PopoverControllerTest, TouchOutsideAsksTheDelegateWhileDismissingByCodeDoesNot) {
  auto content = std::make_shared<Page>("P", journal);
  auto popover = std::make_shared<PopoverController>(content);
  auto listener = std::make_shared<Listener>();
  popover->setDelegate(listener);
  popover->presentPopoverFromRect(pf::Rect(0, 0, 300, 300), root, PopoverController::kArrowDirectionAny,
                                  true);
  runUntil(pf::Clock::now() + 1);
  EXPECT_TRUE(content->view()->isDescendantOfView(window.get()));
  pf::HeadlessHost host;
  listener->allow = false;
  host.tap({700, 1000});
  EXPECT_TRUE(popover->isPopoverVisible());
  listener->allow = true;
  host.tap({700, 1000});
  runUntil(pf::Clock::now() + 1);
  EXPECT_FALSE(popover->isPopoverVisible());
  EXPECT_FALSE(content->view()->isDescendantOfView(window.get()));
  EXPECT_THAT(listener->heard, ElementsAre("should", "should", "did"));

  listener->heard.clear();
  popover->presentPopoverFromRect(pf::Rect(0, 0, 300, 300), root, PopoverController::kArrowDirectionAny,
                                  false);
  popover->dismissPopoverAnimated(false);
  EXPECT_TRUE(listener->heard.empty());
  EXPECT_THAT(*journal, ElementsAre("P load", "P willAppear animated", "P didAppear animated",
                                    "P willDisappear animated", "P didDisappear animated", "P willAppear",
                                    "P didAppear", "P willDisappear", "P didDisappear"));
}

TEST_F(PopoverControllerTest, ReleasedPopoverLeavesNothingOnScreen) {
  auto content = std::make_shared<pf::ViewController>();
  auto popover = std::make_shared<PopoverController>(content);
  popover->presentPopoverFromRect(pf::Rect(0, 0, 10, 10), root, PopoverController::kArrowDirectionAny, false);
  const size_t shown = window->subviews().size();
  popover.reset();
  EXPECT_EQ(window->subviews().size(), shown - 2);
  EXPECT_EQ(content->appearanceState(), pf::ViewController::AppearanceState::Disappeared);
}

}  // namespace
