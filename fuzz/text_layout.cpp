// Text layout of any text: an attributed string made of the bytes, styled over ranges that may fall
// inside a character, laid out at a suggested size and in frames. Every range a run, a line or a hit
// test gives stays inside the text and never splits a surrogate pair, a frame of the suggested size
// shows all the suggestion covered, and frames cut from a measurement hold what new ones hold.
// Input: a width byte, a style byte, two range bytes, the text.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "platform/foundation/Utf16.h"
#include "platform/text/Framesetter.h"

namespace {

constexpr double kTextLayoutWidths[] = {0, 1, 13, 40, 120, 320, 1e9};

struct TextLayoutChecker {
  std::u16string units;

  [[noreturn]] void fail(const char* what, std::size_t a, std::size_t b) const {
    std::fprintf(stderr, "%s: %zu, %zu in a text of %zu units\n", what, a, b, units.size());
    std::abort();
  }

  bool splitsPair(std::size_t index) const {
    return index > 0 && index < units.size() && units[index - 1] >= 0xD800 && units[index - 1] <= 0xDBFF &&
           units[index] >= 0xDC00 && units[index] <= 0xDFFF;
  }

  void checkIndex(std::size_t index, const char* what) const {
    if (index > units.size() || splitsPair(index)) fail(what, index, 0);
  }

  void checkRange(pf::utf16::Range range, const char* what) const {
    if (range.location > units.size() || range.length > units.size() - range.location ||
        splitsPair(range.location) || splitsPair(range.location + range.length)) {
      fail(what, range.location, range.length);
    }
  }
};

pf::LineBreakMode textLayoutBreakMode(std::uint8_t style) { return static_cast<pf::LineBreakMode>(style % 6); }

pf::AttributedString textLayoutString(std::string_view text, std::uint8_t style, std::uint8_t from,
                                      std::uint8_t to) {
  static const auto plain = pf::Font::systemFont(15);
  static const auto bold = pf::Font::boldSystemFont(22);
  pf::AttributedString string(text);
  string.setFont({0, string.length()}, plain);
  pf::ParagraphStyle paragraph;
  paragraph.lineBreakMode = textLayoutBreakMode(style);
  paragraph.alignment = static_cast<pf::TextAlignment>((style / 6) % 5);
  if (style & 0x40) {
    paragraph.firstLineHeadIndent = 7;
    paragraph.headIndent = 3;
    paragraph.tailIndent = -5;
    paragraph.lineSpacing = 2;
  }
  string.setParagraphStyle({0, string.length()}, paragraph);
  // Edges picked anywhere, also inside an emoji, where styling must take the whole character.
  const std::size_t length = string.length();
  const std::size_t start = length == 0 ? 0 : from % (length + 1);
  const std::size_t end = length == 0 ? 0 : to % (length + 1);
  const pf::utf16::Range styled{std::min(start, end), std::max(start, end) - std::min(start, end)};
  string.setFont(styled, bold);
  if (style & 0x80) string.setKern(styled, 1.5);
  string.setLink(styled, "h");
  return string;
}

void checkRuns(const pf::AttributedString& string, const TextLayoutChecker& checker) {
  std::size_t at = 0;
  for (const auto& run : string.runs()) {
    checker.checkRange(run.range, "run");
    if (run.range.location != at) checker.fail("runs leave a gap", at, run.range.location);
    at += run.range.length;
  }
  if (at != checker.units.size()) checker.fail("runs stop short", at, checker.units.size());
}

void checkFrame(const pf::TextFrame& frame, const TextLayoutChecker& checker) {
  const pf::utf16::Range visible = frame.visibleStringRange();
  checker.checkRange(visible, "visible range");
  std::size_t previousEnd = 0;
  const auto origins = frame.lineOrigins();
  if (origins.size() != frame.lines().size()) checker.fail("origins and lines differ", origins.size(), 0);
  for (const auto& line : frame.lines()) {
    const pf::utf16::Range range = line.stringRange();
    checker.checkRange(range, "line");
    if (range.location < previousEnd) checker.fail("lines overlap", range.location, previousEnd);
    previousEnd = range.location + range.length;
    for (const auto& run : line.glyphRuns()) checker.checkRange(run.stringRange, "glyph run");
    const pf::TypographicBounds bounds = line.typographicBounds();
    for (const double x : {-1.0, 0.0, bounds.width / 3, bounds.width / 2, bounds.width + 1}) {
      checker.checkIndex(line.stringIndexForPosition({x, 0}), "index for position");
      if (auto index = line.characterIndexAt(x)) checker.checkIndex(*index, "character at x");
    }
    for (std::size_t index = range.location; index <= range.location + range.length; ++index) {
      if (!std::isfinite(line.offsetForStringIndex(index))) checker.fail("offset not finite", index, 0);
    }
  }
  const pf::Rect& rect = frame.rect();
  for (const double y : {1.0, rect.size.height / 2, rect.size.height - 1}) {
    if (auto index = frame.characterIndexAt({rect.size.width / 2, y})) checker.checkIndex(*index, "character at");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
  pf::AttributedString string = textLayoutString(text, data[1], data[2], data[3]);
  TextLayoutChecker checker{pf::utf16::encode(string.string())};
  if (checker.units.size() != string.length()) checker.fail("length differs", string.length(), 0);
  checkRuns(string, checker);

  const pf::Framesetter framesetter(std::move(string));
  const double width = kTextLayoutWidths[data[0] % std::size(kTextLayoutWidths)];
  const auto suggested =
      framesetter.suggestFrameSize({0, 0}, {width, std::numeric_limits<double>::max()});
  checker.checkRange(suggested.fitRange, "fit range");
  if (!(suggested.size.width >= 0 && suggested.size.height >= 0 && std::isfinite(suggested.size.width) &&
        std::isfinite(suggested.size.height))) {
    checker.fail("suggested size", 0, 0);
  }
  const auto fitting = framesetter.createFrame({0, 0}, {0, 0, suggested.size.width, suggested.size.height});
  checkFrame(*fitting, checker);
  const pf::utf16::Range shown = fitting->visibleStringRange();
  if (shown.location != suggested.fitRange.location || shown.length < suggested.fitRange.length) {
    checker.fail("a frame of the suggested size shows less", shown.length, suggested.fitRange.length);
  }
  // Frames cut from the measurement's frame hold what frames laid out anew hold.
  const auto measured = framesetter.measure({0, 0}, {width, std::numeric_limits<double>::max()});
  for (const double height : {0.0, suggested.size.height / 2, suggested.size.height}) {
    const pf::Rect rect(0, 0, measured.frame->rect().size.width, height);
    const auto cut = framesetter.createFrame({0, 0}, rect, *measured.frame);
    const auto fresh = framesetter.createFrame({0, 0}, rect);
    checkFrame(*cut, checker);
    if (cut->visibleStringRange() != fresh->visibleStringRange() ||
        cut->lines().size() != fresh->lines().size() || cut->lineOrigins() != fresh->lineOrigins()) {
      checker.fail("a cut frame differs", cut->lines().size(), fresh->lines().size());
    }
  }
  // A frame shorter than the text, starting inside it.
  const std::size_t from = checker.units.size() / 3;
  const auto part = framesetter.createFrame({from, 0}, {0, 0, width, 40});
  checkFrame(*part, checker);
  return 0;
}
