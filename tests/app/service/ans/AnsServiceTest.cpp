// The questions-and-answers service on a launched device over a scripted network: the nil guards
// that send nothing, the client type it adds, and the topic check with its alert.

#include "app/service/ans/AnsService.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/service/ans/TopicText.h"
#include "tests/app/support/RemoteServiceSandbox.h"

namespace {

class AnsServiceTest : public RemoteServiceSandbox {
 protected:
  void SetUp() override {
    RemoteServiceSandbox::SetUp();
    service = std::make_unique<AnsService>(delegate);
    transport->answerAll(FakeTransport::ok(R"({"success": true})"));
  }

  std::unique_ptr<AnsService> service;
  const std::optional<std::string> nil;
  const std::shared_ptr<Page> page = std::make_shared<Page>();
};

TEST_F(AnsServiceTest, ANilArgumentAnswersNothingWithoutACall) {
  const struct {
    const char* name;
    std::function<bool()> answeredSomething;
  } cases[] = {
      {"addQuestion", [&] { return service->addQuestion(nullptr) != nullptr; }},
      {"updateQuestion", [&] { return service->updateQuestion(nullptr) != nullptr; }},
      {"getQuestionById", [&] { return service->getQuestionById(nil) != nullptr; }},
      {"getTopicNameByQuestionId", [&] { return service->getTopicNameByQuestionId(nil).has_value(); }},
      {"shareQuestionWithQuestionId", [&] { return service->shareQuestionWithQuestionId(nil, "看看"); }},
      {"loadQuestionByContent", [&] { return service->loadQuestionByContent("考试", nullptr) != nullptr; }},
      {"loadMyAskedQuestions", [&] { return service->loadMyAskedQuestions(nullptr) != nullptr; }},
      {"loadMyAnsweredQuestions", [&] { return service->loadMyAnsweredQuestions(nullptr) != nullptr; }},
      {"loadMyFavoriteQuestions", [&] { return service->loadMyFavoriteQuestions(nullptr) != nullptr; }},
      {"loadTopicQuestionsByTopicId: topic",
       [&] { return service->loadTopicQuestionsByTopicId(nil, page) != nullptr; }},
      {"loadTopicQuestionsByTopicId: page",
       [&] { return service->loadTopicQuestionsByTopicId("T1", nullptr) != nullptr; }},
      {"collect", [&] { return service->collect(nil); }},
      {"cancelCollect", [&] { return service->cancelCollect(nil); }},
      {"isFavoriteQuestion", [&] { return service->isFavoriteQuestion(nil); }},
      {"answerStatusOfQuestion", [&] { return service->answerStatusOfQuestion(nil); }},
      {"addAnswer", [&] { return service->addAnswer(nullptr) != nullptr; }},
      {"updateAnswer", [&] { return service->updateAnswer(nullptr) != nullptr; }},
      {"agree", [&] { return service->agree(nil); }},
      {"loadAnswersOfQuestion: question",
       [&] { return service->loadAnswersOfQuestion(nil, page) != nullptr; }},
      {"loadAnswersOfQuestion: page",
       [&] { return service->loadAnswersOfQuestion("Q1", nullptr) != nullptr; }},
      {"getQuestionByFilterText", [&] { return service->getQuestionByFilterText(nil) != nullptr; }},
      {"loadLatestTopicsBySearchText",
       [&] { return service->loadLatestTopicsBySearchText("安", nullptr) != nullptr; }},
      {"followTopicById", [&] { return service->followTopicById(nil); }},
      {"cancelFollowTopicById", [&] { return service->cancelFollowTopicById(nil); }},
      {"isAttentionTopic", [&] { return service->isAttentionTopic(nil); }},
      {"getUserInfoByUserId", [&] { return service->getUserInfoByUserId(nil) != nullptr; }},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(c.answeredSomething()) << c.name;
    EXPECT_TRUE(transport->sent().empty()) << c.name;
    transport->forget();
  }
  drainMainQueue();
  EXPECT_TRUE(delegate->reports->empty());
}

TEST_F(AnsServiceTest, FiltersMayBeNilAndTheClientTypeGoesWithAskingAndSharing) {
  EXPECT_EQ(service->clientType(), CommonService::kClientTypePhone);
  transport->answerAll(FakeTransport::ok(R"({"total": 0, "rows": []})"));
  EXPECT_TRUE(service->loadQuestionByContent(nil, page));
  EXPECT_EQ(sentParameters().at("title"), "null");
  transport->forget();
  EXPECT_TRUE(service->loadLatestTopicsBySearchText(nil, page));
  EXPECT_EQ(sentParameters().at("content"), "null");

  transport->answerAll(FakeTransport::ok(R"({"questionId": "QA-9", "title": "新问题"})"));
  transport->forget();
  auto question = std::make_shared<QaQuestion>();
  question->title = "新问题";
  ASSERT_TRUE(service->addQuestion(question));
  EXPECT_EQ(sentParameters().at("clientType"), "\"APPLE_PHONE\"");

  transport->answerAll(FakeTransport::ok(R"({"success": true})"));
  transport->forget();
  service->setClientType(CommonService::kClientTypePad);
  EXPECT_TRUE(service->shareQuestionWithQuestionId("QA-9", nil));
  EXPECT_EQ(sentParameters(),
            (std::map<std::string, std::string>{
                {"questionId", "\"QA-9\""}, {"content", "null"}, {"clientType", "\"APPLE_PAD\""}}));

  transport->forget();
  service->updateQuestionReminder();
  EXPECT_TRUE(transport->sent().empty()) << "the badge reset is local";
}

TEST_F(AnsServiceTest, ARejectedTopicTextShowsWhyInAnAlert) {
  const struct {
    const char* text;
    bool legal;
    const char* message;
  } cases[] = {
      {"安全,质量，效率", true, nullptr},
      {"", true, nullptr},
      {"a,b,c,d,e，f", false, TopicText::kTooManyMessage},
      {"a,b,c,d,e,这个话题的名字太长了一点点", false, TopicText::kTooLongMessage},
  };
  for (const auto& c : cases) {
    pf::AlertView::resetVisibleAlerts();
    EXPECT_EQ(service->checkTopicLegalWithTopicName(c.text), c.legal) << c.text;
    const auto alerts = pf::AlertView::visibleAlerts();
    if (c.legal) {
      EXPECT_TRUE(alerts.empty()) << c.text;
      continue;
    }
    ASSERT_EQ(alerts.size(), 1u) << c.text;
    EXPECT_EQ(alerts[0]->title(), AnsService::kAlertTitle);
    EXPECT_EQ(alerts[0]->message(), c.message);
    ASSERT_EQ(alerts[0]->numberOfButtons(), 1);
    EXPECT_EQ(alerts[0]->buttonTitleAtIndex(0), AnsService::kAlertButton);
    EXPECT_TRUE(alerts[0]->delegate().expired());
  }
  EXPECT_TRUE(transport->sent().empty());
  EXPECT_EQ(service->reBuiltTopicNameOfTopicName(",,安全, 安全,"), "安全，安全");
}

}  // namespace
