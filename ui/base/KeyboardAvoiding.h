#pragma once
// What the keyboard-aware scroll and table views share: the keyboard's rectangle as the last
// notification gave it, the inset saved before the keyboard came, and the geometry that keeps the
// edited field above the keyboard.
//
// The inset is saved once per keyboard appearance (the keyboard posts a show for every field it
// moves to) and restored at the hide only when this view changed it, so moving between fields and
// then ending the typing gives back the inset the view had. Main thread only.

#include <memory>
#include <optional>

#include "platform/foundation/Notification.h"
#include "platform/graphics/EdgeInsets.h"
#include "platform/graphics/Rect.h"

namespace pf {
class ScrollView;
class View;
}  // namespace pf

class KeyboardAvoiding {
 public:
  bool isKeyboardVisible() const { return keyboardVisible_; }
  // The keyboard in the view's coordinates; at the bottom of the screen when its origin reads 0.
  pf::Rect keyboardRect(const pf::ScrollView& view) const;
  // The content inset with its bottom raised by the part of the view the keyboard covers.
  pf::EdgeInsets contentInsetForKeyboard(const pf::ScrollView& view) const;

  // The content offset that shows `field` within `space` points of the view's top: centred when it
  // fits, never past the content's end nor before its start.
  static double idealOffsetForView(const pf::ScrollView& view, const pf::View& field, double space);
  // Depth first, in subview order.
  static std::shared_ptr<pf::View> findFirstResponderBeneathView(const pf::View& view);

  // The notifications' handling; `indicatorInsets` makes the scroll indicators follow the inset.
  void keyboardWillShow(pf::ScrollView& view, const pf::Notification& notification, bool indicatorInsets);
  void keyboardWillHide(pf::ScrollView& view, const pf::Notification& notification, bool indicatorInsets);
  // While the keyboard shows: scrolls the first responder beneath the view into the room left.
  void scrollToFirstResponder(pf::ScrollView& view) const;

 private:
  pf::Rect keyboardRect_;
  std::optional<pf::EdgeInsets> priorInset_;
  bool keyboardVisible_ = false;
};
