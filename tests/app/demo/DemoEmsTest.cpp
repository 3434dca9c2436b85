// The demo's exams through the exam module's remote services: the list with each exam's standing,
// entering a paper, marking a submission against the right answers kept by the server, the badges.

#include <gtest/gtest.h>

#include "app/model/AppClasses.h"
#include "app/model/ems/EmsExam.h"
#include "app/service/ems/OpenExamService.h"
#include "app/service/ems/OpenPaperService.h"
#include "tests/core/open/OpenServerFixture.h"
#include "tools/devserver/demo/DemoEms.h"

namespace {

class DemoEmsTest : public OpenServerFixture {
 protected:
  void SetUp() override {
    OpenServerFixture::SetUp();
    registerAppClasses();
    devserver::installDemoEms(server, MARLUNE_DEMO_DATA);
    ASSERT_TRUE(logIn().isString());
  }

  std::shared_ptr<EmsExam> exam(const std::string& examId) {
    const auto answer = exams.loadExamsAfter(pf::Date{100'000'000});
    if (!answer || !answer->results) return nullptr;
    for (const pf::Value& element : *answer->results) {
      auto exam = element.objectAs<EmsExam>();
      if (exam && exam->examId == examId) return exam;
    }
    return nullptr;
  }

  std::shared_ptr<EmsPaper> enter(const std::string& examId) {
    const auto papers = papers_.loadPapers(examId);
    return papers && papers->size() == 1 ? papers->front() : nullptr;
  }

  // The paper with these answers, by question id, and a claim of full marks the server must ignore.
  std::optional<std::string> submit(const std::shared_ptr<EmsPaper>& paper,
                                    const std::map<std::string, std::string>& answers) {
    for (const auto& question : paper->questions) {
      const auto it = answers.find(question->questionId.value_or(""));
      question->userAnswer = it == answers.end() ? std::nullopt : std::optional(it->second);
      question->passed = true;
      question->userScore = question->score;
    }
    const auto results = papers_.batchSubmit({paper});
    if (!results || results->size() != 1) return "no result";
    EXPECT_EQ(results->front()->examResultId, paper->examResultId);
    return results->front()->resultCode;
  }

  OpenExamService exams{delegate};
  OpenPaperService papers_{delegate};
};

TEST_F(DemoEmsTest, ListsEveryExamWithTheLearnersStanding) {
  const auto answer = exams.loadExamsAfter(pf::Date{100'000'000});
  ASSERT_TRUE(answer && answer->results);
  EXPECT_EQ(answer->results->size(), 10u);
  const auto quality = exam("EX-QUALITY");
  ASSERT_TRUE(quality);
  EXPECT_EQ(quality->status, "unpassed");
  EXPECT_EQ(quality->examCount, 1);
  EXPECT_EQ(quality->remainJoinCount, 1);
  EXPECT_FLOAT_EQ(quality->userExamScore, 0);
  EXPECT_FLOAT_EQ(quality->totalScore, 100);
  const auto compliance = exam("EX-COMPLIANCE");
  ASSERT_TRUE(compliance && compliance->startTime);
  EXPECT_GT(compliance->startTime->seconds, pf::Date::now().seconds);
  EXPECT_EQ(exam("EX-ETHICS")->status, "passed");
  const auto device = exam("EX-DEVICE");
  ASSERT_TRUE(device);
  EXPECT_EQ(device->status, "join_unsubmit");
  EXPECT_EQ(device->examCount, 2);
  EXPECT_EQ(exam("EX-TEAM")->status, "unjudged");
  const auto infosec = exam("EX-INFOSEC");
  ASSERT_TRUE(infosec);
  EXPECT_EQ(infosec->maxIdleTime, 0);
  EXPECT_FLOAT_EQ(infosec->passRate, 59.5f);
  // Open and not joined: safety, service, product, information security; going on: device.
  EXPECT_EQ(exams.myExamReminder(), 6);
  EXPECT_EQ(exams.judgingExamReminder(), 1);
}

TEST_F(DemoEmsTest, MarksASubmissionWithItsOwnRightAnswers) {
  const auto paper = enter("EX-SAFETY");
  ASSERT_TRUE(paper);
  ASSERT_EQ(paper->questions.size(), 4u);
  EXPECT_EQ(paper->questions[1]->answer, "S2-A``S2-B``S2-D``");
  EXPECT_EQ(exam("EX-SAFETY")->status, "join_unsubmit");

  // Multiple choice in the wrong order and one question left out: 20 + 20 of 100 fails at 60%.
  EXPECT_EQ(submit(paper, {{"Q-SAFE-1", "S1-C"}, {"Q-SAFE-2", "S2-B``S2-A``S2-D"}, {"Q-SAFE-3", "false"}}),
            "success");
  auto marked = exam("EX-SAFETY");
  EXPECT_EQ(marked->status, "unpassed");
  EXPECT_FLOAT_EQ(marked->userExamScore, 40);
  EXPECT_EQ(marked->remainJoinCount, 2);

  const auto last = papers_.getLastPaper("EX-SAFETY");
  ASSERT_TRUE(last);
  ASSERT_EQ(last->questions.size(), 4u);
  EXPECT_EQ(last->questions[1]->userAnswer, "S2-B``S2-A``S2-D");
  EXPECT_FALSE(last->questions[1]->passed);
  EXPECT_TRUE(last->questions[0]->passed);
  EXPECT_FLOAT_EQ(last->questions[0]->userScore, 20);

  EXPECT_EQ(submit(paper, {}), "notJoined") << "an attempt is submitted once";

  const auto retake = enter("EX-SAFETY");
  ASSERT_TRUE(retake);
  EXPECT_NE(retake->examResultId, paper->examResultId);
  EXPECT_EQ(submit(retake, {{"Q-SAFE-1", "S1-C"},
                            {"Q-SAFE-2", "S2-A``S2-B``S2-D"},
                            {"Q-SAFE-3", "false"},
                            {"Q-SAFE-4", "true"}}),
            "success");
  marked = exam("EX-SAFETY");
  EXPECT_EQ(marked->status, "passed");
  EXPECT_EQ(marked->examCount, 2);
  EXPECT_FLOAT_EQ(marked->score, 2);
}

TEST_F(DemoEmsTest, TypedAnswersWaitForAMarker) {
  const auto paper = enter("EX-SERVICE");
  ASSERT_TRUE(paper);
  EXPECT_EQ(submit(paper, {{"Q-SERV-4", "false``隐私"}, {"Q-SERV-5", "首问负责"}}), "success");
  EXPECT_EQ(exam("EX-SERVICE")->status, "unjudged");
  EXPECT_EQ(exams.judgingExamReminder(), 2);
  EXPECT_EQ(exams.myExamReminder(), 5);
}

// Faults caught: picture addresses left as bare paths the app cannot load.
TEST_F(DemoEmsTest, PicturesOfAPaperCarryTheStandInsAddress) {
  const auto paper = enter("EX-INFOSEC");
  ASSERT_TRUE(paper);
  ASSERT_EQ(paper->questions.size(), 11u);
  ASSERT_EQ(paper->questions[0]->attachments.size(), 3u);
  ASSERT_EQ(paper->questions[1]->attachments.size(), 1u);
  EXPECT_EQ(paper->questions[1]->attachments[0]->objectType, "OPTION");
  for (const auto& attachment : paper->questions[0]->attachments)
    EXPECT_EQ(attachment->url.value_or("").rfind(server.url("/media/ems/"), 0), 0u) << attachment->url.value_or("");
}

TEST_F(DemoEmsTest, RefusesPapersItDoesNotKnow) {
  auto stranger = std::make_shared<EmsPaper>();
  stranger->examId = "EX-SAFETY";
  stranger->paperId = "PA-OTHER";
  EXPECT_EQ(submit(stranger, {}), "paperNotFound");
  const auto none = papers_.loadPapers("EX-NONE");
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->empty());
}

}  // namespace
