#pragma once
// A scroll view that keeps the field being edited inside it above the keyboard: the keyboard's
// height goes into the bottom content inset and the field scrolls into the room left. Its content is
// never smaller than its frame, and a touch on it ends the typing. The Q&A answer editors are built
// on it from interface files, where awakeFromNib sets it up. Main thread only.

#include <memory>

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/ScrollView.h"
#include "ui/base/KeyboardAvoiding.h"

class BaseScrollView : public pf::ScrollView {
  PF_OBJECT(BaseScrollView, pf::ScrollView)

  BaseScrollView();
  explicit BaseScrollView(const pf::Rect& frame);

  // Makes the class known to interface files.
  static void registerForInterfaceFiles();

  // Content size from the bounds when none is set; listens to the keyboard.
  void setup();
  void awakeFromNib() override;

  void setFrame(const pf::Rect& frame) override;
  // Remembers the size asked for; the content is at least the frame.
  void setContentSize(pf::Size size) override;
  void touchesEnded(const pf::TouchSet& touches, const pf::Event* event) override;

  void keyboardWillShow(const pf::Notification& notification);
  void keyboardWillHide(const pf::Notification& notification);
  void adjustOffsetToIdealIfNeeded();

  std::shared_ptr<pf::View> findFirstResponderBeneathView(const pf::View& view) const;
  pf::EdgeInsets contentInsetForKeyboard() const;
  double idealOffsetForView(const pf::View& view, double withSpace) const;
  pf::Rect keyboardRect() const;
  bool isKeyboardVisible() const { return keyboard_.isKeyboardVisible(); }

 private:
  void applyMinimumContentSize();

  KeyboardAvoiding keyboard_;
  pf::Size originalContentSize_;
  pf::NotificationCenter::Observation willShow_;
  pf::NotificationCenter::Observation willHide_;
};
