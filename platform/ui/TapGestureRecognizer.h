#pragma once
// Recognises a number of quick taps (each a press and lift that moves little) with a number of
// fingers. It fails when a finger strays, too many fingers land, or the next tap is late.

#include <memory>

#include "platform/ui/GestureRecognizer.h"

namespace pf {

class Timer;

class TapGestureRecognizer : public GestureRecognizer {
  PF_OBJECT(TapGestureRecognizer, GestureRecognizer)

  // Longest pause between the taps of one gesture and farthest a finger may move.
  static constexpr double kTapInterval = 0.35;
  static constexpr double kAllowableMovement = 10;

  ~TapGestureRecognizer() override;

  int numberOfTapsRequired() const { return tapsRequired_; }
  void setNumberOfTapsRequired(int taps) { tapsRequired_ = taps < 1 ? 1 : taps; }
  int numberOfTouchesRequired() const { return touchesRequired_; }
  void setNumberOfTouchesRequired(int touches) { touchesRequired_ = touches < 1 ? 1 : touches; }

 protected:
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void reset() override;

 private:
  void fail();
  void stopTimer();

  int tapsRequired_ = 1;
  int touchesRequired_ = 1;
  int taps_ = 0;
  size_t down_ = 0;
  size_t maxDown_ = 0;
  Point start_;
  std::shared_ptr<Timer> timer_;
};

}  // namespace pf
