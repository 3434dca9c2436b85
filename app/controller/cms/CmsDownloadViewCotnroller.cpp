#include "app/controller/cms/CmsDownloadViewCotnroller.h"

#include <algorithm>

#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/controller/cms/CmsDetailDownloadCell.h"
#include "app/controller/cms/CmsMainMediaPlayerViewController.h"
#include "app/controller/cms/CmsUnitRows.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/DownloadService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

namespace {

// The course module's root tab of the download manager.
constexpr long kCmsDownloadManagerTab = 3;

}  // namespace

CmsDownloadViewCotnroller::CmsDownloadViewCotnroller()
    : makePlayer([](const std::shared_ptr<CourseViewInfo>& course, const std::shared_ptr<ScoViewInfo>& unit) {
        auto player = std::make_shared<CmsMainMediaPlayerViewController>();
        player->courseViewInfo = course;
        player->scoViewInfo = unit;
        return std::static_pointer_cast<pf::ViewController>(player);
      }) {}

CmsDownloadViewCotnroller::~CmsDownloadViewCotnroller() {
  if (unSelectPromptVC) unSelectPromptVC->removeFromSuperview();
}

void CmsDownloadViewCotnroller::viewDidLoad() {
  CmsDetailBaseViewController::viewDidLoad();
  setTitle(std::string(kTitle));
  dServer = DownloadService::instance();
  dServer->setDownloadDelegete(std::static_pointer_cast<CmsDownloadViewCotnroller>(shared_from_this()));
}

std::shared_ptr<DownloadDelegate> CmsDownloadViewCotnroller::observer() {
  if (fromViewType == kInsideDetail)
    if (auto shell = std::dynamic_pointer_cast<DownloadDelegate>(tabBarController())) return shell;
  return std::static_pointer_cast<CmsDownloadViewCotnroller>(shared_from_this());
}

void CmsDownloadViewCotnroller::viewWillAppear(bool animated) {
  CmsDetailBaseViewController::viewWillAppear(animated);
  if (dServer) dServer->setDownloadDelegete(observer());
  tableView()->reloadData();
}

void CmsDownloadViewCotnroller::viewWillDisappear(bool animated) {
  CmsDetailBaseViewController::viewWillDisappear(animated);
  if (unSelectPromptVC) unSelectPromptVC->removeFromSuperview();
  if (dServer && dServer->downloadDelegete().lock() == observer()) dServer->setDownloadDelegete({});
}

bool CmsDownloadViewCotnroller::refreshData() {
  const bool answer = CmsDetailBaseViewController::refreshData();
  auto course = courseViewInfo();
  if (course && courseServer)
    if (auto units = courseServer->synScoInfoWithCourseViewInfo(course, course->selected)) course->scoInfoList = *units;
  std::weak_ptr<CmsDownloadViewCotnroller> weak =
      std::static_pointer_cast<CmsDownloadViewCotnroller>(shared_from_this());
  pf::DispatchQueue::global()->async([weak] {
    pf::DispatchQueue::main()->after(0.2, [weak] {
      auto self = weak.lock();
      if (!self) return;
      self->tableView()->reloadData();
      self->refreshDataComplete();
    });
  });
  return answer;
}

long CmsDownloadViewCotnroller::numberOfRowsInSection(pf::TableView&, long) {
  return CmsUnitRows::numberOfRows(courseViewInfo().get());
}

std::shared_ptr<pf::TableViewCell> CmsDownloadViewCotnroller::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                   const pf::IndexPath& indexPath) {
  auto course = courseViewInfo();
  auto unit = CmsUnitRows::unitAtRow(course.get(), indexPath.row);
  if (!unit) return CmsUnitRows::infoCell(tableView, course.get());
  auto cell = std::dynamic_pointer_cast<CmsDetailDownloadCell>(
      ViewUtil::tableViewCellWithClass(CmsDetailDownloadCell::kClassName, tableView));
  if (!cell) return cell;
  cell->delegate = std::static_pointer_cast<CmsDownloadViewCotnroller>(shared_from_this());
  cell->setHasSelectedCourse(courseHasSelected);
  cell->setHasBeninDownloading(unit->hasDownload);
  cell->setScoViewInfo(unit);
  return cell;
}

std::optional<double> CmsDownloadViewCotnroller::heightForRowAtIndexPath(pf::TableView&,
                                                                         const pf::IndexPath& indexPath) {
  return CmsUnitRows::heightOfRow(indexPath.row);
}

void CmsDownloadViewCotnroller::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (!checkCourseHasSelected()) return;
  auto course = courseViewInfo();
  if (auto unit = CmsUnitRows::unitAtRow(course.get(), indexPath.row)) openUnit(unit);
}

bool CmsDownloadViewCotnroller::checkCourseHasSelected() {
  if (courseHasSelected) return true;
  if (unSelectPromptVC) unSelectPromptVC->removeFromSuperview();
  unSelectPromptVC = std::dynamic_pointer_cast<CmsCourseUnSelectedPromptView>(
      ViewUtil::viewFromNibOfClass(CmsCourseUnSelectedPromptView::kClassName));
  auto window = ViewUtil::getKeyWindow();
  if (!unSelectPromptVC || !window) return false;
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  unSelectPromptVC->setFrame({0, 0, screen.width(), screen.height()});
  window->addSubview(unSelectPromptVC);
  unSelectPromptVC->delegate = std::static_pointer_cast<CmsDownloadViewCotnroller>(shared_from_this());
  unSelectPromptVC->setHideAlert(false);
  return false;
}

void CmsDownloadViewCotnroller::startDownloadSco(const std::shared_ptr<ScoViewInfo>& unit) {
  if (!unit || !checkCourseHasSelected()) return;
  if (!commonServer->isOnline()) {
    offlineAlert_ = std::make_shared<pf::AlertView>(std::string("提示"), std::string(kOffline),
                                                    std::weak_ptr<pf::AlertViewDelegate>(), std::string("确定"));
    return offlineAlert_->show();
  }
  if (!commonServer->netIsWifi() && commonServer->g3PromptStatus()) {
    scoViewInfo = unit;
    cellularAlert_ = std::make_shared<pf::AlertView>(
        std::nullopt, std::string(kCellularPrompt),
        std::static_pointer_cast<CmsDownloadViewCotnroller>(shared_from_this()), std::string("取消"),
        std::vector<std::string>{"确定"});
    cellularAlert_->show();
    return tableView()->reloadData();
  }
  startUnit(unit);
}

// Both ways of starting (at once, or after the cellular prompt) mark the unit, refresh the badge and
// reload, so the row shows "下载中".
void CmsDownloadViewCotnroller::startUnit(const std::shared_ptr<ScoViewInfo>& unit) {
  if (!unit || !dServer) return;
  unit->hasDownload = dServer->startDownloadingSco(unit);
  refreshBadge();
  tableView()->reloadData();
}

void CmsDownloadViewCotnroller::clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) {
  if (&alertView != cellularAlert_.get()) return CmsDetailBaseViewController::clickedButtonAtIndex(alertView, buttonIndex);
  cellularAlert_.reset();
  auto waiting = std::move(scoViewInfo);
  if (buttonIndex == 1) startUnit(waiting);
}

void CmsDownloadViewCotnroller::hasDownloadedSco(const std::shared_ptr<ScoViewInfo>& unit) {
  if (!checkCourseHasSelected()) return;
  openUnit(unit);
}

// A unit no longer in the course's list opens nothing.
void CmsDownloadViewCotnroller::openUnit(const std::shared_ptr<ScoViewInfo>& unit) {
  auto course = courseViewInfo();
  if (!course || !unit) return;
  const auto& units = course->scoInfoList;
  if (std::find(units.begin(), units.end(), unit) == units.end()) return;
  auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(ViewUtil::getWindowRootViewController());
  if (!navigation || !makePlayer) return;
  if (auto player = makePlayer(course, unit)) navigation->pushViewController(player, true);
}

void CmsDownloadViewCotnroller::comfirmPrompt() {
  if (!courseHasSelected) CmsDetailBaseViewController::rightBtnPressed();
  tableView()->reloadData();
}

void CmsDownloadViewCotnroller::rightBtnPressed() {
  auto shell = tabBarController();
  auto navigation = shell ? shell->navigationController() : nullptr;
  auto root = navigation ? std::dynamic_pointer_cast<pf::TabBarController>(navigation->parentViewController()) : nullptr;
  if (root) root->setSelectedIndex(kCmsDownloadManagerTab);
}

void CmsDownloadViewCotnroller::goback() {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void CmsDownloadViewCotnroller::resetRightBadgeNumber() {
  auto item = std::dynamic_pointer_cast<CmnNaviBtnItem>(navigationItem()->rightBarButtonItem());
  if (item && dServer) item->setBadgeNumber(static_cast<int>(dServer->downloadingScos().size()));
}

void CmsDownloadViewCotnroller::refreshBadge() {
  if (fromViewType == kFromManager) return resetRightBadgeNumber();
  auto shell = tabBarController();
  auto item = shell ? std::dynamic_pointer_cast<CmnNaviBtnItem>(shell->navigationItem()->rightBarButtonItem()) : nullptr;
  if (item && dServer) item->setBadgeNumber(static_cast<int>(dServer->downloadingScos().size()));
}

void CmsDownloadViewCotnroller::downloadStartedRequest(const HttpRequest::Ptr&, const Unit&) { resetRightBadgeNumber(); }

void CmsDownloadViewCotnroller::downloadFinishedRequest(const HttpRequest::Ptr&, const Unit&) {
  resetRightBadgeNumber();
  tableView()->reloadData();
}

void CmsDownloadViewCotnroller::downloadHasBeenRemovedRequest(const HttpRequest::Ptr&, const Unit& scoId, int,
                                                              const pf::ErrorPtr&) {
  resetRightBadgeNumber();
  if (auto course = courseViewInfo())
    for (const auto& unit : course->scoInfoList)
      if (unit && scoId && unit->scoId == scoId) unit->hasDownload = false;
  tableView()->reloadData();
}
