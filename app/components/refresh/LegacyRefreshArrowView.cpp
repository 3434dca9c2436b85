#include "app/components/refresh/LegacyRefreshArrowView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/graphics/Path.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/Transaction.h"

namespace {

pf::Color defaultArrowTint() {
  return pf::Color::fromWhite(0.5, 1.0);
}

}  // namespace

LegacyRefreshArrowView::LegacyRefreshArrowView() : LegacyRefreshArrowView(pf::Rect()) {}

LegacyRefreshArrowView::LegacyRefreshArrowView(const pf::Rect& frame)
    : pf::View(frame, std::make_shared<pf::ShapeLayer>()),
      range_(1.5 * std::numbers::pi),
      tintColor_(defaultArrowTint()) {
  setBackgroundColor(pf::Color::clear());
  layer()->setShadowOpacity(0);
  layer()->setShadowRadius(2);
  layer()->setShadowOffset({0, 0});
  calculateGlowColor();
}

pf::ShapeLayer& LegacyRefreshArrowView::shapeLayer() const {
  return static_cast<pf::ShapeLayer&>(*layer());
}

void LegacyRefreshArrowView::setTintColor(std::optional<pf::Color> color) {
  tintColor_ = color.value_or(defaultArrowTint());
  calculateGlowColor();
  updateShapeLayerPath();
}

void LegacyRefreshArrowView::setProgress(double progress) {
  progress_ = progress;
  // The arrow is the layer's path, not a drawing: it is rebuilt at once.
  updateShapeLayerPath();
}

pf::Point LegacyRefreshArrowView::pointAtProgress(double progress, double radius, pf::Point center) const {
  const double angle = progress * range_;
  return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
}

void LegacyRefreshArrowView::layoutSubviews() {
  const pf::Rect b = bounds();
  arrowRadius_ = std::round(std::min(b.width(), b.height()) * 0.32);
  lineWidth_ = std::round(arrowRadius_ * 0.45);
  layer()->setShadowRadius(lineWidth_ * 0.2);
  updateShapeLayerPath();
}

void LegacyRefreshArrowView::calculateGlowColor() {
  double hue = 0, saturation = 0, brightness = 0;
  if (tintColor_.model() == pf::ColorSpaceModel::monochrome) {
    brightness = tintColor_.whiteLevel().value_or(0);
  } else if (auto hsba = tintColor_.hsba()) {
    hue = hsba->hue;
    saturation = hsba->saturation;
    brightness = hsba->brightness;
  }
  const double b = brightness * tintColor_.alpha();
  const double delta = (b > 0.15 && b <= 0.5) || b > 0.85 ? -0.35 : 0.35;
  glowColor_ = pf::Color::fromHsba(hue, saturation, b + delta, 1.0);
  layer()->setShadowColor(pf::Color::fromHsba(0, 0, b + delta - 0.3, 0.8));
}

void LegacyRefreshArrowView::updateShapeLayerPath() {
  const pf::Rect b = bounds();
  const pf::Point c{b.midX(), b.midY()};
  const double r = arrowRadius_, w = lineWidth_;
  const double p = std::min(progress_, 1.0);
  const double a = p * range_;
  auto path = std::make_shared<pf::Path>();
  path->moveTo(pointAtProgress(0, r, c));
  path->addArc(c, r + w / 2, 0, a, true);
  path->lineTo(pointAtProgress(p, r + 1.5 * w, c));
  const pf::Point onCircle = pointAtProgress(p, r, c);
  const double along = a + std::numbers::pi / 2;
  path->lineTo({onCircle.x + 2 * w * std::cos(along), onCircle.y + 2 * w * std::sin(along)});
  path->lineTo(pointAtProgress(p, r - 1.5 * w, c));
  path->lineTo(pointAtProgress(p, r - w / 2, c));
  path->addArc(c, r - w / 2, a, 0, false);
  path->lineTo(pointAtProgress(0, r, c));
  pf::ShapeLayer& shape = shapeLayer();
  shape.setPath(path);
  const bool glowing = progress_ >= 1;
  pf::Transaction::begin();
  pf::Transaction::setAnimationDuration(kGlowDuration);
  shape.setShadowOpacity(glowing ? 1.0 : 0.0);
  shape.setShadowPath(path);
  const pf::Color fill = glowing ? glowColor_ : tintColor_;
  if (shape.fillColor() != fill) shape.setFillColor(fill);
  pf::Transaction::commit();
}

std::optional<std::shared_ptr<pf::Animation>> LegacyRefreshArrowView::actionForLayer(pf::Layer& layer,
                                                                                    const std::string& key) {
  // The glow's own properties animate with the layer's transaction, not only inside view blocks.
  if (key.starts_with("shadow") || key.starts_with("fillColor")) return std::nullopt;
  return pf::View::actionForLayer(layer, key);
}
