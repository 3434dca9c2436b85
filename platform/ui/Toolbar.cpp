#include "platform/ui/Toolbar.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

namespace {

constexpr double kToolbarMargin = 12;
constexpr double kGap = 10;

}  // namespace

Toolbar::Toolbar() : Toolbar(Rect()) {}

Toolbar::Toolbar(const Rect& frame) : View(frame) {}

void Toolbar::setItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated) {
  (void)animated;
  for (const auto& view : shown_) view->removeFromSuperview();
  shown_.clear();
  items_ = std::move(items);
  std::weak_ptr<Toolbar> weak = sharedAs<Toolbar>();
  for (const auto& item : items_) {
    item->setChangeHandler([weak] {
      if (auto bar = weak.lock()) bar->setNeedsLayout();
    });
    if (auto view = item->view()) {
      addSubview(view);
      shown_.push_back(view);
    }
  }
  setNeedsLayout();
}

void Toolbar::setBarStyle(BarStyle style) {
  barStyle_ = style;
  setNeedsDisplay();
}

void Toolbar::setTintColor(std::optional<Color> color) {
  tint_ = color;
  setNeedsDisplay();
}

void Toolbar::setTranslucent(bool translucent) {
  translucent_ = translucent;
  setNeedsDisplay();
}

Size Toolbar::sizeThatFits(Size size) const {
  return {size.width, kHeight};
}

void Toolbar::layoutSubviews() {
  const Rect area = bounds();
  double fixed = 0;
  int flexible = 0;
  std::vector<double> widths;
  for (const auto& item : items_) {
    double width = 0;
    if (item->systemItem() == BarButtonItem::SystemItem::FlexibleSpace) {
      ++flexible;
    } else if (item->systemItem() == BarButtonItem::SystemItem::FixedSpace) {
      width = item->width();
    } else if (auto view = item->view()) {
      width = item->width() > 0 ? item->width() : view->frame().size.width;
    }
    widths.push_back(width);
    fixed += width;
  }
  const double gaps = items_.empty() ? 0 : kGap * static_cast<double>(items_.size() - 1);
  const double room = std::max(0.0, area.size.width - 2 * kToolbarMargin - fixed - gaps);
  const double share = flexible > 0 ? room / flexible : 0;
  double x = kToolbarMargin;
  for (size_t i = 0; i < items_.size(); ++i) {
    const auto& item = items_[i];
    if (item->systemItem() == BarButtonItem::SystemItem::FlexibleSpace) {
      x += share + kGap;
      continue;
    }
    if (auto view = item->view()) {
      const double height = std::min(view->frame().size.height, area.size.height);
      view->setFrame({{x, std::floor((area.size.height - height) / 2)}, {widths[i], height}});
    }
    x += widths[i] + kGap;
  }
}

void Toolbar::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect area = bounds();
  const bool dark = barStyle_ != BarStyle::Default;
  Color fill = dark ? Color::fromWhite(0.1, translucent_ || barStyle_ == BarStyle::BlackTranslucent ? 0.8 : 1)
                    : SystemStyle::barBackground();
  if (tint_ && !dark) fill = *tint_;
  context->setFillColor(fill);
  context->fillRect(area);
  context->setFillColor(dark ? Color::fromWhite(0, 1) : SystemStyle::separator());
  context->fillRect({{0, 0}, {area.size.width, 0.5}});
}

}  // namespace pf
