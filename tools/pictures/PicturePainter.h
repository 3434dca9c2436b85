#pragma once
// Draws one picture of the table into a context of the picture's size, in points.

#include "platform/graphics/GraphicsContext.h"
#include "tools/pictures/Picture.h"

namespace pictures {

class PicturePainter {
 public:
  static void paint(const Picture& picture, pf::GraphicsContext& context);
};

}  // namespace pictures
