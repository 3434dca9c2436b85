// The exam service's rules that need neither store nor server: status texts and entry, which earlier
// answers may be seen, encoding and restoring answers, preparing questions, marking and the copy that
// is submitted.

#include <gtest/gtest.h>

#include "app/service/ems/ExamService.h"

namespace {

constexpr double kNow = 1'700'000'000;
constexpr double kDay = 86'400;

std::shared_ptr<EmsQuestionItem> option(const std::string& id, bool selected = false) {
  auto item = std::make_shared<EmsQuestionItem>();
  item->itemId = id;
  item->selected = selected;
  return item;
}

std::shared_ptr<EmsQuestion> question(const std::string& id, const std::string& type, float score = 10,
                                      std::optional<std::string> answer = std::nullopt) {
  auto q = std::make_shared<EmsQuestion>();
  q->questionId = id;
  q->type = type;
  q->score = score;
  q->answer = std::move(answer);
  return q;
}

TEST(ExamRulesTest, StatusTextAndJoinTypeAtADate) {
  struct Case {
    const char* status;
    std::optional<double> startDays;
    std::optional<double> endDays;
    bool autoRejoin;
    int remain;
    int examCount;
    std::string text;
    int joinType;
  };
  for (const Case& c : {
           Case{"unjoined", 1, 5, false, 1, 0, "即将开始", 0},
           Case{"unjoined", -1, 5, false, 1, 0, "进入考试", 1},
           Case{"unjoined", -5, -1, false, 1, 0, "已过期", 0},
           Case{"unjoined", std::nullopt, std::nullopt, false, 1, 0, "进入考试", 1},
           Case{"unjoined", std::nullopt, -1, false, 1, 0, "已过期", 0},
           Case{"join_unsubmit", -1, 5, false, 1, 1, "未交卷", 1},
           Case{"join_unsubmit", -1, 5, false, 1, 2, "未交卷", 2},
           Case{"join_unsubmit", -5, -1, false, 1, 1, "未交卷", 0},
           Case{"join_unsubmit", -1, std::nullopt, false, 1, 1, "未交卷", 1},
           Case{"passed", -1, 5, true, 1, 1, "考试通过", 0},
           Case{"unpassed", -1, 5, true, 1, 1, "进入补考", 2},
           Case{"unpassed", -1, 5, true, 0, 2, "考试未通过", 0},
           Case{"unpassed", -1, 5, false, 1, 1, "考试未通过", 2},
           Case{"unpassed", -5, -1, true, 1, 1, "考试未通过", 0},
           Case{"unpassed", -1, std::nullopt, true, 1, 1, "进入补考", 2},
           Case{"unjudged", -1, 5, false, 1, 1, "等待评卷", 0},
           Case{"archived", -1, 5, false, 1, 1, "", 0},
       }) {
    EmsExam exam;
    exam.status = c.status;
    if (c.startDays) exam.startTime = pf::Date{kNow + *c.startDays * kDay};
    if (c.endDays) exam.endTime = pf::Date{kNow + *c.endDays * kDay};
    exam.autoRejoin = c.autoRejoin;
    exam.remainJoinCount = c.remain;
    exam.examCount = c.examCount;
    exam.statusText = ExamService::statusTextOfExam(exam, pf::Date{kNow});
    EXPECT_EQ(exam.statusText, c.text) << c.status << " remain " << c.remain;
    EXPECT_EQ(ExamService::joinTypeOfExam(exam, pf::Date{kNow}), c.joinType) << c.status << " " << c.text;
  }
}

TEST(ExamRulesTest, EarlierAnswersVisibleOnlyAfterAnAttempt) {
  struct Case {
    const char* text;
    int examCount;
    std::optional<std::string> allow;
    bool visible;
  };
  for (const Case& c : {
           Case{"考试通过", 1, std::nullopt, true},
           Case{"考试未通过", 1, "showRight", true},
           Case{"进入补考", 1, "noRight", true},
           Case{"考试通过", 1, "no", false},
           Case{"未交卷", 2, "allowAll", true},
           Case{"未交卷", 1, "allowAll", false},
           Case{"进入考试", 0, "allowAll", false},
           Case{"等待评卷", 1, "allowAll", false},
       }) {
    EmsExam exam;
    exam.statusText = c.text;
    exam.examCount = c.examCount;
    exam.allowViewOldAnswer = c.allow;
    EXPECT_EQ(ExamService::showViewAnswerWithExam(exam), c.visible)
        << c.text << " " << c.allow.value_or("nil");
  }
}

TEST(ExamRulesTest, EncodesTheLearnersChoicesAndText) {
  struct Case {
    const char* type;
    std::vector<std::pair<std::string, bool>> options;
    std::optional<std::string> input;
    std::optional<std::string> encoded;
  };
  for (const Case& c : {
           Case{"MULTIPLE", {{"a", false}, {"b", true}, {"c", true}}, std::nullopt, "b``c"},
           Case{"SINGLE", {{"a", false}, {"b", false}}, std::nullopt, std::nullopt},
           Case{"SINGLE", {{"a", true}}, "", "a"},
           Case{"FILL", {}, "blue``sky", "blue``sky"},
           Case{"FILL", {}, "", std::nullopt},
           Case{"QUESTIONS", {}, std::nullopt, std::nullopt},
           Case{"ASCERTAIN", {{"true", false}, {"false", true}}, "because", "false``because"},
           Case{"ASCERTAIN", {{"true", false}, {"false", false}}, "because", "``because"},
           // Restoring sets an empty text, so an empty, non-nil text is the common case.
           Case{"ASCERTAIN", {{"true", true}, {"false", false}}, "", "true``"},
           Case{"ASCERTAIN", {{"true", false}, {"false", false}}, "", "``"},
           Case{"ASCERTAIN", {{"true", true}, {"false", false}}, std::nullopt, "true"},
           Case{"ASCERTAIN", {{"true", false}, {"false", false}}, std::nullopt, std::nullopt},
       }) {
    EmsQuestion q;
    q.type = c.type;
    for (const auto& [id, selected] : c.options) q.items.push_back(option(id, selected));
    q.inputText = c.input;
    q.userAnswer = "stale";
    ExamService::updateUserAnswerWithQuestion(q);
    EXPECT_EQ(q.userAnswer, c.encoded) << c.type << " " << c.input.value_or("nil");
  }
}

TEST(ExamRulesTest, RestoresSelectionsAndTextFromAnAnswer) {
  struct Case {
    const char* type;
    std::vector<std::string> options;
    std::optional<std::string> userAnswer;
    std::vector<bool> selected;
    std::optional<std::string> input;
  };
  for (const Case& c : {
           Case{"MULTIPLE", {"1", "11", "2"}, "11``2", {false, true, true}, ""},
           Case{"SINGLE", {"a", "b"}, std::nullopt, {false, false}, ""},
           Case{"JUDGMENT", {"true", "false"}, "true", {true, false}, ""},
           Case{"ASCERTAIN",
                {"true", "false"},
                "false``it is true, not false",
                {false, true},
                "it is true, not false"},
           Case{"ASCERTAIN", {"true", "false"}, "true``typed while false", {true, false}, ""},
           Case{"ASCERTAIN", {"true", "false"}, "false", {false, true}, std::nullopt},
           Case{"FILL", {}, "blue", {}, "blue"},
           Case{"QUESTIONS", {}, std::nullopt, {}, std::nullopt},
       }) {
    EmsQuestion q;
    q.type = c.type;
    for (const auto& id : c.options) q.items.push_back(option(id, true));
    q.userAnswer = c.userAnswer;
    q.inputText = "old";
    ExamService::updateQuesInputTextAndItemSelectionByUserAnswer(q);
    std::vector<bool> selected;
    for (const auto& item : q.items) selected.push_back(item->selected);
    EXPECT_EQ(selected, c.selected) << c.type << " " << c.userAnswer.value_or("nil");
    EXPECT_EQ(q.inputText, c.input) << c.type << " " << c.userAnswer.value_or("nil");
  }
}

TEST(ExamRulesTest, TrueFalseQuestionsGetTheirTwoOptions) {
  for (const char* type : {"JUDGMENT", "ASCERTAIN"}) {
    auto q = question("Q1", type);
    q->items = {option("x")};
    ExamService::checkAndInitQuestionItemsForQuestion(*q);
    ASSERT_EQ(q->items.size(), 2u) << type;
    EXPECT_EQ(q->items[0]->itemId, "true");
    EXPECT_EQ(q->items[0]->content, "正确");
    EXPECT_EQ(q->items[1]->itemId, "false");
    EXPECT_EQ(q->items[1]->content, "错误");
    EXPECT_EQ(q->items[1]->questionId, "Q1");
  }
  auto single = question("Q2", "SINGLE");
  single->items = {option("x")};
  ExamService::checkAndInitQuestionItemsForQuestion(*single);
  ASSERT_EQ(single->items.size(), 1u);
}

TEST(ExamRulesTest, PicturesGoToTheirQuestionOrOption) {
  auto q = question("Q1", "SINGLE");
  q->items = {option("a"), option("b")};
  auto picture = [](const std::string& id, const std::string& type, const std::string& objectId) {
    auto a = std::make_shared<EmsAttachment>();
    a->id = id;
    a->objectType = type;
    a->objectId = objectId;
    return a;
  };
  q->attachments = {picture("1", "ITEM", "Q1"), picture("2", "OPTION", "b"), picture("3", "ITEM", "Q9"),
                    picture("4", "OPTION", "gone"), picture("5", "OTHER", "Q1")};
  ExamService::setQuestionAndItemsRefAttachmentsForQuestion(*q);
  ASSERT_EQ(q->refAttaments.size(), 1u);
  EXPECT_EQ(q->refAttaments[0]->id, "1");
  EXPECT_TRUE(q->items[0]->refAttaments.empty());
  ASSERT_EQ(q->items[1]->refAttaments.size(), 1u);
  EXPECT_EQ(q->items[1]->refAttaments[0]->id, "2");
}

// An exam of one chosen-right single question (10 points), one unanswered single question delivered
// with full marks (10), and optionally one typed question (20 points).
std::shared_ptr<EmsExam> markableExam(const char* resultType, bool autoJudge, bool withTyped) {
  auto exam = std::make_shared<EmsExam>();
  exam->showResultType = resultType;
  exam->autoJudge = autoJudge;
  exam->passRate = 40;
  exam->credit = 3;
  exam->status = "join_unsubmit";
  exam->paper = std::make_shared<EmsPaper>();
  auto right = question("Q1", "SINGLE", 10, "a");
  right->items = {option("a", true), option("b")};
  auto unanswered = question("Q2", "SINGLE", 10, "a");
  unanswered->items = {option("a"), option("b")};
  unanswered->passed = true;
  unanswered->userScore = 10;
  exam->paper->questions = {right, unanswered};
  if (withTyped) {
    auto typed = question("Q3", "FILL", 20, "blue");
    typed->inputText = "blue";
    typed->passed = true;
    typed->userScore = 20;
    exam->paper->questions.push_back(typed);
  }
  return exam;
}

TEST(ExamRulesTest, MarksOnTheDeviceOnlyWhenEveryQuestionCanBeJudged) {
  struct Case {
    const char* resultType;
    bool autoJudge;
    bool withTyped;
    std::string status;
    bool showResult;
    float total;
  };
  for (const Case& c : {
           Case{"AUTO", false, false, "passed", true, 20},
           Case{"AUTO", false, true, "unjudged", false, 0},
           Case{"AUTO", true, true, "unpassed", true, 40},
           Case{"MANUAL", true, false, "unjudged", false, 0},
       }) {
    const auto exam = markableExam(c.resultType, c.autoJudge, c.withTyped);
    ExamService::markExam(*exam);
    const auto& questions = exam->paper->questions;
    EXPECT_EQ(exam->status, c.status) << c.resultType << c.autoJudge << c.withTyped;
    EXPECT_EQ(exam->paper->showResult, c.showResult) << c.resultType << c.autoJudge << c.withTyped;
    EXPECT_EQ(exam->totalScore, c.total) << c.resultType << c.autoJudge << c.withTyped;
    EXPECT_EQ(questions[0]->userAnswer, "a");
    EXPECT_TRUE(questions[0]->passed);
    // The delivered full marks of the unanswered question do not count.
    EXPECT_FALSE(questions[1]->passed);
    EXPECT_EQ(questions[1]->userScore, 0);
    if (c.withTyped) {
      EXPECT_EQ(questions[2]->userAnswer, "blue");
      EXPECT_EQ(questions[2]->passed, !c.autoJudge) << "judged as wrong only by a whole-exam judge";
    }
    if (c.showResult) {
      const bool passed = c.status == "passed";
      EXPECT_EQ(exam->paper->passed, passed);
      EXPECT_EQ(exam->paper->score, 10);
      EXPECT_EQ(exam->userExamScore, 10);
      EXPECT_EQ(exam->paper->credit, passed ? 3 : 0);
      EXPECT_EQ(exam->score, exam->paper->credit);
    }
  }
}

TEST(ExamRulesTest, ScoringExactlyThePassMarkPasses) {
  for (const float passRate : {49.0f, 50.0f, 51.0f}) {
    const auto exam = markableExam("AUTO", false, false);  // 10 of 20 points
    exam->passRate = passRate;
    ExamService::markExam(*exam);
    const bool passes = passRate <= 50;
    EXPECT_EQ(exam->status, passes ? "passed" : "unpassed") << passRate;
    EXPECT_EQ(exam->paper->passed, passes) << passRate;
    EXPECT_EQ(exam->score, passes ? 3 : 0) << passRate;
  }
}

TEST(ExamRulesTest, APaperWithoutQuestionsPasses) {
  EmsExam exam;
  exam.showResultType = "AUTO";
  exam.passRate = 60;
  exam.credit = 2;
  exam.paper = std::make_shared<EmsPaper>();
  ExamService::markExam(exam);
  EXPECT_EQ(exam.status, "passed");
  EXPECT_TRUE(exam.paper->passed);
  EXPECT_EQ(exam.paper->credit, 2);
  EXPECT_EQ(exam.score, 2);
}

TEST(ExamRulesTest, SubmittedCopyCarriesOnlyWhatTheServerReads) {
  const auto exam = markableExam("AUTO", false, false);
  EmsPaper& paper = *exam->paper;
  paper.examId = "E1";
  paper.paperId = "P1";
  paper.examResultId = "R1";
  paper.forceSubmitted = true;
  paper.firstJoinTime = pf::Date{kNow};
  paper.name = "not sent";
  paper.questions[0]->content = "not sent";
  paper.questions[0]->paperId = "P1";
  ExamService::markExam(*exam);
  const auto copy = ExamService::getSubmitPaperFromExam(*exam);
  EXPECT_TRUE(copy->isJoin);
  EXPECT_EQ(copy->examId, "E1");
  EXPECT_EQ(copy->examResultId, "R1");
  EXPECT_TRUE(copy->forceSubmitted);
  EXPECT_EQ(copy->firstJoinTime, pf::Date{kNow});
  EXPECT_TRUE(copy->showResult);
  EXPECT_TRUE(copy->passed);
  EXPECT_EQ(copy->score, 10);
  EXPECT_FALSE(copy->name);
  ASSERT_EQ(copy->questions.size(), 2u);
  const auto& sent = *copy->questions[0];
  EXPECT_EQ(sent.questionId, "Q1");
  EXPECT_EQ(sent.paperId, "P1");
  EXPECT_EQ(sent.userAnswer, "a");
  EXPECT_EQ(sent.answer, "a");
  EXPECT_TRUE(sent.passed);
  EXPECT_EQ(sent.userScore, 10);
  EXPECT_FALSE(sent.content);
  EXPECT_TRUE(sent.items.empty());
}

}  // namespace
