#include "platform/text/StringDrawing.h"

#include "platform/foundation/Utf8.h"
#include "platform/graphics/CairoHandle.h"
#include "platform/text/TextLayoutData.h"

#include <cmath>
#include <limits>

namespace pf {

namespace {

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

double drawingLimit(double v) {
  return v >= 1e30 || !(v > 0) ? kUnbounded : v;
}

std::shared_ptr<TextLayoutData> layOut(std::string_view text, const Font& font, const Rect& rect,
                                       LineBreakMode mode, TextAlignment alignment,
                                       const std::optional<Color>& color) {
  TextAttributes attributes;
  attributes.font = std::make_shared<Font>(font);
  attributes.foregroundColor = color;
  ParagraphStyle style;
  style.lineBreakMode = mode == LineBreakMode::clip ? LineBreakMode::wordWrap : mode;
  style.alignment = alignment;
  attributes.paragraphStyle = style;
  auto string = std::make_shared<const AttributedString>(text, attributes);
  auto index = std::make_shared<const TextIndex>(string->string());
  return TextLayoutData::layOut(std::move(string), std::move(index), {0, 0}, rect,
                                TextLayoutData::Truncation::lastLine);
}

double singleLineWidth(std::string_view text, const Font& font) {
  return layOut(text, font, Rect(0, 0, kUnbounded, kUnbounded), LineBreakMode::clip, TextAlignment::left,
                std::nullopt)
      ->usedWidth;
}

}  // namespace

Size StringDrawing::sizeOfText(std::string_view text, const Font& font) {
  return sizeOfText(text, font, {kUnbounded, kUnbounded}, LineBreakMode::wordWrap);
}

Size StringDrawing::sizeOfText(std::string_view text, const Font& font, Size constraints,
                               LineBreakMode mode) {
  const auto data = layOut(text, font, Rect(0, 0, drawingLimit(constraints.width), drawingLimit(constraints.height)), mode,
                           TextAlignment::left, std::nullopt);
  double width = std::ceil(data->usedWidth - 1e-9);
  if (std::isfinite(drawingLimit(constraints.width))) width = std::min(width, std::ceil(constraints.width));
  return {width, std::ceil(data->usedHeight - 1e-9)};
}

Size StringDrawing::drawText(GraphicsContext& context, std::string_view text, const Rect& rect,
                             const Font& font, const Color& color, LineBreakMode mode,
                             TextAlignment alignment) {
  const Rect r = rect.standardized();
  const auto data =
      layOut(text, font, Rect(r.origin, {drawingLimit(r.width()), drawingLimit(r.height())}), mode, alignment, color);
  drawWithState(
      context, [&data](cairo_t* cr) { data->drawTopDown(cr); }, data->inkBounds(false));
  return {std::ceil(data->usedWidth - 1e-9), std::ceil(data->usedHeight - 1e-9)};
}

std::string StringDrawing::truncatedText(std::string_view text, const Font& font, double width) {
  if (singleLineWidth(text, font) <= width) return std::string(text);
  // Character starts, so a cut never splits a character (or a surrogate pair once counted in UTF-16).
  std::vector<std::size_t> cuts;
  for (std::size_t pos = 0; pos < text.size(); pos += utf8::decode(text, pos).size) cuts.push_back(pos);
  std::size_t low = 0, high = cuts.size();  // low fits, high does not
  while (high - low > 1) {
    const std::size_t mid = (low + high) / 2;
    if (singleLineWidth(std::string(text.substr(0, cuts[mid])) + "…", font) <= width)
      low = mid;
    else
      high = mid;
  }
  return std::string(text.substr(0, cuts[low])) + "…";
}

}  // namespace pf
