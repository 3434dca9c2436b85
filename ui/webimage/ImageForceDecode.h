#pragma once
// Pictures made ready to draw before they reach the main thread, so no picture is decoded while a list
// scrolls. Any thread.

#include <memory>

#include "platform/graphics/Image.h"

class ImageForceDecode {
 public:
  // A picture over fully decoded pixels with the input's scale; animations come back as they are.
  static std::shared_ptr<const pf::Image> decodedImageWithImage(const std::shared_ptr<const pf::Image>& image);
};
