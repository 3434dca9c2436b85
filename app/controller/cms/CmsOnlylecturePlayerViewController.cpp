#include "app/controller/cms/CmsOnlylecturePlayerViewController.h"

#include "app/controller/cms/CmsMediaPlayerHeaderView.h"
#include "app/controller/cms/CmsMediaPlayerRotation.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cms/CoursePlayerService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Clock.h"
#include "platform/graphics/Color.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/extension/ProgressHUDKivExtension.h"

CmsOnlylecturePlayerViewController::CmsOnlylecturePlayerViewController() = default;
CmsOnlylecturePlayerViewController::~CmsOnlylecturePlayerViewController() = default;

void CmsOnlylecturePlayerViewController::initService() {
  playerService = std::make_shared<CoursePlayerService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void CmsOnlylecturePlayerViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double W = screen.width();
  const double H = screen.height();
  view()->setBackgroundColor(pf::Color::clear());
  auto self = std::static_pointer_cast<CmsOnlylecturePlayerViewController>(shared_from_this());
  headerView = std::dynamic_pointer_cast<CmsMediaPlayerHeaderView>(
      ViewUtil::viewFromNibOfClass(CmsMediaPlayerHeaderView::kClassName));
  CmsMediaPlayerRotation::turnIntoPlace(*headerView, H, kBarHeight, view()->bounds().width() - kBarHeight, 0);
  headerView->headerDelegate = self;
  headerView->setCurrentLectureBtnState(CmsMediaPlayerHeaderView::kLectureOnly);
  view()->addSubview(headerView);
  webView = std::make_shared<pf::WebView>();
  CmsMediaPlayerRotation::turnIntoPlace(*webView, H, W - kBarHeight, 0, 0);
  webView->setScalesPageToFit(true);
  webView->setBackgroundColor(pf::Color::white().withAlpha(0.4));
  webView->setOpaque(false);
  webView->setDelegate(self);
  view()->addSubview(webView);
}

void CmsOnlylecturePlayerViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  pf::Application::sharedApplication().setStatusBarHidden(true);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
  if (!scoViewInfo) return;
  webView->loadRequest(scoViewInfo->lectureUrl.value_or(""));
  if (auto title = headerView->titleLabel.lock()) title->setText(scoViewInfo->scoName.value_or(""));
}

void CmsOnlylecturePlayerViewController::viewWillDisappear(bool animated) {
  BaseViewController::viewWillDisappear(animated);
  pf::Application::sharedApplication().setStatusBarHidden(false);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(false);
}

void CmsOnlylecturePlayerViewController::webViewDidFinishLoad(pf::WebView& page) {
  const std::string body = page.stringByEvaluatingJavaScriptFromString("document.body.innerHTML");
  if (body.find(kMissingPageMark) != std::string::npos) {
    page.setHidden(true);
    return showMissingLecture();
  }
  startTime = pf::Clock::now();
}

void CmsOnlylecturePlayerViewController::didFailLoadWithError(pf::WebView&, const pf::Error&) { showMissingLecture(); }

void CmsOnlylecturePlayerViewController::showMissingLecture() {
  startTime.reset();
  auto navigation = navigationController();
  auto host = navigation ? navigation->view() : view();
  auto hud = ProgressHUD::showHUDAddedTo(host, true);
  hud->setDelegate(std::static_pointer_cast<CmsOnlylecturePlayerViewController>(shared_from_this()));
  CmsMediaPlayerRotation::turn(*hud);
  ProgressHUDKivExtension::showAndDismissWithMessage(*hud, kMissingLecture);
}

void CmsOnlylecturePlayerViewController::hudWasHidden(ProgressHUD&) { popPlayer(); }

// A back before the page has loaded saves nothing: no reading happened.
void CmsOnlylecturePlayerViewController::backButtonPressed() {
  if (startTime && playerService) {
    playerService->saveStudyRecordOnlyLectureWithCourse(courseViewInfo, scoViewInfo, pf::Clock::now() - *startTime);
  }
  startTime.reset();
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void CmsOnlylecturePlayerViewController::popPlayer() {
  auto navigation = navigationController();
  if (!navigation) return;
  auto container = parentViewController();
  auto shown = navigation->topViewController();
  if (shown.get() == this || (container && shown == container)) navigation->popViewControllerAnimated(true);
}
