#include "app/controller/cms/CmsDetailBaseViewController.h"

#include "app/controller/cmn/CmnWaitPromptView.h"
#include "app/controller/cms/CmsDetailViewController.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/Screen.h"
#include "ui/hud/ProgressHUD.h"

CmsDetailBaseViewController::CmsDetailBaseViewController() = default;
CmsDetailBaseViewController::~CmsDetailBaseViewController() = default;

void CmsDetailBaseViewController::setCourseViewInfo(std::shared_ptr<CourseViewInfo> info) {
  courseViewInfo_ = std::move(info);
  courseHasSelected = courseViewInfo_ && courseViewInfo_->selected;
}

bool CmsDetailBaseViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  loadType = 0;
  return true;
}

bool CmsDetailBaseViewController::loadMore() {
  loadType = 1;
  return false;
}

void CmsDetailBaseViewController::viewDidLoad() {
  BaseTableViewController::viewDidLoad();
  isRequestingEditSelectingCourse = false;
  progressHUD = ProgressHUD::initWithView(view());
  progressHUD->setMode(ProgressHUD::kCustomView);
  view()->addSubview(progressHUD);
  auto self = std::static_pointer_cast<CmsDetailBaseViewController>(shared_from_this());
  commonServer = std::make_shared<CommonService>();
  courseServer = std::make_shared<CourseService>(std::weak_ptr<ServiceDelegate>(self));
  loadType = 0;
  ViewUtil::configForTableView(*tableView(), self);
  const double scale = pf::Screen::mainScreen().bounds().width() / 320;
  const pf::Rect bounds = view()->bounds();
  waitView = std::make_shared<CmnWaitPromptView>(
      pf::Rect{0, (bounds.height() - 140 * scale) / 2, bounds.width(), 30 * scale});
  waitView->setPromptStr(std::string(kWaitPrompt));
  view()->addSubview(waitView);
}

void CmsDetailBaseViewController::rightBtnPressed() {
  if (isRequestingEditSelectingCourse || !courseViewInfo_) return;
  if (courseHasSelected) {
    auto alert = std::make_shared<pf::AlertView>(
        std::string(kRemoveTitle), std::string(kRemoveMessage),
        std::dynamic_pointer_cast<pf::AlertViewDelegate>(shared_from_this()), std::string(kRemoveConfirm),
        std::vector<std::string>{kRemoveCancel});
    alert->show();
    return;
  }
  selectCourse();
}

void CmsDetailBaseViewController::selectCourse() {
  const pf::Date start = pf::Date::now();
  const pf::Date end{start.seconds + CourseService::kSelectionWindowSeconds};
  progressHUD->setLabelText(std::string(kSelectingText));
  progressHUD->show(true);
  isRequestingEditSelectingCourse = true;
  std::weak_ptr<CmsDetailBaseViewController> weak =
      std::static_pointer_cast<CmsDetailBaseViewController>(shared_from_this());
  pf::DispatchQueue::global()->async([weak, service = courseServer, course = courseViewInfo_, start, end] {
    auto answer = service->addSelectCourse(course, start, end);
    pf::DispatchQueue::main()->async([weak, answer] {
      auto self = weak.lock();
      if (!self) return;
      if (answer) self->setCourseViewInfo(answer);
      self->finishEditing();
    });
  });
}

void CmsDetailBaseViewController::clickedButtonAtIndex(pf::AlertView&, long buttonIndex) {
  if (buttonIndex == 0) removeCourse();
}

// The server call leaves the main queue; a refused removal keeps the course and its download marks.
void CmsDetailBaseViewController::removeCourse() {
  if (isRequestingEditSelectingCourse || !courseViewInfo_) return;
  progressHUD->setLabelText(std::string(kRemovingText));
  progressHUD->show(true);
  isRequestingEditSelectingCourse = true;
  std::weak_ptr<CmsDetailBaseViewController> weak =
      std::static_pointer_cast<CmsDetailBaseViewController>(shared_from_this());
  pf::DispatchQueue::global()->async([weak, service = courseServer, courseId = courseViewInfo_->id] {
    const bool removed = service->removeSelectCourse(courseId);
    pf::DispatchQueue::main()->async([weak, removed] {
      auto self = weak.lock();
      if (!self || !self->courseViewInfo_) return;
      auto course = self->courseViewInfo_;
      if (!removed) {
        self->finishEditing();
        return;
      }
      course->selected = false;
      self->setCourseViewInfo(course);
      for (const auto& unit : course->scoInfoList)
        if (unit) unit->hasDownload = false;
      auto shell = std::dynamic_pointer_cast<CmsDetailViewController>(self->tabBarController());
      if (shell && shell->viewType != CmsDetailViewController::kViewTypeCatalogue) {
        shell->goback();
        return;
      }
      self->finishEditing();
    });
  });
}

void CmsDetailBaseViewController::finishEditing() {
  if (auto listener = delegate.lock()) listener->afterEditCourseSelectCondition(courseViewInfo_);
  progressHUD->hide(true);
  tableView()->reloadData();
}
