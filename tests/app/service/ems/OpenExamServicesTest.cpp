// What the exam module's remote services send, and how they read answers the server gets wrong.

#include <gtest/gtest.h>

#include "app/model/AppClasses.h"
#include "app/service/ems/OpenExamService.h"
#include "app/service/ems/OpenPaperService.h"
#include "tests/core/open/OpenServerFixture.h"

namespace {

class OpenExamServicesTest : public OpenServerFixture {
 protected:
  void SetUp() override {
    OpenServerFixture::SetUp();
    registerAppClasses();
    ASSERT_TRUE(logIn().isString());
  }

  void answer(const std::string& path, const std::string& json) {
    server.method(path, [json](const devserver::OpenCall&) { return devserver::OpenAnswer::json(json); });
  }
  std::map<std::string, std::string> sent(const std::string& path) {
    const auto calls = server.calls(path);
    return calls.empty() ? std::map<std::string, std::string>{} : calls.back().parameters;
  }

  OpenExamService exams{delegate};
  OpenPaperService papers{delegate};
};

TEST_F(OpenExamServicesTest, MissingExamIdsAreSentAsTheServerExpects) {
  answer("/v1/ems/paper/loadPapers", "[]");
  answer("/v1/ems/paper/getLastPaper", "null");
  EXPECT_TRUE(papers.loadPapers(std::nullopt));
  EXPECT_EQ(sent("/v1/ems/paper/loadPapers").at("examIds"), "null");
  EXPECT_EQ(papers.getLastPaper(std::nullopt), nullptr);
  EXPECT_FALSE(sent("/v1/ems/paper/getLastPaper").contains("examId"));
  papers.getLastPaper("E\"1");
  EXPECT_EQ(server.calls("/v1/ems/paper/getLastPaper").back().text("examId"), "E\"1");
}

TEST_F(OpenExamServicesTest, SubmitsPapersAsAListOfObjects) {
  answer("/v1/ems/paper/batchSubmit", R"([{"examResultId": "R1", "resultCode": "success"}])");
  auto paper = std::make_shared<EmsPaper>();
  paper->paperId = "P1";
  paper->isJoin = true;
  auto question = std::make_shared<EmsQuestion>();
  question->questionId = "Q1";
  question->userAnswer = "a``b";
  paper->questions = {question};
  const auto results = papers.batchSubmit({paper});
  ASSERT_TRUE(results);
  ASSERT_EQ(results->size(), 1u);
  EXPECT_EQ(results->front()->resultCode, "success");
  const std::string papersSent = sent("/v1/ems/paper/batchSubmit").at("papers");
  EXPECT_NE(papersSent.find("\"userAnswer\" : \"a``b\""), std::string::npos) << papersSent;
  EXPECT_NE(papersSent.find("\"isJoin\" : true"), std::string::npos) << papersSent;
}

TEST_F(OpenExamServicesTest, FailedCallsAnswerNothingAndCountsZero) {
  server.method("/v1/ems/exam/myExamReminder",
                [](const devserver::OpenCall&) { return devserver::OpenAnswer::error("ems.down", "down"); });
  EXPECT_EQ(exams.myExamReminder(), 0);
  EXPECT_EQ(exams.loadExamsAfter(pf::Date{1}), nullptr);
  EXPECT_FALSE(papers.loadPapers("E1"));
  EXPECT_FALSE(papers.batchSubmit({}));
  drainMainQueue();
  EXPECT_EQ(delegate->reports->size(), 4u);
}

}  // namespace
