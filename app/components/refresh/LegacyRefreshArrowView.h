#pragma once
// The circular arrow of the legacy pull-to-refresh control: it grows from nothing to three quarters of
// a circle with an arrow head as the pull goes on, and glows (a lighter or darker fill with a soft
// shadow) once the pull is far enough. Drawn by its shape layer.

#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Point.h"
#include "platform/ui/View.h"

namespace pf {
class ShapeLayer;
}  // namespace pf

class LegacyRefreshArrowView : public pf::View {
  PF_OBJECT(LegacyRefreshArrowView, pf::View)

  // Seconds the glow takes to come and go.
  static constexpr double kGlowDuration = 0.4;

  LegacyRefreshArrowView();
  explicit LegacyRefreshArrowView(const pf::Rect& frame);

  pf::ShapeLayer& shapeLayer() const;

  // None gives the default grey (white level 0.5).
  void setTintColor(std::optional<pf::Color> color);
  const pf::Color& tintColor() const { return tintColor_; }
  const pf::Color& glowColor() const { return glowColor_; }
  double progress() const { return progress_; }
  // Above 1 draws a full arrow that glows.
  void setProgress(double progress);
  double arrowRadius() const { return arrowRadius_; }
  double lineWidth() const { return lineWidth_; }

  // The point at progress times the arrow's angle on the circle; angle 0 points along +x and grows
  // towards +y.
  pf::Point pointAtProgress(double progress, double radius, pf::Point center) const;

  void layoutSubviews() override;
  std::optional<std::shared_ptr<pf::Animation>> actionForLayer(pf::Layer& layer, const std::string& key) override;

 private:
  void calculateGlowColor();
  void updateShapeLayerPath();

  double range_;
  double arrowRadius_ = 0;
  double lineWidth_ = 0;
  pf::Color glowColor_;
  double progress_ = 0;
  pf::Color tintColor_;
};
