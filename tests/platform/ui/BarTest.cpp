#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/HeadlessHost.h"
#include "platform/text/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/Toolbar.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::BarButtonItem;
using pf::Rect;

pf::Point mid(const Rect& r) {
  return {r.midX(), r.midY()};
}

class PopLog : public pf::NavigationBarDelegate {
 public:
  bool allowPop = true;
  std::vector<std::string> popped;
  bool shouldPopItem(pf::NavigationBar&, pf::NavigationItem& item) override { return allowPop; }
  void didPopItem(pf::NavigationBar&, pf::NavigationItem& item) override { popped.push_back(*item.title()); }
};

class BarTest : public UiTest {
 protected:
  pf::HeadlessHost host{window};
};

TEST_F(BarTest, TheBackButtonNamesTheLevelBelowAndPopsUnlessTheDelegateRefuses) {
  auto bar = std::make_shared<pf::NavigationBar>(Rect{{0, 20}, {320, 44}});
  window->addSubview(bar);
  auto log = std::make_shared<PopLog>();
  bar->setDelegate(log);
  bar->pushNavigationItem(std::make_shared<pf::NavigationItem>("Courses"), false);
  bar->pushNavigationItem(std::make_shared<pf::NavigationItem>("Detail"), false);
  bar->layoutIfNeeded();
  ASSERT_NE(bar->backButton(), nullptr);
  EXPECT_EQ(bar->backButton()->currentTitle(), "‹ Courses");
  EXPECT_EQ(bar->titleLabel()->text(), "Detail");
  EXPECT_NEAR(bar->titleLabel()->frame().midX(), 160, 1);

  const pf::Point back = bar->convertPointToView(mid(bar->backButton()->frame()), nullptr);
  log->allowPop = false;
  host.tap(back);
  EXPECT_EQ(bar->items().size(), 2u);
  log->allowPop = true;
  host.tap(back);
  EXPECT_EQ(bar->items().size(), 1u);
  EXPECT_THAT(log->popped, testing::ElementsAre("Detail"));
  bar->layoutIfNeeded();
  EXPECT_EQ(bar->backButton(), nullptr);
  EXPECT_EQ(bar->popNavigationItemAnimated(false), nullptr);  // the root stays
}

TEST_F(BarTest, ItemsSitLeftAndRightAndTheirActionsRunOnATap) {
  auto bar = std::make_shared<pf::NavigationBar>(Rect{{0, 0}, {320, 44}});
  window->addSubview(bar);
  auto item = std::make_shared<pf::NavigationItem>("Home");
  int saves = 0;
  auto owner = std::make_shared<int>(0);
  item->setRightBarButtonItem(std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Save, owner,
                                                              [&saves](BarButtonItem&) { ++saves; }));
  auto menu = std::make_shared<pf::View>(Rect{{0, 0}, {40, 30}});
  item->setLeftBarButtonItem(std::make_shared<BarButtonItem>(menu));
  bar->pushNavigationItem(item, false);
  bar->layoutIfNeeded();
  const auto save = item->rightBarButtonItem()->view();
  EXPECT_NEAR(save->frame().maxX(), 312, 0.5);
  EXPECT_EQ(menu->frame().origin.x, 8);
  EXPECT_EQ(bar->backButton(), nullptr);
  host.tap(save->convertPointToView(mid(save->bounds()), nullptr));
  EXPECT_EQ(saves, 1);
  owner.reset();  // the target is gone: the action no longer runs
  host.tap(save->convertPointToView(mid(save->bounds()), nullptr));
  EXPECT_EQ(saves, 1);
  // A title view takes the title's place.
  auto titleView = std::make_shared<pf::View>(Rect{{0, 0}, {100, 30}});
  item->setTitleView(titleView);
  bar->layoutIfNeeded();
  EXPECT_EQ(titleView->superview(), bar);
  EXPECT_EQ(titleView->frame().midX(), 160);
}

TEST_F(BarTest, FlexibleSpacesShareTheRoomAFixedSpaceKeepsItsWidth) {
  auto toolbar = std::make_shared<pf::Toolbar>(Rect{{0, 436}, {320, 44}});
  window->addSubview(toolbar);
  auto flexible = [] {
    return std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::FlexibleSpace, std::weak_ptr<void>(),
                                           nullptr);
  };
  auto fixed =
      std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::FixedSpace, std::weak_ptr<void>(), nullptr);
  fixed->setWidth(40);
  auto a = std::make_shared<pf::View>(Rect{{0, 0}, {50, 30}});
  auto b = std::make_shared<pf::View>(Rect{{0, 0}, {50, 30}});
  toolbar->setItems(
      {flexible(), std::make_shared<BarButtonItem>(a), fixed, std::make_shared<BarButtonItem>(b)});
  toolbar->layoutIfNeeded();
  EXPECT_EQ(b->frame().maxX(), 320 - 12);
  EXPECT_EQ(b->frame().origin.x - a->frame().maxX(), 40 + 2 * 10);
  EXPECT_EQ(a->frame().origin.y, 7);
}

class TabLog : public pf::TabBarDelegate {
 public:
  std::vector<int> tags;
  void didSelectItem(pf::TabBar&, pf::TabBarItem& item) override { tags.push_back(item.tag()); }
};

TEST_F(BarTest, ATapSelectsATabAndTellsTheDelegate) {
  auto tabBar = std::make_shared<pf::TabBar>(Rect{{0, 431}, {320, 49}});
  window->addSubview(tabBar);
  auto log = std::make_shared<TabLog>();
  tabBar->setDelegate(log);
  std::vector<std::shared_ptr<pf::TabBarItem>> items;
  for (int tag = 0; tag < 4; ++tag) items.push_back(std::make_shared<pf::TabBarItem>("Tab", nullptr, tag));
  items[3]->setEnabled(false);
  tabBar->setItems(items);
  tabBar->setSelectedItem(items[0]);
  host.tap({120, 450});
  host.tap({300, 450});  // disabled
  EXPECT_EQ(tabBar->selectedItem(), items[1]);
  EXPECT_THAT(log->tags, testing::ElementsAre(1));
  tabBar->setSelectedItem(std::make_shared<pf::TabBarItem>("Other", nullptr, 9));
  EXPECT_EQ(tabBar->selectedItem(), items[1]);

  items[2]->setBadgeValue("3");
  host.render();
  const pf::Rect slot = tabBar->rectForItemAtIndex(2);
  const pf::Pixel badge = host.pixelAt({slot.midX() + 15, 431 + 11});
  EXPECT_GT(badge.red, 200);
  EXPECT_LT(badge.green, 120);
}

// Horizontal extent, in points, of the pixels near a colour in an area of the last rendering.
double inkWidth(pf::HeadlessHost& host, const Rect& area, int red, int green, int blue) {
  double first = area.maxX(), last = area.minX();
  for (double y = area.minY(); y < area.maxY(); y += 0.5) {
    for (double x = area.minX(); x < area.maxX(); x += 0.5) {
      const pf::Pixel p = host.pixelAt({x, y});
      if (std::abs(p.red - red) > 60 || std::abs(p.green - green) > 60 || std::abs(p.blue - blue) > 60)
        continue;
      first = std::min(first, x);
      last = std::max(last, x);
    }
  }
  return last >= first ? last - first : 0;
}

// Fault caught: a selected state that sets only its colour drew its title in the bar's small default
// font while the other titles kept the font set for the normal state.
TEST_F(BarTest, ASelectedTitleThatSetsOnlyAColourKeepsTheNormalFont) {
  auto tabBar = std::make_shared<pf::TabBar>(Rect{{0, 431}, {320, 49}});
  window->addSubview(tabBar);
  std::vector<std::shared_ptr<pf::TabBarItem>> items;
  for (int tag = 0; tag < 2; ++tag) {
    auto item = std::make_shared<pf::TabBarItem>("问题", nullptr, tag);
    item->setTitleTextAttributes({pf::Font::systemFont(15), pf::Color::black()}, pf::Control::kNormal);
    item->setTitleTextAttributes({nullptr, pf::Color::fromRgba(1, 0, 0)}, pf::Control::kHighlighted);
    items.push_back(item);
  }
  tabBar->setItems(items);
  tabBar->setSelectedItem(items[0]);
  host.render();
  const auto titleArea = [&](int index) {
    const Rect slot = tabBar->convertRectToView(tabBar->rectForItemAtIndex(index), nullptr);
    return Rect{{slot.minX(), slot.maxY() - 22}, {slot.width(), 22}};
  };
  const double selected = inkWidth(host, titleArea(0), 255, 0, 0);
  const double plain = inkWidth(host, titleArea(1), 0, 0, 0);
  EXPECT_GT(plain, 25) << "two characters of 15 points";
  EXPECT_NEAR(selected, plain, 1.5) << "the selected title drawn as wide as the other";
}

}  // namespace
