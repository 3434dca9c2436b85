// The demo's questions and answers through the module's remote services: lists as the caller sees
// them, asking with new topics, answering and agreeing once, following topics, and the refusals.

#include <gtest/gtest.h>

#include "app/model/AppClasses.h"
#include "app/service/ans/OpenAnswerService.h"
#include "app/service/ans/OpenQuestionService.h"
#include "app/service/ans/OpenQuestionTopicService.h"
#include "app/service/ans/OpenQuestionUserService.h"
#include "tests/core/open/OpenServerFixture.h"
#include "tools/devserver/demo/DemoAns.h"

namespace {

class DemoAnsTest : public OpenServerFixture {
 protected:
  void SetUp() override {
    OpenServerFixture::SetUp();
    registerAppClasses();
    devserver::installDemoAns(server, MARLUNE_DEMO_DATA);
    ASSERT_TRUE(logIn().isString());
  }

  // The key of every row of the page, in order.
  template <typename Row>
  static std::vector<std::string> ids(const std::shared_ptr<Page>& page,
                                      std::optional<std::string> Row::*key) {
    std::vector<std::string> ids;
    if (!page || !page->rows) return ids;
    for (const pf::Value& row : *page->rows) {
      const auto entity = row.objectAs<Row>();
      ids.push_back(entity && (*entity).*key ? *((*entity).*key) : "?");
    }
    return ids;
  }

  std::shared_ptr<QaQuestion> ask(const std::string& title, const std::string& topicName) {
    auto question = std::make_shared<QaQuestion>();
    question->title = title;
    question->topicName = topicName;
    return questions.add(question, "APPLE_PHONE");
  }

  std::size_t reportedErrors() {
    drainMainQueue();
    return delegate->reports->size();
  }

  std::shared_ptr<Page> page = std::make_shared<Page>();
  OpenQuestionService questions{delegate};
  OpenAnswerService answers{delegate};
  OpenQuestionTopicService topics{delegate};
  OpenQuestionUserService users{delegate};
};

TEST_F(DemoAnsTest, ListsQuestionsNewestFirstWithTheirTopicsAndAuthors) {
  const auto all = questions.loadQuestions(std::nullopt, page);
  const auto newest = ids(all, &QaQuestion::questionId);
  ASSERT_EQ(newest.size(), 20u) << "a full first page";
  EXPECT_EQ(std::vector<std::string>(newest.begin(), newest.begin() + 5),
            (std::vector<std::string>{"QA-004", "QA-003", "QA-002", "QA-001", "QA-005"}));
  EXPECT_EQ(all->total, 28) << "more than a page, so the question list pages";
  EXPECT_EQ(ids(questions.loadQuestions("考试", page), &QaQuestion::questionId),
            std::vector<std::string>{"QA-003"});

  const auto first = questions.get("QA-001");
  ASSERT_TRUE(first && first->user && first->questionTopic);
  EXPECT_EQ(first->answerCount, 2);
  EXPECT_TRUE(first->isAnswered);
  EXPECT_EQ(first->user->nickName, "王芳");
  EXPECT_EQ(first->questionTopic->content, "安全生产");
  EXPECT_EQ(questions.getTopicName("QA-003"), "考试，学习方法");
  EXPECT_EQ(ids(questions.loadTopicQuestions("QT-004", page), &QaQuestion::questionId),
            (std::vector<std::string>{"QA-004", "QA-003"}));
  // Only QA-004 is someone else's question that nobody has answered.
  EXPECT_EQ(questions.reminder(), 1);

  page->pageSize = 3;
  page->pageNo = 2;
  EXPECT_EQ(ids(questions.loadQuestions(std::nullopt, page), &QaQuestion::questionId),
            (std::vector<std::string>{"QA-001", "QA-005", "QA-006"}));
  EXPECT_EQ(reportedErrors(), 0u);
}

TEST_F(DemoAnsTest, AskingKeepsTheTextAsTypedAndMakesItsTopics) {
  const std::string title = "\"引号\" \\ 反斜杠\n\t\x01 😀 {\"json\": [1]}";
  const auto asked = ask(title, "新话题，考试");
  ASSERT_TRUE(asked && asked->questionId);
  EXPECT_EQ(asked->title, title);
  EXPECT_EQ(questions.get(asked->questionId)->title, title);

  const auto topic = topics.getByContent("新话题");
  ASSERT_TRUE(topic);
  EXPECT_EQ(topic->questionCount, 1);
  EXPECT_EQ(ids(questions.loadTopicQuestions(topic->topicId, page), &QaQuestion::questionId),
            std::vector<std::string>{*asked->questionId});
  EXPECT_EQ(ids(questions.loadMyAskedQuestions(page), &QaQuestion::questionId),
            std::vector<std::string>{*asked->questionId});

  asked->title = "改过的标题";
  ASSERT_TRUE(questions.update(asked));
  EXPECT_EQ(ids(questions.loadMyEditedQuestions(page), &QaQuestion::questionId),
            std::vector<std::string>{*asked->questionId});
  EXPECT_EQ(reportedErrors(), 0u);

  EXPECT_FALSE(ask("  ", "考试")) << "no title";
  const auto others = questions.get("QA-001");
  others->title = "不是我的";
  EXPECT_FALSE(questions.update(others)) << "someone else's question";
  EXPECT_FALSE(topics.getByContent("没有这个话题"));
  EXPECT_EQ(reportedErrors(), 2u);
}

TEST_F(DemoAnsTest, AnswersAgreementsAndCollections) {
  EXPECT_FALSE(questions.checkAnswered("QA-001"));
  auto given = std::make_shared<Answer>();
  given->questionId = "QA-001";
  given->content = "每年检查一次。";
  given->operationType = Answer::kOperationAdd;
  const auto answer = answers.add(given);
  ASSERT_TRUE(answer && answer->answerId);
  EXPECT_TRUE(questions.checkAnswered("QA-001"));
  EXPECT_EQ(ids(answers.loadAnswers("QA-001", page), &Answer::answerId),
            (std::vector<std::string>{"AN-001", "AN-002", *answer->answerId}));
  EXPECT_EQ(ids(questions.loadMyAnsweredQuestions(page), &QaQuestion::questionId),
            std::vector<std::string>{"QA-001"});

  EXPECT_TRUE(answers.agree("AN-002"));
  EXPECT_FALSE(answers.agree("AN-002")) << "agreed already";
  const auto listed = answers.loadAnswers("QA-001", page);
  const auto second = listed->rows->at(1).objectAs<Answer>();
  EXPECT_EQ(second->agreeCount, 1);
  EXPECT_TRUE(second->isAgree);
  EXPECT_EQ(listed->rows->at(0).objectAs<Answer>()->agreeCount, 2);

  auto others = listed->rows->at(0).objectAs<Answer>();
  others->content = "改别人的回答";
  EXPECT_FALSE(answers.update(others));
  answer->content = "每年检查一次，每月看压力表。";
  ASSERT_TRUE(answers.update(answer));
  EXPECT_EQ(answers.update(answer)->operationType, "MODIFY");

  EXPECT_FALSE(questions.isFavoriteQuestion("QA-002"));
  EXPECT_TRUE(questions.collect("QA-002"));
  EXPECT_TRUE(questions.isFavoriteQuestion("QA-002"));
  EXPECT_TRUE(questions.get("QA-002")->isFavorite);
  EXPECT_EQ(ids(questions.loadMyFavoriteQuestions(page), &QaQuestion::questionId),
            std::vector<std::string>{"QA-002"});
  EXPECT_TRUE(questions.cancelCollect("QA-002"));
  EXPECT_FALSE(questions.isFavoriteQuestion("QA-002"));
  EXPECT_FALSE(questions.collect("QA-404"));
  EXPECT_TRUE(questions.share("QA-002", "推荐", "APPLE_PAD"));
  EXPECT_EQ(users.getUserInfo("U-1")->answerCount, 1);
  EXPECT_EQ(users.getUserInfo("U9103")->answerCount, 2);
}

TEST_F(DemoAnsTest, FollowingTopics) {
  EXPECT_FALSE(topics.isAttentionTopic("QT-002"));
  EXPECT_TRUE(topics.follow("QT-002"));
  EXPECT_TRUE(topics.isAttentionTopic("QT-002"));
  const auto concerned = topics.loadMyConcernedTopics();
  ASSERT_TRUE(concerned);
  ASSERT_EQ(concerned->size(), 1u);
  EXPECT_TRUE(concerned->front()->isFocused);
  EXPECT_EQ(concerned->front()->attentionCount, 2);
  EXPECT_EQ(users.getUserInfo("U-1")->topicCount, 1);
  EXPECT_TRUE(topics.cancelFollow("QT-002"));
  EXPECT_TRUE(topics.loadMyConcernedTopics()->empty());
  EXPECT_FALSE(topics.follow("QT-404"));

  EXPECT_EQ(ids(topics.loadLatestTopics(std::nullopt, page), &QuestionTopic::topicId),
            (std::vector<std::string>{"QT-007", "QT-006", "QT-005", "QT-004", "QT-003", "QT-002", "QT-001"}));
  EXPECT_EQ(ids(topics.loadHotTopics(std::nullopt, page), &QuestionTopic::topicId).front(), "QT-004");
  EXPECT_EQ(ids(topics.loadHotTopics("安全", page), &QuestionTopic::topicId),
            (std::vector<std::string>{"QT-001", "QT-002"}));
  EXPECT_EQ(topics.get("QT-001")->answerCount, 2);
}

}  // namespace
