#pragma once
// Recognises a drag: it begins once the fingers moved a few points, reports changes as they move and
// ends when they lift. The translation counts from where the fingers landed (or from the last
// setTranslation); the velocity is measured over the latest tenth of a second.

#include <deque>

#include "platform/ui/GestureRecognizer.h"

namespace pf {

class PanGestureRecognizer : public GestureRecognizer {
  PF_OBJECT(PanGestureRecognizer, GestureRecognizer)

  // Movement before a pan begins.
  static constexpr double kHysteresis = 10;

  size_t minimumNumberOfTouches() const { return minimumTouches_; }
  void setMinimumNumberOfTouches(size_t count) { minimumTouches_ = count; }
  size_t maximumNumberOfTouches() const { return maximumTouches_; }
  void setMaximumNumberOfTouches(size_t count) { maximumTouches_ = count; }

  // In the view's coordinate space (null: the window's).
  Point translationInView(const View* view) const;
  void setTranslation(Point translation, const View* view);
  // Points per second in the view's coordinate space.
  Point velocityInView(const View* view) const;

 protected:
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void reset() override;

 private:
  struct Sample {
    double time;
    Point location;
  };
  // The centroid jumps when a finger lands: that jump must not count as a drag.
  void rebase();
  void sample(double time);
  Point windowTranslation() const;

  size_t minimumTouches_ = 1;
  size_t maximumTouches_ = static_cast<size_t>(-1);
  Point origin_;
  Point offset_;
  std::deque<Sample> samples_;
};

}  // namespace pf
