#include "platform/ui/BarButtonItem.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

BarButtonItem::BarButtonItem() = default;

BarButtonItem::BarButtonItem(std::optional<std::string> title, Style style, std::weak_ptr<void> target,
                             Action action)
    : style_(style), target_(std::move(target)), action_(std::move(action)), hasTarget_(!target_.expired()) {
  setTitle(std::move(title));
}

BarButtonItem::BarButtonItem(std::shared_ptr<const Image> image, Style style, std::weak_ptr<void> target,
                             Action action)
    : style_(style), target_(std::move(target)), action_(std::move(action)), hasTarget_(!target_.expired()) {
  setImage(std::move(image));
}

BarButtonItem::BarButtonItem(SystemItem item, std::weak_ptr<void> target, Action action)
    : systemItem_(item),
      target_(std::move(target)),
      action_(std::move(action)),
      hasTarget_(!target_.expired()) {
  if (item == SystemItem::Done || item == SystemItem::Save) style_ = Style::Done;
  if (!isSpace()) setTitle(systemTitle(item));
}

BarButtonItem::BarButtonItem(std::shared_ptr<View> customView) : customView_(std::move(customView)) {}

std::string BarButtonItem::systemTitle(SystemItem item) {
  switch (item) {
    case SystemItem::Done:
      return "Done";
    case SystemItem::Cancel:
      return "Cancel";
    case SystemItem::Edit:
      return "Edit";
    case SystemItem::Save:
      return "Save";
    case SystemItem::Add:
      return "+";
    case SystemItem::Compose:
      return "✎";
    case SystemItem::Reply:
      return "↩";
    case SystemItem::Action:
      return "⇪";
    case SystemItem::Organize:
      return "Organize";
    case SystemItem::Bookmarks:
      return "Bookmarks";
    case SystemItem::Search:
      return "Search";
    case SystemItem::Refresh:
      return "↻";
    case SystemItem::Stop:
      return "✕";
    case SystemItem::Camera:
      return "Camera";
    case SystemItem::Trash:
      return "Trash";
    case SystemItem::Play:
      return "▶";
    case SystemItem::Pause:
      return "❚❚";
    case SystemItem::Rewind:
      return "◀◀";
    case SystemItem::FastForward:
      return "▶▶";
    case SystemItem::Undo:
      return "Undo";
    case SystemItem::Redo:
      return "Redo";
    case SystemItem::PageCurl:
      return "";
    case SystemItem::FlexibleSpace:
    case SystemItem::FixedSpace:
      return "";
  }
  return "";
}

void BarButtonItem::setStyle(Style style) {
  style_ = style;
  styleButton();
  changed();
}

bool BarButtonItem::isSpace() const {
  return systemItem_ == SystemItem::FlexibleSpace || systemItem_ == SystemItem::FixedSpace;
}

void BarButtonItem::setWidth(double width) {
  width_ = width;
  changed();
}

void BarButtonItem::setCustomView(std::shared_ptr<View> view) {
  customView_ = std::move(view);
  changed();
}

void BarButtonItem::setTintColor(std::optional<Color> color) {
  tint_ = color;
  styleButton();
  changed();
}

void BarButtonItem::performAction() {
  if (!isEnabled() || !action_) return;
  std::shared_ptr<void> target;
  if (hasTarget_) {
    target = target_.lock();
    if (!target) return;
  }
  auto self = std::static_pointer_cast<BarButtonItem>(shared_from_this());
  action_(*this);
}

std::shared_ptr<View> BarButtonItem::view() {
  if (customView_) return customView_;
  if (isSpace()) return nullptr;
  if (!button_) {
    button_ = Button::buttonWithType(Button::Type::Custom);
    std::weak_ptr<BarButtonItem> weak = std::static_pointer_cast<BarButtonItem>(shared_from_this());
    button_->addAction(
        [weak](Control&, unsigned) {
          if (auto item = weak.lock()) item->performAction();
        },
        Control::kTouchUpInside);
  }
  styleButton();
  return button_;
}

void BarButtonItem::styleButton() {
  if (!button_) return;
  const Color tint = tint_.value_or(SystemStyle::tint());
  button_->setTitle(title(), Control::kNormal);
  button_->setImage(image(), Control::kNormal);
  button_->setImageEdgeInsets(imageInsets());
  button_->setTitleColor(tint, Control::kNormal);
  button_->setTitleColor(tint.withAlpha(0.3), Control::kHighlighted);
  button_->setTitleColor(SystemStyle::disabledText(), Control::kDisabled);
  if (const auto attributes = titleTextAttributes(Control::kNormal)) {
    if (attributes->color) button_->setTitleColor(*attributes->color, Control::kNormal);
  }
  const auto attributes = titleTextAttributes(Control::kNormal);
  button_->titleLabel()->setFont(attributes && attributes->font ? attributes->font
                                 : style_ == Style::Done        ? SystemStyle::barTitleFont()
                                                                : SystemStyle::barItemFont());
  button_->setEnabled(isEnabled());
  button_->sizeToFit();
  Rect frame = button_->frame();
  frame.size.width = width_ > 0 ? width_ : std::max(frame.size.width, 30.0);
  frame.size.height = std::max(frame.size.height, 30.0);
  button_->setFrame(frame);
}

}  // namespace pf
