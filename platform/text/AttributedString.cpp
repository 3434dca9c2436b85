#include "platform/text/AttributedString.h"

#include <algorithm>

namespace pf {

namespace {

// Valid UTF-8 without NUL characters, which the layout engine would take for the end of the text;
// each replaced character stays one unit long.
std::string laidOutForm(std::string_view text) {
  std::string out = utf16::decode(utf16::encode(text));
  for (std::size_t pos = out.find('\0'); pos != std::string::npos; pos = out.find('\0', pos))
    out.replace(pos, 1, "\xEF\xBF\xBD");
  return out;
}

}  // namespace

AttributedString::AttributedString(std::string_view text, const TextAttributes& attributes)
    : text_(laidOutForm(text)), length_(utf16::length(text_)) {
  if (length_ > 0) runs_.push_back({{0, length_}, attributes});
}

const TextAttributes& AttributedString::attributesAt(std::size_t index, utf16::Range* effectiveRange) const {
  static const TextAttributes kNone;
  if (runs_.empty()) {
    if (effectiveRange) *effectiveRange = {0, 0};
    return kNone;
  }
  index = std::min(index, length_ - 1);
  const auto it = std::upper_bound(runs_.begin(), runs_.end(), index,
                                   [](std::size_t i, const Run& run) { return i < run.range.location; });
  const Run& run = *std::prev(it);
  if (effectiveRange) *effectiveRange = run.range;
  return run.attributes;
}

void AttributedString::update(utf16::Range range, const std::function<void(TextAttributes&)>& change) {
  std::size_t start = std::min(range.location, length_);
  std::size_t end = range.length > length_ - start ? length_ : start + range.length;
  // Widen to whole characters so a surrogate pair is never styled in halves.
  const std::u16string units = utf16::encode(text_);
  if (start > 0 && start < length_ && units[start] >= 0xDC00 && units[start] <= 0xDFFF) --start;
  if (end > 0 && end < length_ && units[end] >= 0xDC00 && units[end] <= 0xDFFF) ++end;
  if (start >= end) return;
  std::vector<Run> out;
  for (const Run& run : runs_) {
    const std::size_t a = run.range.location, b = a + run.range.length;
    if (b <= start || a >= end) {
      out.push_back(run);
      continue;
    }
    if (a < start) out.push_back({{a, start - a}, run.attributes});
    Run middle{{std::max(a, start), std::min(b, end) - std::max(a, start)}, run.attributes};
    change(middle.attributes);
    out.push_back(std::move(middle));
    if (b > end) out.push_back({{end, b - end}, run.attributes});
  }
  runs_ = std::move(out);
  merge();
}

void AttributedString::merge() {
  std::vector<Run> out;
  for (Run& run : runs_) {
    if (!out.empty() && out.back().attributes == run.attributes)
      out.back().range.length += run.range.length;
    else
      out.push_back(std::move(run));
  }
  runs_ = std::move(out);
}

void AttributedString::setAttributes(utf16::Range range, const TextAttributes& attributes) {
  update(range, [&](TextAttributes& a) { a = attributes; });
}

void AttributedString::setFont(utf16::Range range, std::shared_ptr<const Font> font) {
  update(range, [&](TextAttributes& a) { a.font = font; });
}

void AttributedString::setForegroundColor(utf16::Range range, const Color& color) {
  update(range, [&](TextAttributes& a) { a.foregroundColor = color; });
}

void AttributedString::setUnderline(utf16::Range range, UnderlineStyle style, std::optional<Color> color) {
  update(range, [&](TextAttributes& a) {
    a.underline = style;
    if (color) a.underlineColor = color;
  });
}

void AttributedString::setKern(utf16::Range range, double kern) {
  update(range, [&](TextAttributes& a) { a.kern = kern; });
}

void AttributedString::setParagraphStyle(utf16::Range range, const ParagraphStyle& style) {
  update(range, [&](TextAttributes& a) { a.paragraphStyle = style; });
}

void AttributedString::setLink(utf16::Range range, std::string link) {
  update(range, [&](TextAttributes& a) { a.link = link; });
}

void AttributedString::append(const AttributedString& other) {
  for (Run run : other.runs_) {
    run.range.location += length_;
    runs_.push_back(std::move(run));
  }
  text_ += other.text_;
  length_ += other.length_;
  merge();
}

}  // namespace pf
