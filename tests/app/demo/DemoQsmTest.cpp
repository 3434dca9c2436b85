// The demo's surveys through the survey module's remote services: the list with each survey's
// window and the caller's standing, submissions the stand-in accepts or refuses, the badge count
// and the participant lists.

#include <gtest/gtest.h>

#include "app/model/AppClasses.h"
#include "app/model/qsm/QuestionnaireUser.h"
#include "app/service/qsm/OpenQuestionnaireUserService.h"
#include "app/service/qsm/OpenSurveyService.h"
#include "core/util/Resources.h"
#include "platform/foundation/JsonSerialization.h"
#include "tests/core/open/OpenServerFixture.h"
#include "tools/devserver/demo/DemoQsm.h"

namespace {

class DemoQsmTest : public OpenServerFixture {
 protected:
  void SetUp() override {
    OpenServerFixture::SetUp();
    registerAppClasses();
    devserver::installDemoQsm(server, MARLUNE_DEMO_DATA);
    ASSERT_TRUE(logIn().isString());
  }

  std::vector<std::shared_ptr<QsmSurvey>> list() {
    std::vector<std::shared_ptr<QsmSurvey>> list;
    const auto answer = surveys.sync(pf::Date{100'000'000});
    if (!answer || !answer->results) return list;
    for (const pf::Value& element : *answer->results) list.push_back(element.objectAs<QsmSurvey>());
    return list;
  }

  std::shared_ptr<QsmSurvey> survey(const std::string& surveyId) {
    for (const auto& survey : list()) {
      if (survey && survey->surveyId == surveyId) return survey;
    }
    return nullptr;
  }

  // A submission of one answer to the survey's first question.
  bool submit(const std::string& surveyId, std::optional<std::string> userSelect,
              std::optional<std::string> userInput = std::nullopt) {
    const auto listed = survey(surveyId);
    if (!listed || !listed->questions || listed->questions->empty()) return false;
    auto answer = std::make_shared<QsmUserAnswer>();
    answer->questionId = listed->questions->front()->questionId;
    answer->userSelect = std::move(userSelect);
    answer->userInput = std::move(userInput);
    auto submitted = std::make_shared<QsmSurvey>();
    submitted->surveyId = surveyId;
    submitted->userAnswers.emplace({answer});
    return surveys.batchSubmit({submitted});
  }

  OpenSurveyService surveys{delegate};
};

TEST_F(DemoQsmTest, ListsEverySurveyWithItsWindowAndTheCallersStanding) {
  const auto all = list();
  ASSERT_EQ(all.size(), 6u);
  const double now = pf::Date::now().seconds;
  const struct {
    const char* surveyId;
    const char* status;
  } cases[] = {{"QS-001", "进入"}, {"QS-003", "等待"}, {"QS-004", "过期"}};
  for (const auto& c : cases) {
    const auto listed = survey(c.surveyId);
    ASSERT_TRUE(listed && listed->startTime && listed->endTime) << c.surveyId;
    const bool open = listed->startTime->seconds <= now && now < listed->endTime->seconds;
    EXPECT_EQ(open, std::string(c.status) == "进入") << c.surveyId;
    EXPECT_FALSE(listed->joined) << c.surveyId;
  }
  const auto first = survey("QS-001");
  ASSERT_TRUE(first->questions);
  ASSERT_EQ(first->questions->size(), 4u);
  const auto& choice = first->questions->front();
  EXPECT_EQ(choice->fileUrl.value_or("").rfind(server.url("/media/qsm/"), 0), 0u) << "a picture the app can load";
  ASSERT_TRUE(choice->items);
  EXPECT_TRUE(choice->items->back()->allowInput);
  EXPECT_EQ(choice->items->front()->questionId, choice->questionId);
  ASSERT_TRUE(first->replyList);
  EXPECT_EQ(first->replyList->size(), 1u);
  // QS-005 is joined by the demo's learner only.
  EXPECT_EQ(surveys.reminder(), 4);
}

TEST_F(DemoQsmTest, EverySurveyModeAndQuestionTypeHasATextToShow) {
  const Resources texts("CollectionDefine", pf::Bundle(MARLUNE_APP_RESOURCES));
  for (const auto& listed : list()) {
    ASSERT_TRUE(listed && listed->surveyMode);
    // QS-006 carries a mode without a text on purpose: its description shows an empty mode.
    EXPECT_EQ(texts.valueForResourceKey(*listed->surveyMode, "SurveyMode").isString(), listed->surveyId != "QS-006")
        << *listed->surveyId;
    for (const auto& question : listed->questions.value_or(std::vector<std::shared_ptr<QsmQuestion>>{})) {
      EXPECT_TRUE(
          texts.valueForResourceKey(question->questionType.value_or(""), "QsmQuestionType").isString())
          << *question->questionId;
    }
  }
}

TEST_F(DemoQsmTest, AcceptsOneSubmissionOfAnOpenSurveyAndRefusesWhatDoesNotFit) {
  EXPECT_FALSE(submit("QS-001", "QO-999")) << "an option of no question";
  EXPECT_FALSE(submit("QS-001", "QO-001,")) << "an empty option id";
  EXPECT_FALSE(submit("QS-003", std::nullopt, "太早")) << "not open yet";
  EXPECT_FALSE(submit("QS-004", "QO-412")) << "closed";
  EXPECT_FALSE(survey("QS-001")->joined);

  const std::string typed = "\"引号\" \\ 换行\n\t\x01 😀";
  EXPECT_TRUE(submit("QS-001", "QO-001,QO-004", typed));
  // What the learner typed reaches the server as valid JSON, unchanged.
  const auto calls = server.calls(OpenSurveyService::kBatchSubmitUri);
  const pf::Value sent = pf::JsonSerialization::JSONObjectWithString(calls.back().parameters.at("surveys"));
  ASSERT_TRUE(sent.isArray());
  EXPECT_EQ((*sent.array())[0]["userAnswers"],
            pf::Value(pf::Array{pf::Value(pf::Dictionary{
                {"questionId", "QQ-001"}, {"userSelect", "QO-001,QO-004"}, {"userInput", typed}})}));

  EXPECT_TRUE(survey("QS-001")->joined);
  EXPECT_EQ(surveys.reminder(), 3);
  EXPECT_FALSE(submit("QS-001", "QO-002")) << "already joined";
}

TEST_F(DemoQsmTest, ParticipantListsFollowSubmissions) {
  OpenQuestionnaireUserService users{delegate};
  const auto page = std::make_shared<Page>();
  auto ids = [](const std::shared_ptr<Page>& answer) {
    std::vector<std::string> ids;
    if (!answer || !answer->rows) return ids;
    for (const pf::Value& row : *answer->rows) ids.push_back(*row.objectAs<QuestionnaireUser>()->userId);
    return ids;
  };
  EXPECT_EQ(ids(users.getAnsweredUsers("QS-005", std::nullopt, std::nullopt, std::nullopt, page)),
            std::vector<std::string>{"U0001"});
  ASSERT_TRUE(submit("QS-002", "QO-211,QO-213"));
  EXPECT_EQ(ids(users.getAnsweredUsers("QS-002", std::nullopt, std::nullopt, std::nullopt, page)),
            std::vector<std::string>{"U-1"});
  EXPECT_EQ(ids(users.getUnAnsweredUsers("QS-002", std::nullopt, std::nullopt, std::nullopt, page)),
            std::vector<std::string>{"U0001"});
  EXPECT_EQ(ids(users.getSurveyRelUsers("QS-002", "ali", std::nullopt, std::nullopt, page)),
            std::vector<std::string>{"U-1"});
  const auto answered = users.getAnsweredUsers("QS-002", std::nullopt, std::nullopt, std::nullopt, page);
  EXPECT_TRUE(answered->rows->front().objectAs<QuestionnaireUser>()->finishTime);
  EXPECT_FALSE(users.getSurveyRelUsers("QS-404", std::nullopt, std::nullopt, std::nullopt, page));
}

}  // namespace
