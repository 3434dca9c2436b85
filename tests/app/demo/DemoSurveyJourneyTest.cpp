// The demo learner's surveys and questions from the app's services, over the HTTP engine against the
// stand-in serving the demo folder: what the learner sees on the list and what answering changes.

#include <gtest/gtest.h>

#include <memory>

#include "app/service/ans/AnsService.h"
#include "app/service/qsm/QsmService.h"
#include "core/open/OpenExtension.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/RunLoop.h"
#include "tests/app/support/DemoServerSandbox.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tools/devserver/demo/DemoAns.h"
#include "tools/devserver/demo/DemoQsm.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

class DemoSurveyJourneyTest : public DemoServerSandbox {
 protected:
  void SetUp() override {
    DemoServerSandbox::SetUp();
    startServer([](devserver::OpenServer& standIn) {
      devserver::installDemoQsm(standIn, MARLUNE_DEMO_DATA);
      devserver::installDemoAns(standIn, MARLUNE_DEMO_DATA);
    });
    if (HasFatalFailure()) return;
    openSession();
  }

  std::vector<std::pair<std::string, std::string>> listed(QsmService& surveys) {
    std::vector<std::pair<std::string, std::string>> listed;
    const auto all = surveys.listAllSurveys();
    if (!all) return listed;
    for (const auto& survey : *all) listed.emplace_back(*survey->surveyId, survey->statusText.value_or("?"));
    return listed;
  }

};

TEST_F(DemoSurveyJourneyTest, TheLearnerAnswersAnOpenSurveyOnce) {
  QsmService surveys(delegate);
  using Listed = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(listed(surveys), (Listed{{"QS-003", "等待"},
                                     {"QS-002", "进入"},
                                     {"QS-006", "进入"},
                                     {"QS-001", "进入"},
                                     {"QS-005", "完成"},
                                     {"QS-004", "过期"}}));

  const auto all = surveys.listAllSurveys();
  ASSERT_TRUE(all);
  std::shared_ptr<QsmSurvey> survey;
  for (const auto& s : *all) {
    if (s->surveyId == "QS-001") survey = s;
  }
  ASSERT_TRUE(survey && survey->questions);
  for (const auto& question : *survey->questions) {
    if (question->items && !question->items->empty()) question->items->back()->selected = true;
    if (question->canInputText()) question->inputText = "按实际填写 \"ok\"";
    EXPECT_TRUE(question->isAnswered()) << *question->questionId;
  }
  EXPECT_TRUE(surveys.submitSurvey(survey));
  EXPECT_EQ(listed(surveys)[3], (std::pair<std::string, std::string>{"QS-001", "完成"}));
  EXPECT_FALSE(surveys.submitSurvey(survey)) << "a second submission";
}

TEST_F(DemoSurveyJourneyTest, TheLearnerAsksWithNormalisedTopics) {
  AnsService answers(delegate);
  const std::string typed = "考试, 考试,新 话题,";
  ASSERT_TRUE(answers.checkTopicLegalWithTopicName(typed));
  auto question = std::make_shared<QaQuestion>();
  question->title = "断网后答案还在吗？";
  question->topicName = answers.reBuiltTopicNameOfTopicName(typed);
  const auto asked = answers.addQuestion(question);
  ASSERT_TRUE(asked);
  EXPECT_EQ(answers.getTopicNameByQuestionId(asked->questionId), "考试，考试，新话题");
  EXPECT_TRUE(answers.getQuestionByFilterText("新话题"));
  const auto mine = answers.loadMyAskedQuestions(std::make_shared<Page>());
  ASSERT_TRUE(mine && mine->rows);
  EXPECT_EQ(mine->total, 2) << "the demo learner had asked one before";
}

}  // namespace
