#include "ui/base/BaseTextField.h"

#include "platform/ui/NibRegistry.h"
#include "platform/ui/Toolbar.h"
#include "ui/base/KeyboardBar.h"

BaseTextField::BaseTextField() : BaseTextField(pf::Rect()) {}

BaseTextField::BaseTextField(const pf::Rect& frame) : pf::TextField(frame) {}

void BaseTextField::registerForInterfaceFiles() {
  pf::NibRegistry::define<BaseTextField>();
}

void BaseTextField::initCustomKeyboardLayout() {
  if (inputAccessoryView()) return;
  std::weak_ptr<BaseTextField> weak = sharedAs<BaseTextField>();
  setInputAccessoryView(KeyboardBar::makeForInput(weak, [weak] {
    if (const auto field = weak.lock()) field->editDone();
  }));
}

void BaseTextField::editDone() {
  resignFirstResponder();
}

bool BaseTextField::becomeFirstResponder() {
  initCustomKeyboardLayout();  // the keyboard takes the accessory as it rises
  return pf::TextField::becomeFirstResponder();
}
