#include "platform/ui/ControllerRouting.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::ViewController;

// Routes listed controllers to a stand-in, as a container would for the controllers it holds.
class TableRouting : public pf::ControllerRouting {
 public:
  std::map<const ViewController*, std::weak_ptr<ViewController>> navigation;
  std::map<const ViewController*, std::weak_ptr<ViewController>> presenters;

  std::shared_ptr<ViewController> navigationStandIn(const ViewController& c) const override {
    auto it = navigation.find(&c);
    return it == navigation.end() ? nullptr : it->second.lock();
  }
  std::shared_ptr<ViewController> presenterFor(const ViewController& c) const override {
    auto it = presenters.find(&c);
    return it == presenters.end() ? nullptr : it->second.lock();
  }
};

class ControllerRoutingTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    routing = std::make_shared<TableRouting>();
    pf::ControllerRouting::install(routing);
  }
  void TearDown() override {
    pf::ControllerRouting::install(nullptr);
    UiTest::TearDown();
  }
  std::shared_ptr<TableRouting> routing;
};

TEST_F(ControllerRoutingTest, RoutedControllerAnswersWithTheStandInsNavigation) {
  auto container = std::make_shared<ViewController>();
  auto navigation = std::make_shared<pf::NavigationController>(container);
  window->setRootViewController(navigation);
  drain();
  auto inside = std::make_shared<ViewController>();
  auto outside = std::make_shared<ViewController>();
  container->addChildViewController(inside);
  routing->navigation[inside.get()] = container;

  EXPECT_EQ(inside->navigationController(), navigation);
  EXPECT_EQ(inside->navigationItem(), container->navigationItem());
  inside->navigationItem()->setTitle(std::string("Courses"));
  EXPECT_EQ(container->navigationItem()->title(), "Courses");
  // Not routed: its own answers.
  EXPECT_EQ(outside->navigationController(), nullptr);
  EXPECT_NE(outside->navigationItem(), container->navigationItem());
}

TEST_F(ControllerRoutingTest, StandInAnswersForItselfSoRoutesDoNotLoop) {
  auto a = std::make_shared<ViewController>();
  auto b = std::make_shared<ViewController>();
  routing->navigation[a.get()] = b;
  routing->navigation[b.get()] = a;
  // Each asks the other, which answers with its own item.
  auto itemOfA = a->navigationItem();
  auto itemOfB = b->navigationItem();
  ASSERT_NE(itemOfA, nullptr);
  ASSERT_NE(itemOfB, nullptr);
  EXPECT_NE(itemOfA, itemOfB);
  EXPECT_EQ(a->navigationController(), nullptr);
}

TEST_F(ControllerRoutingTest, PresentationGoesThroughThePresenter) {
  auto root = std::make_shared<ViewController>();
  window->setRootViewController(root);
  drain();
  auto loose = std::make_shared<ViewController>();  // in no window: could not present itself
  routing->presenters[loose.get()] = root;
  auto modal = std::make_shared<ViewController>();
  loose->presentViewController(modal, false);
  drain();
  EXPECT_EQ(root->presentedViewController(), modal);
  EXPECT_EQ(modal->presentingViewController(), root);
  pf::ControllerRouting::install(nullptr);
  auto second = std::make_shared<ViewController>();
  loose->presentViewController(second, false);
  drain();
  EXPECT_EQ(second->presentingViewController(), nullptr);
}

// A view that keeps touches off while its owner is busy, whatever else asks.
class GatedView : public pf::View {
 public:
  void setUserInteractionEnabled(bool enabled) override {
    requested = enabled;
    pf::View::setUserInteractionEnabled(enabled && open);
  }
  bool requested = true;
  bool open = false;
};

TEST_F(ControllerRoutingTest, SetUserInteractionEnabledCanBeOverridden) {
  auto gated = std::make_shared<GatedView>();
  pf::View& plain = *gated;
  plain.setUserInteractionEnabled(true);
  EXPECT_TRUE(gated->requested);
  EXPECT_FALSE(gated->isUserInteractionEnabled());
  gated->open = true;
  plain.setUserInteractionEnabled(true);
  EXPECT_TRUE(gated->isUserInteractionEnabled());
}

}  // namespace
