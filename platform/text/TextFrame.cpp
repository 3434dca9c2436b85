#include "platform/text/TextFrame.h"

#include "platform/graphics/CairoHandle.h"
#include "platform/text/TextLayoutData.h"

namespace pf {

TextFrame::TextFrame(std::shared_ptr<const TextLayoutData> data) : data_(std::move(data)) {
  for (std::size_t i = 0; i < data_->lines.size(); ++i) lines_.emplace_back(data_, i);
}

std::vector<Point> TextFrame::lineOrigins() const {
  std::vector<Point> origins;
  for (const LaidOutLine& l : data_->lines) origins.push_back({l.x, data_->rect.size.height - l.baseline});
  return origins;
}

utf16::Range TextFrame::visibleStringRange() const {
  return data_->visibleRange;
}

const Rect& TextFrame::rect() const {
  return data_->rect;
}

void TextFrame::draw(GraphicsContext& context) const {
  drawWithState(
      context, [this](cairo_t* cr) { data_->drawBottomUp(cr); }, data_->inkBounds(true));
}

void TextFrame::drawTopDown(GraphicsContext& context) const {
  drawWithState(
      context, [this](cairo_t* cr) { data_->drawTopDown(cr); }, data_->inkBounds(false));
}

std::optional<std::size_t> TextFrame::characterIndexAt(Point point) const {
  for (std::size_t i = 0; i < data_->lines.size(); ++i) {
    const LaidOutLine& l = data_->lines[i];
    if (point.y >= l.baseline - l.ascent && point.y < l.baseline + l.descent)
      return lines_[i].characterIndexAt(point.x - l.x);
  }
  return std::nullopt;
}

}  // namespace pf
