#pragma once
// The course detail: four tabs over one course (study, brief, comments, download) and the navigation
// bar each tab dresses when it shows. Made with the default constructor; the opener sets
// hidesBottomBarWhenPushed, viewType and the course (its units loaded) before pushing it.
//
// The tabs hold the shell weakly, so a closed detail is freed with its tabs. Download events arrive
// while the download tab has made the shell the download service's delegate.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseViewDelegate.h"
#include "app/controller/cms/CmsDetailBaseViewControllerDelegate.h"
#include "app/service/cms/DownloadDelegate.h"
#include "platform/ui/TabBarController.h"

class CmnNaviBtnItem;
class CmsBriefViewController;
class CmsCommentViewController;
class CmsDetailBaseViewController;
class CmsStudyViewController;
class CourseViewInfo;
class DownloadService;

class CmsDetailViewController : public pf::TabBarController,
                                public pf::TabBarControllerDelegate,
                                public CmsDetailBaseViewControllerDelegate,
                                public DownloadDelegate,
                                public BaseViewDelegate {
  PF_OBJECT(CmsDetailViewController, pf::TabBarController)

  // 1 when opened from the learner's own courses, 0 from the catalogue, a category or a search.
  static constexpr int kViewTypeCatalogue = 0;
  static constexpr int kViewTypeMyCourses = 1;
  static constexpr char kSelectText[] = "选择";
  static constexpr char kRemoveText[] = "移除";
  static constexpr char kSelectIcon[] = "CMS_VIEW_add.png";
  static constexpr char kRemoveIcon[] = "CMS_VIEW_remove.png";
  static constexpr char kOwnWay[] = "SELF";

  CmsDetailViewController();
  ~CmsDetailViewController() override;

  int viewType = kViewTypeCatalogue;
  std::shared_ptr<DownloadService> downloadServer;

  const std::shared_ptr<CourseViewInfo>& courseViewInfo() const { return courseViewInfo_; }
  void setCourseViewInfo(std::shared_ptr<CourseViewInfo> info) { courseViewInfo_ = std::move(info); }
  // The tab last dressed.
  std::shared_ptr<pf::ViewController> selectedController() const { return selected_.lock(); }

  std::shared_ptr<CmsStudyViewController> studyTab() const { return study_; }
  std::shared_ptr<CmsBriefViewController> briefTab() const { return brief_; }
  std::shared_ptr<CmsCommentViewController> commentTab() const { return comment_; }
  std::shared_ptr<pf::ViewController> downloadTab() const { return download_; }

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void setTitle(std::optional<std::string> title) override;
  void goback();
  bool showAppNavigatorView() override { return true; }

  void afterEditCourseSelectCondition(const std::shared_ptr<CourseViewInfo>& info) override;
  void didSelectViewController(pf::TabBarController& tabBarController, pf::ViewController& controller) override;
  // Dresses the bar for the tab: back item, title, right item; hands it the course and reloads it.
  void dressTab(const std::shared_ptr<pf::ViewController>& tab);

  void downloadStartedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override;
  void downloadFinishedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override;
  void downloadHasBeenRemovedRequest(const HttpRequest::Ptr& request, const Unit& scoId, int downType,
                                     const pf::ErrorPtr& errorInfo) override;

 protected:
  // The download tab; a seam so the shell can be tried without the download screens.
  virtual std::shared_ptr<pf::ViewController> makeDownloadTab();

 private:
  std::shared_ptr<CmnNaviBtnItem> selectItemFor(const std::shared_ptr<pf::ViewController>& tab) const;
  std::shared_ptr<CmnNaviBtnItem> barItem(const std::optional<std::string>& icon, const std::string& text,
                                          const std::shared_ptr<pf::ViewController>& target) const;
  void refreshDownloadBadge();
  void reloadDownloadTabIfShown();

  std::shared_ptr<CourseViewInfo> courseViewInfo_;
  std::shared_ptr<CmsStudyViewController> study_;
  std::shared_ptr<CmsBriefViewController> brief_;
  std::shared_ptr<CmsCommentViewController> comment_;
  std::shared_ptr<pf::ViewController> download_;
  std::weak_ptr<pf::ViewController> selected_;
};
