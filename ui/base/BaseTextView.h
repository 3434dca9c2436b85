#pragma once
// A text view whose keyboard, on a phone, carries a thin bar with a "隐藏键盘" button that ends the
// typing (the exam question cells and the Q&A answer editors). The bar is made when editing first
// begins. Main thread only.

#include "platform/ui/TextView.h"

class BaseTextView : public pf::TextView {
  PF_OBJECT(BaseTextView, pf::TextView)

  BaseTextView();
  explicit BaseTextView(const pf::Rect& frame);

  // Makes the class known to interface files.
  static void registerForInterfaceFiles();

  // On a phone, without an accessory of the caller's: the bar.
  void initCustomKeyboardLayout();
  // Ends the typing.
  void editDone();

  bool becomeFirstResponder() override;
};
