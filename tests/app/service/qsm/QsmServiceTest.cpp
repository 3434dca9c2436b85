// The survey service over a scripted network on a launched device: the list with its status texts
// at the virtual clock's time, newest first, and the submission of a survey's answers.

#include "app/service/qsm/QsmService.h"

#include <gtest/gtest.h>

#include "platform/foundation/JsonSerialization.h"
#include "tests/app/support/RemoteServiceSandbox.h"

namespace {

class QsmServiceTest : public RemoteServiceSandbox {
 protected:
  void SetUp() override {
    RemoteServiceSandbox::SetUp();
    service = std::make_unique<QsmService>(delegate);
  }

  static std::string ms(double secondsFromNow) {
    return std::to_string(static_cast<long long>((kStartOfClock + secondsFromNow) * 1000));
  }

  // A listed survey: its window and publication relative to the clock's start.
  static std::string survey(const std::string& id, double start, double end, double published,
                            bool joined = false) {
    return R"({"surveyId": ")" + id + R"(", "startTime": )" + ms(start) + R"(, "endTime": )" + ms(end) +
           R"(, "publishTime": )" + ms(published) + R"(, "joined": )" + (joined ? "true" : "false") + "}";
  }

  // Made once the device has launched: a service takes the store.
  std::unique_ptr<QsmService> service;
};

TEST_F(QsmServiceTest, ListsEverySurveyNewestFirstWithItsStatusAtThisMoment) {
  transport->answerAll(
      FakeTransport::ok(R"({"serverTime": 1577836800000, "results": [)" + survey("ends-now", -100, 0, -300) +
                        "," + survey("starts-now", 0, 100, -100) + "," + survey("later", 10, 100, -50) + "," +
                        survey("joined-late", -300, -200, -400, true) + "," +
                        R"({"surveyId": "no-times", "statusText": "as it was", "publishTime": )" + ms(-200) +
                        "}," + R"({"surveyId": "no-end", "startTime": )" + ms(-10) + R"(, "publishTime": )" +
                        ms(-250) + "}]}"));

  const auto surveys = service->listAllSurveys();
  ASSERT_TRUE(surveys);
  EXPECT_EQ(transport->sentPaths(), std::vector<std::string>{OpenSurveyService::kSyncUri});
  EXPECT_EQ(sentParameters().at("lastUpdateTime"), "100000000000");
  std::vector<std::pair<std::string, std::string>> listed;
  for (const auto& s : *surveys) listed.emplace_back(*s->surveyId, s->statusText.value_or("?"));
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, std::string>>{{"later", "等待"},
                                                                      {"starts-now", "进入"},
                                                                      {"no-times", "as it was"},
                                                                      {"no-end", "?"},
                                                                      {"ends-now", "过期"},
                                                                      {"joined-late", "完成"}}));
}

TEST_F(QsmServiceTest, AFailedLoadAnswersNothingAndTellsTheDelegate) {
  transport->answerAll(FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure));
  EXPECT_FALSE(service->listAllSurveys());
  drainMainQueue();
  ASSERT_EQ(delegate->reports->size(), 1u);
  EXPECT_EQ(delegate->reports->front().requestUri, OpenSurveyService::kSyncUri);
}

TEST_F(QsmServiceTest, SubmitsOneCopyWithTheAnswersAndReportsTheServersVerdict) {
  auto question = std::make_shared<QsmQuestion>();
  question->questionId = "Q1";
  question->questionType = QsmQuestion::kMultipleSelect;
  question->items.emplace();
  for (int i = 1; i <= 5; ++i) {
    auto option = std::make_shared<QsmQuestionOption>();
    option->optionId = "id" + std::to_string(i);
    option->selected = i == 2 || i == 5;
    question->items->push_back(option);
  }
  auto listed = std::make_shared<QsmSurvey>();
  listed->surveyId = "S1";
  listed->surveyName = "满意度";
  listed->questions.emplace({question});

  transport->answerAll(FakeTransport::ok(R"({"success": true})"));
  EXPECT_TRUE(service->submitSurvey(listed));
  EXPECT_EQ(
      pf::JsonSerialization::JSONObjectWithString(sentParameters().at("surveys")),
      pf::JsonSerialization::JSONObjectWithString(
          R"([{"surveyId": "S1", "joined": false, "userAnswers": [{"questionId": "Q1", "userSelect": "id2,id5"}]}])"));
  EXPECT_FALSE(listed->userAnswers) << "the screen's survey is left as it was";

  transport->answerAll(FakeTransport::ok(R"({"success": false})"));
  EXPECT_FALSE(service->submitSurvey(listed));
  transport->forget();
  EXPECT_FALSE(service->submitSurvey(nullptr));
  EXPECT_TRUE(transport->sent().empty());
}

}  // namespace
