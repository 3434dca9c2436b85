#include "platform/text/AttributedString.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

constexpr char kEmoji[] = "\xF0\x9F\x98\x80";  // two UTF-16 units

TEST(AttributedStringTest, CountsUnitsAndRepairsBrokenText) {
  EXPECT_EQ(AttributedString("abc").length(), 3u);
  EXPECT_EQ(AttributedString(std::string("中") + kEmoji).length(), 3u);
  const AttributedString broken(
      "a\xFF"
      "b");
  EXPECT_EQ(broken.length(), 3u);
  EXPECT_EQ(broken.string(),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_TRUE(AttributedString().runs().empty());
}

TEST(AttributedStringTest, StylesSplitAndMergeRuns) {
  AttributedString s("Hello world");
  s.setForegroundColor({0, 5}, Color::red());
  s.setForegroundColor({6, 5}, Color::red());
  ASSERT_EQ(s.runs().size(), 3u);
  utf16::Range range;
  EXPECT_EQ(s.attributesAt(2, &range).foregroundColor, Color::red());
  EXPECT_EQ(range, (utf16::Range{0, 5}));
  EXPECT_FALSE(s.attributesAt(5, &range).foregroundColor);
  EXPECT_EQ(range, (utf16::Range{5, 1}));
  // Colouring the gap joins the three runs into one.
  s.setForegroundColor({5, 1}, Color::red());
  ASSERT_EQ(s.runs().size(), 1u);
  EXPECT_EQ(s.runs()[0].range, (utf16::Range{0, 11}));
}

TEST(AttributedStringTest, LaterStylesOverlayEarlierOnes) {
  AttributedString s("abcdef");
  s.setUnderline({0, 4}, UnderlineStyle::single);
  s.setLink({2, 4}, "topicID:7;Go");
  EXPECT_EQ(s.attributesAt(1).underline, UnderlineStyle::single);
  EXPECT_FALSE(s.attributesAt(1).link);
  EXPECT_EQ(s.attributesAt(3).underline, UnderlineStyle::single);
  EXPECT_EQ(s.attributesAt(3).link, "topicID:7;Go");
  EXPECT_EQ(s.attributesAt(5).underline, UnderlineStyle::none);
  EXPECT_EQ(s.runs().size(), 3u);
}

TEST(AttributedStringTest, RangesAreClippedAndNeverSplitAPair) {
  AttributedString s(std::string("a") + kEmoji + "b");
  // A range starting inside the emoji's pair styles the whole emoji.
  s.setKern({2, 1}, 3);
  EXPECT_EQ(s.attributesAt(1).kern, 3);
  EXPECT_EQ(s.attributesAt(2).kern, 3);
  EXPECT_EQ(s.attributesAt(0).kern, 0);
  EXPECT_EQ(s.attributesAt(3).kern, 0);
  s.setKern({3, 100}, 1);
  EXPECT_EQ(s.attributesAt(3).kern, 1);
  s.setKern({50, 2}, 9);  // beyond the text: nothing
  EXPECT_EQ(s.attributesAt(99).kern, 1);
}

TEST(AttributedStringTest, AppendShiftsTheOtherRuns) {
  AttributedString s("中文");
  AttributedString tail("ab");
  tail.setForegroundColor({1, 1}, Color::blue());
  s.append(tail);
  EXPECT_EQ(s.string(), "中文ab");
  EXPECT_EQ(s.length(), 4u);
  EXPECT_FALSE(s.attributesAt(2).foregroundColor);
  EXPECT_EQ(s.attributesAt(3).foregroundColor, Color::blue());
}

}  // namespace
}  // namespace pf
