#pragma once
// Recognises a quick stroke in one of the allowed directions: far enough, fast enough and mostly
// straight. It fails when the stroke goes another way or takes too long.

#include "platform/ui/GestureRecognizer.h"

namespace pf {

class SwipeGestureRecognizer : public GestureRecognizer {
  PF_OBJECT(SwipeGestureRecognizer, GestureRecognizer)

  // The platform's direction bits.
  enum Direction : unsigned { kRight = 1, kLeft = 2, kUp = 4, kDown = 8 };
  static constexpr double kMinimumDistance = 50;
  static constexpr double kMaximumDuration = 0.5;

  unsigned direction() const { return direction_; }
  void setDirection(unsigned direction) { direction_ = direction; }
  size_t numberOfTouchesRequired() const { return touchesRequired_; }
  void setNumberOfTouchesRequired(size_t count) { touchesRequired_ = count; }

 protected:
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;

 private:
  // The stroke's direction bit, or 0 while it is undecided.
  unsigned strokeDirection(Point delta) const;

  unsigned direction_ = kRight;
  size_t touchesRequired_ = 1;
  Point start_;
  double startTime_ = 0;
};

}  // namespace pf
