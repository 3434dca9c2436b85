#pragma once
// A text field whose keyboard, on a phone, carries a thin bar with a "隐藏键盘" button that ends the
// typing (a tablet keyboard has its own key for that). The bar is made when editing first begins.
// Main thread only.

#include "platform/ui/TextField.h"

class BaseTextField : public pf::TextField {
  PF_OBJECT(BaseTextField, pf::TextField)

  BaseTextField();
  explicit BaseTextField(const pf::Rect& frame);

  // Makes the class known to interface files.
  static void registerForInterfaceFiles();

  // On a phone, without an accessory of the caller's: the bar.
  void initCustomKeyboardLayout();
  // Ends the typing.
  void editDone();

  bool becomeFirstResponder() override;
};
