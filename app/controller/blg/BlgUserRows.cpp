#include "app/controller/blg/BlgUserRows.h"

#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/model/blg/Statistics.h"
#include "app/service/blg/BlgUserService.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/webimage/ImageViewWebCache.h"

double BlgUserRows::rowHeight() {
  if (pf::Device::currentDevice().userInterfaceIdiom() != pf::Device::Idiom::Pad) return kRowHeight;
  return pf::Screen::mainScreen().bounds().height() / 480 * kRowHeight;
}

void BlgUserRows::showFace(const std::shared_ptr<pf::ImageView>& view, const std::optional<std::string>& faceUrl) {
  if (!view) return;
  auto placeholder = pf::Image::named(kFacePlaceholder, pf::Screen::mainScreen().scale());
  const auto url = faceUrl && !faceUrl->empty() ? pf::Url::parse(*faceUrl) : std::nullopt;
  if (url) {
    ImageViewWebCache::setImageWithURL(view, url, placeholder);
  } else {
    ImageViewWebCache::cancelCurrentImageLoad(*view);
    view->setImage(placeholder);
  }
}

bool BlgUserRows::openProfile(pf::ViewController& list, BlgUserService& users, const std::optional<std::string>& userId,
                              const std::weak_ptr<pf::ViewController>& parent) {
  auto statistics = users.getUserDetailWithUserID(userId);
  auto navigation = list.navigationController();
  if (!statistics || !navigation) return false;
  auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgUserInfoViewController::kClassName));
  if (!profile) return false;
  profile->needBack = true;
  profile->userStatistics = statistics;
  profile->parentController = parent;
  profile->setHidesBottomBarWhenPushed(true);
  navigation->pushViewController(profile, true);
  return true;
}
