#include "platform/text/TextLine.h"

#include "platform/text/TextLayoutData.h"

#include <algorithm>

namespace pf {

TextLine::TextLine(std::shared_ptr<const TextLayoutData> data, std::size_t index)
    : data_(std::move(data)), index_(index) {}

utf16::Range TextLine::stringRange() const {
  return data_->lines[index_].range;
}

TypographicBounds TextLine::typographicBounds() const {
  const LaidOutLine& l = data_->lines[index_];
  return {l.ascent, l.descent, 0, l.width};
}

std::vector<TextRun> TextLine::glyphRuns() const {
  const LaidOutLine& l = data_->lines[index_];
  const std::size_t base = data_->paragraphs[l.paragraph].byteStart;
  std::vector<TextRun> runs;
  double x = 0;
  for (GSList* item = l.line->runs; item; item = item->next) {
    const auto* run = static_cast<const PangoGlyphItem*>(item->data);
    const std::size_t start = data_->index->unitOf(base + static_cast<std::size_t>(run->item->offset));
    const std::size_t end =
        data_->index->unitOf(base + static_cast<std::size_t>(run->item->offset + run->item->length));
    const double width = fromPango(pango_glyph_string_get_width(run->glyphs));
    runs.push_back({{start, end - start}, data_->text->attributesAt(start), x, width});
    x += width;
  }
  return runs;
}

double TextLine::offsetForStringIndex(std::size_t index) const {
  const LaidOutLine& l = data_->lines[index_];
  const std::size_t base = data_->paragraphs[l.paragraph].byteStart;
  const std::size_t first = static_cast<std::size_t>(l.line->start_index);
  const std::size_t last = first + static_cast<std::size_t>(l.line->length);
  std::size_t byte = data_->index->byteOf(index);
  byte = byte < base ? 0 : byte - base;
  if (byte <= first) return 0;
  if (byte >= last) return l.width;
  int x = 0;
  pango_layout_line_index_to_x(l.line, static_cast<int>(byte), FALSE, &x);
  return fromPango(x);
}

std::size_t TextLine::stringIndexForPosition(Point position) const {
  const LaidOutLine& l = data_->lines[index_];
  const std::size_t base = data_->paragraphs[l.paragraph].byteStart;
  if (position.x <= 0) return l.range.location;
  // Past the line's end gives its end; far past, the position would not fit Pango's units.
  const double x = std::min(position.x, l.width);
  int byte = 0, trailing = 0;
  pango_layout_line_x_to_index(l.line, static_cast<int>(x * PANGO_SCALE), &byte, &trailing);
  const char* text = pango_layout_get_text(l.line->layout);
  const char* at = text + byte;
  for (int i = 0; i < trailing && *at; ++i) at = g_utf8_next_char(at);
  const std::size_t unit = data_->index->unitOf(base + static_cast<std::size_t>(at - text));
  const std::size_t lineEnd =
      data_->index->unitOf(base + static_cast<std::size_t>(l.line->start_index + l.line->length));
  return std::min(unit, lineEnd);
}

std::optional<std::size_t> TextLine::characterIndexAt(double x) const {
  const LaidOutLine& l = data_->lines[index_];
  if (x < 0 || x >= l.width) return std::nullopt;
  int byte = 0, trailing = 0;
  if (!pango_layout_line_x_to_index(l.line, static_cast<int>(x * PANGO_SCALE), &byte, &trailing))
    return std::nullopt;
  return data_->index->unitOf(data_->paragraphs[l.paragraph].byteStart + static_cast<std::size_t>(byte));
}

}  // namespace pf
