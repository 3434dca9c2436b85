#include "app/controller/cms/CmsDownloadCourseViewController.h"

#include <algorithm>

#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/controller/cms/CmsBaseInfoCell.h"
#include "app/controller/cms/CmsCosDownloadedCell.h"
#include "app/controller/cms/CmsDownloadDeleteBar.h"
#include "app/controller/cms/CmsDownloadSwitchBar.h"
#include "app/controller/cms/CmsDownloadViewCotnroller.h"
#include "app/controller/cms/CmsDownloadingCell.h"
#include "app/controller/cms/CmsMainMediaPlayerViewController.h"
#include "app/controller/cms/CmsScoDownloadedCell.h"
#include "app/controller/cms/CmsStudySelCosCell.h"
#include "app/model/cmn/SelectedObject.h"
#include "app/model/cms/CourseDownloadInfo.h"
#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/CourseStudyRecord.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/DownloadService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Window.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

double cmsManagerRowScale() {
  const bool tablet = pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad;
  return tablet ? pf::Screen::mainScreen().bounds().height() / 480 : 1;
}

template <typename T>
std::shared_ptr<T> cmsManagerValue(const std::shared_ptr<SelectedObject>& item) {
  return item ? std::dynamic_pointer_cast<T>(item->value.object()) : nullptr;
}

}  // namespace

CmsDownloadCourseViewController::CmsDownloadCourseViewController() = default;
CmsDownloadCourseViewController::CmsDownloadCourseViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
CmsDownloadCourseViewController::~CmsDownloadCourseViewController() {
  if (deleteBar) deleteBar->removeFromSuperview();
}

void CmsDownloadCourseViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  courseServer = std::make_shared<CourseService>(self);
  commonServer = std::make_shared<CommonService>(self);
}

void CmsDownloadCourseViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  auto self = std::static_pointer_cast<CmsDownloadCourseViewController>(shared_from_this());
  setNavgationItemTitle(kTitle);
  setShowBackBtn(false);
  std::weak_ptr<CmsDownloadCourseViewController> weak = self;
  navBtnItem = std::make_shared<CmnNaviBtnItem>(std::string("CMN_BASE_btn_n.png"), std::string("CMN_BASE_btn_p.png"),
                                                std::string("CMS_WCOM_navi_write_n.png"), std::string("编辑"), weak,
                                                [weak] {
                                                  if (auto manager = weak.lock()) manager->edit();
                                                });
  navBtnItem->setIconHidden(true);
  navigationItem()->setRightBarButtonItem(navBtnItem);
  dServer = DownloadService::instance();
  dServer->setDownloadDelegete(self);

  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  downloadSwitchBar = std::dynamic_pointer_cast<CmsDownloadSwitchBar>(
      ViewUtil::viewFromNibOfClass(CmsDownloadSwitchBar::kClassName));
  if (downloadSwitchBar) {
    downloadSwitchBar->delegete = self;
    view()->addSubview(downloadSwitchBar);
  }
  deleteBar = std::dynamic_pointer_cast<CmsDownloadDeleteBar>(
      ViewUtil::viewFromNibOfClass(CmsDownloadDeleteBar::kClassName));
  if (deleteBar) {
    if (auto selectAll = deleteBar->selectAllBtn.lock()) selectAll->setTitle(std::string("全选"), pf::Control::kNormal);
    deleteBar->delegete = self;
    deleteBar->setHidden(true);
    placeDeleteBar();
  }
  if (auto table = downloadContentView.lock()) ViewUtil::configForTableView(*table, self);
  setDownType(kDownloading);
}

// Over the tab bar: at the bottom of the tab root's view, which may start below the status bar.
void CmsDownloadCourseViewController::placeDeleteBar() {
  auto root = tabRoot();
  if (!deleteBar || !root) return;
  const double width = pf::Screen::mainScreen().bounds().width() / 320 * 320;
  deleteBar->setFrame(pf::Rect(0, root->view()->bounds().height() - kDeleteBarHeight, width, kDeleteBarHeight));
  if (deleteBar->superview() != root->view()) root->view()->addSubview(deleteBar);
}

std::shared_ptr<pf::ViewController> CmsDownloadCourseViewController::tabRoot() const {
  auto navigation = navigationController();
  return navigation ? navigation->parentViewController() : nullptr;
}

// The course download tab takes the observer while it shows; it comes back here.
void CmsDownloadCourseViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  dServer->setDownloadDelegete(std::static_pointer_cast<CmsDownloadCourseViewController>(shared_from_this()));
  placeDeleteBar();
  setDownType(downType_);
  refreshCounts();
  checkShouldPromptNoDownloadInfos();
}

void CmsDownloadCourseViewController::viewWillDisappear(bool animated) {
  BaseViewController::viewWillDisappear(animated);
  if (isOnEditing_) setIsOnEditing(false);
}

std::vector<pf::ObjectPtr> CmsDownloadCourseViewController::listOfView(int type) {
  std::vector<pf::ObjectPtr> list;
  if (type == kDownloading) {
    for (const auto& record : dServer->downloadingScos()) list.push_back(record);
  } else if (type == kDownloadedCourses) {
    for (const auto& course : dServer->downloadedCourses()) list.push_back(course);
  } else if (type == kDownloadedUnits && selectedCourseInfo && selectedCourseInfo->courseInfo) {
    for (const auto& unit : dServer->downloadedScosOfCourse(selectedCourseInfo->courseInfo->id).value_or(
             std::vector<std::shared_ptr<CourseSco>>{}))
      list.push_back(unit);
  }
  return list;
}

void CmsDownloadCourseViewController::setDownType(int type) {
  if (type != kDownloading && type != kDownloadedCourses && type != kDownloadedUnits) return;
  downType_ = type;
  Items items;
  for (const auto& value : listOfView(type)) items.push_back(std::make_shared<SelectedObject>(pf::Value(value)));
  editableItems = std::move(items);
  reloadTable();
  checkShouldPromptNoDownloadInfos();
  if (deleteBar) deleteBar->setDeleteCount(0);
  showItemCount();
}

void CmsDownloadCourseViewController::showItemCount() {
  const int count = editableItems ? static_cast<int>(editableItems->size()) : 0;
  if (deleteBar) {
    deleteBar->totalCount = count;
    deleteBar->setDeleteCount(std::clamp(deleteBar->deleteCount(), 0, count));
  }
  if (navBtnItem && navBtnItem->customView()) navBtnItem->customView()->setHidden(count == 0);
  if (isOnEditing_ && count == 0) setIsOnEditing(false);
}

void CmsDownloadCourseViewController::reloadTable() {
  if (auto table = downloadContentView.lock()) table->reloadData();
}

void CmsDownloadCourseViewController::reloadTableSoon() {
  onNextTurn(&CmsDownloadCourseViewController::reloadPending_, &CmsDownloadCourseViewController::reloadTable);
}

void CmsDownloadCourseViewController::onNextTurn(bool CmsDownloadCourseViewController::*pending, Step step) {
  if (this->*pending) return;
  this->*pending = true;
  std::weak_ptr<CmsDownloadCourseViewController> weak =
      std::static_pointer_cast<CmsDownloadCourseViewController>(shared_from_this());
  pf::RunLoop::main()->post([weak, pending, step] {
    auto self = weak.lock();
    if (!self) return;
    (*self).*pending = false;
    ((*self).*step)();
  });
}

void CmsDownloadCourseViewController::refreshCounts() {
  if (downloadSwitchBar)
    downloadSwitchBar->setCounts(static_cast<int>(dServer->downloadingScos().size()), dServer->downloadedCount());
}

void CmsDownloadCourseViewController::checkShouldPromptNoDownloadInfos() {
  auto prompt = noDownloadInfoPromptView.lock();
  const bool empty = !editableItems || editableItems->empty();
  if (!empty) {
    if (prompt) prompt->setHidden(true);
    return;
  }
  // An emptied course returns to the course list, out of edit mode.
  if (downType_ == kDownloadedUnits) {
    dServer->getDownloadedCourses();
    selectedCourseInfo.reset();
    if (isOnEditing_) setIsOnEditing(false);
    return setDownType(kDownloadedCourses);
  }
  if (!prompt) return;
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double statusBar = pf::Application::sharedApplication().statusBarFrame().height();
  pf::Rect frame = prompt->frame();
  frame.size = {screen.width(), screen.height() - 98 - statusBar - 49};
  prompt->setFrame(frame);
  prompt->setHidden(false);
  const bool downloading = downType_ == kDownloading;
  if (auto label = downloadPromptTitleLabel.lock())
    label->setText(std::string(downloading ? "暂无下载中视频" : "暂无已下载视频"));
  if (auto label = downloadPromptLabel1.lock())
    label->setText(std::string(downloading ? "请进入“课程详情”下载视频" : "您可以进入“课程详情”下载视频"));
  if (auto label = downloadPromptLabel2.lock())
    label->setText(std::string(downloading ? "在wifi环境下将视频下载到本地离线学习" : "针对已下载视频，无wifi时也能学习"));
}

// View 4 shows its units when the course holds more downloads than units, rather than nothing.
size_t CmsDownloadCourseViewController::unitRowsShown() const { return editableItems ? editableItems->size() : 0; }

bool CmsDownloadCourseViewController::hasMoreRow() const {
  return downType_ == kDownloadedUnits && selectedCourseInfo &&
         selectedCourseInfo->downloadChapterCount < selectedCourseInfo->totalCount;
}

long CmsDownloadCourseViewController::numberOfRowsInSection(pf::TableView&, long) {
  if (downType_ != kDownloadedUnits) return static_cast<long>(unitRowsShown());
  if (!selectedCourseInfo) return 0;
  return 1 + static_cast<long>(unitRowsShown()) + (hasMoreRow() ? 1 : 0);
}

std::optional<double> CmsDownloadCourseViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                               const pf::IndexPath& indexPath) {
  if (downType_ != kDownloadedUnits) return 80 * cmsManagerRowScale();
  return (indexPath.row == 0 ? 112 : 60) * cmsManagerRowScale();
}

std::shared_ptr<pf::TableViewCell> CmsDownloadCourseViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  const auto row = static_cast<size_t>(indexPath.row);
  std::shared_ptr<DownloadCell> cell;
  std::shared_ptr<SelectedObject> item;
  if (downType_ == kDownloading) {
    item = editableItems->at(row);
    auto downloading = std::dynamic_pointer_cast<CmsDownloadingCell>(
        ViewUtil::tableViewCellWithClass(CmsDownloadingCell::kClassName, tableView));
    if (auto record = cmsManagerValue<ScoDownloadInfo>(item); downloading && record) downloading->fillWithRecord(*record);
    cell = downloading;
  } else if (downType_ == kDownloadedCourses) {
    item = editableItems->at(row);
    auto course = std::dynamic_pointer_cast<CmsCosDownloadedCell>(
        ViewUtil::tableViewCellWithClass(CmsCosDownloadedCell::kClassName, tableView));
    if (auto download = cmsManagerValue<CourseDownloadInfo>(item); course && download) course->fillWithCourse(*download);
    cell = course;
  } else if (row == 0) {
    auto info = std::dynamic_pointer_cast<CmsBaseInfoCell>(
        ViewUtil::tableViewCellWithClass(CmsBaseInfoCell::kClassName, tableView));
    if (info && selectedCourseInfo && selectedCourseInfo->courseInfo) {
      const auto& course = *selectedCourseInfo->courseInfo;
      CourseViewInfo shown;
      shown.courseTitle = course.courseTitle;
      shown.coverPath = course.coverPath;
      shown.categoryName = course.categoryName;
      shown.teacher = course.teacher;
      shown.coursePeriod = course.coursePeriod;
      shown.score = course.score;
      shown.stepToGetScore = course.stepToGetScore;
      if (const auto& record = selectedCourseInfo->studyRecord) {
        shown.courseStudyType = record->courseStudyType;
        shown.studyRate = record->studyRate;
        shown.selected = record->studyRate != 0;
      }
      info->fillWithCourse(shown, CmsBaseInfoCell::kStudyFormats);
      if (shown.selected)
        if (auto label = info->graduateConditionLabel.lock()) label->setText(pf::format("学习进度：%0.1f%%", shown.studyRate));
    }
    return info;
  } else if (row <= unitRowsShown()) {
    item = editableItems->at(row - 1);
    auto unitCell = std::dynamic_pointer_cast<CmsStudySelCosCell>(
        ViewUtil::tableViewCellWithClass(CmsStudySelCosCell::kClassName, tableView));
    auto sco = cmsManagerValue<CourseSco>(item);
    if (unitCell && sco) {
      ScoViewInfo unit;
      unit.scoId = sco->scoId;
      unit.scoName = sco->scoName;
      if (auto record = dServer->scoStudyInfoOfScoInfo(sco)) {
        unit.currentPosition = record->currentPosition;
        unit.studyComplete = record->studyComplete;
        unit.totalTime = record->totalTime;
        unit.studyRate = record->studyRate;
      }
      const auto standard = selectedCourseInfo && selectedCourseInfo->courseInfo
                                ? selectedCourseInfo->courseInfo->courseStandard
                                : std::nullopt;
      unitCell->setProgress(CmsStudySelCosCell::progressOfUnit(unit, standard));
      unitCell->setStudyComplete(unit.studyComplete);
      unitCell->setCellType(standard);
      auto download = dServer->sdiWithScoId(sco->scoId);
      unitCell->setHasDownloaded(download && download->hasDownloaded);
      if (auto name = unitCell->scoNameLabel.lock()) name->setText(sco->scoName.value_or(""));
      unitCell->setCheckSymbolHidden(true);
      if (auto status = unitCell->downloadStatusView.lock()) status->setHidden(true);
    }
    cell = unitCell;
  } else {
    auto more = std::dynamic_pointer_cast<CmsScoDownloadedCell>(
        ViewUtil::tableViewCellWithClass(CmsScoDownloadedCell::kClassName, tableView));
    if (more) {
      more->setTotalCount(selectedCourseInfo ? selectedCourseInfo->totalCount : 0);
      more->setDownloadedCount(static_cast<int>(unitRowsShown()));
      more->delegate = std::static_pointer_cast<CmsDownloadCourseViewController>(shared_from_this());
    }
    return more;
  }
  if (cell) {
    cell->setIsOnEditing(isOnEditing_);
    cell->setHasBeenSelected(item && item->selected);
  }
  return cell;
}

void CmsDownloadCourseViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  const auto row = static_cast<size_t>(indexPath.row);
  if (downType_ == kDownloadedUnits && (row == 0 || row > unitRowsShown())) return;
  const size_t index = downType_ == kDownloadedUnits ? row - 1 : row;
  if (!editableItems || index >= editableItems->size()) return;
  if (isOnEditing_) return toggleMark(index, indexPath);
  if (downType_ == kDownloading) return tapDownloading(index);
  if (downType_ == kDownloadedCourses) {
    selectedCourseInfo = cmsManagerValue<CourseDownloadInfo>(editableItems->at(index));
    return setDownType(kDownloadedUnits);
  }
  openDownloadedUnit(index);
}

void CmsDownloadCourseViewController::toggleMark(size_t index, const pf::IndexPath& indexPath) {
  auto& item = editableItems->at(index);
  item->selected = !item->selected;
  if (auto table = downloadContentView.lock())
    if (auto cell = std::dynamic_pointer_cast<DownloadCell>(table->cellForRowAtIndexPath(indexPath)))
      cell->setHasBeenSelected(item->selected);
  if (deleteBar) deleteBar->setDeleteCount(deleteBar->deleteCount() + (item->selected ? 1 : -1));
}

// A unit the course service no longer knows is left alone.
void CmsDownloadCourseViewController::tapDownloading(size_t index) {
  auto record = cmsManagerValue<ScoDownloadInfo>(editableItems->at(index));
  if (!record) return;
  auto unit = courseServer->scoInfoWithScoId(record->scoId);
  const int state = record->downloadState;
  if (state == 5) return;
  if (state != 1 && state != 4) return dServer->pauseDownloadingSco(record->scoId);
  if (!unit) return;
  if (!commonServer->isOnline()) {
    pendingAlert_ = std::make_shared<pf::AlertView>(std::string("提示"), std::string(kOffline),
                                                    std::weak_ptr<pf::AlertViewDelegate>(), std::string("确定"));
    return pendingAlert_->show();
  }
  if (!commonServer->netIsWifi() && commonServer->g3PromptStatus()) {
    downloadSco = unit;
    pendingAlert_ = std::make_shared<pf::AlertView>(
        std::nullopt, std::string(kCellularPrompt),
        std::static_pointer_cast<CmsDownloadCourseViewController>(shared_from_this()), std::string("取消"),
        std::vector<std::string>{"确定"});
    pendingAlert_->setTag(kCellularTag);
    return pendingAlert_->show();
  }
  dServer->startDownloadingSco(unit);
}

void CmsDownloadCourseViewController::openDownloadedUnit(size_t index) {
  auto sco = cmsManagerValue<CourseSco>(editableItems->at(index));
  if (!sco || !selectedCourseInfo || !selectedCourseInfo->courseInfo) return;
  auto unit = courseServer->getScoViewInfoWithScoID(sco->scoId);
  auto course = courseServer->getCourseViewInfoWithCourseID(selectedCourseInfo->courseInfo->id);
  auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(ViewUtil::getWindowRootViewController());
  if (!unit || !course || !navigation) return;
  auto player = std::make_shared<CmsMainMediaPlayerViewController>();
  player->setHidesBottomBarWhenPushed(true);
  player->courseViewInfo = course;
  player->scoViewInfo = unit;
  navigation->pushViewController(player, true);
}

void CmsDownloadCourseViewController::edit() {
  const bool empty = !editableItems || editableItems->empty();
  if (empty && !isOnEditing_) return;
  const bool editing = !isOnEditing_;
  if (editableItems)
    for (const auto& item : *editableItems) item->selected = false;
  if (auto table = downloadContentView.lock()) {
    for (const auto& visible : table->visibleCells()) {
      if (auto cell = std::dynamic_pointer_cast<DownloadCell>(visible)) {
        cell->setIsOnEditing(editing);
        cell->setHasBeenSelected(false);
      }
    }
  }
  setIsOnEditing(editing);
}

void CmsDownloadCourseViewController::setIsOnEditing(bool editing) {
  isOnEditing_ = editing;
  if (navBtnItem) navBtnItem->setItemTitle(std::string(editing ? "取消" : "编辑"));
  if (auto root = std::dynamic_pointer_cast<pf::TabBarController>(tabRoot()))
    if (auto bar = root->tabBar()) bar->setHidden(editing);
  if (deleteBar) {
    deleteBar->setHidden(!editing);
    if (editing && deleteBar->superview()) deleteBar->superview()->bringSubviewToFront(deleteBar.get());
  }
}

void CmsDownloadCourseViewController::leftItemDidSelected(bool selectAll) {
  if (!editableItems) return;
  for (const auto& item : *editableItems) item->selected = selectAll;
  if (deleteBar) deleteBar->setDeleteCount(selectAll ? static_cast<int>(editableItems->size()) : 0);
  reloadTable();
}

void CmsDownloadCourseViewController::rightItemDidSelected() {
  if (!deleteBar || deleteBar->deleteCount() <= 0) return;
  pendingAlert_ = std::make_shared<pf::AlertView>(
      std::nullopt, std::string(kDeletePrompt),
      std::static_pointer_cast<CmsDownloadCourseViewController>(shared_from_this()), std::string("取消"),
      std::vector<std::string>{"确定"});
  pendingAlert_->setTag(kDeleteTag);
  pendingAlert_->show();
}

void CmsDownloadCourseViewController::clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) {
  if (buttonIndex != 1) return;
  if (alertView.tag() == kDeleteTag) return deleteFiles();
  if (alertView.tag() == kCellularTag && downloadSco) {
    auto unit = std::move(downloadSco);
    dServer->startDownloadingSco(unit);
  }
}

void CmsDownloadCourseViewController::deleteFiles() {
  if (downType_ == kDownloadedCourses) {
    dServer->removeDownloadedCoursesInMarkableDownlaodedCourses(editableItems);
  } else {
    dServer->removeDownloadScosInMarkableDownloadScos(editableItems);
  }
  if (downType_ == kDownloadedUnits && selectedCourseInfo && selectedCourseInfo->courseInfo)
    if (auto fresh = dServer->courseDownloadInfoOfCourse(selectedCourseInfo->courseInfo->id)) selectedCourseInfo = fresh;
  if (deleteBar) deleteBar->setDeleteCount(0);
  refreshCounts();
  setDownType(downType_);
  if (!editableItems || editableItems->empty()) setIsOnEditing(false);
  checkShouldPromptNoDownloadInfos();
}

void CmsDownloadCourseViewController::selectedDownloadType(bool downloading) {
  setDownType(downloading ? kDownloading : kDownloadedCourses);
}

void CmsDownloadCourseViewController::selectedMoreChapter() {
  if (!selectedCourseInfo || !selectedCourseInfo->courseInfo) return;
  auto course = courseServer->getCourseViewInfoWithCourseID(selectedCourseInfo->courseInfo->id);
  auto navigation = navigationController();
  if (!course || !navigation) return;
  if (course->scoInfoList.empty())
    if (auto units = courseServer->getScoViewInfosWithCourseViewInfo(course)) course->scoInfoList = *units;
  auto tab = std::make_shared<CmsDownloadViewCotnroller>();
  tab->viewType = 1;
  tab->fromViewType = CmsDownloadViewCotnroller::kFromManager;
  tab->setCourseViewInfo(course);
  tab->navigationItem()->setLeftBarButtonItem(ViewUtil::backBtnItemWithTarget(tab));
  std::weak_ptr<CmsDownloadViewCotnroller> weakTab = tab;
  auto list = std::make_shared<CmnNaviBtnItem>(std::string("CMN_BASE_btn_n.png"), std::string("CMN_BASE_btn_p.png"),
                                               std::nullopt, std::string("下载列表"), weakTab, [weakTab] {
                                                 if (auto shown = weakTab.lock()) shown->goback();
                                               });
  list->setIconHidden(true);
  list->setBadgeHidden(false);
  list->setItemLength(80);
  list->setBadgeNumber(static_cast<int>(dServer->downloadingScos().size()));
  tab->navigationItem()->setRightBarButtonItem(list);
  dServer->setDownloadDelegete(tab);
  navigation->pushViewController(tab, true);
}

void CmsDownloadCourseViewController::downloadStartedRequest(const HttpRequest::Ptr&, const Unit&) { refreshCounts(); }
void CmsDownloadCourseViewController::downloadRefreshDownloadedProgress() { reloadTableSoon(); }
void CmsDownloadCourseViewController::downloadFailedRequest(const HttpRequest::Ptr&, const Unit&, const pf::ErrorPtr&) {
  reloadTableSoon();
}
void CmsDownloadCourseViewController::downloadPausedRequest(const HttpRequest::Ptr&, const Unit&) { reloadTableSoon(); }
void CmsDownloadCourseViewController::downloadWaitRequest(const HttpRequest::Ptr&, const Unit&) { reloadTableSoon(); }

// The service has already moved the unit out of its downloading list and rebuilt its downloaded
// courses. Reloading every record and row on each finish held the main loop with hundreds of records:
// the downloading view loses just the unit's row, and the rest waits for the next turn of the loop.
void CmsDownloadCourseViewController::downloadFinishedRequest(const HttpRequest::Ptr&, const Unit& scoId) {
  if (downType_ == kDownloading) removeFinishedRows(scoId);
  onNextTurn(&CmsDownloadCourseViewController::finishesPending_,
             &CmsDownloadCourseViewController::refreshAfterFinishes);
}

void CmsDownloadCourseViewController::removeFinishedRows(const Unit& scoId) {
  if (!editableItems) return;
  std::vector<pf::IndexPath> rows;
  int unmarked = 0;
  for (size_t i = editableItems->size(); i-- > 0;) {
    const auto& item = editableItems->at(i);
    const auto record = cmsManagerValue<ScoDownloadInfo>(item);
    if (!record || record->scoId != scoId || !record->isComplete()) continue;
    if (item->selected && isOnEditing_) ++unmarked;
    rows.push_back(pf::IndexPath::forRow(static_cast<long>(i), 0));
    editableItems->erase(editableItems->begin() + static_cast<long>(i));
  }
  if (rows.empty()) return;
  auto table = downloadContentView.lock();
  const long shown = static_cast<long>(editableItems->size() + rows.size());
  if (table && table->numberOfRowsInSection(0) == shown) {
    table->deleteRowsAtIndexPaths(rows);
  } else {
    reloadTable();
  }
  if (deleteBar) deleteBar->setDeleteCount(deleteBar->deleteCount() - unmarked);
  showItemCount();
  checkShouldPromptNoDownloadInfos();
}

void CmsDownloadCourseViewController::refreshAfterFinishes() {
  refreshCounts();
  if (downType_ == kDownloading) return;
  // The downloaded views show what the store holds now: read once for a whole burst of finishes.
  dServer->getDownloadInfos();
  if (selectedCourseInfo && selectedCourseInfo->courseInfo)
    if (auto fresh = dServer->courseDownloadInfoOfCourse(selectedCourseInfo->courseInfo->id)) selectedCourseInfo = fresh;
  setDownType(downType_);
}
