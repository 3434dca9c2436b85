#include "platform/ui/AnnotationView.h"

#include "platform/ui/CurrentContext.h"

namespace pf {

AnnotationView::AnnotationView() : AnnotationView(Rect()) {}

AnnotationView::AnnotationView(const Rect& frame) : View(frame) {
  setOpaque(false);
}

void AnnotationView::setImage(std::shared_ptr<const Image> image) {
  image_ = std::move(image);
  if (image_) {
    const Point middle = center();
    setBounds(Rect{bounds().origin, image_->size()});
    setCenter(middle);
  }
  setNeedsDisplay();
}

void AnnotationView::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (context && image_) image_->draw(*context, bounds());
}

}  // namespace pf
