#include "ui/webimage/ImageForceDecode.h"

std::shared_ptr<const pf::Image> ImageForceDecode::decodedImageWithImage(
    const std::shared_ptr<const pf::Image>& image) {
  if (!image || !image->images().empty() || !image->bitmap()) return image;
  // The platform decodes every pixel when it reads a picture: the new picture shares those pixels.
  return pf::Image::withBitmap(image->bitmap(), image->scale());
}
