#include "ui/base/BaseUIImageView.h"

#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"
#include "platform/ui/NibRegistry.h"
#include "ui/webimage/ImageViewWebCache.h"
#include "ui/webimage/WebImageOptions.h"

BaseUIImageView::BaseUIImageView() : BaseUIImageView(pf::Rect()) {}

BaseUIImageView::BaseUIImageView(const pf::Rect& frame) : pf::ImageView(frame) {}

void BaseUIImageView::registerForInterfaceFiles() {
  pf::NibRegistry::define<BaseUIImageView>();
}

void BaseUIImageView::setImageUrl(const pf::Url& url, int forImageSizeFlag) {
  imageUrlDic_.insert_or_assign(forImageSizeFlag, url);
}

std::optional<pf::Url> BaseUIImageView::imageUrlForImageSizeFlag(int flag) const {
  const auto found = imageUrlDic_.find(flag);
  if (found == imageUrlDic_.end()) return std::nullopt;
  return found->second;
}

std::optional<pf::Url> BaseUIImageView::currentImageUrl() const {
  return imageUrlForImageSizeFlag(currentSizeFlag_);
}

void BaseUIImageView::setImageWithCurrentSizeFlag(int flag, const std::optional<pf::Url>& imageUrl,
                                                  const ImagePtr& placeholderImage, float height) {
  if (!imageUrl) throw pf::ContractViolation("Image url can not be nil");
  ImageViewWebCache::setImageWithURL(sharedAs<pf::ImageView>(), imageUrl, placeholderImage, height,
                                     WebImageRefreshCached, nullptr, nullptr);
  setImageUrl(*imageUrl, flag);
  currentSizeFlag_ = flag;
}

void BaseUIImageView::setImageWithCurrentSizeFlag(int flag, const ImagePtr& placeholderImage, float height) {
  const std::optional<pf::Url> url = imageUrlForImageSizeFlag(flag);
  if (!url) throw pf::ContractViolation(pf::format("Please set imageUrl for sizeFlag %d first!", flag));
  setImageWithCurrentSizeFlag(flag, url, placeholderImage, height);
}

void BaseUIImageView::setImageWithDefaultSizeUrl(const std::optional<pf::Url>& url, const ImagePtr& placeholderImage,
                                                 float height) {
  setImageWithCurrentSizeFlag(0, url, placeholderImage, height);
}
