#pragma once
// A full-screen movie screen: owns the platform movie player, installs its seven observers and hands
// each notification to a hook a subclass overrides, applies the movie preferences, and takes the
// player and its view away again when the screen goes.
//
// Main thread only; the player posts its notifications on it, synchronously.

#include <memory>
#include <string>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/media/MoviePlayerController.h"

class MeidaPlayer : public BaseViewController {
  PF_OBJECT(MeidaPlayer, BaseViewController)

  MeidaPlayer();
  explicit MeidaPlayer(std::string nibName);
  ~MeidaPlayer() override;

  // Nil while no video is set up.
  std::shared_ptr<pf::MoviePlayerController> moviePlayerController;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

  void playMovieFile(const std::string& fileUrl);
  void playMovieStream(const std::string& url);
  // Stops the player while its observers still listen, then takes its view and observers away.
  void overlayViewCloseButtonPress();
  void removeMovieViewFromViewHierarchy();
  void deletePlayerAndNotificationObservers();
  void applyUserSettingsToMoviePlayer();
  void displayErrorInfoWithMessage(const std::string& message);

  // Hooks.
  virtual void addToolBar() {}
  virtual void moviePlayBackStateDidChange() {}
  virtual void mediaIsPreparedToPlayDidChange() {}
  virtual void movieDurationAvailable();
  virtual void loadStateDidChange() {}
  virtual void moviePlayerScalingModeDidChange() {}
  virtual void moviePlayerWillEnterFullscreen() {}
  // reason: 0 ended, 1 error, 2 user exited.
  virtual void moviePlayBackDidFinish(int reason) { (void)reason; }

 private:
  void createAndPlayMovieForURL(const std::string& url, pf::MoviePlayerController::SourceType type);
  void installMovieNotificationObservers();

  std::vector<pf::NotificationCenter::Observation> observers_;
};
