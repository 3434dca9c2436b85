#pragma once
// One laid-out line of a frame: its part of the text, its typographic bounds, its runs, and the
// mapping between positions along it and text indexes (links are hit-tested with both).

#include "platform/foundation/Utf16.h"
#include "platform/graphics/Point.h"
#include "platform/text/TextRun.h"

#include <memory>
#include <vector>

namespace pf {

struct TextLayoutData;

struct TypographicBounds {
  double ascent = 0;
  double descent = 0;
  double leading = 0;
  double width = 0;
};

class TextLine {
 public:
  TextLine(std::shared_ptr<const TextLayoutData> data, std::size_t index);

  // In UTF-16 units of the whole attributed string; the last line of a paragraph holds its break.
  utf16::Range stringRange() const;
  TypographicBounds typographicBounds() const;
  std::vector<TextRun> glyphRuns() const;
  // The distance from the line's origin to the caret before the character at the index; indexes
  // before the line give its start, indexes after it its end.
  double offsetForStringIndex(std::size_t index) const;
  // The caret index nearest to the position (x from the line's origin): a position past the middle
  // of a character gives the index after it, which is two units on for an emoji.
  std::size_t stringIndexForPosition(Point position) const;
  // The index of the character under x (from the line's origin); nullopt beside the line.
  std::optional<std::size_t> characterIndexAt(double x) const;

 private:
  std::shared_ptr<const TextLayoutData> data_;
  std::size_t index_;
};

}  // namespace pf
