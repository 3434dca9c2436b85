#pragma once
// A vector outline made of subpaths of lines and cubic curves, in the y-down user space of the
// drawing context. Arcs, ellipses and rounded corners are stored as cubic curves, so every consumer
// (filling, stroking, bounding boxes, hit tests, transforms) handles one kind of curve.

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"

#include <array>
#include <optional>
#include <vector>

namespace pf {

enum class FillRule { nonZero, evenOdd };

// Bits of the corners to round; the platform's values.
enum RectCorner : unsigned {
  kRectCornerTopLeft = 1,
  kRectCornerTopRight = 2,
  kRectCornerBottomLeft = 4,
  kRectCornerBottomRight = 8,
  kRectCornerAll = 15,
};

class Path {
 public:
  enum class ElementType { moveTo, lineTo, curveTo, closeSubpath };
  // A curve keeps its end point first, then the two control points.
  struct Element {
    ElementType type;
    std::array<Point, 3> points{};
  };

  static Path withRect(const Rect& rect);
  static Path withOval(const Rect& rect);
  // The radius is limited to half the shorter side.
  static Path withRoundedRect(const Rect& rect, double radius);
  static Path withRoundedRect(const Rect& rect, unsigned corners, Size radii);
  // Clockwise means increasing angles, which turn clockwise on a y-down screen.
  static Path withArc(Point center, double radius, double startAngle, double endAngle, bool clockwise);

  void moveTo(Point point);
  // Lines and curves without a current point start a subpath at their first point.
  void lineTo(Point point);
  void curveTo(Point end, Point control1, Point control2);
  void quadCurveTo(Point end, Point control);
  // Joins the current point to the arc's start with a line, or starts there.
  void addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise);
  void closeSubpath();
  void addRect(const Rect& rect);
  void addOval(const Rect& rect);
  void append(const Path& other);
  void apply(const AffineTransform& transform);

  bool isEmpty() const { return elements_.empty(); }
  std::optional<Point> currentPoint() const { return current_; }
  const std::vector<Element>& elements() const { return elements_; }
  // The tight box around the outline (curves at their extremes); null for an empty path.
  Rect boundingBox() const;
  // The box around every point including control points; null for an empty path.
  Rect controlPointBoundingBox() const;
  bool contains(Point point, FillRule rule = FillRule::nonZero) const;

  bool operator==(const Path&) const = default;

 private:
  std::vector<Element> elements_;
  std::optional<Point> current_;
  std::optional<Point> subpathStart_;
};

inline bool operator==(const Path::Element& a, const Path::Element& b) {
  return a.type == b.type && a.points == b.points;
}

}  // namespace pf
