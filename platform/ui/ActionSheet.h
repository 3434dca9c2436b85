#pragma once
// A choice of actions rising from the bottom of a view: an optional title, the destructive button
// (in red) first, then the others, then the cancel button, set apart, last. On a tablet, shown from
// a rect, it appears as a panel beside that rect instead. A pressed button tells the delegate
// (clicked, will dismiss, did dismiss) and the sheet goes; tests press with
// dismissWithClickedButtonIndex. Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace pf {

class ActionSheet;
class Button;

class ActionSheetDelegate {
 public:
  virtual ~ActionSheetDelegate() = default;
  virtual void clickedButtonAtIndex(ActionSheet& sheet, long buttonIndex) {
    (void)sheet;
    (void)buttonIndex;
  }
  virtual void willDismissWithButtonIndex(ActionSheet& sheet, long buttonIndex) {
    (void)sheet;
    (void)buttonIndex;
  }
  virtual void didDismissWithButtonIndex(ActionSheet& sheet, long buttonIndex) {
    (void)sheet;
    (void)buttonIndex;
  }
};

class ActionSheet : public View {
  PF_OBJECT(ActionSheet, View)

  ActionSheet(std::optional<std::string> title, std::weak_ptr<ActionSheetDelegate> delegate,
              std::optional<std::string> cancelButtonTitle, std::optional<std::string> destructiveButtonTitle,
              std::vector<std::string> otherButtonTitles = {});

  // Sheets showing now, oldest first.
  static std::vector<std::shared_ptr<ActionSheet>> visibleSheets();

  const std::optional<std::string>& title() const { return title_; }
  std::weak_ptr<ActionSheetDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<ActionSheetDelegate> delegate) { delegate_ = std::move(delegate); }
  long addButtonWithTitle(const std::string& title);
  long numberOfButtons() const { return static_cast<long>(titles_.size()); }
  std::optional<std::string> buttonTitleAtIndex(long index) const;
  // -1 when there is none.
  long cancelButtonIndex() const { return cancelIndex_; }
  void setCancelButtonIndex(long index);
  long destructiveButtonIndex() const { return destructiveIndex_; }
  void setDestructiveButtonIndex(long index);
  long firstOtherButtonIndex() const;

  // Covers the view with a dimmed backdrop and the sheet at its bottom.
  void showInView(const std::shared_ptr<View>& view);
  // Beside the rect (in the view's coordinates) on a tablet, as showInView on a phone.
  void showFromRect(const Rect& rect, const std::shared_ptr<View>& view, bool animated);
  bool isVisible() const { return visible_; }
  void dismissWithClickedButtonIndex(long buttonIndex, bool animated);
  const std::vector<std::shared_ptr<Button>>& buttons() const { return buttons_; }
  // Where the panel of buttons sits in the sheet's bounds.
  Rect panelFrame() const { return panel_; }

  void layoutSubviews() override;
  void drawRect(const Rect& rect) override;

 private:
  void present(const std::shared_ptr<View>& view, std::optional<Rect> anchor);
  double panelHeight() const;

  std::optional<std::string> title_;
  std::weak_ptr<ActionSheetDelegate> delegate_;
  std::vector<std::string> titles_;
  std::vector<std::shared_ptr<Button>> buttons_;
  std::optional<Rect> anchor_;
  Rect panel_;
  long cancelIndex_ = -1;
  long destructiveIndex_ = -1;
  bool visible_ = false;
  bool dismissing_ = false;
};

}  // namespace pf
