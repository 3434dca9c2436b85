#pragma once
// Editable (or read-only) text of several lines, wrapped at the width from the top left inside the
// text container insets. It scrolls: the content size follows the text at each change of the text,
// font, insets or width (code may set it larger afterwards), and subviews scroll with the text. Editing works as in a text field, with its own delegate questions; return
// inserts a line break (after the delegate agrees to it, which is where screens catch "\n" to
// send). Lengths and ranges count UTF-16 units. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Utf16.h"
#include "platform/graphics/EdgeInsets.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/ui/TextBuffer.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ScrollView.h"

namespace pf {

class TextView;

class TextViewDelegate {
 public:
  virtual ~TextViewDelegate() = default;
  virtual bool textViewShouldBeginEditing(TextView& view) {
    (void)view;
    return true;
  }
  virtual void textViewDidBeginEditing(TextView& view) { (void)view; }
  virtual bool textViewShouldEndEditing(TextView& view) {
    (void)view;
    return true;
  }
  virtual void textViewDidEndEditing(TextView& view) { (void)view; }
  virtual bool shouldChangeTextInRange(TextView& view, utf16::Range range, const std::string& replacement) {
    (void)view;
    (void)range;
    (void)replacement;
    return true;
  }
  virtual void textViewDidChange(TextView& view) { (void)view; }
  virtual void textViewDidChangeSelection(TextView& view) { (void)view; }
};

class TextView : public ScrollView, public TextInput {
  PF_OBJECT(TextView, ScrollView)

  static constexpr char kTextDidBeginEditingNotification[] = "UITextViewTextDidBeginEditingNotification";
  static constexpr char kTextDidChangeNotification[] = "UITextViewTextDidChangeNotification";
  static constexpr char kTextDidEndEditingNotification[] = "UITextViewTextDidEndEditingNotification";

  TextView();
  explicit TextView(const Rect& frame);

  const std::string& text() const { return buffer_.text(); }
  // Set by code: no delegate question, no change call.
  void setText(std::optional<std::string> text);
  const std::shared_ptr<const Font>& font() const { return font_; }
  void setFont(std::shared_ptr<const Font> font);
  const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& color);
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  bool isEditable() const { return editable_; }
  void setEditable(bool editable);
  EdgeInsets textContainerInset() const { return insets_; }
  void setTextContainerInset(EdgeInsets insets);
  KeyboardType keyboardType() const { return keyboardType_; }
  void setKeyboardType(KeyboardType type) { keyboardType_ = type; }
  ReturnKeyType returnKeyType() const { return returnKeyType_; }
  void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }
  const std::shared_ptr<View>& inputAccessoryView() const { return accessory_; }
  void setInputAccessoryView(std::shared_ptr<View> view) { accessory_ = std::move(view); }
  std::weak_ptr<TextViewDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<TextViewDelegate> delegate) { delegate_ = std::move(delegate); }
  bool isEditing() const { return editing_; }
  utf16::Range selectedRange() const { return buffer_.selectedRange(); }
  void setSelectedRange(utf16::Range range);
  // The size the whole text takes at the current width, insets included.
  Size textContentSize() const;

  bool canBecomeFirstResponder() const override { return editable_; }
  bool becomeFirstResponder() override;
  bool canResignFirstResponder() const override;
  bool resignFirstResponder() override;
  void touchesEnded(const TouchSet& touches, const Event* event) override;

  bool hasText() const override { return !buffer_.text().empty(); }
  void insertText(const std::string& text) override;
  void deleteBackward() override;

  void layoutSubviews() override;
  void drawRect(const Rect& rect) override;

 private:
  bool change(utf16::Range range, const std::string& replacement);
  // The content size becomes the text's; the text is drawn again.
  void textChanged();

  TextBuffer buffer_;
  std::shared_ptr<const Font> font_;
  Color textColor_ = Color::black();
  std::shared_ptr<View> accessory_;
  std::weak_ptr<TextViewDelegate> delegate_;
  EdgeInsets insets_{8, 4, 8, 4};
  TextAlignment alignment_ = TextAlignment::left;
  KeyboardType keyboardType_ = KeyboardType::Default;
  ReturnKeyType returnKeyType_ = ReturnKeyType::Default;
  bool editable_ = true;
  bool editing_ = false;
  double fittedWidth_ = -1;
  std::shared_ptr<void> offsetObserver_;
};

}  // namespace pf
