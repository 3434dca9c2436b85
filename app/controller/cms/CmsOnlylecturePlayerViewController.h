#pragma once
// The player of a unit without a video: its lecture page in landscape under a header with the back
// button. The seconds from the page's last completed load to the back press are saved as study time;
// a missing page says so and closes the player without saving, and so does a back before the page
// has loaded.
//
// Main thread only; the save runs synchronously on it.

#include <memory>
#include <optional>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/CmsMediaPlayerHeaderViewDelegate.h"
#include "platform/ui/WebView.h"

class CmsMediaPlayerHeaderView;
class CoursePlayerService;
class CourseViewInfo;
class ScoViewInfo;

class CmsOnlylecturePlayerViewController : public BaseViewController,
                                           public CmsMediaPlayerHeaderViewDelegate,
                                           public pf::WebViewDelegate {
  PF_OBJECT(CmsOnlylecturePlayerViewController, BaseViewController)

  static constexpr char kMissingLecture[] = "找不到该讲义！";
  static constexpr char kMissingPageMark[] = "404 Not Found";
  static constexpr double kBarHeight = 44;

  CmsOnlylecturePlayerViewController();
  ~CmsOnlylecturePlayerViewController() override;

  std::shared_ptr<CmsMediaPlayerHeaderView> headerView;
  std::shared_ptr<pf::WebView> webView;
  std::shared_ptr<CoursePlayerService> playerService;
  // Clock time the page last finished loading; none before.
  std::optional<double> startTime;
  std::shared_ptr<CourseViewInfo> courseViewInfo;
  std::shared_ptr<ScoViewInfo> scoViewInfo;

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

  void backButtonPressed() override;
  void webViewDidFinishLoad(pf::WebView& webView) override;
  void didFailLoadWithError(pf::WebView& webView, const pf::Error& error) override;
  void hudWasHidden(ProgressHUD& hud) override;

 private:
  void showMissingLecture();
  // Pops the container when it is still the top screen.
  void popPlayer();
};
