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

  // The suggestion with the frame laid out to make it (the constraints' width; no height limit where they
  // set none), for a caller that asks a size and then draws at that width.
  struct Measurement {
    SuggestedSize suggested;
    std::shared_ptr<TextFrame> frame;
  };
  Measurement measure(utf16::Range range, Size constraints) const;
  // A frame of the rect cut from an earlier frame of this text and range when the rect has the earlier
  // one's width and no more height (it holds the same lines), else laid out anew.
  std::shared_ptr<TextFrame> createFrame(utf16::Range range, const Rect& rect,
                                         const TextFrame& earlier) const;

  const AttributedString& attributedString() const { return *text_; }

 private:
  std::shared_ptr<const AttributedString> text_;
  std::shared_ptr<const TextIndex> index_;
};

}  // namespace pf
