#pragma once
// A modal message with buttons: texts, buttons (the cancel button first, at index 0, then the others
// in order), the alerts showing now, and dismissal by a button, which tells the delegate (clicked,
// will dismiss, did dismiss). Shown, it covers the key window with a dimmed backdrop and a rounded
// box: two buttons side by side, otherwise stacked. The message is a label among the alert's subviews. showModal waits for the answer in a nested run
// of the main loop, which ends only that wait: timers and posted work go on meanwhile, and an alert
// shown during the wait gets its own answer. Tests and hosts press buttons with
// dismissWithClickedButtonIndex.
//
// Threads: made and used on the main thread, except show(), which from any other thread shows the
// alert on the main queue (services report from background queues).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace pf {

class AlertView;
class Button;
class Label;

class AlertViewDelegate {
 public:
  virtual ~AlertViewDelegate() = default;
  // The alert is about to show: its box, message label and buttons are in place and may be adjusted.
  virtual void willPresentAlertView(AlertView& alertView) { (void)alertView; }
  // A button was pressed; the alert is about to go.
  virtual void clickedButtonAtIndex(AlertView& alertView, long buttonIndex) {
    (void)alertView;
    (void)buttonIndex;
  }
  // The alert is about to go.
  virtual void willDismissWithButtonIndex(AlertView& alertView, long buttonIndex) {
    (void)alertView;
    (void)buttonIndex;
  }
  // The alert has gone.
  virtual void didDismissWithButtonIndex(AlertView& alertView, long buttonIndex) {
    (void)alertView;
    (void)buttonIndex;
  }
};

class AlertView : public View {
  PF_OBJECT(AlertView, View)

  AlertView();
  AlertView(std::optional<std::string> title, std::optional<std::string> message,
            std::weak_ptr<AlertViewDelegate> delegate, std::optional<std::string> cancelButtonTitle,
            std::vector<std::string> otherButtonTitles = {});

  // Makes an alert and shows it on the main queue: for a service on any thread.
  static void showOnMainQueue(std::optional<std::string> title, std::optional<std::string> message,
                              std::optional<std::string> cancelButtonTitle);
  // Alerts shown and not yet dismissed, oldest first. Main thread.
  static std::vector<std::shared_ptr<AlertView>> visibleAlerts();
  // Forgets every showing alert without telling delegates (tests).
  static void resetVisibleAlerts();

  const std::optional<std::string>& title() const { return title_; }
  const std::optional<std::string>& message() const { return message_; }
  std::weak_ptr<AlertViewDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<AlertViewDelegate> delegate) { delegate_ = std::move(delegate); }

  // Index of the new button.
  long addButtonWithTitle(const std::string& title);
  long numberOfButtons() const { return static_cast<long>(buttonTitles_.size()); }
  // Empty for an index out of range.
  std::optional<std::string> buttonTitleAtIndex(long buttonIndex) const;
  // -1 without a cancel button.
  long cancelButtonIndex() const { return cancelButtonIndex_; }
  void setCancelButtonIndex(long index);
  long firstOtherButtonIndex() const;

  void show();
  // Shows the alert and waits for a button; answers its index (-1 when dismissed without one).
  long showModal();
  bool isVisible() const { return visible_; }
  // The buttons drawn while showing (index order), for hosts and tests that tap them.
  const std::vector<std::shared_ptr<Button>>& buttons() const { return buttons_; }
  // Where the box sits in the alert's bounds.
  Rect boxFrame() const { return box_; }
  // The label showing the message, among the subviews while showing; null without a message.
  std::shared_ptr<Label> messageLabel() const { return messageLabel_; }

  void layoutSubviews() override;
  void drawRect(const Rect& rect) override;
  // As if the button were pressed: the delegate hears of it, then the alert goes. Nothing when not showing.
  void dismissWithClickedButtonIndex(long buttonIndex, bool animated);
  // Dismissal by the program (a timer, a screen going away): the delegate hears only will and did
  // dismiss with the index, no click, and a modal wait on the alert ends answering -1.
  // Nothing when not showing.
  void dismissByCode(long buttonIndex, bool animated);

 private:
  std::optional<std::string> title_;
  std::optional<std::string> message_;
  std::weak_ptr<AlertViewDelegate> delegate_;
  std::vector<std::string> buttonTitles_;
  void buildButtons();
  void buildMessageLabel();
  double boxHeight() const;
  void dismiss(long buttonIndex, bool clicked);

  std::vector<std::shared_ptr<Button>> buttons_;
  std::shared_ptr<Label> messageLabel_;
  std::optional<long> answer_;
  Rect box_;
  long cancelButtonIndex_ = -1;
  bool visible_ = false;
  bool dismissing_ = false;
};

}  // namespace pf
