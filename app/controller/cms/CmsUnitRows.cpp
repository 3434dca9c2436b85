#include "app/controller/cms/CmsUnitRows.h"

#include "app/controller/cms/CmsBaseInfoCell.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"

long CmsUnitRows::numberOfRows(const CourseViewInfo* course) {
  return course ? static_cast<long>(course->scoInfoList.size()) + 1 : 0;
}

std::shared_ptr<ScoViewInfo> CmsUnitRows::unitAtRow(const CourseViewInfo* course, long row) {
  if (!course || row < 1 || static_cast<size_t>(row) > course->scoInfoList.size()) return nullptr;
  return course->scoInfoList[static_cast<size_t>(row - 1)];
}

std::shared_ptr<pf::TableViewCell> CmsUnitRows::infoCell(pf::TableView& tableView, const CourseViewInfo* course) {
  auto cell = std::dynamic_pointer_cast<CmsBaseInfoCell>(
      ViewUtil::tableViewCellWithClass(CmsBaseInfoCell::kClassName, tableView));
  if (cell && course) cell->fillWithCourse(*course, CmsBaseInfoCell::kStudyFormats);
  return cell;
}

double CmsUnitRows::heightOfRow(long row) {
  const bool tablet = pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad;
  const double scale = tablet ? pf::Screen::mainScreen().bounds().height() / 480 : 1;
  return (row == 0 ? 112 : 60) * scale;
}
