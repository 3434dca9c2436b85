#pragma once
// Fixture for the study screens: the demo learner's session on the stand-in with his courses
// synchronised, a navigation stack on the key window to push a player on, alerts answered by a
// script, and helpers to open a unit, tap the player's controls and read the learner's study rows.

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/CmsMainMediaPlayerViewController.h"
#include "app/controller/cms/CmsMediaPlayerBottomView.h"
#include "app/controller/cms/CmsMediaPlayerHeaderView.h"
#include "app/controller/cms/CmsMediaPlayerViewController.h"
#include "app/controller/cms/CmsOnlylecturePlayerViewController.h"
#include "app/controller/cms/CmsPlayerViewClasses.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/service/cms/DownloadService.h"
#include "platform/foundation/Timer.h"
#include "platform/media/MoviePlayerController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "ui/hud/ProgressHUD.h"

class CmsPlayerJourneyTest : public SignInJourneyTest {
 protected:
  static constexpr char kLearnerId[] = "U0001";

  explicit CmsPlayerJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerCmsPlayerViewClasses();
    openSession();
    becomeCurrentUser(kLearnerId);
    CourseSyncService().syncCourseInfoAndStudyRecord();
    home = std::make_shared<BaseViewController>();
    root = std::make_shared<pf::NavigationController>(home);
    window->setRootViewController(root);
    answerer_ = pf::Timer::scheduled(0.1, true, [this](pf::Timer&) { answerAlerts(); });
    loop->runUntil(pf::Clock::now() + 0.3);
  }
  void TearDown() override {
    if (answerer_) answerer_->invalidate();
    for (const auto& url : configured_) pf::MoviePlayerController::configureDuration(url, 0);
    DownloadService::unload();
    SignInJourneyTest::TearDown();
  }

  // The course as a list hands it over, its units loaded.
  static std::shared_ptr<CourseViewInfo> courseNamed(const std::string& courseId) {
    CourseService service;
    auto course = service.getCourseViewInfoWithCourseID(courseId);
    if (course && course->scoInfoList.empty())
      if (auto units = service.getScoViewInfosWithCourseViewInfo(course)) course->scoInfoList = *units;
    return course;
  }
  static std::shared_ptr<ScoViewInfo> unitOf(const CourseViewInfo& course, const std::string& scoId) {
    for (const auto& unit : course.scoInfoList)
      if (unit->scoId == scoId) return unit;
    return nullptr;
  }
  // The unit's video answers this length, whatever the stand-in's file says.
  void giveVideoLength(const ScoViewInfo& unit, double seconds) {
    pf::MoviePlayerController::configureDuration(unit.videoUrl.value_or(""), seconds);
    configured_.push_back(unit.videoUrl.value_or(""));
  }

  // Pushes the container as the study tab does and lets the player load.
  std::shared_ptr<CmsMainMediaPlayerViewController> openUnit(const std::shared_ptr<CourseViewInfo>& course,
                                                             const std::shared_ptr<ScoViewInfo>& unit,
                                                             double settle = 1.0) {
    auto container = std::make_shared<CmsMainMediaPlayerViewController>();
    container->courseViewInfo = course;
    container->scoViewInfo = unit;
    root->pushViewController(container, true);
    loop->runUntil(pf::Clock::now() + 0.1);
    if (auto video = videoOf(*container))
      loop->runUntilTrue([&] { return !video->moviePlayerController || playing(*video) || !boxes().empty(); }, 10);
    loop->runUntil(pf::Clock::now() + settle);
    return container;
  }
  static std::shared_ptr<CmsMediaPlayerViewController> videoOf(const CmsMainMediaPlayerViewController& container) {
    return std::dynamic_pointer_cast<CmsMediaPlayerViewController>(container.player());
  }
  static std::shared_ptr<CmsOnlylecturePlayerViewController> lectureOf(
      const CmsMainMediaPlayerViewController& container) {
    return std::dynamic_pointer_cast<CmsOnlylecturePlayerViewController>(container.player());
  }
  static bool playing(const CmsMediaPlayerViewController& video) {
    return video.moviePlayerController &&
           video.moviePlayerController->playbackState() == pf::MoviePlayerController::PlaybackState::Playing;
  }
  void runFor(double seconds) { loop->runUntil(pf::Clock::now() + seconds); }

  void tapView(const std::shared_ptr<pf::View>& view) {
    const pf::Rect frame = view->convertRectToView(view->bounds(), nullptr);
    pf::HeadlessHost(window).tap({frame.midX(), frame.midY()});
    loop->runUntil(pf::Clock::now() + 0.05);
  }
  // The play/pause button, as a finger presses it (bars shown first).
  void tapPlay(CmsMediaPlayerViewController& video) {
    video.hiddenToolBar(false);
    tapView(video.bottomView->playBtn.lock());
  }
  // The header's back button, the bars shown first as a finger would.
  void tapBack(CmsMediaPlayerViewController& video) {
    video.hiddenToolBar(false);
    tapBack(std::static_pointer_cast<pf::View>(video.headerView));
  }
  void tapBack(const std::shared_ptr<pf::View>& header) {
    for (const auto& sub : header->subviews()) {
      auto button = std::dynamic_pointer_cast<pf::Button>(sub);
      if (button && button->titleForState(pf::Control::kNormal) == std::optional<std::string>("返回"))
        return tapView(button);
    }
    ADD_FAILURE() << "no back button";
  }
  // Releases the slider at the value, as a drag ending on it does.
  static void releaseSlider(CmsMediaPlayerViewController& video, float value) {
    auto slider = video.bottomView->progressSlider.lock();
    slider->setValue(value);
    slider->sendActionsForControlEvents(pf::Control::kTouchUpInside);
  }
  std::vector<std::string> stackClasses() const { return stack(); }
  // Texts of the self-hiding boxes showing anywhere in the window now.
  std::vector<std::string> boxes() const {
    std::vector<std::string> texts;
    collectBoxes(*window, texts);
    return texts;
  }

  std::shared_ptr<BaseViewController> home;
  std::vector<std::string> alerts;
  long alertAnswer = 0;
  bool holdAlerts = false;

 private:
  static void collectBoxes(const pf::View& view, std::vector<std::string>& texts) {
    for (const auto& sub : view.subviews()) {
      if (auto hud = std::dynamic_pointer_cast<ProgressHUD>(sub)) {
        texts.push_back(hud->detailsLabelText().value_or(hud->labelText().value_or("")));
      }
      collectBoxes(*sub, texts);
    }
  }
  void answerAlerts() {
    for (const auto& alert : pf::AlertView::visibleAlerts()) {
      if (seen_.insert(alert).second) alerts.push_back(alert->message().value_or(""));
      if (!holdAlerts) alert->dismissWithClickedButtonIndex(alertAnswer, false);
    }
  }

  std::shared_ptr<pf::Timer> answerer_;
  // Held, so a later alert made at a freed one's address still counts as new.
  std::set<std::shared_ptr<pf::AlertView>> seen_;
  std::vector<std::string> configured_;
};
