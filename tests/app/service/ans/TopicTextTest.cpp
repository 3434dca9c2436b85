// The topic field's rules: limits counted in UTF-16 units, both kinds of comma, and the normalised
// text that is sent.

#include "app/service/ans/TopicText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct CheckCase {
  const char* name;
  std::string text;
  std::optional<std::string> problem;
};

TEST(TopicTextTest, ChecksLengthBeforeCountOverEveryTopic) {
  const std::string emoji = "\xF0\x9F\x98\x80";  // one character, two UTF-16 units
  const CheckCase cases[] = {
      {"empty text is one empty topic", "", std::nullopt},
      {"three topics, both commas", "安全,质量，效率", std::nullopt},
      {"five topics", "a,b,c,d,e", std::nullopt},
      {"six topics", "a,b,c,d,e,f", TopicText::kTooManyMessage},
      {"six with a full-width comma", "a,b,c,d,e，f", TopicText::kTooManyMessage},
      {"empty pieces count as topics", "a,,,,,", TopicText::kTooManyMessage},
      {"ten units", "0123456789", std::nullopt},
      {"eleven units", "01234567890", TopicText::kTooLongMessage},
      {"ten Chinese characters", "一二三四五六七八九十", std::nullopt},
      {"eleven Chinese characters", "一二三四五六七八九十一", TopicText::kTooLongMessage},
      {"five emoji are ten units", emoji + emoji + emoji + emoji + emoji, std::nullopt},
      {"five emoji and one more unit", emoji + emoji + emoji + emoji + emoji + "a",
       TopicText::kTooLongMessage},
      {"spaces count, nothing is trimmed", "   0123456 ", TopicText::kTooLongMessage},
      {"length wins over count", "a,b,c,d,e,01234567890", TopicText::kTooLongMessage},
      {"full-width comma separates", "0123456789，0123456789", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(TopicText::violation(c.text), c.problem) << c.name;
}

TEST(TopicTextTest, RebuildsTheTextThatIsSent) {
  const struct {
    const char* name;
    std::string text;
    std::string rebuilt;
  } cases[] = {
      {"empty stays empty", "", ""},
      {"one topic", "安全", "安全"},
      {"joined with full-width commas", "a,b，c", "a，b，c"},
      {"leading empty pieces collapse and go", ",,a", "a"},
      {"one leading full-width comma goes", "，a", "a"},
      {"an exact repeat is dropped", "a,b,a", "a，b"},
      {"a trailing comma is dropped", "a,b,", "a，b"},
      {"an inner empty topic stays once", "a,,b,,c", "a，，b，c"},
      {"repeats that differ by spaces survive", "a b,ab", "ab，ab"},
      {"spaces and line feeds go everywhere", " 安 全\n, 质量 ", "安全，质量"},
      {"only commas", ",，,", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TopicText::rebuilt(c.text), c.rebuilt) << c.name;
}

}  // namespace
