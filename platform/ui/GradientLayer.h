#pragma once
// A layer that fills its bounds with a linear gradient: colours at locations (evenly spread without
// them) along the line from startPoint to endPoint, given in the unit square of the bounds.

#include <memory>
#include <vector>

#include "platform/ui/Layer.h"

namespace pf {

class GradientLayer : public Layer {
 public:
  static std::shared_ptr<GradientLayer> make() { return std::make_shared<GradientLayer>(); }

  const std::vector<Color>& colors() const { return colors_; }
  void setColors(std::vector<Color> colors);
  const std::vector<double>& locations() const { return locations_; }
  void setLocations(std::vector<double> locations);
  Point startPoint() const { return startPoint_; }
  void setStartPoint(Point point);
  Point endPoint() const { return endPoint_; }
  void setEndPoint(Point point);

  void drawContent(GraphicsContext& context) const override;
  AnimatableValue valueForKeyPath(const std::string& keyPath) const override;
  bool setValueForKeyPath(const std::string& keyPath, const AnimatableValue& value) override;

 protected:
  std::shared_ptr<Layer> makeCopy() const override;

 private:
  std::vector<Color> colors_;
  std::vector<double> locations_;
  Point startPoint_{0.5, 0};
  Point endPoint_{0.5, 1};
};

}  // namespace pf
