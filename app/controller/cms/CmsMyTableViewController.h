#pragma once
// The learner's own courses with progress. The first time it shows after a sign-in, and on every
// pull, it synchronises courses and study records with the server and then reads the local rows;
// other appearances read the local rows only. A tap opens the course by the learner's rule.
//
// Main thread only; the synchronisation runs on a global queue. While a synchronisation started
// elsewhere runs, a short timer watches for its end and then reads the rows.

#include <memory>

#include "app/controller/cms/CmsCourseTableViewController.h"

namespace pf {
class Timer;
}
class CommonService;
class MyTableViewDelegate;

class CmsMyTableViewController : public CmsCourseTableViewController {
  PF_OBJECT(CmsMyTableViewController, CmsCourseTableViewController)

  static constexpr char kSyncFailed[] = "同步失败!";
  static constexpr char kSyncCoursePath[] = "/v1/lcms/courseinfo/syncCourse";
  static constexpr char kSyncRecordPath[] = "/v1/els/phonecoursestudyrecord/sync";
  // How often the end of a synchronisation started elsewhere is looked for.
  static constexpr double kSyncWatchInterval = 0.5;

  CmsMyTableViewController();
  ~CmsMyTableViewController() override;

  std::shared_ptr<CommonService> commonService;
  std::weak_ptr<MyTableViewDelegate> delegate;

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return false; }
  bool displayNodataViewIfNeeded() const override { return true; }

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  bool refreshData() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;

 private:
  // The local rows into the table and the count into the frame's title.
  void showLocalCourses();
  void watchForeignSync();
  void stopWatchingSync();
  void openOwnCourse(const std::shared_ptr<CourseViewInfo>& row);

  std::shared_ptr<pf::Timer> syncWatch_;
};
