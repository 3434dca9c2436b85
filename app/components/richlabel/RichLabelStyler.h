#pragma once
// Turns the spans of parsed markup into text attributes: fonts, colours, underlines and paragraph
// styles by tag name ("b", "i", "bi", "a", "u", "uu", "font", "p", "center"), over the label's base
// font, colour and paragraph settings. Font tags also carry the label-wide link-button settings
// (title colour, backgrounds, title size), which it writes into the label's LinkSettings.
// Main thread only, like the label.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/components/richlabel/RichLabelComponent.h"
#include "platform/foundation/Utf16.h"
#include "platform/text/AttributedString.h"

class RichLabelStyler {
 public:
  // What the label's link buttons take from font tags; kept for the label's lifetime.
  struct LinkSettings {
    std::optional<std::string> linkBgNormal;
    std::optional<std::string> linkBgHighlight;
    std::optional<std::string> titleColor;
    std::optional<std::string> titleFont;
  };
  // The label's own settings the styling starts from.
  struct Base {
    std::shared_ptr<const pf::Font> font;
    pf::Color textColor;
    int textAlignment = 0;
    int lineBreakMode = 0;
    float lineSpacing = 3;
    int currentSelectedButtonComponentIndex = -1;
    std::optional<RichLabelComponent::Attributes> linkAttributes;
    std::optional<RichLabelComponent::Attributes> selectedLinkAttributes;
  };

  RichLabelStyler(const Base& base, LinkSettings& links) : base_(base), links_(links) {}

  // The base attributes over the whole text, then every span in list order; answers the link spans.
  std::vector<RichLabelComponentPtr> style(pf::AttributedString& text, const std::vector<RichLabelComponentPtr>& spans);

  void applyParagraphStyleToText(pf::AttributedString& text, const RichLabelComponent::Attributes& attributes,
                                 pf::utf16::Range range) const;
  void applyCenterStyleToText(pf::AttributedString& text, pf::utf16::Range range) const;
  void applySingleUnderlineText(pf::AttributedString& text, pf::utf16::Range range) const;
  void applyDoubleUnderlineText(pf::AttributedString& text, pf::utf16::Range range) const;
  void applyItalicStyleToText(pf::AttributedString& text, pf::utf16::Range range) const;
  void applyBoldStyleToText(pf::AttributedString& text, pf::utf16::Range range) const;
  void applyBoldItalicStyleToText(pf::AttributedString& text, pf::utf16::Range range) const;
  void applyFontAttributes(const RichLabelComponent::Attributes& attributes, pf::AttributedString& text,
                           pf::utf16::Range range);
  void applyColor(const std::string& value, pf::AttributedString& text, pf::utf16::Range range) const;
  void applyUnderlineColor(const std::string& value, pf::AttributedString& text, pf::utf16::Range range) const;

 private:
  // Styles one span; answers whether it is a link.
  bool styleSpan(RichLabelComponent& span, pf::AttributedString& text);
  void styleLink(RichLabelComponent& span, pf::AttributedString& text, pf::utf16::Range range);
  void applyTraits(pf::AttributedString& text, pf::utf16::Range range, bool bold, bool italic) const;

  const Base& base_;
  LinkSettings& links_;
};
