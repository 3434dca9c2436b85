// The survey rules that need no server: status texts at the edges of the answering window, the
// newest-first order, and the answers a submission carries.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/service/qsm/QsmService.h"

namespace {

constexpr double kSurveyNow = 1700000000;

std::optional<pf::Date> at(double seconds) {
  return pf::Date{seconds};
}

TEST(SurveyRulesTest, StatusTextAtTheEdgesOfTheWindow) {
  const struct {
    const char* name;
    bool joined;
    std::optional<pf::Date> start;
    std::optional<pf::Date> end;
    const char* text;
  } cases[] = {
      {"before the start", false, at(kSurveyNow + 1), at(kSurveyNow + 100), QsmService::kStatusWaiting},
      {"exactly at the start", false, at(kSurveyNow), at(kSurveyNow + 100), QsmService::kStatusOpen},
      {"inside the window", false, at(kSurveyNow - 1), at(kSurveyNow + 1), QsmService::kStatusOpen},
      {"exactly at the end", false, at(kSurveyNow - 100), at(kSurveyNow), QsmService::kStatusExpired},
      {"after the end", false, at(kSurveyNow - 100), at(kSurveyNow - 1), QsmService::kStatusExpired},
      {"joined before the start", true, at(kSurveyNow + 1), at(kSurveyNow + 100), QsmService::kStatusDone},
      {"joined after the end", true, at(kSurveyNow - 100), at(kSurveyNow - 1), QsmService::kStatusDone},
      // A missing time cannot be compared: the survey keeps the text it had (nullptr here).
      {"no start time, before the end", false, std::nullopt, at(kSurveyNow + 1), nullptr},
      {"no start time, after the end", false, std::nullopt, at(kSurveyNow - 1), nullptr},
      {"no end time, started", false, at(kSurveyNow - 1), std::nullopt, nullptr},
      {"no end time, not started", false, at(kSurveyNow + 1), std::nullopt, QsmService::kStatusWaiting},
      {"no times at all", false, std::nullopt, std::nullopt, nullptr},
      {"no times at all, joined", true, std::nullopt, std::nullopt, QsmService::kStatusDone},
  };
  for (const auto& c : cases) {
    QsmSurvey survey;
    survey.joined = c.joined;
    survey.startTime = c.start;
    survey.endTime = c.end;
    const auto expected = c.text ? std::optional<std::string>(c.text) : std::nullopt;
    EXPECT_EQ(QsmService::statusTextOfSurvey(survey, pf::Date{kSurveyNow}), expected) << c.name;
  }
}

TEST(SurveyRulesTest, NewestPublicationFirstAndUndatedLast) {
  auto survey = [](const char* id, std::optional<pf::Date> published) {
    auto s = std::make_shared<QsmSurvey>();
    s->surveyId = id;
    s->publishTime = published;
    return s;
  };
  std::vector<std::shared_ptr<QsmSurvey>> surveys{survey("undated", std::nullopt), survey("old", at(100)),
                                                  survey("tieA", at(200)), survey("new", at(300)),
                                                  survey("tieB", at(200))};
  EXPECT_FALSE(QsmService::surveySort(surveys[2], surveys[4]));
  EXPECT_FALSE(QsmService::surveySort(surveys[4], surveys[2]));
  std::stable_sort(surveys.begin(), surveys.end(), QsmService::surveySort);
  std::vector<std::string> order;
  for (const auto& s : surveys) order.push_back(*s->surveyId);
  EXPECT_EQ(order, (std::vector<std::string>{"new", "tieA", "tieB", "old", "undated"}));
}

std::shared_ptr<QsmQuestion> choiceQuestion(const char* id, const char* type, const std::vector<bool>& chosen,
                                            bool lastAllowsInput = false) {
  auto q = std::make_shared<QsmQuestion>();
  q->questionId = id;
  q->questionType = type;
  q->items.emplace();
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    auto option = std::make_shared<QsmQuestionOption>();
    option->optionId = std::string(id) + "-o" + std::to_string(i + 1);
    option->selected = chosen[i];
    option->allowInput = lastAllowsInput && i + 1 == chosen.size();
    q->items->push_back(option);
  }
  return q;
}

TEST(SurveyRulesTest, EveryQuestionGivesOneAnswerInQuestionOrder) {
  QsmSurvey survey;
  survey.surveyId = "S1";
  survey.surveyName = "满意度";
  survey.joined = true;
  survey.questions.emplace();
  // Taps on the fifth option before the second do not change the order sent.
  survey.questions->push_back(
      choiceQuestion("multi", QsmQuestion::kMultipleSelect, {false, true, false, false, true}));
  survey.questions->push_back(choiceQuestion("untouched", QsmQuestion::kSingleSelect, {false, false}));
  auto other = choiceQuestion("other", QsmQuestion::kSingleSelect, {false, true}, true);
  other->inputText = "自己填写";
  survey.questions->push_back(other);
  auto free = std::make_shared<QsmQuestion>();
  free->questionId = "free";
  free->questionType = QsmQuestion::kFreeText;
  survey.questions->push_back(free);
  auto plainWithText = choiceQuestion("plain", QsmQuestion::kSingleSelect, {true});
  plainWithText->inputText = "left over";
  survey.questions->push_back(plainWithText);

  const auto submitted = QsmService::getSubmitSurveyFromSurvey(survey);
  EXPECT_EQ(submitted->surveyId, "S1");
  EXPECT_FALSE(submitted->surveyName);
  EXPECT_FALSE(submitted->joined);
  EXPECT_FALSE(submitted->questions);
  ASSERT_TRUE(submitted->userAnswers);
  const auto& answers = *submitted->userAnswers;
  ASSERT_EQ(answers.size(), 5u);
  const struct {
    const char* questionId;
    std::optional<std::string> userSelect;
    std::optional<std::string> userInput;
  } expected[] = {
      {"multi", "multi-o2,multi-o5", std::nullopt},
      {"untouched", std::nullopt, std::nullopt},
      {"other", "other-o2", "自己填写"},
      {"free", std::nullopt, std::nullopt},
      {"plain", "plain-o1", std::nullopt},
  };
  for (std::size_t i = 0; i < answers.size(); ++i) {
    EXPECT_EQ(answers[i]->questionId, expected[i].questionId);
    EXPECT_EQ(answers[i]->userSelect, expected[i].userSelect) << expected[i].questionId;
    EXPECT_EQ(answers[i]->userInput, expected[i].userInput) << expected[i].questionId;
  }
  // The screens' objects stay as they were.
  EXPECT_TRUE((*survey.questions)[0]->items->at(1)->selected);
  EXPECT_FALSE(survey.userAnswers);
}

TEST(SurveyRulesTest, ASurveyWithoutQuestionsSubmitsAnEmptyAnswerList) {
  QsmSurvey survey;
  survey.surveyId = "S2";
  const auto submitted = QsmService::getSubmitSurveyFromSurvey(survey);
  ASSERT_TRUE(submitted->userAnswers);
  EXPECT_TRUE(submitted->userAnswers->empty());
}

TEST(SurveyRulesTest, DurationTextShowsBothDays) {
  QsmSurvey survey;
  survey.startTime = pf::Date{1772366400};  // 2026-03-01 12:00 UTC: the same day in every usual time zone
  survey.endTime = pf::Date{1774958400};    // 2026-03-31 12:00 UTC
  EXPECT_EQ(survey.durationText(), "2026-03-01 ~ 2026-03-31");
  survey.endTime.reset();
  EXPECT_EQ(survey.durationText(), "2026-03-01 ~ ");
}

}  // namespace
