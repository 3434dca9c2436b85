#pragma once
// Recognises fingers held still for a while: it begins when the press lasted the minimum duration
// without straying, reports movement after that as changes, and ends when the fingers lift. Lifting
// or straying earlier fails it.

#include <memory>

#include "platform/ui/GestureRecognizer.h"

namespace pf {

class Timer;

class LongPressGestureRecognizer : public GestureRecognizer {
  PF_OBJECT(LongPressGestureRecognizer, GestureRecognizer)

  ~LongPressGestureRecognizer() override;

  double minimumPressDuration() const { return minimumPressDuration_; }
  void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }
  double allowableMovement() const { return allowableMovement_; }
  void setAllowableMovement(double points) { allowableMovement_ = points; }
  size_t numberOfTouchesRequired() const { return touchesRequired_; }
  void setNumberOfTouchesRequired(size_t count) { touchesRequired_ = count; }

 protected:
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void reset() override;

 private:
  void stopTimer();

  double minimumPressDuration_ = 0.5;
  double allowableMovement_ = 10;
  size_t touchesRequired_ = 1;
  Point start_;
  std::shared_ptr<Timer> timer_;
};

}  // namespace pf
