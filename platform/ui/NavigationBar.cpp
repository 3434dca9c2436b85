#include "platform/ui/NavigationBar.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

namespace {

constexpr double kMargin = 8;
constexpr double kGap = 6;

}  // namespace

NavigationBar::NavigationBar() : NavigationBar(Rect()) {}

NavigationBar::NavigationBar(const Rect& frame)
    : View(frame),
      titleLabel_(std::make_shared<Label>()),
      backButton_(Button::buttonWithType(Button::Type::Custom)) {
  titleLabel_->setFont(SystemStyle::barTitleFont());
  titleLabel_->setTextAlignment(TextAlignment::center);
  titleLabel_->setLineBreakMode(LineBreakMode::truncatingTail);
  backButton_->titleLabel()->setFont(SystemStyle::barItemFont());
  backButton_->setTitleColor(SystemStyle::tint(), Control::kNormal);
  backButton_->setTitleColor(SystemStyle::tint().withAlpha(0.3), Control::kHighlighted);
  backButton_->setContentHorizontalAlignment(Control::ContentHorizontalAlignment::Left);
}

std::shared_ptr<NavigationItem> NavigationBar::topItem() const {
  return items_.empty() ? nullptr : items_.back();
}

std::shared_ptr<NavigationItem> NavigationBar::backItem() const {
  return items_.size() < 2 ? nullptr : items_[items_.size() - 2];
}

void NavigationBar::watch(const std::shared_ptr<NavigationItem>& item) {
  std::weak_ptr<NavigationBar> weak = sharedAs<NavigationBar>();
  item->setChangeHandler([weak] {
    if (auto bar = weak.lock()) bar->setNeedsLayout();
  });
}

void NavigationBar::setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool animated) {
  (void)animated;
  std::erase(items, nullptr);
  items_ = std::move(items);
  for (const auto& item : items_) watch(item);
  setNeedsLayout();
}

void NavigationBar::pushNavigationItem(const std::shared_ptr<NavigationItem>& item, bool animated) {
  (void)animated;
  if (!item || std::find(items_.begin(), items_.end(), item) != items_.end()) return;
  auto self = sharedAs<NavigationBar>();
  const auto delegate = delegate_.lock();
  if (delegate && !delegate->shouldPushItem(*this, *item)) return;
  items_.push_back(item);
  watch(item);
  setNeedsLayout();
  if (delegate) delegate->didPushItem(*this, *item);
}

std::shared_ptr<NavigationItem> NavigationBar::popNavigationItemAnimated(bool animated) {
  (void)animated;
  if (items_.size() < 2) return nullptr;
  auto self = sharedAs<NavigationBar>();
  const auto item = items_.back();
  const auto delegate = delegate_.lock();
  if (delegate && !delegate->shouldPopItem(*this, *item)) return nullptr;
  // The delegate may have changed the stack itself (a navigation controller popping its screen).
  if (!items_.empty() && items_.back() == item) items_.pop_back();
  item->setChangeHandler({});
  setNeedsLayout();
  if (delegate) delegate->didPopItem(*this, *item);
  return item;
}

void NavigationBar::setBarStyle(BarStyle style) {
  barStyle_ = style;
  setNeedsDisplay();
  setNeedsLayout();
}

void NavigationBar::setTintColor(std::optional<Color> color) {
  tint_ = color;
  setNeedsDisplay();
}

void NavigationBar::setTranslucent(bool translucent) {
  translucent_ = translucent;
  setNeedsDisplay();
}

Size NavigationBar::sizeThatFits(Size size) const {
  return {size.width, kHeight};
}

void NavigationBar::show(const std::shared_ptr<View>& view) {
  if (view->superview().get() != this) addSubview(view);
  shown_.push_back(view);
}

void NavigationBar::removeUnshown(const std::vector<std::shared_ptr<View>>& before) {
  for (const auto& view : before) {
    if (std::find(shown_.begin(), shown_.end(), view) == shown_.end() && view->superview().get() == this) {
      view->removeFromSuperview();
    }
  }
}

void NavigationBar::layoutSubviews() {
  const std::vector<std::shared_ptr<View>> before = std::move(shown_);
  shown_.clear();
  layoutTopItem();
  removeUnshown(before);
}

void NavigationBar::layoutTopItem() {
  backButtonShown_ = false;
  const auto top = topItem();
  if (!top) return;
  const Rect area = bounds();
  const double height = area.size.height;
  auto placeRow = [&](const std::vector<std::shared_ptr<BarButtonItem>>& row, double x, bool fromRight) {
    for (const auto& item : row) {
      auto view = item->view();
      if (!view) {
        x += fromRight ? -item->width() : item->width();
        continue;
      }
      Size size = view->frame().size;
      size.height = std::min(size.height, height);
      const double left = fromRight ? x - size.width : x;
      view->setFrame({{left, std::floor((height - size.height) / 2)}, size});
      show(view);
      x = fromRight ? left - kGap : left + size.width + kGap;
    }
    return x;
  };
  double leftEdge = kMargin;
  if (!top->leftBarButtonItems().empty()) {
    leftEdge = placeRow(top->leftBarButtonItems(), kMargin, false);
  } else if (const auto below = backItem(); below && !top->hidesBackButton()) {
    const auto back = below->backBarButtonItem();
    std::string title = back && back->title() ? *back->title() : below->title().value_or("Back");
    backButton_->setTitle("‹ " + title, Control::kNormal);
    backButton_->sizeToFit();
    Size size = backButton_->frame().size;
    size.width = std::min(size.width, area.size.width / 3);
    backButton_->setFrame({{kMargin, std::floor((height - size.height) / 2)}, size});
    backButton_->removeTarget(nullptr, {}, Control::kAllEvents);
    std::weak_ptr<NavigationBar> weak = sharedAs<NavigationBar>();
    backButton_->addAction(
        [weak](Control&, unsigned) {
          if (auto bar = weak.lock()) bar->popNavigationItemAnimated(true);
        },
        Control::kTouchUpInside);
    show(backButton_);
    backButtonShown_ = true;
    leftEdge = kMargin + size.width + kGap;
  }
  const double rightEdge = placeRow(top->rightBarButtonItems(), area.size.width - kMargin, true);
  // The title is centred on the bar when it fits there, else in the room between the items.
  const double room = std::max(0.0, rightEdge - leftEdge);
  std::shared_ptr<View> title = top->titleView();
  if (!title) {
    titleLabel_->setText(top->title());
    titleLabel_->setTextColor(barStyle_ == BarStyle::Default ? Color::black() : Color::white());
    title = titleLabel_;
    const Size fitted = titleLabel_->sizeThatFits({0, 0});
    titleLabel_->setFrame({{0, 0}, {std::min(fitted.width, room), height}});
  }
  Rect frame = title->frame();
  frame.size.width = std::min(frame.size.width, room);
  frame.size.height = std::min(frame.size.height, height);
  double x = std::floor((area.size.width - frame.size.width) / 2);
  x = std::clamp(x, leftEdge, std::max(leftEdge, rightEdge - frame.size.width));
  frame.origin = {x, std::floor((height - frame.size.height) / 2)};
  title->setFrame(frame);
  show(title);
}

void NavigationBar::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect area = bounds();
  const bool dark = barStyle_ != BarStyle::Default;
  Color fill = dark ? Color::fromWhite(0.1, barStyle_ == BarStyle::BlackTranslucent ? 0.8 : 1)
                    : SystemStyle::barBackground();
  if (tint_) fill = *tint_;
  context->setFillColor(fill);
  context->fillRect(area);
  context->setFillColor(dark ? Color::black() : SystemStyle::separator());
  context->fillRect({{0, area.size.height - 0.5}, {area.size.width, 0.5}});
}

}  // namespace pf
