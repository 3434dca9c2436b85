#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/host/HeadlessHost.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::NavigationController;
using pf::ViewController;

// Writes every push and pop that reaches it, then does what the platform does.
class CountingNavigation : public NavigationController {
 public:
  using NavigationController::NavigationController;
  void pushViewController(const std::shared_ptr<ViewController>& controller, bool animated) override {
    calls.push_back("push");
    NavigationController::pushViewController(controller, animated);
  }
  std::shared_ptr<ViewController> popViewControllerAnimated(bool animated) override {
    calls.push_back("pop");
    return NavigationController::popViewControllerAnimated(animated);
  }
  Stack popToViewController(const std::shared_ptr<ViewController>& controller, bool animated) override {
    calls.push_back("popTo");
    return NavigationController::popToViewController(controller, animated);
  }
  void setViewControllers(Stack controllers, bool animated) override {
    calls.push_back("set");
    NavigationController::setViewControllers(std::move(controllers), animated);
  }
  std::vector<std::string> calls;
};

class NavigationOverrideTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    root = std::make_shared<ViewController>();
    root->setTitle("Root");
    navigation = std::make_shared<CountingNavigation>(root);
    window->setRootViewController(navigation);
    drain();
  }
  void TearDown() override {
    window->setRootViewController(nullptr);
    UiTest::TearDown();
  }
  std::shared_ptr<ViewController> root;
  std::shared_ptr<CountingNavigation> navigation;
};

// Catches a back button or a pop-to-root that changes the stack around a subclass's override.
TEST_F(NavigationOverrideTest, TheBackButtonAndPopToRootGoThroughTheOverrides) {
  auto second = std::make_shared<ViewController>();
  second->setTitle("Second");
  navigation->pushViewController(second, false);
  runUntil(pf::Clock::now() + 1);
  pf::HeadlessHost host;
  host.tap({30, 20 + 22});
  runUntil(pf::Clock::now() + 1);
  EXPECT_EQ(navigation->viewControllers().size(), 1u);
  navigation->pushViewController(second, false);
  auto third = std::make_shared<ViewController>();
  navigation->pushViewController(third, false);
  navigation->popToRootViewControllerAnimated(false);
  navigation->setViewControllers({root, second}, false);
  EXPECT_EQ(navigation->calls, (std::vector<std::string>{"push", "pop", "push", "push", "popTo", "set"}));
  EXPECT_EQ(navigation->viewControllers().size(), 2u);
}

}  // namespace
