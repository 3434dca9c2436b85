#pragma once
// A drawing context on a bitmap, in points with y growing downwards, as views draw. The bitmap holds
// scale pixels per point. State (colours, line style, clip, transform, alpha, shadow, blend mode) is
// saved and restored as a stack. Shadows follow the y-down space too: a positive height casts the
// shadow downwards. Not thread-safe: one thread draws into one context at a time.

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

typedef struct _cairo cairo_t;

namespace pf {

class Image;

enum class LineCap { butt = 0, round = 1, square = 2 };
enum class LineJoin { miter = 0, round = 1, bevel = 2 };
// The platform's blend-mode numbers for the modes this context draws.
enum class BlendMode {
  normal = 0,
  multiply = 1,
  screen = 2,
  overlay = 3,
  darken = 4,
  lighten = 5,
  colorBurn = 7,
  clear = 16,
  copy = 17,
  sourceIn = 18,
  sourceOut = 19,
  sourceAtop = 20,
  destinationOver = 21,
  destinationIn = 22,
  destinationOut = 23,
  destinationAtop = 24,
  xorMode = 25,
  plusLighter = 27,
};

class GraphicsContext {
 public:
  // Draws into the bitmap, which the context keeps alive; a missing bitmap is a contract fault
  // (std::invalid_argument).
  GraphicsContext(std::shared_ptr<Bitmap> target, double scale = 1);
  ~GraphicsContext();
  GraphicsContext(const GraphicsContext&) = delete;
  GraphicsContext& operator=(const GraphicsContext&) = delete;

  const std::shared_ptr<Bitmap>& bitmap() const;
  double scale() const;
  // The bitmap's size in points.
  Size size() const;

  void saveGState();
  // Extra restores are ignored.
  void restoreGState();

  void translate(double dx, double dy);
  void scaleBy(double sx, double sy);
  void rotate(double angle);
  void concat(const AffineTransform& transform);
  // From user space to points of the bitmap (the scale to pixels is not part of it).
  AffineTransform ctm() const;

  void clip(const Rect& rect);
  void clip(const Path& path, FillRule rule = FillRule::nonZero);
  // Clips to the rect and, inside it, to the picture's alpha stretched over the rect: later drawing
  // shows where the picture is opaque. Masks intersect; restoreGState takes them back.
  void clipToMask(const Rect& rect, const Image& mask);
  Rect clipBoundingBox() const;

  void setFillColor(const Color& color);
  void setStrokeColor(const Color& color);
  void setLineWidth(double width);
  void setLineCap(LineCap cap);
  void setLineJoin(LineJoin join);
  void setMiterLimit(double limit);
  // Empty lengths draw solid lines.
  void setLineDash(double phase, const std::vector<double>& lengths);
  // Multiplies everything drawn afterwards.
  void setAlpha(double alpha);
  void setBlendMode(BlendMode mode);
  // Offset and blur in points; a clear colour (or blur and offset of zero with a clear colour) is none.
  void setShadow(Size offset, double blur, const Color& color = Color::fromWhite(0, 1.0 / 3));
  void clearShadow();
  // Shadow blurs run so far on this thread; a shape drawn again with the same alpha and blur reuses
  // its blurred shadow.
  static std::uint64_t shadowBlurCount();
  // Offscreen pictures composed so far on this thread (for alpha, shadows and transparency layers).
  static std::uint64_t offscreenPassCount();

  void fillRect(const Rect& rect);
  void strokeRect(const Rect& rect);
  // Makes the rect transparent, whatever the blend mode.
  void clearRect(const Rect& rect);
  void fillPath(const Path& path, FillRule rule = FillRule::nonZero);
  void strokePath(const Path& path);
  // Paints only the shadow that filling the path would cast, and only outside the path, with the
  // current shadow, alpha and blend mode. Drawn from the outline, without an offscreen picture of it.
  void castShadow(const Path& path);
  void fillEllipse(const Rect& rect);
  void strokeEllipse(const Rect& rect);
  // Fills the clip with the gradient along the line from start to end.
  void drawLinearGradient(const Gradient& gradient, Point start, Point end, unsigned options = 0);
  void drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                          double endRadius, unsigned options = 0);
  // Draws the pixels stretched into the rect; smooth scaling unless `smooth` is false.
  void drawBitmap(const Bitmap& bitmap, const Rect& rect, bool smooth = true);
  // Fills the rect with copies of the pixels, each of the tile size, the first at the rect's origin.
  void drawTiledBitmap(const Bitmap& bitmap, const Rect& rect, Size tile);

  // Everything drawn until the matching end is composed as one picture, then given the shadow and
  // alpha that were current at the begin.
  void beginTransparencyLayer();
  // The same for drawing that stays inside the rect (user space); what falls outside is cut. Much
  // cheaper with a shadow or alpha on a large canvas, since only the rect is composed offscreen.
  void beginTransparencyLayer(const Rect& bounds);
  void endTransparencyLayer();

 private:
  void beginLayer(const std::optional<Rect>& bounds);

  struct Impl;
  std::unique_ptr<Impl> impl_;
  friend cairo_t* cairoHandle(GraphicsContext& context);
  friend void drawWithState(GraphicsContext& context, const std::function<void(cairo_t*)>& paint,
                            const std::optional<Rect>& bounds);
};

}  // namespace pf
