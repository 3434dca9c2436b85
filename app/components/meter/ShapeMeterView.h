#pragma once
// A meter that shows a fraction between 0 and 1 as a two-colour fill clipped to an outline (a path
// installed as the layer's mask): the progress colour up to the progress point, the track colour
// beyond it. The point is measured on the outline's own extent, so 0 is its near edge and 1 its far
// edge. The picture is all in the backing gradient layer (two colours, two equal stop locations, a
// direction, a mask); nothing is drawn per frame. Meter type 1 fills from the bottom up, type 2 from
// left to right. In gravity mode a display link turns the fill with the device's tilt; the link
// holds the meter weakly, so a meter left running is still freed. Main thread only.

#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Path.h"
#include "platform/ui/View.h"

namespace pf {
class DisplayLink;
class GradientLayer;
class MotionManager;
}  // namespace pf

class ShapeMeterView : public pf::View {
  PF_OBJECT(ShapeMeterView, pf::View)

  ShapeMeterView();
  explicit ShapeMeterView(const pf::Rect& frame);
  ShapeMeterView(const pf::Rect& frame, std::optional<pf::Path> shape, bool gravity = false);
  ~ShapeMeterView() override;

  static void registerForInterfaceFiles();

  std::shared_ptr<pf::GradientLayer> gradientLayer() const;

  // Installs the outline as the mask; nullopt removes it (the whole rectangle shows the fill).
  void setShape(std::optional<pf::Path> shape);
  // The outline's bounding box; the null rect without one.
  pf::Rect shapeBounds() const;

  const std::optional<pf::Color>& trackTintColor() const { return trackTintColor_; }
  void setTrackTintColor(std::optional<pf::Color> color);
  const std::optional<pf::Color>& progressTintColor() const { return progressTintColor_; }
  void setProgressTintColor(std::optional<pf::Color> color);
  int meterType() const { return meterType_; }
  void setMeterType(int type);

  float progress() const { return progress_; }
  void setProgress(float progress) { setProgress(progress, false); }
  void setProgress(float progress, bool animated);
  void add(float amount, bool animated = false) { setProgress(progress_ + amount, animated); }
  void minus(float amount, bool animated = false) { setProgress(progress_ - amount, animated); }

  void setGradientOrientationAngle(float angle);
  float gradientOrientationAngle() const;
  // Where the line through the box's centre at the angle (counter-clockwise, y up) crosses its border:
  // the point behind the direction first.
  static std::vector<pf::Point> intersectionPointsOfLineOrientedBy(float angle, const pf::Rect& box);
  float rescaledProgress(float progress) const;
  std::vector<double> gradientLocations(float progress) const;
  static std::vector<pf::Point> gradientPoints(float angle);

  void startGravity();
  void stopGravity();
  bool isGravityActive() const { return motionDisplayLink_ != nullptr; }
  void motionRefresh(pf::DisplayLink& link);
  float currentYaw() const;
  float motionLastYaw() const { return motionLastYaw_; }
  const std::shared_ptr<pf::MotionManager>& motionManager() const { return motionManager_; }
  const std::shared_ptr<pf::DisplayLink>& motionDisplayLink() const { return motionDisplayLink_; }

  void didMoveToWindow() override;

 private:
  void commonInit();
  void updateGradientColors();
  void initialGradientOrientation();

  int meterType_ = 0;
  std::optional<pf::Color> trackTintColor_;
  std::optional<pf::Color> progressTintColor_;
  float progress_ = 0;
  std::shared_ptr<pf::MotionManager> motionManager_;
  std::shared_ptr<pf::DisplayLink> motionDisplayLink_;
  float motionLastYaw_ = 0;
};
