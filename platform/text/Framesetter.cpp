#include "platform/text/Framesetter.h"

#include "platform/text/TextLayoutData.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pf {

namespace {

// The platform's callers pass the largest float for "unbounded"; a zero width is taken as it is, as
// a frame of that width would be, so suggestions and frames agree.
double limit(double v) {
  return v >= 1e30 || !(v >= 0) ? std::numeric_limits<double>::infinity() : v;
}

}  // namespace

Framesetter::Framesetter(AttributedString text)
    : text_(std::make_shared<const AttributedString>(std::move(text))),
      index_(std::make_shared<const TextIndex>(text_->string())) {}

Framesetter::SuggestedSize Framesetter::suggestFrameSize(utf16::Range range, Size constraints) const {
  return measure(range, constraints).suggested;
}

Framesetter::Measurement Framesetter::measure(utf16::Range range, Size constraints) const {
  const Rect rect(0, 0, limit(constraints.width), limit(constraints.height));
  const auto data =
      TextLayoutData::layOut(text_, index_, range, rect, TextLayoutData::Truncation::perParagraph);
  // Laid out at the constraint's width, the text is laid out the same in a frame of that width; a frame
  // wider than it may show a shortened line whole, taller, and push later lines out.
  const double fitWidth = data->truncated ? rect.size.width : std::min(data->usedWidth, rect.size.width);
  return {{{fitWidth, data->usedHeight}, data->visibleRange}, std::make_shared<TextFrame>(data)};
}

std::shared_ptr<TextFrame> Framesetter::createFrame(utf16::Range range, const Rect& rect) const {
  return std::make_shared<TextFrame>(TextLayoutData::layOut(text_, index_, range, rect.standardized(),
                                                            TextLayoutData::Truncation::perParagraph));
}

std::shared_ptr<TextFrame> Framesetter::createFrame(utf16::Range range, const Rect& rect,
                                                    const TextFrame& earlier) const {
  const auto& whole = earlier.data_;
  if (whole->text == text_ && whole->range == TextLayoutData::rangeWithin(range, text_->length())) {
    if (auto data = TextLayoutData::cropped(whole, rect.standardized()))
      return std::make_shared<TextFrame>(data);
  }
  return createFrame(range, rect);
}

}  // namespace pf
