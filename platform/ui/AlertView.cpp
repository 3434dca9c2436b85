#include "platform/ui/AlertView.h"

#include <algorithm>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"

namespace pf {

namespace {

// Main thread only.
std::vector<std::shared_ptr<AlertView>>& showing() {
  static std::vector<std::shared_ptr<AlertView>> alerts;
  return alerts;
}

}  // namespace

AlertView::AlertView() = default;

AlertView::AlertView(std::optional<std::string> title, std::optional<std::string> message,
                     std::weak_ptr<AlertViewDelegate> delegate, std::optional<std::string> cancelButtonTitle,
                     std::vector<std::string> otherButtonTitles)
    : title_(std::move(title)), message_(std::move(message)), delegate_(std::move(delegate)) {
  if (cancelButtonTitle) cancelButtonIndex_ = addButtonWithTitle(*cancelButtonTitle);
  for (const std::string& other : otherButtonTitles) addButtonWithTitle(other);
}

void AlertView::showOnMainQueue(std::optional<std::string> title, std::optional<std::string> message,
                                std::optional<std::string> cancelButtonTitle) {
  DispatchQueue::main()->async(
      [title = std::move(title), message = std::move(message), cancel = std::move(cancelButtonTitle)] {
        std::make_shared<AlertView>(title, message, std::weak_ptr<AlertViewDelegate>(), cancel)->show();
      });
}

std::vector<std::shared_ptr<AlertView>> AlertView::visibleAlerts() {
  return showing();
}

void AlertView::resetVisibleAlerts() {
  for (const auto& alert : showing()) alert->visible_ = false;
  showing().clear();
}

long AlertView::addButtonWithTitle(const std::string& title) {
  buttonTitles_.push_back(title);
  return numberOfButtons() - 1;
}

std::optional<std::string> AlertView::buttonTitleAtIndex(long buttonIndex) const {
  if (buttonIndex < 0 || buttonIndex >= numberOfButtons()) return std::nullopt;
  return buttonTitles_[static_cast<size_t>(buttonIndex)];
}

long AlertView::firstOtherButtonIndex() const {
  const long first = cancelButtonIndex_ == 0 ? 1 : 0;
  return first < numberOfButtons() ? first : -1;
}

void AlertView::show() {
  auto self = std::static_pointer_cast<AlertView>(shared_from_this());
  if (!RunLoop::isMainThread()) {
    DispatchQueue::main()->async([self] { self->show(); });
    return;
  }
  if (visible_) return;
  visible_ = true;
  showing().push_back(self);
}

void AlertView::dismissWithClickedButtonIndex(long buttonIndex, bool animated) {
  (void)animated;
  if (!visible_) return;
  auto self = std::static_pointer_cast<AlertView>(shared_from_this());  // the delegate may drop its own
  const auto delegate = delegate_.lock();
  if (delegate) delegate->clickedButtonAtIndex(*this, buttonIndex);
  visible_ = false;
  auto& alerts = showing();
  alerts.erase(std::remove(alerts.begin(), alerts.end(), self), alerts.end());
  if (delegate) delegate->didDismissWithButtonIndex(*this, buttonIndex);
}

}  // namespace pf
