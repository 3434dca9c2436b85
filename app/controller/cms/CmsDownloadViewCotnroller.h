#pragma once
// The course detail's download tab: one course's units, each with a download button, so the learner
// can fetch units for offline study. Also pushed by the download manager to fetch more units of a
// downloaded course. A course not yet selected offers the selection before anything downloads or
// plays.
//
// Main thread, except the course selection, which runs on a global queue and returns to main.

#include <memory>

#include "app/controller/cmn/BaseTableViewController.h"
#include "app/service/cms/DownloadDelegate.h"

class CourseViewInfo;
class DownloadService;
class ScoViewInfo;

class CmsDownloadViewCotnroller : public BaseTableViewController, public DownloadDelegate {
  PF_OBJECT(CmsDownloadViewCotnroller, BaseTableViewController)

  CmsDownloadViewCotnroller();
  ~CmsDownloadViewCotnroller() override;

  // The opener's view type (the shell's own, or 1 from the download manager).
  int viewType = 0;
  // 0 inside the course detail, 1 when pushed by the download manager: whose badge a start refreshes.
  int fromViewType = 0;
  std::shared_ptr<DownloadService> dServer;
  // The unit waiting for the answer to the cellular prompt.
  std::shared_ptr<ScoViewInfo> scoViewInfo;

  void viewDidLoad() override;
  // "下载列表" inside the course detail: the course module's tab root shows the download manager.
  void rightBtnPressed();
  // "下载列表" when pushed by the download manager: back to it.
  void goback();
  // The tab's own "下载列表" badge: the number of downloading units.
  void resetRightBadgeNumber();
};
