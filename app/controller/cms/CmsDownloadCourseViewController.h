#pragma once
// The download manager, first screen of the course module's fourth tab: the units still downloading
// (view 0, a tap pauses or resumes), the courses with downloaded units (view 2) and one course's
// downloaded units (view 4, a tap studies the unit offline, a last row fetches more units). Edit mode
// marks rows for deletion under a bar laid over the tab bar. While it shows, the manager is the
// download service's observer.
//
// Main thread only; the download service calls back on it.

#include <memory>
#include <optional>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/CmsDownloadDeleteBarDelegate.h"
#include "app/controller/cms/CmsDownloadSwitchBarDelegate.h"
#include "app/controller/cms/CmsScoDownloadedCellDelegate.h"
#include "app/service/cms/DownloadDelegate.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TableView.h"

namespace pf {
class Label;
}  // namespace pf
class CmnNaviBtnItem;
class CmsDownloadDeleteBar;
class CmsDownloadSwitchBar;
class CommonService;
class CourseDownloadInfo;
class CourseService;
class DownloadService;
class SelectedObject;

class CmsDownloadCourseViewController : public BaseViewController,
                                        public pf::TableViewDataSource,
                                        public pf::TableViewDelegate,
                                        public CmsDownloadDeleteBarDelegate,
                                        public pf::AlertViewDelegate,
                                        public CmsDownloadSwitchBarDelegate,
                                        public DownloadDelegate,
                                        public CmsScoDownloadedCellDelegate {
  PF_OBJECT(CmsDownloadCourseViewController, BaseViewController)

  static constexpr int kDownloading = 0;
  static constexpr int kDownloadedCourses = 2;
  static constexpr int kDownloadedUnits = 4;
  static constexpr long kCellularTag = 0;
  static constexpr long kDeleteTag = 1;
  static constexpr double kDeleteBarHeight = 56;
  static constexpr char kTitle[] = "下载管理";
  static constexpr char kOffline[] = "无网络连接";
  static constexpr char kCellularPrompt[] = "您正在使用2G/3G网络环境，是否继续下载课程？";
  static constexpr char kDeletePrompt[] = "删除后您将无法离线学习,确定删除吗？";
  using Items = std::vector<std::shared_ptr<SelectedObject>>;

  CmsDownloadCourseViewController();
  explicit CmsDownloadCourseViewController(std::string nibName);
  ~CmsDownloadCourseViewController() override;

  std::shared_ptr<CmsDownloadDeleteBar> deleteBar;
  std::shared_ptr<CmsDownloadSwitchBar> downloadSwitchBar;
  std::shared_ptr<DownloadService> dServer;
  std::shared_ptr<CourseService> courseServer;
  std::shared_ptr<CommonService> commonServer;
  bool isOnEditing() const { return isOnEditing_; }
  std::optional<Items> editableItems;
  std::shared_ptr<CourseDownloadInfo> selectedCourseInfo;
  // The unit waiting for the answer to the cellular prompt.
  pf::ObjectPtr downloadSco;
  std::shared_ptr<CmnNaviBtnItem> navBtnItem;
  std::weak_ptr<pf::TableView> downloadContentView;
  std::weak_ptr<pf::View> noDownloadInfoPromptView;
  std::weak_ptr<pf::Label> downloadPromptTitleLabel;
  std::weak_ptr<pf::Label> downloadPromptLabel1;
  std::weak_ptr<pf::Label> downloadPromptLabel2;

  int downType() const { return downType_; }
  // Shows view 0, 2 or 4 with its items.
  void setDownType(int type);
  void setIsOnEditing(bool editing);
  void edit();
  void refreshCounts();
  void checkShouldPromptNoDownloadInfos();
  void deleteFiles();

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

  void leftItemDidSelected(bool selectAll) override;
  void rightItemDidSelected() override;
  void clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) override;
  void selectedDownloadType(bool downloading) override;
  void selectedMoreChapter() override;

  void downloadStartedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override;
  void downloadRefreshDownloadedProgress() override;
  void downloadFailedRequest(const HttpRequest::Ptr& request, const Unit& scoId,
                             const pf::ErrorPtr& errorInfo) override;
  void downloadPausedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override;
  void downloadFinishedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override;
  void downloadWaitRequest(const HttpRequest::Ptr& request, const Unit& scoId) override;

  // The tab root the manager's navigation controller lives in.
  std::shared_ptr<pf::ViewController> tabRoot() const;

 private:
  using Step = void (CmsDownloadCourseViewController::*)();

  std::vector<pf::ObjectPtr> listOfView(int type);
  void reloadTable();
  // Reports arrive for every chunk of every transfer and every waiting unit: one reload at the next
  // turn of the main loop shows them all (a reload per report held the loop for seconds with 500 rows).
  void reloadTableSoon();
  // Runs the step once at the next turn of the main loop, however often it is asked for before then.
  void onNextTurn(bool CmsDownloadCourseViewController::*pending, Step step);
  // The rows of the unit's finished records leave the downloading view, marks of the others kept.
  void removeFinishedRows(const Unit& scoId);
  // What follows finished transfers beyond their rows: the counts, and the downloaded views read again.
  void refreshAfterFinishes();
  // The delete bar's total, the edit button and edit mode after the items changed.
  void showItemCount();
  void placeDeleteBar();
  void tapDownloading(size_t index);
  void openDownloadedUnit(size_t index);
  void toggleMark(size_t index, const pf::IndexPath& indexPath);
  size_t unitRowsShown() const;
  bool hasMoreRow() const;

  int downType_ = kDownloading;
  bool isOnEditing_ = false;
  std::shared_ptr<pf::AlertView> pendingAlert_;
  bool reloadPending_ = false;
  bool finishesPending_ = false;
};
