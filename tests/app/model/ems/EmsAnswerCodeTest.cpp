#include "app/model/ems/EmsAnswerCode.h"

#include <gtest/gtest.h>

namespace {

using Form = EmsAnswerCode::Form;
using Ids = std::vector<std::string>;

TEST(EmsAnswerCodeTest, ReadsEveryLayoutOfAnAnswer) {
  struct Case {
    std::string answer;
    Form form;
    Ids ids;
    std::optional<std::string> text;
  };
  for (const Case& c : {
           Case{"a``b", Form::Options, {"a", "b"}, std::nullopt},
           Case{"a``b``", Form::Options, {"a", "b"}, std::nullopt},
           Case{"``a````b", Form::Options, {"a", "b"}, std::nullopt},
           Case{"", Form::Options, {}, std::nullopt},
           Case{"a`b", Form::Options, {"a`b"}, std::nullopt},
           Case{"x``y", Form::Text, {}, "x``y"},
           Case{"", Form::Text, {}, ""},
           Case{"false``it is true``false", Form::OptionWithText, {"false"}, "it is true``false"},
           Case{"true", Form::OptionWithText, {"true"}, std::nullopt},
           Case{"``only text", Form::OptionWithText, {}, "only text"},
           Case{"true``", Form::OptionWithText, {"true"}, ""},
       }) {
    const auto parts = EmsAnswerCode::parse(c.answer, c.form);
    EXPECT_EQ(parts.optionIds, c.ids) << c.answer;
    EXPECT_EQ(parts.text, c.text) << c.answer;
  }
}

TEST(EmsAnswerCodeTest, ChoosesOnlyWholeIds) {
  struct Case {
    std::string answer;
    Form form;
    std::string id;
    bool chosen;
  };
  for (const Case& c : {
           Case{"11``2", Form::Options, "1", false},
           Case{"11``2", Form::Options, "11", true},
           Case{"11``2", Form::Options, "2", true},
           Case{"ABC", Form::Options, "abc", true},
           Case{"a``b", Form::Options, "", false},
           Case{"a``b", Form::Options, "a``b", false},
           Case{"false``true or false", Form::OptionWithText, "true", false},
           Case{"false``true or false", Form::OptionWithText, "false", true},
           Case{"``true", Form::OptionWithText, "true", false},
           Case{"true", Form::Text, "true", false},
       }) {
    EXPECT_EQ(EmsAnswerCode::choosesOption(c.answer, c.form, c.id), c.chosen) << c.answer << " / " << c.id;
  }
}

TEST(EmsAnswerCodeTest, JoinedIdsReadBackInOrder) {
  const Ids ids{"q-2", "q-1", "q-10"};
  EXPECT_EQ(EmsAnswerCode::join(ids), "q-2``q-1``q-10");
  EXPECT_EQ(EmsAnswerCode::parse(EmsAnswerCode::join(ids), Form::Options).optionIds, ids);
  EXPECT_EQ(EmsAnswerCode::join({}), "");
}

TEST(EmsAnswerCodeTest, RightAnswerLosesOneTrailingSeparator) {
  EXPECT_EQ(EmsAnswerCode::comparableRightAnswer("a``b``", false), "a``b");
  EXPECT_EQ(EmsAnswerCode::comparableRightAnswer("a````", false), "a``");
  EXPECT_EQ(EmsAnswerCode::comparableRightAnswer("true``note", true), "true");
  EXPECT_EQ(EmsAnswerCode::comparableRightAnswer("true``", true), "true");
  EXPECT_EQ(EmsAnswerCode::comparableRightAnswer("``", false), "");
}

}  // namespace
