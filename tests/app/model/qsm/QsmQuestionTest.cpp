// A survey question's view of the learner's answer: chosen options, whether text may be typed, and
// whether the answering screen may move on.

#include "app/model/qsm/QsmQuestion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A question of the type with one option per letter of the pattern: 'o' plain, 'x' chosen, 'i' opens
// a text field, 'I' opens a text field and is chosen.
std::shared_ptr<QsmQuestion> qsmQuestion(const std::string& type, const std::string& pattern,
                                      std::optional<std::string> inputText = std::nullopt) {
  auto q = std::make_shared<QsmQuestion>();
  q->questionType = type;
  q->inputText = std::move(inputText);
  if (pattern == "-") return q;  // no option list at all
  q->items.emplace();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    auto option = std::make_shared<QsmQuestionOption>();
    option->optionId = "id" + std::to_string(i + 1);
    option->selected = pattern[i] == 'x' || pattern[i] == 'I';
    option->allowInput = pattern[i] == 'i' || pattern[i] == 'I';
    q->items->push_back(option);
  }
  return q;
}

TEST(QsmQuestionTest, SelectedItemsKeepOptionOrder) {
  const auto q = qsmQuestion(QsmQuestion::kMultipleSelect, "oxoox");
  std::vector<std::string> ids;
  for (const auto& option : q->selectedItems()) ids.push_back(*option->optionId);
  EXPECT_EQ(ids, (std::vector<std::string>{"id2", "id5"}));
  EXPECT_EQ(q->firstOrDefaultSelectedItem()->optionId, "id2");
  EXPECT_TRUE(q->lastOptionSelected());
  EXPECT_EQ(qsmQuestion(QsmQuestion::kSingleSelect, "ooo")->firstOrDefaultSelectedItem(), nullptr);
  EXPECT_FALSE(qsmQuestion(QsmQuestion::kSingleSelect, "")->lastOptionSelected());
  EXPECT_FALSE(qsmQuestion(QsmQuestion::kSingleSelect, "-")->lastOptionSelected());
}

TEST(QsmQuestionTest, CanInputTextByTypeAndOptions) {
  const struct {
    const char* type;
    const char* pattern;
    bool canInput;
  } cases[] = {
      {QsmQuestion::kFreeText, "-", true},
      {QsmQuestion::kGapFilling, "oo", true},
      {QsmQuestion::kSingleSelect, "ooo", false},
      {QsmQuestion::kSingleSelect, "ooi", true},
      {QsmQuestion::kMultipleSelect, "ioo", true},
      {QsmQuestion::kMultipleSelect, "-", false},
      {"RATING", "ooi", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(qsmQuestion(c.type, c.pattern)->canInputText(), c.canInput) << c.type << " " << c.pattern;
  }
}

TEST(QsmQuestionTest, IsAnsweredFollowsTheLastOptionWhenTextMayBeTyped) {
  const struct {
    const char* name;
    const char* type;
    const char* pattern;
    std::optional<std::string> text;
    bool answered;
  } cases[] = {
      {"free text without options, no text", QsmQuestion::kFreeText, "-", std::nullopt, false},
      {"free text without options, empty text", QsmQuestion::kFreeText, "", "", false},
      {"free text without options, typed", QsmQuestion::kFreeText, "-", "ok", true},
      {"single choice, nothing chosen", QsmQuestion::kSingleSelect, "ooo", std::nullopt, false},
      {"single choice, one chosen", QsmQuestion::kSingleSelect, "oxo", std::nullopt, true},
      {"input option chosen, no text", QsmQuestion::kSingleSelect, "ooI", "", false},
      {"input option chosen, text typed", QsmQuestion::kSingleSelect, "ooI", "other", true},
      {"input option not chosen, another chosen", QsmQuestion::kSingleSelect, "xoi", std::nullopt, true},
      {"input option not chosen, nothing chosen", QsmQuestion::kSingleSelect, "ooi", "typed", false},
      {"free text with options: last chosen, no text", QsmQuestion::kFreeText, "ox", std::nullopt, false},
      {"free text with options: last chosen, text", QsmQuestion::kFreeText, "ox", "why", true},
      {"free text with options: first chosen", QsmQuestion::kFreeText, "xo", std::nullopt, true},
      {"multiple choice, two chosen", QsmQuestion::kMultipleSelect, "xoox", std::nullopt, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(qsmQuestion(c.type, c.pattern, c.text)->isAnswered(), c.answered) << c.name;
}

TEST(QsmQuestionTest, TheDescriptionPropertyIsWhatDescriptionAnswers) {
  QsmQuestion q;
  ASSERT_TRUE(q.setValueForKey("description", pf::Value("请按实际情况填写")));
  EXPECT_EQ(q.description(), "请按实际情况填写");
  EXPECT_EQ(q.valueForKey("description"), pf::Value("请按实际情况填写"));
}

}  // namespace
