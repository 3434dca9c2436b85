#include "platform/ui/ActionSheet.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Button.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

namespace {

constexpr double kRow = 44;
constexpr double kMargin = 8;
constexpr double kGap = 8;
constexpr double kTitleHeight = 36;
constexpr double kPopoverWidth = 272;

std::vector<std::shared_ptr<ActionSheet>>& showing() {
  static std::vector<std::shared_ptr<ActionSheet>> sheets;
  return sheets;
}

}  // namespace

ActionSheet::ActionSheet(std::optional<std::string> title, std::weak_ptr<ActionSheetDelegate> delegate,
                         std::optional<std::string> cancelButtonTitle,
                         std::optional<std::string> destructiveButtonTitle,
                         std::vector<std::string> otherButtonTitles)
    : title_(std::move(title)), delegate_(std::move(delegate)) {
  setOpaque(false);
  if (destructiveButtonTitle) destructiveIndex_ = addButtonWithTitle(*destructiveButtonTitle);
  for (const std::string& other : otherButtonTitles) addButtonWithTitle(other);
  if (cancelButtonTitle) cancelIndex_ = addButtonWithTitle(*cancelButtonTitle);
}

std::vector<std::shared_ptr<ActionSheet>> ActionSheet::visibleSheets() {
  return showing();
}

long ActionSheet::addButtonWithTitle(const std::string& title) {
  titles_.push_back(title);
  return numberOfButtons() - 1;
}

std::optional<std::string> ActionSheet::buttonTitleAtIndex(long index) const {
  if (index < 0 || index >= numberOfButtons()) return std::nullopt;
  return titles_[static_cast<size_t>(index)];
}

void ActionSheet::setCancelButtonIndex(long index) {
  cancelIndex_ = index >= 0 && index < numberOfButtons() ? index : -1;
}

void ActionSheet::setDestructiveButtonIndex(long index) {
  destructiveIndex_ = index >= 0 && index < numberOfButtons() ? index : -1;
}

long ActionSheet::firstOtherButtonIndex() const {
  for (long i = 0; i < numberOfButtons(); ++i) {
    if (i != cancelIndex_ && i != destructiveIndex_) return i;
  }
  return -1;
}

void ActionSheet::showInView(const std::shared_ptr<View>& view) {
  present(view, std::nullopt);
}

void ActionSheet::showFromRect(const Rect& rect, const std::shared_ptr<View>& view, bool animated) {
  (void)animated;
  const bool tablet = Device::currentDevice().userInterfaceIdiom() == Device::Idiom::Pad;
  present(view, tablet ? std::optional(rect) : std::nullopt);
}

void ActionSheet::present(const std::shared_ptr<View>& view, std::optional<Rect> anchor) {
  if (visible_ || !view) return;
  auto self = sharedAs<ActionSheet>();
  visible_ = true;
  anchor_ = anchor;
  showing().push_back(self);
  for (const auto& button : buttons_) button->removeFromSuperview();
  buttons_.clear();
  std::weak_ptr<ActionSheet> weak = self;
  for (long index = 0; index < numberOfButtons(); ++index) {
    auto button = Button::buttonWithType(Button::Type::Custom);
    button->setTitle(titles_[static_cast<size_t>(index)], Control::kNormal);
    const Color ink = index == destructiveIndex_ ? SystemStyle::destructive() : SystemStyle::tint();
    button->setTitleColor(ink, Control::kNormal);
    button->setTitleColor(ink.withAlpha(0.3), Control::kHighlighted);
    button->titleLabel()->setFont(index == cancelIndex_ ? Font::boldSystemFont(20) : Font::systemFont(20));
    button->addAction(
        [weak, index](Control&, unsigned) {
          if (auto sheet = weak.lock()) sheet->dismissWithClickedButtonIndex(index, true);
        },
        Control::kTouchUpInside);
    addSubview(button);
    buttons_.push_back(std::move(button));
  }
  setFrame(view->bounds());
  view->addSubview(self);
  setNeedsLayout();
  setNeedsDisplay();
}

void ActionSheet::dismissWithClickedButtonIndex(long buttonIndex, bool animated) {
  (void)animated;
  if (!visible_ || dismissing_) return;
  auto self = sharedAs<ActionSheet>();
  dismissing_ = true;
  const auto delegate = delegate_.lock();
  if (delegate) delegate->clickedButtonAtIndex(*this, buttonIndex);
  if (delegate) delegate->willDismissWithButtonIndex(*this, buttonIndex);
  visible_ = false;
  std::erase(showing(), self);
  removeFromSuperview();
  dismissing_ = false;
  if (delegate) delegate->didDismissWithButtonIndex(*this, buttonIndex);
}

double ActionSheet::panelHeight() const {
  const bool cancelApart = cancelIndex_ >= 0 && !anchor_;
  const double rows = static_cast<double>(numberOfButtons());
  return (title_ ? kTitleHeight : 0) + rows * kRow + (cancelApart ? kGap : 0);
}

void ActionSheet::layoutSubviews() {
  const Rect area = bounds();
  const double height = panelHeight();
  if (anchor_) {
    // Beside the rect, below it when there is room, else above.
    const double x = std::clamp(anchor_->midX() - kPopoverWidth / 2, kMargin,
                                std::max(kMargin, area.size.width - kPopoverWidth - kMargin));
    const double below = anchor_->maxY() + kMargin;
    const double y =
        below + height <= area.size.height ? below : std::max(kMargin, anchor_->origin.y - kMargin - height);
    panel_ = {{x, y}, {kPopoverWidth, height}};
  } else {
    panel_ = {{kMargin, area.maxY() - kMargin - height}, {area.size.width - 2 * kMargin, height}};
  }
  double y = panel_.origin.y + (title_ ? kTitleHeight : 0);
  for (long index = 0; index < numberOfButtons(); ++index) {
    if (index == cancelIndex_) continue;
    buttons_[static_cast<size_t>(index)]->setFrame({{panel_.origin.x, y}, {panel_.size.width, kRow}});
    y += kRow;
  }
  if (cancelIndex_ >= 0 && cancelIndex_ < static_cast<long>(buttons_.size())) {
    if (!anchor_) y += kGap;
    buttons_[static_cast<size_t>(cancelIndex_)]->setFrame({{panel_.origin.x, y}, {panel_.size.width, kRow}});
  }
}

void ActionSheet::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  context->setFillColor(Color::fromWhite(0, anchor_ ? 0.1 : 0.4));
  context->fillRect(bounds());
  const bool cancelApart = cancelIndex_ >= 0 && !anchor_;
  Rect group = panel_;
  if (cancelApart) group.size.height -= kRow + kGap;
  context->setFillColor(Color::fromWhite(0.97));
  context->fillPath(Path::withRoundedRect(group, 12));
  if (cancelApart) {
    context->fillPath(
        Path::withRoundedRect({{panel_.origin.x, group.maxY() + kGap}, {panel_.size.width, kRow}}, 12));
  }
  if (title_) {
    const auto font = Font::systemFont(13);
    const Size size = StringDrawing::sizeOfText(
        *title_, *font, {panel_.size.width - 2 * kMargin, kTitleHeight}, LineBreakMode::truncatingTail);
    StringDrawing::drawText(
        *context, *title_,
        {{panel_.midX() - size.width / 2, panel_.origin.y + (kTitleHeight - size.height) / 2}, size}, *font,
        Color::fromWhite(0.55), LineBreakMode::truncatingTail, TextAlignment::center);
  }
  context->setFillColor(SystemStyle::separator());
  for (long index = 0; index < numberOfButtons(); ++index) {
    const Rect frame = buttons_[static_cast<size_t>(index)]->frame();
    const bool firstRow = std::abs(frame.origin.y - panel_.origin.y) < 0.5;
    const bool cancelRow = cancelApart && index == cancelIndex_;
    if (!firstRow && !cancelRow) context->fillRect({frame.origin, {frame.size.width, 0.5}});
  }
}

}  // namespace pf
