#include "app/controller/cms/CmsMyTableViewController.h"

#include "app/controller/cms/CmsDetailViewController.h"
#include "app/controller/cms/MyTableViewDelegate.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/TableView.h"

CmsMyTableViewController::CmsMyTableViewController() = default;

CmsMyTableViewController::~CmsMyTableViewController() {
  if (syncWatch_) syncWatch_->invalidate();
}

void CmsMyTableViewController::initService() {
  CmsCourseTableViewController::initService();
  commonService = std::make_shared<CommonService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void CmsMyTableViewController::viewDidLoad() {
  CmsCourseTableViewController::viewDidLoad();
  showStudyRate = true;
}

void CmsMyTableViewController::viewWillAppear(bool animated) {
  CmsCourseTableViewController::viewWillAppear(animated);
  if (!commonService->getAlreadyFisrtLoadSynCourse()) {
    willBeginRefreshData();
    refreshData();
    commonService->updateAlreadyFisrtLoadSynCourse(true);
  } else if (CourseSyncService::isSyncCourse()) {
    willBeginRefreshData();
    watchForeignSync();
  } else {
    showLocalCourses();
    refreshDataComplete();
  }
}

void CmsMyTableViewController::viewWillDisappear(bool animated) {
  CmsCourseTableViewController::viewWillDisappear(animated);
  stopWatchingSync();
}

void CmsMyTableViewController::showLocalCourses() {
  resourceArr = courseService->getMyCourse();
  tableView()->reloadData();
  if (auto frame = delegate.lock()) frame->updateTitleViewWithNum(static_cast<unsigned>(resourceArr->size()));
}

// A synchronisation started elsewhere never ends this list's spinner by itself: look for its end.
void CmsMyTableViewController::watchForeignSync() {
  stopWatchingSync();
  std::weak_ptr<CmsMyTableViewController> weak = sharedAs<CmsMyTableViewController>();
  syncWatch_ = pf::Timer::scheduled(kSyncWatchInterval, true, [weak](pf::Timer&) {
    auto self = weak.lock();
    if (!self || CourseSyncService::isSyncCourse()) return;
    self->stopWatchingSync();
    if (self->isRefreshing()) return;  // a pull took over; its own end reads the rows
    self->showLocalCourses();
    self->refreshDataComplete();
  });
}

void CmsMyTableViewController::stopWatchingSync() {
  if (syncWatch_) syncWatch_->invalidate();
  syncWatch_.reset();
}

bool CmsMyTableViewController::refreshData() {
  if (!CmsCourseTableViewController::refreshData()) return false;
  stopWatchingSync();
  if (!CommonUtil::isOnline()) {
    showErrorInfoWithMessage(kOffline);
    // Signed in offline the list has never been read: show the courses on the device.
    showLocalCourses();
    refreshDataComplete();
    return true;
  }
  std::weak_ptr<CmsMyTableViewController> weak = sharedAs<CmsMyTableViewController>();
  auto sync = courseSyncService;
  pf::DispatchQueue::global()->async([weak, sync] {
    sync->syncCourseInfoAndStudyRecord();
    pf::DispatchQueue::main()->async([weak] {
      auto self = weak.lock();
      if (!self) return;
      self->showStudyRate = true;
      self->showLocalCourses();
      self->refreshDataComplete();
    });
  });
  return true;
}

void CmsMyTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (auto row = rowAt(indexPath)) openOwnCourse(row);
}

void CmsMyTableViewController::openOwnCourse(const std::shared_ptr<CourseViewInfo>& row) {
  if (isDesktopOnlyStandard(row->courseStandard)) {
    showErrorInfoWithMessage(kNotForMobile);
    return;
  }
  const bool online = CommonUtil::isOnline();
  const auto courseId = row->id;
  auto snapshot = std::make_shared<CourseViewInfo>(*row);
  openCourse(row, CmsDetailViewController::kViewTypeMyCourses, [=](CourseService& service) {
    Opening opening;
    if (online && !service.hasPurview(courseId)) {
      opening.message = kRestricted;
      return opening;
    }
    opening.units = service.getScoViewInfosWithCourseViewInfo(snapshot, true).value_or(CourseService::ScoViews{});
    if (!opening.units->empty()) service.updateCourseLastModifyTimeWithCourseID(courseId);
    return opening;
  });
}

void CmsMyTableViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  if (handleSessionError(error)) return;
  if (requestUri == kSyncCoursePath || requestUri == kSyncRecordPath) showErrorInfoWithMessage(kSyncFailed);
}
