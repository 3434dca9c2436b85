#pragma once
// Recognises two fingers turning: rotation is the turn in radians since the gesture began (positive
// clockwise on screen, settable), velocity its change per second.

#include "platform/ui/GestureRecognizer.h"

namespace pf {

class RotationGestureRecognizer : public GestureRecognizer {
  PF_OBJECT(RotationGestureRecognizer, GestureRecognizer)

  // Turn, in radians, before a rotation begins.
  static constexpr double kHysteresis = 0.08;

  double rotation() const { return rotation_; }
  void setRotation(double rotation);
  double velocity() const { return velocity_; }

 protected:
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void reset() override;

 private:
  double angle() const;

  // The fingers' angle at the last move.
  double lastAngle_ = 0;
  double rotation_ = 0;
  double velocity_ = 0;
  double lastTime_ = 0;
  bool measuring_ = false;
};

}  // namespace pf
