#pragma once
// A view that shows rich-text markup as styled, wrapped text and lays invisible buttons over the line
// fragments of its links: a link that fits in a line gets one button, a link that wraps gets one on
// each line it continues on (not on the line where it begins). A tap tells the delegate the link's
// URL and href text. optimumSize answers the size the text needs at the label's current width.
//
// Every layout while no link is pressed rebuilds the buttons; the pressed link keeps its buttons and
// is drawn in its pressed style until a button sees the touch end (up inside, up outside or
// cancelled). The link-button settings that font tags carry (title colour, backgrounds, title size)
// stay with the label for its lifetime. The text laid out for a width is kept until the text, the
// width or a setting that styles it changes: a size asked for and the drawing that follows share it.
// Main thread only.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/components/richlabel/RichLabelButton.h"
#include "app/components/richlabel/RichLabelDelegate.h"
#include "app/components/richlabel/RichLabelExtractedComponent.h"
#include "app/components/richlabel/RichLabelStyler.h"
#include "platform/foundation/Utf16.h"
#include "platform/ui/View.h"

namespace pf {
class GraphicsContext;
class Image;
class TextFrame;
}  // namespace pf

class RichLabel : public pf::View {
  PF_OBJECT(RichLabel, pf::View)

  RichLabel();
  explicit RichLabel(const pf::Rect& frame);

  // Lets interface files name the class.
  static void registerForInterfaceFiles();

  // Parsing (see RichLabelMarkupParser).
  static RichLabelExtractedComponentPtr extractTextStyleFromText(std::string_view markup,
                                                                 std::string_view paragraphReplacement);
  // Parses ahead of time with "\n" for paragraphs and without the line-break step, for setText(markup, parsed).
  static RichLabelExtractedComponentPtr preExtractTextStyle(std::string_view markup);
  // The stripping parser: writes textComponents and plainText directly, leaving the valid tags.
  void parse(std::string_view markup, const std::vector<std::string>& validTags);
  // text cut into pieces around web addresses.
  std::vector<std::string> components() const;
  static std::array<double, 4> colorForHex(std::string_view hex);
  static pf::Color applyColorWithValue(std::string_view value);
  // A 1 x 1 point picture of the colour.
  static std::shared_ptr<pf::Image> createImageWithColor(const pf::Color& color);

  // Content. Each stores the markup after the line-break step.
  void setText(std::string_view markup);
  void setText(std::string_view markup, const RichLabelExtractedComponentPtr& parsed);
  void setHighlightedText(std::string_view markup);
  void setHighlightedText(std::string_view markup, const RichLabelExtractedComponentPtr& parsed);
  const std::string& text() const { return text_; }
  const std::optional<std::string>& plainText() const { return plainText_; }
  const std::optional<std::string>& highlightedText() const { return highlightedText_; }
  const std::vector<RichLabelComponentPtr>& textComponents() const { return textComponents_; }
  const std::vector<RichLabelComponentPtr>& highlightedTextComponents() const { return highlightedTextComponents_; }

  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted);
  int textAlignment() const { return base_.textAlignment; }
  void setTextAlignment(int alignment);
  int lineBreakMode() const { return base_.lineBreakMode; }
  void setLineBreakMode(int mode);
  float lineSpacing() const { return base_.lineSpacing; }
  void setLineSpacing(float spacing);
  const pf::Color& textColor() const { return base_.textColor; }
  void setTextColor(const pf::Color& color);
  const std::shared_ptr<const pf::Font>& font() const { return base_.font; }
  void setFont(std::shared_ptr<const pf::Font> font);
  const std::optional<RichLabelComponent::Attributes>& linkAttributes() const { return base_.linkAttributes; }
  void setLinkAttributes(std::optional<RichLabelComponent::Attributes> attributes);
  const std::optional<RichLabelComponent::Attributes>& selectedLinkAttributes() const {
    return base_.selectedLinkAttributes;
  }
  void setSelectedLinkAttributes(std::optional<RichLabelComponent::Attributes> attributes);
  const std::string& paragraphReplacement() const { return paragraphReplacement_; }
  void setParagraphReplacement(std::string replacement) { paragraphReplacement_ = std::move(replacement); }
  std::shared_ptr<RichLabelDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<RichLabelDelegate> delegate) { delegate_ = std::move(delegate); }
  const RichLabelStyler::LinkSettings& linkSettings() const { return links_; }
  int currentSelectedButtonComponentIndex() const { return base_.currentSelectedButtonComponentIndex; }

  // Layout.
  pf::Size optimumSize();
  pf::utf16::Range visibleRange() const { return visibleRange_; }
  std::string visibleText();
  // The lines' ascent + descent + leading, rounded up.
  static int frameHeight(const pf::TextFrame& frame);
  // Lays the text out (buttons included) and draws it into the context when there is one.
  void render(pf::GraphicsContext* context);
  void drawRect(const pf::Rect& rect) override;

  // Button actions.
  void onButtonTouchDown(RichLabelButton& button);
  void onButtonTouchUpOutside(RichLabelButton& button);
  void onButtonPressed(RichLabelButton& button);

 private:
  struct LaidOutText;
  void initialize();
  // The styled text laid out at the size's width, in a frame of the size.
  const LaidOutText& laidOut(pf::Size size);
  // Drops the laid-out text: the next layout styles it again.
  void restyle() { laidOut_.reset(); }
  void takeParse(const RichLabelExtractedComponentPtr& parsed);
  void makeLinkButtons(const pf::TextFrame& frame, const std::vector<RichLabelComponentPtr>& links);
  std::shared_ptr<RichLabelButton> makeLinkButton(const RichLabelComponent& link, const pf::Rect& frame);

  RichLabelStyler::LinkSettings links_;
  RichLabelStyler::Base base_;
  bool highlighted_ = false;
  std::string text_;
  std::optional<std::string> plainText_;
  std::optional<std::string> highlightedText_;
  std::weak_ptr<RichLabelDelegate> delegate_;
  std::string paragraphReplacement_ = "\n";
  std::vector<RichLabelComponentPtr> textComponents_;
  std::vector<RichLabelComponentPtr> highlightedTextComponents_;
  pf::Size optimumSize_;
  pf::utf16::Range visibleRange_;
  std::shared_ptr<LaidOutText> laidOut_;
};
