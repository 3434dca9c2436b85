#pragma once
// Internal to platform/text: text laid out by Pango into lines, shared by a frame and its lines.

#include "platform/foundation/Utf16.h"
#include "platform/graphics/Rect.h"
#include "platform/text/AttributedString.h"
#include "platform/text/PangoSupport.h"

#include <memory>
#include <vector>

namespace pf {

// UTF-16 unit indexes and UTF-8 byte offsets of one text, both ways.
class TextIndex {
 public:
  explicit TextIndex(const std::string& text);
  std::size_t byteOf(std::size_t unit) const { return unitToByte_[std::min(unit, unitToByte_.size() - 1)]; }
  // The unit of the character holding the byte.
  std::size_t unitOf(std::size_t byte) const { return byteToUnit_[std::min(byte, byteToUnit_.size() - 1)]; }

 private:
  std::vector<std::uint32_t> unitToByte_;
  std::vector<std::uint32_t> byteToUnit_;
};

struct LaidOutParagraph {
  PangoLayout* layout = nullptr;  // owned
  std::size_t byteStart = 0;      // where the paragraph's text starts in the whole text
};

struct LaidOutLine {
  std::size_t paragraph = 0;
  PangoLayoutLine* line = nullptr;  // owned by the paragraph's layout
  utf16::Range range;               // includes the paragraph's line break on its last line
  double x = 0;                     // left edge, from the frame's left
  double baseline = 0;              // from the frame's top, downwards
  double ascent = 0;
  double descent = 0;
  double width = 0;
  double bottom = 0;       // from the frame's top, downwards
  double neededWidth = 0;  // the width a frame needs to lay the line out the same
};

struct TextLayoutData {
  enum class Truncation {
    // Each paragraph in a truncating mode is one line, shortened to the width (the layout service).
    perParagraph,
    // Paragraphs wrap; the last line that fits is shortened (string drawing in views).
    lastLine,
  };

  std::shared_ptr<const AttributedString> text;
  std::shared_ptr<const TextIndex> index;
  utf16::Range range;  // what was asked for, within the text
  Truncation truncation = Truncation::perParagraph;
  Rect rect;
  std::vector<LaidOutParagraph> paragraphs;
  std::vector<LaidOutLine> lines;
  utf16::Range visibleRange;
  double usedWidth = 0;
  double usedHeight = 0;
  bool hasStroke = false;
  // A laid-out paragraph was shortened to the width: only a frame of that very width lays it out the same.
  bool truncated = false;

  TextLayoutData() = default;
  TextLayoutData(const TextLayoutData&) = delete;
  TextLayoutData& operator=(const TextLayoutData&) = delete;
  ~TextLayoutData();

  // Lays out the range (length 0: to the end) in the rect's size; an infinite width never wraps and
  // an infinite height keeps every line.
  static std::shared_ptr<TextLayoutData> layOut(std::shared_ptr<const AttributedString> text,
                                                std::shared_ptr<const TextIndex> index, utf16::Range range,
                                                const Rect& rect, Truncation truncation);
  // The range a layout of the range covers: to the text's end for a length of 0, clipped to the text.
  static utf16::Range rangeWithin(utf16::Range range, std::size_t length);
  // The lines of a layout shortened per paragraph that a rect of its width and no more height holds, placed
  // in that rect: what laying the range out there gives (a paragraph's lines do not depend on the height),
  // without laying it out again. Null for any other rect or layout.
  static std::shared_ptr<TextLayoutData> cropped(const std::shared_ptr<const TextLayoutData>& whole,
                                                 const Rect& rect);

  // Draws every line into Cairo's current user space, y-down with the frame's top left at the rect's.
  void drawTopDown(cairo_t* cr) const;
  // The same in a y-up user space, as the platform's layout service draws.
  void drawBottomUp(cairo_t* cr) const;
  // A box around everything the lines draw, in the y-down or the y-up space; null without lines.
  Rect inkBounds(bool bottomUp) const;

 private:
  void finishLines();
  // Draws one line with its baseline's left end at Cairo's origin.
  void drawLine(cairo_t* cr, const LaidOutLine& line) const;
  void strokeRuns(cairo_t* cr, const LaidOutLine& line) const;
};

}  // namespace pf
