// How controllers find their deck and answer navigation and presentation through it, and the wrap
// and side controllers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarItem.h"
#include "tests/ui/deck/DeckFixture.h"
#include "ui/deck/SideController.h"
#include "ui/deck/WrapController.h"
#include "ui/deck/WrapControllerItem.h"

namespace decktest {
namespace {

class PanelDeckLookupTest : public DeckFixture {};

TEST_F(PanelDeckLookupTest, ScreensInTheDeckUseTheDecksNavigation) {
  showAppDeck();
  auto loose = std::make_shared<pf::ViewController>();
  EXPECT_EQ(panelDeckController(*loose), nullptr);
  EXPECT_EQ(panelDeckController(*center), deck);
  EXPECT_EQ(panelDeckController(*menu), deck);
  EXPECT_EQ(center->navigationController(), navigation);
  EXPECT_EQ(menu->navigationController(), navigation);
  center->navigationItem()->setTitle(std::string("课程中心"));
  EXPECT_EQ(deck->navigationItem()->title(), "课程中心") << "a module screen's title shows on the bar above the deck";

  // A modal screen from inside the deck is presented by the deck.
  auto modal = std::make_shared<Page>("modal", journal, kOtherColor);
  center->presentViewController(modal, false);
  settle();
  EXPECT_EQ(modal->presentingViewController(), deck->presentingViewController() ? deck->presentingViewController()
                                                                              : navigation);
  EXPECT_EQ(deck->presentedViewController(), modal);
}

TEST_F(PanelDeckLookupTest, ControllersAboveAnIntegratedDeckFindItThroughTheStack) {
  for (auto behavior : {DeckNavigationIntegrated, DeckNavigationContained}) {
    auto root = std::make_shared<Page>("root", journal, kOtherColor);
    auto stack = std::make_shared<pf::NavigationController>(root);
    deck = PanelDeckController::create(std::make_shared<Page>("c", journal, kCenterColor),
                                       std::make_shared<Page>("l", journal, kMenuColor));
    deck->setNavigationControllerBehavior(behavior);
    window->setRootViewController(stack);
    settle();
    stack->pushViewController(deck, false);
    auto above = std::make_shared<Page>("above", journal, kOtherColor);
    stack->pushViewController(above, false);
    settle();
    EXPECT_EQ(panelDeckController(*above), behavior == DeckNavigationIntegrated ? deck : nullptr);
  }
}

TEST_F(PanelDeckLookupTest, WrappedControllersAnswerWithTheirWrapper) {
  auto inner = std::make_shared<Page>("inner", journal, kOtherColor);
  auto wrapper = WrapController::create(inner);
  EXPECT_EQ(wrapController(*inner), wrapper);
  EXPECT_EQ(inner->navigationItem(), wrapper->navigationItem());
  // A controller whose navigation controller is wrapped finds that wrapper.
  auto top = std::make_shared<Page>("top", journal, kOtherColor);
  auto stack = std::make_shared<pf::NavigationController>(top);
  auto stackWrapper = WrapController::create(stack);
  window->setRootViewController(stackWrapper);
  settle();
  EXPECT_EQ(wrapController(*top), stackWrapper);
  // A wrapped controller in a deck finds the deck through its wrapper.
  auto deckUnderTest = PanelDeckController::create(std::make_shared<Page>("c", journal, kCenterColor), wrapper);
  EXPECT_EQ(panelDeckController(*inner), deckUnderTest);
  std::weak_ptr<WrapController> watch = wrapper;
  deckUnderTest.reset();
  wrapper.reset();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(wrapController(*inner), nullptr);
}

TEST_F(PanelDeckLookupTest, WrapperAndWrappedShareTabBarItemAndBottomBarFlag) {
  auto inner = std::make_shared<Page>("inner", journal, kOtherColor);
  inner->setHidesBottomBarWhenPushed(true);
  auto wrapper = WrapController::create(inner);
  EXPECT_EQ(wrapper->tabBarItem(), inner->tabBarItem());
  EXPECT_TRUE(wrapper->hidesBottomBarWhenPushed());
  auto item = std::make_shared<pf::TabBarItem>(std::string("课程"), nullptr, 1);
  wrapper->setTabBarItem(item);
  EXPECT_EQ(inner->tabBarItem(), item);
  wrapper->setHidesBottomBarWhenPushed(false);
  EXPECT_FALSE(inner->hidesBottomBarWhenPushed());
  inner->setHidesBottomBarWhenPushed(true);
  EXPECT_TRUE(wrapper->hidesBottomBarWhenPushed());
}

TEST_F(PanelDeckLookupTest, WrapperForwardsAppearanceAndSitsBelowTheStatusBar) {
  auto inner = std::make_shared<Page>("inner", journal, kOtherColor);
  auto wrapper = WrapController::create(inner);
  std::vector<std::string> hooks;
  wrapper->setOnViewWillAppear([&](WrapController&, bool) { hooks.push_back("will"); });
  const pf::Rect before = inner->view()->frame();
  const double status = pf::Application::sharedApplication().statusBarFrame().size.height;
  ASSERT_GT(status, 0);
  EXPECT_EQ(wrapper->view()->frame(), (pf::Rect{{before.origin.x, before.origin.y + status},
                                                {before.size.width, before.size.height - status}}));
  EXPECT_EQ(inner->view()->frame(), wrapper->view()->bounds());
  window->setRootViewController(wrapper);
  settle();
  EXPECT_THAT(*journal, testing::ElementsAre("inner willAppear", "inner didAppear"));
  EXPECT_THAT(hooks, testing::ElementsAre("will"));
  EXPECT_EQ(wrapper->statusBarHeight(), status);
}

TEST_F(PanelDeckLookupTest, SideControllerHugsTheDecksEdge) {
  showAppDeck();
  deck->setLeftSize(44);
  auto content = std::make_shared<Page>("content", journal, kOtherColor);
  auto side = SideController::autoConstrainedSideControllerWithViewController(content);
  deck->setLeftController(side);
  settle();
  const double h = side->view()->bounds().size.height;
  side->shrinkSide(false);
  EXPECT_EQ(content->view()->frame(), (pf::Rect{{0, 0}, {276, h}}));
  deck->setRightController(deck->leftController());
  side->setConstrainedSize(200, false);
  EXPECT_EQ(content->view()->frame(), (pf::Rect{{120, 0}, {200, h}}));
  EXPECT_EQ(sideController(*content), side);

  auto loose = SideController::sideControllerWithViewController(std::make_shared<pf::ViewController>(), 10);
  loose->setConstrainedSize(80);
  EXPECT_EQ(loose->constrainedSize(), 80);
}

}  // namespace
}  // namespace decktest
