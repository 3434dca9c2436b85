#include "app/controller/cms/CmsBriefViewController.h"

#include "app/controller/cms/CmsBaseInfoCell.h"
#include "app/controller/cms/CmsBriefCell.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/service/cms/CourseService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"

#include <limits>

namespace {

bool cmsBriefIsTablet() { return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad; }

long cmsBriefPieces(const std::string& text, const std::string& separator) {
  long pieces = 1;
  for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, at + separator.size()))
    ++pieces;
  return pieces;
}

}  // namespace

CmsBriefViewController::CmsBriefViewController() = default;
CmsBriefViewController::~CmsBriefViewController() = default;

// Each hand-over reads the description again; only the newest read's answer is kept.
void CmsBriefViewController::setCourseViewInfo(std::shared_ptr<CourseViewInfo> info) {
  CmsDetailBaseViewController::setCourseViewInfo(info);
  if (!courseServer || !info) return;
  const int read = ++pendingReads_;
  std::weak_ptr<CmsBriefViewController> weak = std::static_pointer_cast<CmsBriefViewController>(shared_from_this());
  pf::DispatchQueue::global()->async([weak, service = courseServer, courseId = info->id, read] {
    auto text = service->courseBriefOfCourse(courseId);
    pf::DispatchQueue::main()->async([weak, text, read] {
      auto self = weak.lock();
      if (!self || read != self->pendingReads_) return;
      self->pendingReads_ = 0;
      self->brief = text;
      self->tableView()->reloadData();
    });
  });
}

double CmsBriefViewController::briefRowHeight(const std::optional<std::string>& description) {
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double widthScale = screen.width() / 320;
  const double heightScale = screen.height() / 480;
  if (!description || description->empty()) {
    const double top = pf::Application::kStatusBarHeight + 49 + 44;
    return screen.height() - top - (cmsBriefIsTablet() ? 112 * heightScale : 112);
  }
  const long lines = cmsBriefPieces(*description, "/br") + cmsBriefPieces(*description, "\r\n") - 2;
  const double height =
      pf::StringDrawing::sizeOfText(*description, *pf::Font::systemFont(14 * widthScale),
                                    {view()->bounds().width(), std::numeric_limits<double>::infinity()},
                                    pf::LineBreakMode::wordWrap)
          .height;
  return height + 20 * heightScale + static_cast<double>(lines) * 14 * widthScale;
}

long CmsBriefViewController::numberOfRowsInSection(pf::TableView&, long) { return 2; }

std::shared_ptr<pf::TableViewCell> CmsBriefViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                const pf::IndexPath& indexPath) {
  if (indexPath.row == 0) {
    auto cell = std::dynamic_pointer_cast<CmsBaseInfoCell>(
        ViewUtil::tableViewCellWithClass(CmsBaseInfoCell::kClassName, tableView));
    if (cell && courseViewInfo()) cell->fillWithCourse(*courseViewInfo(), CmsBaseInfoCell::kBriefFormats);
    return cell;
  }
  auto cell = std::dynamic_pointer_cast<CmsBriefCell>(ViewUtil::tableViewCellWithClass(CmsBriefCell::kClassName, tableView));
  if (cell) cell->setBrief(brief);
  return cell;
}

std::optional<double> CmsBriefViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (indexPath.row == 0) return cmsBriefIsTablet() ? 112 * pf::Screen::mainScreen().bounds().height() / 480 : 112;
  return briefRowHeight(brief);
}
