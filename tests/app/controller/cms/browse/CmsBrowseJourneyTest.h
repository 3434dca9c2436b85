#pragma once
// Fixture for the course module's browsing screens: the demo learner signed in through the login
// screen, so the course module's root is the centre of the side-panel deck; helpers to reach its
// tabs and lists, tap rows, wait for lists and for the self-hiding boxes, and read titles. A test may
// serve a generated catalogue instead of the demo one.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/cms/CmsAllTableViewController.h"
#include "app/controller/cms/CmsAllViewController.h"
#include "app/controller/cms/CmsBrowseViewClasses.h"
#include "app/controller/cms/CmsDetailViewClasses.h"
#include "app/controller/cms/CmsMainViewController.h"
#include "app/controller/cms/CmsMyTableViewController.h"
#include "app/controller/cms/CmsMyViewController.h"
#include "app/controller/cms/CmsSearchViewController.h"
#include "app/model/cms/CourseViewInfo.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/devserver/demo/DemoCms.h"
#include "tools/devserver/demo/GeneratedCatalogue.h"
#include "platform/foundation/OperationQueue.h"
#include "ui/webimage/WebImageDownloader.h"
#include "ui/webimage/WebImageManager.h"

class CmsBrowseJourneyTest : public SignInJourneyTest {
 protected:
  static constexpr char kSyncCoursePath[] = "/v1/lcms/courseinfo/syncCourse";
  static constexpr char kSyncRecordPath[] = "/v1/els/phonecoursestudyrecord/sync";
  static constexpr char kCataloguePath[] = "/v1/lcms/courseinfo/loadCourseInfoList";
  static constexpr char kPurviewPath[] = "/v1/lcms/courseinfo/hasPurview";

  explicit CmsBrowseJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerCmsBrowseViewClasses();
    registerCmsDetailViewClasses();
  }
  // Covers still coming in would keep the next case's clock still: they end with this case.
  void TearDown() override {
    WebImageManager::sharedManager()->cancelAll();
    if (cms) {
      waitForList(myList());
      waitForList(allList());
    }
    if (loop) {
      auto pictures = WebImageDownloader::sharedDownloader()->downloadQueue();
      loop->runUntilTrue([&] { return pictures->operationCount() == 0; }, 10);
      loop->runUntil(pf::Clock::now() + 1);
    }
    SignInJourneyTest::TearDown();
  }

  // Serves a catalogue of `courses` generated courses, the first `owned` titled with the text and held
  // by the demo learner, in place of the demo catalogue.
  void serveGeneratedCatalogue(int courses, int owned, const std::string& ownedText) {
    devserver::writeBrowsingCatalogue(generated_.path(), courses, owned, ownedText, "U0001");
    std::string problem;
    ASSERT_TRUE(devserver::installDemoCms(*server, generated_.path(), &problem)) << problem;
  }

  // Signs the demo learner in; the course module's root becomes the deck's centre with "我的课程"
  // shown and its first synchronisation done.
  std::shared_ptr<CmsMainViewController> signIn() {
    auto login = showLogin();
    fill(*login, "demo", "learner", "learner123");
    tapView(login->loginBtn.lock());
    if (!deck()) return nullptr;
    cms = std::dynamic_pointer_cast<CmsMainViewController>(deck()->centerController());
    if (!cms) return nullptr;
    waitForList(myList());
    waitForList(allList());
    return cms;
  }

  std::shared_ptr<CmsMyTableViewController> myList() const {
    return cms ? cms->myCourseViewController->myTabelViewController.lock() : nullptr;
  }
  std::shared_ptr<CmsAllTableViewController> allList() const {
    return cms ? cms->allCourseViewController->allCoursetableViewCon.lock() : nullptr;
  }
  std::shared_ptr<pf::NavigationController> tabStack(size_t index) const {
    return std::dynamic_pointer_cast<pf::NavigationController>(cms->tabBarCon->viewControllers().at(index));
  }
  // Picks the tab as a tap on the bar does.
  void pickTab(size_t index) {
    cms->tabBarCon->tabTapped(index);
    loop->runUntil(pf::Clock::now() + 0.5);
  }

  template <typename List>
  void waitForList(const std::shared_ptr<List>& list) {
    if (!list) return;
    loop->runUntilTrue([&] { return !list->isRefreshing() && !list->isLoadingMore() && !list->isOpeningCourse(); }, 20);
    loop->runUntil(pf::Clock::now() + 0.3);
  }

  static std::string titleOf(pf::ViewController& screen) {
    auto label = std::dynamic_pointer_cast<pf::Label>(screen.navigationItem()->titleView());
    return label ? label->text().value_or("") : "";
  }

  // Waits until the self-hiding box shows the text (or a while has passed); answers whether it did.
  bool waitForBox(const std::string& text, double timeout = 10) {
    return loop->runUntilTrue([&] { return boxText() == text; }, timeout);
  }

  // Taps the row of the list's table in the window.
  void tapRow(pf::TableView& table, long row) {
    table.scrollToRowAtIndexPath(pf::IndexPath::forRow(row, 0), pf::TableView::ScrollPosition::Middle, false);
    loop->runUntil(pf::Clock::now() + 0.1);
    const pf::Rect rect = table.convertRectToView(table.rectForRowAtIndexPath(pf::IndexPath::forRow(row, 0)), nullptr);
    pf::HeadlessHost(window).tap({rect.midX(), rect.midY()});
  }
  template <typename List>
  long rowOf(const List& list, const std::string& courseId) const {
    if (!list.resourceArr) return -1;
    for (size_t i = 0; i < list.resourceArr->size(); ++i)
      if ((*list.resourceArr)[i]->id == courseId) return static_cast<long>(i);
    return -1;
  }
  // Taps the course's row and lets its open run to its end.
  template <typename List>
  void openCourse(const std::shared_ptr<List>& list, const std::string& courseId) {
    const long row = rowOf(*list, courseId);
    ASSERT_GE(row, 0) << courseId;
    tapRow(*list->tableView(), row);
    loop->runUntilTrue([&] { return !list->isOpeningCourse(); }, 20);
  }
  std::vector<std::string> idsOf(const CmsCourseTableViewController& list) const {
    std::vector<std::string> ids;
    if (list.resourceArr)
      for (const auto& course : *list.resourceArr) ids.push_back(course->id.value_or(""));
    return ids;
  }
  size_t callsTo(const std::string& path) const { return server->calls(path).size(); }

  std::shared_ptr<CmsMainViewController> cms;

 private:
  pf_test::TemporaryFolder generated_;
};
