#pragma once
// The course detail's download tab: one course's units, each with a download button, so the learner
// can fetch units for offline study. Also pushed by the download manager to fetch more units of a
// downloaded course; there it keeps the download service's observer to itself. A course not yet
// selected offers the selection before anything downloads or plays.
//
// Main thread, except the course selection, which runs on a global queue and returns to main.

#include <memory>

#include "app/controller/cms/CmsDetailBaseViewController.h"
#include "app/controller/cms/CmsDetailDownloadCellDelegate.h"
#include "app/service/cms/DownloadDelegate.h"

class DownloadService;
class ScoViewInfo;

class CmsDownloadViewCotnroller : public CmsDetailBaseViewController,
                                  public CmsDetailDownloadCellDelegate,
                                  public DownloadDelegate {
  PF_OBJECT(CmsDownloadViewCotnroller, CmsDetailBaseViewController)

  static constexpr int kInsideDetail = 0;
  static constexpr int kFromManager = 1;
  static constexpr char kTitle[] = "下载";
  static constexpr char kOffline[] = "无网络连接";
  static constexpr char kCellularPrompt[] = "您正在使用2G/3G网络环境，是否继续下载课程？";
  using PlayerFactory = std::function<std::shared_ptr<pf::ViewController>(
      const std::shared_ptr<CourseViewInfo>& course, const std::shared_ptr<ScoViewInfo>& unit)>;

  CmsDownloadViewCotnroller();
  ~CmsDownloadViewCotnroller() override;

  // The opener's view type (the shell's own, or 1 from the download manager).
  int viewType = 0;
  // 0 inside the course detail, 1 when pushed by the download manager: whose badge a start refreshes.
  int fromViewType = kInsideDetail;
  std::shared_ptr<DownloadService> dServer;
  // The unit waiting for the answer to the cellular prompt.
  std::shared_ptr<ScoViewInfo> scoViewInfo;
  // The prompt last laid over the window, or null.
  std::shared_ptr<CmsCourseUnSelectedPromptView> unSelectPromptVC;
  // Makes what opening a unit pushes: the player container unless replaced.
  PlayerFactory makePlayer;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  bool refreshData() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

  void startDownloadSco(const std::shared_ptr<ScoViewInfo>& unit) override;
  void hasDownloadedSco(const std::shared_ptr<ScoViewInfo>& unit) override;
  // The prompt's "选择": selects the course when it is not selected yet.
  void comfirmPrompt() override;
  void clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) override;

  // "下载列表" inside the course detail: the course module's tab root shows the download manager.
  void rightBtnPressed() override;
  // "下载列表" when pushed by the download manager: back to it.
  void goback();
  // The tab's own "下载列表" badge: the number of downloading units.
  void resetRightBadgeNumber();

  void downloadStartedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override;
  void downloadFinishedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override;
  void downloadHasBeenRemovedRequest(const HttpRequest::Ptr& request, const Unit& scoId, int downType,
                                     const pf::ErrorPtr& errorInfo) override;

 private:
  // Lays the unselected-course prompt over the window; answers whether the course is selected.
  bool checkCourseHasSelected();
  void startUnit(const std::shared_ptr<ScoViewInfo>& unit);
  void refreshBadge();
  void openUnit(const std::shared_ptr<ScoViewInfo>& unit);
  // The observer this tab hands the service: the detail shell, or itself when pushed alone.
  std::shared_ptr<DownloadDelegate> observer();

  std::shared_ptr<pf::AlertView> cellularAlert_;
  std::shared_ptr<pf::AlertView> offlineAlert_;
};
