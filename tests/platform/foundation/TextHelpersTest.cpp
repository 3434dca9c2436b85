#include "platform/foundation/TextHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pf::text {
namespace {

using testing::ElementsAre;

struct TrimCase {
  std::string text;
  std::string whitespace;  // trimWhitespace
  std::string all;         // trimWhitespaceAndNewlines
};

class TrimTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, TrimsBothEnds) {
  EXPECT_EQ(trimWhitespace(GetParam().text), GetParam().whitespace);
  EXPECT_EQ(trimWhitespaceAndNewlines(GetParam().text), GetParam().all);
}

INSTANTIATE_TEST_SUITE_P(Texts, TrimTest,
                         testing::Values(TrimCase{" \t a b \t", "a b", "a b"},
                                         TrimCase{"\n a \r\n", "\n a \r\n", "a"},
                                         TrimCase{"\xE3\x80\x80中文\xC2\xA0", "中文", "中文"},
                                         TrimCase{" \t ", "", ""}, TrimCase{"", "", ""},
                                         TrimCase{" \xFF ", "\xFF", "\xFF"}));

TEST(SplitTest, KeepsEmptyPieces) {
  EXPECT_THAT(split("a,b,,c,", ","), ElementsAre("a", "b", "", "c", ""));
  EXPECT_THAT(split("话题::话题", "::"), ElementsAre("话题", "话题"));
  EXPECT_THAT(split("", ","), ElementsAre(""));
  EXPECT_THAT(split("abc", ""), ElementsAre("abc"));
}

TEST(ReplaceAllTest, ReplacesLeftToRight) {
  EXPECT_EQ(replaceAll("video.temp.temp", ".temp", ""), "video");
  EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(replaceAll("中文中", "中", "x"), "x文x");
  EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
}

TEST(AffixTest, EmptyAffixIsNeverFound) {
  EXPECT_TRUE(hasPrefix("draft_1", "draft_"));
  EXPECT_FALSE(hasPrefix("draft_1", ""));
  EXPECT_FALSE(hasPrefix("ab", "abc"));
  EXPECT_TRUE(hasSuffix("课程.mp4", ".mp4"));
  EXPECT_FALSE(hasSuffix("abc", ""));
}

TEST(CaseTest, FoldsAsciiOnly) {
  EXPECT_EQ(uppercase("Abc中文xyZ"), "ABC中文XYZ");
  EXPECT_EQ(lowercase("Course_ID 课程"), "course_id 课程");
  EXPECT_TRUE(equalsIgnoringCase("Course_ID", "course_id"));
  EXPECT_FALSE(equalsIgnoringCase("a", "ab"));
  EXPECT_EQ(findIgnoringCase("课程ABC", "abc"), 6u);
  EXPECT_EQ(findIgnoringCase("abcABC", "abc", 1), 3u);
  EXPECT_EQ(findIgnoringCase("abc", "abc", 9), std::string_view::npos);
  EXPECT_TRUE(containsIgnoringCase("SQLite Table", "table"));
  EXPECT_FALSE(containsIgnoringCase("abc", ""));
}

}  // namespace
}  // namespace pf::text
