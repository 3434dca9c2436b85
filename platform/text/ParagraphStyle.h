#pragma once
// How lines of a paragraph are broken, aligned and spaced; the numbers are the platform text-layout
// service's (which differ from the view layer's alignment numbers: there right is 2 and centre 1).

namespace pf {

enum class TextAlignment { left = 0, right = 1, center = 2, justified = 3, natural = 4 };

// Wrapping modes break lines at the width; the others keep each paragraph on one line, clipped or
// shortened with "…" at the head, tail or middle.
enum class LineBreakMode {
  wordWrap = 0,
  charWrap = 1,
  clip = 2,
  truncatingHead = 3,
  truncatingTail = 4,
  truncatingMiddle = 5,
};

struct ParagraphStyle {
  TextAlignment alignment = TextAlignment::natural;
  LineBreakMode lineBreakMode = LineBreakMode::wordWrap;
  // Points between the bottom of one line and the top of the next.
  double lineSpacing = 0;
  double firstLineHeadIndent = 0;
  double headIndent = 0;
  double tailIndent = 0;
  double paragraphSpacing = 0;
  double paragraphSpacingBefore = 0;
  bool operator==(const ParagraphStyle&) const = default;
};

}  // namespace pf
