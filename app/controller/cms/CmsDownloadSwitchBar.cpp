#include "app/controller/cms/CmsDownloadSwitchBar.h"

#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

void CmsDownloadSwitchBar::setIsSelectedDownloading(bool downloading) {
  const double scale = pf::Screen::mainScreen().scale();
  auto selected = pf::Image::named("CMS_DOWN_tab_selected.png", scale);
  auto unselected = pf::Image::named("CMS_DOWN_tab_unselected.png", scale);
  if (auto button = downloadingBtn.lock()) button->setBackgroundImage(downloading ? selected : unselected, pf::Control::kNormal);
  if (auto button = downloadedBtn.lock()) button->setBackgroundImage(downloading ? unselected : selected, pf::Control::kNormal);
  if (auto marker = switchItemSelectedSymbolL.lock()) marker->setHidden(!downloading);
  if (auto marker = switchItemSelectedSymbolR.lock()) marker->setHidden(downloading);
  isSelectedDownloading_ = downloading;
  if (auto delegate = delegete.lock()) delegate->selectedDownloadType(downloading);
}

void CmsDownloadSwitchBar::setCounts(int downloading, int downloaded) {
  downloadingCount_ = downloading;
  downloadedCount_ = downloaded;
  if (auto label = downloadingLabel.lock()) label->setText(pf::format("下载中(%d)", downloading));
  if (auto label = downloadedLabel.lock()) label->setText(pf::format("已下载(%d)", downloaded));
}
