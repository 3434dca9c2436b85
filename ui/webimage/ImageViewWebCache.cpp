#include "ui/webimage/ImageViewWebCache.h"

namespace {

const char kImageViewLoadSlot = 0;

}  // namespace

void ImageViewWebCache::setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url) {
  setImageWithURL(view, url, nullptr, 0, 0, nullptr, nullptr);
}

void ImageViewWebCache::setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                                        const ImagePtr& placeholderImage) {
  setImageWithURL(view, url, placeholderImage, 0, 0, nullptr, nullptr);
}

void ImageViewWebCache::setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                                        const ImagePtr& placeholderImage, int options) {
  setImageWithURL(view, url, placeholderImage, 0, options, nullptr, nullptr);
}

void ImageViewWebCache::setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                                        Completion completed) {
  setImageWithURL(view, url, nullptr, 0, 0, nullptr, std::move(completed));
}

void ImageViewWebCache::setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                                        const ImagePtr& placeholderImage, Completion completed) {
  setImageWithURL(view, url, placeholderImage, 0, 0, nullptr, std::move(completed));
}

void ImageViewWebCache::setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                                        const ImagePtr& placeholderImage, int options, Completion completed) {
  setImageWithURL(view, url, placeholderImage, 0, options, nullptr, std::move(completed));
}

void ImageViewWebCache::setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                                        const ImagePtr& placeholderImage, float height, int options,
                                        WebImageManager::ProgressBlock progress, Completion completed) {
  if (!view) return;
  cancelCurrentImageLoad(*view);
  view->setImage(placeholderImage);
  auto apply = [height](pf::View& target, const ImagePtr& image) {
    auto& imageView = static_cast<pf::ImageView&>(target);
    if (height != 0) {
      const pf::Rect frame = imageView.frame();
      imageView.setFrame(pf::Rect{frame.origin.x, frame.origin.y, WebCacheLoad::fittedWidth(*image, height), height});
    }
    imageView.setImage(image);
    imageView.setNeedsLayout();
  };
  WebCacheLoad::start(view, &kImageViewLoadSlot, url, options, std::move(progress), std::move(apply),
                      std::move(completed));
}

void ImageViewWebCache::cancelCurrentImageLoad(const pf::ImageView& view) {
  WebCacheLoad::cancel(view, &kImageViewLoadSlot);
}

std::shared_ptr<WebImageCombinedOperation> ImageViewWebCache::currentImageLoad(const pf::ImageView& view) {
  return WebCacheLoad::current(view, &kImageViewLoadSlot);
}
