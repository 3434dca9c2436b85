#include "platform/ui/TabBar.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Control.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/SystemStyle.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/Touch.h"

namespace pf {

namespace {

constexpr double kImageSide = 30;
constexpr double kTitleSize = 10;

// A state that sets only a colour keeps the normal state's font.
std::shared_ptr<const Font> tabBarTitleFont(const TabBarItem& item,
                                            const std::optional<BarItem::TitleAttributes>& own) {
  if (own && own->font) return own->font;
  const auto normal = item.titleTextAttributes(Control::kNormal);
  return normal && normal->font ? normal->font : Font::systemFont(kTitleSize);
}

}  // namespace

TabBar::TabBar() : TabBar(Rect()) {}

TabBar::TabBar(const Rect& frame) : View(frame) {}

void TabBar::setItems(std::vector<std::shared_ptr<TabBarItem>> items, bool animated) {
  (void)animated;
  std::erase(items, nullptr);
  items_ = std::move(items);
  std::weak_ptr<TabBar> weak = sharedAs<TabBar>();
  for (const auto& item : items_) {
    item->setChangeHandler([weak] {
      if (auto bar = weak.lock()) bar->setNeedsDisplay();
    });
  }
  if (auto selected = selected_.lock();
      selected && std::find(items_.begin(), items_.end(), selected) == items_.end()) {
    selected_.reset();
  }
  setNeedsDisplay();
}

void TabBar::setSelectedItem(const std::shared_ptr<TabBarItem>& item) {
  if (item && std::find(items_.begin(), items_.end(), item) == items_.end()) return;
  selected_ = item;
  setNeedsDisplay();
}

void TabBar::setTintColor(std::optional<Color> color) {
  tint_ = color;
  setNeedsDisplay();
}

void TabBar::setSelectedImageTintColor(std::optional<Color> color) {
  selectedTint_ = color;
  setNeedsDisplay();
}

void TabBar::setBackgroundImage(std::shared_ptr<const Image> image) {
  backgroundImage_ = std::move(image);
  setNeedsDisplay();
}

void TabBar::setSelectionIndicatorImage(std::shared_ptr<const Image> image) {
  indicatorImage_ = std::move(image);
  setNeedsDisplay();
}

Size TabBar::sizeThatFits(Size size) const {
  return {size.width, kHeight};
}

Rect TabBar::rectForItemAtIndex(size_t index) const {
  const Rect area = bounds();
  if (items_.empty()) return {};
  const double width = area.size.width / static_cast<double>(items_.size());
  return {{area.origin.x + width * static_cast<double>(index), area.origin.y}, {width, area.size.height}};
}

std::optional<size_t> TabBar::indexAt(Point point) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (rectForItemAtIndex(i).contains(point)) return i;
  }
  return std::nullopt;
}

void TabBar::touchesBegan(const TouchSet& touches, const Event* event) {
  (void)event;
  pressed_ = touches.empty() ? std::nullopt : indexAt(touches.front()->locationInView(this));
}

void TabBar::touchesEnded(const TouchSet& touches, const Event* event) {
  (void)event;
  if (touches.empty() || !pressed_) return;
  const auto index = indexAt(touches.front()->locationInView(this));
  const auto pressed = pressed_;
  pressed_.reset();
  if (index != pressed || *index >= items_.size() || !items_[*index]->isEnabled()) return;
  auto self = sharedAs<TabBar>();
  const auto item = items_[*index];
  setSelectedItem(item);
  if (auto delegate = delegate_.lock()) delegate->didSelectItem(*this, *item);
}

void TabBar::drawItem(GraphicsContext& context, const TabBarItem& item, const Rect& slot,
                      bool selected) const {
  const Color tint = selectedTint_.value_or(tint_.value_or(SystemStyle::tint()));
  const Color plain = Color::fromWhite(0.57);
  if (selected && indicatorImage_) indicatorImage_->draw(context, slot);
  std::shared_ptr<const Image> picture =
      selected ? item.finishedSelectedImage() : item.finishedUnselectedImage();
  if (!picture) picture = selected && item.selectedImage() ? item.selectedImage() : item.image();
  const EdgeInsets insets = item.imageInsets();
  Rect imageRect{{slot.midX() - kImageSide / 2, slot.origin.y + 4}, {kImageSide, kImageSide}};
  if (picture) {
    const Size size = picture->size();
    imageRect = {{slot.midX() - size.width / 2, slot.origin.y + 4}, size};
    picture->draw(context, insets.inset(imageRect));
  }
  if (item.title()) {
    const auto attributes = item.titleTextAttributes(selected ? Control::kHighlighted : Control::kNormal);
    const auto font = tabBarTitleFont(item, attributes);
    const Color color = attributes && attributes->color ? *attributes->color : selected ? tint : plain;
    const Size size = StringDrawing::sizeOfText(*item.title(), *font);
    const Point offset = item.titlePositionAdjustment();
    const Rect titleRect{{slot.midX() - size.width / 2 + offset.x, slot.maxY() - size.height - 2 + offset.y},
                         size};
    StringDrawing::drawText(context, *item.title(), titleRect, *font, color);
  }
  if (item.badgeValue()) {
    const auto font = Font::systemFont(13);
    const Size text = StringDrawing::sizeOfText(*item.badgeValue(), *font);
    const double height = 18;
    const double width = std::max(height, text.width + 10);
    const Rect badge{{imageRect.maxX() - width / 2, slot.origin.y + 2}, {width, height}};
    context.setFillColor(SystemStyle::destructive());
    context.fillPath(Path::withRoundedRect(badge, height / 2));
    StringDrawing::drawText(context, *item.badgeValue(),
                            {{badge.midX() - text.width / 2, badge.midY() - text.height / 2}, text}, *font,
                            Color::white());
  }
}

void TabBar::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect area = bounds();
  if (backgroundImage_) {
    backgroundImage_->draw(*context, area);
  } else {
    context->setFillColor(SystemStyle::barBackground());
    context->fillRect(area);
    context->setFillColor(SystemStyle::separator());
    context->fillRect({{0, 0}, {area.size.width, 0.5}});
  }
  const auto selected = selected_.lock();
  for (size_t i = 0; i < items_.size(); ++i) {
    drawItem(*context, *items_[i], rectForItemAtIndex(i), items_[i] == selected);
  }
}

}  // namespace pf
