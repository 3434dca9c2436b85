#include "app/controller/cms/CmsStudySelCosCell.h"

#include <algorithm>
#include <cstdint>

#include "app/model/cms/ScoViewInfo.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/Screen.h"
#include "ui/extension/ColorExpanded.h"

namespace {

std::shared_ptr<pf::Image> cmsStudySelPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

double cmsStudySelWidthScale() { return pf::Screen::mainScreen().bounds().width() / 320; }

}  // namespace

float CmsStudySelCosCell::progressOfUnit(ScoViewInfo& unit, const std::optional<std::string>& courseStandard) {
  std::int64_t reference = unit.totalTime;
  if (courseStandard == std::optional<std::string>(kTwoScreen)) {
    const std::int64_t minimum = unit.minStudyTime;
    const std::int64_t total = unit.totalTime;
    reference = total != 0 ? std::min(minimum, total) : minimum;
  }
  const std::int64_t position = unit.currentPosition;
  if (reference == 0) return -static_cast<float>(position);
  unit.studyRate = static_cast<float>(static_cast<double>(position * 100) / static_cast<double>(reference));
  return unit.studyRate;
}

void CmsStudySelCosCell::awakeFromNib() {
  DownloadCell::awakeFromNib();
  if (auto name = scoNameLabel.lock()) nameFrame_ = name->frame();
  if (auto status = downloadStatusView.lock()) status->setHidden(false);
  if (auto icon = playIcon.lock()) icon->setImage(cmsStudySelPicture("CMS_DCOM_studyPlay_n.png"));
  if (auto value = progressValueLable.lock()) value->setHidden(true);
  if (auto bar = studyProgress.lock()) {
    bar->setProgress(0.2f);
    bar->setProgressTintColor(
        ColorExpanded::colorFromImage(cmsStudySelPicture("CMN_NAVI_item_hover_bg.png"), 0.5f, 0.5f, 0.1f));
  }
  setIsOnEditing(false);
}

void CmsStudySelCosCell::placeValueLabel(double x, const std::string& text) {
  auto value = progressValueLable.lock();
  if (!value) return;
  pf::Rect frame = value->frame();
  frame.origin.x = x;
  frame.size.width = 60 * cmsStudySelWidthScale();
  value->setFrame(frame);
  value->setText(text);
}

// The value label stays hidden, as designed; it is kept filled for whoever shows it.
void CmsStudySelCosCell::setProgress(float progress) {
  progress_ = progress;
  auto bar = studyProgress.lock();
  if (bar) {
    bar->setProgress(progress / 100);
    bar->setHidden(!(progress > 0 && progress < 100));
  }
  const double scale = cmsStudySelWidthScale();
  if (progress > 0 && progress < 100) {
    placeValueLabel((bar ? bar->frame().maxX() : 0) + 5 * scale, pf::format("%0.1f%%", progress));
  } else if (progress == 0) {
    placeValueLabel(113 * scale, "未开始");
  } else if (progress < 0) {
    placeValueLabel(113 * scale, pf::format("%0.2f分钟", -progress / 60000));
  }
}

void CmsStudySelCosCell::setStudyComplete(bool complete) {
  studyComplete_ = complete;
  if (!complete) return;
  if (auto bar = studyProgress.lock()) bar->setHidden(true);
  placeValueLabel(113 * cmsStudySelWidthScale(), "已完成");
}

void CmsStudySelCosCell::setCellType(std::optional<std::string> standard) {
  cellType_ = std::move(standard);
  const bool screens = cellType_ == std::optional<std::string>(kTwoScreen) ||
                       cellType_ == std::optional<std::string>(kThreeScreen);
  auto name = scoNameLabel.lock();
  if (name && nameFrame_) name->setFrame(*nameFrame_);
  if (!screens) {
    if (auto value = progressValueLable.lock()) value->setHidden(true);
    if (auto bar = studyProgress.lock()) bar->setHidden(true);
    if (auto prompt = studyProgressPromptLabel.lock()) prompt->setHidden(true);
    if (auto icon = playIcon.lock()) icon->setImage(cmsStudySelPicture("CMS_DCOM_studyPlay_n.png"));
    if (name) {
      pf::Rect frame = name->frame();
      frame.origin.y = 16 * pf::Screen::mainScreen().bounds().height() / 480;
      name->setFrame(frame);
    }
    return;
  }
  if (auto prompt = studyProgressPromptLabel.lock()) prompt->setHidden(false);
  if (auto icon = playIcon.lock())
    icon->setImage(cmsStudySelPicture(studyComplete_ ? "CMS_VIEW_studyDone.png" : "CMS_DCOM_studyPlay_n.png"));
}

void CmsStudySelCosCell::setHasDownloaded(bool downloaded) {
  hasDownloaded_ = downloaded;
  if (auto state = downState.lock()) state->setText(std::string(downloaded ? "已下载" : "未下载"));
  if (auto icon = downIcon.lock())
    icon->setImage(cmsStudySelPicture(downloaded ? "CMS_SDWN_downloaded_n.png" : "CMS_SDWN_downloaded_p.png"),
                   pf::Control::kNormal);
  if (auto status = downloadStatusView.lock()) status->setHidden(!downloaded);
}

void CmsStudySelCosCell::setCheckSymbolHidden(bool hidden) {
  checkSymbolHidden_ = hidden;
  if (auto check = checkSymbol.lock()) check->setHidden(hidden);
}

void CmsStudySelCosCell::setIsOnEditing(bool editing) {
  subViewNeedsMove = courseContentView;
  setCheckSymbolHidden(!editing);
  DownloadCell::setIsOnEditing(editing);
}

void CmsStudySelCosCell::setHasBeenSelected(bool selected) {
  DownloadCell::setHasBeenSelected(selected);
  if (auto check = checkSymbol.lock())
    check->setImage(cmsStudySelPicture(selected ? "CMS_UDWN_dwnCheck.png" : "CMS_UDWN_dwnUnCheck.png"));
}
