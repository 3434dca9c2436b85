#include "app/controller/cms/MeidaPlayer.h"

#include "app/controller/cms/CmsMediaPlayerRotation.h"
#include "app/controller/cms/MoviePlayerUserPrefs.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/graphics/Color.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"

using Movie = pf::MoviePlayerController;

namespace {

// The extension of the address's last path component, without query or fragment.
std::string meidaPlayerPathExtension(const std::string& url) {
  const std::string path = url.substr(0, url.find_first_of("?#"));
  const std::string last = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
  const auto dot = last.find_last_of('.');
  return dot == std::string::npos ? "" : last.substr(dot + 1);
}

}  // namespace

MeidaPlayer::MeidaPlayer() = default;
MeidaPlayer::MeidaPlayer(std::string nibName) : BaseViewController(std::move(nibName)) {}
MeidaPlayer::~MeidaPlayer() = default;

void MeidaPlayer::viewDidLoad() {
  BaseViewController::viewDidLoad();
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
  pf::Application::sharedApplication().setStatusBarOrientation(pf::Application::InterfaceOrientation::LandscapeRight,
                                                               false);
}

void MeidaPlayer::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
  if (moviePlayerController) applyUserSettingsToMoviePlayer();
}

void MeidaPlayer::viewWillDisappear(bool animated) {
  BaseViewController::viewWillDisappear(animated);
  removeMovieViewFromViewHierarchy();
  deletePlayerAndNotificationObservers();
  auto& application = pf::Application::sharedApplication();
  application.setStatusBarOrientation(pf::Application::InterfaceOrientation::Portrait, false);
  application.setStatusBarHidden(false);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(false);
}

void MeidaPlayer::playMovieFile(const std::string& fileUrl) { createAndPlayMovieForURL(fileUrl, Movie::SourceType::File); }

void MeidaPlayer::playMovieStream(const std::string& url) {
  const bool mp4 = pf::text::lowercase(meidaPlayerPathExtension(url)) == "mp4";
  createAndPlayMovieForURL(url, mp4 ? Movie::SourceType::Streaming : Movie::SourceType::Unknown);
}

void MeidaPlayer::createAndPlayMovieForURL(const std::string& url, Movie::SourceType type) {
  if (moviePlayerController) {
    removeMovieViewFromViewHierarchy();
    deletePlayerAndNotificationObservers();
  }
  moviePlayerController = std::make_shared<Movie>();
  installMovieNotificationObservers();
  moviePlayerController->setMovieSourceType(type);
  applyUserSettingsToMoviePlayer();
  moviePlayerController->setContentURL(url);
  auto& application = pf::Application::sharedApplication();
  application.setStatusBarHidden(true);
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  auto movieView = moviePlayerController->view();
  CmsMediaPlayerRotation::turnIntoPlace(*movieView, screen.height(), screen.width(), 0, 0);
  movieView->setBackgroundColor(pf::Color::black());
  view()->addSubview(movieView);
  application.setStatusBarOrientation(pf::Application::InterfaceOrientation::LandscapeRight, false);
  moviePlayerController->prepareToPlay();
  addToolBar();
  moviePlayerController->prepareToPlay();
}

void MeidaPlayer::installMovieNotificationObservers() {
  auto& center = pf::NotificationCenter::defaultCenter();
  std::weak_ptr<MeidaPlayer> weak = std::static_pointer_cast<MeidaPlayer>(shared_from_this());
  const void* player = moviePlayerController.get();
  auto hook = [&](const char* name, void (MeidaPlayer::*method)()) {
    observers_.push_back(center.addObserver(name, player, [weak, method](const pf::Notification&) {
      if (auto self = weak.lock()) ((*self).*method)();
    }));
  };
  hook(Movie::kLoadStateDidChangeNotification, &MeidaPlayer::loadStateDidChange);
  hook(Movie::kIsPreparedToPlayDidChangeNotification, &MeidaPlayer::mediaIsPreparedToPlayDidChange);
  hook(Movie::kPlaybackStateDidChangeNotification, &MeidaPlayer::moviePlayBackStateDidChange);
  hook(Movie::kScalingModeDidChangeNotification, &MeidaPlayer::moviePlayerScalingModeDidChange);
  hook(Movie::kWillEnterFullscreenNotification, &MeidaPlayer::moviePlayerWillEnterFullscreen);
  hook(Movie::kDurationAvailableNotification, &MeidaPlayer::movieDurationAvailable);
  observers_.push_back(center.addObserver(Movie::kPlaybackDidFinishNotification, player,
                                          [weak](const pf::Notification& notification) {
                                            auto self = weak.lock();
                                            if (!self) return;
                                            auto reason = notification.userInfo.find(
                                                Movie::kPlaybackDidFinishReasonUserInfoKey);
                                            self->moviePlayBackDidFinish(
                                                reason == notification.userInfo.end() ? 0 : reason->second.intValue());
                                          }));
}

void MeidaPlayer::overlayViewCloseButtonPress() {
  if (moviePlayerController) moviePlayerController->stop();
  removeMovieViewFromViewHierarchy();
  deletePlayerAndNotificationObservers();
}

void MeidaPlayer::removeMovieViewFromViewHierarchy() {
  if (moviePlayerController) moviePlayerController->view()->removeFromSuperview();
}

void MeidaPlayer::deletePlayerAndNotificationObservers() {
  observers_.clear();
  moviePlayerController.reset();
}

void MeidaPlayer::applyUserSettingsToMoviePlayer() {
  if (moviePlayerController) MoviePlayerUserPrefs::applyToMoviePlayer(*moviePlayerController);
}

void MeidaPlayer::displayErrorInfoWithMessage(const std::string& message) { showErrorInfoWithMessage(message); }

void MeidaPlayer::movieDurationAvailable() {
  if (moviePlayerController) pf::Log::write(pf::format("the time is %f", moviePlayerController->duration()));
}
