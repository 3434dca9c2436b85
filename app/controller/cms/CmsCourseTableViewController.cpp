#include "app/controller/cms/CmsCourseTableViewController.h"

#include <algorithm>

#include "app/controller/cms/CmsAllCell.h"
#include "app/controller/cms/CmsCourseTableViewDelegate.h"
#include "app/controller/cms/CmsDetailViewController.h"
#include "app/controller/cms/CmsMyCell.h"
#include "app/model/cmn/Page.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/Device.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"

namespace {

bool cmsCourseListStandardIn(const std::optional<std::string>& standard, std::initializer_list<const char*> set) {
  return standard && std::any_of(set.begin(), set.end(), [&](const char* s) { return *standard == s; });
}

}  // namespace

CmsCourseTableViewController::CmsCourseTableViewController() = default;
CmsCourseTableViewController::~CmsCourseTableViewController() = default;

void CmsCourseTableViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  courseService = std::make_shared<CourseService>(self);
  courseSyncService = std::make_shared<CourseSyncService>(self);
}

long CmsCourseTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return resourceArr ? static_cast<long>(resourceArr->size()) : 0;
}

std::shared_ptr<CourseViewInfo> CmsCourseTableViewController::rowAt(const pf::IndexPath& indexPath) const {
  if (!resourceArr || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= resourceArr->size()) return nullptr;
  return (*resourceArr)[indexPath.row];
}

std::shared_ptr<pf::TableViewCell> CmsCourseTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                      const pf::IndexPath& indexPath) {
  std::shared_ptr<CmsCourseCell> cell;
  if (showStudyRate) {
    cell = std::dynamic_pointer_cast<CmsCourseCell>(tableView.dequeueReusableCellWithIdentifier(CmsMyCell::kReuseIdentifier));
    if (!cell) cell = std::dynamic_pointer_cast<CmsCourseCell>(ViewUtil::viewFromNibOfClass(CmsMyCell::kClassName));
  } else {
    cell = std::dynamic_pointer_cast<CmsCourseCell>(tableView.dequeueReusableCellWithIdentifier(CmsAllCell::kReuseIdentifier));
    if (!cell) {
      auto made = std::dynamic_pointer_cast<CmsAllCell>(ViewUtil::viewFromNib(CmsAllCell::kClassName, shared_from_this()));
      if (made) made->commonInit();
      cell = made;
    }
  }
  if (!cell) return std::make_shared<pf::TableViewCell>();
  if (auto course = rowAt(indexPath)) cell->fillWithCourse(*course);
  return cell;
}

double CmsCourseTableViewController::rowHeight() {
  if (pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad)
    return pf::Screen::mainScreen().bounds().height() / 480 * kRowHeight;
  return kRowHeight;
}

std::optional<double> CmsCourseTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return rowHeight();
}

void CmsCourseTableViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  if (auto delegate = courseDelegate.lock()) delegate->tableViewDidSelectItem();
}

CmsCourseTableViewController::Courses CmsCourseTableViewController::coursesOfPage(const Page& page) {
  Courses courses;
  if (!page.rows) return courses;
  for (const auto& value : *page.rows)
    if (auto course = value.objectAs<CourseViewInfo>()) courses.push_back(course);
  return courses;
}

void CmsCourseTableViewController::pageAnswered(const std::shared_ptr<Page>& page, bool refresh) {
  if (!page) return;
  currentPage = page;
  auto rows = coursesOfPage(*page);
  if (refresh || !resourceArr) {
    resourceArr = std::move(rows);
  } else {
    resourceArr->insert(resourceArr->end(), rows.begin(), rows.end());
  }
  tableView()->reloadData();
}

bool CmsCourseTableViewController::isDesktopOnlyStandard(const std::optional<std::string>& standard) {
  return cmsCourseListStandardIn(standard, {"SCORM12", "SCORM14", "DOWNLOAD"});
}

bool CmsCourseTableViewController::isOnlineOnlyStandard(const std::optional<std::string>& standard) {
  return cmsCourseListStandardIn(standard, {"ONLINEPACKAGE", "OLINEURL", "ONLINEDOC"});
}

std::shared_ptr<pf::NavigationController> CmsCourseTableViewController::courseNavigationController() const {
  if (auto navigation = navigationController()) return navigation;
  auto parent = parentViewController();
  return parent ? parent->navigationController() : nullptr;
}

void CmsCourseTableViewController::openCatalogueCourse(const std::shared_ptr<CourseViewInfo>& row) {
  if (isDesktopOnlyStandard(row->courseStandard)) {
    showErrorInfoWithMessage(kNotForMobile);
    return;
  }
  const bool online = CommonUtil::isOnline();
  const auto courseId = row->id;
  auto unselected = std::make_shared<CourseViewInfo>(*row);
  openCourse(row, CmsDetailViewController::kViewTypeCatalogue, [=](CourseService& service) {
    Opening opening;
    opening.selected = service.hasSelectedCourse(courseId);
    if (*opening.selected) {
      if (online && !service.hasPurview(courseId)) {
        opening.message = kRestricted;
        return opening;
      }
      opening.course = service.getCourseViewInfoWithCourseID(courseId);
    } else {
      // The units are listed for a snapshot of the row; the row itself is only touched on main.
      opening.units = service.getScoViewInfosWithCourseViewInfo(unselected, false).value_or(CourseService::ScoViews{});
    }
    if (*opening.selected && opening.course && !opening.course->scoInfoList.empty())
      service.updateCourseLastModifyTimeWithCourseID(courseId);
    return opening;
  });
}

void CmsCourseTableViewController::openCourse(const std::shared_ptr<CourseViewInfo>& row, int viewType,
                                              OpeningCheck check) {
  if (opening_ || !row) return;
  opening_ = true;
  std::weak_ptr<CmsCourseTableViewController> weak = sharedAs<CmsCourseTableViewController>();
  auto service = courseService;
  pf::DispatchQueue::global()->async([weak, service, row, viewType, check = std::move(check)] {
    Opening opening = check(*service);
    pf::DispatchQueue::main()->async([weak, row, viewType, opening = std::move(opening)] {
      if (auto self = weak.lock()) self->finishOpening(row, viewType, opening);
    });
  });
}

void CmsCourseTableViewController::finishOpening(const std::shared_ptr<CourseViewInfo>& row, int viewType,
                                                 const Opening& opening) {
  opening_ = false;
  if (opening.selected) row->selected = *opening.selected;
  if (opening.message) {
    showErrorInfoWithMessage(*opening.message);
    return;
  }
  auto course = opening.units ? row : opening.course;
  if (opening.units) row->scoInfoList = *opening.units;
  auto navigation = courseNavigationController();
  if (!course || course->scoInfoList.empty() || !navigation) {
    showErrorInfoWithMessage(isOnlineOnlyStandard(row->courseStandard) ? kNotForMobile : kNoUnits);
    return;
  }
  auto detail = std::make_shared<CmsDetailViewController>();
  detail->setHidesBottomBarWhenPushed(true);
  detail->viewType = viewType;
  detail->setCourseViewInfo(course);
  navigation->pushViewController(detail, true);
  if (auto delegate = courseDelegate.lock()) delegate->tableViewDidSelectItem();
}

std::shared_ptr<Page> CmsCourseTableViewController::refreshRequest(const std::shared_ptr<Page>& current) {
  auto request = current ? std::make_shared<Page>(*current) : std::make_shared<Page>();
  request->pageNo = 1;
  request->rows = nullptr;
  request->autoCount = true;
  return request;
}

std::shared_ptr<Page> CmsCourseTableViewController::loadMoreRequest(const std::shared_ptr<Page>& current) {
  auto request = current ? std::make_shared<Page>(*current) : std::make_shared<Page>();
  request->autoCount = false;
  request->rows = nullptr;
  request->pageNo = request->pageNo + 1;
  return request;
}

void CmsCourseTableViewController::fetchPage(const std::shared_ptr<Page>& request, bool refresh, PageFetch fetch) {
  if (refresh) markRefresh();
  const unsigned long asked = refreshGeneration_;
  std::weak_ptr<CmsCourseTableViewController> weak = sharedAs<CmsCourseTableViewController>();
  auto service = courseService;
  pf::DispatchQueue::global()->async([weak, service, request, refresh, asked, fetch = std::move(fetch)] {
    auto page = fetch(*service, request);
    pf::DispatchQueue::main()->async([weak, page, refresh, asked] {
      auto self = weak.lock();
      if (!self) return;
      if (refresh) {
        self->markRefresh();
        self->pageAnswered(page, true);
        self->refreshDataComplete();
        return;
      }
      // A refresh began or ended meanwhile: this page belongs to the rows before it.
      self->pageAnswered(asked == self->refreshGeneration_ ? page : nullptr, false);
      self->loadMoreCompleted();
    });
  });
}
