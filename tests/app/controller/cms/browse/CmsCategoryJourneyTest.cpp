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
// the oldest under the pile, the newest right-aligned, and a drag across them leaves them at rest in
// their places. Faults caught: a catalogue too shallow for four panels, panels left half-way.
TEST_F(CmsCategoryJourneyTest, FourDemoPanelsStackAndRestInTheWindow) {
  ASSERT_TRUE(openCategories());
  walkToFourPanels();
  ASSERT_EQ(stack()->viewControllersStack().size(), 4u);
  auto right = stack()->viewAtRight();
  ASSERT_TRUE(right);
  EXPECT_EQ(right->frame().maxX(), stack()->view()->frame().width()) << "the newest right-aligned";
  EXPECT_EQ(stack()->viewAtLeft()->frame().minX(), StackedPanelsController::leftStop());
  const double restX = right->frame().minX();
  const pf::Rect inWindow = right->convertRectToView(right->bounds(), nullptr);
  const double y = inWindow.midY();
  pf::HeadlessHost host(window);
  writeSnapshot(host, "cms_categories_four_phone.png");
  host.drag({{inWindow.minX() + 10, y}, {inWindow.minX() + 80, y}, {inWindow.minX() + 180, y}}, 0.3);
  settle();
  const double snapped = stack()->viewAtRight()->frame().minX();
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_EQ(stack()->viewAtRight()->frame().minX(), snapped) << "at rest after the drag";
  EXPECT_EQ(snapped, restX);
  EXPECT_EQ(stack()->viewControllersStack().size(), 4u);
}

class CmsCategoryTabletTest : public CmsCategoryJourneyTest {
 protected:
  CmsCategoryTabletTest() : CmsCategoryJourneyTest(pf::Screen::Profile::Tablet) {}
};

// Faults caught: phone-sized panels on a tablet, rows of phone height.
TEST_F(CmsCategoryTabletTest, PanelsAndRowsScaleWithTheScreen) {
  ASSERT_TRUE(openCategories());
  walkToFourPanels();
  EXPECT_EQ(stack()->viewControllersStack().size(), 4u);
  auto panel = stack()->slideViews()->subviews().back();
  EXPECT_EQ(panel->frame().width(), 768.0 / 320 * CmsCategoryMenuTableViewController::kPanelWidth);
  EXPECT_EQ(panelTable(3)->tableView()->rectForRowAtIndexPath(pf::IndexPath::forRow(0, 0)).height(),
            1024.0 / 480 * CmsCategoryTableViewController::kRowHeight);
  EXPECT_EQ(StackedPanelsController::leftStop(), -312);
}

}  // namespace cms_category_journey_test
