#include "ui/base/KeyboardAvoiding.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"

namespace {

const pf::Value* keyboardInfo(const pf::Notification& notification, const char* key) {
  const auto found = notification.userInfo.find(key);
  return found == notification.userInfo.end() ? nullptr : &found->second;
}

// Opens a view animation with the keyboard's own curve and duration.
void beginKeyboardAnimation(const pf::Notification& notification) {
  pf::View::beginAnimations("", nullptr);
  if (const pf::Value* curve = keyboardInfo(notification, pf::Keyboard::kAnimationCurveUserInfoKey)) {
    pf::View::setAnimationCurve(static_cast<pf::View::AnimationCurve>(std::clamp(curve->intValue(), 0, 3)));
  }
  if (const pf::Value* duration = keyboardInfo(notification, pf::Keyboard::kAnimationDurationUserInfoKey)) {
    pf::View::setAnimationDuration(duration->doubleValue());
  }
}

}  // namespace

pf::Rect KeyboardAvoiding::keyboardRect(const pf::ScrollView& view) const {
  const pf::Rect rect = view.convertRectFromView(keyboardRect_, nullptr);
  if (rect.origin.y != 0) return rect;
  const pf::Rect screen = view.convertRectFromView(pf::Screen::mainScreen().bounds(), nullptr);
  return {{0, screen.size.height - rect.size.height}, rect.size};
}

pf::EdgeInsets KeyboardAvoiding::contentInsetForKeyboard(const pf::ScrollView& view) const {
  const pf::Rect keyboard = keyboardRect(view);
  const pf::Rect bounds = view.bounds();
  pf::EdgeInsets inset = view.contentInset();
  // A keyboard wholly below the view covers none of it.
  inset.bottom = std::max(0.0, keyboard.size.height - (keyboard.maxY() - bounds.maxY()));
  return inset;
}

double KeyboardAvoiding::idealOffsetForView(const pf::ScrollView& view, const pf::View& field, double space) {
  double offset = view.convertRectFromView(field.bounds(), &field).origin.y;
  const double contentHeight = view.contentSize().height;
  if (space > contentHeight - offset) {
    offset = contentHeight - space;
  } else {
    const double fieldHeight = field.bounds().size.height;
    if (space > fieldHeight) offset -= std::floor((space - fieldHeight) / 2);
    if (offset + space > contentHeight) offset = contentHeight - space;
  }
  return std::max(offset, 0.0);
}

std::shared_ptr<pf::View> KeyboardAvoiding::findFirstResponderBeneathView(const pf::View& view) {
  for (const auto& subview : view.subviews()) {
    if (subview->isFirstResponder()) return subview;
    if (auto found = findFirstResponderBeneathView(*subview)) return found;
  }
  return nullptr;
}

void KeyboardAvoiding::keyboardWillShow(pf::ScrollView& view, const pf::Notification& notification,
                                        bool indicatorInsets) {
  const pf::Value* end = keyboardInfo(notification, pf::Keyboard::kFrameEndUserInfoKey);
  keyboardRect_ = end ? pf::Keyboard::rectFromValue(*end).value_or(pf::Rect()) : pf::Rect();
  keyboardVisible_ = true;
  const auto field = findFirstResponderBeneathView(view);
  if (!field) return;
  if (!priorInset_) priorInset_ = view.contentInset();
  beginKeyboardAnimation(notification);
  view.setContentInset(contentInsetForKeyboard(view));
  const double space = keyboardRect(view).origin.y - view.bounds().origin.y;
  view.setContentOffset({view.contentOffset().x, idealOffsetForView(view, *field, space)}, true);
  if (indicatorInsets) view.setScrollIndicatorInsets(view.contentInset());
  pf::View::commitAnimations();
}

void KeyboardAvoiding::keyboardWillHide(pf::ScrollView& view, const pf::Notification& notification,
                                        bool indicatorInsets) {
  keyboardRect_ = pf::Rect();
  keyboardVisible_ = false;
  if (!priorInset_) return;  // this view's inset was never changed for the keyboard
  beginKeyboardAnimation(notification);
  view.setContentInset(*priorInset_);
  if (indicatorInsets) view.setScrollIndicatorInsets(view.contentInset());
  pf::View::commitAnimations();
  priorInset_.reset();
}

void KeyboardAvoiding::scrollToFirstResponder(pf::ScrollView& view) const {
  if (!keyboardVisible_) return;
  const auto field = findFirstResponderBeneathView(view);
  if (!field) return;
  const pf::EdgeInsets inset = view.contentInset();
  const double space = view.bounds().size.height - inset.top - inset.bottom;
  view.setContentOffset({0, idealOffsetForView(view, *field, space)}, true);
}
