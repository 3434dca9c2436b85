// The categories screen over the demo catalogue: the first category opens without a tap, deeper
// categories stack panels that drag and snap, a choice in an earlier panel drops the later ones,
// touches over overlapping panels reach the topmost, and a category's courses open in a list.

#include <gtest/gtest.h>

#include "app/components/stackedpanels/StackedPanelsController.h"
#include "app/controller/cms/CmsCategoryCell.h"
#include "app/controller/cms/CmsCategoryDataTableViewController.h"
#include "app/controller/cms/CmsCategoryDataViewController.h"
#include "app/controller/cms/CmsCategoryMenuTableViewController.h"
#include "app/controller/cms/CmsCategoryMenuViewController.h"
#include "app/controller/cms/CmsCategoryResultTableViewController.h"
#include "app/controller/cms/CmsCategoryResultViewController.h"
#include "app/controller/cms/CmsCategoryViewController.h"
#include "app/controller/cms/UIViewExt.h"
#include "app/model/cms/Category.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TouchInjector.h"
#include "tests/app/controller/cms/browse/CmsBrowseJourneyTest.h"

namespace cms_category_journey_test {

class CmsCategoryJourneyTest : public CmsBrowseJourneyTest {
 protected:
  explicit CmsCategoryJourneyTest(pf::Screen::Profile profile = pf::Screen::Profile::Phone)
      : CmsBrowseJourneyTest(profile) {}

  std::shared_ptr<CmsCategoryViewController> openCategories() {
    if (!signIn()) return nullptr;
    pickTab(0);
    cms->allCourseViewController->rightBtnPressed();
    categories = std::dynamic_pointer_cast<CmsCategoryViewController>(tabStack(0)->topViewController());
    if (!categories) return nullptr;
    loop->runUntilTrue([&] { return stack() && !stack()->viewControllersStack().empty(); }, 20);
    settle();
    return categories;
  }
  std::shared_ptr<StackedPanelsController> stack() const { return categories->stackedPanelsController; }
  std::shared_ptr<CmsCategoryDataTableViewController> panelTable(size_t index) const {
    auto panel = std::dynamic_pointer_cast<CmsCategoryDataViewController>(stack()->viewControllersStack().at(index));
    return panel ? panel->categoryDataTableViewCon.lock() : nullptr;
  }
  std::vector<std::string> panelNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < stack()->viewControllersStack().size(); ++i)
      names.push_back(panelTable(i)->parentCategory->categoryName.value_or(""));
    return names;
  }
  // Taps the row of the panel where it shows in the window, as a finger would.
  void tapPanelRow(size_t panel, long row) {
    auto table = panelTable(panel)->tableView();
    const pf::Rect rect = table->convertRectToView(table->rectForRowAtIndexPath(pf::IndexPath::forRow(row, 0)), nullptr);
    pf::HeadlessHost(window).tap({rect.midX(), rect.midY()});
    settle();
  }
  // What a drag showed while the finger was still down.
  struct DragSeen {
    double newestX;
    double listOffsetY;
  };
  // Drags a finger through the window a frame a step, as the window host's mouse would; answers where
  // the newest panel stood and how far the list under the finger had scrolled just before the lift.
  DragSeen dragAcross(pf::Point from, pf::Point to) {
    auto list = listUnder(from);
    pf::TouchInjector finger(window);
    finger.press(0, from);
    constexpr int kSteps = 12;
    for (int step = 1; step <= kSteps; ++step) {
      loop->runUntil(pf::Clock::now() + 1.0 / 60);
      const double t = static_cast<double>(step) / kSteps;
      finger.move(0, {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
    }
    const DragSeen seen{stack()->viewAtRight()->frame().minX(), list ? list->contentOffset().y : 0};
    finger.lift(0);
    settle();
    return seen;
  }
  std::shared_ptr<pf::TableView> listUnder(pf::Point inWindow) const {
    for (auto view = window->hitTest(inWindow, nullptr); view; view = view->superview()) {
      if (auto table = std::dynamic_pointer_cast<pf::TableView>(view)) return table;
    }
    return nullptr;
  }
  // The newest panel's place in the window.
  pf::Rect newestInWindow() const {
    auto right = stack()->viewAtRight();
    return right->convertRectToView(right->bounds(), nullptr);
  }
  // With the newest panel right-aligned: a drag right across it moves the panels with the finger and,
  // released, the one before fills the view; a drag left brings them back. Distances scale with the
  // screen, as the panels do. The picture, when named, shows the panels pushed out.
  void dragNewestOutAndBack(const char* picture = nullptr) {
    const double s = pf::Screen::mainScreen().bounds().width() / 320;
    auto right = stack()->viewAtRight();
    ASSERT_TRUE(right);
    const double width = stack()->view()->frame().width();
    EXPECT_EQ(right->frame().maxX(), width) << "the newest right-aligned";
    EXPECT_EQ(stack()->viewAtLeft()->frame().minX(), StackedPanelsController::leftStop());
    const double restX = right->frame().minX();
    const pf::Rect inWindow = newestInWindow();
    const double y = inWindow.midY();

    const DragSeen out = dragAcross({inWindow.minX() + 10 * s, y}, {inWindow.minX() + 180 * s, y});
    EXPECT_GT(out.newestX, restX + 50 * s) << "the panels follow the finger";
    EXPECT_EQ(out.listOffsetY, 0) << "a sideways drag scrolls no list";
    auto previous = stack()->viewAtLeft();
    EXPECT_EQ(stack()->viewAtRight(), right);
    EXPECT_EQ(right->frame().minX(), width) << "the newest pushed out";
    EXPECT_EQ(previous->frame().minX(), width - previous->frame().width()) << "the one before fills the view";
    if (picture) {
      pf::HeadlessHost host(window);
      writeSnapshot(host, picture);
    }

    const pf::Rect shown = previous->convertRectToView(previous->bounds(), nullptr);
    const DragSeen back = dragAcross({shown.minX() + 180 * s, y}, {shown.minX() + 10 * s, y});
    EXPECT_LT(back.newestX, width) << "the newest comes back with the finger";
    EXPECT_EQ(stack()->viewAtRight(), right);
    EXPECT_EQ(right->frame().minX(), restX);
    EXPECT_EQ(stack()->viewAtLeft()->frame().minX(), StackedPanelsController::leftStop());
    loop->runUntil(pf::Clock::now() + 1);
    EXPECT_EQ(right->frame().minX(), restX) << "at rest after the drags";
    EXPECT_EQ(stack()->viewControllersStack().size(), 4u);
  }
  void walkToFourPanels() {
    tapPanelRow(0, 1);  // 团队管理
    tapPanelRow(1, 1);  // 团队建设
    tapPanelRow(2, 1);  // 激励机制
  }

  std::shared_ptr<CmsCategoryViewController> categories;
};

// Faults caught: the first category waiting for a tap, a count missing on a row with children, a
// deeper category that opens no panel, a choice in an earlier panel keeping the later ones.
TEST_F(CmsCategoryJourneyTest, FirstCategoryOpensAndDeeperOnesStackPanels) {
  ASSERT_TRUE(openCategories());
  auto menu = categories->menuViewController->categoryMenuTableViewController.lock();
  ASSERT_EQ(menu->categoryArr.size(), 3u);
  EXPECT_EQ(titleOf(*categories), "课程分类");
  EXPECT_EQ(panelNames(), (std::vector<std::string>{"管理技能"}));
  EXPECT_EQ(panelTable(0)->tableView()->numberOfRowsInSection(0), 3) << "全部课程 and two sub-categories";
  auto team = std::dynamic_pointer_cast<CmsCategoryCell>(
      panelTable(0)->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(1, 0)));
  ASSERT_TRUE(team);
  EXPECT_EQ(team->subCategoryNum.lock()->text(), "3");

  tapPanelRow(0, 1);  // 团队管理
  tapPanelRow(1, 1);  // 团队建设, a third level with three children
  EXPECT_EQ(panelNames(), (std::vector<std::string>{"管理技能", "团队管理", "团队建设"}));
  EXPECT_EQ(panelTable(2)->tableView()->numberOfRowsInSection(0), 4);
  auto first = panelTable(0);
  first->didSelectRowAtIndexPath(*first->tableView(), pf::IndexPath::forRow(1, 0));  // 团队管理 again
  settle();
  EXPECT_EQ(panelNames(), (std::vector<std::string>{"管理技能", "团队管理"})) << "a choice in the first panel";

  tapPanelRow(1, 1);
  tapPanelRow(2, 1);  // 激励机制
  EXPECT_EQ(panelNames(), (std::vector<std::string>{"管理技能", "团队管理", "团队建设", "激励机制"}));
  EXPECT_TRUE(stack()->slideViews()->subviews()[0]->isHidden()) << "the fourth hides the oldest";

  menu->didSelectRowAtIndexPath(*menu->tableView(), pf::IndexPath::forRow(1, 0));
  settle();
  EXPECT_EQ(panelNames(), (std::vector<std::string>{"职业素养"})) << "the menu replaces every panel";
}

// Faults caught: a touch over two overlapping panels reaching the one below.
TEST_F(CmsCategoryJourneyTest, TheTopmostPanelUnderATouchTakesIt) {
  ASSERT_TRUE(openCategories());
  tapPanelRow(0, 1);
  ASSERT_EQ(stack()->viewControllersStack().size(), 2u);
  auto first = stack()->slideViews()->subviews()[0];
  auto second = stack()->slideViews()->subviews()[1];
  const pf::Rect a = first->convertRectToView(first->bounds(), nullptr);
  const pf::Rect b = second->convertRectToView(second->bounds(), nullptr);
  ASSERT_LT(b.minX(), a.maxX()) << "the panels overlap";
  const pf::Point inBoth{(b.minX() + a.maxX()) / 2, b.midY()};
  auto container = categories->container();
  auto hit = container->hitTest(container->convertPointFromView(inBoth, nullptr), nullptr);
  ASSERT_TRUE(hit);
  EXPECT_TRUE(hit->isDescendantOfView(second.get()));
  EXPECT_FALSE(hit->isDescendantOfView(first.get()));
}

// Faults caught: "全部课程" opening another category's courses, a leaf opening a panel, the result
// screen untitled or loading nothing.
TEST_F(CmsCategoryJourneyTest, AllCoursesAndLeavesOpenCourseLists) {
  ASSERT_TRUE(openCategories());
  tapPanelRow(0, 0);
  auto result = std::dynamic_pointer_cast<CmsCategoryResultViewController>(tabStack(0)->topViewController());
  ASSERT_TRUE(result);
  EXPECT_EQ(titleOf(*result), "管理技能");
  EXPECT_EQ(result->categoryID, "CAT-MGT");
  auto list = result->categoryResultTableViewController.lock();
  waitForList(list);
  EXPECT_GE(list->resourceArr->size(), 10u);
  EXPECT_EQ(server->calls(kCataloguePath).back().parameters.at("categoryId"), "\"CAT-MGT\"");
  tabStack(0)->popViewControllerAnimated(false);
  settle();
  EXPECT_EQ(stack()->viewControllersStack().size(), 1u) << "the panels stay as they were";

  tapPanelRow(0, 2);  // 项目管理, a leaf
  result = std::dynamic_pointer_cast<CmsCategoryResultViewController>(tabStack(0)->topViewController());
  ASSERT_TRUE(result);
  EXPECT_EQ(titleOf(*result), "项目管理");
  list = result->categoryResultTableViewController.lock();
  waitForList(list);
  EXPECT_EQ(idsOf(*list), (std::vector<std::string>{"CRS-002", "CRS-017", "CRS-018"}));
  EXPECT_EQ(stack()->viewControllersStack().size(), 1u);
}

// The window check of the stacked panels over the demo catalogue: four panels stack in the window,
// the oldest under the pile, the newest right-aligned; a drag right moves the panels with the finger
// and, released, the one before the newest fills the view; a drag left brings them back. Faults
// caught: a catalogue too shallow for four panels, the panel's own list taking a sideways drag (the
// panels never move), panels left half-way.
TEST_F(CmsCategoryJourneyTest, FourDemoPanelsStackAndDragInTheWindow) {
  ASSERT_TRUE(openCategories());
  walkToFourPanels();
  ASSERT_EQ(stack()->viewControllersStack().size(), 4u);
  pf::HeadlessHost host(window);
  writeSnapshot(host, "cms_categories_four_phone.png");
  dragNewestOutAndBack("cms_categories_pushed_out_phone.png");
}

// Faults caught: a drag along a panel's list moving the panels, the list not scrolling under a finger
// inside a panel, a short sideways drag on the newest panel left where the finger let go.
TEST_F(CmsCategoryJourneyTest, ADragAlongAPanelsListScrollsItAndLeavesThePanels) {
  ASSERT_TRUE(openCategories());
  tapPanelRow(0, 1);
  ASSERT_EQ(stack()->viewControllersStack().size(), 2u);
  auto right = stack()->viewAtRight();
  const double restX = right->frame().minX();
  const pf::Rect inWindow = newestInWindow();
  const pf::Point middle{inWindow.midX(), inWindow.midY()};
  struct Case {
    const char* name;
    pf::Point to;
    bool panelsMove;
    bool listScrolls;
  };
  const Case cases[] = {
      {"up along the list", {middle.x, middle.y - 120}, false, true},
      {"down along the list", {middle.x + 4, middle.y + 60}, false, true},
      {"left across the list", {middle.x - 80, middle.y + 4}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto list = listUnder(middle);
    ASSERT_TRUE(list);
    const DragSeen seen = dragAcross(middle, c.to);
    EXPECT_EQ(seen.newestX != restX, c.panelsMove);
    EXPECT_EQ(seen.listOffsetY != 0, c.listScrolls);
    EXPECT_EQ(right->frame().minX(), restX) << "back in place once released";
    EXPECT_EQ(list->contentOffset().y, 0) << "a short list springs back";
  }
  EXPECT_EQ(stack()->viewControllersStack().size(), 2u);
}

class CmsCategoryTabletTest : public CmsCategoryJourneyTest {
 protected:
  CmsCategoryTabletTest() : CmsCategoryJourneyTest(pf::Screen::Profile::Tablet) {}
};

// Faults caught: phone-sized panels on a tablet, rows of phone height, panels that do not drag there.
TEST_F(CmsCategoryTabletTest, PanelsAndRowsScaleWithTheScreen) {
  ASSERT_TRUE(openCategories());
  walkToFourPanels();
  EXPECT_EQ(stack()->viewControllersStack().size(), 4u);
  auto panel = stack()->slideViews()->subviews().back();
  EXPECT_EQ(panel->frame().width(), 768.0 / 320 * CmsCategoryMenuTableViewController::kPanelWidth);
  EXPECT_EQ(panelTable(3)->tableView()->rectForRowAtIndexPath(pf::IndexPath::forRow(0, 0)).height(),
            1024.0 / 480 * CmsCategoryTableViewController::kRowHeight);
  EXPECT_EQ(StackedPanelsController::leftStop(), -312);
  dragNewestOutAndBack();
}

}  // namespace cms_category_journey_test
