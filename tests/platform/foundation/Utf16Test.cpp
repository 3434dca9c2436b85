#include "platform/foundation/Utf16.h"

#include <gtest/gtest.h>

#include <limits>

namespace pf::utf16 {
namespace {

// U+1F600, four bytes of UTF-8 and a surrogate pair in UTF-16.
constexpr char kEmoji[] = "\xF0\x9F\x98\x80";

struct LengthCase {
  std::string text;
  size_t units;
};

class Utf16LengthTest : public testing::TestWithParam<LengthCase> {};

TEST_P(Utf16LengthTest, CountsUnits) {
  EXPECT_EQ(length(GetParam().text), GetParam().units);
  EXPECT_EQ(encode(GetParam().text).size(), GetParam().units);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf16LengthTest,
                         testing::Values(LengthCase{"", 0}, LengthCase{"abc", 3}, LengthCase{"中文", 2},
                                         LengthCase{kEmoji, 2},
                                         LengthCase{std::string("中") + kEmoji + "文a", 5},
                                         // Each byte of broken UTF-8 is one replacement unit.
                                         LengthCase{"\xFF\xFE", 2}, LengthCase{"a\xE4\xB8", 3},
                                         LengthCase{"a\xC0\xAF"
                                                    "b",
                                                    4},
                                         LengthCase{"\xED\xA0\x80", 3}, LengthCase{"\xF4\x90\x80\x80", 4}));

struct CutCase {
  std::string text;
  size_t maxUnits;
  std::string expected;
};

class Utf16PrefixTest : public testing::TestWithParam<CutCase> {};

TEST_P(Utf16PrefixTest, NeverSplitsAPair) {
  EXPECT_EQ(prefix(GetParam().text, GetParam().maxUnits), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf16PrefixTest,
    testing::Values(CutCase{std::string("a") + kEmoji + "b", 1, "a"},
                    CutCase{std::string("a") + kEmoji + "b", 2, "a"},
                    CutCase{std::string("a") + kEmoji + "b", 3, std::string("a") + kEmoji},
                    CutCase{std::string("a") + kEmoji + "b", 99, std::string("a") + kEmoji + "b"},
                    CutCase{"中文课程", 2, "中文"}, CutCase{"abc", 0, ""}, CutCase{"", 5, ""},
                    CutCase{"\xFF"
                            "ab",
                            2,
                            "\xFF"
                            "a"}));

struct SubstringCase {
  std::string text;
  Range range;
  std::string expected;
};

class Utf16SubstringTest : public testing::TestWithParam<SubstringCase> {};

TEST_P(Utf16SubstringTest, TakesWholeCharactersInsideTheRange) {
  EXPECT_EQ(substring(GetParam().text, GetParam().range), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf16SubstringTest,
                         testing::Values(SubstringCase{"中文课程", {1, 2}, "文课"},
                                         SubstringCase{std::string("a") + kEmoji + "b", {1, 2}, kEmoji},
                                         SubstringCase{std::string("a") + kEmoji + "b", {2, 2}, "b"},
                                         SubstringCase{std::string("a") + kEmoji + "b", {0, 2}, "a"},
                                         SubstringCase{"abc", {5, 1}, ""}, SubstringCase{"abc", {1, 0}, ""},
                                         SubstringCase{
                                             "abc", {1, std::numeric_limits<size_t>::max()}, "bc"}));

struct FindCase {
  std::string text;
  std::string needle;
  bool ignoringCase;
  std::optional<Range> expected;
};

class Utf16FindTest : public testing::TestWithParam<FindCase> {};

TEST_P(Utf16FindTest, AnswersTheRangeInUnits) {
  const FindCase& c = GetParam();
  EXPECT_EQ(utf16::find(c.text, c.needle, c.ignoringCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf16FindTest,
                         testing::Values(FindCase{"Hello World", "world", true, Range{6, 5}},
                                         FindCase{"Hello World", "world", false, std::nullopt},
                                         FindCase{"课程ABC介绍", "abc", true, Range{2, 3}},
                                         FindCase{std::string(kEmoji) + "Key", "KEY", true, Range{2, 3}},
                                         FindCase{"中文", "文", false, Range{1, 1}},
                                         FindCase{"abc", "", true, std::nullopt}));

TEST(Utf16CodingTest, EncodesPairsAndDecodesLoneSurrogatesAsReplacement) {
  EXPECT_EQ(encode(std::string("a") + kEmoji), u"a\xD83D\xDE00");
  EXPECT_EQ(decode(u"a\xD83D\xDE00"), std::string("a") + kEmoji);
  EXPECT_EQ(decode(u"\xD83D"
                   "x\xDE00"),
            "\xEF\xBF\xBDx\xEF\xBF\xBD");
  std::string text = std::string("课程 ") + kEmoji + " done";
  EXPECT_EQ(decode(encode(text)), text);
}

TEST(Utf16CodingTest, ByteOffsetStopsBeforeAPair) {
  std::string text = std::string("中") + kEmoji;
  EXPECT_EQ(byteOffset(text, 1), 3u);
  EXPECT_EQ(byteOffset(text, 2), 3u);
  EXPECT_EQ(byteOffset(text, 3), 7u);
}

}  // namespace
}  // namespace pf::utf16
