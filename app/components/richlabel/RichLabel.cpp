#include "app/components/richlabel/RichLabel.h"

#include <cfloat>
#include <cmath>

#include "app/components/richlabel/RichLabelColor.h"
#include "app/components/richlabel/RichLabelMarkupParser.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"
#include "platform/text/Font.h"
#include "platform/text/Framesetter.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"

namespace {

std::string trimmedSpacesAndTabs(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool linkTouchesLine(std::size_t start, std::size_t end, pf::utf16::Range line) {
  return (start < line.location && end > line.location) ||
         (start >= line.location && end <= line.location + line.length);
}

}  // namespace

struct RichLabel::LaidOutText {
  std::shared_ptr<const pf::Framesetter> framesetter;
  std::vector<RichLabelComponentPtr> links;
  // The measurement at a width, with no height limit, and the last frame cut from it.
  double width = std::nan("");
  pf::Framesetter::Measurement measured;
  std::shared_ptr<pf::TextFrame> frame;
};

RichLabel::RichLabel() { initialize(); }

RichLabel::RichLabel(const pf::Rect& frame) : pf::View(frame) { initialize(); }

void RichLabel::initialize() {
  base_.font = pf::Font::systemFont(15);
  base_.textColor = pf::Color::black();
  setBackgroundColor(pf::Color::clear());
  setMultipleTouchEnabled(true);
}

void RichLabel::registerForInterfaceFiles() { pf::NibRegistry::define<RichLabel>(); }

RichLabelExtractedComponentPtr RichLabel::extractTextStyleFromText(std::string_view markup,
                                                                   std::string_view paragraphReplacement) {
  return RichLabelMarkupParser::extract(markup, paragraphReplacement);
}

RichLabelExtractedComponentPtr RichLabel::preExtractTextStyle(std::string_view markup) {
  return RichLabelMarkupParser::extract(markup, "\n");
}

void RichLabel::parse(std::string_view markup, const std::vector<std::string>& validTags) {
  auto stripped = RichLabelMarkupParser::strip(markup, validTags);
  textComponents_ = std::move(stripped.textComponents);
  plainText_ = std::move(stripped.plainText);
  restyle();
}

std::vector<std::string> RichLabel::components() const { return RichLabelMarkupParser::linkPieces(text_); }

std::array<double, 4> RichLabel::colorForHex(std::string_view hex) { return RichLabelColor::colorForHex(hex); }

pf::Color RichLabel::applyColorWithValue(std::string_view value) { return RichLabelColor::applyColorWithValue(value); }

std::shared_ptr<pf::Image> RichLabel::createImageWithColor(const pf::Color& color) {
  auto canvas = pf::ImageContext::create({1, 1});
  if (!canvas) return nullptr;
  canvas->context().setFillColor(color);
  canvas->context().fillRect({0, 0, 1, 1});
  return canvas->image();
}

void RichLabel::setText(std::string_view markup) {
  text_ = RichLabelMarkupParser::applyLineBreaks(markup);
  takeParse(RichLabelMarkupParser::extract(text_, paragraphReplacement_));
}

void RichLabel::setText(std::string_view markup, const RichLabelExtractedComponentPtr& parsed) {
  text_ = RichLabelMarkupParser::applyLineBreaks(markup);
  takeParse(parsed);
}

void RichLabel::takeParse(const RichLabelExtractedComponentPtr& parsed) {
  textComponents_ = parsed ? parsed->textComponents : std::vector<RichLabelComponentPtr>{};
  plainText_ = parsed ? std::optional<std::string>(parsed->plainText) : std::nullopt;
  restyle();
  setNeedsDisplay();
}

void RichLabel::setHighlightedText(std::string_view markup) {
  highlightedText_ = RichLabelMarkupParser::applyLineBreaks(markup);
  highlightedTextComponents_ = RichLabelMarkupParser::extract(*highlightedText_, paragraphReplacement_)->textComponents;
  restyle();
}

void RichLabel::setHighlightedText(std::string_view markup, const RichLabelExtractedComponentPtr& parsed) {
  highlightedText_ = RichLabelMarkupParser::applyLineBreaks(markup);
  highlightedTextComponents_ = parsed ? parsed->textComponents : std::vector<RichLabelComponentPtr>{};
  restyle();
}

void RichLabel::setHighlighted(bool highlighted) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  restyle();
  setNeedsDisplay();
}

void RichLabel::setTextAlignment(int alignment) {
  base_.textAlignment = alignment;
  restyle();
  setNeedsDisplay();
}

void RichLabel::setLineBreakMode(int mode) {
  base_.lineBreakMode = mode;
  restyle();
  setNeedsDisplay();
}

void RichLabel::setLineSpacing(float spacing) {
  base_.lineSpacing = spacing;
  restyle();
  setNeedsDisplay();
}

void RichLabel::setTextColor(const pf::Color& color) {
  base_.textColor = color;
  restyle();
}

void RichLabel::setFont(std::shared_ptr<const pf::Font> font) {
  if (!font) return;
  base_.font = std::move(font);
  restyle();
}

void RichLabel::setLinkAttributes(std::optional<RichLabelComponent::Attributes> attributes) {
  base_.linkAttributes = std::move(attributes);
  restyle();
}

void RichLabel::setSelectedLinkAttributes(std::optional<RichLabelComponent::Attributes> attributes) {
  base_.selectedLinkAttributes = std::move(attributes);
  restyle();
}

pf::Size RichLabel::optimumSize() {
  render(nullptr);
  return optimumSize_;
}

std::string RichLabel::visibleText() {
  render(nullptr);
  return plainText_ ? pf::utf16::substring(*plainText_, visibleRange_) : std::string();
}

int RichLabel::frameHeight(const pf::TextFrame& frame) {
  double height = 0;
  for (const auto& line : frame.lines()) {
    const auto bounds = line.typographicBounds();
    height += bounds.ascent + std::fabs(bounds.descent) + bounds.leading;
  }
  return static_cast<int>(std::ceil(height));
}

void RichLabel::drawRect(const pf::Rect& rect) {
  (void)rect;
  render(pf::CurrentContext::get());
}

void RichLabel::render(pf::GraphicsContext* context) {
  const bool nonePressed = base_.currentSelectedButtonComponentIndex == -1;
  if (nonePressed) {
    const auto previous = subviews();
    for (const auto& view : previous) view->removeFromSuperview();
  }
  if (!plainText_) return;
  const LaidOutText& text = laidOut(frame().size);
  optimumSize_ = text.measured.suggested.size;
  if (nonePressed) makeLinkButtons(*text.frame, text.links);
  visibleRange_ = text.frame->visibleStringRange();
  if (context) text.frame->drawTopDown(*context);
}

const RichLabel::LaidOutText& RichLabel::laidOut(pf::Size size) {
  if (!laidOut_) {
    pf::AttributedString styled(*plainText_);
    RichLabelStyler styler(base_, links_);
    laidOut_ = std::make_shared<LaidOutText>();
    laidOut_->links = styler.style(styled, highlighted_ ? highlightedTextComponents_ : textComponents_);
    laidOut_->framesetter = std::make_shared<const pf::Framesetter>(std::move(styled));
  }
  LaidOutText& text = *laidOut_;
  if (text.width != size.width) {
    text.measured = text.framesetter->measure({0, 0}, {size.width, FLT_MAX});
    text.width = size.width;
    text.frame.reset();
  }
  if (!text.frame || text.frame->rect().size != size) {
    text.frame = text.framesetter->createFrame({0, 0}, {0, 0, size.width, size.height}, *text.measured.frame);
  }
  return text;
}

void RichLabel::makeLinkButtons(const pf::TextFrame& frame, const std::vector<RichLabelComponentPtr>& links) {
  const auto& lines = frame.lines();
  const auto origins = frame.lineOrigins();
  const double height = frame.rect().size.height;
  const std::size_t textLength = plainText_ ? pf::utf16::length(*plainText_) : 0;
  for (const auto& link : links) {
    if (link->position == RichLabelComponent::kNotFound || link->position < 0 || link->length() <= 0) continue;
    const auto start = static_cast<std::size_t>(link->position);
    const std::size_t end = start + link->length();
    if (end > textLength) continue;
    double y = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const auto bounds = lines[i].typographicBounds();
      if (linkTouchesLine(start, end, lines[i].stringRange())) {
        const double x = lines[i].offsetForStringIndex(start) + origins[i].x;
        const double width = lines[i].offsetForStringIndex(end) - lines[i].offsetForStringIndex(start);
        auto button = makeLinkButton(*link, {x, y, width, bounds.ascent + bounds.descent + 5});
        addSubview(button);
        // Made while drawing, after the layout pass: placed now, or its title would not show.
        button->layoutIfNeeded();
      }
      y = (height - origins[i].y) + bounds.descent + base_.lineSpacing;
    }
  }
}

std::shared_ptr<RichLabelButton> RichLabel::makeLinkButton(const RichLabelComponent& link, const pf::Rect& frame) {
  auto button = std::make_shared<RichLabelButton>(frame);
  button->setBackgroundColor(pf::Color::clear());
  if (links_.linkBgNormal) {
    button->setBackgroundImage(createImageWithColor(applyColorWithValue(*links_.linkBgNormal)), pf::Control::kNormal);
  } else if (links_.linkBgHighlight) {
    button->setBackgroundImage(createImageWithColor(applyColorWithValue(*links_.linkBgHighlight)),
                               pf::Control::kHighlighted);
  }
  if (links_.titleColor) {
    const pf::Color titleColour = applyColorWithValue(*links_.titleColor);
    button->setTitleColor(titleColour, pf::Control::kNormal);
    button->setTitleColor(titleColour, pf::Control::kHighlighted);
    button->setTitle(trimmedSpacesAndTabs(link.text.value_or("")), pf::Control::kNormal);
  }
  if (links_.titleFont) {
    button->titleLabel()->setFont(pf::Font::systemFont(std::strtod(links_.titleFont->c_str(), nullptr)));
  }
  button->componentIndex = link.componentIndex;
  const auto href = link.attributes.find("href");
  button->linkConent = href == link.attributes.end() ? std::string() : href->second;
  if (href != link.attributes.end() && RichLabelButton::isValidUrl(href->second)) button->url = href->second;
  const std::weak_ptr<void> target = sharedAs<RichLabel>();
  auto on = [this](void (RichLabel::*handler)(RichLabelButton&)) {
    return [this, handler](pf::Control& sender, unsigned) {
      (this->*handler)(static_cast<RichLabelButton&>(sender));
    };
  };
  button->addTarget(target, "onButtonTouchDown:", on(&RichLabel::onButtonTouchDown), pf::Control::kTouchDown);
  button->addTarget(target, "onButtonTouchUpOutside:", on(&RichLabel::onButtonTouchUpOutside),
                    pf::Control::kTouchUpOutside | pf::Control::kTouchCancel);
  button->addTarget(target, "onButtonPressed:", on(&RichLabel::onButtonPressed), pf::Control::kTouchUpInside);
  return button;
}

void RichLabel::onButtonTouchDown(RichLabelButton& button) {
  base_.currentSelectedButtonComponentIndex = button.componentIndex;
  restyle();
  setNeedsDisplay();
}

void RichLabel::onButtonTouchUpOutside(RichLabelButton& button) {
  (void)button;
  base_.currentSelectedButtonComponentIndex = -1;
  restyle();
  setNeedsDisplay();
}

void RichLabel::onButtonPressed(RichLabelButton& button) {
  base_.currentSelectedButtonComponentIndex = -1;
  restyle();
  setNeedsDisplay();
  // The button may go with the next layout: keep what the delegate hears.
  const auto url = button.url;
  const auto content = button.linkConent;
  if (auto listener = delegate_.lock()) {
    listener->richLabelDidSelectLinkWithURL(*this, url);
    listener->richLabelDidSelectLinkWithContent(*this, content);
  }
}
