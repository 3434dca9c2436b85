// Pictures of the study screens on the phone and the tablet, for a person to look at
// (MARLUNE_SNAPSHOT_DIR), checked by sampled pixels: the video player with its bars, the lecture
// player, the download manager's three views and edit mode, and the course download tab.

#include <gtest/gtest.h>

#include "app/controller/cms/CmsDetailViewClasses.h"
#include "app/controller/cms/CmsDownloadCourseViewController.h"
#include "app/controller/cms/CmsDownloadDeleteBar.h"
#include "app/controller/cms/CmsDownloadSwitchBar.h"
#include "app/controller/cms/CmsDownloadViewCotnroller.h"
#include "app/controller/cms/CmsMediaPlayerVolumeView.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/TabBarController.h"
#include "tests/app/controller/cms/player/CmsPlayerJourneyTest.h"
#include "tests/app/support/DownloadManagerTabs.h"
#include "tools/devserver/Answers.h"

namespace cms_player_snapshot_test {

class CmsPlayerSnapshotTest : public CmsPlayerJourneyTest, public testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  CmsPlayerSnapshotTest() : CmsPlayerJourneyTest(GetParam()) {}
  void SetUp() override {
    CmsPlayerJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerCmsDetailViewClasses();
    registerCmsPlayerViewClasses();
  }
  std::string suffix() const { return GetParam() == pf::Screen::Profile::Phone ? "_phone.png" : "_tablet.png"; }
  static pf::Rect inWindow(const std::shared_ptr<pf::View>& view) {
    return view->convertRectToView(view->bounds(), nullptr);
  }
  static bool dark(const pf::Pixel& pixel) { return pixel.red < 80 && pixel.green < 80 && pixel.blue < 80; }
};

// Faults caught: an overlay interface file that does not load on a profile, bars not turned into
// landscape, a lecture page not drawn, a manager list or delete bar missing.
TEST_P(CmsPlayerSnapshotTest, TheStudyScreensShowTheirContent) {
  pf::HeadlessHost host(window);
  auto course = courseNamed("CRS-001");
  auto unit = unitOf(*course, "SCO-001-03");
  auto video = videoOf(*openUnit(course, unit, 0));
  ASSERT_TRUE(video);
  runFor(5);
  video->hiddenToolBar(false);
  host.render();
  writeSnapshot(host, "cms_player" + suffix());
  const pf::Rect bottom = inWindow(video->bottomView);
  const pf::Rect header = inWindow(video->headerView);
  EXPECT_LT(bottom.width(), bottom.height()) << "the bottom bar is not turned into landscape";
  EXPECT_GT(header.minX(), pf::Screen::mainScreen().bounds().width() / 2) << "the header is not on the landscape top";
  EXPECT_TRUE(dark(host.pixelAt({bottom.midX(), bottom.maxY() - 3}))) << "the bottom bar's backdrop";
  video->lectureButtonPressedWithLectureButtonState(CmsMediaPlayerHeaderView::kLectureHidden);
  runFor(0.5);
  host.render();
  writeSnapshot(host, "cms_player_lecture" + suffix());
  const pf::Rect page = inWindow(video->webView);
  const pf::Pixel onPage = host.pixelAt({page.midX(), page.midY()});
  EXPECT_GT(onPage.red, 60) << "the lecture page shows over the video";
  tapBack(*video);
  runFor(1);

  auto documents = courseNamed("CRS-006");
  auto lecture = lectureOf(*openUnit(documents, documents->scoInfoList.front(), 0));
  ASSERT_TRUE(lecture);
  loop->runUntilTrue([&] { return !lecture->webView->isLoading(); }, 10);
  runFor(0.5);
  host.render();
  writeSnapshot(host, "cms_lecture" + suffix());
  EXPECT_FALSE(lecture->webView->blocks().empty());
  tapBack(lecture->headerView);
  runFor(1);

  auto manager = DownloadManagerTabs::show(*window).manager;
  runFor(0.5);
  auto service = DownloadService::instance();
  for (const char* id : {"SCO-001-02", "SCO-001-03"}) service->startDownloadingSco(unitOf(*course, id));
  loop->runUntilTrue([&] { return service->downloadingScos().empty(); }, 20);
  auto held = unitOf(*course, "SCO-001-05");
  server->route("/held/snapshot.mp4", devserver::answers::stall(6));
  held->videoUrl = server->url("/held/snapshot.mp4");
  service->startDownloadingSco(held);
  auto missing = unitOf(*courseNamed("CRS-004"), "SCO-004-01");
  missing->videoUrl = server->url("/media/cms/video/SCO-GONE.mp4");
  service->startDownloadingSco(missing);
  runFor(1);
  manager->setDownType(CmsDownloadCourseViewController::kDownloading);
  manager->refreshCounts();
  host.render();
  writeSnapshot(host, "cms_downloads_0" + suffix());
  ASSERT_EQ(manager->editableItems->size(), 2u);
  EXPECT_TRUE(manager->noDownloadInfoPromptView.lock()->isHidden());

  manager->downloadSwitchBar->downloadedBtnClick();
  runFor(0.5);
  host.render();
  writeSnapshot(host, "cms_downloads_2" + suffix());
  ASSERT_EQ(manager->editableItems->size(), 1u);
  manager->didSelectRowAtIndexPath(*manager->downloadContentView.lock(), pf::IndexPath::forRow(0, 0));
  runFor(0.5);
  host.render();
  writeSnapshot(host, "cms_downloads_4" + suffix());
  EXPECT_EQ(manager->downType(), CmsDownloadCourseViewController::kDownloadedUnits);
  manager->edit();
  manager->deleteBar->selectAllBtnClick();
  runFor(1);
  host.render();
  writeSnapshot(host, "cms_downloads_edit" + suffix());
  const pf::Rect bar = inWindow(manager->deleteBar);
  EXPECT_NEAR(bar.maxY(), pf::Screen::mainScreen().bounds().height(), 1) << "the delete bar lies over the tab bar";
  EXPECT_TRUE(dark(host.pixelAt({bar.minX() + 4, bar.midY()}))) << "the delete bar is drawn";
  manager->edit();

  auto tab = std::make_shared<CmsDownloadViewCotnroller>();
  tab->fromViewType = CmsDownloadViewCotnroller::kFromManager;
  tab->setCourseViewInfo(course);
  manager->navigationController()->pushViewController(tab, false);
  runFor(0.8);
  host.render();
  writeSnapshot(host, "cms_download_tab" + suffix());
  EXPECT_EQ(tab->tableView()->numberOfRowsInSection(0), static_cast<long>(course->scoInfoList.size()) + 1);
}

INSTANTIATE_TEST_SUITE_P(Profiles, CmsPlayerSnapshotTest,
                         testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const testing::TestParamInfo<pf::Screen::Profile>& info) {
                           return info.param == pf::Screen::Profile::Phone ? "Phone" : "Tablet";
                         });

}  // namespace cms_player_snapshot_test
