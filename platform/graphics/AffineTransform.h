#pragma once
// A 2D affine transform as a row-vector matrix [a b 0; c d 0; tx ty 1]: a point maps to
// (a x + c y + tx, b x + d y + ty). concatenated(t) applies this transform first, then t; the
// translated/scaled/rotated forms apply the new step before this transform, as the platform does.

#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"

namespace pf {

struct AffineTransform {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  static AffineTransform identity() { return {}; }
  static AffineTransform makeTranslation(double tx, double ty);
  static AffineTransform makeScale(double sx, double sy);
  // Angle in radians; positive turns from +x towards +y (clockwise on a y-down screen).
  static AffineTransform makeRotation(double angle);

  bool operator==(const AffineTransform&) const = default;
  bool isIdentity() const { return *this == identity(); }

  AffineTransform concatenated(const AffineTransform& then) const;
  AffineTransform translated(double tx, double ty) const;
  AffineTransform scaled(double sx, double sy) const;
  AffineTransform rotated(double angle) const;
  // A singular transform has no inverse and is answered unchanged.
  AffineTransform inverted() const;

  Point apply(Point point) const;
  // Sizes ignore the translation.
  Size apply(Size size) const;
  // The bounding box of the transformed corners; null stays null.
  Rect apply(const Rect& rect) const;
};

}  // namespace pf
