// Controllers moving between the deck's slots and the centre, the swap of modules while the menu is
// open, the links back to the deck, title and tab-bar item forwarding, and the delegate fan-out.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/TabBarItem.h"
#include "tests/ui/deck/DeckFixture.h"

namespace decktest {
namespace {

using testing::ElementsAre;

class PanelDeckSlotsTest : public DeckFixture, public testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  std::shared_ptr<Page> page(const std::string& name) { return std::make_shared<Page>(name, journal, kOtherColor); }
};

TEST_F(PanelDeckSlotsTest, AControllerMovedToAnotherPlaceLeavesTheOldOne) {
  struct Case {
    const char* name;
    std::function<void(PanelDeckController&, const PanelDeckController::Controller&)> move;
    std::function<bool(PanelDeckController&, const PanelDeckController::Controller&)> onlyThere;
  };
  const std::vector<Case> cases = {
      {"left into the empty right slot",
       [](auto& d, const auto& c) { d.setRightController(d.leftController()); (void)c; },
       [](auto& d, const auto&) { return !d.leftController() && d.rightController() && d.sideControllerCount() == 1; }},
      {"left into the centre",
       [](auto& d, const auto&) { d.setCenterController(d.leftController()); },
       [](auto& d, const auto&) { return !d.leftController() && d.centerController() && d.sideControllerCount() == 0; }},
      {"centre into the left slot",
       [](auto& d, const auto& c) { d.setLeftController(c); },
       [](auto& d, const auto&) { return !d.centerController() && d.leftController() && d.controllers().size() == 1; }},
  };
  for (const auto& item : cases) {
    SCOPED_TRACE(item.name);
    auto centerController = page("c");
    auto deckUnderTest = PanelDeckController::create(centerController, page("l"));
    item.move(*deckUnderTest, centerController);
    EXPECT_TRUE(item.onlyThere(*deckUnderTest, centerController));
    for (const auto& c : deckUnderTest->controllers()) EXPECT_EQ(panelDeckController(*c), deckUnderTest);
  }
  // A side controller made centre of a deck without a centre leaves its side.
  auto side = page("s");
  auto empty = PanelDeckController::create(nullptr, side);
  empty->setCenterController(side);
  EXPECT_EQ(empty->leftController(), nullptr);
  EXPECT_EQ(empty->centerController(), side);
}

TEST_F(PanelDeckSlotsTest, SameControllerAgainChangesNothing) {
  showAppDeck();
  deck->setLeftController(menu);
  deck->setCenterController(center);
  settle();
  EXPECT_TRUE(journal->empty());
  // The deck's parent has no parent and the deck is not presented: the deck holds its sides.
  EXPECT_EQ(menu->parentViewController(), deck);
  EXPECT_EQ(center->parentViewController(), deck);
}

TEST_P(PanelDeckSlotsTest, ModuleSwapWhileOpenKeepsTheMenuOpenAndTheTapperCloses) {
  showAppDeck(GetParam());
  deck->setCenterhiddenInteractivity(DeckCenterTapToClose);
  deck->openLeftView();
  settle();
  ASSERT_TRUE(deck->centerTapper());
  journal->clear();
  auto next = std::make_shared<ModuleScreen>("next", journal, kOtherColor);
  deck->setCenterController(next);
  deck->setDelegate(std::static_pointer_cast<PanelDeckControllerDelegate>(next));
  EXPECT_THAT(*journal, ElementsAre("center willDisappear", "center didDisappear", "next willAppear", "next didAppear"));
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
  ASSERT_TRUE(deck->centerTapper()) << "the tapper of the open state stays over the new centre";
  EXPECT_EQ(next->view()->superview(), deck->centerView());
  EXPECT_EQ(panelDeckController(*center), nullptr);
  EXPECT_EQ(center->parentViewController(), nullptr);
  screen().tap(inWindow(deck->referenceBounds().size.width - 10, 200));
  settle();
  EXPECT_TRUE(deck->isSideClosed(DeckSideLeft));
  EXPECT_FALSE(deck->centerTapper());
  EXPECT_THAT(*journal, testing::Contains("next didClose left"));
}

TEST_P(PanelDeckSlotsTest, CentreSwapWithoutInteractivityLeavesTheCentreTouchable) {
  showAppDeck(GetParam());
  deck->openLeftView();
  settle();
  EXPECT_FALSE(deck->centerTapper());
  deck->setCenterController(page("next"));
  EXPECT_FALSE(deck->centerTapper());
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
}

TEST_F(PanelDeckSlotsTest, LinksBackToAGoneDeckAnswerNone) {
  auto centerController = page("c");
  auto left = page("l");
  {
    auto gone = PanelDeckController::create(centerController, left);
    EXPECT_EQ(panelDeckController(*centerController), gone);
    EXPECT_EQ(panelDeckController(*left), gone);
  }
  EXPECT_EQ(panelDeckController(*centerController), nullptr);
  EXPECT_EQ(panelDeckController(*left), nullptr);
  EXPECT_EQ(centerController->navigationItem(), centerController->navigationItem());
}

TEST_F(PanelDeckSlotsTest, TitleAndTabBarItemFollowTheCentre) {
  auto centerController = page("c");
  centerController->setTitle(std::string("课程"));
  deck = PanelDeckController::create(centerController, page("l"));
  EXPECT_EQ(deck->title(), "课程");
  centerController->setTitle(std::string("考试"));
  EXPECT_EQ(deck->title(), "考试");
  deck->setTitle(std::string("问答"));
  EXPECT_EQ(centerController->title(), "问答");

  deck->setAutomaticallyUpdateTabBarItems(true);
  centerController->tabBarItem()->setTitle(std::string("微博"));
  EXPECT_EQ(deck->tabBarItem()->title(), "微博");
  centerController->setTabBarItem(std::make_shared<pf::TabBarItem>(std::string("调查"), nullptr, 2));
  EXPECT_EQ(deck->tabBarItem()->title(), "调查");
  centerController->tabBarItem()->setTitle(std::string("广场"));
  EXPECT_EQ(deck->tabBarItem()->title(), "广场");
  centerController->setHidesBottomBarWhenPushed(true);
  EXPECT_TRUE(deck->hidesBottomBarWhenPushed());
  // The old centre is not followed any more.
  auto old = centerController;
  deck->setCenterController(page("n"));
  old->setTitle(std::string("旧"));
  EXPECT_NE(deck->title(), "旧");
}

TEST_P(PanelDeckSlotsTest, FanOutReachesTheTopOfANavigationCentreOnce) {
  useProfile(GetParam());
  auto top = std::make_shared<ModuleScreen>("top", journal, kOtherColor);
  auto stack = std::make_shared<pf::NavigationController>(top);
  auto left = std::make_shared<ModuleScreen>("left", journal, kMenuColor);
  deck = PanelDeckController::create(stack, left);
  auto login = std::make_shared<Page>("login", journal, pf::Color::white());
  navigation = std::make_shared<pf::NavigationController>(login);
  window->setRootViewController(navigation);
  settle();
  navigation->pushViewController(deck, false);
  settle();
  deck->setDelegate(std::static_pointer_cast<PanelDeckControllerDelegate>(left));
  deck->setDelegateMode(DeckDelegateAndSubControllers);
  journal->clear();
  top->openAnswer = true;
  left->openAnswer = false;
  EXPECT_FALSE(deck->openLeftView()) << "the delegate's no wins over the top's yes";
  left->openAnswer = std::nullopt;
  deck->openLeftView();
  settle();
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "top didOpen left"), 1);
  EXPECT_EQ(std::count(journal->begin(), journal->end(), "left didOpen left"), 1) << "the delegate hears once";
}

TEST_P(PanelDeckSlotsTest, MemoryWarningsReachCentreLeftAndRightOnly) {
  showAppDeck(GetParam());
  deck->setRightController(page("right"));
  deck->setTopController(page("top"));
  settle();
  journal->clear();
  deck->didReceiveMemoryWarning();
  EXPECT_THAT(*journal, testing::UnorderedElementsAre("center memoryWarning", "menu memoryWarning",
                                                      "right memoryWarning"));
}

INSTANTIATE_TEST_SUITE_P(Profiles, PanelDeckSlotsTest,
                         testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const auto& info) { return info.param == pf::Screen::Profile::Phone ? "Phone" : "Tablet"; });

}  // namespace
}  // namespace decktest
