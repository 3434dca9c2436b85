#include "platform/text/TextLayoutData.h"

#include "platform/foundation/Utf8.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

namespace pf {

TextIndex::TextIndex(const std::string& text) {
  byteToUnit_.resize(text.size() + 1);
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const utf8::Character c = utf8::decode(text, pos);
    unitToByte_.push_back(static_cast<std::uint32_t>(pos));
    if (c.codePoint >= 0x10000) unitToByte_.push_back(static_cast<std::uint32_t>(pos));
    for (std::size_t i = 0; i < c.size; ++i) byteToUnit_[pos + i] = static_cast<std::uint32_t>(units);
    units += c.codePoint >= 0x10000 ? 2 : 1;
    pos += c.size;
  }
  unitToByte_.push_back(static_cast<std::uint32_t>(text.size()));
  byteToUnit_[text.size()] = static_cast<std::uint32_t>(units);
}

TextLayoutData::~TextLayoutData() {
  for (auto& p : paragraphs) g_object_unref(p.layout);
}

namespace {

constexpr double kDefaultFontSize = 12;
// A line fits a height it passes by less than this.
constexpr double kLayoutFitTolerance = 1e-3;

PangoFontDescription* descriptionFor(const Font& font) {
  thread_local std::map<std::string, PangoFontDescription*> cache;
  const std::string key = font.pangoDescription();
  auto [it, added] = cache.try_emplace(key, nullptr);
  if (added) it->second = pango_font_description_from_string(key.c_str());
  return it->second;
}

guint16 channel(double v) {
  return static_cast<guint16>(std::lround(std::clamp(v, 0.0, 1.0) * 65535));
}

void insert(PangoAttrList* list, PangoAttribute* attribute, std::size_t start, std::size_t end) {
  attribute->start_index = static_cast<guint>(start);
  attribute->end_index = static_cast<guint>(end);
  pango_attr_list_insert(list, attribute);
}

void addAttributes(PangoAttrList* list, const TextAttributes& a, std::size_t start, std::size_t end) {
  if (a.font) insert(list, pango_attr_font_desc_new(descriptionFor(*a.font)), start, end);
  if (a.foregroundColor) {
    const Rgba c = a.foregroundColor->rgba().value_or(Rgba{0, 0, 0, 1});
    insert(list, pango_attr_foreground_new(channel(c.red), channel(c.green), channel(c.blue)), start, end);
    // Pango reads an alpha of 0 as "not set", so a clear colour keeps the least alpha there is.
    if (c.alpha < 1)
      insert(list, pango_attr_foreground_alpha_new(std::max<guint16>(1, channel(c.alpha))), start, end);
  }
  if (a.underline != UnderlineStyle::none) {
    insert(list,
           pango_attr_underline_new(a.underline == UnderlineStyle::doubled ? PANGO_UNDERLINE_DOUBLE
                                                                           : PANGO_UNDERLINE_SINGLE),
           start, end);
    if (a.underlineColor) {
      const Rgba c = a.underlineColor->rgba().value_or(Rgba{0, 0, 0, 1});
      insert(list, pango_attr_underline_color_new(channel(c.red), channel(c.green), channel(c.blue)), start,
             end);
    }
  }
  // A positive stroke draws the outline alone: the fill is made invisible and the outline is
  // stroked after the line is drawn.
  if (a.strokeWidth > 0) insert(list, pango_attr_foreground_alpha_new(1), start, end);
  if (a.kern != 0)
    insert(list, pango_attr_letter_spacing_new(static_cast<int>(a.kern * PANGO_SCALE)), start, end);
}

// Pango's line breaking allows breaks inside what draws as one character (a space and the mark on it, a
// letter and the emoji modifier after it). Breaking there, it keeps a line whole by a space it then drops
// from it (a frame of the line's width breaks elsewhere), and at narrow widths fails an assertion and
// aborts. A character is never broken: no break inside one.
void keepCharactersWhole(PangoAttrList* list, std::string_view paragraph, PangoLanguage* language) {
  const auto characters =
      static_cast<std::size_t>(g_utf8_strlen(paragraph.data(), static_cast<gssize>(paragraph.size())));
  std::vector<PangoLogAttr> attrs(characters + 1);
  pango_get_log_attrs(paragraph.data(), static_cast<int>(paragraph.size()), -1, language, attrs.data(),
                      static_cast<int>(attrs.size()));
  std::size_t characterStart = 0;  // byte of the last cursor position
  const char* at = paragraph.data();
  for (std::size_t i = 1; i < characters; ++i) {
    const char* previous = at;
    at = g_utf8_next_char(at);
    if (attrs[i - 1].is_cursor_position)
      characterStart = static_cast<std::size_t>(previous - paragraph.data());
    if (!attrs[i].is_line_break || attrs[i].is_cursor_position) continue;
    std::size_t end = i + 1;
    const char* endAt = g_utf8_next_char(at);
    for (; end < characters && !attrs[end].is_cursor_position; ++end) endAt = g_utf8_next_char(endAt);
    insert(list, pango_attr_allow_breaks_new(FALSE), characterStart,
           static_cast<std::size_t>(endAt - paragraph.data()));
  }
}

// The paragraph's end (before its break) and the start of the next one.
std::pair<std::size_t, std::size_t> paragraphEnd(const std::string& text, std::size_t from,
                                                 std::size_t limit) {
  for (std::size_t i = from; i < limit; ++i) {
    const char c = text[i];
    if (c == '\n') return {i, i + 1};
    if (c == '\r') return {i, (i + 1 < limit && text[i + 1] == '\n') ? i + 2 : i + 1};
    if (c == '\xE2' && i + 2 < limit && text[i + 1] == '\x80' && text[i + 2] == '\xA9') return {i, i + 3};
  }
  return {limit, limit};
}

// What Pango's indent adds before a line: a positive one indents the first line, a negative one the others.
double lineIndent(const ParagraphStyle& style, bool firstLine) {
  const double indent = style.firstLineHeadIndent - style.headIndent;
  return firstLine ? std::max(indent, 0.0) : std::max(-indent, 0.0);
}

void applyParagraphStyle(PangoLayout* layout, const ParagraphStyle& style, double width, double height,
                         TextLayoutData::Truncation truncation) {
  const bool finiteWidth = std::isfinite(width);
  const double textWidth = std::max(0.0, width - style.headIndent - style.tailIndent);
  pango_layout_set_width(layout, finiteWidth ? toPangoCeil(textWidth) : -1);
  pango_layout_set_spacing(layout, static_cast<int>(std::lround(style.lineSpacing * PANGO_SCALE)));
  pango_layout_set_indent(
      layout, static_cast<int>(std::lround((style.firstLineHeadIndent - style.headIndent) * PANGO_SCALE)));
  switch (style.alignment) {
    case TextAlignment::right:
      pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
      break;
    case TextAlignment::center:
      pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
      break;
    default:
      pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
      break;
  }
  pango_layout_set_justify(layout, style.alignment == TextAlignment::justified);
  PangoEllipsizeMode ellipsis = PANGO_ELLIPSIZE_NONE;
  switch (style.lineBreakMode) {
    case LineBreakMode::wordWrap:
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
      break;
    case LineBreakMode::charWrap:
      pango_layout_set_wrap(layout, PANGO_WRAP_CHAR);
      break;
    case LineBreakMode::clip:
      if (truncation == TextLayoutData::Truncation::perParagraph) pango_layout_set_width(layout, -1);
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
      break;
    case LineBreakMode::truncatingHead:
      ellipsis = PANGO_ELLIPSIZE_START;
      break;
    case LineBreakMode::truncatingTail:
      ellipsis = PANGO_ELLIPSIZE_END;
      break;
    case LineBreakMode::truncatingMiddle:
      ellipsis = PANGO_ELLIPSIZE_MIDDLE;
      break;
  }
  if (ellipsis == PANGO_ELLIPSIZE_NONE || !finiteWidth) return;
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  if (truncation == TextLayoutData::Truncation::perParagraph) {
    pango_layout_set_ellipsize(layout, ellipsis);
    pango_layout_set_height(layout, -1);
  } else if (std::isfinite(height)) {
    pango_layout_set_ellipsize(layout, ellipsis);
    pango_layout_set_height(layout, std::max(1, static_cast<int>(std::floor(height * PANGO_SCALE + 1e-6))));
  }
}

}  // namespace

std::shared_ptr<TextLayoutData> TextLayoutData::layOut(std::shared_ptr<const AttributedString> text,
                                                       std::shared_ptr<const TextIndex> index,
                                                       utf16::Range range, const Rect& rect,
                                                       Truncation truncation) {
  auto data = std::make_shared<TextLayoutData>();
  data->rect = rect;
  const std::string& s = text->string();
  data->range = rangeWithin(range, text->length());
  const std::size_t startUnit = data->range.location, endUnit = startUnit + data->range.length;
  data->truncation = truncation;
  const double width = rect.size.width, height = rect.size.height;
  const std::size_t endByte = index->byteOf(endUnit);
  PangoContext* context = threadPangoContext();
  static const Font defaultFont(Font::systemFamilyName(), kDefaultFontSize, false, false);
  double top = 0;
  bool full = false;
  for (std::size_t byte = index->byteOf(startUnit); byte < endByte && !full;) {
    const auto [end, next] = paragraphEnd(s, byte, endByte);
    const std::size_t firstUnit = index->unitOf(byte);
    const TextAttributes& first = text->attributesAt(firstUnit);
    const ParagraphStyle style = first.paragraphStyle.value_or(ParagraphStyle{});
    if (!data->paragraphs.empty()) top += style.paragraphSpacingBefore;

    PangoLayout* layout = pango_layout_new(context);
    data->paragraphs.push_back({layout, byte});
    pango_layout_set_text(layout, s.data() + byte, static_cast<int>(end - byte));
    pango_layout_set_font_description(layout, descriptionFor(defaultFont));
    PangoAttrList* list = pango_attr_list_new();
    utf16::Range run;
    // Letter spacing goes after each letter, the last of a line too, and wrapping counts it.
    double widestKern = 0;
    for (std::size_t unit = firstUnit; unit < index->unitOf(end);) {
      const TextAttributes& a = text->attributesAt(unit, &run);
      widestKern = std::max(widestKern, a.kern);
      data->hasStroke = data->hasStroke || a.strokeWidth != 0;
      const std::size_t runEnd = std::min(run.location + run.length, index->unitOf(end));
      addAttributes(list, a, index->byteOf(unit) - byte, index->byteOf(runEnd) - byte);
      unit = runEnd;
    }
    keepCharactersWhole(list, std::string_view(s).substr(byte, end - byte),
                        pango_context_get_language(context));
    // Lines break without hyphens, as the platform's do; Pango would also count a hyphen it might insert
    // at an item's end when deciding whether the item fits, so a line of exactly its measured width broke.
    insert(list, pango_attr_insert_hyphens_new(FALSE), 0, end - byte);
    pango_layout_set_attributes(layout, list);
    pango_attr_list_unref(list);
    applyParagraphStyle(layout, style, width, height - top, truncation);

    PangoLayoutIter* it = pango_layout_get_iter(layout);
    do {
      PangoLayoutLine* line = pango_layout_iter_get_line_readonly(it);
      PangoRectangle logical;
      pango_layout_iter_get_line_extents(it, nullptr, &logical);
      const double baseline = top + fromPango(pango_layout_iter_get_baseline(it));
      const double bottom = top + fromPango(logical.y + logical.height);
      if (bottom > height + kLayoutFitTolerance &&
          (truncation == Truncation::perParagraph || !data->lines.empty())) {
        full = true;
        break;
      }
      LaidOutLine out;
      out.paragraph = data->paragraphs.size() - 1;
      out.line = line;
      const std::size_t lineStart = byte + static_cast<std::size_t>(line->start_index);
      const bool lastInParagraph = line->start_index + line->length >= static_cast<int>(end - byte);
      const std::size_t lineEnd = lastInParagraph ? next : lineStart + static_cast<std::size_t>(line->length);
      out.range = {index->unitOf(lineStart), index->unitOf(lineEnd) - index->unitOf(lineStart)};
      out.x = fromPango(logical.x) + style.headIndent;
      out.baseline = baseline;
      out.ascent = baseline - (top + fromPango(logical.y));
      out.descent = bottom - baseline;
      out.width = fromPango(logical.width);
      out.bottom = bottom;
      // Its indents (not where alignment put it) and the last letter's spacing.
      const double lead = style.headIndent + lineIndent(style, line->start_index == 0);
      out.neededWidth = lead + out.width + widestKern + style.tailIndent;
      data->lines.push_back(out);
      if (bottom > height + kLayoutFitTolerance) full = true;
    } while (!full && pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    data->truncated = data->truncated || pango_layout_is_ellipsized(layout);
    if (full) break;
    PangoRectangle extents;
    pango_layout_get_extents(layout, nullptr, &extents);
    top += fromPango(extents.height) + style.lineSpacing + style.paragraphSpacing;
    byte = next;
  }
  data->finishLines();
  data->text = std::move(text);
  data->index = std::move(index);
  return data;
}

utf16::Range TextLayoutData::rangeWithin(utf16::Range range, std::size_t length) {
  const std::size_t start = std::min(range.location, length);
  const std::size_t end = range.length == 0 || range.length > length - start ? length : start + range.length;
  return {start, end - start};
}

std::shared_ptr<TextLayoutData> TextLayoutData::cropped(const std::shared_ptr<const TextLayoutData>& whole,
                                                        const Rect& rect) {
  if (whole->truncation != Truncation::perParagraph || rect.size.width != whole->rect.size.width ||
      !(rect.size.height <= whole->rect.size.height))
    return nullptr;
  auto data = std::make_shared<TextLayoutData>();
  data->text = whole->text;
  data->index = whole->index;
  data->range = whole->range;
  data->truncation = whole->truncation;
  data->rect = rect;
  data->hasStroke = whole->hasStroke;
  // Up to the paragraph of the first line left out, as laying out would go.
  std::size_t paragraphs = whole->paragraphs.size();
  for (const LaidOutLine& line : whole->lines) {
    if (line.bottom > rect.size.height + kLayoutFitTolerance) {
      paragraphs = line.paragraph + 1;
      break;
    }
    data->lines.push_back(line);
  }
  for (std::size_t i = 0; i < paragraphs; ++i) {
    g_object_ref(whole->paragraphs[i].layout);
    data->paragraphs.push_back(whole->paragraphs[i]);
    data->truncated = data->truncated || pango_layout_is_ellipsized(whole->paragraphs[i].layout);
  }
  data->finishLines();
  return data;
}

void TextLayoutData::finishLines() {
  visibleRange = {range.location, 0};
  for (const LaidOutLine& line : lines) {
    usedWidth = std::max(usedWidth, line.neededWidth);
    usedHeight = std::max(usedHeight, line.bottom);
  }
  if (!lines.empty()) {
    const LaidOutLine& last = lines.back();
    visibleRange = {lines.front().range.location,
                    last.range.location + last.range.length - lines.front().range.location};
  }
}

void TextLayoutData::strokeRuns(cairo_t* cr, const LaidOutLine& line) const {
  const std::size_t base = paragraphs[line.paragraph].byteStart;
  double x = 0;
  for (GSList* item = line.line->runs; item; item = item->next) {
    auto* run = static_cast<PangoGlyphItem*>(item->data);
    const TextAttributes& a =
        text->attributesAt(index->unitOf(base + static_cast<std::size_t>(run->item->offset)));
    if (a.strokeWidth != 0) {
      const Rgba c = a.foregroundColor.value_or(Color::black()).rgba().value_or(Rgba{});
      cairo_save(cr);
      cairo_new_path(cr);
      cairo_move_to(cr, x, 0);
      pango_cairo_glyph_string_path(cr, run->item->analysis.font, run->glyphs);
      cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
      cairo_set_line_width(
          cr, std::fabs(a.strokeWidth) / 100 * (a.font ? a.font->pointSize() : kDefaultFontSize));
      cairo_stroke(cr);
      cairo_restore(cr);
    }
    x += fromPango(pango_glyph_string_get_width(run->glyphs));
  }
}

void TextLayoutData::drawLine(cairo_t* cr, const LaidOutLine& line) const {
  cairo_move_to(cr, 0, 0);
  pango_cairo_show_layout_line(cr, line.line);
  if (hasStroke) strokeRuns(cr, line);
}

Rect TextLayoutData::inkBounds(bool bottomUp) const {
  Rect box = Rect::null();
  for (const LaidOutLine& l : lines) {
    // Glyphs may reach past their line's box (accents, slanted faces): allow a line height around it.
    const double margin = l.ascent + l.descent;
    const double top = bottomUp ? rect.size.height - l.baseline - l.descent : l.baseline - l.ascent;
    box = box.unionWith(Rect(rect.origin.x + l.x, rect.origin.y + top, l.width, l.ascent + l.descent)
                            .insetBy(-margin, -margin));
  }
  return box;
}

void TextLayoutData::drawTopDown(cairo_t* cr) const {
  cairo_save(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  for (const LaidOutLine& line : lines) {
    cairo_save(cr);
    cairo_translate(cr, rect.origin.x + line.x, rect.origin.y + line.baseline);
    drawLine(cr, line);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

void TextLayoutData::drawBottomUp(cairo_t* cr) const {
  cairo_save(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  for (const LaidOutLine& line : lines) {
    cairo_save(cr);
    cairo_translate(cr, rect.origin.x + line.x, rect.origin.y + rect.size.height - line.baseline);
    cairo_scale(cr, 1, -1);
    drawLine(cr, line);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

}  // namespace pf
