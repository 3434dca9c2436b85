#pragma once
// Plays a movie file or stream as far as the rest of the system can tell: states, load states, the
// notifications, the current time moving on the run-loop clock, seeking and the end. Nothing is
// decoded: its view shows a still placeholder with the time. The length comes from configureDuration
// when given one for the address, else from the MP4 header of a local file or of the first bytes of an
// http stream (read off the main thread); without one the load fails. Main thread only.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

namespace pf {

class Label;
class Timer;
class View;

class MoviePlayerController : public Object {
  PF_OBJECT(MoviePlayerController, Object)

  // The platform's numbers.
  enum class PlaybackState {
    Stopped = 0,
    Playing = 1,
    Paused = 2,
    Interrupted = 3,
    SeekingForward = 4,
    SeekingBackward = 5
  };
  enum LoadState : unsigned {
    kLoadStateUnknown = 0,
    kLoadStatePlayable = 1,
    kLoadStatePlaythroughOK = 2,
    kLoadStateStalled = 4
  };
  enum class SourceType { Unknown = 0, File = 1, Streaming = 2 };
  enum class ControlStyle { None = 0, Embedded = 1, Fullscreen = 2, Default = 3 };
  enum class ScalingMode { None = 0, AspectFit = 1, AspectFill = 2, Fill = 3 };
  enum class RepeatMode { None = 0, One = 1 };
  enum class FinishReason { PlaybackEnded = 0, PlaybackError = 1, UserExited = 2 };

  static constexpr char kLoadStateDidChangeNotification[] = "MPMoviePlayerLoadStateDidChangeNotification";
  static constexpr char kPlaybackDidFinishNotification[] = "MPMoviePlayerPlaybackDidFinishNotification";
  static constexpr char kPlaybackDidFinishReasonUserInfoKey[] =
      "MPMoviePlayerPlaybackDidFinishReasonUserInfoKey";
  static constexpr char kIsPreparedToPlayDidChangeNotification[] =
      "MPMediaPlaybackIsPreparedToPlayDidChangeNotification";
  static constexpr char kPlaybackStateDidChangeNotification[] =
      "MPMoviePlayerPlaybackStateDidChangeNotification";
  static constexpr char kScalingModeDidChangeNotification[] = "MPMoviePlayerScalingModeDidChangeNotification";
  static constexpr char kDurationAvailableNotification[] = "MPMovieDurationAvailableNotification";
  static constexpr char kWillEnterFullscreenNotification[] = "MPMoviePlayerWillEnterFullscreenNotification";
  static constexpr char kDidEnterFullscreenNotification[] = "MPMoviePlayerDidEnterFullscreenNotification";
  static constexpr char kWillExitFullscreenNotification[] = "MPMoviePlayerWillExitFullscreenNotification";
  static constexpr char kDidExitFullscreenNotification[] = "MPMoviePlayerDidExitFullscreenNotification";
  // Seconds of movie per second while seeking.
  static constexpr double kSeekRate = 4;

  MoviePlayerController();
  explicit MoviePlayerController(std::string contentURL);
  ~MoviePlayerController() override;

  // The length of a movie that is not a readable local MP4 file (streams); 0 forgets it.
  static void configureDuration(const std::string& url, double seconds);

  const std::string& contentURL() const { return contentURL_; }
  // A new address stops what plays and forgets what was prepared.
  void setContentURL(std::string url);
  SourceType movieSourceType() const { return sourceType_; }
  void setMovieSourceType(SourceType type) { sourceType_ = type; }

  // Loads on the main loop, then posts the load state, the duration and prepared-to-play.
  void prepareToPlay();
  bool isPreparedToPlay() const { return prepared_; }
  void play();
  void pause();
  void stop();
  void beginSeekingForward();
  void beginSeekingBackward();
  void endSeeking();

  PlaybackState playbackState() const { return state_; }
  unsigned loadState() const { return loadState_; }
  // Always within 0 and the duration.
  double currentPlaybackTime() const;
  void setCurrentPlaybackTime(double seconds);
  double initialPlaybackTime() const { return initialPlaybackTime_; }
  void setInitialPlaybackTime(double seconds) { initialPlaybackTime_ = seconds; }
  // 0 until known.
  double duration() const { return duration_; }
  double playableDuration() const { return prepared_ ? duration_ : 0; }

  ControlStyle controlStyle() const { return controlStyle_; }
  void setControlStyle(ControlStyle style) { controlStyle_ = style; }
  ScalingMode scalingMode() const { return scalingMode_; }
  void setScalingMode(ScalingMode mode);
  RepeatMode repeatMode() const { return repeatMode_; }
  void setRepeatMode(RepeatMode mode) { repeatMode_ = mode; }
  bool useApplicationAudioSession() const { return useApplicationAudioSession_; }
  void setUseApplicationAudioSession(bool use) { useApplicationAudioSession_ = use; }
  bool allowsAirPlay() const { return allowsAirPlay_; }
  void setAllowsAirPlay(bool allows) { allowsAirPlay_ = allows; }
  bool shouldAutoplay() const { return shouldAutoplay_; }
  void setShouldAutoplay(bool autoplay) { shouldAutoplay_ = autoplay; }
  bool isFullscreen() const { return fullscreen_; }
  void setFullscreen(bool fullscreen, bool animated = false);

  const std::shared_ptr<View>& view();
  const std::shared_ptr<View>& backgroundView();
  // The local file behind the content address, empty for other addresses.
  std::string localPath() const;

 private:
  std::weak_ptr<MoviePlayerController> weakSelf() {
    return std::static_pointer_cast<MoviePlayerController>(shared_from_this());
  }
  void load();
  void readStreamHeader();
  void loaded(std::optional<double> length, const std::string& why);
  void setState(PlaybackState state);
  void setRate(double rate);
  void scheduleEdge();
  void reachEdge();
  void finish(FinishReason reason);
  void post(const char* name);
  void refreshView();

  std::string contentURL_;
  SourceType sourceType_ = SourceType::Unknown;
  PlaybackState state_ = PlaybackState::Stopped;
  unsigned loadState_ = kLoadStateUnknown;
  double duration_ = 0;
  double initialPlaybackTime_ = 0;
  // The time is position_ at anchor_ on the clock, moving at rate_.
  double position_ = 0;
  double anchor_ = 0;
  double rate_ = 0;
  bool loading_ = false;
  bool prepared_ = false;
  bool playWhenPrepared_ = false;
  bool fullscreen_ = false;
  bool useApplicationAudioSession_ = true;
  bool allowsAirPlay_ = false;
  bool shouldAutoplay_ = true;
  ControlStyle controlStyle_ = ControlStyle::Default;
  ScalingMode scalingMode_ = ScalingMode::AspectFit;
  RepeatMode repeatMode_ = RepeatMode::None;
  std::shared_ptr<Timer> edgeTimer_;
  std::shared_ptr<Timer> clockTimer_;
  std::shared_ptr<View> view_;
  std::shared_ptr<View> backgroundView_;
  std::shared_ptr<Label> timeLabel_;
};

}  // namespace pf
