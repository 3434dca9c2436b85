#include "platform/runtime/ChangeObservers.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::ChangeObservers;
using pf::ViewController;

class ChangeObservationTest : public UiTest {
 protected:
  // Observes the key on the target and counts the calls.
  ChangeObservers::Observation count(const pf::Object& target, const std::string& key, int& calls) {
    return ChangeObservers::observe(target, key, [&calls](const std::string&) { ++calls; });
  }
};

struct ControllerChange {
  const char* key;
  std::function<void(ViewController& controller, ViewController& other)> change;
};

TEST_F(ChangeObservationTest, ControllerChangesReachTheirKeyOnly) {
  const std::vector<ControllerChange> cases = {
      {"title", [](ViewController& c, ViewController&) { c.setTitle("Courses"); }},
      {"tabBarItem", [](ViewController& c, ViewController&) {
         c.setTabBarItem(std::make_shared<pf::TabBarItem>(std::string("Exams"), nullptr, 1));
       }},
      {"hidesBottomBarWhenPushed", [](ViewController& c, ViewController&) { c.setHidesBottomBarWhenPushed(true); }},
      {"parentViewController", [](ViewController& c, ViewController& other) {
         other.addChildViewController(c.sharedAs<ViewController>());
       }},
  };
  const std::vector<std::string> keys = {"title", "tabBarItem", "hidesBottomBarWhenPushed", "parentViewController"};
  for (const auto& item : cases) {
    SCOPED_TRACE(item.key);
    auto controller = std::make_shared<ViewController>();
    auto other = std::make_shared<ViewController>();
    std::vector<int> calls(keys.size(), 0);
    std::vector<ChangeObservers::Observation> observations;
    for (size_t i = 0; i < keys.size(); ++i) observations.push_back(count(*controller, keys[i], calls[i]));
    item.change(*controller, *other);
    for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(calls[i], keys[i] == item.key ? 1 : 0) << keys[i];
  }
}

TEST_F(ChangeObservationTest, ParentLeavingAndPresenterComingAndGoingAreHeard) {
  auto root = std::make_shared<ViewController>();
  window->setRootViewController(root);
  auto child = std::make_shared<ViewController>();
  root->addChildViewController(child);
  int parentCalls = 0;
  auto parentObservation = count(*child, "parentViewController", parentCalls);
  child->removeFromParentViewController();
  EXPECT_EQ(parentCalls, 1);

  auto presented = std::make_shared<ViewController>();
  std::vector<bool> presenterSeen;
  auto presenterObservation = ChangeObservers::observe(*presented, "presentingViewController", [&](const std::string&) {
    presenterSeen.push_back(presented->presentingViewController() != nullptr);
  });
  root->presentViewController(presented, false);
  drain();
  root->dismissViewControllerAnimated(false);
  drain();
  // Told after the link is stored: present, then gone.
  EXPECT_EQ(presenterSeen, (std::vector<bool>{true, false}));
}

TEST_F(ChangeObservationTest, BarItemTitleAndImageAreHeard) {
  auto item = std::make_shared<pf::TabBarItem>(std::string("Home"), nullptr, 0);
  int titles = 0, images = 0;
  auto a = count(*item, "title", titles);
  auto b = count(*item, "image", images);
  item->setTitle(std::string("Blog"));
  item->setImage(nullptr);
  EXPECT_EQ(titles, 1);
  EXPECT_EQ(images, 1);
}

TEST_F(ChangeObservationTest, ViewBoundsHeardOnlyWhenTheyChange) {
  auto view = std::make_shared<pf::View>(pf::Rect{0, 0, 100, 100});
  int calls = 0;
  auto observation = count(*view, "bounds", calls);
  view->setFrame({10, 10, 100, 100});  // moves: bounds stay
  EXPECT_EQ(calls, 0);
  view->setFrame({10, 10, 200, 100});
  EXPECT_EQ(calls, 1);
  view->setBounds({0, 0, 200, 100});
  EXPECT_EQ(calls, 1);
  view->setBounds({5, 0, 200, 100});
  EXPECT_EQ(calls, 2);
  // Autoresizing a subview through its superview is a change of its bounds too.
  auto child = std::make_shared<pf::View>(pf::Rect{0, 0, 200, 100});
  child->setAutoresizingMask(pf::View::kFlexibleWidth);
  view->addSubview(child);
  int childCalls = 0;
  auto childObservation = count(*child, "bounds", childCalls);
  view->setFrame({10, 10, 300, 100});
  EXPECT_EQ(childCalls, 1);
}

TEST_F(ChangeObservationTest, RemovedObserverIsNotCalledEvenDuringADelivery) {
  auto controller = std::make_shared<ViewController>();
  int first = 0, second = 0;
  ChangeObservers::Observation later;
  auto earlier = ChangeObservers::observe(*controller, "title", [&](const std::string&) {
    ++first;
    later.remove();
  });
  later = count(*controller, "title", second);
  controller->setTitle("A");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
  EXPECT_FALSE(later.isActive());
  earlier = ChangeObservers::Observation();
  controller->setTitle("B");
  EXPECT_EQ(first, 1);
}

TEST_F(ChangeObservationTest, ObserverOutlivingItsTargetIsHarmless) {
  int calls = 0;
  ChangeObservers::Observation observation;
  std::weak_ptr<ViewController> watch;
  {
    auto controller = std::make_shared<ViewController>();
    watch = controller;
    observation = count(*controller, "title", calls);
  }
  EXPECT_TRUE(watch.expired());
  observation.remove();
  EXPECT_EQ(calls, 0);
}

}  // namespace
