// The exam service with the device's store and a scripted server: the exam list, papers with the
// learner's kept answers merged in, keeping unfinished answers, and submission.

#include "app/service/ems/ExamService.h"

#include <gtest/gtest.h>

#include "core/open/OpenExtension.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "tests/app/support/AppSandbox.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tools/devserver/open/OpenServer.h"

namespace {

constexpr char kLoadPapers[] = "/v1/ems/paper/loadPapers";
constexpr char kLastPaper[] = "/v1/ems/paper/getLastPaper";
constexpr char kSubmit[] = "/v1/ems/paper/batchSubmit";
constexpr char kExams[] = "/v1/ems/exam/loadExamsAfter";

// Q1 single choice answered "a" and marked wrong, Q2 true/false answered "true" and marked right, Q3
// a typed question; Q1's option "b" and Q1 itself carry a picture.
constexpr char kPaper[] = R"({"paperId": "P1", "examId": "E1", "examResultId": "R1", "questions": [
  {"questionId": "Q1", "paperId": "P1", "type": "SINGLE", "score": 10, "answer": "a", "userAnswer": "a",
   "passed": false, "items": [{"itemId": "a", "showOrder": 1}, {"itemId": "b", "showOrder": 2}],
   "attachments": [{"id": "F1", "objectType": "ITEM", "objectId": "Q1"},
                   {"id": "F2", "objectType": "OPTION", "objectId": "b"}]},
  {"questionId": "Q2", "paperId": "P1", "type": "JUDGMENT", "score": 10, "answer": "true",
   "userAnswer": "true", "passed": true, "userScore": 10},
  {"questionId": "Q3", "paperId": "P1", "type": "FILL", "score": 20, "answer": "blue", "userAnswer": "red"}]})";

class ExamServiceTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    service = std::make_unique<ExamService>(delegate);
    pf::RunLoop::setMainThread();
    server.addUser({"acme", "alice", "pw", "U1"});
    ASSERT_TRUE(server.start());
    RequestUtil::setTransport(nullptr);
    ServiceConfiguration configuration;
    configuration.appKey = "K";
    configuration.secret = "S";
    configuration.baseUrl = server.host();
    ServiceManager::initConfiguration(configuration);
    ServiceManager::sessionCache().clear();
    ServiceManager::ParamDic login{
        {"loginName", openValue("alice")}, {"password", openValue("pw")}, {"corpCode", openValue("acme")}};
    ASSERT_TRUE(
        ServiceManager::performRemoteMethod("/v1/uc/login/ologin", login, "NSString", nullptr).isString());
    signIn("U1");
    answer(kLoadPapers, std::string("[") + kPaper + "]");
    answer(kLastPaper, kPaper);
  }
  void TearDown() override {
    server.stop();
    ServiceManager::sessionCache().clear();
    pf::RunLoop::main()->clear();
    AppSandbox::TearDown();
  }

  static void signIn(const std::string& userId) {
    auto user = std::make_shared<User>();
    user->userId = userId;
    CommonService().updateCurrentUser(user);
  }
  void answer(const std::string& path, const std::string& json) {
    server.method(path, [json](const devserver::OpenCall&) { return devserver::OpenAnswer::json(json); });
  }
  void fail(const std::string& path) {
    server.method(
        path, [](const devserver::OpenCall&) { return devserver::OpenAnswer::error("ems.down", "down"); });
  }
  size_t reportCount() {
    bool drained = false;
    pf::DispatchQueue::main()->async([&] { drained = true; });
    EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 5));
    return delegate->reports->size();
  }

  static std::shared_ptr<EmsExam> exam(std::optional<std::string> allowViewOldAnswer = "allowAll") {
    auto exam = std::make_shared<EmsExam>();
    exam->examId = "E1";
    exam->allowViewOldAnswer = std::move(allowViewOldAnswer);
    exam->showResultType = "AUTO";
    exam->passRate = 50;
    return exam;
  }
  // The kept answers of E1/P1 for the current user, as question id and answer.
  std::map<std::string, std::string> kept() {
    std::map<std::string, std::string> answers;
    for (const auto& row : service->loadUserAnswerWithExamId("E1", "P1")) {
      answers[row->questionId.value_or("?")] = row->userAnswer.value_or("?");
    }
    return answers;
  }
  static std::vector<std::string> selectedIds(const EmsQuestion& question) {
    std::vector<std::string> ids;
    for (const auto& item : question.selectedItems()) ids.push_back(item->itemId.value_or("?"));
    return ids;
  }

  devserver::OpenServer server{{"K", "S", 900, 600, {}}};
  std::shared_ptr<ServiceErrorRecorder> delegate = std::make_shared<ServiceErrorRecorder>();
  std::unique_ptr<ExamService> service;
};

TEST_F(ExamServiceTest, ListsExamsWithTheirStatusEvenWithoutTimes) {
  answer(kExams, R"({"serverTime": 1700000000000, "results": [
      {"examId": "E1", "status": "unjoined"},
      {"examId": "E2", "status": "unjoined", "startTime": 4102444800000},
      {"examId": "E3", "status": "unpassed", "autoRejoin": true, "remainJoinCount": 1, "endTime": 946684800000}]})");
  const auto exams = service->listAllExams();
  ASSERT_TRUE(exams);
  ASSERT_EQ(exams->size(), 3u);
  EXPECT_EQ((*exams)[0]->statusText, "进入考试");
  EXPECT_EQ((*exams)[1]->statusText, "即将开始");
  EXPECT_EQ((*exams)[2]->statusText, "考试未通过");
  EXPECT_EQ(server.calls(kExams).back().parameters.at("lastUpdateTime"), "100000000000");

  fail(kExams);
  EXPECT_FALSE(service->listAllExams());
  EXPECT_EQ(reportCount(), 1u);
}

TEST_F(ExamServiceTest, KeptAnswersRoundTripAndEachSaveReplacesTheSet) {
  const auto e = exam();
  e->paper = service->findPaperWithExam(*e, false, false);
  ASSERT_TRUE(e->paper);
  auto& questions = e->paper->questions;
  questions[0]->items[1]->selected = true;
  questions[2]->inputText = "green";
  ASSERT_TRUE(service->saveUserAnswerWithExam(e));
  EXPECT_EQ(kept(), (std::map<std::string, std::string>{{"Q1", "b"}, {"Q3", "green"}}))
      << "Q2 has nothing chosen and keeps no row";

  // Another learner's answers on this device stay apart.
  signIn("U2");
  ASSERT_TRUE(service->saveUserAnswerWithExam(e));
  signIn("U1");

  questions[0]->items[1]->selected = false;
  questions[0]->items[0]->selected = true;
  questions[1]->items[0]->selected = true;
  questions[2]->inputText = "";
  ASSERT_TRUE(service->saveUserAnswerWithExam(e));
  EXPECT_EQ(kept(), (std::map<std::string, std::string>{{"Q1", "a"}, {"Q2", "true"}}));

  // A paper without questions keeps what was kept.
  const auto empty = exam();
  empty->paper = std::make_shared<EmsPaper>();
  empty->paper->paperId = "P1";
  EXPECT_FALSE(service->saveUserAnswerWithExam(empty));
  EXPECT_EQ(kept().size(), 2u);

  CommonService().updateCurrentUser(nullptr);
  EXPECT_FALSE(service->saveUserAnswerWithExam(e)) << "nobody signed in";
  signIn("U1");
  EXPECT_EQ(kept().size(), 2u);

  ASSERT_TRUE(service->deleteUserAnswerWithExam(*e));
  EXPECT_TRUE(kept().empty());
  signIn("U2");
  EXPECT_EQ(kept(), (std::map<std::string, std::string>{{"Q1", "b"}, {"Q3", "green"}}));
}

TEST_F(ExamServiceTest, ASaveThatCannotBeWrittenKeepsTheEarlierSet) {
  const auto e = exam();
  e->paper = service->findPaperWithExam(*e, false, false);
  e->paper->questions[0]->items[1]->selected = true;
  ASSERT_TRUE(service->saveUserAnswerWithExam(e));
  // A full disk, as far as the new typed answer is concerned.
  ASSERT_TRUE(VelkDBHelper::instance()->executeUpdate(
      "create trigger refuse_q3 before insert on ems_user_answer when new.question_id = 'Q3' "
      "begin select raise(abort, 'disk full'); end"));
  e->paper->questions[0]->items[0]->selected = true;
  e->paper->questions[2]->inputText = "green";
  EXPECT_FALSE(service->saveUserAnswerWithExam(e));
  EXPECT_EQ(kept(), (std::map<std::string, std::string>{{"Q1", "b"}}));
}

TEST_F(ExamServiceTest, KeptAnswersWinOverDeliveredOnesInBothModes) {
  const auto e = exam();
  e->paper = service->findPaperWithExam(*e, false, false);
  e->paper->questions[0]->items[1]->selected = true;
  ASSERT_TRUE(service->saveUserAnswerWithExam(e));

  for (bool viewAnswer : {false, true}) {
    const auto paper = service->findPaperWithExam(*exam(), false, viewAnswer);
    ASSERT_TRUE(paper);
    const auto& q = paper->questions;
    EXPECT_EQ(q[0]->userAnswer, "b") << viewAnswer;
    EXPECT_EQ(selectedIds(*q[0]), std::vector<std::string>{"b"}) << viewAnswer;
    // The delivered answers show only when looking at them.
    EXPECT_EQ(selectedIds(*q[1]), viewAnswer ? std::vector<std::string>{"true"} : std::vector<std::string>{});
    EXPECT_EQ(q[2]->inputText, viewAnswer ? std::optional<std::string>("red") : std::nullopt);
    EXPECT_EQ(q[1]->showRightAnswer, viewAnswer);
  }
}

TEST_F(ExamServiceTest, PreparesQuestionsAndShowsWhatTheExamAllows) {
  const auto paper = service->findPaperWithExam(*exam("showRight"), true, true);
  ASSERT_TRUE(paper);
  EXPECT_EQ(server.calls(kLastPaper).size(), 1u);
  EXPECT_TRUE(server.calls(kLoadPapers).empty());
  const auto& q = paper->questions;
  ASSERT_EQ(q[0]->refAttaments.size(), 1u);
  EXPECT_EQ(q[0]->refAttaments[0]->id, "F1");
  ASSERT_EQ(q[0]->items[1]->refAttaments.size(), 1u);
  ASSERT_EQ(q[1]->items.size(), 2u);
  EXPECT_EQ(q[1]->items[0]->itemId, "true");
  // "showRight" shows the wrong answers only: Q1 was wrong, Q2 right.
  EXPECT_TRUE(q[0]->showRightAnswer);
  EXPECT_EQ(selectedIds(*q[0]), std::vector<std::string>{"a"});
  EXPECT_FALSE(q[1]->showRightAnswer);
  EXPECT_TRUE(selectedIds(*q[1]).empty());

  const auto hidden = service->findPaperWithExam(*exam("noRight"), false, true);
  EXPECT_FALSE(hidden->questions[0]->showRightAnswer);
  EXPECT_EQ(selectedIds(*hidden->questions[0]), std::vector<std::string>{"a"});
}

// The pictures of a question and its options are sorted out on the device; a paper that carries
// lists under those names reads the same as one without them.
TEST_F(ExamServiceTest, PicturesListsInTheAnswerAreNotRead) {
  std::string paper = kPaper;
  const std::string item = R"({"itemId": "a", "showOrder": 1})";
  paper.replace(paper.find(item), item.size(),
                R"({"itemId": "a", "showOrder": 1, "refAttaments": [{"id": "X1"}]})");
  paper.insert(paper.find(R"("attachments")"), R"("refAttaments": [{"id": "X2"}], )");
  answer(kLastPaper, paper);
  const auto read = service->findPaperWithExam(*exam(), true, true);
  ASSERT_TRUE(read);
  const auto& q = read->questions;
  ASSERT_EQ(q[0]->refAttaments.size(), 1u);
  EXPECT_EQ(q[0]->refAttaments[0]->id, "F1");
  EXPECT_TRUE(q[0]->items[0]->refAttaments.empty());
  ASSERT_EQ(q[0]->items[1]->refAttaments.size(), 1u);
  EXPECT_EQ(q[0]->items[1]->refAttaments[0]->id, "F2");
}

TEST_F(ExamServiceTest, NoPaperAnswersNothing) {
  answer(kLoadPapers, "[]");
  EXPECT_EQ(service->findPaperWithExam(*exam(), false, false), nullptr);
  fail(kLastPaper);
  EXPECT_EQ(service->findPaperWithExam(*exam(), true, true), nullptr);
  EXPECT_EQ(reportCount(), 1u);
}

TEST_F(ExamServiceTest, OnlyASuccessfulSubmissionForgetsTheKeptAnswers) {
  const auto e = exam();
  e->paper = service->findPaperWithExam(*e, false, false);
  e->paper->questions[0]->items[0]->selected = true;
  e->paper->questions[1]->items[0]->selected = true;
  ASSERT_TRUE(service->saveUserAnswerWithExam(e));

  struct Case {
    std::optional<std::string> answer;  // nullopt: the server fails the call
    std::string code;
    size_t keptAfter;
  };
  for (const Case& c : {
           Case{"[]", "fail", 2},
           Case{std::nullopt, "fail", 2},
           Case{R"([{"examResultId": "R1", "resultCode": "expired"}])", "expired", 2},
           Case{R"([{"examResultId": "R1", "resultCode": "success"}])", "success", 0},
       }) {
    c.answer ? answer(kSubmit, *c.answer) : fail(kSubmit);
    const auto result = service->submitPaperForExam(*e);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->resultCode, c.code);
    EXPECT_EQ(result->examResultId, "R1");
    EXPECT_EQ(kept().size(), c.keptAfter) << c.code;
  }
  // Marked on the device (the typed question waits for a marker) and sent as marked.
  EXPECT_EQ(e->status, "unjudged");
  const std::string sent = server.calls(kSubmit).back().parameters.at("papers");
  EXPECT_NE(sent.find("\"isJoin\" : true"), std::string::npos) << sent;
  EXPECT_NE(sent.find("\"userAnswer\" : \"true\""), std::string::npos) << sent;
}

TEST_F(ExamServiceTest, AnExamWithoutPaperIsNotSubmitted) {
  const auto e = exam();
  const auto result = service->submitPaperForExam(*e);
  EXPECT_EQ(result->resultCode, "fail");
  EXPECT_TRUE(server.calls(kSubmit).empty());
  EXPECT_FALSE(e->status);
}

}  // namespace
