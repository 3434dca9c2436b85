#include "platform/ui/AlertView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Label.h"
#include "platform/ui/SystemStyle.h"
#include "platform/ui/Window.h"

namespace pf {

namespace {

// Main thread only.
std::vector<std::shared_ptr<AlertView>>& showingAlerts() {
  static std::vector<std::shared_ptr<AlertView>> alerts;
  return alerts;
}

constexpr double kBoxWidth = 270;
constexpr double kPadding = 16;
constexpr double kButtonHeight = 44;
constexpr double kCornerRadius = 12;
// Longer than any wait a test or user makes; the wait ends with the answer.
constexpr double kModalTimeout = 1e9;

std::shared_ptr<const Font> titleFont() {
  return Font::boldSystemFont(17);
}

std::shared_ptr<const Font> messageFont() {
  return Font::systemFont(13);
}

double textHeight(const std::optional<std::string>& text, const Font& font) {
  if (!text || text->empty()) return 0;
  return StringDrawing::sizeOfText(*text, font, {kBoxWidth - 2 * kPadding, 0}, LineBreakMode::wordWrap)
      .height;
}

}  // namespace

AlertView::AlertView() {
  setOpaque(false);
}

AlertView::AlertView(std::optional<std::string> title, std::optional<std::string> message,
                     std::weak_ptr<AlertViewDelegate> delegate, std::optional<std::string> cancelButtonTitle,
                     std::vector<std::string> otherButtonTitles)
    : title_(std::move(title)), message_(std::move(message)), delegate_(std::move(delegate)) {
  setOpaque(false);
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
  return showingAlerts();
}

void AlertView::resetVisibleAlerts() {
  for (const auto& alert : showingAlerts()) {
    alert->visible_ = false;
    alert->removeFromSuperview();
  }
  showingAlerts().clear();
}

long AlertView::addButtonWithTitle(const std::string& title) {
  buttonTitles_.push_back(title);
  return numberOfButtons() - 1;
}

std::optional<std::string> AlertView::buttonTitleAtIndex(long buttonIndex) const {
  if (buttonIndex < 0 || buttonIndex >= numberOfButtons()) return std::nullopt;
  return buttonTitles_[static_cast<size_t>(buttonIndex)];
}

void AlertView::setCancelButtonIndex(long index) {
  cancelButtonIndex_ = index >= 0 && index < numberOfButtons() ? index : -1;
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
  answer_.reset();
  showingAlerts().push_back(self);
  if (const auto window = Application::sharedApplication().keyWindow()) {
    setFrame(window->bounds());
    buildMessageLabel();
    buildButtons();
    window->addSubview(self);
    layoutSubviews();
    if (const auto delegate = delegate_.lock()) delegate->willPresentAlertView(*this);
    setNeedsDisplay();
  }
}

long AlertView::showModal() {
  auto self = std::static_pointer_cast<AlertView>(shared_from_this());
  show();
  const auto loop = RunLoop::main();
  // A stop meant for an outer run does not end this wait; only the answer (or a reset) does.
  while (visible_ && !answer_) {
    loop->runUntilTrue([this] { return answer_.has_value() || !visible_; }, kModalTimeout);
  }
  return answer_.value_or(-1);
}

void AlertView::buildMessageLabel() {
  if (messageLabel_) messageLabel_->removeFromSuperview();
  messageLabel_.reset();
  if (!message_ || message_->empty()) return;
  messageLabel_ = std::make_shared<Label>();
  messageLabel_->setText(message_);
  messageLabel_->setFont(messageFont());
  messageLabel_->setTextColor(Color::black());
  messageLabel_->setBackgroundColor(Color::clear());
  messageLabel_->setTextAlignment(TextAlignment::center);
  messageLabel_->setLineBreakMode(LineBreakMode::wordWrap);
  messageLabel_->setNumberOfLines(0);
  messageLabel_->setUserInteractionEnabled(false);
  addSubview(messageLabel_);
}

void AlertView::buildButtons() {
  for (const auto& button : buttons_) button->removeFromSuperview();
  buttons_.clear();
  std::weak_ptr<AlertView> weak = std::static_pointer_cast<AlertView>(shared_from_this());
  for (long index = 0; index < numberOfButtons(); ++index) {
    auto button = Button::buttonWithType(Button::Type::Custom);
    button->setTitle(buttonTitles_[static_cast<size_t>(index)], Control::kNormal);
    button->setTitleColor(SystemStyle::tint(), Control::kNormal);
    button->setTitleColor(SystemStyle::tint().withAlpha(0.3), Control::kHighlighted);
    button->titleLabel()->setFont(index == cancelButtonIndex_ && numberOfButtons() > 1
                                      ? Font::boldSystemFont(17)
                                      : Font::systemFont(17));
    button->addAction(
        [weak, index](Control&, unsigned) {
          if (auto alert = weak.lock()) alert->dismissWithClickedButtonIndex(index, true);
        },
        Control::kTouchUpInside);
    addSubview(button);
    buttons_.push_back(std::move(button));
  }
}

double AlertView::boxHeight() const {
  const double texts = textHeight(title_, *titleFont()) + textHeight(message_, *messageFont());
  const double rows = numberOfButtons() == 2 ? 1 : static_cast<double>(numberOfButtons());
  return kPadding + texts + (title_ && message_ ? 4 : 0) + kPadding + rows * kButtonHeight;
}

void AlertView::layoutSubviews() {
  const Rect area = bounds();
  const double height = std::min(boxHeight(), area.size.height - 20);
  box_ = {{std::floor((area.size.width - kBoxWidth) / 2), std::floor((area.size.height - height) / 2)},
          {kBoxWidth, height}};
  const double buttonsTop = box_.maxY() - (numberOfButtons() == 2 ? 1 : numberOfButtons()) * kButtonHeight;
  if (messageLabel_) {
    const double titleHeight = textHeight(title_, *titleFont());
    const double top = box_.origin.y + kPadding + (titleHeight > 0 ? titleHeight + 4 : 0);
    messageLabel_->setFrame({{box_.origin.x + kPadding, top},
                             {kBoxWidth - 2 * kPadding, std::max(0.0, std::min(textHeight(message_, *messageFont()),
                                                                               buttonsTop - kPadding / 2 - top))}});
  }
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_.size() == 2) {
      buttons_[i]->setFrame({{box_.origin.x + kBoxWidth / 2 * static_cast<double>(i), buttonsTop},
                             {kBoxWidth / 2, kButtonHeight}});
    } else {
      buttons_[i]->setFrame(
          {{box_.origin.x, buttonsTop + kButtonHeight * static_cast<double>(i)}, {kBoxWidth, kButtonHeight}});
    }
  }
}

void AlertView::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  context->setFillColor(Color::fromWhite(0, 0.4));
  context->fillRect(bounds());
  context->setFillColor(Color::fromWhite(0.97));
  context->fillPath(Path::withRoundedRect(box_, kCornerRadius));
  if (title_ && !title_->empty()) {
    const double y = box_.origin.y + kPadding;
    StringDrawing::drawText(*context, *title_,
                            {{box_.origin.x + kPadding, y}, {kBoxWidth - 2 * kPadding, textHeight(title_, *titleFont())}},
                            *titleFont(), Color::black(), LineBreakMode::wordWrap, TextAlignment::center);
  }
  // Hairlines above the buttons and between two side by side.
  context->setFillColor(SystemStyle::separator());
  for (const auto& button : buttons_) {
    const Rect frame = button->frame();
    context->fillRect({frame.origin, {frame.size.width, 0.5}});
  }
  if (buttons_.size() == 2) {
    const Rect right = buttons_[1]->frame();
    context->fillRect({right.origin, {0.5, right.size.height}});
  }
}

void AlertView::dismissWithClickedButtonIndex(long buttonIndex, bool animated) {
  (void)animated;
  dismiss(buttonIndex, true);
}

void AlertView::dismissByCode(long buttonIndex, bool animated) {
  (void)animated;
  dismiss(buttonIndex, false);
}

void AlertView::dismiss(long buttonIndex, bool clicked) {
  if (!visible_ || dismissing_) return;
  auto self = std::static_pointer_cast<AlertView>(shared_from_this());  // the delegate may drop its own
  dismissing_ = true;
  if (clicked) answer_ = buttonIndex;
  const auto delegate = delegate_.lock();
  if (delegate && clicked) delegate->clickedButtonAtIndex(*this, buttonIndex);
  if (delegate) delegate->willDismissWithButtonIndex(*this, buttonIndex);
  visible_ = false;
  auto& alerts = showingAlerts();
  alerts.erase(std::remove(alerts.begin(), alerts.end(), self), alerts.end());
  removeFromSuperview();
  dismissing_ = false;
  if (delegate) delegate->didDismissWithButtonIndex(*this, buttonIndex);
  RunLoop::main()->wake();
}

}  // namespace pf
