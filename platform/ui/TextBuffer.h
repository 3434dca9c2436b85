#pragma once
// The text a field or view edits: UTF-8 with a selection counted in UTF-16 units, as the platform
// counts ranges. Ranges are clipped to the text and widened to whole characters, so no edit splits
// a surrogate pair (or a UTF-8 sequence).

#include <string>
#include <string_view>

#include "platform/foundation/Utf16.h"

namespace pf {

class TextBuffer {
 public:
  const std::string& text() const { return text_; }
  // Replaces everything; the caret goes to the end.
  void setText(std::string text);
  size_t length() const { return utf16::length(text_); }
  utf16::Range selectedRange() const { return selection_; }
  void setSelectedRange(utf16::Range range);

  // The range whole characters cover around the given one, within the text.
  utf16::Range wholeCharacters(utf16::Range range) const;
  // The range a typed text replaces (the selection), and a backspace removes (the selection, or the
  // character before the caret; empty at the start).
  utf16::Range rangeForInsertion() const { return selection_; }
  utf16::Range rangeForDeletion() const;
  // Replaces the range (widened to whole characters); the caret goes after the new text.
  void replace(utf16::Range range, std::string_view replacement);

 private:
  std::string text_;
  utf16::Range selection_;
};

}  // namespace pf
