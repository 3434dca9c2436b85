#include "platform/ui/Keyboard.h"

#include <cstdio>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Number.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"

namespace pf {

Keyboard& Keyboard::shared() {
  static Keyboard keyboard;
  return keyboard;
}

double Keyboard::keysHeight() {
  return Screen::mainScreen().profile() == Screen::Profile::Tablet ? 264 : 216;
}

Rect Keyboard::frame() const {
  const Rect screen = Screen::mainScreen().bounds();
  const double height = keysHeight() + (accessory_ ? accessory_->frame().size.height : 0);
  return {{0, screen.size.height - height}, {screen.size.width, height}};
}

Rect Keyboard::hiddenFrame() const {
  Rect below = frame();
  below.origin.y = Screen::mainScreen().bounds().size.height;
  return below;
}

void Keyboard::show(std::shared_ptr<View> accessory) {
  // Rising, it starts just below the screen at its full height; already up, from where it is.
  if (!visible_) accessory_ = accessory;
  const Rect begin = visible_ ? frame() : hiddenFrame();
  accessory_ = std::move(accessory);
  visible_ = true;
  const Rect end = frame();
  post(kWillShowNotification, begin, end);
  if (pending_) pending_->invalidate();
  pending_ = Timer::scheduled(kAnimationDuration, false, [begin, end](Timer&) {
    shared().pending_.reset();
    shared().post(kDidShowNotification, begin, end);
  });
}

void Keyboard::hide() {
  if (!visible_ || isHandingOver()) return;
  const Rect begin = frame();
  const Rect end = hiddenFrame();
  visible_ = false;
  accessory_.reset();
  post(kWillHideNotification, begin, end);
  if (pending_) pending_->invalidate();
  pending_ = Timer::scheduled(kAnimationDuration, false, [begin, end](Timer&) {
    shared().pending_.reset();
    shared().post(kDidHideNotification, begin, end);
  });
}

void Keyboard::reset() {
  if (pending_) pending_->invalidate();
  pending_.reset();
  accessory_.reset();
  visible_ = false;
  handOvers_ = 0;
}

void Keyboard::post(const char* name, const Rect& begin, const Rect& end) {
  NotificationCenter::defaultCenter().post(name, nullptr,
                                           {{kFrameBeginUserInfoKey, valueWithRect(begin)},
                                            {kFrameEndUserInfoKey, valueWithRect(end)},
                                            {kAnimationDurationUserInfoKey, Number(kAnimationDuration)},
                                            {kAnimationCurveUserInfoKey, Number(kAnimationCurve)}});
}

Value Keyboard::valueWithRect(const Rect& rect) {
  char text[160];
  std::snprintf(text, sizeof text, "{{%g, %g}, {%g, %g}}", rect.origin.x, rect.origin.y, rect.size.width,
                rect.size.height);
  return std::string(text);
}

std::optional<Rect> Keyboard::rectFromValue(const Value& value) {
  const std::string* text = value.string();
  if (!text) return std::nullopt;
  double x = 0, y = 0, width = 0, height = 0;
  char end = 0;
  if (std::sscanf(text->c_str(), "{{%lf, %lf}, {%lf, %lf}%c", &x, &y, &width, &height, &end) != 5 ||
      end != '}') {
    return std::nullopt;
  }
  return Rect{{x, y}, {width, height}};
}

}  // namespace pf
