#include "platform/graphics/ImageContext.h"

#include <cmath>

namespace pf {

std::unique_ptr<ImageContext> ImageContext::create(Size size, bool opaque, double scale) {
  if (!(scale > 0) || !(size.width > 0) || !(size.height > 0)) return nullptr;
  const double w = std::ceil(size.width * scale), h = std::ceil(size.height * scale);
  if (!Bitmap::fitsBudget(static_cast<std::int64_t>(std::min(w, 1e12)),
                          static_cast<std::int64_t>(std::min(h, 1e12))))
    return nullptr;
  auto bitmap = Bitmap::create(static_cast<int>(w), static_cast<int>(h));
  if (!bitmap) return nullptr;
  if (opaque)
    for (int y = 0; y < bitmap->height(); ++y)
      for (int x = 0; x < bitmap->width(); ++x) bitmap->setPixel(x, y, {0, 0, 0, 255});
  return std::unique_ptr<ImageContext>(new ImageContext(std::move(bitmap), scale));
}

ImageContext::ImageContext(std::shared_ptr<Bitmap> bitmap, double scale)
    : context_(std::make_unique<GraphicsContext>(std::move(bitmap), scale)) {}

std::shared_ptr<Image> ImageContext::image() const {
  const auto& bitmap = context_->bitmap();
  return Image::withBitmap(bitmap->cropped(0, 0, bitmap->width(), bitmap->height()), context_->scale());
}

std::shared_ptr<Image> ImageContext::finish(std::unique_ptr<ImageContext> canvas) {
  if (!canvas) return nullptr;
  auto bitmap = canvas->context_->bitmap();
  const double scale = canvas->context_->scale();
  canvas.reset();
  return Image::withBitmap(std::move(bitmap), scale);
}

}  // namespace pf
