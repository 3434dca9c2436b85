#pragma once
// The course detail's study tab: the course's information row, then one row per unit. A selected
// course shows each unit's progress and download mark, and a unit tap opens the player; a course not
// selected shows the unit names, and a tap lays a prompt over the window that points at "选择".
//
// Main thread only; the unit refresh calls the service on a global queue.

#include <functional>
#include <memory>

#include "app/controller/cms/CmsDetailBaseViewController.h"

class DownloadService;
class ScoViewInfo;

class CmsStudyViewController : public CmsDetailBaseViewController {
  PF_OBJECT(CmsStudyViewController, CmsDetailBaseViewController)

  using PlayerFactory = std::function<std::shared_ptr<pf::ViewController>(
      const std::shared_ptr<CourseViewInfo>& course, const std::shared_ptr<ScoViewInfo>& unit)>;

  CmsStudyViewController();
  ~CmsStudyViewController() override;

  std::shared_ptr<DownloadService> downloadServer;
  // The prompt last shown, or null.
  std::shared_ptr<CmsCourseUnSelectedPromptView> unSelectPromptVC;
  // Makes what a unit tap pushes: the player container unless replaced.
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

 private:
  void showPrompt();
};
