// Pictures of the course module's browsing screens on the phone and the tablet, for a person to look
// at (MARLUNE_SNAPSHOT_DIR), checked by sampled pixels: the learning-type tags, the completed mark,
// the gold stars, the panels of the categories and the search results.

#include <gtest/gtest.h>

#include "app/components/meter/ShapeMeterView.h"
#include "app/components/stackedpanels/StackedPanelsController.h"
#include "app/controller/cms/CmsAllCell.h"
#include "app/controller/cms/CmsCategoryDataTableViewController.h"
#include "app/controller/cms/CmsCategoryDataViewController.h"
#include "app/controller/cms/CmsCategoryViewController.h"
#include "app/controller/cms/CmsMyCell.h"
#include "app/controller/cms/CmsSearchResultTableViewController.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/ImageView.h"
#include "tests/app/controller/cms/browse/CmsBrowseJourneyTest.h"

namespace cms_browse_snapshot_test {

class CmsBrowseSnapshotTest : public CmsBrowseJourneyTest, public testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  CmsBrowseSnapshotTest() : CmsBrowseJourneyTest(GetParam()) {}

  std::string suffix() const { return GetParam() == pf::Screen::Profile::Phone ? "_phone.png" : "_tablet.png"; }
  static pf::Rect inWindow(const std::shared_ptr<pf::View>& view) {
    return view->convertRectToView(view->bounds(), nullptr);
  }
  template <typename Cell, typename List>
  std::shared_ptr<Cell> shownCell(List& list, const std::string& courseId) {
    const long row = rowOf(list, courseId);
    if (row < 0) return nullptr;
    list.tableView()->scrollToRowAtIndexPath(pf::IndexPath::forRow(row, 0), pf::TableView::ScrollPosition::Top, false);
    settle();
    return std::dynamic_pointer_cast<Cell>(list.tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(row, 0)));
  }
  void walkPanels(const std::shared_ptr<StackedPanelsController>& stack) {
    for (size_t panel = 0; panel < 3; ++panel) {
      auto data = std::dynamic_pointer_cast<CmsCategoryDataViewController>(stack->viewControllersStack().at(panel));
      auto table = data->categoryDataTableViewCon.lock()->tableView();
      const pf::Rect rect = table->convertRectToView(table->rectForRowAtIndexPath(pf::IndexPath::forRow(1, 0)), nullptr);
      pf::HeadlessHost(window).tap({rect.midX(), rect.midY()});
      settle();
    }
  }
};

// Faults caught: an interface file that does not load on a profile, a tag without its colour, no
// completed mark, stars not drawn, an empty categories screen, results not shown.
TEST_P(CmsBrowseSnapshotTest, TheBrowsingScreensShowTheirContent) {
  ASSERT_TRUE(signIn());
  pf::HeadlessHost host(window);
  settle();
  auto selective = shownCell<CmsMyCell>(*myList(), "CRS-004");
  ASSERT_TRUE(selective);
  host.render();
  writeSnapshot(host, "cms_my" + suffix());
  const pf::Rect tag = inWindow(selective->learningTypeImageView.lock());
  const pf::Pixel green = host.pixelAt({tag.minX() + 2, tag.midY()});
  EXPECT_GT(green.green, green.red + 80) << "the green tag of an elective course";
  auto done = shownCell<CmsMyCell>(*myList(), "CRS-007");
  ASSERT_TRUE(done);
  EXPECT_FALSE(done->completeImgView.lock()->isHidden());
  host.render();
  const pf::Rect mark = inWindow(done->completeImgView.lock());
  const pf::Pixel markPixel = host.pixelAt({mark.midX(), mark.minY() + mark.height() * 0.3});
  EXPECT_NE(markPixel, host.pixelAt({mark.maxX() + 30, mark.midY()})) << "the completed mark drawn";

  pickTab(0);
  settle();
  auto rated = shownCell<CmsAllCell>(*allList(), "CRS-009");  // rated 5
  ASSERT_TRUE(rated);
  host.render();
  writeSnapshot(host, "cms_catalogue" + suffix());
  const pf::Rect stars = inWindow(rated->starView.lock());
  const pf::Pixel star = host.pixelAt({stars.minX() + stars.width() * 0.1, stars.midY()});
  EXPECT_GT(star.red, 200);
  EXPECT_GT(star.green, 150);
  EXPECT_LT(star.blue, 140) << "a gold star";

  cms->allCourseViewController->rightBtnPressed();
  auto categories = std::dynamic_pointer_cast<CmsCategoryViewController>(tabStack(0)->topViewController());
  ASSERT_TRUE(categories);
  loop->runUntilTrue([&] { return !categories->stackedPanelsController->viewControllersStack().empty(); }, 20);
  settle();
  walkPanels(categories->stackedPanelsController);
  host.render();
  writeSnapshot(host, "cms_categories" + suffix());
  auto right = categories->stackedPanelsController->viewAtRight();
  ASSERT_TRUE(right);
  const pf::Rect panel = inWindow(right);
  const pf::Pixel inPanel = host.pixelAt({panel.maxX() - 6, panel.maxY() - 6});
  EXPECT_GT(inPanel.red, 240) << "the panel's white ground";

  tabStack(0)->popToRootViewControllerAnimated(false);
  pickTab(2);
  auto search = cms->searchCourseViewController;
  search->searchBarTextDidBeginEditing(*search->mainSearchBar.lock());
  search->mainSearchBar.lock()->setText(std::string("管理"));
  search->updateTableResourceWithText("管理");
  waitForList(search->searchResultTableViewController.lock());
  settle();
  host.render();
  writeSnapshot(host, "cms_search" + suffix());
  EXPECT_GE(search->searchResultTableViewController.lock()->resourceArr->size(), 2u);
  const pf::Rect bar = inWindow(search->mainSearchBar.lock());
  const pf::Rect results = inWindow(search->searchResultTableViewController.lock()->tableView());
  EXPECT_GE(results.minY(), bar.maxY()) << "the results below the search bar";
}

INSTANTIATE_TEST_SUITE_P(Profiles, CmsBrowseSnapshotTest,
                         testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const testing::TestParamInfo<pf::Screen::Profile>& info) {
                           return info.param == pf::Screen::Profile::Phone ? "Phone" : "Tablet";
                         });

}  // namespace cms_browse_snapshot_test
