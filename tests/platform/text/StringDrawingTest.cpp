#include "platform/text/StringDrawing.h"

#include "platform/foundation/Utf16.h"
#include "platform/graphics/ImageContext.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pf {
namespace {

const char kTitle[] = "一行放不下的很长很长的标题 A title far too long for one line";

TEST(StringDrawingTest, MeasuresInWholePointsWithinTheWidth) {
  const auto font = Font::systemFont(15);
  const Size one = StringDrawing::sizeOfText("课程 Course", *font);
  EXPECT_EQ(one.width, std::ceil(one.width));
  EXPECT_GE(one.height, font->ascender() - font->descender());
  const Size wrapped = StringDrawing::sizeOfText(kTitle, *font, {100, 1e6}, LineBreakMode::wordWrap);
  EXPECT_LE(wrapped.width, 100);
  EXPECT_GT(wrapped.height, 3 * one.height - 1);
  // One line height as the limit, as the cells measure their labels.
  const Size oneLine =
      StringDrawing::sizeOfText(kTitle, *font, {100, font->lineHeight()}, LineBreakMode::wordWrap);
  EXPECT_EQ(oneLine.height, one.height);
  EXPECT_EQ(StringDrawing::sizeOfText("", *font), (Size{0, 0}));
}

struct TruncateCase {
  std::string text;
  double width;
};

class TruncationTest : public testing::TestWithParam<TruncateCase> {};

TEST_P(TruncationTest, ShortensTheTailWithAnEllipsis) {
  const auto font = Font::systemFont(14);
  const TruncateCase& c = GetParam();
  const std::string out = StringDrawing::truncatedText(c.text, *font, c.width);
  if (StringDrawing::sizeOfText(c.text, *font).width <= c.width) {
    EXPECT_EQ(out, c.text);
    return;
  }
  ASSERT_TRUE(out.ends_with("…"));
  const std::string kept = out.substr(0, out.size() - std::string("…").size());
  EXPECT_TRUE(c.text.starts_with(kept));
  EXPECT_LE(StringDrawing::sizeOfText(out, *font).width, std::ceil(c.width));
  // One more character would not have fitted.
  const std::string next = utf16::prefix(c.text, utf16::length(kept) + 2);
  const std::string oneMore = utf16::length(next) == utf16::length(kept) + 2 && next.size() - kept.size() == 4
                                  ? next
                                  : utf16::prefix(c.text, utf16::length(kept) + 1);
  EXPECT_GT(StringDrawing::sizeOfText(oneMore + "…", *font).width, c.width - 1);
}

INSTANTIATE_TEST_SUITE_P(Texts, TruncationTest,
                         testing::Values(TruncateCase{kTitle, 200}, TruncateCase{kTitle, 60},
                                         TruncateCase{"short", 200}, TruncateCase{"😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀", 50},
                                         TruncateCase{"课程名称课程名称课程名称", 45}));

TEST(StringDrawingTest, TextDrawnInItsMeasuredSizeIsNotCut) {
  const auto font = Font::systemFont(15);
  const char* text = "两行的中文和 English mixed paragraph 文字";
  const Size size = StringDrawing::sizeOfText(text, *font, {150, 1e6}, LineBreakMode::wordWrap);
  auto exact = ImageContext::create({200, 100}, false, 2);
  auto roomy = ImageContext::create({200, 100}, false, 2);
  StringDrawing::drawText(exact->context(), text, Rect({10, 10}, size), *font, Color::black());
  StringDrawing::drawText(roomy->context(), text, Rect(10, 10, 150, 80), *font, Color::black());
  const auto a = exact->image()->bitmap(), b = roomy->image()->bitmap();
  int ink = 0, differing = 0;
  for (int y = 0; y < a->height(); ++y)
    for (int x = 0; x < a->width(); ++x) {
      ink += a->pixel(x, y).alpha > 128;
      differing += a->pixel(x, y) != b->pixel(x, y);
    }
  EXPECT_GT(ink, 200);
  EXPECT_EQ(differing, 0);
}

TEST(StringDrawingTest, TailTruncationDrawsWithinTheRect) {
  const auto font = Font::systemFont(15);
  auto canvas = ImageContext::create({200, 40});
  const Size drawn = StringDrawing::drawText(canvas->context(), kTitle, Rect(0, 0, 120, 20), *font,
                                             Color::black(), LineBreakMode::truncatingTail);
  EXPECT_LE(drawn.width, 120);
  EXPECT_LE(drawn.height, 20 + 1);
  const auto bitmap = canvas->image()->bitmap();
  int beyond = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 121; x < 200; ++x) beyond += bitmap->pixel(x, y).alpha > 0;
  EXPECT_EQ(beyond, 0);
}

TEST(StringDrawingTest, TextTakesTheContextsAlphaAndShadow) {
  const auto font = Font::boldSystemFont(20);
  auto canvas = ImageContext::create({100, 60});
  canvas->context().setAlpha(0.5);
  canvas->context().setShadow({0, 30}, 0, Color::red());
  StringDrawing::drawText(canvas->context(), "中文", Rect(0, 0, 100, 30), *font, Color::black());
  const auto bitmap = canvas->image()->bitmap();
  int strongest = 0, shadowInk = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x) {
      const Pixel p = bitmap->pixel(x, y);
      if (y < 30) strongest = std::max<int>(strongest, p.alpha);
      if (y >= 30 && p.alpha > 0 && p.red > 200 && p.blue < 50) ++shadowInk;
    }
  EXPECT_NEAR(strongest, 128, 3);
  EXPECT_GT(shadowInk, 30);
}

}  // namespace
}  // namespace pf
