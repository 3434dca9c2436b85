#pragma once
// Pull to refresh on a table: pulling the content down past the control's height while dragging
// starts refreshing and sends value changed (4096) to the targets; endRefreshing lets the content
// go back up. Main thread only.

#include <optional>
#include <string>

#include "platform/ui/Control.h"

namespace pf {

class Label;
class ScrollView;

class RefreshControl : public Control {
  PF_OBJECT(RefreshControl, Control)

  static constexpr double kHeight = 60;

  RefreshControl();

  // Whether the platform offers this control. Tests switch it off to run code written for systems
  // without one; it is on at start.
  static bool isAvailable();
  static void setAvailable(bool available);

  bool isRefreshing() const { return refreshing_; }
  // Shows the control above the content until endRefreshing; sends nothing.
  void beginRefreshing();
  void endRefreshing();
  const std::optional<std::string>& attributedTitle() const { return title_; }
  void setAttributedTitle(std::optional<std::string> title);

  // Sent by the table it sits on at every scroll.
  void scrollViewDidScroll(ScrollView& scrollView);

  void layoutSubviews() override;

 private:
  std::shared_ptr<Label> label_;
  std::optional<std::string> title_;
  bool refreshing_ = false;
};

}  // namespace pf
