#include "app/controller/cms/CmsDetailDownloadCell.h"

#include "app/model/cms/ScoDownloadInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cms/DownloadService.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

void CmsDetailDownloadCell::setHasSelectedCourse(bool selected) {
  hasSelectedCourse_ = selected;
  setCmsDownCellStyle(selected ? 1 : 0);
}

void CmsDetailDownloadCell::setCmsDownCellStyle(int style) {
  cmsDownCellStyle_ = style;
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double w = screen.width() / 320;
  const double h = screen.height() / 480;
  if (auto icon = palyIconImgView.lock()) icon->setHidden(style == 0);
  auto name = sectionName.lock();
  if (!name) return;
  if (style == 0) {
    name->setFrame(pf::Rect(w * 5, h * 18, w * 244, h * 21));
    name->setTextColor(pf::Color::gray());
  } else if (style == 1) {
    name->setFrame(pf::Rect(w * 59, h * 18, w * 195, w * 21));
    name->setTextColor(pf::Color::black());
  }
}

void CmsDetailDownloadCell::setHasBeninDownloading(bool downloading) {
  hasBeninDownloading_ = downloading;
  if (auto background = downloadStateBgBtn.lock()) background->setHidden(downloading);
  if (auto image = downloadStateImgBtn.lock()) {
    image->setImage(pf::Image::named(downloading ? "CMS_UDWN_dwnUnCheck.png" : "CMS_DCOM_down.png",
                                     pf::Screen::mainScreen().scale()),
                    pf::Control::kNormal);
  }
  if (auto label = downloadStateLabel.lock()) {
    label->setText(downloading ? kDownloading : kDownload);
    label->setTextColor(downloading ? pf::Color::gray() : pf::Color::white());
  }
}

// Every fill sets the button, so a reused row shows nothing of the unit before; a downloaded unit's
// button opens it, as a downloading one's does.
void CmsDetailDownloadCell::setScoViewInfo(std::shared_ptr<ScoViewInfo> unit) {
  scoViewInfo_ = std::move(unit);
  if (auto name = sectionName.lock()) name->setText(scoViewInfo_ ? scoViewInfo_->scoName.value_or("") : "");
  if (!scoViewInfo_ || scoViewInfo_->videoUrl.value_or("").empty()) return setHasBeninDownloading(false);
  auto record = DownloadService::instance()->sdiWithScoId(scoViewInfo_->scoId);
  setHasBeninDownloading(record != nullptr);
  if (record && record->isComplete()) {
    if (auto label = downloadStateLabel.lock()) label->setText(kDownloaded);
  }
}

void CmsDetailDownloadCell::downloadBtnClick() {
  if (!scoViewInfo_) return;
  if (scoViewInfo_->videoUrl.value_or("").empty() && !scoViewInfo_->lectureUrl.value_or("").empty()) {
    noDownloadAlert_ = std::make_shared<pf::AlertView>(std::string(kNoDownloadTitle), std::string(kNoDownloadMessage),
                                                       std::weak_ptr<pf::AlertViewDelegate>(), std::string("确定"),
                                                       std::vector<std::string>{"取消"});
    return noDownloadAlert_->show();
  }
  auto target = delegate.lock();
  if (!target) return;
  if (hasBeninDownloading_) {
    target->hasDownloadedSco(scoViewInfo_);
  } else {
    target->startDownloadSco(scoViewInfo_);
  }
}
