#include "platform/ui/TextView.h"

#include <cmath>

#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SystemStyle.h"
#include "platform/ui/Touch.h"

namespace pf {

TextView::TextView() : TextView(Rect()) {}

TextView::TextView(const Rect& frame) : ScrollView(frame), font_(Font::systemFont(12)) {
  setBackgroundColor(Color::white());
  // A tap starts editing at once; the status-bar tap stays with the screen's list.
  setDelaysContentTouches(false);
  setScrollsToTop(false);
  // The text is drawn in content coordinates, so a scroll draws it again.
  offsetObserver_ = observeContentOffset([this](ScrollView&, Point) { setNeedsDisplay(); });
  textChanged();
}

void TextView::setText(std::optional<std::string> text) {
  buffer_.setText(text.value_or(""));
  textChanged();
}

void TextView::setFont(std::shared_ptr<const Font> font) {
  font_ = font ? std::move(font) : Font::systemFont(12);
  textChanged();
}

void TextView::setTextColor(const Color& color) {
  textColor_ = color;
  setNeedsDisplay();
}

void TextView::setTextAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  setNeedsDisplay();
}

void TextView::setEditable(bool editable) {
  editable_ = editable;
  if (!editable) resignFirstResponder();
}

void TextView::setTextContainerInset(EdgeInsets insets) {
  insets_ = insets;
  textChanged();
}

void TextView::setSelectedRange(utf16::Range range) {
  buffer_.setSelectedRange(range);
  if (auto delegate = delegate_.lock()) delegate->textViewDidChangeSelection(*this);
}

void TextView::textChanged() {
  fittedWidth_ = bounds().size.width;
  setContentSize(textContentSize());
  setNeedsDisplay();
}

void TextView::layoutSubviews() {
  ScrollView::layoutSubviews();
  if (bounds().size.width != fittedWidth_) textChanged();
}

Size TextView::textContentSize() const {
  const double width = std::max(0.0, bounds().size.width - insets_.left - insets_.right);
  const Size text = StringDrawing::sizeOfText(buffer_.text().empty() ? " " : buffer_.text(), *font_,
                                              {width, 0}, LineBreakMode::wordWrap);
  return {bounds().size.width, text.height + insets_.top + insets_.bottom};
}

bool TextView::becomeFirstResponder() {
  if (isFirstResponder()) return true;
  if (!canBecomeFirstResponder()) return false;
  auto self = sharedAs<TextView>();
  if (auto delegate = delegate_.lock(); delegate && !delegate->textViewShouldBeginEditing(*this))
    return false;
  const bool fromTextInput = dynamic_cast<TextInput*>(Responder::firstResponder().get()) != nullptr;
  Keyboard& keyboard = Keyboard::shared();
  if (fromTextInput) keyboard.beginHandOver();
  const bool became = View::becomeFirstResponder();
  if (fromTextInput) keyboard.endHandOver();
  if (!became) return false;
  editing_ = true;
  keyboard.show(accessory_);
  if (auto delegate = delegate_.lock()) delegate->textViewDidBeginEditing(*this);
  NotificationCenter::defaultCenter().post(kTextDidBeginEditingNotification, self);
  setNeedsDisplay();
  return true;
}

bool TextView::canResignFirstResponder() const {
  const auto delegate = delegate_.lock();
  return !delegate || delegate->textViewShouldEndEditing(const_cast<TextView&>(*this));
}

bool TextView::resignFirstResponder() {
  if (!isFirstResponder()) return true;
  auto self = sharedAs<TextView>();
  if (!View::resignFirstResponder()) return false;
  editing_ = false;
  Keyboard::shared().hide();
  if (auto delegate = delegate_.lock()) delegate->textViewDidEndEditing(*this);
  NotificationCenter::defaultCenter().post(kTextDidEndEditingNotification, self);
  setNeedsDisplay();
  return true;
}

void TextView::touchesEnded(const TouchSet& touches, const Event* event) {
  (void)event;
  if (touches.empty() || !bounds().contains(touches.front()->locationInView(this))) return;
  becomeFirstResponder();
}

bool TextView::change(utf16::Range range, const std::string& replacement) {
  auto self = sharedAs<TextView>();
  const auto delegate = delegate_.lock();
  if (delegate && !delegate->shouldChangeTextInRange(*this, range, replacement)) return false;
  buffer_.replace(range, replacement);
  textChanged();
  if (delegate) delegate->textViewDidChange(*this);
  NotificationCenter::defaultCenter().post(kTextDidChangeNotification, self);
  return true;
}

void TextView::insertText(const std::string& text) {
  if (!editing_) return;
  change(buffer_.rangeForInsertion(), text);
}

void TextView::deleteBackward() {
  if (!editing_) return;
  const utf16::Range range = buffer_.rangeForDeletion();
  if (range.length == 0) return;
  change(range, "");
}

void TextView::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  // Content coordinates: the drawing context already follows the content offset.
  const Size content = contentSize();
  const Rect area = insets_.inset(Rect{{0, 0}, {bounds().size.width, std::max(bounds().size.height, content.height)}});
  if (hasText()) {
    StringDrawing::drawText(*context, buffer_.text(), area, *font_, textColor_, LineBreakMode::wordWrap,
                            alignment_);
  }
  if (editing_) {
    // The caret after the last line of text.
    const double lineHeight = std::ceil(font_->lineHeight());
    const Size all = StringDrawing::sizeOfText(buffer_.text() + "\u200b", *font_, {area.size.width, 0},
                                               LineBreakMode::wordWrap);
    const double top = area.origin.y + std::max(0.0, all.height - lineHeight);
    std::string lastLine = buffer_.text();
    if (const size_t cut = lastLine.rfind('\n'); cut != std::string::npos) lastLine.erase(0, cut + 1);
    const double x =
        std::min(area.maxX() - 2, area.origin.x + StringDrawing::sizeOfText(lastLine, *font_).width);
    context->setFillColor(SystemStyle::tint());
    context->fillRect({{std::floor(x), top + 1}, {2, lineHeight - 2}});
  }
}

}  // namespace pf
