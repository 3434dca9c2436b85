#pragma once
// The on-screen keyboard's stand-in. When a text field or view starts editing the keyboard rises
// from below the screen to take its bottom (with the field's accessory view on top); when editing
// ends with no other field taking over it falls again. Each move posts the platform's will/did
// notifications with the begin and end frames (screen coordinates, as rect values), the animation
// duration and curve; the did notification follows after the duration on the run-loop clock.
// Moving editing from one field to another posts a new show, never a hide. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/graphics/Rect.h"

namespace pf {

class Timer;
class View;

class Keyboard {
 public:
  static constexpr char kWillShowNotification[] = "UIKeyboardWillShowNotification";
  static constexpr char kDidShowNotification[] = "UIKeyboardDidShowNotification";
  static constexpr char kWillHideNotification[] = "UIKeyboardWillHideNotification";
  static constexpr char kDidHideNotification[] = "UIKeyboardDidHideNotification";
  static constexpr char kFrameBeginUserInfoKey[] = "UIKeyboardFrameBeginUserInfoKey";
  static constexpr char kFrameEndUserInfoKey[] = "UIKeyboardFrameEndUserInfoKey";
  static constexpr char kAnimationDurationUserInfoKey[] = "UIKeyboardAnimationDurationUserInfoKey";
  static constexpr char kAnimationCurveUserInfoKey[] = "UIKeyboardAnimationCurveUserInfoKey";
  static constexpr double kAnimationDuration = 0.25;
  // The ease-in-out curve.
  static constexpr int kAnimationCurve = 0;

  static Keyboard& shared();

  bool isVisible() const { return visible_; }
  // Where the keyboard is (or would be) when shown, accessory included.
  Rect frame() const;
  // The keys' own height on this screen profile.
  static double keysHeight();

  // Called by text inputs as editing begins and ends. handOver brackets a change of first
  // responder from one text input to another, so the end of the first is no hide.
  void show(std::shared_ptr<View> accessory);
  void hide();
  void beginHandOver() { ++handOvers_; }
  void endHandOver() { --handOvers_; }
  bool isHandingOver() const { return handOvers_ > 0; }
  // Down, with no notifications (tests).
  void reset();

  // Rect values as the notifications carry them ("{{x, y}, {w, h}}"); nullopt for anything else.
  static Value valueWithRect(const Rect& rect);
  static std::optional<Rect> rectFromValue(const Value& value);

 private:
  Keyboard() = default;
  void post(const char* name, const Rect& begin, const Rect& end);
  Rect hiddenFrame() const;

  std::shared_ptr<View> accessory_;
  std::shared_ptr<Timer> pending_;
  int handOvers_ = 0;
  bool visible_ = false;
};

}  // namespace pf
