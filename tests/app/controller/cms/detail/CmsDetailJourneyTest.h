#pragma once
// Fixture for the course detail: the demo learner's session on the stand-in with his courses
// synchronised, a navigation stack on the key window to push the detail on, alerts answered by a
// script, and helpers to open a course, pick a tab, tap the bar's right button and rows.

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/controller/cms/CmsBriefViewController.h"
#include "app/controller/cms/CmsCommentViewController.h"
#include "app/controller/cms/CmsDetailViewClasses.h"
#include "app/controller/cms/CmsDetailViewController.h"
#include "app/controller/cms/CmsPlayerViewClasses.h"
#include "app/controller/cms/CmsStudyViewController.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "ui/hud/ProgressHUD.h"

class CmsDetailJourneyTest : public SignInJourneyTest {
 protected:
  static constexpr char kLearnerId[] = "U0001";
  static constexpr char kSelectPath[] = "/v1/lcms/courseinfo/selectCourse";
  static constexpr char kLoadDiscussPath[] = "/v1/dsc/discuss/loadDiscuss";

  explicit CmsDetailJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerCmsDetailViewClasses();
    registerCmsPlayerViewClasses();
    openSession();
    becomeCurrentUser(kLearnerId);
    CourseSyncService().syncCourseInfoAndStudyRecord();
    auto home = std::make_shared<BaseViewController>();
    root = std::make_shared<pf::NavigationController>(home);
    window->setRootViewController(root);
    answerer_ = pf::Timer::scheduled(0.1, true, [this](pf::Timer&) { answerAlerts(); });
    loop->runUntil(pf::Clock::now() + 0.3);
  }
  void TearDown() override {
    if (answerer_) answerer_->invalidate();
    SignInJourneyTest::TearDown();
  }

  // The course as a list hands it over: the learner's own when he holds it, its units loaded.
  static std::shared_ptr<CourseViewInfo> courseNamed(const std::string& courseId) {
    CourseService service;
    auto course = service.getCourseViewInfoWithCourseID(courseId);
    if (course && course->scoInfoList.empty())
      if (auto units = service.getScoViewInfosWithCourseViewInfo(course)) course->scoInfoList = *units;
    return course;
  }

  // Pushes the detail of the course as the lists do and lets its first loads end.
  std::shared_ptr<CmsDetailViewController> openDetail(const std::string& courseId,
                                                      int viewType = CmsDetailViewController::kViewTypeCatalogue) {
    auto detail = std::make_shared<CmsDetailViewController>();
    detail->setHidesBottomBarWhenPushed(true);
    detail->viewType = viewType;
    detail->setCourseViewInfo(courseNamed(courseId));
    root->pushViewController(detail, true);
    settleDetail();
    return detail;
  }
  void settleDetail(double seconds = 1.5) { loop->runUntil(pf::Clock::now() + seconds); }

  void pickTab(CmsDetailViewController& detail, size_t index) {
    detail.tabTapped(index);
    settleDetail();
  }
  static std::shared_ptr<CmnNaviBtnItem> rightItem(CmsDetailViewController& detail) {
    return std::dynamic_pointer_cast<CmnNaviBtnItem>(detail.navigationItem()->rightBarButtonItem());
  }
  static std::optional<std::string> rightTitle(CmsDetailViewController& detail) {
    auto item = rightItem(detail);
    if (!item || !item->customView()) return std::nullopt;
    auto label = std::dynamic_pointer_cast<pf::Label>(item->customView()->viewWithTag(CmnNaviBtnItem::kTitleTag));
    return label ? label->text() : std::nullopt;
  }
  // Taps the bar's right button where it shows in the window.
  void tapRight(CmsDetailViewController& detail) {
    auto item = rightItem(detail);
    ASSERT_TRUE(item);
    auto button = item->customView()->viewWithTag(CmnNaviBtnItem::kButtonTag);
    const pf::Rect frame = button->convertRectToView(button->bounds(), nullptr);
    pf::HeadlessHost(window).tap({frame.midX(), frame.midY()});
  }
  // The right button's action twice with no run of the loop between: two taps quicker than any answer.
  void tapRightTwiceAtOnce(CmsDetailViewController& detail) {
    auto item = rightItem(detail);
    ASSERT_TRUE(item);
    auto button = std::dynamic_pointer_cast<pf::Control>(item->customView()->viewWithTag(CmnNaviBtnItem::kButtonTag));
    ASSERT_TRUE(button);
    button->sendActionsForControlEvents(pf::Control::kTouchUpInside);
    button->sendActionsForControlEvents(pf::Control::kTouchUpInside);
  }
  void tapRow(pf::TableView& table, long row) {
    table.scrollToRowAtIndexPath(pf::IndexPath::forRow(row, 0), pf::TableView::ScrollPosition::Middle, false);
    loop->runUntil(pf::Clock::now() + 0.1);
    const pf::Rect rect = table.convertRectToView(table.rectForRowAtIndexPath(pf::IndexPath::forRow(row, 0)), nullptr);
    pf::HeadlessHost(window).tap({rect.midX(), rect.midY()});
  }
  size_t callsTo(const std::string& path) const { return server->calls(path).size(); }

  // Alert messages seen so far; alerts are answered with alertAnswer unless held.
  std::vector<std::string> alerts;
  long alertAnswer = 0;
  bool holdAlerts = false;

 private:
  void answerAlerts() {
    for (const auto& alert : pf::AlertView::visibleAlerts()) {
      if (seen_.insert(alert.get()).second) alerts.push_back(alert->message().value_or(""));
      if (!holdAlerts) alert->dismissWithClickedButtonIndex(alertAnswer, false);
    }
  }

  std::shared_ptr<pf::Timer> answerer_;
  std::set<const void*> seen_;
};
