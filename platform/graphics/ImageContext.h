#pragma once
// Drawing into a fresh bitmap and taking pictures of it, as screens do to make pictures in code.

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"

#include <memory>

namespace pf {

class ImageContext {
 public:
  // A transparent (or, when opaque, black) canvas of the size in points at the scale; nullptr for an
  // empty size or one beyond the pixel budget.
  static std::unique_ptr<ImageContext> create(Size size, bool opaque = false, double scale = 1);

  GraphicsContext& context() { return *context_; }
  // A picture of what has been drawn so far; later drawing does not change it.
  std::shared_ptr<Image> image() const;
  // The picture of what has been drawn, taken without copying the pixels: the canvas is given up.
  // For a picture drawn once and kept (a layer's drawing, redrawn into every reused cell).
  static std::shared_ptr<Image> finish(std::unique_ptr<ImageContext> canvas);

 private:
  ImageContext(std::shared_ptr<Bitmap> bitmap, double scale);

  std::unique_ptr<GraphicsContext> context_;
};

}  // namespace pf
