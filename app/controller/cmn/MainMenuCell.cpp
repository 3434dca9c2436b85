#include "app/controller/cmn/MainMenuCell.h"

#include "app/controller/cmn/ModuleScreens.h"
#include "app/model/cmn/MobileApp.h"
#include "app/service/cmn/UserMobileAppService.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

std::shared_ptr<pf::Image> menuPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

std::optional<std::string> MainMenuCell::badgeText(int reminder) {
  if (reminder <= 0) return std::nullopt;
  return reminder >= kBadgeLimit ? std::string("99+") : std::to_string(reminder);
}

void MainMenuCell::fill(const MobileApp& app) {
  if (auto label = contentLabel.lock()) label->setText(app.appName);
  if (auto icon = menuImgView.lock()) {
    if (ModuleScreens::isModule(app)) {
      ImageViewWebCache::cancelCurrentImageLoad(*icon);
      icon->setImage(menuPicture(UserMobileAppService::normalImageWithAppCode(app.appCode)));
      icon->setHighlightedImage(menuPicture(UserMobileAppService::hightlightImageWithAppCode(app.appCode)));
    } else {
      icon->setHighlightedImage(nullptr);
      const std::optional<pf::Url> url = app.appIcon ? pf::Url::parse(*app.appIcon) : std::nullopt;
      ImageViewWebCache::setImageWithURL(icon, url, menuPicture("CMN_NAVI_default_n.png"));
    }
  }
  const std::optional<std::string> badge = badgeText(app.reminder);
  if (auto background = numImgView.lock()) background->setHidden(!badge);
  if (auto number = notifyNum.lock()) {
    number->setHidden(!badge);
    number->setText(badge.value_or(""));
  }
}

void MainMenuCell::setHighlighted(bool highlighted, bool animated) {
  pf::TableViewCell::setHighlighted(highlighted, animated);
  if (auto icon = menuImgView.lock()) icon->setHighlighted(highlighted);
}
