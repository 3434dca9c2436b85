#include "ui/base/BaseTableView.h"

#include <limits>

#include "platform/ui/Keyboard.h"
#include "platform/ui/NibRegistry.h"

struct BaseTableView::NextFieldSearch {
  const pf::View* prior = nullptr;
  double priorY = 0;
  double minY = std::numeric_limits<double>::max();
  std::shared_ptr<pf::View> found;
  // The walk has met the prior field: a level field from here on follows it.
  bool passedPrior = false;
};

namespace {

bool isFormTextInput(const pf::View& view) {
  return dynamic_cast<const pf::TextField*>(&view) || dynamic_cast<const pf::TextView*>(&view);
}

}  // namespace

BaseTableView::BaseTableView() : BaseTableView(pf::Rect()) {}

BaseTableView::BaseTableView(const pf::Rect& frame, Style style) : pf::TableView(frame, style) {
  setup();
}

void BaseTableView::registerForInterfaceFiles() {
  pf::NibRegistry::define<BaseTableView>();
}

void BaseTableView::setup() {
  // The observations end with the view, so the callbacks never outlive it.
  pf::NotificationCenter& center = pf::NotificationCenter::defaultCenter();
  willShow_ = center.addObserver(pf::Keyboard::kWillShowNotification, nullptr,
                                 [this](const pf::Notification& notification) { keyboardWillShow(notification); });
  willHide_ = center.addObserver(pf::Keyboard::kWillHideNotification, nullptr,
                                 [this](const pf::Notification& notification) { keyboardWillHide(notification); });
}

void BaseTableView::awakeFromNib() {
  pf::TableView::awakeFromNib();
  setup();
}

void BaseTableView::setFrame(const pf::Rect& frame) {
  pf::TableView::setFrame(frame);
  if (keyboard_.isKeyboardVisible()) setContentInset(keyboard_.contentInsetForKeyboard(*this));
}

void BaseTableView::setContentSize(pf::Size size) {
  pf::TableView::setContentSize(size);
  if (keyboard_.isKeyboardVisible()) setContentInset(keyboard_.contentInsetForKeyboard(*this));
}

void BaseTableView::touchesEnded(const pf::TouchSet& touches, const pf::Event* event) {
  if (const auto responder = findFirstResponderBeneathView(*this)) responder->resignFirstResponder();
  pf::TableView::touchesEnded(touches, event);
}

void BaseTableView::layoutSubviews() {
  pf::TableView::layoutSubviews();
  initializeViewsBeneathView(*this);
}

void BaseTableView::keyboardWillShow(const pf::Notification& notification) {
  keyboard_.keyboardWillShow(*this, notification, true);
}

void BaseTableView::keyboardWillHide(const pf::Notification& notification) {
  keyboard_.keyboardWillHide(*this, notification, true);
}

bool BaseTableView::textFieldShouldReturn(pf::TextField& field) {
  if (!focusNextTextField()) field.resignFirstResponder();
  return true;
}

void BaseTableView::textFieldDidBeginEditing(pf::TextField& field) {
  (void)field;
  scrollToActiveTextField();
}

void BaseTableView::textViewDidBeginEditing(pf::TextView& view) {
  (void)view;
  scrollToActiveTextField();
}

bool BaseTableView::focusNextTextField() {
  const auto current = findFirstResponderBeneathView(*this);
  if (!current) return false;
  const auto next = findTextFieldAfterTextField(*current, *this);
  return next && next->becomeFirstResponder();
}

void BaseTableView::scrollToActiveTextField() {
  keyboard_.scrollToFirstResponder(*this);
}

std::shared_ptr<pf::View> BaseTableView::findFirstResponderBeneathView(const pf::View& view) const {
  return KeyboardAvoiding::findFirstResponderBeneathView(view);
}

std::shared_ptr<pf::View> BaseTableView::findTextFieldAfterTextField(const pf::View& priorField,
                                                                     const pf::View& beneathView) const {
  const auto superview = priorField.superview();
  NextFieldSearch search;
  search.prior = &priorField;
  search.priorY = convertRectFromView(priorField.frame(), superview.get()).origin.y;
  searchNextField(beneathView, search);
  return search.found;
}

void BaseTableView::searchNextField(const pf::View& view, NextFieldSearch& search) const {
  for (const auto& subview : view.subviews()) {
    if (subview->isHidden()) continue;
    if (subview.get() == search.prior) {
      search.passedPrior = true;
      continue;
    }
    if (!isFormTextInput(*subview)) {
      searchNextField(*subview, search);
      continue;
    }
    const double top = convertRectFromView(subview->frame(), &view).origin.y;
    const bool follows = top > search.priorY || (top == search.priorY && search.passedPrior);
    if (follows && top < search.minY) {
      search.minY = top;
      search.found = subview;
    }
  }
}

void BaseTableView::initializeViewsBeneathView(const pf::View& view) {
  for (const auto& subview : view.subviews()) {
    if (isFormTextInput(*subview)) {
      initializeView(*subview);
    } else {
      initializeViewsBeneathView(*subview);
    }
  }
}

bool BaseTableView::isAdoptable(const pf::View& view) const {
  if (const auto* field = dynamic_cast<const pf::TextField*>(&view)) {
    const auto delegate = field->delegate().lock();
    return !delegate || delegate.get() == static_cast<const pf::TextFieldDelegate*>(this);
  }
  if (const auto* textView = dynamic_cast<const pf::TextView*>(&view)) {
    const auto delegate = textView->delegate().lock();
    return !delegate || delegate.get() == static_cast<const pf::TextViewDelegate*>(this);
  }
  return false;
}

void BaseTableView::initializeView(pf::View& view) {
  if (!isAdoptable(view)) return;
  const auto self = sharedAs<BaseTableView>();
  if (auto* field = dynamic_cast<pf::TextField*>(&view)) {
    field->setDelegate(std::static_pointer_cast<pf::TextFieldDelegate>(self));
    const bool hasNext = findTextFieldAfterTextField(view, *this) != nullptr;
    field->setReturnKeyType(hasNext ? pf::ReturnKeyType::Next : pf::ReturnKeyType::Done);
  } else if (auto* textView = dynamic_cast<pf::TextView*>(&view)) {
    textView->setDelegate(std::static_pointer_cast<pf::TextViewDelegate>(self));
  }
}

pf::EdgeInsets BaseTableView::contentInsetForKeyboard() const {
  return keyboard_.contentInsetForKeyboard(*this);
}

double BaseTableView::idealOffsetForView(const pf::View& view, double withSpace) const {
  return KeyboardAvoiding::idealOffsetForView(*this, view, withSpace);
}

pf::Rect BaseTableView::keyboardRect() const {
  return keyboard_.keyboardRect(*this);
}
