#include "app/model/ems/EmsQuestion.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<EmsQuestionItem> option(const std::string& id, float showOrder, bool selected = false) {
  auto item = std::make_shared<EmsQuestionItem>();
  item->itemId = id;
  item->showOrder = showOrder;
  item->selected = selected;
  return item;
}

EmsQuestion question(const std::string& type, std::optional<std::string> answer = std::nullopt,
                     std::optional<std::string> userAnswer = std::nullopt) {
  EmsQuestion q;
  q.type = type;
  q.answer = std::move(answer);
  q.userAnswer = std::move(userAnswer);
  return q;
}

TEST(EmsQuestionTest, JudgesTheLearnersAnswerAgainstTheRightOne) {
  struct Case {
    const char* type;
    std::optional<std::string> answer;
    std::optional<std::string> userAnswer;
    bool passed;
    float userScore;
  };
  // Delivered with passed YES and 7 points, so "changes nothing" shows.
  for (const Case& c : {
           Case{"MULTIPLE", "a``b``", "a``b", true, 5},
           Case{"MULTIPLE", "a``b``", "b``a", false, 0},
           Case{"MULTIPLE", "a``b", "a``b", true, 5},
           Case{"MULTIPLE", "a``b``", "a", false, 0},
           Case{"SINGLE", "a", "A", false, 0},
           Case{"JUDGMENT", "true``x", "true", true, 5},
           Case{"JUDGMENT", "true``", "true", true, 5},
           Case{"JUDGMENT", "false", "true", false, 0},
           Case{"SINGLE", "a", std::nullopt, true, 7},
           Case{"SINGLE", "a", "", true, 7},
           Case{"SINGLE", std::nullopt, "a", true, 7},
           Case{"SINGLE", "", "a", true, 7},
       }) {
    EmsQuestion q = question(c.type, c.answer, c.userAnswer);
    q.score = 5;
    q.passed = true;
    q.userScore = 7;
    q.updatePassedAndUserScore();
    EXPECT_EQ(q.passed, c.passed) << c.type << " " << c.answer.value_or("nil") << " / "
                                  << c.userAnswer.value_or("nil");
    EXPECT_EQ(q.userScore, c.userScore) << c.type << " " << c.answer.value_or("nil");
  }
}

TEST(EmsQuestionTest, RightAnswerTextByType) {
  struct Case {
    const char* type;
    std::optional<std::string> answer;
    std::string text;
  };
  for (const Case& c : {
           Case{"SINGLE", "c", "C"},
           Case{"MULTIPLE", "d``a``", "DA"},
           Case{"MULTIPLE", "a``gone``b", "AB"},
           Case{"MULTIPLE", "", ""},
           Case{"SINGLE", std::nullopt, ""},
           Case{"JUDGMENT", "true", "正确"},
           Case{"JUDGMENT", "true``", "正确"},
           Case{"ASCERTAIN", "false", "错误"},
           Case{"JUDGMENT", std::nullopt, "错误"},
           Case{"FILL", "blue``sky", "blue``sky"},
           Case{"QUESTIONS", "essay", "essay"},
           Case{"DRAWING", "a", "a"},
       }) {
    EmsQuestion q = question(c.type, c.answer);
    q.items = {option("a", 1), option("b", 2), option("c", 3.7f), option("d", 4)};
    EXPECT_EQ(q.getRightAnswer(), c.text) << c.type << " " << c.answer.value_or("nil");
  }
}

TEST(EmsQuestionTest, TypeDecidesJudgingOptionsAndTypedText) {
  struct Case {
    const char* type;
    bool autoJudge;
    int optionCount;
    bool inputWithoutChoice;
  };
  for (const Case& c : {
           Case{"SINGLE", true, 3, false},
           Case{"MULTIPLE", true, 3, false},
           Case{"JUDGMENT", true, 2, false},
           Case{"ASCERTAIN", false, 2, false},
           Case{"FILL", false, 0, true},
           Case{"QUESTIONS", false, 0, true},
           Case{"OTHER", false, 0, false},
       }) {
    EmsQuestion q = question(c.type);
    q.items = {option("x", 1), option("y", 2), option("z", 3)};
    EXPECT_EQ(q.canAutoJudge(), c.autoJudge) << c.type;
    EXPECT_EQ(q.optionCount(), c.optionCount) << c.type;
    EXPECT_EQ(q.canInputText(), c.inputWithoutChoice) << c.type;
  }
}

TEST(EmsQuestionTest, AscertainTakesTextOnlyWhileFalseIsChosen) {
  EmsQuestion q = question("ASCERTAIN");
  q.items = {option("true", 1), option("false", 2)};
  q.items[0]->selected = true;
  EXPECT_FALSE(q.canInputText());
  q.items[0]->selected = false;
  q.items[1]->selected = true;
  EXPECT_TRUE(q.canInputText());
}

TEST(EmsQuestionTest, SelectionsAndAnsweredState) {
  EmsQuestion q = question("MULTIPLE");
  q.items = {option("a", 1), option("b", 2, true), option("c", 3, true)};
  ASSERT_EQ(q.selectedItems().size(), 2u);
  EXPECT_EQ(q.selectedItems()[0]->itemId, "b");
  EXPECT_EQ(q.firstOrDefaultSelectedItem()->itemId, "b");
  EXPECT_TRUE(q.isAnswered());

  EmsQuestion fill = question("FILL");
  EXPECT_FALSE(fill.isAnswered());
  EXPECT_EQ(fill.firstOrDefaultSelectedItem(), nullptr);
  fill.inputText = "";
  EXPECT_FALSE(fill.isAnswered());
  fill.inputText = "x";
  EXPECT_TRUE(fill.isAnswered());
}

TEST(EmsQuestionTest, SelectedItemMatchesWholeIdsOfTheLearnersAnswer) {
  struct Case {
    const char* type;
    std::optional<std::string> userAnswer;
    std::optional<std::string> id;
    bool selected;
  };
  for (const Case& c : {
           Case{"MULTIPLE", "11``2", "1", false},
           Case{"MULTIPLE", "11``2", "11", true},
           Case{"MULTIPLE", "11``2", "2", true},
           Case{"MULTIPLE", std::nullopt, "2", false},
           Case{"MULTIPLE", "11``2", "", false},
           Case{"MULTIPLE", "11``2", std::nullopt, false},
           Case{"ASCERTAIN", "false``true, not false", "true", false},
           Case{"ASCERTAIN", "false``true, not false", "false", true},
           Case{"JUDGMENT", "TRUE", "true", true},
       }) {
    EmsQuestion q = question(c.type, std::nullopt, c.userAnswer);
    EXPECT_EQ(q.isSelectedItem(c.id), c.selected)
        << c.type << " " << c.userAnswer.value_or("nil") << " / " << c.id.value_or("nil");
  }
}

TEST(EmsQuestionTest, AnswerTextByType) {
  struct Case {
    const char* type;
    std::optional<std::string> userAnswer;
    std::optional<std::string> text;
  };
  for (const Case& c : {
           Case{"FILL", "a``b", "a``b"},
           Case{"QUESTIONS", std::nullopt, std::nullopt},
           Case{"ASCERTAIN", "false``because``so", "because``so"},
           Case{"ASCERTAIN", "false", std::nullopt},
           Case{"ASCERTAIN", std::nullopt, std::nullopt},
           Case{"SINGLE", "a", std::nullopt},
       }) {
    EXPECT_EQ(question(c.type, std::nullopt, c.userAnswer).getAnswerText(), c.text) << c.type;
  }
}

TEST(EmsQuestionTest, OptionLetters) {
  EXPECT_EQ(option("a", 1)->letter(), 'A');
  EXPECT_EQ(option("a", 26.9f)->letter(), 'Z');
  EXPECT_EQ(option("a", 0)->letter(), std::nullopt);
  EXPECT_EQ(option("a", 27)->letter(), std::nullopt);
  EXPECT_EQ(option("a", std::numeric_limits<float>::quiet_NaN())->letter(), std::nullopt);
}

}  // namespace
