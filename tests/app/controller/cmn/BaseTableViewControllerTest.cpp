#include "app/controller/cmn/BaseTableViewController.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/controller/cmn/NodataBgView.h"
#include "app/controller/cmn/TableFooterView.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/RefreshControl.h"
#include "tests/app/controller/cmn/CmnScreenTest.h"

namespace {

// A list with every switch on and rows set by the test.
class RowsList : public BaseTableViewController {
 public:
  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }
  bool canLoadMore() const override { return more; }
  bool refreshData() override {
    if (!BaseTableViewController::refreshData()) return false;
    ++refreshes;
    return true;
  }
  bool loadMore() override {
    if (!BaseTableViewController::loadMore()) return false;
    ++loads;
    return true;
  }
  long numberOfRowsInSection(pf::TableView&, long) override { return rows; }
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) override {
    return std::make_shared<pf::TableViewCell>();
  }

  long rows = 0;
  bool more = true;
  int refreshes = 0;
  int loads = 0;
};

class BaseTableViewControllerTest : public CmnScreenTest {
 protected:
  std::shared_ptr<RowsList> shownList() {
    auto list = std::make_shared<RowsList>();
    window->setRootViewController(std::make_shared<pf::NavigationController>(list));
    runUntil(1);
    return list;
  }
  std::shared_ptr<TableFooterView> footer(RowsList& list) {
    return std::dynamic_pointer_cast<TableFooterView>(list.tableView()->tableFooterView());
  }
  void reloadWith(RowsList& list, long rows) {
    list.rows = rows;
    list.tableView()->reloadData();
    list.tableView()->layoutIfNeeded();
    list.refreshDataComplete();
  }
};

TEST_F(BaseTableViewControllerTest, AnEmptyListShowsThePictureWithoutSeparatorsAndDataRestoresThem) {
  auto list = shownList();
  ASSERT_TRUE(list->nodataBgView());
  EXPECT_TRUE(list->nodataBgView()->isHidden()) << "hidden until a refresh completes";
  EXPECT_EQ(list->viewName(), "BaseTableViewController");
  reloadWith(*list, 0);
  EXPECT_FALSE(list->nodataBgView()->isHidden());
  EXPECT_EQ(list->tableView()->separatorStyle(), pf::TableView::SeparatorStyle::None);
  reloadWith(*list, 3);
  EXPECT_TRUE(list->nodataBgView()->isHidden());
  EXPECT_EQ(list->tableView()->separatorStyle(), pf::TableView::SeparatorStyle::SingleLine);
  list->resetNodataViewImageName("ANS_TOPI_no_topic.png", "还没有话题");
  EXPECT_EQ(list->nodataBgView()->centerLabel.lock()->text(), "还没有话题");
  EXPECT_EQ(list->nodataBgView()->centerImageView.lock()->image(), pf::Image::named("ANS_TOPI_no_topic.png", 2));
}

// Placed once, when added: by the list's size as it loads (the application frame).
TEST_F(BaseTableViewControllerTest, TheEmptyPictureSitsJustAboveTheMiddleOfTheList) {
  auto list = shownList();
  auto picture = list->nodataBgView()->centerImageView.lock();
  auto label = list->nodataBgView()->centerLabel.lock();
  const pf::Rect table = pf::Screen::mainScreen().applicationFrame();
  const double pair = picture->frame().height() + label->frame().height();
  EXPECT_DOUBLE_EQ(picture->frame().minX(), table.width() / 2 - picture->frame().width() / 2);
  EXPECT_DOUBLE_EQ(picture->frame().minY(), table.height() / 2 - pair);
  EXPECT_DOUBLE_EQ(label->frame().minY(), table.height() / 2 - pair + 5 + picture->frame().height());
}

// The end-of-list text shows only for a list with data that can load no more.
TEST_F(BaseTableViewControllerTest, TheFooterLabelShowsWhenNothingMoreCanBeLoaded) {
  auto list = shownList();
  ASSERT_TRUE(footer(*list) && footer(*list)->infoLabel);
  list->more = false;
  reloadWith(*list, 5);
  EXPECT_FALSE(footer(*list)->infoLabel->isHidden());
  list->more = true;
  reloadWith(*list, 5);
  EXPECT_TRUE(footer(*list)->infoLabel->isHidden());
  list->more = false;
  reloadWith(*list, 0);
  EXPECT_TRUE(footer(*list)->infoLabel->isHidden()) << "no data: no end-of-list text";
}

TEST_F(BaseTableViewControllerTest, RefreshAndLoadMoreAreGuardedUntilTheyComplete) {
  auto list = shownList();
  EXPECT_TRUE(list->refreshData());
  EXPECT_FALSE(list->refreshData());
  EXPECT_TRUE(list->loadMore()) << "the two flags are independent";
  EXPECT_TRUE(footer(*list)->activityIndicator->isAnimating());
  EXPECT_FALSE(list->loadMore());
  EXPECT_EQ(list->loads, 1);
  list->more = false;
  list->loadMoreCompleted();
  EXPECT_FALSE(footer(*list)->activityIndicator->isAnimating());
  EXPECT_FALSE(footer(*list)->infoLabel->isHidden());
  EXPECT_FALSE(list->isLoadingMore());
  list->refreshDataComplete();
  EXPECT_TRUE(list->refreshData());
  EXPECT_EQ(list->refreshes, 2);
}

// Load-more fires strictly inside the footer's height from the end: not at it, not past the end.
TEST_F(BaseTableViewControllerTest, TheLoadMoreTriggerIsStrictAtBothEnds) {
  auto list = shownList();
  reloadWith(*list, 30);
  auto table = list->tableView();
  const double footerHeight = table->tableFooterView()->frame().height();
  const double end = table->contentSize().height - table->frame().height();
  struct Case {
    double offset;
    int loads;
  };
  const Case cases[] = {
      {end - footerHeight, 0},      // remaining == footer height
      {end - footerHeight + 1, 1},  // one point closer
      {end + 5, 0},                 // past the end
  };
  for (const auto& c : cases) {
    list->loads = 0;
    table->setContentOffset({0, c.offset});
    list->scrollViewDidScroll(*table);
    EXPECT_EQ(list->loads, c.loads) << "offset " << c.offset;
    list->loadMoreCompleted();
  }
}

// An empty list (its first load failed) is pulled down like a full one: the learner's way to retry.
TEST_F(BaseTableViewControllerTest, PullingDownRefreshesThroughTheRefreshControl) {
  for (long rows : {3L, 0L}) {
    SCOPED_TRACE(std::to_string(rows) + " rows");
    auto list = shownList();
    reloadWith(*list, rows);
    ASSERT_TRUE(list->refreshControl());
    pf::HeadlessHost host;
    host.drag({{160, 120}, {160, 260}, {160, 300}}, 0.5);
    runUntil(3);
    EXPECT_EQ(list->refreshes, 1);
    EXPECT_TRUE(list->refreshControl()->isRefreshing());
    list->refreshDataComplete();
    EXPECT_FALSE(list->refreshControl()->isRefreshing());
  }
}

TEST_F(BaseTableViewControllerTest, SnapshotOfAnEmptyList) {
  auto list = shownList();
  reloadWith(*list, 0);
  runUntil(2);
  pf::HeadlessHost host;
  host.render();
  auto picture = list->nodataBgView()->centerImageView.lock();
  const pf::Rect inWindow = picture->convertRectToView(picture->bounds(), nullptr);
  // The tray's outline is grey; its inside and the list around it are not.
  bool outlined = false;
  for (double y = inWindow.minY(); y < inWindow.maxY(); y += 1) {
    const pf::Pixel p = host.pixelAt({inWindow.midX() - inWindow.width() * 0.4, y});
    if (p.red < 180 && p.red > 100 && std::abs(p.red - p.blue) < 40) outlined = true;
  }
  EXPECT_TRUE(outlined) << "the empty-list picture is drawn";
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) host.writePng(std::string(folder) + "/empty-list.png");
}

}  // namespace
