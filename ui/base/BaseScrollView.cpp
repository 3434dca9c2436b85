#include "ui/base/BaseScrollView.h"

#include <algorithm>

#include "platform/ui/Keyboard.h"
#include "platform/ui/NibRegistry.h"

BaseScrollView::BaseScrollView() : BaseScrollView(pf::Rect()) {}

BaseScrollView::BaseScrollView(const pf::Rect& frame) : pf::ScrollView(frame) {
  setup();
}

void BaseScrollView::registerForInterfaceFiles() {
  pf::NibRegistry::define<BaseScrollView>();
}

void BaseScrollView::setup() {
  if (contentSize() == pf::Size{}) setContentSize(bounds().size);
  // The observations end with the view, so the callbacks never outlive it.
  pf::NotificationCenter& center = pf::NotificationCenter::defaultCenter();
  willShow_ = center.addObserver(pf::Keyboard::kWillShowNotification, nullptr,
                                 [this](const pf::Notification& notification) { keyboardWillShow(notification); });
  willHide_ = center.addObserver(pf::Keyboard::kWillHideNotification, nullptr,
                                 [this](const pf::Notification& notification) { keyboardWillHide(notification); });
}

void BaseScrollView::awakeFromNib() {
  pf::ScrollView::awakeFromNib();
  setup();
}

void BaseScrollView::setFrame(const pf::Rect& frame) {
  pf::ScrollView::setFrame(frame);
  applyMinimumContentSize();
}

void BaseScrollView::setContentSize(pf::Size size) {
  originalContentSize_ = size;
  applyMinimumContentSize();
}

void BaseScrollView::applyMinimumContentSize() {
  const pf::Size frameSize = frame().size;
  pf::ScrollView::setContentSize({std::max(originalContentSize_.width, frameSize.width),
                                  std::max(originalContentSize_.height, frameSize.height)});
  if (keyboard_.isKeyboardVisible()) setContentInset(keyboard_.contentInsetForKeyboard(*this));
}

void BaseScrollView::touchesEnded(const pf::TouchSet& touches, const pf::Event* event) {
  if (const auto responder = findFirstResponderBeneathView(*this)) responder->resignFirstResponder();
  pf::ScrollView::touchesEnded(touches, event);
}

void BaseScrollView::keyboardWillShow(const pf::Notification& notification) {
  keyboard_.keyboardWillShow(*this, notification, false);
}

void BaseScrollView::keyboardWillHide(const pf::Notification& notification) {
  keyboard_.keyboardWillHide(*this, notification, false);
}

void BaseScrollView::adjustOffsetToIdealIfNeeded() {
  keyboard_.scrollToFirstResponder(*this);
}

std::shared_ptr<pf::View> BaseScrollView::findFirstResponderBeneathView(const pf::View& view) const {
  return KeyboardAvoiding::findFirstResponderBeneathView(view);
}

pf::EdgeInsets BaseScrollView::contentInsetForKeyboard() const {
  return keyboard_.contentInsetForKeyboard(*this);
}

double BaseScrollView::idealOffsetForView(const pf::View& view, double withSpace) const {
  return KeyboardAvoiding::idealOffsetForView(*this, view, withSpace);
}

pf::Rect BaseScrollView::keyboardRect() const {
  return keyboard_.keyboardRect(*this);
}
