#include "platform/ui/GradientLayer.h"

#include "platform/graphics/Gradient.h"
#include "platform/graphics/GraphicsContext.h"

namespace pf {

void GradientLayer::setColors(std::vector<Color> colors) {
  changeProperty("colors", std::move(colors));
}

void GradientLayer::setLocations(std::vector<double> locations) {
  changeProperty("locations", std::move(locations));
}

void GradientLayer::setStartPoint(Point point) {
  if (point != startPoint_) changeProperty("startPoint", point);
}

void GradientLayer::setEndPoint(Point point) {
  if (point != endPoint_) changeProperty("endPoint", point);
}

void GradientLayer::drawContent(GraphicsContext& context) const {
  if (colors_.empty()) return;
  const Rect& b = bounds();
  const auto at = [&](Point unit) {
    return Point{b.origin.x + unit.x * b.size.width, b.origin.y + unit.y * b.size.height};
  };
  context.saveGState();
  context.clip(b);
  context.drawLinearGradient(Gradient(colors_, locations_), at(startPoint_), at(endPoint_),
                             kGradientDrawsBeforeStartLocation | kGradientDrawsAfterEndLocation);
  context.restoreGState();
}

AnimatableValue GradientLayer::valueForKeyPath(const std::string& keyPath) const {
  if (keyPath == "colors") return colors_;
  if (keyPath == "locations") return locations_;
  if (keyPath == "startPoint") return startPoint_;
  if (keyPath == "endPoint") return endPoint_;
  return Layer::valueForKeyPath(keyPath);
}

bool GradientLayer::setValueForKeyPath(const std::string& keyPath, const AnimatableValue& value) {
  if (auto* colors = std::get_if<std::vector<Color>>(&value); colors && keyPath == "colors") {
    colors_ = *colors;
  } else if (auto* numbers = std::get_if<std::vector<double>>(&value); numbers && keyPath == "locations") {
    locations_ = *numbers;
  } else if (auto* point = std::get_if<Point>(&value); point && keyPath == "startPoint") {
    startPoint_ = *point;
  } else if (point && keyPath == "endPoint") {
    endPoint_ = *point;
  } else {
    return Layer::setValueForKeyPath(keyPath, value);
  }
  noteChange();
  return true;
}

std::shared_ptr<Layer> GradientLayer::makeCopy() const {
  auto copy = std::make_shared<GradientLayer>();
  copy->copyPropertiesFrom(*this);
  copy->colors_ = colors_;
  copy->locations_ = locations_;
  copy->startPoint_ = startPoint_;
  copy->endPoint_ = endPoint_;
  return copy;
}

}  // namespace pf
