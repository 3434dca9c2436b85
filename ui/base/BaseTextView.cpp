#include "ui/base/BaseTextView.h"

#include "platform/ui/NibRegistry.h"
#include "platform/ui/Toolbar.h"
#include "ui/base/KeyboardBar.h"

BaseTextView::BaseTextView() : BaseTextView(pf::Rect()) {}

BaseTextView::BaseTextView(const pf::Rect& frame) : pf::TextView(frame) {}

void BaseTextView::registerForInterfaceFiles() {
  pf::NibRegistry::define<BaseTextView>();
}

void BaseTextView::initCustomKeyboardLayout() {
  if (inputAccessoryView()) return;
  std::weak_ptr<BaseTextView> weak = sharedAs<BaseTextView>();
  setInputAccessoryView(KeyboardBar::makeForInput(weak, [weak] {
    if (const auto textView = weak.lock()) textView->editDone();
  }));
}

void BaseTextView::editDone() {
  resignFirstResponder();
}

bool BaseTextView::becomeFirstResponder() {
  initCustomKeyboardLayout();  // the keyboard takes the accessory as it rises
  return pf::TextView::becomeFirstResponder();
}
