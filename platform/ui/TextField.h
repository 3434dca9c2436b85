#pragma once
// A one-line editable text: tapped, it asks its delegate and becomes first responder, brings up the
// keyboard and takes typed text through the host; every change is offered to the delegate first
// (range in UTF-16 units), and a refused change leaves the text as it was. Return asks the delegate
// and sends editing-did-end-on-exit. Draws its border style, the text (dots when secure) or the
// placeholder, the caret while editing, a clear button by its mode, and its left and right views.
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Utf16.h"
#include "platform/graphics/Image.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/ui/Control.h"
#include "platform/ui/TextBuffer.h"

namespace pf {

class TextField;

class TextFieldDelegate {
 public:
  virtual ~TextFieldDelegate() = default;
  virtual bool textFieldShouldBeginEditing(TextField& field) {
    (void)field;
    return true;
  }
  virtual void textFieldDidBeginEditing(TextField& field) { (void)field; }
  virtual bool textFieldShouldEndEditing(TextField& field) {
    (void)field;
    return true;
  }
  virtual void textFieldDidEndEditing(TextField& field) { (void)field; }
  virtual bool shouldChangeCharactersInRange(TextField& field, utf16::Range range,
                                             const std::string& replacement) {
    (void)field;
    (void)range;
    (void)replacement;
    return true;
  }
  virtual bool textFieldShouldClear(TextField& field) {
    (void)field;
    return true;
  }
  virtual bool textFieldShouldReturn(TextField& field) {
    (void)field;
    return true;
  }
};

// The platform's keyboard kinds and return keys (4 is Next, 6 Search, 9 Done).
enum class KeyboardType {
  Default = 0,
  AsciiCapable = 1,
  NumbersAndPunctuation = 2,
  Url = 3,
  NumberPad = 4,
  PhonePad = 5,
  NamePhonePad = 6,
  EmailAddress = 7,
  DecimalPad = 8
};
enum class ReturnKeyType {
  Default = 0,
  Go = 1,
  Google = 2,
  Join = 3,
  Next = 4,
  Route = 5,
  Search = 6,
  Send = 7,
  Yahoo = 8,
  Done = 9,
  EmergencyCall = 10
};

class TextField : public Control, public TextInput {
  PF_OBJECT(TextField, Control)

  enum class BorderStyle { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };
  enum class ViewMode { Never = 0, WhileEditing = 1, UnlessEditing = 2, Always = 3 };
  static constexpr char kTextDidBeginEditingNotification[] = "UITextFieldTextDidBeginEditingNotification";
  static constexpr char kTextDidChangeNotification[] = "UITextFieldTextDidChangeNotification";
  static constexpr char kTextDidEndEditingNotification[] = "UITextFieldTextDidEndEditingNotification";

  TextField();
  explicit TextField(const Rect& frame);

  const std::string& text() const { return buffer_.text(); }
  // Set by code: no delegate question, no change events.
  void setText(std::optional<std::string> text);
  const std::optional<std::string>& placeholder() const { return placeholder_; }
  void setPlaceholder(std::optional<std::string> placeholder);
  const std::shared_ptr<const Font>& font() const { return font_; }
  void setFont(std::shared_ptr<const Font> font);
  const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& color);
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  BorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(BorderStyle style);
  const std::shared_ptr<const Image>& background() const { return background_; }
  void setBackground(std::shared_ptr<const Image> image);
  bool isSecureTextEntry() const { return secure_; }
  void setSecureTextEntry(bool secure);
  ViewMode clearButtonMode() const { return clearButtonMode_; }
  void setClearButtonMode(ViewMode mode);
  bool clearsOnBeginEditing() const { return clearsOnBeginEditing_; }
  void setClearsOnBeginEditing(bool clears) { clearsOnBeginEditing_ = clears; }
  const std::shared_ptr<View>& leftView() const { return leftView_; }
  void setLeftView(std::shared_ptr<View> view);
  ViewMode leftViewMode() const { return leftViewMode_; }
  void setLeftViewMode(ViewMode mode);
  const std::shared_ptr<View>& rightView() const { return rightView_; }
  void setRightView(std::shared_ptr<View> view);
  ViewMode rightViewMode() const { return rightViewMode_; }
  void setRightViewMode(ViewMode mode);
  KeyboardType keyboardType() const { return keyboardType_; }
  void setKeyboardType(KeyboardType type) { keyboardType_ = type; }
  ReturnKeyType returnKeyType() const { return returnKeyType_; }
  void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }
  const std::shared_ptr<View>& inputAccessoryView() const { return accessory_; }
  void setInputAccessoryView(std::shared_ptr<View> view) { accessory_ = std::move(view); }
  std::weak_ptr<TextFieldDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { delegate_ = std::move(delegate); }
  bool isEditing() const { return editing_; }
  utf16::Range selectedRange() const { return buffer_.selectedRange(); }
  void setSelectedRange(utf16::Range range);

  // Geometry, for subclasses to change.
  virtual Rect borderRectForBounds(const Rect& bounds) const;
  virtual Rect textRectForBounds(const Rect& bounds) const;
  virtual Rect placeholderRectForBounds(const Rect& bounds) const;
  virtual Rect editingRectForBounds(const Rect& bounds) const;
  virtual Rect clearButtonRectForBounds(const Rect& bounds) const;
  virtual Rect leftViewRectForBounds(const Rect& bounds) const;
  virtual Rect rightViewRectForBounds(const Rect& bounds) const;

  // Responder.
  bool canBecomeFirstResponder() const override;
  bool becomeFirstResponder() override;
  bool canResignFirstResponder() const override;
  bool resignFirstResponder() override;
  void touchesEnded(const TouchSet& touches, const Event* event) override;

  // TextInput.
  bool hasText() const override { return !buffer_.text().empty(); }
  void insertText(const std::string& text) override;
  void deleteBackward() override;

  void layoutSubviews() override;
  void drawRect(const Rect& rect) override;

 private:
  // Offers the change to the delegate; applies it and tells everyone when allowed.
  bool change(utf16::Range range, const std::string& replacement);
  void pressReturn();
  bool shows(ViewMode mode) const;
  bool showsClearButton() const;
  std::string displayedText() const;

  TextBuffer buffer_;
  std::optional<std::string> placeholder_;
  std::shared_ptr<const Font> font_;
  Color textColor_ = Color::black();
  std::shared_ptr<const Image> background_;
  std::shared_ptr<View> leftView_;
  std::shared_ptr<View> rightView_;
  std::shared_ptr<View> accessory_;
  std::weak_ptr<TextFieldDelegate> delegate_;
  TextAlignment alignment_ = TextAlignment::left;
  BorderStyle borderStyle_ = BorderStyle::None;
  ViewMode clearButtonMode_ = ViewMode::Never;
  ViewMode leftViewMode_ = ViewMode::Never;
  ViewMode rightViewMode_ = ViewMode::Never;
  KeyboardType keyboardType_ = KeyboardType::Default;
  ReturnKeyType returnKeyType_ = ReturnKeyType::Default;
  bool secure_ = false;
  bool clearsOnBeginEditing_ = false;
  bool editing_ = false;
  bool clearPressed_ = false;
};

}  // namespace pf
