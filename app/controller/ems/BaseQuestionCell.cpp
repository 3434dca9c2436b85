#include "app/controller/ems/BaseQuestionCell.h"

#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Screen.h"
#include "ui/base/BaseUIImageView.h"

void BaseQuestionCell::setReadonly(bool readonly) {
  readonly_ = readonly;
  setUserInteractionEnabled(!readonly);
}

pf::Size BaseQuestionCell::pictureSize() {
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  return pf::Size(screen.width() / 320 * 60, screen.height() / 480 * 60);
}

double BaseQuestionCell::pictureStep() {
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  return screen.width() / 320 * 10 + screen.height() / 480 * 60;
}

void BaseQuestionCell::initAndAddImageViews(const std::vector<std::string>& urls, pf::Point origin) {
  for (const auto& old : imageViews_) old->removeFromSuperview();
  imageViews_.clear();
  const pf::Size size = pictureSize();
  const auto placeholder = pf::Image::named(kPlaceholderImage, pf::Screen::mainScreen().scale());
  for (const auto& url : urls) {
    auto picture = std::make_shared<BaseUIImageView>(pf::Rect(origin.x, origin.y, size.width, size.height));
    picture->setContentMode(pf::ContentMode::scaleAspectFit);
    picture->setImageWithDefaultSizeUrl(pf::Url::parse(url), placeholder, static_cast<float>(size.height));
    addSubview(picture);
    imageViews_.push_back(picture);
    origin.y += pictureStep();
  }
}
