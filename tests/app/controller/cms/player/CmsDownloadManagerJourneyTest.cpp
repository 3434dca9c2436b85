// Journeys through the download manager and the course download tab against the demo stand-in's
// videos: starting, pausing and resuming on Wi-Fi, offline and on a cellular link, a unit the server
// does not have, finished units moving to the downloaded courses, deleting them in edit mode, and the
// tab's selection prompt for a course not yet selected; and what finished transfers cost the manager
// with many records.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/controller/cms/CmsCourseUnSelectedPromptView.h"
#include "app/controller/cms/CmsDetailDownloadCell.h"
#include "app/controller/cms/CmsDetailViewClasses.h"
#include "app/controller/cms/CmsDownloadCourseViewController.h"
#include "app/controller/cms/CmsDownloadDeleteBar.h"
#include "app/controller/cms/CmsDownloadSwitchBar.h"
#include "app/controller/cms/CmsDownloadViewCotnroller.h"
#include "app/controller/cms/CmsDownloadingCell.h"
#include "app/controller/cms/CmsScoDownloadedCell.h"
#include "app/model/cmn/SelectedObject.h"
#include "app/model/cms/CourseDownloadInfo.h"
#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/service/cmn/CommonService.h"
#include "core/db/VelkDBHelper.h"
#include "core/http/HttpRequest.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/TabBarController.h"
#include "tests/app/controller/cms/player/CmsPlayerJourneyTest.h"
#include "tests/app/support/DownloadManagerTabs.h"
#include "tests/app/support/SqliteStatementCounter.h"
#include "tools/devserver/Answers.h"

namespace cms_download_manager_journey_test {

class CmsDownloadManagerJourneyTest : public CmsPlayerJourneyTest {
 protected:
  void SetUp() override {
    CmsPlayerJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerCmsDetailViewClasses();
    registerCmsPlayerViewClasses();
  }

  std::shared_ptr<CmsDownloadCourseViewController> openManager() {
    const auto shown = DownloadManagerTabs::show(*window);
    tabs = shown.tabs;
    runFor(0.5);
    return shown.manager;
  }
  // The unit's video address answers nothing for a while, so its download stays unfinished.
  void holdVideo(ScoViewInfo& unit) {
    const std::string path = "/held/" + unit.scoId.value_or("") + ".mp4";
    server->route(path, devserver::answers::stall(8));
    unit.videoUrl = server->url(path);
  }
  void setCellular() {
    reachability->setFlags(pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsWWAN);
  }
  static std::shared_ptr<ScoDownloadInfo> record(const std::string& scoId) {
    return DownloadService::instance()->sdiWithScoId(scoId);
  }
  std::shared_ptr<pf::TableView> table(CmsDownloadCourseViewController& manager) {
    return manager.downloadContentView.lock();
  }
  // Taps the row as a finger does.
  void tapRow(pf::TableView& list, long row) {
    const pf::Rect rect = list.convertRectToView(list.rectForRowAtIndexPath(pf::IndexPath::forRow(row, 0)), nullptr);
    pf::HeadlessHost(window).tap({rect.midX(), rect.midY()});
    runFor(0.3);
  }
  long rowOfUnit(CmsDownloadCourseViewController& manager, const std::string& scoId) {
    for (size_t i = 0; i < manager.editableItems->size(); ++i) {
      auto value = std::dynamic_pointer_cast<ScoDownloadInfo>(manager.editableItems->at(i)->value.object());
      if (value && value->scoId == scoId) return static_cast<long>(i);
    }
    return -1;
  }
  void waitFor(const std::function<bool()>& done, double seconds = 20) { loop->runUntilTrue(done, seconds); }
  // The "下载中(n)" text of the switch bar.
  static std::string downloadingText(CmsDownloadCourseViewController& manager) {
    return manager.downloadSwitchBar->downloadingLabel.lock()->text().value_or("");
  }

  std::string lastAlert() const { return alerts.empty() ? std::string() : alerts.back(); }

  // Paused records of units MANY-0 to MANY-(count-1) in course CRS-001 (its units stored, so that it
  // counts as a downloaded course), loaded by the service.
  static void seedPausedRecords(int count) {
    ASSERT_TRUE(courseNamed("CRS-001"));
    for (int i = 0; i < count; ++i) {
      auto paused = std::make_shared<ScoDownloadInfo>();
      paused->userId = kLearnerId;
      paused->scoId = "MANY-" + std::to_string(i);
      paused->courseId = "CRS-001";
      paused->downloadId = paused->scoId;
      paused->downloadState = DownloadInfo::kPaused;
      ASSERT_TRUE(VelkDBHelper::instance()->saveOrUpdateObject(paused));
    }
    DownloadService::instance()->getDownloadInfos();
  }
  // The service hears the unit's transfer end with success, as the file downloader reports it, with
  // nobody observing: the test hands the manager the report itself.
  static void finishUnobserved(const std::string& scoId) {
    auto service = DownloadService::instance();
    const auto observer = service->downloadDelegete();
    service->setDownloadDelegete({});
    auto request = HttpRequest::requestWithURL(pf::Url::parse("http://127.0.0.1/" + scoId + ".mp4"));
    request->userInfo.set(pf::Dictionary{{"scoId", pf::Value(scoId)}});
    request->responseStatusCode = 200;
    service->requestFinished(request);
    service->setDownloadDelegete(observer);
  }
  // Statements the manager runs for finished reports of the units, until the next turn is over.
  long statementsForFinishes(CmsDownloadCourseViewController& manager,
                             const std::vector<std::string>& scoIds) {
    for (const auto& scoId : scoIds) finishUnobserved(scoId);
    SqliteStatementCounter counter;
    for (const auto& scoId : scoIds) manager.downloadFinishedRequest(nullptr, scoId);
    runFor(0.05);
    return SqliteStatementCounter::statements;
  }

  std::shared_ptr<pf::TabBarController> tabs;
};

// Catches: an empty manager without its prompt, a tap that neither pauses nor resumes, a resume
// offline or on a cellular link without asking, and a missing unit that can be resumed forever.
TEST_F(CmsDownloadManagerJourneyTest, DownloadingUnitsPauseAndResumeByTheLink) {
  auto manager = openManager();
  ASSERT_TRUE(manager);
  EXPECT_EQ(manager->downType(), CmsDownloadCourseViewController::kDownloading);
  EXPECT_FALSE(manager->noDownloadInfoPromptView.lock()->isHidden());
  EXPECT_EQ(manager->downloadPromptTitleLabel.lock()->text(), "暂无下载中视频");
  EXPECT_TRUE(manager->navBtnItem->customView()->isHidden()) << "edit offered on an empty list";

  auto course = courseNamed("CRS-001");
  auto missing = unitOf(*courseNamed("CRS-004"), "SCO-004-GONE");
  ASSERT_TRUE(missing) << "the demo's unit without a video file";
  auto service = DownloadService::instance();
  auto held = unitOf(*course, "SCO-001-05");
  holdVideo(*held);
  for (const char* id : {"SCO-001-03", "SCO-001-05"}) service->startDownloadingSco(unitOf(*course, id));
  service->startDownloadingSco(missing);
  manager->setDownType(CmsDownloadCourseViewController::kDownloading);
  manager->refreshCounts();
  EXPECT_EQ(downloadingText(*manager), "下载中(3)");
  waitFor([&] { return record("SCO-004-GONE") && record("SCO-004-GONE")->downloadState == 5; });
  runFor(0.5);
  auto list = table(*manager);
  auto gone = std::dynamic_pointer_cast<CmsDownloadingCell>(
      list->cellForRowAtIndexPath(pf::IndexPath::forRow(rowOfUnit(*manager, "SCO-004-GONE"), 0)));
  ASSERT_TRUE(gone);
  EXPECT_EQ(gone->downloadPromptLabel.lock()->text(), "视频信息不存在");
  EXPECT_EQ(gone->downloadStateLabel.lock()->text(), "已暂停");
  tapRow(*list, rowOfUnit(*manager, "SCO-004-GONE"));
  EXPECT_EQ(record("SCO-004-GONE")->downloadState, 5) << "a missing unit was resumed";

  service->pauseDownloadingSco(std::string("SCO-001-05"));
  runFor(0.3);
  const long paused = rowOfUnit(*manager, "SCO-001-05");
  ASSERT_EQ(record("SCO-001-05")->downloadState, 1);

  setOnline(false);
  tapRow(*list, paused);
  EXPECT_EQ(lastAlert(), CmsDownloadCourseViewController::kOffline);
  EXPECT_EQ(record("SCO-001-05")->downloadState, 1);

  setCellular();
  if (!CommonService().g3PromptStatus()) CommonService().switchDownloadPromptStatus();
  alertAnswer = 0;
  tapRow(*list, paused);
  EXPECT_EQ(lastAlert(), CmsDownloadCourseViewController::kCellularPrompt);
  EXPECT_EQ(record("SCO-001-05")->downloadState, 1) << "取消 resumed the unit";
  alertAnswer = 1;
  tapRow(*list, paused);
  EXPECT_NE(record("SCO-001-05")->downloadState, 1) << "确定 left the unit paused";

  service->pauseDownloadingSco(std::string("SCO-001-05"));
  runFor(0.3);
  CommonService().switchDownloadPromptStatus();
  const size_t asked = alerts.size();
  tapRow(*list, paused);
  EXPECT_EQ(alerts.size(), asked) << "asked with the prompt switched off";
  EXPECT_NE(record("SCO-001-05")->downloadState, 1);
}

// Catches: a reload per progress report (with 500 records a burst of them held the main loop for
// seconds, so taps waited), and progress a burst never shows.
TEST_F(CmsDownloadManagerJourneyTest, ABurstOfProgressReportsReloadsTheListOnceOnTheNextTurn) {
  auto manager = openManager();
  ASSERT_TRUE(manager);
  auto course = courseNamed("CRS-001");
  auto held = unitOf(*course, "SCO-001-05");
  holdVideo(*held);
  DownloadService::instance()->startDownloadingSco(held);
  manager->setDownType(CmsDownloadCourseViewController::kDownloading);
  runFor(0.3);
  auto list = table(*manager);
  const auto progressShown = [&] {
    auto cell = std::dynamic_pointer_cast<CmsDownloadingCell>(list->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
    return cell ? cell->downloadProgressBar.lock()->progress() : -1.0f;
  };
  ASSERT_NE(progressShown(), 0.5f);
  record("SCO-001-05")->progress = 0.5f;
  for (int report = 0; report < 100; ++report) manager->downloadRefreshDownloadedProgress();
  EXPECT_NE(progressShown(), 0.5f) << "reloaded within the burst";
  loop->runUntil(pf::Clock::now() + 0.01);
  EXPECT_EQ(progressShown(), 0.5f) << "the burst's progress never shown";
  DownloadService::instance()->pauseDownloadingSco(std::string("SCO-001-05"));
  runFor(0.3);
}

// Catches: finished units that stay in the downloading list, a course view without its more row, and
// a deletion that leaves files, rows or edit mode behind.
TEST_F(CmsDownloadManagerJourneyTest, FinishedUnitsMoveToTheirCourseAndDeletingThemAllReturnsToTheCourses) {
  auto manager = openManager();
  auto course = courseNamed("CRS-001");
  auto service = DownloadService::instance();
  for (const char* id : {"SCO-001-02", "SCO-001-03", "SCO-001-05"}) service->startDownloadingSco(unitOf(*course, id));
  waitFor([&] { return service->downloadingScos().empty(); }, 30);
  runFor(0.5);
  EXPECT_TRUE(manager->editableItems->empty()) << "finished units stayed in the downloading list";
  EXPECT_EQ(manager->downloadSwitchBar->downloadedLabel.lock()->text(), "已下载(3)");

  manager->downloadSwitchBar->downloadedBtnClick();
  ASSERT_EQ(manager->downType(), CmsDownloadCourseViewController::kDownloadedCourses);
  ASSERT_EQ(manager->editableItems->size(), 1u);
  auto list = table(*manager);
  tapRow(*list, 0);
  ASSERT_EQ(manager->downType(), CmsDownloadCourseViewController::kDownloadedUnits);
  const long rows = list->numberOfRowsInSection(0);
  ASSERT_EQ(rows, 5) << "information row, 3 units and the more row";
  list->scrollToRowAtIndexPath(pf::IndexPath::forRow(4, 0), pf::TableView::ScrollPosition::Bottom, false);
  runFor(0.1);
  auto more = std::dynamic_pointer_cast<CmsScoDownloadedCell>(list->cellForRowAtIndexPath(pf::IndexPath::forRow(4, 0)));
  ASSERT_TRUE(more);
  EXPECT_EQ(more->downloadedProgressLabel.lock()->text(), "已下载:3章/共5章");

  std::vector<std::string> files;
  for (const char* id : {"SCO-001-02", "SCO-001-03", "SCO-001-05"})
    if (auto path = service->vedioPathWithScoID(std::string(id))) files.push_back(*path);
  ASSERT_EQ(files.size(), 3u);

  list->scrollToRowAtIndexPath(pf::IndexPath::forRow(0, 0), pf::TableView::ScrollPosition::Top, false);
  runFor(0.1);
  manager->edit();
  EXPECT_TRUE(manager->isOnEditing());
  EXPECT_FALSE(manager->deleteBar->isHidden());
  EXPECT_TRUE(tabs->tabBar()->isHidden()) << "the tab bar shows under the delete bar";
  manager->deleteBar->selectAllBtnClick();
  EXPECT_EQ(manager->deleteBar->rightLabel.lock()->text(), "删除(3)");
  tapRow(*list, 1);
  EXPECT_EQ(manager->deleteBar->rightLabel.lock()->text(), "删除(2)");
  EXPECT_EQ(manager->deleteBar->leftLabel.lock()->text(), "全选");
  tapRow(*list, 1);
  alertAnswer = 1;
  manager->deleteBar->deleteBtnClick();
  runFor(0.5);
  EXPECT_EQ(lastAlert(), CmsDownloadCourseViewController::kDeletePrompt);
  EXPECT_EQ(manager->downType(), CmsDownloadCourseViewController::kDownloadedCourses);
  EXPECT_FALSE(manager->isOnEditing()) << "an emptied course left edit mode on";
  EXPECT_TRUE(manager->deleteBar->isHidden());
  EXPECT_FALSE(tabs->tabBar()->isHidden());
  for (const auto& file : files) EXPECT_FALSE(std::filesystem::exists(file)) << file;
  EXPECT_EQ(manager->downloadPromptTitleLabel.lock()->text(), "暂无已下载视频");
}

// Catches: every record and row reloaded on each finished transfer (with 500 records the main loop was
// held for seconds), the finished row left in the list, and marks of other rows lost or miscounted.
TEST_F(CmsDownloadManagerJourneyTest, AFinishedTransferTakesOnlyItsRowAndKeepsTheOtherMarks) {
  seedPausedRecords(120);
  auto manager = openManager();
  ASSERT_EQ(manager->editableItems->size(), 120u);
  auto list = table(*manager);
  manager->edit();
  for (long row : {3, 10}) manager->didSelectRowAtIndexPath(*list, pf::IndexPath::forRow(row, 0));
  ASSERT_EQ(manager->deleteBar->deleteCount(), 2);

  EXPECT_EQ(statementsForFinishes(*manager, {"MANY-3", "MANY-50"}), 0) << "the store read again for a row";
  auto service = DownloadService::instance();
  const auto records = service->downloadingScos();
  ASSERT_EQ(records.size(), 118u);
  ASSERT_EQ(manager->editableItems->size(), 118u);
  EXPECT_EQ(list->numberOfRowsInSection(0), 118);
  for (size_t i = 0; i < records.size(); ++i)
    EXPECT_EQ(manager->editableItems->at(i)->value.object(), records[i]) << "row " << i;
  EXPECT_EQ(rowOfUnit(*manager, "MANY-10"), 9);
  EXPECT_TRUE(manager->editableItems->at(9)->selected) << "another row's mark lost";
  EXPECT_EQ(manager->deleteBar->rightLabel.lock()->text(), "删除(1)");
  EXPECT_EQ(manager->deleteBar->totalCount, 118);
  EXPECT_TRUE(manager->isOnEditing());
  EXPECT_EQ(downloadingText(*manager), "下载中(118)");
  EXPECT_EQ(manager->downloadSwitchBar->downloadedLabel.lock()->text(), "已下载(2)");

  statementsForFinishes(*manager, {"MANY-10"});
  EXPECT_EQ(manager->deleteBar->rightLabel.lock()->text(), "删除(0)")
      << "the finished marked row still counted";
  EXPECT_EQ(rowOfUnit(*manager, "MANY-10"), -1);
  EXPECT_EQ(list->numberOfRowsInSection(0), 117);
}

// Catches: the downloaded lists read again for each finish of a burst instead of once on the next turn,
// and a downloaded view that misses the burst's units.
TEST_F(CmsDownloadManagerJourneyTest, ABurstOfFinishesReadsTheDownloadedListsOnceOnTheNextTurn) {
  seedPausedRecords(40);
  auto manager = openManager();
  manager->downloadSwitchBar->downloadedBtnClick();
  ASSERT_EQ(manager->downType(), CmsDownloadCourseViewController::kDownloadedCourses);
  const long one = statementsForFinishes(*manager, {"MANY-0"});
  EXPECT_GT(one, 0) << "the downloaded lists were not read again";
  const long burst = statementsForFinishes(*manager, {"MANY-1", "MANY-2", "MANY-3", "MANY-4", "MANY-5"});
  EXPECT_EQ(burst, one);
  ASSERT_EQ(manager->editableItems->size(), 1u);
  auto course = std::dynamic_pointer_cast<CourseDownloadInfo>(manager->editableItems->at(0)->value.object());
  ASSERT_TRUE(course);
  EXPECT_EQ(course->downloadChapterCount, 6);
  EXPECT_EQ(manager->downloadSwitchBar->downloadedLabel.lock()->text(), "已下载(6)");
}

// Catches: an unselected course downloading without its selection, a second request for one choice,
// a cellular "确定" that starts the unit but leaves its row and badge stale, and "下载列表" going nowhere.
TEST_F(CmsDownloadManagerJourneyTest, TheDownloadTabSelectsFirstThenStartsUnits) {
  openManager();
  root = std::make_shared<pf::NavigationController>(std::make_shared<BaseViewController>());
  window->setRootViewController(root);
  auto tab = std::make_shared<CmsDownloadViewCotnroller>();
  tab->fromViewType = CmsDownloadViewCotnroller::kFromManager;
  auto unselected = courseNamed("CRS-009");
  ASSERT_FALSE(unselected->selected);
  tab->setCourseViewInfo(unselected);
  auto list = std::make_shared<CmnNaviBtnItem>(std::string("CMN_BASE_btn_n.png"), std::string("CMN_BASE_btn_p.png"),
                                               std::nullopt, std::string("下载列表"), tab, [] {});
  tab->navigationItem()->setRightBarButtonItem(list);
  root->pushViewController(tab, false);
  runFor(0.5);

  holdAlerts = true;
  tab->startDownloadSco(unselected->scoInfoList.front());
  runFor(0.3);
  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(lastAlert(), "如果您要下载这门课程的章节，请先选择这门课程");
  EXPECT_FALSE(record("SCO-009-01")) << "an unselected course started a download";
  const size_t before = server->calls("/v1/lcms/courseinfo/selectCourse").size();
  for (const auto& alert : pf::AlertView::visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
  holdAlerts = false;
  waitFor([&] { return !tab->isRequestingEditSelectingCourse; }, 10);
  runFor(0.5);
  EXPECT_EQ(server->calls("/v1/lcms/courseinfo/selectCourse").size(), before + 1);
  EXPECT_TRUE(tab->courseHasSelected);

  setCellular();
  if (!CommonService().g3PromptStatus()) CommonService().switchDownloadPromptStatus();
  alertAnswer = 1;
  auto unit = tab->courseViewInfo()->scoInfoList.front();
  holdVideo(*unit);
  tab->startDownloadSco(unit);
  runFor(0.5);
  EXPECT_EQ(lastAlert(), CmsDownloadViewCotnroller::kCellularPrompt);
  EXPECT_TRUE(record(*unit->scoId)) << "确定 did not start the unit";
  EXPECT_TRUE(unit->hasDownload) << "确定 left the unit unmarked";
  EXPECT_EQ(list->badgeNumber(), static_cast<int>(DownloadService::instance()->downloadingScos().size()));
  auto row = std::dynamic_pointer_cast<CmsDetailDownloadCell>(tab->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(1, 0)));
  ASSERT_TRUE(row);
  EXPECT_EQ(row->downloadStateLabel.lock()->text(), "下载中");

  auto lectureOnly = courseNamed("CRS-006")->scoInfoList.front();
  row->setScoViewInfo(lectureOnly);
  holdAlerts = true;
  row->downloadBtnClick();
  std::vector<std::string> shown;
  for (const auto& alert : pf::AlertView::visibleAlerts()) shown.push_back(alert->message().value_or(""));
  EXPECT_EQ(shown, std::vector<std::string>{CmsDetailDownloadCell::kNoDownloadMessage});
  for (const auto& alert : pf::AlertView::visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
}

}  // namespace cms_download_manager_journey_test
