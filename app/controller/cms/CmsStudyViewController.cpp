#include "app/controller/cms/CmsStudyViewController.h"

#include "app/controller/cms/CmsMainMediaPlayerViewController.h"
#include "app/controller/cms/CmsStudySelCosCell.h"
#include "app/controller/cms/CmsStudyUnSelCell.h"
#include "app/controller/cms/CmsUnitRows.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/DownloadService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

CmsStudyViewController::CmsStudyViewController()
    : makePlayer([](const std::shared_ptr<CourseViewInfo>& course, const std::shared_ptr<ScoViewInfo>& unit) {
        auto player = std::make_shared<CmsMainMediaPlayerViewController>();
        player->courseViewInfo = course;
        player->scoViewInfo = unit;
        return std::static_pointer_cast<pf::ViewController>(player);
      }) {}

CmsStudyViewController::~CmsStudyViewController() {
  if (unSelectPromptVC) unSelectPromptVC->removeFromSuperview();
}

void CmsStudyViewController::viewDidLoad() {
  CmsDetailBaseViewController::viewDidLoad();
  downloadServer = DownloadService::instance();
}

void CmsStudyViewController::viewWillAppear(bool animated) {
  CmsDetailBaseViewController::viewWillAppear(animated);
  tableView()->reloadData();
}

// The prompt lives on the key window: it leaves with the tab rather than staying there hidden.
void CmsStudyViewController::viewWillDisappear(bool animated) {
  CmsDetailBaseViewController::viewWillDisappear(animated);
  if (unSelectPromptVC) {
    unSelectPromptVC->setHidden(true);
    unSelectPromptVC->removeFromSuperview();
  }
}

bool CmsStudyViewController::refreshData() {
  if (!CmsDetailBaseViewController::refreshData()) return false;
  auto course = courseViewInfo();
  std::weak_ptr<CmsStudyViewController> weak = std::static_pointer_cast<CmsStudyViewController>(shared_from_this());
  pf::DispatchQueue::global()->async([weak, service = courseServer, course, selected = courseHasSelected] {
    auto units = service->synScoInfoWithCourseViewInfo(course, selected);
    pf::DispatchQueue::main()->async([weak, course, units] {
      auto self = weak.lock();
      if (!self) return;
      if (course && units) course->scoInfoList = *units;
      if (course && !course->scoInfoList.empty())
        pf::DispatchQueue::main()->after(0.2, [weak] {
          if (auto later = weak.lock()) later->tableView()->reloadData();
        });
      self->refreshDataComplete();
    });
  });
  return true;
}

long CmsStudyViewController::numberOfRowsInSection(pf::TableView&, long) {
  return CmsUnitRows::numberOfRows(courseViewInfo().get());
}

std::shared_ptr<pf::TableViewCell> CmsStudyViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                const pf::IndexPath& indexPath) {
  auto course = courseViewInfo();
  auto unit = CmsUnitRows::unitAtRow(course.get(), indexPath.row);
  if (!unit) return CmsUnitRows::infoCell(tableView, course.get());
  if (!courseHasSelected) {
    auto cell = std::dynamic_pointer_cast<CmsStudyUnSelCell>(
        ViewUtil::tableViewCellWithClass(CmsStudyUnSelCell::kClassName, tableView));
    if (auto name = cell ? cell->sectionName.lock() : nullptr) name->setText(unit->scoName.value_or(""));
    return cell;
  }
  auto cell = std::dynamic_pointer_cast<CmsStudySelCosCell>(
      ViewUtil::tableViewCellWithClass(CmsStudySelCosCell::kClassName, tableView));
  if (!cell) return cell;
  cell->setProgress(CmsStudySelCosCell::progressOfUnit(*unit, course->courseStandard));
  cell->setStudyComplete(unit->studyComplete);
  cell->setCellType(course->courseStandard);
  auto record = downloadServer ? downloadServer->sdiWithScoId(unit->scoId) : nullptr;
  cell->setHasDownloaded(record && record->hasDownloaded);
  if (auto name = cell->scoNameLabel.lock()) name->setText(unit->scoName.value_or(""));
  cell->setCheckSymbolHidden(true);
  return cell;
}

std::optional<double> CmsStudyViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  return CmsUnitRows::heightOfRow(indexPath.row);
}

void CmsStudyViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  auto course = courseViewInfo();
  if (!course) return;
  if (!courseHasSelected) {
    showPrompt();
    return;
  }
  auto unit = CmsUnitRows::unitAtRow(course.get(), indexPath.row);
  if (!unit) return;
  auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(ViewUtil::getWindowRootViewController());
  if (!navigation || !makePlayer) return;
  auto player = makePlayer(course, unit);
  if (player) navigation->pushViewController(player, true);
}

void CmsStudyViewController::showPrompt() {
  if (unSelectPromptVC) unSelectPromptVC->removeFromSuperview();
  unSelectPromptVC = std::dynamic_pointer_cast<CmsCourseUnSelectedPromptView>(
      ViewUtil::viewFromNibOfClass(CmsCourseUnSelectedPromptView::kClassName));
  auto window = ViewUtil::getKeyWindow();
  if (!unSelectPromptVC || !window) return;
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  unSelectPromptVC->setFrame({0, 0, screen.width(), screen.height()});
  if (auto shell = tabBarController()) {
    auto right = shell->navigationItem()->rightBarButtonItem();
    unSelectPromptVC->srcRectView = right ? right->customView() : nullptr;
  }
  window->addSubview(unSelectPromptVC);
  unSelectPromptVC->setHideAlert(true);
  unSelectPromptVC->delegate = std::static_pointer_cast<CmsDetailBaseViewController>(shared_from_this());
}
