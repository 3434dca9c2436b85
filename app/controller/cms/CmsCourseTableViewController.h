#pragma once
// The base of every course list of the course module: the course services, the rows, the two row
// layouts (own courses with progress, catalogue rows with stars), the rule that opens a catalogue
// course into its detail, and paged loading with one refresh and one load-more at a time.
//
// Main thread only. Server calls (pages, permission checks, unit lists) run on a global queue with a
// copy of the page; their answers are applied on the main queue. While a course is being opened,
// further row taps are ignored.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/cmn/BaseTableViewController.h"

class CmsCourseTableViewDelegate;
class CourseService;
class CourseSyncService;
class CourseViewInfo;
class Page;
class ScoViewInfo;

class CmsCourseTableViewController : public BaseTableViewController {
  PF_OBJECT(CmsCourseTableViewController, BaseTableViewController)

  using Courses = std::vector<std::shared_ptr<CourseViewInfo>>;

  static constexpr double kRowHeight = 90;
  static constexpr char kNotForMobile[] = "该课程不支持移动端学习";
  static constexpr char kRestricted[] = "该课程已受限！";
  static constexpr char kNoUnits[] = "获取章节失败！";
  static constexpr char kOffline[] = "当前网络不可用";

  CmsCourseTableViewController();
  ~CmsCourseTableViewController() override;

  std::shared_ptr<CourseService> courseService;
  std::shared_ptr<CourseSyncService> courseSyncService;
  // The rows; nullopt before the first load.
  std::optional<Courses> resourceArr;
  // The last page answered (page number 0 before the first).
  std::shared_ptr<Page> currentPage;
  // YES: the learner's rows with progress; NO: catalogue rows with stars.
  bool showStudyRate = false;
  std::weak_ptr<CmsCourseTableViewDelegate> courseDelegate;

  void initService() override;
  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  // Tells the frame a course was chosen.
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

  // Whether a course is being opened (its checks still running).
  bool isOpeningCourse() const { return opening_; }
  // The row height of course lists on this device.
  static double rowHeight();
  // The rows of an answered page.
  static Courses coursesOfPage(const Page& page);
  // Standards that never open on a phone, and those whose missing units mean just that.
  static bool isDesktopOnlyStandard(const std::optional<std::string>& standard);
  static bool isOnlineOnlyStandard(const std::optional<std::string>& standard);

 protected:
  // What an open found out off the main thread: a message, or the course to push.
  struct Opening {
    std::optional<std::string> message;
    // The course to open; its units come in `units` when they are to be set on it.
    std::shared_ptr<CourseViewInfo> course;
    std::optional<std::vector<std::shared_ptr<ScoViewInfo>>> units;
    // Whether the learner holds the course, when the check asked.
    std::optional<bool> selected;
  };
  using OpeningCheck = std::function<Opening(CourseService&)>;

  // The row at the index path, null outside the rows.
  std::shared_ptr<CourseViewInfo> rowAt(const pf::IndexPath& indexPath) const;
  // The catalogue's rule: desktop-only standards refused; a selected course opens as the learner's
  // own copy (after the permission check when online), another as the row with its units.
  void openCatalogueCourse(const std::shared_ptr<CourseViewInfo>& row);
  // Runs the check on a global queue and pushes the detail, or shows the message, on the main queue.
  void openCourse(const std::shared_ptr<CourseViewInfo>& row, int viewType, OpeningCheck check);
  // Where the detail is pushed: this list's or its frame's navigation stack.
  std::shared_ptr<pf::NavigationController> courseNavigationController() const;

  // Paging. Each call works on its own page; a load-more answer is dropped when a refresh began or
  // ended after it was asked for.
  using PageFetch = std::function<std::shared_ptr<Page>(CourseService&, const std::shared_ptr<Page>&)>;
  // The page to ask for on refresh (number 1, counting the total) and on load-more (the next one).
  static std::shared_ptr<Page> refreshRequest(const std::shared_ptr<Page>& current);
  static std::shared_ptr<Page> loadMoreRequest(const std::shared_ptr<Page>& current);
  void fetchPage(const std::shared_ptr<Page>& request, bool refresh, PageFetch fetch);
  // An answer to apply (null when the call failed); the completion follows. The page's courses replace
  // the rows on refresh and join them otherwise.
  virtual void pageAnswered(const std::shared_ptr<Page>& page, bool refresh);
  // Counts refreshes begun and ended, so stale load-more answers can be told.
  void markRefresh() { ++refreshGeneration_; }

 private:
  void finishOpening(const std::shared_ptr<CourseViewInfo>& row, int viewType, const Opening& opening);

  bool opening_ = false;
  unsigned long refreshGeneration_ = 0;
};
