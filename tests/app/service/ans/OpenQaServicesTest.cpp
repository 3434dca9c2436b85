// The questions-and-answers remote calls over a scripted network: the path and parameters of every
// operation, nil arguments sent as "null", and the answers read into questions, answers, topics,
// profiles, flags and pages.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/model/AppClasses.h"
#include "app/service/ans/OpenAnswerService.h"
#include "app/service/ans/OpenQuestionService.h"
#include "app/service/ans/OpenQuestionTopicService.h"
#include "app/service/ans/OpenQuestionUserService.h"
#include "core/open/OpenExtension.h"
#include "platform/foundation/JsonSerialization.h"
#include "tests/core/open/OpenClientFixture.h"

namespace {

class OpenQaServicesTest : public OpenClientFixture {
 protected:
  void SetUp() override {
    OpenClientFixture::SetUp();
    ServiceManager::initConfiguration(configuration(false));
    registerAppClasses();
    page->pageNo = 2;
    question->title = "怎么考试?";
    answer->content = "这样";
  }

  std::map<std::string, std::string> sentParameters() {
    auto params = FakeTransport::parameters(transport->sent().at(0));
    for (const char* signing : {"appKey_", "sign_", "timestamp_", "session_"}) params.erase(signing);
    return params;
  }

  std::string pageText() { return openValue(page); }

  OpenQuestionService questions{delegate};
  OpenQuestionTopicService topics{delegate};
  OpenQuestionUserService users{delegate};
  OpenAnswerService answers{delegate};
  std::shared_ptr<Page> page = std::make_shared<Page>();
  std::shared_ptr<QaQuestion> question = std::make_shared<QaQuestion>();
  std::shared_ptr<Answer> answer = std::make_shared<Answer>();
};

TEST_F(OpenQaServicesTest, EveryOperationSendsItsPathAndParameters) {
  const std::optional<std::string> nil;
  const struct {
    std::function<void()> call;
    const char* path;
    std::map<std::string, std::string> params;
  } cases[] = {
      {[&] { questions.get("Q1"); }, "/v1/qa/question/get", {{"questionId", "\"Q1\""}}},
      {[&] { questions.get(nil); }, "/v1/qa/question/get", {{"questionId", "null"}}},
      {[&] { questions.loadQuestions(nil, page); },
       "/v1/qa/question/loadQuestions",
       {{"title", "null"}, {"page", pageText()}}},
      {[&] { questions.loadMyAskedQuestions(page); },
       "/v1/qa/question/loadMyAskedQuestions",
       {{"page", pageText()}}},
      {[&] { questions.loadMyAnsweredQuestions(page); },
       "/v1/qa/question/loadMyAnsweredQuestions",
       {{"page", pageText()}}},
      {[&] { questions.loadMyFavoriteQuestions(page); },
       "/v1/qa/question/loadMyFavoriteQuestions",
       {{"page", pageText()}}},
      {[&] { questions.loadMyEditedQuestions(page); },
       "/v1/qa/question/loadMyEditedQuestions",
       {{"page", pageText()}}},
      {[&] { questions.loadTopicQuestions("T1", page); },
       "/v1/qa/question/loadTopicQuestions",
       {{"topicId", "\"T1\""}, {"page", pageText()}}},
      {[&] { questions.share("Q1", "看看", "APPLE_PHONE"); },
       "/v1/qa/question/share",
       {{"questionId", "\"Q1\""}, {"content", "\"看看\""}, {"clientType", "\"APPLE_PHONE\""}}},
      {[&] { questions.collect("Q1"); }, "/v1/qa/question/collect", {{"questionId", "\"Q1\""}}},
      {[&] { questions.cancelCollect("Q1"); }, "/v1/qa/question/cancelCollect", {{"questionId", "\"Q1\""}}},
      {[&] { questions.add(question, "APPLE_PAD"); },
       "/v1/qa/question/add",
       {{"question", openValue(question)}, {"clientType", "\"APPLE_PAD\""}}},
      {[&] { questions.update(question); }, "/v1/qa/question/update", {{"question", openValue(question)}}},
      {[&] { questions.isFavoriteQuestion("Q1"); },
       "/v1/qa/question/isFavoriteQuestion",
       {{"questionId", "\"Q1\""}}},
      {[&] { questions.getTopicName("Q1"); }, "/v1/qa/question/getTopicName", {{"questionId", "\"Q1\""}}},
      {[&] { questions.reminder(); }, "/v1/qa/question/reminder", {}},
      {[&] { questions.checkAnswered("Q1"); }, "/v1/qa/answer/checkAnswered", {{"questionId", "\"Q1\""}}},
      {[&] { topics.get("T1"); }, "/v1/qa/questiontopic/get", {{"topicId", "\"T1\""}}},
      {[&] { topics.getByContent("安全"); }, "/v1/qa/questiontopic/getByContent", {{"content", "\"安全\""}}},
      {[&] { topics.loadMyConcernedTopics(); }, "/v1/qa/questiontopic/loadMyConcernedTopics", {}},
      {[&] { topics.loadHotTopics("安", page); },
       "/v1/qa/questiontopic/loadHotTopics",
       {{"content", "\"安\""}, {"page", pageText()}}},
      {[&] { topics.loadLatestTopics(nil, page); },
       "/v1/qa/questiontopic/loadLatestTopics",
       {{"content", "null"}, {"page", pageText()}}},
      {[&] { topics.follow("T1"); }, "/v1/qa/questiontopic/follow", {{"topicId", "\"T1\""}}},
      {[&] { topics.cancelFollow("T1"); }, "/v1/qa/questiontopic/cancelFollow", {{"topicId", "\"T1\""}}},
      {[&] { topics.isAttentionTopic("T1"); },
       "/v1/qa/questiontopic/isAttentionTopic",
       {{"topicId", "\"T1\""}}},
      {[&] { users.getUserInfo("U1"); }, "/v1/qa/questionuser/getUserInfo", {{"userId", "\"U1\""}}},
      {[&] { answers.add(answer); }, "/v1/qa/answer/add", {{"answer", openValue(answer)}}},
      {[&] { answers.loadAnswers("Q1", page); },
       "/v1/qa/answer/loadAnswers",
       {{"questionId", "\"Q1\""}, {"page", pageText()}}},
      {[&] { answers.agree("A1"); }, "/v1/qa/answer/agree", {{"answerId", "\"A1\""}}},
      {[&] { answers.update(answer); }, "/v1/qa/answer/update", {{"answer", openValue(answer)}}},
  };
  for (const auto& c : cases) {
    transport->forget();
    c.call();
    ASSERT_EQ(transport->sentPaths(), std::vector<std::string>{c.path});
    EXPECT_EQ(sentParameters(), c.params) << c.path;
  }
}

TEST_F(OpenQaServicesTest, TypedTextReachesTheServerAsValidJsonUnchanged) {
  const std::string texts[] = {
      "\"quoted\"", "back\\slash", "line\nfeed\ttab\x01\x1f", "😀 表情", "}], \"x\": [{", "null", ""};
  for (const std::string& text : texts) {
    transport->forget();
    questions.loadQuestions(text, page);
    topics.loadLatestTopics(text, page);
    answer->content = text;
    answers.add(answer);
    ASSERT_EQ(transport->sent().size(), 3u);
    const auto filter = pf::JsonSerialization::JSONObjectWithString(
        FakeTransport::parameters(transport->sent()[0]).at("title"),
        pf::JsonSerialization::ReadingAllowFragments);
    EXPECT_EQ(filter, pf::Value(text));
    const auto topicFilter = pf::JsonSerialization::JSONObjectWithString(
        FakeTransport::parameters(transport->sent()[1]).at("content"),
        pf::JsonSerialization::ReadingAllowFragments);
    EXPECT_EQ(topicFilter, pf::Value(text));
    const auto sentAnswer = pf::JsonSerialization::JSONObjectWithString(
        FakeTransport::parameters(transport->sent()[2]).at("answer"));
    EXPECT_EQ(sentAnswer["content"], pf::Value(text));
  }
}

TEST_F(OpenQaServicesTest, AnswersAreReadIntoTheirTypes) {
  transport->setScript([](const RemoteTransport::Request& request) {
    const std::string path = FakeTransport::methodPath(request);
    if (path == "/v1/qa/question/loadQuestions") {
      return FakeTransport::ok(R"({"total": 41, "rows": [{"questionId": "Q1", "answerCount": 5000000000,
        "createTime": 1700000000000, "user": {"userId": "U1", "nickName": "小王"},
        "questionTopic": {"topicId": "T1", "content": "安全", "isFocused": true}}]})");
    }
    if (path == "/v1/qa/answer/loadAnswers") {
      return FakeTransport::ok(
          R"({"total": 1, "rows": [{"answerId": "A1", "agreeCount": 3, "isAgree": true}]})");
    }
    if (path == "/v1/qa/questiontopic/loadMyConcernedTopics") {
      return FakeTransport::ok(R"([{"topicId": "T1", "questionCount": 4}, {"topicId": "T2"}])");
    }
    if (path == "/v1/qa/question/isFavoriteQuestion") return FakeTransport::ok("true");
    if (path == "/v1/qa/question/getTopicName") return FakeTransport::ok("\"安全，质量\"");
    if (path == "/v1/qa/question/reminder") return FakeTransport::ok("7");
    if (path == "/v1/qa/questionuser/getUserInfo")
      return FakeTransport::ok(R"({"userId": "U1", "favoriteCount": 2})");
    return FakeTransport::ok(R"({"success": true})");
  });

  const auto questionPage = questions.loadQuestions("考试", page);
  ASSERT_TRUE(questionPage && questionPage->rows);
  EXPECT_EQ(questionPage->total, 41);
  const auto first = questionPage->rows->front().objectAs<QaQuestion>();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->answerCount, 5000000000LL);
  EXPECT_EQ(first->createTime, pf::Date{1700000000});
  ASSERT_TRUE(first->user && first->questionTopic);
  EXPECT_EQ(first->user->nickName, "小王");
  EXPECT_TRUE(first->questionTopic->isFocused);

  const auto answerPage = answers.loadAnswers("Q1", page);
  ASSERT_TRUE(answerPage && answerPage->rows);
  const auto firstAnswer = answerPage->rows->front().objectAs<Answer>();
  ASSERT_TRUE(firstAnswer);
  EXPECT_EQ(firstAnswer->agreeCount, 3);
  EXPECT_TRUE(firstAnswer->isAgree);

  const auto concerned = topics.loadMyConcernedTopics();
  ASSERT_TRUE(concerned);
  ASSERT_EQ(concerned->size(), 2u);
  EXPECT_EQ(concerned->front()->questionCount, 4);

  EXPECT_TRUE(questions.isFavoriteQuestion("Q1"));
  EXPECT_EQ(questions.getTopicName("Q1"), "安全，质量");
  EXPECT_EQ(questions.reminder(), 7);
  EXPECT_EQ(users.getUserInfo("U1")->favoriteCount, 2);
  EXPECT_TRUE(topics.follow("T1"));
  EXPECT_TRUE(answers.agree("A1"));
}

TEST_F(OpenQaServicesTest, FailuresAnswerNothingAndReachTheDelegate) {
  transport->answerAll(FakeTransport::failure(HttpRequestErrorCode::TimedOut));
  EXPECT_FALSE(questions.get("Q1"));
  EXPECT_FALSE(questions.collect("Q1"));
  EXPECT_FALSE(questions.isFavoriteQuestion("Q1"));
  EXPECT_FALSE(questions.getTopicName("Q1"));
  EXPECT_EQ(questions.reminder(), 0);
  EXPECT_FALSE(topics.loadMyConcernedTopics());
  EXPECT_FALSE(answers.loadAnswers("Q1", page));
  drainMainQueue();
  ASSERT_EQ(delegate->reports->size(), 7u);
  EXPECT_EQ(delegate->reports->back().requestUri, "/v1/qa/answer/loadAnswers");
}

}  // namespace
