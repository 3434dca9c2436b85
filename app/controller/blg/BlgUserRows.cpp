#include "app/controller/blg/BlgUserRows.h"

#include "app/model/blg/BlogUser.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
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

std::vector<std::shared_ptr<BlogUser>> BlgUserRows::usersOf(const pf::ArrayPtr& rows) {
  std::vector<std::shared_ptr<BlogUser>> users;
  if (!rows) return users;
  for (const auto& value : *rows)
    if (auto user = value.objectAs<BlogUser>()) users.push_back(user);
  return users;
}
