#pragma once
// What the repost and comment editors share: a text of at most 140 units with its counter, a clear
// button, a check box, the keyboard resizing the text, the send button and the pop after "发布成功！".
// A send that succeeded is not repeated while the overlay shows.
//
// Main thread only; the send calls of the subclasses run on it.

#include <memory>
#include <string>
#include <vector>

#include "app/controller/blg/BlgBaseViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Size.h"
#include "platform/ui/TextView.h"

namespace pf {
class Button;
class Label;
class View;
}  // namespace pf

class BlgEditBaseViewController : public BlgBaseViewController, public pf::TextViewDelegate {
  PF_OBJECT(BlgEditBaseViewController, BlgBaseViewController)

  static constexpr char kCheckedImage[] = "BLG_WCOM_confirm.png";
  static constexpr char kSendTitle[] = "发送";

  BlgEditBaseViewController();
  explicit BlgEditBaseViewController(std::string nibName);
  ~BlgEditBaseViewController() override;

  pf::Size keyboardKey;
  std::weak_ptr<pf::TextView> textView;
  std::weak_ptr<pf::Button> checkbox;
  std::weak_ptr<pf::Label> numLabel;
  std::weak_ptr<pf::View> cleanView;

  void viewDidLoad() override;
  void keyboardDidShow(const pf::Notification& notification);
  void keyboardWillHide(const pf::Notification& notification);
  bool textViewShouldBeginEditing(pf::TextView& view) override;
  void textViewDidChange(pf::TextView& view) override;
  void cleanBtn();
  void checkBoxBtnPressed();
  void editDone();
  void hudWasHidden(ProgressHUD& hud) override;

 protected:
  // The check box's flag (also post as a comment, or as a blog).
  virtual bool& checkFlag() = 0;
  virtual std::string editorTitle() const = 0;
  // The text as typed; empty without a text view.
  std::string text() const;
  void showRemaining(long remaining);
  // Shows "发布成功！" and pops when it hides; further sends are ignored.
  void finishSending();
  bool hasSent() const { return sent_; }

 private:
  void placeCleanView();

  std::vector<pf::NotificationCenter::Observation> observations_;
  bool sent_ = false;
};
