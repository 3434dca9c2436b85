#include "platform/media/MoviePlayerController.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

#include "platform/foundation/Clock.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/media/Mp4Header.h"
#include "platform/net/UrlContents.h"
#include "platform/text/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

namespace pf {

namespace {

std::mutex& configuredMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<std::string, double>& configured() {
  static std::map<std::string, double> durations;
  return durations;
}

// The movie box of a fast-start stream comes first; a megabyte holds it for hours of video.
constexpr std::size_t kStreamHeaderBytes = 1u << 20;
constexpr double kStreamHeaderTimeout = 30;

bool isHttpStream(const std::string& url) {
  return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

std::string timeText(double seconds) {
  // A movie header may claim up to 2^64 seconds; the cast of that is undefined, so the text stops at a
  // length far beyond any real movie.
  constexpr double kLongestShownSeconds = 1e15;
  const long whole = seconds > 0 ? static_cast<long>(std::min(seconds, kLongestShownSeconds)) : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

MoviePlayerController::MoviePlayerController() = default;

MoviePlayerController::MoviePlayerController(std::string contentURL) : contentURL_(std::move(contentURL)) {}

MoviePlayerController::~MoviePlayerController() {
  if (edgeTimer_) edgeTimer_->invalidate();
  if (clockTimer_) clockTimer_->invalidate();
}

void MoviePlayerController::configureDuration(const std::string& url, double seconds) {
  std::lock_guard lock(configuredMutex());
  if (seconds > 0 && std::isfinite(seconds)) {
    configured()[url] = seconds;
  } else {
    configured().erase(url);
  }
}

void MoviePlayerController::setContentURL(std::string url) {
  if (url == contentURL_) return;
  if (state_ != PlaybackState::Stopped) stop();
  contentURL_ = std::move(url);
  prepared_ = false;
  loading_ = false;
  duration_ = 0;
  position_ = 0;
  loadState_ = kLoadStateUnknown;
}

std::string MoviePlayerController::localPath() const {
  constexpr std::string_view scheme = "file://";
  if (contentURL_.rfind(scheme, 0) == 0) return contentURL_.substr(scheme.size());
  if (!contentURL_.empty() && contentURL_.front() == '/') return contentURL_;
  return {};
}

void MoviePlayerController::prepareToPlay() {
  if (prepared_ || loading_) return;
  loading_ = true;
  std::weak_ptr<MoviePlayerController> weak = weakSelf();
  RunLoop::main()->post([weak] {
    if (auto self = weak.lock()) self->load();
  });
}

void MoviePlayerController::load() {
  if (!loading_) return;  // the address changed meanwhile
  loading_ = false;
  std::optional<double> length;
  std::string why = "no length known for " + contentURL_;
  if (const std::string path = localPath(); !path.empty()) {
    length = Mp4Header::readDuration(path, &why);
  } else {
    std::lock_guard lock(configuredMutex());
    if (auto it = configured().find(contentURL_); it != configured().end()) length = it->second;
  }
  if (!length && isHttpStream(contentURL_)) return readStreamHeader();
  loaded(length, why);
}

// The stream's first bytes are read off the main thread; the answer counts only for the same address
// still unprepared.
void MoviePlayerController::readStreamHeader() {
  loading_ = true;
  std::weak_ptr<MoviePlayerController> weak = weakSelf();
  DispatchQueue::global()->async([weak, url = contentURL_] {
    auto why = std::make_shared<std::string>();
    std::optional<double> length;
    const auto prefix = UrlContents::readPrefix(url, kStreamHeaderBytes, kStreamHeaderTimeout);
    if (prefix.data) {
      length = Mp4Header::readDurationFromPrefix(*prefix.data, why.get());
    } else {
      *why = prefix.error ? prefix.error->localizedDescription() : "no answer";
    }
    DispatchQueue::main()->async([weak, url, length, why] {
      auto self = weak.lock();
      if (!self || self->contentURL_ != url || !self->loading_) return;
      self->loading_ = false;
      self->loaded(length, "stream " + url + ": " + *why);
    });
  });
}

void MoviePlayerController::loaded(std::optional<double> length, const std::string& why) {
  if (!length) {
    Log::write("movie player: " + why);
    loadState_ = kLoadStateUnknown;
    playWhenPrepared_ = false;
    return finish(FinishReason::PlaybackError);
  }
  duration_ = *length;
  position_ = std::clamp(initialPlaybackTime_, 0.0, duration_);
  prepared_ = true;
  loadState_ = kLoadStatePlayable | kLoadStatePlaythroughOK;
  post(kLoadStateDidChangeNotification);
  post(kDurationAvailableNotification);
  post(kIsPreparedToPlayDidChangeNotification);
  refreshView();
  if (playWhenPrepared_) {
    playWhenPrepared_ = false;
    play();
  }
}

void MoviePlayerController::play() {
  if (!prepared_) {
    playWhenPrepared_ = true;
    return prepareToPlay();
  }
  if (state_ == PlaybackState::Playing) return;
  if (currentPlaybackTime() >= duration_) position_ = 0;  // played to the end: from the start again
  setRate(1);
  setState(PlaybackState::Playing);
}

void MoviePlayerController::pause() {
  playWhenPrepared_ = false;
  if (!prepared_ || state_ == PlaybackState::Paused) return;
  setRate(0);
  setState(PlaybackState::Paused);
}

void MoviePlayerController::stop() {
  playWhenPrepared_ = false;
  setRate(0);
  position_ = 0;
  if (state_ != PlaybackState::Stopped) setState(PlaybackState::Stopped);
}

void MoviePlayerController::beginSeekingForward() {
  if (!prepared_) return;
  setRate(kSeekRate);
  setState(PlaybackState::SeekingForward);
}

void MoviePlayerController::beginSeekingBackward() {
  if (!prepared_) return;
  setRate(-kSeekRate);
  setState(PlaybackState::SeekingBackward);
}

void MoviePlayerController::endSeeking() {
  if (state_ != PlaybackState::SeekingForward && state_ != PlaybackState::SeekingBackward) return;
  setRate(1);
  setState(PlaybackState::Playing);
}

double MoviePlayerController::currentPlaybackTime() const {
  const double t = position_ + rate_ * (Clock::now() - anchor_);
  return std::clamp(t, 0.0, duration_);
}

void MoviePlayerController::setCurrentPlaybackTime(double seconds) {
  if (!std::isfinite(seconds)) return;
  position_ = std::clamp(seconds, 0.0, duration_);
  anchor_ = Clock::now();
  scheduleEdge();
  refreshView();
}

void MoviePlayerController::setScalingMode(ScalingMode mode) {
  if (mode == scalingMode_) return;
  scalingMode_ = mode;
  post(kScalingModeDidChangeNotification);
}

void MoviePlayerController::setFullscreen(bool fullscreen, bool /*animated*/) {
  if (fullscreen == fullscreen_) return;
  post(fullscreen ? kWillEnterFullscreenNotification : kWillExitFullscreenNotification);
  fullscreen_ = fullscreen;
  post(fullscreen ? kDidEnterFullscreenNotification : kDidExitFullscreenNotification);
}

void MoviePlayerController::setState(PlaybackState state) {
  state_ = state;
  refreshView();
  post(kPlaybackStateDidChangeNotification);
}

// Folds the time so far into position_ and moves on at the new rate.
void MoviePlayerController::setRate(double rate) {
  position_ = currentPlaybackTime();
  anchor_ = Clock::now();
  rate_ = rate;
  scheduleEdge();
  if (clockTimer_) clockTimer_->invalidate();
  clockTimer_.reset();
  if (rate == 0) return;
  std::weak_ptr<MoviePlayerController> weak = weakSelf();
  clockTimer_ = Timer::scheduled(1, true, [weak](Timer&) {
    if (auto self = weak.lock()) self->refreshView();
  });
}

void MoviePlayerController::scheduleEdge() {
  if (edgeTimer_) edgeTimer_->invalidate();
  edgeTimer_.reset();
  if (rate_ == 0) return;
  const double now = currentPlaybackTime();
  const double wait = rate_ > 0 ? (duration_ - now) / rate_ : now / -rate_;
  std::weak_ptr<MoviePlayerController> weak = weakSelf();
  edgeTimer_ = Timer::scheduled(std::max(0.0, wait), false, [weak](Timer&) {
    if (auto self = weak.lock()) self->reachEdge();
  });
}

void MoviePlayerController::reachEdge() {
  edgeTimer_.reset();
  if (rate_ < 0) {  // seeking back reached the start: play from there
    position_ = 0;
    setRate(1);
    return setState(PlaybackState::Playing);
  }
  if (repeatMode_ == RepeatMode::One) {
    position_ = 0;
    anchor_ = Clock::now();
    return scheduleEdge();
  }
  position_ = duration_;
  rate_ = 0;
  if (clockTimer_) clockTimer_->invalidate();
  clockTimer_.reset();
  setState(PlaybackState::Paused);
  finish(FinishReason::PlaybackEnded);
}

void MoviePlayerController::finish(FinishReason reason) {
  Dictionary info;
  info[kPlaybackDidFinishReasonUserInfoKey] = Value(static_cast<int>(reason));
  NotificationCenter::defaultCenter().post(kPlaybackDidFinishNotification, shared_from_this(),
                                           std::move(info));
}

void MoviePlayerController::post(const char* name) {
  NotificationCenter::defaultCenter().post(name, shared_from_this());
}

const std::shared_ptr<View>& MoviePlayerController::view() {
  if (!view_) {
    view_ = std::make_shared<View>(Rect(0, 0, 320, 240));
    view_->setBackgroundColor(Color::black());
    view_->setClipsToBounds(true);
    timeLabel_ = std::make_shared<Label>(Rect(0, 0, 320, 240));
    timeLabel_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
    timeLabel_->setTextColor(Color::white());
    timeLabel_->setTextAlignment(TextAlignment::center);
    timeLabel_->setFont(Font::systemFont(15));
    view_->addSubview(backgroundView());
    view_->addSubview(timeLabel_);
    refreshView();
  }
  return view_;
}

const std::shared_ptr<View>& MoviePlayerController::backgroundView() {
  if (!backgroundView_) {
    backgroundView_ = std::make_shared<View>(Rect(0, 0, 320, 240));
    backgroundView_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
  }
  return backgroundView_;
}

void MoviePlayerController::refreshView() {
  if (!timeLabel_) return;
  const char* mark = state_ == PlaybackState::Playing ? "\u25B6 " : "\u2016 ";
  timeLabel_->setText(mark + timeText(currentPlaybackTime()) + " / " + timeText(duration_));
}

}  // namespace pf
