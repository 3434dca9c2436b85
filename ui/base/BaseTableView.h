#pragma once
// A table that keeps the field being edited in it above the keyboard, as BaseScrollView does, and
// runs its forms: it becomes the delegate of the text fields and views inside it (those without a
// delegate of their own), gives each field the next or done return key, moves the focus on return
// to the field below (a field level with it counts when it comes later in the view tree), ends the
// typing on the last one, and ends it too on a touch of the table. Main thread only.

#include <memory>

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "ui/base/KeyboardAvoiding.h"

class BaseTableView : public pf::TableView, public pf::TextFieldDelegate, public pf::TextViewDelegate {
  PF_OBJECT(BaseTableView, pf::TableView)

  BaseTableView();
  explicit BaseTableView(const pf::Rect& frame, Style style = Style::Plain);

  // Makes the class known to interface files.
  static void registerForInterfaceFiles();

  // Listens to the keyboard.
  void setup();
  void awakeFromNib() override;

  void setFrame(const pf::Rect& frame) override;
  void setContentSize(pf::Size size) override;
  void touchesEnded(const pf::TouchSet& touches, const pf::Event* event) override;
  // Adopts the fields laid out beneath the table.
  void layoutSubviews() override;

  void keyboardWillShow(const pf::Notification& notification);
  void keyboardWillHide(const pf::Notification& notification);

  // TextFieldDelegate and TextViewDelegate.
  bool textFieldShouldReturn(pf::TextField& field) override;
  void textFieldDidBeginEditing(pf::TextField& field) override;
  void textViewDidBeginEditing(pf::TextView& view) override;

  // Moves the focus to the field after the first responder; false when there is none.
  bool focusNextTextField();
  void scrollToActiveTextField();
  std::shared_ptr<pf::View> findFirstResponderBeneathView(const pf::View& view) const;
  // The field that follows `priorField` beneath the view: the nearest below it, or level with it
  // and later in the tree; nullptr when there is none.
  std::shared_ptr<pf::View> findTextFieldAfterTextField(const pf::View& priorField, const pf::View& beneathView) const;
  void initializeViewsBeneathView(const pf::View& view);
  void initializeView(pf::View& view);
  pf::EdgeInsets contentInsetForKeyboard() const;
  double idealOffsetForView(const pf::View& view, double withSpace) const;
  pf::Rect keyboardRect() const;
  bool isKeyboardVisible() const { return keyboard_.isKeyboardVisible(); }

 private:
  struct NextFieldSearch;
  void searchNextField(const pf::View& view, NextFieldSearch& search) const;
  bool isAdoptable(const pf::View& view) const;

  KeyboardAvoiding keyboard_;
  pf::NotificationCenter::Observation willShow_;
  pf::NotificationCenter::Observation willHide_;
};
