#pragma once
// A value between a minimum and a maximum picked by dragging a round thumb along a track (the part
// left of the thumb in the tint). A continuous slider sends value changed as the value moves; one
// that is not sends it once, when the finger lifts, if the value changed. Thumb and track images
// can be set per state. Main thread only.

#include <map>
#include <memory>
#include <optional>

#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"

namespace pf {

class Slider : public Control {
  PF_OBJECT(Slider, Control)

  Slider();
  explicit Slider(const Rect& frame);

  float value() const { return value_; }
  // Clamped to the range; no event.
  void setValue(float value, bool animated = false);
  float minimumValue() const { return minimum_; }
  void setMinimumValue(float minimum);
  float maximumValue() const { return maximum_; }
  void setMaximumValue(float maximum);
  bool isContinuous() const { return continuous_; }
  void setContinuous(bool continuous) { continuous_ = continuous; }
  std::optional<Color> minimumTrackTintColor() const { return minimumTint_; }
  void setMinimumTrackTintColor(std::optional<Color> color);
  std::optional<Color> maximumTrackTintColor() const { return maximumTint_; }
  void setMaximumTrackTintColor(std::optional<Color> color);
  void setThumbImage(std::shared_ptr<const Image> image, unsigned state);
  void setMinimumTrackImage(std::shared_ptr<const Image> image, unsigned state);
  void setMaximumTrackImage(std::shared_ptr<const Image> image, unsigned state);
  // For the current state, falling back to normal.
  std::shared_ptr<const Image> currentThumbImage() const;

  virtual Rect trackRectForBounds(const Rect& bounds) const;
  virtual Rect thumbRectForBounds(const Rect& bounds, const Rect& trackRect, float value) const;

  bool beginTracking(Point point) override;
  bool continueTracking(Point point) override;
  void endTracking(Point point) override;
  Size sizeThatFits(Size size) const override;
  void drawRect(const Rect& rect) override;

 private:
  using ImageMap = std::map<unsigned, std::shared_ptr<const Image>>;
  static std::shared_ptr<const Image> lookUp(const ImageMap& images, unsigned state);
  Size thumbSize() const;
  void track(Point point);

  ImageMap thumbImages_;
  ImageMap minimumTrackImages_;
  ImageMap maximumTrackImages_;
  std::optional<Color> minimumTint_;
  std::optional<Color> maximumTint_;
  float value_ = 0;
  float minimum_ = 0;
  float maximum_ = 1;
  float valueAtStart_ = 0;
  bool continuous_ = true;
};

}  // namespace pf
