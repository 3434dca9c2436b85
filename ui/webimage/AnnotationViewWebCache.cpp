#include "ui/webimage/AnnotationViewWebCache.h"

namespace {

const char kAnnotationLoadSlot = 0;

}  // namespace

void AnnotationViewWebCache::setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url) {
  setImageWithURL(view, url, nullptr, 0, nullptr);
}

void AnnotationViewWebCache::setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                                             const ImagePtr& placeholderImage) {
  setImageWithURL(view, url, placeholderImage, 0, nullptr);
}

void AnnotationViewWebCache::setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                                             const ImagePtr& placeholderImage, int options) {
  setImageWithURL(view, url, placeholderImage, options, nullptr);
}

void AnnotationViewWebCache::setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                                             Completion completed) {
  setImageWithURL(view, url, nullptr, 0, std::move(completed));
}

void AnnotationViewWebCache::setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                                             const ImagePtr& placeholderImage, Completion completed) {
  setImageWithURL(view, url, placeholderImage, 0, std::move(completed));
}

void AnnotationViewWebCache::setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                                             const ImagePtr& placeholderImage, int options, Completion completed) {
  if (!view) return;
  cancelCurrentImageLoad(*view);
  view->setImage(placeholderImage);
  auto apply = [](pf::View& target, const ImagePtr& image) { static_cast<pf::AnnotationView&>(target).setImage(image); };
  WebCacheLoad::start(view, &kAnnotationLoadSlot, url, options, nullptr, std::move(apply), std::move(completed));
}

void AnnotationViewWebCache::cancelCurrentImageLoad(const pf::AnnotationView& view) {
  WebCacheLoad::cancel(view, &kAnnotationLoadSlot);
}
