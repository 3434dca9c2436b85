#pragma once
// Tints pictures with a colour, as the navigation badge does to take the colour of its module.

#include <memory>

#include "platform/graphics/Color.h"

namespace pf {
class Image;
}

class ImageEditor {
 public:
  // The picture's shape filled with the colour in the colour-burn mode, burnt over the picture unless
  // only the coloured shape is wanted. Drawn upright (our drawing is y-down: no flip is needed).
  // Null for a picture without pixels.
  static std::shared_ptr<pf::Image> imageWithReplaceColor(const pf::Color& color, const pf::Image& image,
                                                         bool onlySaveBackGroundColorImage);
};
