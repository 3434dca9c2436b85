#include "app/components/richlabel/RichLabelStyler.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "app/components/richlabel/RichLabelColor.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"

namespace {

std::string lowered(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string withoutSingleQuotes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\''), text.end());
  return text;
}

// The integer a text starts with (after white space and a sign), 0 when none, as the platform reads it.
int leadingInteger(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && value < 1'000'000'000) {
    value = value * 10 + (text[i++] - '0');
  }
  return static_cast<int>(negative ? -value : value);
}

// The platform makes a font of size 0 at its default size.
double fontSizeOf(const std::string& written) {
  const int size = leadingInteger(written);
  return size > 0 ? size : 12;
}

std::optional<std::string> attributeFolded(const RichLabelComponent::Attributes& attributes, const std::string& key) {
  for (const auto& [k, v] : attributes) {
    if (lowered(k) == key) return v;
  }
  return std::nullopt;
}

bool spanRangeFits(const RichLabelComponent& span, std::size_t textLength) {
  if (span.position == RichLabelComponent::kNotFound || span.position < 0 || span.length() <= 0) return false;
  return static_cast<std::size_t>(span.position) + span.length() <= textLength;
}

}  // namespace

std::vector<RichLabelComponentPtr> RichLabelStyler::style(pf::AttributedString& text,
                                                          const std::vector<RichLabelComponentPtr>& spans) {
  const pf::utf16::Range whole{0, text.length()};
  text.setForegroundColor(whole, base_.textColor);
  applyParagraphStyleToText(text, {}, whole);
  text.setFont(whole, base_.font);
  std::vector<RichLabelComponentPtr> links;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    spans[i]->componentIndex = static_cast<int>(i);
    if (styleSpan(*spans[i], text)) links.push_back(spans[i]);
  }
  return links;
}

bool RichLabelStyler::styleSpan(RichLabelComponent& span, pf::AttributedString& text) {
  const std::string tag = lowered(span.tagLabel.value_or(""));
  const bool fits = spanRangeFits(span, text.length());
  const pf::utf16::Range range{fits ? static_cast<std::size_t>(span.position) : 0,
                               fits ? static_cast<std::size_t>(span.length()) : 0};
  if (tag == "a") {
    // A link joins the list whatever its range; only links that fit get buttons.
    if (fits) styleLink(span, text, range);
    if (auto href = span.attributes.find("href"); href != span.attributes.end()) {
      href->second = withoutSingleQuotes(href->second);
    }
    return true;
  }
  if (tag == "font") {
    // Link-wide settings take effect also from a span that styles no text.
    applyFontAttributes(span.attributes, text, range);
    return false;
  }
  if (!fits) return false;
  if (tag == "i") applyItalicStyleToText(text, range);
  else if (tag == "b") applyBoldStyleToText(text, range);
  else if (tag == "bi") applyBoldItalicStyleToText(text, range);
  else if (tag == "u" || tag == "uu") {
    tag == "u" ? applySingleUnderlineText(text, range) : applyDoubleUnderlineText(text, range);
    if (auto colour = attributeFolded(span.attributes, "color")) applyUnderlineColor(*colour, text, range);
  } else if (tag == "p") applyParagraphStyleToText(text, span.attributes, range);
  else if (tag == "center") applyCenterStyleToText(text, range);
  return false;
}

void RichLabelStyler::styleLink(RichLabelComponent& span, pf::AttributedString& text, pf::utf16::Range range) {
  const bool pressed = span.componentIndex == base_.currentSelectedButtonComponentIndex;
  const auto& attributes = pressed ? base_.selectedLinkAttributes : base_.linkAttributes;
  if (attributes) {
    applyFontAttributes(*attributes, text, range);
    return;
  }
  applyBoldStyleToText(text, range);
  if (pressed) applyColor("#FF0000", text, range);
}

void RichLabelStyler::applyParagraphStyleToText(pf::AttributedString& text,
                                                const RichLabelComponent::Attributes& attributes,
                                                pf::utf16::Range range) const {
  pf::ParagraphStyle style;
  style.alignment = static_cast<pf::TextAlignment>(base_.textAlignment);
  style.lineBreakMode = static_cast<pf::LineBreakMode>(base_.lineBreakMode);
  style.lineSpacing = base_.lineSpacing;
  for (const auto& [key, written] : attributes) {
    const std::string k = lowered(key);
    const std::string value = lowered(written);
    if (k == "align") {
      static const char* const kAlignments[] = {"left", "right", "center", "justify"};
      for (int i = 0; i < 4; ++i) {
        if (value == kAlignments[i]) style.alignment = static_cast<pf::TextAlignment>(i);
      }
    } else if (k == "indent") {
      style.firstLineHeadIndent = std::strtod(written.c_str(), nullptr);
    } else if (k == "linebreakmode") {
      static const char* const kModes[] = {"wordwrap",       "charwrap",        "clipping",
                                           "truncatinghead", "truncatingtail", "truncatingmiddle"};
      for (int i = 0; i < 6; ++i) {
        if (value == kModes[i]) style.lineBreakMode = static_cast<pf::LineBreakMode>(i);
      }
    }
  }
  text.setParagraphStyle(range, style);
}

void RichLabelStyler::applyCenterStyleToText(pf::AttributedString& text, pf::utf16::Range range) const {
  pf::ParagraphStyle style;
  style.alignment = pf::TextAlignment::center;
  style.lineBreakMode = static_cast<pf::LineBreakMode>(base_.lineBreakMode);
  style.lineSpacing = base_.lineSpacing;
  text.setParagraphStyle(range, style);
}

void RichLabelStyler::applySingleUnderlineText(pf::AttributedString& text, pf::utf16::Range range) const {
  text.update(range, [](pf::TextAttributes& a) { a.underline = pf::UnderlineStyle::single; });
}

void RichLabelStyler::applyDoubleUnderlineText(pf::AttributedString& text, pf::utf16::Range range) const {
  text.update(range, [](pf::TextAttributes& a) { a.underline = pf::UnderlineStyle::doubled; });
}

void RichLabelStyler::applyItalicStyleToText(pf::AttributedString& text, pf::utf16::Range range) const {
  applyTraits(text, range, false, true);
}

void RichLabelStyler::applyBoldStyleToText(pf::AttributedString& text, pf::utf16::Range range) const {
  applyTraits(text, range, true, false);
}

void RichLabelStyler::applyBoldItalicStyleToText(pf::AttributedString& text, pf::utf16::Range range) const {
  applyTraits(text, range, true, true);
}

void RichLabelStyler::applyTraits(pf::AttributedString& text, pf::utf16::Range range, bool bold, bool italic) const {
  if (range.length == 0) return;
  auto font = text.attributesAt(range.location).font;
  if (!font) font = base_.font;
  text.setFont(range, font->withTraits(bold || font->isBold(), italic || font->isItalic()));
}

void RichLabelStyler::applyFontAttributes(const RichLabelComponent::Attributes& attributes,
                                          pf::AttributedString& text, pf::utf16::Range range) {
  std::optional<std::string> face, size;
  for (const auto& [key, entry] : attributes) {
    const std::string& written = entry;  // a plain reference: lambdas below capture it
    const std::string k = lowered(key);
    const std::string value = withoutSingleQuotes(written);
    if (k == "title_color") links_.titleColor = value;
    else if (k == "background_normal") links_.linkBgNormal = value;
    else if (k == "background_highlight") links_.linkBgHighlight = value;
    else if (k == "face") face = value;
    else if (k == "size") size = written;
    else if (range.length == 0) continue;
    else if (k == "color") applyColor(value, text, range);
    else if (k == "stroke") text.update(range, [&](pf::TextAttributes& a) { a.strokeWidth = leadingInteger(written); });
    else if (k == "kern") text.setKern(range, leadingInteger(written));
    else if (k == "underline") {
      const int style = leadingInteger(value);
      if (style == 1) applySingleUnderlineText(text, range);
      if (style == 2) applyDoubleUnderlineText(text, range);
    } else if (k == "style") {
      if (lowered(value) == "bold") applyBoldStyleToText(text, range);
      if (lowered(value) == "italic") applyItalicStyleToText(text, range);
    }
  }
  std::shared_ptr<const pf::Font> font;
  if (face) {
    font = pf::Font::withName(*face, size ? fontSizeOf(*size) : base_.font->pointSize());
  } else if (size) {
    links_.titleFont = *size;
    font = pf::Font::withName(base_.font->fontName(), fontSizeOf(*size));
  }
  if (font && range.length > 0) text.setFont(range, font);
}

void RichLabelStyler::applyColor(const std::string& value, pf::AttributedString& text, pf::utf16::Range range) const {
  if (auto colour = RichLabelColor::textColor(withoutSingleQuotes(value))) text.setForegroundColor(range, *colour);
}

void RichLabelStyler::applyUnderlineColor(const std::string& value, pf::AttributedString& text,
                                          pf::utf16::Range range) const {
  if (auto colour = RichLabelColor::textColor(withoutSingleQuotes(value))) {
    text.update(range, [&](pf::TextAttributes& a) { a.underlineColor = *colour; });
  }
}
