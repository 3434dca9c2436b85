#pragma once
// Lays out an attributed string: the size it needs under constraints, and frames of lines in a
// rectangle. A frame made with the suggested size shows everything the suggestion covered.
// Ranges with a length of 0 run to the end of the text.

#include "platform/text/AttributedString.h"
#include "platform/text/TextFrame.h"

#include <memory>

namespace pf {

class TextIndex;

class Framesetter {
 public:
  explicit Framesetter(AttributedString text);

  struct SuggestedSize {
    Size size;
    utf16::Range fitRange;
  };
  // Constraints may be infinite (or the largest float) for "no limit".
  SuggestedSize suggestFrameSize(utf16::Range range, Size constraints) const;
  std::shared_ptr<TextFrame> createFrame(utf16::Range range, const Rect& rect) const;

  const AttributedString& attributedString() const { return *text_; }

 private:
  std::shared_ptr<const AttributedString> text_;
  std::shared_ptr<const TextIndex> index_;
};

}  // namespace pf
