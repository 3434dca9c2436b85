#include "platform/ui/ImageView.h"

#include "platform/foundation/Timer.h"
#include "platform/ui/CurrentContext.h"

namespace pf {

ImageView::ImageView() : ImageView(Rect()) {}

ImageView::ImageView(const Rect& frame) : View(frame) {
  setUserInteractionEnabled(false);
  setOpaque(false);
}

ImageView::ImageView(std::shared_ptr<const Image> image, std::shared_ptr<const Image> highlightedImage)
    : ImageView(Rect({0, 0}, image ? image->size() : Size{0, 0})) {
  image_ = std::move(image);
  highlightedImage_ = std::move(highlightedImage);
}

ImageView::~ImageView() {
  if (timer_) timer_->invalidate();
}

void ImageView::setImage(std::shared_ptr<const Image> image) {
  if (image_ == image) return;
  image_ = std::move(image);
  setNeedsDisplay();
}

void ImageView::setHighlightedImage(std::shared_ptr<const Image> image) {
  highlightedImage_ = std::move(image);
  setNeedsDisplay();
}

void ImageView::setHighlighted(bool highlighted) {
  if (highlighted_ == highlighted) return;
  highlighted_ = highlighted;
  setNeedsDisplay();
}

void ImageView::setAnimationImages(std::vector<std::shared_ptr<const Image>> images) {
  stopAnimating();
  animationImages_ = std::move(images);
}

void ImageView::startAnimating() {
  if (animationImages_.empty() || timer_) return;
  const double perFrame =
      animationDuration_ > 0 ? animationDuration_ / static_cast<double>(animationImages_.size()) : 1.0 / 30;
  frame_ = 0;
  cyclesDone_ = 0;
  std::weak_ptr<ImageView> weak = sharedAs<ImageView>();
  timer_ = Timer::scheduled(perFrame, true, [weak](Timer&) {
    if (auto self = weak.lock()) self->advanceFrame();
  });
  setNeedsDisplay();
}

void ImageView::stopAnimating() {
  if (!timer_) return;
  timer_->invalidate();
  timer_.reset();
  setNeedsDisplay();
}

void ImageView::advanceFrame() {
  if (++frame_ >= animationImages_.size()) {
    frame_ = 0;
    if (animationRepeatCount_ > 0 && ++cyclesDone_ >= animationRepeatCount_) {
      stopAnimating();
      return;
    }
  }
  setNeedsDisplay();
}

std::shared_ptr<const Image> ImageView::displayedImage() const {
  if (timer_ && frame_ < animationImages_.size()) return animationImages_[frame_];
  if (highlighted_ && highlightedImage_) return highlightedImage_;
  return image_;
}

Size ImageView::sizeThatFits(Size size) const {
  (void)size;
  const auto shown = highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
  return shown ? shown->size() : Size{0, 0};
}

void ImageView::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  const auto shown = displayedImage();
  if (context && shown) shown->draw(*context, bounds(), contentMode());
}

}  // namespace pf
