#include "platform/ui/TextField.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SystemStyle.h"
#include "platform/ui/Touch.h"

namespace pf {

namespace {

constexpr double kInset = 7;
constexpr double kClearSide = 19;

}  // namespace

TextField::TextField() : TextField(Rect()) {}

TextField::TextField(const Rect& frame) : Control(frame), font_(Font::systemFont(17)) {
  setOpaque(false);
  setContentVerticalAlignment(ContentVerticalAlignment::Center);
}

void TextField::setText(std::optional<std::string> text) {
  buffer_.setText(text.value_or(""));
  setNeedsDisplay();
}

void TextField::setPlaceholder(std::optional<std::string> placeholder) {
  placeholder_ = std::move(placeholder);
  setNeedsDisplay();
}

void TextField::setFont(std::shared_ptr<const Font> font) {
  font_ = font ? std::move(font) : Font::systemFont(17);
  setNeedsDisplay();
}

void TextField::setTextColor(const Color& color) {
  textColor_ = color;
  setNeedsDisplay();
}

void TextField::setTextAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  setNeedsDisplay();
}

void TextField::setBorderStyle(BorderStyle style) {
  borderStyle_ = style;
  setNeedsDisplay();
}

void TextField::setBackground(std::shared_ptr<const Image> image) {
  background_ = std::move(image);
  setNeedsDisplay();
}

void TextField::setSecureTextEntry(bool secure) {
  secure_ = secure;
  setNeedsDisplay();
}

void TextField::setClearButtonMode(ViewMode mode) {
  clearButtonMode_ = mode;
  setNeedsDisplay();
  setNeedsLayout();
}

void TextField::setLeftView(std::shared_ptr<View> view) {
  if (leftView_) leftView_->removeFromSuperview();
  leftView_ = std::move(view);
  setNeedsLayout();
}

void TextField::setLeftViewMode(ViewMode mode) {
  leftViewMode_ = mode;
  setNeedsLayout();
}

void TextField::setRightView(std::shared_ptr<View> view) {
  if (rightView_) rightView_->removeFromSuperview();
  rightView_ = std::move(view);
  setNeedsLayout();
}

void TextField::setRightViewMode(ViewMode mode) {
  rightViewMode_ = mode;
  setNeedsLayout();
}

void TextField::setSelectedRange(utf16::Range range) {
  buffer_.setSelectedRange(range);
  setNeedsDisplay();
}

bool TextField::shows(ViewMode mode) const {
  switch (mode) {
    case ViewMode::Never:
      return false;
    case ViewMode::WhileEditing:
      return editing_;
    case ViewMode::UnlessEditing:
      return !editing_;
    case ViewMode::Always:
      return true;
  }
  return false;
}

bool TextField::showsClearButton() const {
  return hasText() && shows(clearButtonMode_);
}

Rect TextField::borderRectForBounds(const Rect& bounds) const {
  return bounds;
}

Rect TextField::leftViewRectForBounds(const Rect& bounds) const {
  if (!leftView_) return {};
  const Size size = leftView_->frame().size;
  return {{bounds.origin.x, bounds.origin.y + std::floor((bounds.size.height - size.height) / 2)}, size};
}

Rect TextField::rightViewRectForBounds(const Rect& bounds) const {
  if (!rightView_) return {};
  const Size size = rightView_->frame().size;
  return {{bounds.maxX() - size.width, bounds.origin.y + std::floor((bounds.size.height - size.height) / 2)},
          size};
}

Rect TextField::clearButtonRectForBounds(const Rect& bounds) const {
  double right = bounds.maxX() - kInset / 2;
  if (rightView_ && shows(rightViewMode_)) right -= rightView_->frame().size.width;
  return {{right - kClearSide, bounds.midY() - kClearSide / 2}, {kClearSide, kClearSide}};
}

Rect TextField::textRectForBounds(const Rect& bounds) const {
  const double inset = borderStyle_ == BorderStyle::None ? 0 : kInset;
  double left = bounds.origin.x + inset;
  double right = bounds.maxX() - inset;
  if (leftView_ && shows(leftViewMode_)) left = std::max(left, leftViewRectForBounds(bounds).maxX());
  if (rightView_ && shows(rightViewMode_)) right = std::min(right, rightViewRectForBounds(bounds).origin.x);
  if (showsClearButton()) right = std::min(right, clearButtonRectForBounds(bounds).origin.x - 2);
  return {{left, bounds.origin.y}, {std::max(0.0, right - left), bounds.size.height}};
}

Rect TextField::placeholderRectForBounds(const Rect& bounds) const {
  return textRectForBounds(bounds);
}

Rect TextField::editingRectForBounds(const Rect& bounds) const {
  return textRectForBounds(bounds);
}

bool TextField::canBecomeFirstResponder() const {
  return isEnabled();
}

bool TextField::becomeFirstResponder() {
  if (isFirstResponder()) return true;
  if (!canBecomeFirstResponder()) return false;
  auto self = sharedAs<TextField>();
  if (auto delegate = delegate_.lock(); delegate && !delegate->textFieldShouldBeginEditing(*this))
    return false;
  const bool fromTextInput = dynamic_cast<TextInput*>(Responder::firstResponder().get()) != nullptr;
  Keyboard& keyboard = Keyboard::shared();
  if (fromTextInput) keyboard.beginHandOver();
  const bool became = Control::becomeFirstResponder();
  if (fromTextInput) keyboard.endHandOver();
  if (!became) return false;
  editing_ = true;
  if (clearsOnBeginEditing_) buffer_.setText("");
  keyboard.show(accessory_);
  if (auto delegate = delegate_.lock()) delegate->textFieldDidBeginEditing(*this);
  sendActionsForControlEvents(kEditingDidBegin);
  NotificationCenter::defaultCenter().post(kTextDidBeginEditingNotification, self);
  setNeedsLayout();
  setNeedsDisplay();
  return true;
}

bool TextField::canResignFirstResponder() const {
  const auto delegate = delegate_.lock();
  return !delegate || delegate->textFieldShouldEndEditing(const_cast<TextField&>(*this));
}

bool TextField::resignFirstResponder() {
  if (!isFirstResponder()) return true;
  auto self = sharedAs<TextField>();
  if (!Control::resignFirstResponder()) return false;
  editing_ = false;
  Keyboard::shared().hide();
  if (auto delegate = delegate_.lock()) delegate->textFieldDidEndEditing(*this);
  sendActionsForControlEvents(kEditingDidEnd);
  NotificationCenter::defaultCenter().post(kTextDidEndEditingNotification, self);
  setNeedsLayout();
  setNeedsDisplay();
  return true;
}

void TextField::touchesEnded(const TouchSet& touches, const Event* event) {
  const bool inside = !touches.empty() && bounds().contains(touches.front()->locationInView(this));
  Control::touchesEnded(touches, event);
  if (!inside || !isEnabled()) return;
  const Point point = touches.front()->locationInView(this);
  if (showsClearButton() && clearButtonRectForBounds(bounds()).insetBy(-6, -6).contains(point)) {
    auto delegate = delegate_.lock();
    if (!delegate || delegate->textFieldShouldClear(*this)) {
      buffer_.setText("");
      sendActionsForControlEvents(kEditingChanged);
      NotificationCenter::defaultCenter().post(kTextDidChangeNotification, sharedAs<TextField>());
      setNeedsDisplay();
      setNeedsLayout();
    }
    return;
  }
  becomeFirstResponder();
}

bool TextField::change(utf16::Range range, const std::string& replacement) {
  auto self = sharedAs<TextField>();
  if (auto delegate = delegate_.lock();
      delegate && !delegate->shouldChangeCharactersInRange(*this, range, replacement)) {
    return false;
  }
  buffer_.replace(range, replacement);
  sendActionsForControlEvents(kEditingChanged);
  NotificationCenter::defaultCenter().post(kTextDidChangeNotification, self);
  setNeedsDisplay();
  setNeedsLayout();
  return true;
}

void TextField::insertText(const std::string& text) {
  if (!editing_) return;
  if (text == "\n") {
    pressReturn();
    return;
  }
  // One line: line breaks typed or pasted become spaces.
  std::string line = text;
  std::replace(line.begin(), line.end(), '\n', ' ');
  change(buffer_.rangeForInsertion(), line);
}

void TextField::deleteBackward() {
  if (!editing_) return;
  const utf16::Range range = buffer_.rangeForDeletion();
  if (range.length == 0) return;
  change(range, "");
}

void TextField::pressReturn() {
  auto self = sharedAs<TextField>();
  if (auto delegate = delegate_.lock(); delegate && !delegate->textFieldShouldReturn(*this)) return;
  // A field with an end-on-exit action gives up the keyboard, as the platform's does.
  const bool exits = allControlEvents() & kEditingDidEndOnExit;
  sendActionsForControlEvents(kEditingDidEndOnExit);
  if (exits) resignFirstResponder();
}

std::string TextField::displayedText() const {
  if (!secure_) return buffer_.text();
  std::string dots;
  const size_t count = buffer_.text().empty() ? 0 : utf16::length(buffer_.text());
  for (size_t i = 0; i < count; ++i) dots += "•";
  return dots;
}

void TextField::layoutSubviews() {
  const Rect area = bounds();
  auto place = [this](const std::shared_ptr<View>& view, bool visible, const Rect& frame) {
    if (!view) return;
    if (visible) {
      if (view->superview().get() != this) addSubview(view);
      view->setFrame(frame);
    } else if (view->superview().get() == this) {
      view->removeFromSuperview();
    }
  };
  place(leftView_, shows(leftViewMode_), leftViewRectForBounds(area));
  place(rightView_, shows(rightViewMode_), rightViewRectForBounds(area));
}

void TextField::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect area = borderRectForBounds(bounds());
  if (background_) {
    background_->draw(*context, area);
  } else {
    switch (borderStyle_) {
      case BorderStyle::None:
        break;
      case BorderStyle::Line:
        context->setStrokeColor(Color::black());
        context->setLineWidth(1);
        context->strokeRect(area.insetBy(0.5, 0.5));
        break;
      case BorderStyle::Bezel:
        context->setFillColor(Color::white());
        context->fillRect(area);
        context->setStrokeColor(Color::gray());
        context->setLineWidth(1);
        context->strokeRect(area.insetBy(0.5, 0.5));
        break;
      case BorderStyle::RoundedRect: {
        const Path outline = Path::withRoundedRect(area.insetBy(0.5, 0.5), 5);
        context->setFillColor(Color::white());
        context->fillPath(outline);
        context->setStrokeColor(SystemStyle::separator());
        context->setLineWidth(1);
        context->strokePath(outline);
        break;
      }
    }
  }
  const Rect textArea = editing_ ? editingRectForBounds(bounds()) : textRectForBounds(bounds());
  const bool showingPlaceholder = !hasText() && placeholder_;
  const std::string shown = showingPlaceholder ? *placeholder_ : displayedText();
  const double lineHeight = std::ceil(font_->lineHeight());
  const Rect line{{textArea.origin.x, textArea.midY() - lineHeight / 2}, {textArea.size.width, lineHeight}};
  Color color = showingPlaceholder ? Color::fromWhite(0.7) : textColor_;
  if (!isEnabled()) color = color.withAlpha(color.alpha() * 0.5);
  const std::string fitted = editing_ ? shown : StringDrawing::truncatedText(shown, *font_, line.size.width);
  context->saveGState();
  context->clip(textArea);
  // While editing, the end of a long text stays in sight, right of the caret.
  double shift = 0;
  const double width = hasText() ? StringDrawing::sizeOfText(displayedText(), *font_).width : 0;
  if (editing_ && width > line.size.width - 2) shift = width - line.size.width + 2;
  if (!shown.empty()) {
    StringDrawing::drawText(*context, fitted, line.offsetBy(-shift, 0).insetBy(0, 0), *font_, color,
                            LineBreakMode::clip, shift > 0 ? TextAlignment::left : alignment_);
  }
  if (editing_) {
    double caretX = line.origin.x + width - shift;
    if (alignment_ == TextAlignment::center && shift == 0) caretX = line.midX() + width / 2;
    if (alignment_ == TextAlignment::right && shift == 0) caretX = line.maxX() - 1;
    context->setFillColor(SystemStyle::tint());
    context->fillRect({{std::floor(caretX), line.origin.y + 1}, {2, lineHeight - 2}});
  }
  context->restoreGState();
  if (showsClearButton()) {
    const Rect clear = clearButtonRectForBounds(bounds());
    context->setFillColor(Color::fromWhite(0.7));
    context->fillEllipse(clear);
    context->setStrokeColor(Color::white());
    context->setLineWidth(1.5);
    Path cross;
    const Rect x = clear.insetBy(6, 6);
    cross.moveTo(x.origin);
    cross.lineTo({x.maxX(), x.maxY()});
    cross.moveTo({x.maxX(), x.origin.y});
    cross.lineTo({x.origin.x, x.maxY()});
    context->strokePath(cross);
  }
}

}  // namespace pf
