// The survey module's remote calls over a scripted network: what each sends and how the answers
// are read into surveys, questions and options.

#include "app/service/qsm/OpenSurveyService.h"

#include <gtest/gtest.h>

#include "app/model/AppClasses.h"
#include "app/model/qsm/QuestionnaireUser.h"
#include "app/service/qsm/OpenQuestionnaireUserService.h"
#include "platform/foundation/JsonSerialization.h"
#include "tests/core/open/OpenClientFixture.h"

namespace {

class OpenSurveyServiceTest : public OpenClientFixture {
 protected:
  void SetUp() override {
    OpenClientFixture::SetUp();
    ServiceManager::initConfiguration(configuration(false));
    registerAppClasses();
  }

  static pf::Value parsed(const std::string& json) {
    return pf::JsonSerialization::JSONObjectWithString(json);
  }

  OpenSurveyService surveys{delegate};
};

TEST_F(OpenSurveyServiceTest, SyncReadsSurveysWithQuestionsOptionsAndReplies) {
  transport->answerAll(FakeTransport::ok(R"({"serverTime": 1700000000000, "results": [
    {"surveyId": "S1", "surveyName": "培训满意度", "joined": true, "startTime": 1699000000000,
     "endTime": 1701000000000, "publishTime": 1698000000000,
     "questions": [{"questionId": "Q1", "questionType": "MUTIPLE_SELECT", "showOrder": 2,
                    "description": "可多选",
                    "items": [{"optionId": "O1", "content": "好", "showOrder": 1.5, "allowInput": false},
                              {"optionId": "O2", "content": "其他", "allowInput": true}]}],
     "replyList": [{"replyId": "R1", "title": "谢谢", "createTime": 1699500000000}]}]})"));

  const auto answer = surveys.sync(pf::Date{100000000});
  ASSERT_TRUE(answer);
  EXPECT_EQ(transport->sentPaths(), std::vector<std::string>{OpenSurveyService::kSyncUri});
  EXPECT_EQ(FakeTransport::parameters(transport->sent()[0]).at("lastUpdateTime"), "100000000000");
  ASSERT_TRUE(answer->results);
  ASSERT_EQ(answer->results->size(), 1u);
  const auto survey = answer->results->front().objectAs<QsmSurvey>();
  ASSERT_TRUE(survey);
  EXPECT_EQ(survey->surveyName, "培训满意度");
  EXPECT_TRUE(survey->joined);
  EXPECT_EQ(survey->startTime, pf::Date{1699000000});
  EXPECT_EQ(survey->publishTime, pf::Date{1698000000});
  ASSERT_TRUE(survey->questions);
  const auto& question = survey->questions->at(0);
  EXPECT_EQ(question->showOrder, 2);
  EXPECT_EQ(question->description(), "可多选");
  ASSERT_TRUE(question->items);
  ASSERT_EQ(question->items->size(), 2u);
  EXPECT_FLOAT_EQ(question->items->at(0)->showOrder, 1.5f);
  EXPECT_TRUE(question->items->at(1)->allowInput);
  EXPECT_TRUE(question->canInputText());
  ASSERT_TRUE(survey->replyList);
  EXPECT_EQ(survey->replyList->at(0)->createTime, pf::Date{1699500000});
}

TEST_F(OpenSurveyServiceTest, SyncWithoutATimeSendsNoParameterAndAFailureAnswersNull) {
  transport->answerAll(FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure));
  EXPECT_FALSE(surveys.sync(std::nullopt));
  EXPECT_FALSE(FakeTransport::parameters(transport->sent()[0]).contains("lastUpdateTime"));
  drainMainQueue();
  ASSERT_EQ(delegate->reports->size(), 1u);
  EXPECT_EQ(delegate->reports->front().requestUri, OpenSurveyService::kSyncUri);
}

TEST_F(OpenSurveyServiceTest, BatchSubmitSendsOnlyWhatIsSetAndReadsSuccess) {
  auto survey = std::make_shared<QsmSurvey>();
  survey->surveyId = "S1";
  auto answer = std::make_shared<QsmUserAnswer>();
  answer->questionId = "Q1";
  answer->userSelect = "O1,O2";
  survey->userAnswers.emplace({answer});
  transport->answerAll(FakeTransport::ok(R"({"success": true})"));

  EXPECT_TRUE(surveys.batchSubmit({survey}));
  const pf::Value sent = parsed(FakeTransport::parameters(transport->sent()[0]).at("surveys"));
  EXPECT_EQ(sent, parsed(R"([{"surveyId": "S1", "joined": false,
                              "userAnswers": [{"questionId": "Q1", "userSelect": "O1,O2"}]}])"));

  transport->answerAll(FakeTransport::ok(R"({"success": false})"));
  EXPECT_FALSE(surveys.batchSubmit({survey}));
}

TEST_F(OpenSurveyServiceTest, ReminderIsTheAnsweredCountOrZero) {
  transport->answerAll(FakeTransport::ok("3"));
  EXPECT_EQ(surveys.reminder(), 3);
  transport->answerAll(FakeTransport::answer(500, "down"));
  EXPECT_EQ(surveys.reminder(), 0);
}

TEST_F(OpenSurveyServiceTest, ParticipantListsSendNullForNilFiltersAndReadPages) {
  OpenQuestionnaireUserService users{delegate};
  transport->answerAll(FakeTransport::ok(
      R"({"pageNo": 1, "pageSize": 20, "total": 1, "rows": [{"id": "P1", "userId": "U1", "finishTime": 1700000000000}]})"));
  auto page = std::make_shared<Page>();
  using Call = std::shared_ptr<Page> (OpenQuestionnaireUserService::*)(
      const std::optional<std::string>&, const std::optional<std::string>&, const std::optional<std::string>&,
      const std::optional<std::string>&, const std::shared_ptr<Page>&);
  const std::pair<Call, const char*> calls[] = {
      {&OpenQuestionnaireUserService::getAnsweredUsers, OpenQuestionnaireUserService::kAnsweredUri},
      {&OpenQuestionnaireUserService::getUnAnsweredUsers, OpenQuestionnaireUserService::kUnAnsweredUri},
      {&OpenQuestionnaireUserService::getSurveyRelUsers, OpenQuestionnaireUserService::kRelatedUri},
  };
  for (const auto& [call, uri] : calls) {
    transport->forget();
    const auto answer = (users.*call)("S1", std::nullopt, "ORG", std::nullopt, page);
    ASSERT_TRUE(answer) << uri;
    EXPECT_EQ(transport->sentPaths(), std::vector<std::string>{uri});
    const auto params = FakeTransport::parameters(transport->sent()[0]);
    EXPECT_EQ(params.at("surveyId"), "\"S1\"");
    EXPECT_EQ(params.at("userName"), "null");
    EXPECT_EQ(params.at("organizationId"), "\"ORG\"");
    EXPECT_EQ(params.at("positionId"), "null");
    EXPECT_EQ(parsed(params.at("page"))["pageSize"], pf::Value(20));
    ASSERT_TRUE(answer->rows);
    const auto user = answer->rows->front().objectAs<QuestionnaireUser>();
    ASSERT_TRUE(user) << uri;
    EXPECT_EQ(user->finishTime, pf::Date{1700000000});
  }
  transport->forget();
  (void)users.getAnsweredUsers("S1", std::nullopt, std::nullopt, std::nullopt, nullptr);
  EXPECT_EQ(FakeTransport::parameters(transport->sent()[0]).at("page"), "null");
}

}  // namespace
