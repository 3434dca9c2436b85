#pragma once
// Text laid out in a rectangle: the lines that fit, where each sits, and the part of the text they
// show. Line origins follow the platform's layout service: the baseline's left end, measured from
// the rectangle's bottom left with y growing upwards; draw() draws in such a y-up space (flip a
// view's context first, as the platform asks), drawTopDown() straight into a y-down context.

#include "platform/foundation/Utf16.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/TextLine.h"

#include <memory>
#include <optional>
#include <vector>

namespace pf {

class TextFrame {
 public:
  explicit TextFrame(std::shared_ptr<const TextLayoutData> data);

  const std::vector<TextLine>& lines() const { return lines_; }
  std::vector<Point> lineOrigins() const;
  // The text the lines show.
  utf16::Range visibleStringRange() const;
  const Rect& rect() const;

  void draw(GraphicsContext& context) const;
  void drawTopDown(GraphicsContext& context) const;

  // The character under a point given from the rectangle's top left, y downwards; nullopt between
  // or beside the lines.
  std::optional<std::size_t> characterIndexAt(Point point) const;

 private:
  friend class Framesetter;
  std::shared_ptr<const TextLayoutData> data_;
  std::vector<TextLine> lines_;
};

}  // namespace pf
