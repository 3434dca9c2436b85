#pragma once
// The video player of a unit: full screen in landscape, from the downloaded file when there is one
// and from the server otherwise, with its own header (back, title, lecture), bottom bar (play/pause,
// times, progress slider) and volume strip over the video, and the unit's lecture page behind the
// lecture button. Seeking past the furthest point saved is refused unless the unit is complete or the
// course standard lets the learner seek freely. Every halt of playback hands the stretch played since
// playing began to the study-progress service, once.
//
// Made by the player container with the course and unit it shows; both are updated in place.
// Main thread only: notifications, timers, touches and the progress service's synchronous save.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cms/CmsMediaPlayerBottomViewDelegate.h"
#include "app/controller/cms/CmsMediaPlayerHeaderViewDelegate.h"
#include "app/controller/cms/CmsMediaPlayerVolumeViewDelegate.h"
#include "app/controller/cms/MeidaPlayer.h"
#include "platform/graphics/Point.h"
#include "platform/ui/WebView.h"

namespace pf {
class ActivityIndicatorView;
class ImageView;
class Timer;
}  // namespace pf
class CmsMediaPlayerBottomView;
class CmsMediaPlayerHeaderView;
class CmsMediaPlayerVolumeView;
class CoursePlayerService;
class CourseViewInfo;
class DownloadService;
class ScoViewInfo;

class CmsMediaPlayerViewController : public MeidaPlayer,
                                     public CmsMediaPlayerHeaderViewDelegate,
                                     public CmsMediaPlayerBottomViewDelegate,
                                     public CmsMediaPlayerVolumeViewDelegate,
                                     public pf::WebViewDelegate {
  PF_OBJECT(CmsMediaPlayerViewController, MeidaPlayer)

  static constexpr double kProgressInterval = 1.0;
  static constexpr double kHideInterval = 3.0;
  static constexpr double kBarHeight = 44;
  static constexpr float kVolumePerPoint = 0.0005f;
  static constexpr char kSeekRefused[] = "未完成该时间学习";
  static constexpr char kOffline[] = "当前网络不可用";
  static constexpr char kVideoMissing[] = "该视频信息不存在！";
  static constexpr char kMissingLecture[] = "404 Not Found";
  static constexpr char kLogo[] = "CMN_BASE_title_logo.png";

  CmsMediaPlayerViewController();
  explicit CmsMediaPlayerViewController(std::string nibName);
  ~CmsMediaPlayerViewController() override;

  std::shared_ptr<CmsMediaPlayerHeaderView> headerView;
  std::shared_ptr<CmsMediaPlayerBottomView> bottomView;
  std::shared_ptr<CmsMediaPlayerVolumeView> volumeView;
  std::shared_ptr<pf::ActivityIndicatorView> activityView;
  std::shared_ptr<pf::ImageView> logoImageView;
  std::shared_ptr<pf::WebView> webView;
  // The video's length in seconds; 0 until the player tells it.
  double totalTime = 0;
  pf::Point preLocation;
  pf::Point currentLocation;
  std::shared_ptr<DownloadService> downloadService;
  std::shared_ptr<CoursePlayerService> playerService;
  bool isPlay = false;
  int currentBtnState = 1;
  std::shared_ptr<CourseViewInfo> courseViewInfo;
  std::shared_ptr<ScoViewInfo> scoViewInfo;
  std::shared_ptr<pf::Timer> hiddenTimer;
  std::shared_ptr<pf::Timer> progressTimer;
  // Clock time the stretch being played began; none while playback is halted, so a halt after a halt
  // reports nothing more.
  std::optional<double> studyDate;

  // "HH:MM:SS", each part of at least two digits.
  static std::string stringFromTime(double seconds);
  // Whether releasing the slider at the target (seconds) may seek there.
  bool canSeekTo(double target) const;

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  bool shouldAutorotate() override { return false; }
  bool shouldAutorotateToInterfaceOrientation(Orientation) override { return false; }

  void addToolBar() override;
  void moviePlayBackStateDidChange() override;
  void mediaIsPreparedToPlayDidChange() override;
  void movieDurationAvailable() override;
  void moviePlayBackDidFinish(int reason) override;

  void updateBottomView();
  void hiddenToolBar(bool hidden);
  void restartHiddenTimer();
  void restartProgressTimer();
  void showTipToUserWithMessage(const std::string& message, std::weak_ptr<ProgressHUDDelegate> delegate = {});

  void backButtonPressed() override;
  void lectureButtonPressedWithLectureButtonState(int state) override;
  void playButtonPressedWithState(int state) override;
  void progressSliderValueChangeWithValue(float value) override;
  void progressSliderValueChangingWithValue(float value) override;
  void setSystemVolume(float value) override;
  void touchBeginVolumeView() override;
  void webViewDidFinishLoad(pf::WebView& webView) override;
  void didFailLoadWithError(pf::WebView& webView, const pf::Error& error) override;
  void hudWasHidden(ProgressHUD& hud) override;

  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;
  void touchesMoved(const pf::TouchSet& touches, const pf::Event* event) override;

 private:
  void haltStudy();
  void stopTimers();
  // Pops the container when it is still the top screen.
  void popPlayer();
};
