#include "platform/text/Framesetter.h"

#include "platform/graphics/ImageContext.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>

namespace pf {
namespace {

constexpr char kFrameEmoji[] = "\xF0\x9F\x98\x80";
const char kMixed[] =
    "学习进度会按课程标准记录，并与服务器同步。Progress is recorded by each course standard's rules and "
    "synchronised with the server.";

AttributedString styled(const std::string& text, double size = 15, ParagraphStyle style = {}) {
  TextAttributes attributes;
  attributes.font = Font::systemFont(size);
  attributes.paragraphStyle = style;
  return AttributedString(text, attributes);
}

void expectLinesCover(const TextFrame& frame, utf16::Range whole) {
  std::size_t next = whole.location;
  for (const TextLine& line : frame.lines()) {
    EXPECT_EQ(line.stringRange().location, next);
    EXPECT_GT(line.stringRange().length, 0u);
    next += line.stringRange().length;
  }
  EXPECT_EQ(next, whole.location + whole.length);
}

struct WrapCase {
  const char* text;
  double width;
};

class WrapTest : public testing::TestWithParam<WrapCase> {};

TEST_P(WrapTest, LinesNeverExceedTheWidthAndCoverTheText) {
  const WrapCase& c = GetParam();
  const Framesetter framesetter(styled(c.text));
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, c.width, 1e6));
  ASSERT_FALSE(frame->lines().empty());
  for (const TextLine& line : frame->lines()) EXPECT_LE(line.typographicBounds().width, c.width + 1e-6);
  EXPECT_EQ(frame->visibleStringRange(), (utf16::Range{0, framesetter.attributedString().length()}));
  expectLinesCover(*frame, frame->visibleStringRange());
}

INSTANTIATE_TEST_SUITE_P(Texts, WrapTest,
                         testing::Values(WrapCase{kMixed, 60}, WrapCase{kMixed, 137.5}, WrapCase{kMixed, 300},
                                         WrapCase{"一二三四五六七八九十一二三四五六七八九十", 50},
                                         WrapCase{"Supercalifragilisticexpialidocious", 40},
                                         WrapCase{"a 😀 b 😀 c 😀 d 😀 e 😀 f 😀", 30}));

TEST(FramesetterTest, ChineseBreaksBetweenCharacters) {
  // Ten characters of 15 points in 80 points: five to a line, no spaces needed.
  const Framesetter framesetter(styled("一二三四五六七八九十"));
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, 80, 1000));
  ASSERT_EQ(frame->lines().size(), 2u);
  EXPECT_EQ(frame->lines()[0].stringRange(), (utf16::Range{0, 5}));
  EXPECT_EQ(frame->lines()[1].stringRange(), (utf16::Range{5, 5}));
}

TEST(FramesetterTest, SuggestedSizeHoldsEverythingWhenUsedAsTheFrame) {
  const Framesetter framesetter(styled(kMixed, 15, {.lineSpacing = 3}));
  for (double width : {200.0, 288.0, 613.0}) {
    const auto suggested = framesetter.suggestFrameSize({0, 0}, {width, 3.4e38});
    EXPECT_LE(suggested.size.width, width);
    EXPECT_EQ(suggested.fitRange, (utf16::Range{0, framesetter.attributedString().length()}));
    const auto frame = framesetter.createFrame({0, 0}, Rect({0, 0}, suggested.size));
    EXPECT_EQ(frame->visibleStringRange(), suggested.fitRange) << "width " << width;
    const auto wide = framesetter.createFrame({0, 0}, Rect(0, 0, width, 1e6));
    EXPECT_EQ(frame->lines().size(), wide->lines().size()) << "width " << width;
  }
  const auto twoLines = framesetter.suggestFrameSize({0, 0}, {613, 1e6});
  EXPECT_EQ(framesetter.createFrame({0, 0}, Rect({0, 0}, twoLines.size))->lines().size(), 2u);
}

// Indents and letter spacing take room too: a frame of the suggested size shows all the suggestion covered.
TEST(FramesetterTest, SuggestedSizeCountsIndentsAndKern) {
  const struct {
    const char* what;
    ParagraphStyle style;
    double kern;
  } cases[] = {
      {"kern", {}, 1},
      {"wide kern", {}, 4},
      {"head and tail indents", {.firstLineHeadIndent = 12, .headIndent = 12, .tailIndent = 9}, 0},
      {"first line indent", {.firstLineHeadIndent = 20}, 0},
      {"indents and kern", {.firstLineHeadIndent = 6, .headIndent = 6, .tailIndent = 6}, 2},
  };
  for (const auto& c : cases) {
    for (const char* text : {"Hello world", "学习：沟通 skills 一二三"}) {
      SCOPED_TRACE(std::string(c.what) + ": " + text);
      AttributedString string = styled(text, 15, c.style);
      if (c.kern != 0) string.setKern({0, string.length()}, c.kern);
      const Framesetter framesetter(string);
      const auto suggested = framesetter.suggestFrameSize({0, 0}, {3.4e38, 3.4e38});
      EXPECT_EQ(suggested.fitRange, (utf16::Range{0, string.length()}));
      const auto frame = framesetter.createFrame({0, 0}, Rect({0, 0}, suggested.size));
      EXPECT_EQ(frame->visibleStringRange(), suggested.fitRange);
      EXPECT_EQ(frame->lines().size(), 1u);
    }
  }
}

TEST(FramesetterTest, ShortFramesShowWhatFits) {
  const Framesetter framesetter(styled(kMixed));
  const auto all = framesetter.createFrame({0, 0}, Rect(0, 0, 100, 1e6));
  ASSERT_GT(all->lines().size(), 3u);
  const auto origins = all->lineOrigins();
  const TypographicBounds second = all->lines()[1].typographicBounds();
  // A frame exactly as tall as two lines shows two.
  const double twoLines = 1e6 - origins[1].y + second.descent;
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, 100, twoLines));
  ASSERT_EQ(frame->lines().size(), 2u);
  const auto range = frame->visibleStringRange();
  EXPECT_EQ(range.location, 0u);
  EXPECT_EQ(range.length, all->lines()[0].stringRange().length + all->lines()[1].stringRange().length);
  EXPECT_TRUE(framesetter.createFrame({0, 0}, Rect(0, 0, 100, 3))->lines().empty());
  // A suggestion under a height limit says how much fits.
  EXPECT_EQ(framesetter.suggestFrameSize({0, 0}, {100, twoLines}).fitRange, range);
}

// A label measures its text and then draws it at the same width: the frame it draws is cut from the
// measurement's. Faults caught: a cut frame keeping a line the rect cannot hold, placing lines off where a
// new layout puts them, reusing a layout made for another width or range, or drawing from layouts freed
// with the measurement.
TEST(FramesetterTest, FramesCutFromAMeasurementMatchFramesLaidOutAnew) {
  AttributedString string =
      styled(std::string(kMixed) + "\n\n" + kMixed, 15, {.alignment = TextAlignment::center});
  string.setParagraphStyle({0, 20}, {.lineSpacing = 3, .paragraphSpacing = 5});
  const Framesetter framesetter(string);
  auto measured = framesetter.measure({0, 0}, {150, 3.4e38});
  const Size size = measured.suggested.size;
  ASSERT_GT(measured.frame->lines().size(), 6u);
  const double oneLine = measured.frame->lines()[0].typographicBounds().ascent +
                         measured.frame->lines()[0].typographicBounds().descent;
  const struct {
    utf16::Range range;
    Rect rect;
  } cases[] = {
      {{0, 0}, {0, 0, 150, size.height}}, {{0, 0}, {5, 7, 150, size.height + 40}}, {{0, 0}, {0, 0, 150, 0}},
      {{0, 0}, {0, 0, 150, oneLine}},     {{0, 0}, {0, 0, 150, size.height / 2}},  {{0, 0}, {0, 0, 150, 1e6}},
      {{0, 0}, {0, 0, 120, size.height}}, {{10, 30}, {0, 0, 150, size.height}},
  };
  std::vector<std::shared_ptr<TextFrame>> cut;
  for (const auto& c : cases) cut.push_back(framesetter.createFrame(c.range, c.rect, *measured.frame));
  measured.frame.reset();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    const auto fresh = framesetter.createFrame(cases[i].range, cases[i].rect);
    EXPECT_EQ(cut[i]->rect(), fresh->rect());
    EXPECT_EQ(cut[i]->visibleStringRange(), fresh->visibleStringRange());
    ASSERT_EQ(cut[i]->lines().size(), fresh->lines().size());
    for (std::size_t line = 0; line < fresh->lines().size(); ++line) {
      EXPECT_EQ(cut[i]->lines()[line].stringRange(), fresh->lines()[line].stringRange());
      EXPECT_EQ(cut[i]->lineOrigins()[line], fresh->lineOrigins()[line]);
    }
  }
  auto canvas = ImageContext::create({160, 400});
  cut[0]->drawTopDown(canvas->context());
  const auto bitmap = canvas->image()->bitmap();
  int ink = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 160; ++x) ink += bitmap->pixel(x, y).alpha > 128;
  EXPECT_GT(ink, 500);
}

TEST(FramesetterTest, LineOriginsFollowThePlatformsYUpFrame) {
  const Framesetter framesetter(styled("第一行\n第二行", 20, {.lineSpacing = 4}));
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, 200, 100));
  ASSERT_EQ(frame->lines().size(), 2u);
  const auto origins = frame->lineOrigins();
  const TypographicBounds first = frame->lines()[0].typographicBounds();
  const TypographicBounds second = frame->lines()[1].typographicBounds();
  EXPECT_NEAR(origins[0].y, 100 - first.ascent, 0.01);
  EXPECT_NEAR(origins[0].y - origins[1].y, first.descent + 4 + second.ascent, 0.01);
  // The break belongs to the line it ends.
  EXPECT_EQ(frame->lines()[0].stringRange(), (utf16::Range{0, 4}));
  EXPECT_EQ(frame->lines()[1].stringRange(), (utf16::Range{4, 3}));
}

TEST(FramesetterTest, ParagraphsKeepTheirOwnAlignment) {
  AttributedString text = styled("left\ncentre");
  text.setParagraphStyle({5, 6}, {.alignment = TextAlignment::center});
  const auto frame = Framesetter(text).createFrame({0, 0}, Rect(0, 0, 200, 100));
  ASSERT_EQ(frame->lines().size(), 2u);
  const auto origins = frame->lineOrigins();
  EXPECT_NEAR(origins[0].x, 0, 1e-9);
  const double width = frame->lines()[1].typographicBounds().width;
  EXPECT_NEAR(origins[1].x, (200 - width) / 2, 0.5);
  // Offsets count from the line's origin whatever the alignment.
  EXPECT_NEAR(frame->lines()[1].offsetForStringIndex(5), 0, 1e-9);
  EXPECT_NEAR(frame->lines()[1].offsetForStringIndex(11), width, 1e-6);
}

TEST(FramesetterTest, OffsetsAndIndexesCountUtf16AcrossAnEmoji) {
  // Units: a=0, emoji=1..2, b=3, 中=4.
  const Framesetter framesetter(styled(std::string("a") + kFrameEmoji + "b中"));
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, 500, 100));
  ASSERT_EQ(frame->lines().size(), 1u);
  const TextLine& line = frame->lines()[0];
  EXPECT_EQ(line.stringRange(), (utf16::Range{0, 5}));
  const double a = line.offsetForStringIndex(1), emoji = line.offsetForStringIndex(3),
               b = line.offsetForStringIndex(4);
  EXPECT_EQ(line.offsetForStringIndex(0), 0);
  EXPECT_GT(a, 0);
  EXPECT_GT(emoji, a + 5);
  EXPECT_GT(b, emoji);
  EXPECT_NEAR(line.offsetForStringIndex(5) - b, 15, 1.5);
  EXPECT_EQ(line.offsetForStringIndex(99), line.typographicBounds().width);
  // Caret positions: before or after the emoji, never between its two units.
  EXPECT_EQ(line.stringIndexForPosition({a + (emoji - a) * 0.3, 0}), 1u);
  EXPECT_EQ(line.stringIndexForPosition({a + (emoji - a) * 0.7, 0}), 3u);
  EXPECT_EQ(line.stringIndexForPosition({-5, 0}), 0u);
  EXPECT_EQ(line.stringIndexForPosition({1000, 0}), 5u);
  // The character under a point.
  const double middle = frame->lines()[0].typographicBounds().ascent;
  EXPECT_EQ(frame->characterIndexAt({(a + emoji) / 2, middle}), 1u);
  EXPECT_EQ(frame->characterIndexAt({(emoji + b) / 2, middle}), 3u);
  EXPECT_EQ(frame->characterIndexAt({b + 7, middle}), 4u);
  EXPECT_FALSE(frame->characterIndexAt({b + 40, middle}));
  EXPECT_FALSE(frame->characterIndexAt({2, 90}));
}

// Fault caught: a position far past a line (a justified line in a very wide frame is that wide) overflowed
// the layout engine's integer units.
TEST(FramesetterTest, PositionsFarPastALineGiveItsEnd) {
  const Framesetter framesetter(
      styled("Read on, one line and\nnext", 15, {.alignment = TextAlignment::justified}));
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, 1e9, 100));
  ASSERT_EQ(frame->lines().size(), 2u);
  const TextLine& line = frame->lines()[0];
  for (const double x : {line.typographicBounds().width + 1, 1e7, 1e12}) {
    EXPECT_EQ(line.stringIndexForPosition({x, 0}), 21u) << x;
    EXPECT_FALSE(line.characterIndexAt(x)) << x;
  }
}

TEST(FramesetterTest, RunsCarryTheirAttributesAndRanges) {
  AttributedString text = styled(std::string("ab") + kFrameEmoji + "中文cd");
  text.setLink({2, 3}, "bob");
  text.setForegroundColor({2, 3}, Color::red());
  const auto frame = Framesetter(text).createFrame({0, 0}, Rect(0, 0, 500, 100));
  ASSERT_EQ(frame->lines().size(), 1u);
  const auto runs = frame->lines()[0].glyphRuns();
  std::size_t covered = 0;
  bool sawLink = false;
  double x = 0;
  for (const TextRun& run : runs) {
    EXPECT_EQ(run.stringRange.location, covered);
    covered += run.stringRange.length;
    EXPECT_NEAR(run.x, x, 1e-9);
    x += run.width;
    const bool inLink = run.stringRange.location >= 2 && run.stringRange.location < 5;
    EXPECT_EQ(run.attributes.link.has_value(), inLink);
    if (inLink) {
      sawLink = true;
      EXPECT_LE(run.stringRange.location + run.stringRange.length, 5u);
    }
  }
  EXPECT_EQ(covered, 8u);
  EXPECT_TRUE(sawLink);
}

TEST(FramesetterTest, TruncatingModesKeepAParagraphOnOneLine) {
  const Framesetter framesetter(styled(kMixed, 15, {.lineBreakMode = LineBreakMode::truncatingTail}));
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, 150, 500));
  ASSERT_EQ(frame->lines().size(), 1u);
  EXPECT_LE(frame->lines()[0].typographicBounds().width, 150 + 1e-6);
}

// Draws a frame the size it suggested into a larger canvas and checks that ink stays inside.
TEST(FramesetterTest, DrawingStaysInsideTheSuggestedSize) {
  const Framesetter framesetter(styled(kMixed, 15, {.lineSpacing = 3}));
  const auto suggested = framesetter.suggestFrameSize({0, 0}, {200, 1e6});
  auto canvas = ImageContext::create({260, suggested.size.height + 60}, false, 2);
  const Rect box(30, 30, suggested.size.width, suggested.size.height);
  framesetter.createFrame({0, 0}, box)->drawTopDown(canvas->context());
  const auto bitmap = canvas->image()->bitmap();
  int inside = 0, outside = 0, lastLineInk = 0;
  for (int y = 0; y < bitmap->height(); ++y) {
    for (int x = 0; x < bitmap->width(); ++x) {
      if (bitmap->pixel(x, y).alpha < 64) continue;
      const Point p{x / 2.0, y / 2.0};
      (box.insetBy(-1, -1).contains(p) ? inside : outside)++;
      if (p.y > box.maxY() - 15) ++lastLineInk;
    }
  }
  EXPECT_GT(inside, 1000);
  EXPECT_EQ(outside, 0);
  EXPECT_GT(lastLineInk, 20);
}

// A shortened line may be wider than a narrow constraint. Were the suggestion that wide, a frame of it
// would show an earlier paragraph's shortened line whole, in its larger font, and the taller line
// would push the last paragraph out of the suggested height.
TEST(FramesetterTest, TruncatedTextFitsAFrameOfTheSuggestedSize) {
  for (const LineBreakMode mode :
       {LineBreakMode::truncatingHead, LineBreakMode::truncatingTail, LineBreakMode::truncatingMiddle}) {
    AttributedString string = styled("a/\nCourse progress is kept", 15, {.lineBreakMode = mode});
    string.setFont({1, string.length() - 1}, Font::boldSystemFont(22));
    const Framesetter framesetter(string);
    for (const double width : {13.0, 20.0, 60.0}) {
      SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)) + ", width " + std::to_string(width));
      const auto suggested = framesetter.suggestFrameSize({0, 0}, {width, 3.4e38});
      EXPECT_LE(suggested.size.width, width);
      EXPECT_EQ(suggested.fitRange, (utf16::Range{0, string.length()}));
      const auto frame = framesetter.createFrame({0, 0}, Rect({0, 0}, suggested.size));
      EXPECT_EQ(frame->visibleStringRange(), suggested.fitRange);
    }
  }
}

// A space and the combining mark on it, or a letter and the emoji modifier after it, draw as one character
// and stay on one line. Pango broke between them: after right-to-left letters the line kept whole by the
// space it then dropped, so a frame of the suggested width broke before that space and pushed the last line
// out; at widths of a point or less, and with a control character after the modifier in another font, it
// aborted.
TEST(FramesetterTest, ACharacterStaysWholeOnItsLine) {
  const struct {
    const char* what;
    const char* text;
    utf16::Range larger;  // set in a larger font
    std::size_t inside;   // a unit inside a character, which never starts a line
  } cases[] = {
      {"Arabic", "a\u0627 \u0301cd", {0, 0}, 3},
      {"Hebrew", "x\u05D0 \u0301yz", {0, 0}, 3},
      {"two marks", "r\u0627 \u0301\u0323e", {0, 0}, 3},
      {"sentence", "Hi\u0627 \u0301there, the course \u05D0 \u0301is ready", {0, 0}, 4},
      {"emoji modifier", "x\U0001F3FD\u0001yz", {3, 1}, 1},
      {"modifier after a replaced byte", "\uFFFD\U0001F3FD\u0001", {3, 1}, 1},
  };
  for (const auto& c : cases) {
    AttributedString string = styled(c.text);
    if (c.larger.length > 0) string.setFont(c.larger, Font::boldSystemFont(22));
    const Framesetter framesetter(string);
    const std::size_t length = string.length();
    // Widths a step apart, so the case does not hang on one font's exact advances.
    for (double width = 0; width <= 80; width += 0.5) {
      SCOPED_TRACE(std::string(c.what) + ", width " + std::to_string(width));
      const auto wide = framesetter.createFrame({0, 0}, Rect(0, 0, width, 1e6));
      for (const TextLine& line : wide->lines()) ASSERT_NE(line.stringRange().location, c.inside);
      const auto suggested = framesetter.suggestFrameSize({0, 0}, {width, 3.4e38});
      ASSERT_EQ(suggested.fitRange, (utf16::Range{0, length}));
      const auto frame = framesetter.createFrame({0, 0}, Rect({0, 0}, suggested.size));
      ASSERT_EQ(frame->visibleStringRange(), suggested.fitRange);
      ASSERT_EQ(frame->lines().size(), wide->lines().size());
    }
  }
}

// A word broken between letters of different sizes: Pango counted a hyphen it might put after a run when
// deciding whether the run fits, so a frame of exactly the suggested width broke the line. Lines break
// without hyphens.
TEST(FramesetterTest, WordsBrokenBetweenRunsFitAFrameOfTheSuggestedSize) {
  const struct {
    const char* text;
    utf16::Range larger;
  } cases[] = {{"\uFFFDII", {1, 1}}, {"Supercalifragilistic", {3, 6}}, {"进度Progress", {2, 3}}};
  for (const LineBreakMode mode : {LineBreakMode::charWrap, LineBreakMode::wordWrap}) {
    for (const auto& c : cases) {
      AttributedString string = styled(c.text, 15, {.lineBreakMode = mode});
      string.setFont(c.larger, Font::boldSystemFont(22));
      const Framesetter framesetter(string);
      for (double width = 0; width <= 100; width += 0.5) {
        SCOPED_TRACE(std::string(c.text) + ", mode " + std::to_string(static_cast<int>(mode)) + ", width " +
                     std::to_string(width));
        const auto suggested = framesetter.suggestFrameSize({0, 0}, {width, 3.4e38});
        ASSERT_EQ(suggested.fitRange, (utf16::Range{0, string.length()}));
        const auto frame = framesetter.createFrame({0, 0}, Rect({0, 0}, suggested.size));
        ASSERT_EQ(frame->visibleStringRange(), suggested.fitRange);
      }
    }
  }
}

TEST(FramesetterTest, DrawingUpwardsMatchesDrawingDownwards) {
  const Framesetter framesetter(styled("上下 Up"));
  auto down = ImageContext::create({80, 30});
  auto up = ImageContext::create({80, 30});
  framesetter.createFrame({0, 0}, Rect(0, 0, 80, 30))->drawTopDown(down->context());
  // The platform's way: flip the view's context, then draw.
  up->context().concat({1, 0, 0, -1, 0, 30});
  framesetter.createFrame({0, 0}, Rect(0, 0, 80, 30))->draw(up->context());
  const auto a = down->image()->bitmap(), b = up->image()->bitmap();
  int differing = 0, ink = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      ink += a->pixel(x, y).alpha > 128;
      differing += std::abs(a->pixel(x, y).alpha - b->pixel(x, y).alpha) > 8;
    }
  EXPECT_GT(ink, 50);
  EXPECT_LT(differing, ink / 20);
}

TEST(FramesetterTest, ClearTextDrawsNothing) {
  AttributedString text = styled("看不见 invisible");
  text.setForegroundColor({0, 100}, Color::clear());
  auto canvas = ImageContext::create({150, 30});
  Framesetter(text).createFrame({0, 0}, Rect(0, 0, 150, 30))->drawTopDown(canvas->context());
  const auto bitmap = canvas->image()->bitmap();
  int ink = 0;
  for (int y = 0; y < bitmap->height(); ++y)
    for (int x = 0; x < bitmap->width(); ++x) ink += bitmap->pixel(x, y).alpha > 2;
  EXPECT_EQ(ink, 0);
}

// Each thread lays out with its own Pango context; fonts are shared between threads.
TEST(FramesetterTest, LaysOutOnManyThreadsAtOnce) {
  const auto font = Font::systemFont(15);
  std::vector<std::size_t> lineCounts(4);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < lineCounts.size(); ++t) {
    threads.emplace_back([&, t] {
      TextAttributes attributes;
      attributes.font = font;
      for (int i = 0; i < 10; ++i) {
        const Framesetter framesetter(AttributedString(kMixed, attributes));
        lineCounts[t] = framesetter.createFrame({0, 0}, Rect(0, 0, 120, 1e6))->lines().size();
        Font::withName("Helvetica-Bold", 12 + i);
      }
    });
  }
  for (auto& t : threads) t.join();
  for (std::size_t count : lineCounts) EXPECT_EQ(count, lineCounts[0]);
  EXPECT_GT(lineCounts[0], 3u);
}

// Draws a tall bold "I" with the stroke width and reads the ink along its middle row.
struct StrokeInk {
  int total = 0;        // pixels with ink
  int centreAlpha = 0;  // alpha in the middle of the letter's stem
};

StrokeInk inkOfStrokedI(double strokeWidth) {
  TextAttributes attributes;
  attributes.font = Font::boldSystemFont(80);
  attributes.strokeWidth = strokeWidth;
  auto canvas = ImageContext::create({80, 100});
  Framesetter(AttributedString("I", attributes))
      .createFrame({0, 0}, Rect(0, 0, 80, 100))
      ->drawTopDown(canvas->context());
  const auto bitmap = canvas->image()->bitmap();
  StrokeInk ink;
  int left = -1, right = -1;
  const int row = 50;
  for (int x = 0; x < 80; ++x) {
    if (bitmap->pixel(x, row).alpha > 128) {
      if (left < 0) left = x;
      right = x;
    }
  }
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 80; ++x) ink.total += bitmap->pixel(x, y).alpha > 128;
  if (left >= 0) ink.centreAlpha = bitmap->pixel((left + right) / 2, row).alpha;
  return ink;
}

TEST(FramesetterTest, StrokeWidthOutlinesOrThickensGlyphs) {
  const StrokeInk filled = inkOfStrokedI(0), outlined = inkOfStrokedI(3), thickened = inkOfStrokedI(-6);
  EXPECT_EQ(filled.centreAlpha, 255);
  // A positive width draws only the outline, so the stem's middle stays empty.
  EXPECT_LT(outlined.centreAlpha, 40);
  EXPECT_GT(outlined.total, 50);
  EXPECT_LT(outlined.total, filled.total);
  // A negative width fills and strokes: more ink than the fill alone.
  EXPECT_EQ(thickened.centreAlpha, 255);
  EXPECT_GT(thickened.total, filled.total);
}

TEST(FramesetterTest, NulCharactersDoNotEndTheText) {
  const std::string text("ab\0cd", 5);
  const Framesetter framesetter(styled(text));
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, 300, 100));
  EXPECT_EQ(framesetter.attributedString().length(), 5u);
  EXPECT_EQ(frame->visibleStringRange(), (utf16::Range{0, 5}));
}

TEST(FramesetterTest, SuggestionsAndFramesAgreeOnAZeroWidth) {
  const Framesetter framesetter(styled("课程ab"));
  const auto suggested = framesetter.suggestFrameSize({0, 0}, {0, 1e6});
  const auto frame = framesetter.createFrame({0, 0}, Rect(0, 0, 0, 1e6));
  EXPECT_EQ(frame->lines().size(), 4u);
  const auto origins = frame->lineOrigins();
  EXPECT_NEAR(suggested.size.height,
              1e6 - origins.back().y + frame->lines().back().typographicBounds().descent, 1e-3);
  // Unbounded constraints keep the text on one line.
  EXPECT_EQ(
      framesetter
          .createFrame({0, 0}, Rect({0, 0}, framesetter.suggestFrameSize({0, 0}, {3.4e38, 3.4e38}).size))
          ->lines()
          .size(),
      1u);
}

TEST(FramesetterTest, EmptyTextHasNoLines) {
  const Framesetter framesetter(styled(""));
  const auto suggested = framesetter.suggestFrameSize({0, 0}, {100, 1e6});
  EXPECT_EQ(suggested.size, (Size{0, 0}));
  EXPECT_TRUE(framesetter.createFrame({0, 0}, Rect(0, 0, 100, 100))->lines().empty());
}

}  // namespace
}  // namespace pf
