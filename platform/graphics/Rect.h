#pragma once
// A rectangle with the platform's semantics: an origin and a size that may be negative (the
// functions below work on the standardised rect), and a null rect (origin at infinity) that stands
// for "no rectangle", which is what the intersection of disjoint rects answers. The union ignores
// null rects. Containment is half-open: a rect contains its min edges, not its max edges.

#include "platform/graphics/Point.h"
#include "platform/graphics/Size.h"

#include <string>

namespace pf {

enum class RectEdge { minX, minY, maxX, maxY };

struct Rect {
  Point origin;
  Size size;

  Rect() = default;
  Rect(Point origin, Size size) : origin(origin), size(size) {}
  Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}

  static Rect null();
  static Rect zero() { return {}; }
  bool operator==(const Rect&) const = default;

  double minX() const;
  double midX() const;
  double maxX() const;
  double minY() const;
  double midY() const;
  double maxY() const;
  double width() const;
  double height() const;

  bool isNull() const;
  // Null, or without area.
  bool isEmpty() const;

  Rect standardized() const;
  // Moves each edge inwards by dx and dy (outwards when negative); null when nothing is left.
  Rect insetBy(double dx, double dy) const;
  Rect offsetBy(double dx, double dy) const;
  // The smallest rect with whole-number edges that holds this one.
  Rect integral() const;
  Rect intersection(const Rect& other) const;
  Rect unionWith(const Rect& other) const;
  bool intersects(const Rect& other) const;
  bool contains(Point point) const;
  bool contains(const Rect& other) const;

  struct Division;
  // Cuts a slice of the given amount off one edge; the remainder is what is left.
  Division divided(double amount, RectEdge edge) const;

  std::string description() const;
};

struct Rect::Division {
  Rect slice;
  Rect remainder;
};

}  // namespace pf
