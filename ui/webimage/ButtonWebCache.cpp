#include "ui/webimage/ButtonWebCache.h"

namespace {

const char kButtonLoadSlot = 0;

void fitButtonFrame(pf::Button& button, const pf::Image& image, float height, float maxWidth) {
  if (height == 0) return;
  const pf::Rect frame = button.frame();
  button.setFrame(pf::Rect{frame.origin.x, frame.origin.y, WebCacheLoad::fittedWidth(image, height, maxWidth), height});
}

}  // namespace

void ButtonWebCache::setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state) {
  setImageWithURL(button, url, state, nullptr, 0, 0, 0, nullptr);
}

void ButtonWebCache::setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                     const ImagePtr& placeholderImage) {
  setImageWithURL(button, url, state, placeholderImage, 0, 0, 0, nullptr);
}

void ButtonWebCache::setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                     const ImagePtr& placeholderImage, int options) {
  setImageWithURL(button, url, state, placeholderImage, 0, 0, options, nullptr);
}

void ButtonWebCache::setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                     Completion completed) {
  setImageWithURL(button, url, state, nullptr, 0, 0, 0, std::move(completed));
}

void ButtonWebCache::setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                     const ImagePtr& placeholderImage, Completion completed) {
  setImageWithURL(button, url, state, placeholderImage, 0, 0, 0, std::move(completed));
}

void ButtonWebCache::setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                     const ImagePtr& placeholderImage, float height, float maxWidth, int options,
                                     Completion completed) {
  if (!button) return;
  cancelCurrentImageLoad(*button);
  button->setImage(placeholderImage, state);
  auto apply = [state, height, maxWidth](pf::View& target, const ImagePtr& image) {
    auto& shown = static_cast<pf::Button&>(target);
    fitButtonFrame(shown, *image, height, maxWidth);
    shown.setImage(image, state);
  };
  WebCacheLoad::start(button, &kButtonLoadSlot, url, options, nullptr, std::move(apply), std::move(completed));
}

void ButtonWebCache::setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url,
                                               unsigned state) {
  setBackgroundImageWithURL(button, url, state, nullptr, 0, 0, nullptr);
}

void ButtonWebCache::setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url,
                                               unsigned state, const ImagePtr& placeholderImage) {
  setBackgroundImageWithURL(button, url, state, placeholderImage, 0, 0, nullptr);
}

void ButtonWebCache::setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url,
                                               unsigned state, const ImagePtr& placeholderImage, int options) {
  setBackgroundImageWithURL(button, url, state, placeholderImage, 0, options, nullptr);
}

void ButtonWebCache::setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url,
                                               unsigned state, Completion completed) {
  setBackgroundImageWithURL(button, url, state, nullptr, 0, 0, std::move(completed));
}

void ButtonWebCache::setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url,
                                               unsigned state, const ImagePtr& placeholderImage,
                                               Completion completed) {
  setBackgroundImageWithURL(button, url, state, placeholderImage, 0, 0, std::move(completed));
}

void ButtonWebCache::setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url,
                                               unsigned state, const ImagePtr& placeholderImage, float height,
                                               int options, Completion completed) {
  if (!button) return;
  cancelCurrentImageLoad(*button);
  button->setBackgroundImage(placeholderImage, state);
  auto apply = [state, height](pf::View& target, const ImagePtr& image) {
    auto& shown = static_cast<pf::Button&>(target);
    fitButtonFrame(shown, *image, height, 0);
    shown.setBackgroundImage(image, state);
  };
  WebCacheLoad::start(button, &kButtonLoadSlot, url, options, nullptr, std::move(apply), std::move(completed));
}

void ButtonWebCache::cancelCurrentImageLoad(const pf::Button& button) {
  WebCacheLoad::cancel(button, &kButtonLoadSlot);
}
