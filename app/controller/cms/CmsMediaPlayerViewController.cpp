#include "app/controller/cms/CmsMediaPlayerViewController.h"

#include <algorithm>
#include <cmath>

#include "app/controller/cms/CmsMediaPlayerBottomView.h"
#include "app/controller/cms/CmsMediaPlayerHeaderView.h"
#include "app/controller/cms/CmsMediaPlayerRotation.h"
#include "app/controller/cms/CmsMediaPlayerVolumeView.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cms/CoursePlayerService.h"
#include "app/service/cms/DownloadService.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Timer.h"
#include "platform/graphics/Image.h"
#include "platform/media/MusicPlayerController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Touch.h"
#include "ui/extension/ProgressHUDKivExtension.h"

using Movie = pf::MoviePlayerController;

namespace {

bool cmsPlayerFreeSeekStandard(const std::optional<std::string>& standard) {
  return standard == "ONLINEPACKAGE" || standard == "ONESCREEN";
}

}  // namespace

CmsMediaPlayerViewController::CmsMediaPlayerViewController() = default;
CmsMediaPlayerViewController::CmsMediaPlayerViewController(std::string nibName) : MeidaPlayer(std::move(nibName)) {}

CmsMediaPlayerViewController::~CmsMediaPlayerViewController() { stopTimers(); }

std::string CmsMediaPlayerViewController::stringFromTime(double seconds) {
  // A header may claim a length near 2^64 s; an integer cast of that is undefined, so the clock stops at
  // a length no movie reaches.
  constexpr double kCmsLongestShownSeconds = 1e15;
  const long long whole =
      seconds > 0 && std::isfinite(seconds) ? static_cast<long long>(std::min(seconds, kCmsLongestShownSeconds)) : 0;
  return pf::format("%02lld:%02lld:%02lld", whole / 3600, whole % 3600 / 60, whole % 60);
}

bool CmsMediaPlayerViewController::canSeekTo(double target) const {
  if (!scoViewInfo || scoViewInfo->studyComplete) return true;
  if (courseViewInfo && cmsPlayerFreeSeekStandard(courseViewInfo->courseStandard)) return true;
  return target <= scoViewInfo->currentPosition / 1000;
}

void CmsMediaPlayerViewController::initService() {
  downloadService = DownloadService::instance();
  playerService = std::make_shared<CoursePlayerService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void CmsMediaPlayerViewController::viewDidLoad() {
  MeidaPlayer::viewDidLoad();
  view()->setBackgroundColor(pf::Color::black());
  isPlay = false;
}

void CmsMediaPlayerViewController::viewWillAppear(bool animated) {
  MeidaPlayer::viewWillAppear(animated);
  if (!scoViewInfo) return;
  currentBtnState = scoViewInfo->lectureUrl.value_or("").empty() ? CmsMediaPlayerHeaderView::kNoLecture
                                                                 : CmsMediaPlayerHeaderView::kLectureHidden;
  if (auto path = downloadService ? downloadService->vedioPathWithScoID(scoViewInfo->scoId) : std::nullopt) {
    playMovieFile("file://" + *path);
  } else {
    playMovieStream(scoViewInfo->videoUrl.value_or(""));
  }
}

// Nothing calls back into a screen that has gone.
void CmsMediaPlayerViewController::viewWillDisappear(bool animated) {
  stopTimers();
  MeidaPlayer::viewWillDisappear(animated);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
}

void CmsMediaPlayerViewController::stopTimers() {
  if (hiddenTimer) hiddenTimer->invalidate();
  if (progressTimer) progressTimer->invalidate();
  hiddenTimer.reset();
  progressTimer.reset();
}

void CmsMediaPlayerViewController::addToolBar() {
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double W = screen.width();
  const double H = screen.height();
  const double viewWidth = view()->bounds().width();
  auto self = std::dynamic_pointer_cast<CmsMediaPlayerViewController>(shared_from_this());

  if (headerView) headerView->removeFromSuperview();
  headerView = std::dynamic_pointer_cast<CmsMediaPlayerHeaderView>(
      ViewUtil::viewFromNibOfClass(CmsMediaPlayerHeaderView::kClassName));
  headerView->headerDelegate = self;
  CmsMediaPlayerRotation::turnIntoPlace(*headerView, H, kBarHeight, viewWidth - kBarHeight, 0);
  if (auto title = headerView->titleLabel.lock()) title->setText(scoViewInfo ? scoViewInfo->scoName.value_or("") : "");
  headerView->setCurrentLectureBtnState(currentBtnState);
  view()->addSubview(headerView);

  if (bottomView) bottomView->removeFromSuperview();
  bottomView = std::dynamic_pointer_cast<CmsMediaPlayerBottomView>(
      ViewUtil::viewFromNibOfClass(CmsMediaPlayerBottomView::kClassName));
  bottomView->bottomDelegate = self;
  CmsMediaPlayerRotation::turnIntoPlace(*bottomView, H, kBarHeight, 0, 0);
  view()->addSubview(bottomView);

  if (volumeView) volumeView->removeFromSuperview();
  volumeView = std::dynamic_pointer_cast<CmsMediaPlayerVolumeView>(
      ViewUtil::viewFromNibOfClass(CmsMediaPlayerVolumeView::kClassName));
  volumeView->volumeDelegate = self;
  volumeView->setFrame(pf::Rect(W / 320 * 70, H / 480 * 10, W / 320 * 200, 35));
  if (auto slider = volumeView->volumeSlider.lock())
    slider->setValue(pf::MusicPlayerController::applicationMusicPlayer().volume());
  view()->addSubview(volumeView);
  hiddenToolBar(false);

  if (activityView) activityView->removeFromSuperview();
  activityView = std::make_shared<pf::ActivityIndicatorView>(pf::ActivityIndicatorView::Style::WhiteLarge);
  activityView->setCenter({view()->bounds().midX(), view()->bounds().midY()});
  view()->addSubview(activityView);
  activityView->startAnimating();

  if (logoImageView) logoImageView->removeFromSuperview();
  auto logo = pf::Image::named(kLogo, pf::Screen::mainScreen().scale());
  const double logoWidth = W / 320 * 200;
  const double logoHeight = logo && logo->size().width > 0 ? logo->size().height * logoWidth / logo->size().width : 0;
  logoImageView = std::make_shared<pf::ImageView>(
      pf::Rect(activityView->frame().minX() - logoHeight, (H - logoHeight) / 2, logoWidth, logoHeight));
  logoImageView->setImage(logo);
  logoImageView->setBackgroundColor(pf::Color::clear());
  CmsMediaPlayerRotation::turn(*logoImageView);
  view()->addSubview(logoImageView);

  if (webView) webView->removeFromSuperview();
  webView = std::make_shared<pf::WebView>();
  CmsMediaPlayerRotation::turnIntoPlace(*webView, H, W - kBarHeight, 0, 0);
  webView->setScalesPageToFit(true);
  webView->setBackgroundColor(pf::Color::white().withAlpha(0.4));
  webView->setOpaque(false);
  webView->setHidden(true);
  webView->setDelegate(self);
  view()->insertSubviewBelow(webView, headerView.get());
  if (scoViewInfo && !scoViewInfo->lectureUrl.value_or("").empty()) webView->loadRequest(*scoViewInfo->lectureUrl);
}

void CmsMediaPlayerViewController::moviePlayBackStateDidChange() {
  if (!moviePlayerController) return;
  const auto state = moviePlayerController->playbackState();
  switch (state) {
    case Movie::PlaybackState::Playing:
    case Movie::PlaybackState::SeekingForward:
    case Movie::PlaybackState::SeekingBackward:
      if (bottomView) bottomView->setCurrentPlayState(CmsMediaPlayerBottomView::kPlaying);
      if (state == Movie::PlaybackState::Playing) {
        restartProgressTimer();
        studyDate = pf::Clock::now();
        isPlay = true;
      }
      break;
    case Movie::PlaybackState::Stopped:
    case Movie::PlaybackState::Paused:
    case Movie::PlaybackState::Interrupted:
      haltStudy();
      break;
  }
}

// The stretch since playing began is reported once; the position only ever rises.
void CmsMediaPlayerViewController::haltStudy() {
  if (progressTimer) progressTimer->invalidate();
  if (bottomView) bottomView->setCurrentPlayState(CmsMediaPlayerBottomView::kHalted);
  const float studied = studyDate ? static_cast<float>(pf::Clock::now() - *studyDate) : 0.0f;
  studyDate.reset();
  if (!scoViewInfo || !moviePlayerController) return;
  const double reached = moviePlayerController->currentPlaybackTime() * 1000;
  if (reached > scoViewInfo->currentPosition) scoViewInfo->currentPosition = static_cast<int>(reached);
  if (playerService) playerService->saveStudyRecordWithCourse(courseViewInfo, scoViewInfo, studied, totalTime);
}

void CmsMediaPlayerViewController::movieDurationAvailable() {
  MeidaPlayer::movieDurationAvailable();
  if (moviePlayerController) totalTime = moviePlayerController->duration();
  updateBottomView();
}

void CmsMediaPlayerViewController::mediaIsPreparedToPlayDidChange() {
  if (logoImageView) logoImageView->setHidden(true);
  if (activityView) activityView->stopAnimating();
  if (!moviePlayerController) return;
  if (isPlay) {
    moviePlayerController->pause();
    isPlay = false;
  }
  // A unit saved within its last second starts again from the beginning; otherwise at the saved
  // whole second.
  const int saved = scoViewInfo ? scoViewInfo->currentPosition : 0;
  const double start = totalTime - saved / 1000.0 >= 1.0 ? saved / 1000 : 0;
  moviePlayerController->setCurrentPlaybackTime(start);
  moviePlayerController->play();
}

void CmsMediaPlayerViewController::moviePlayBackDidFinish(int reason) {
  if (reason == static_cast<int>(Movie::FinishReason::UserExited)) {
    removeMovieViewFromViewHierarchy();
    popPlayer();
  } else if (reason == static_cast<int>(Movie::FinishReason::PlaybackError)) {
    pf::Log::write("An error was encountered during playback");
    removeMovieViewFromViewHierarchy();
    std::weak_ptr<CmsMediaPlayerViewController> weak =
        std::static_pointer_cast<CmsMediaPlayerViewController>(shared_from_this());
    pf::DispatchQueue::main()->async([weak] {
      if (auto self = weak.lock()) self->showTipToUserWithMessage(kVideoMissing, weak);
    });
  }
}

void CmsMediaPlayerViewController::hudWasHidden(ProgressHUD&) { popPlayer(); }

void CmsMediaPlayerViewController::popPlayer() {
  auto navigation = navigationController();
  if (!navigation) return;
  auto container = parentViewController();
  auto shown = navigation->topViewController();
  if (shown.get() == this || (container && shown == container)) navigation->popViewControllerAnimated(true);
}

void CmsMediaPlayerViewController::updateBottomView() {
  if (!bottomView || !moviePlayerController) return;
  const double now = moviePlayerController->currentPlaybackTime();
  if (auto label = bottomView->endTimeLabel.lock()) label->setText(stringFromTime(totalTime - now));
  if (auto label = bottomView->startTimeLabel.lock()) label->setText(stringFromTime(now));
  if (auto slider = bottomView->progressSlider.lock())
    slider->setValue(totalTime > 0 ? static_cast<float>(now / totalTime) : 0.0f);
}

void CmsMediaPlayerViewController::hiddenToolBar(bool hidden) {
  if (bottomView) bottomView->setHidden(hidden);
  if (volumeView) volumeView->setHidden(hidden);
  const bool lectureShown = webView && !webView->isHidden();
  if (headerView) headerView->setHidden(lectureShown ? false : hidden);
  if (hidden) {
    if (hiddenTimer) hiddenTimer->invalidate();
  } else {
    restartHiddenTimer();
  }
}

void CmsMediaPlayerViewController::restartHiddenTimer() {
  if (hiddenTimer) hiddenTimer->invalidate();
  std::weak_ptr<CmsMediaPlayerViewController> weak =
      std::static_pointer_cast<CmsMediaPlayerViewController>(shared_from_this());
  hiddenTimer = pf::Timer::scheduled(kHideInterval, false, [weak](pf::Timer&) {
    if (auto self = weak.lock()) self->hiddenToolBar(true);
  });
}

void CmsMediaPlayerViewController::restartProgressTimer() {
  if (progressTimer) progressTimer->invalidate();
  std::weak_ptr<CmsMediaPlayerViewController> weak =
      std::static_pointer_cast<CmsMediaPlayerViewController>(shared_from_this());
  progressTimer = pf::Timer::scheduled(kProgressInterval, true, [weak](pf::Timer&) {
    if (auto self = weak.lock()) self->updateBottomView();
  });
}

void CmsMediaPlayerViewController::showTipToUserWithMessage(const std::string& message,
                                                             std::weak_ptr<ProgressHUDDelegate> delegate) {
  auto navigation = navigationController();
  auto host = navigation ? navigation->view() : view();
  auto hud = ProgressHUD::showHUDAddedTo(host, true);
  hud->setDelegate(std::move(delegate));
  CmsMediaPlayerRotation::turn(*hud);
  ProgressHUDKivExtension::showAndDismissWithMessage(*hud, message);
}

// Back: a pause first, so the stretch is saved with the position reached (a stop zeroes the
// player's time before it reports).
void CmsMediaPlayerViewController::backButtonPressed() {
  if (moviePlayerController && moviePlayerController->playbackState() == Movie::PlaybackState::Playing)
    moviePlayerController->pause();
  stopTimers();
  overlayViewCloseButtonPress();
  if (downloadService) downloadService->getDownloadInfos();
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void CmsMediaPlayerViewController::lectureButtonPressedWithLectureButtonState(int state) {
  if (!webView || !headerView) return;
  if (state == CmsMediaPlayerHeaderView::kLectureShowing) {
    webView->setHidden(true);
    headerView->setCurrentLectureBtnState(CmsMediaPlayerHeaderView::kLectureHidden);
    hiddenToolBar(false);
  } else if (state == CmsMediaPlayerHeaderView::kLectureHidden) {
    if (!CommonUtil::isOnline()) return showTipToUserWithMessage(kOffline);
    webView->setHidden(false);
    headerView->setCurrentLectureBtnState(CmsMediaPlayerHeaderView::kLectureShowing);
  }
}

void CmsMediaPlayerViewController::playButtonPressedWithState(int state) {
  restartHiddenTimer();
  if (!moviePlayerController) return;
  if (state == CmsMediaPlayerBottomView::kHalted) moviePlayerController->play();
  if (state == CmsMediaPlayerBottomView::kPlaying) moviePlayerController->pause();
}

void CmsMediaPlayerViewController::progressSliderValueChangingWithValue(float value) {
  restartHiddenTimer();
  if (!bottomView || !moviePlayerController) return;
  const double duration = moviePlayerController->duration();
  if (auto label = bottomView->startTimeLabel.lock()) label->setText(stringFromTime(value * duration));
  if (auto label = bottomView->endTimeLabel.lock()) label->setText(stringFromTime(duration * (1 - value)));
}

void CmsMediaPlayerViewController::progressSliderValueChangeWithValue(float value) {
  const double target = value * totalTime;
  if (!canSeekTo(target)) {
    showTipToUserWithMessage(kSeekRefused);
    restartProgressTimer();
    return hiddenToolBar(false);
  }
  if (moviePlayerController) {
    moviePlayerController->pause();
    moviePlayerController->setCurrentPlaybackTime(target);
    moviePlayerController->play();
  }
  restartProgressTimer();
  hiddenToolBar(false);
}

void CmsMediaPlayerViewController::setSystemVolume(float value) {
  restartHiddenTimer();
  pf::MusicPlayerController::applicationMusicPlayer().setVolume(value);
}

void CmsMediaPlayerViewController::touchBeginVolumeView() { restartHiddenTimer(); }

void CmsMediaPlayerViewController::webViewDidFinishLoad(pf::WebView& page) {
  const std::string body = page.stringByEvaluatingJavaScriptFromString("document.body.innerHTML");
  if (body.find(kMissingLecture) == std::string::npos) return;
  page.setHidden(true);
  if (headerView) headerView->setCurrentLectureBtnState(CmsMediaPlayerHeaderView::kNoLecture);
}

void CmsMediaPlayerViewController::didFailLoadWithError(pf::WebView&, const pf::Error&) {
  if (headerView) headerView->setCurrentLectureBtnState(CmsMediaPlayerHeaderView::kNoLecture);
}

void CmsMediaPlayerViewController::touchesBegan(const pf::TouchSet& touches, const pf::Event*) {
  if (touches.empty()) return;
  const auto& touch = touches.front();
  const bool betweenBars = headerView && bottomView && touch->locationInView(bottomView.get()).y < 0 &&
                           touch->locationInView(headerView.get()).y > kBarHeight;
  if (betweenBars) {
    hiddenToolBar(!headerView->isHidden());
  } else {
    restartHiddenTimer();
  }
  preLocation = touch->locationInView(view().get());
}

void CmsMediaPlayerViewController::touchesMoved(const pf::TouchSet& touches, const pf::Event*) {
  if (touches.empty()) return;
  hiddenToolBar(false);
  currentLocation = touches.front()->locationInView(view().get());
  const double dx = currentLocation.x - preLocation.x;
  const double dy = currentLocation.y - preLocation.y;
  if (std::abs(dx) < std::abs(dy) || !volumeView) return;
  if (auto slider = volumeView->volumeSlider.lock()) {
    slider->setValue(slider->value() + kVolumePerPoint * static_cast<float>(dx));
    pf::MusicPlayerController::applicationMusicPlayer().setVolume(slider->value());
  }
}
