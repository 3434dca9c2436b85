#pragma once
// Recognises two fingers moving apart or together: scale is the fingers' distance over their
// distance when the pinch began (settable, as the platform allows), velocity its change per second.

#include "platform/ui/GestureRecognizer.h"

namespace pf {

class PinchGestureRecognizer : public GestureRecognizer {
  PF_OBJECT(PinchGestureRecognizer, GestureRecognizer)

  // Change of distance, in points, before a pinch begins.
  static constexpr double kHysteresis = 8;

  double scale() const { return scale_; }
  void setScale(double scale);
  double velocity() const { return velocity_; }

 protected:
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void reset() override;

 private:
  double spread() const;

  double startSpread_ = 0;
  double base_ = 1;
  double scale_ = 1;
  double velocity_ = 0;
  double lastTime_ = 0;
};

}  // namespace pf
