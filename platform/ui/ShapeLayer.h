#pragma once
// A layer that draws a path: filled, stroked, or both, with the stroke drawn only between
// strokeStart and strokeEnd (fractions of the path's length), which is how a meter or a progress
// ring grows. As a mask, its filled path is the shape that shows.

#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/ui/Layer.h"

namespace pf {

class ShapeLayer : public Layer {
 public:
  static std::shared_ptr<ShapeLayer> make() { return std::make_shared<ShapeLayer>(); }

  const std::shared_ptr<const Path>& path() const { return path_; }
  void setPath(std::shared_ptr<const Path> path);
  // Black by default; none fills nothing.
  const std::optional<Color>& fillColor() const { return fillColor_; }
  void setFillColor(std::optional<Color> color);
  // None by default.
  const std::optional<Color>& strokeColor() const { return strokeColor_; }
  void setStrokeColor(std::optional<Color> color);
  double lineWidth() const { return lineWidth_; }
  void setLineWidth(double width);
  double strokeStart() const { return strokeStart_; }
  void setStrokeStart(double fraction);
  double strokeEnd() const { return strokeEnd_; }
  void setStrokeEnd(double fraction);
  FillRule fillRule() const { return fillRule_; }
  void setFillRule(FillRule rule) { fillRule_ = rule; }
  LineCap lineCap() const { return lineCap_; }
  void setLineCap(LineCap cap) { lineCap_ = cap; }
  LineJoin lineJoin() const { return lineJoin_; }
  void setLineJoin(LineJoin join) { lineJoin_ = join; }
  const std::vector<double>& lineDashPattern() const { return dashes_; }
  void setLineDashPattern(std::vector<double> dashes) { dashes_ = std::move(dashes); }

  // The part of a path between two fractions of its length (curves flattened to lines).
  static Path trimmed(const Path& path, double start, double end);

  void drawContent(GraphicsContext& context) const override;
  AnimatableValue valueForKeyPath(const std::string& keyPath) const override;
  bool setValueForKeyPath(const std::string& keyPath, const AnimatableValue& value) override;

 protected:
  std::shared_ptr<Layer> makeCopy() const override;

 private:
  std::shared_ptr<const Path> path_;
  std::optional<Color> fillColor_ = Color::black();
  std::optional<Color> strokeColor_;
  double lineWidth_ = 1;
  double strokeStart_ = 0;
  double strokeEnd_ = 1;
  FillRule fillRule_ = FillRule::nonZero;
  LineCap lineCap_ = LineCap::butt;
  LineJoin lineJoin_ = LineJoin::miter;
  std::vector<double> dashes_;
};

}  // namespace pf
