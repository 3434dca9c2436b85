#pragma once
// Closed outlines that fit a frame, to fill, stroke or mask with: a five-pointed star, a row of stars
// and four figures (heart, user, martini, beaker). Each figure is drawn into the largest square
// centred in a rectangle of the frame's size placed at 0,0 (the frame's origin plays no part), so a
// view can pass its own frame and use the path in its own coordinates. Points are computed in double
// precision and rounded to float, as the platform's paths keep them. Stateless; any thread.

#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"

class BasicShapes {
 public:
  static pf::Rect maximumSquareFrameThatFits(const pf::Rect& frame);
  static pf::Path starShape(const pf::Rect& frame);
  // count stars side by side, each in a slot of frame width / count and full height.
  static pf::Path stars(unsigned count, const pf::Rect& frame);
  static pf::Path heartShape(const pf::Rect& frame);
  static pf::Path userShape(const pf::Rect& frame);
  static pf::Path martiniShape(const pf::Rect& frame);
  static pf::Path beakerShape(const pf::Rect& frame);
};
