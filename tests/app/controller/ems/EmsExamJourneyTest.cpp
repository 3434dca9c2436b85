// Taking an exam against the demo stand-in: the list and its rows, the description's buttons, the
// countdown and idle limits, submission once and only once, answers kept on leaving, the result
// screen and the sheet of all questions, and how the screens look on the phone and the tablet.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/foundation/Format.h"

#include "app/controller/ems/EmsAllTableViewCell.h"
#include "app/controller/ems/EmsQuestionItemCell.h"
#include "app/controller/ems/EmsQuestionTextViewCell.h"
#include "app/controller/ems/EmsQuestionViewController.h"
#include "app/controller/ems/EmsShowAllQuesViewController.h"
#include "app/controller/ems/EmsShowQuesBtnView.h"
#include "app/controller/ems/EmsShowQuesCell.h"
#include "app/service/ems/ExamService.h"
#include "ui/extension/ColorExpanded.h"
#include "app/controller/ems/EmsSubmitResultViewController.h"
#include "app/model/ems/EmsQuestion.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "tests/app/controller/ems/EmsJourneyTest.h"
#include "tools/devserver/Answers.h"
#include "ui/base/BaseTextView.h"

namespace {

constexpr char kSafety[] = "安全生产基础";
constexpr char kService[] = "客户服务规范";

std::shared_ptr<EmsQuestionItemCell> optionCell(EmsProcessViewController& process, long option) {
  return std::dynamic_pointer_cast<EmsQuestionItemCell>(
      process.questionViewController->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(option + 1, 0)));
}

// Faults caught: the one-decimal text shown for a score that rounds up, or a whole score with ".0".
TEST(EmsPassScore, OneDecimalOnlyWhenItReadsAboveTheRoundedScore) {
  const std::pair<float, const char*> cases[] = {{60.3f, "60.3"}, {60, "60"}, {59.5f, "60"}, {60.7f, "61"}};
  for (const auto& [score, text] : cases) EXPECT_EQ(EmsDescViewController::passScoreText(score), text) << score;
}

// Faults caught: the view-answers button offered for an unsubmitted single attempt or where old
// answers may not be seen.
TEST(EmsResultButton, FollowsTheViewRuleAndTheAttemptCount) {
  struct Case {
    const char* allow;
    int count;
    const char* status;
    bool shown;
  };
  const Case cases[] = {{"allowAll", 0, "passed", false},      {"allowAll", 1, "passed", true},
                        {"allowAll", 1, "join_unsubmit", false}, {"allowAll", 2, "join_unsubmit", true},
                        {"no", 1, "passed", false},              {"no", 3, "passed", false}};
  for (const auto& c : cases) {
    EmsExam exam;
    exam.allowViewOldAnswer = c.allow;
    exam.examCount = c.count;
    exam.status = c.status;
    EXPECT_EQ(EmsSubmitResultViewController::showsViewAnswer(exam), c.shown) << c.allow << c.count << c.status;
  }
}

class EmsExamJourneyTest : public EmsJourneyTest {};

// Faults caught: a reused cell keeping the hidden score or the state icon of its last exam.
TEST_F(EmsExamJourneyTest, AReusedRowShowsOnlyItsNewStatus) {
  openExamList();
  ASSERT_GT(list()->examList.size(), 3u);
  auto cell = std::dynamic_pointer_cast<EmsAllTableViewCell>(ViewUtil::viewFromNibOfClass(EmsAllTableViewCell::kClassName));
  ASSERT_TRUE(cell);
  EmsExam exam;
  exam.examName = "x";
  exam.statusText = "即将开始";
  cell->fillWithExam(exam);
  EXPECT_TRUE(cell->scoreLabel.lock()->isHidden());
  EXPECT_TRUE(cell->scoreIconImageView.lock()->image());
  exam.statusText = "考试通过";
  cell->fillWithExam(exam);
  EXPECT_FALSE(cell->scoreLabel.lock()->isHidden());
  EXPECT_FALSE(cell->scoreBtmImageView.lock()->isHidden());
  EXPECT_FALSE(cell->scoreIconImageView.lock()->image()) << "the default icon comes back";
  EXPECT_EQ(cell->statusLabel.lock()->textColor(), ColorExpanded::colorWithRGBHex(0x0166FF));
}

// Faults caught: buttons that disagree with the join rule (entry offered before the start or after
// a pass), and a make-up offered as a first attempt.
TEST_F(EmsExamJourneyTest, TheDescriptionOffersWhatTheJoinRuleAllows) {
  openExamList();
  struct Case {
    const char* exam;
    bool enter;
    bool makeup;
  };
  const Case cases[] = {{kSafety, true, false}, {"合规年度考试", false, false}, {"质量管理", false, true},
                        {"职业道德", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exam);
    auto desc = openDescription(c.exam);
    ASSERT_TRUE(desc);
    EXPECT_EQ(!desc->enterExamBtn.lock()->isHidden(), c.enter);
    EXPECT_EQ(!desc->enterMakeupExamBtn.lock()->isHidden(), c.makeup);
    EXPECT_EQ(desc->examNameLabel.lock()->text(), c.exam);
    tapView(desc->view());
    desc->backBtnClick();
    loop->runUntil(pf::Clock::now() + 1);
    ASSERT_EQ(root->topViewController(), examRoot);
  }
}

// Faults caught: a double tap on enter pushing two timed screens.
TEST_F(EmsExamJourneyTest, ASecondTapOnEnterPushesNothingMore) {
  openExamList();
  auto desc = openDescription(kSafety);
  ASSERT_TRUE(desc);
  desc->enterBtnClick();
  desc->enterBtnClick();
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_EQ(root->viewControllers().size(), 3u);
}

// The whole way: enter, answer every question, submit from the last one, see the result, return to a
// list that shows the new status. Faults caught: answers not sent, two sends, no result screen.
TEST_F(EmsExamJourneyTest, TheLearnerTakesTheSafetyExamToAResult) {
  openExamList();
  auto process = enterExam(kSafety, 0);
  ASSERT_TRUE(process);
  EXPECT_EQ(process->examProcessLabel.lock()->text(), "考试进度：1/4");
  EXPECT_TRUE(process->lastQuesBtn.lock()->isHidden());
  const long rightOptions[] = {2, 0, 1, 0};
  for (int q = 0; q < 4; ++q) {
    SCOPED_TRACE(q);
    tapView(optionCell(*process, rightOptions[q]));
    EXPECT_TRUE(optionCell(*process, rightOptions[q])->optionSeleted());
    if (q == 1) {
      tapView(optionCell(*process, 1));
      tapView(optionCell(*process, 3));
    }
    if (q < 3) tapView(process->nextQuesBtn.lock());
  }
  EXPECT_EQ(process->nextQuesBtn.lock()->currentTitle(), "提交");
  tapView(process->nextQuesBtn.lock());
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_EQ(submissions(), 1u);
  EXPECT_EQ(alertMessages(), (std::vector<std::string>{EmsProcessViewController::kConfirmMessage, "试卷提交成功！"}));
  auto result = std::dynamic_pointer_cast<EmsSubmitResultViewController>(root->topViewController());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->exam->paper->submitState, "SUBMIT");
  EXPECT_FALSE(result->exam->paper->forceSubmitted);
  { pf::HeadlessHost host(window); writeSnapshot(host, "ems_result_phone.png"); }
  tapView(process->view());
  result->returnBtnClick();
  waitForList();
  EXPECT_EQ(root->topViewController(), examRoot);
  EXPECT_NE(examNamed(kSafety)->statusText, "进入考试");
}

// Faults caught: an idle alert a tick early or late, a limit of 0 that fires, the time-up alert
// off by one, and two submissions when both limits fall on one tick.
TEST_F(EmsExamJourneyTest, TheLimitsForceOneSubmissionOnTheirTick) {
  struct Case {
    const char* name;
    const char* exam;
    int maxIdle;
    int maxCost;
    double tick;
    const char* message;
  };
  const std::string idle30 = pf::format(EmsProcessViewController::kIdleMessage, 30);
  const std::string idle60 = pf::format(EmsProcessViewController::kIdleMessage, 60);
  const Case cases[] = {{"idle 30", kSafety, 30, 20, 31, idle30.c_str()},
                        {"no idle limit, no time", kSafety, 0, 0, 1, EmsProcessViewController::kTimeUpMessage},
                        {"time up", kSafety, 0, 1, 61, EmsProcessViewController::kTimeUpMessage},
                        {"both on one tick", "产品知识测验", 60, 1, 61, idle60.c_str()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    openExamList();
    alerts.clear();
    const size_t before = submissions();
    auto process = enterExam(c.exam, c.maxIdle, c.maxCost);
    ASSERT_TRUE(process);
    loop->runUntil(entryTime + c.tick + 5);
    ASSERT_FALSE(alerts.empty());
    EXPECT_EQ(alerts.front().message, c.message);
    EXPECT_GE(alerts.front().time - entryTime, c.tick - 0.01);
    EXPECT_LT(alerts.front().time - entryTime, c.tick + 0.5);
    EXPECT_EQ(submissions() - before, 1u);
    auto result = std::dynamic_pointer_cast<EmsSubmitResultViewController>(root->topViewController());
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->exam->paper->forceSubmitted);
  }
}

// Faults caught: an essay writer submitted as idle (choosing and typing did not count as activity).
TEST_F(EmsExamJourneyTest, ChoosingAnOptionStartsTheIdleCountAgain) {
  openExamList();
  auto process = enterExam(kSafety, 10);
  ASSERT_TRUE(process);
  loop->runUntil(entryTime + 8.2);
  process->questionViewController->didSelectRowAtIndexPath(*process->questionViewController->tableView(),
                                                           pf::IndexPath::forRow(1, 0));
  EXPECT_EQ(process->idleTimeInSeconds(), 0u);
  loop->runUntil(entryTime + 16.5);
  EXPECT_TRUE(alerts.empty());
  EXPECT_EQ(process->state(), EmsProcessViewController::State::Taking);
}

// Faults caught: a second, late submission when a limit falls while the confirmation waits, or a
// confirmation left on screen.
TEST_F(EmsExamJourneyTest, ALimitWhileConfirmingSubmitsOnce) {
  openExamList();
  auto process = enterExam(kSafety, 20);
  ASSERT_TRUE(process);
  for (int q = 0; q < 3; ++q) tapView(process->nextQuesBtn.lock());
  holdConfirmation = true;
  confirmationAnswer = 0;
  const size_t before = submissions();
  tapView(process->nextQuesBtn.lock());
  loop->runUntil(pf::Clock::now() + 30);
  EXPECT_EQ(submissions() - before, 1u);
  ASSERT_GE(alerts.size(), 2u);
  EXPECT_EQ(alerts[0].message, EmsProcessViewController::kConfirmMessage);
  EXPECT_EQ(alerts[1].message, pf::format(EmsProcessViewController::kIdleMessage, 20));
  for (const auto& alert : pf::AlertView::visibleAlerts())
    EXPECT_NE(alert->message(), EmsProcessViewController::kConfirmMessage);
  EXPECT_TRUE(std::dynamic_pointer_cast<EmsSubmitResultViewController>(root->topViewController()));
}

// Faults caught: a refused submission leaving the exam marked (the description then offers no
// entry), a countdown that runs on, and no way to submit again.
TEST_F(EmsExamJourneyTest, ARefusedSubmissionKeepsTheExamOpen) {
  openExamList();
  auto process = enterExam(kSafety, 0);
  ASSERT_TRUE(process);
  tapView(optionCell(*process, 2));
  for (int q = 0; q < 3; ++q) tapView(process->nextQuesBtn.lock());
  server->planFaults(kSubmitPath, {devserver::answers::text(500, "down")});
  tapView(process->nextQuesBtn.lock());
  loop->runUntil(pf::Clock::now() + 2);
  EXPECT_EQ(process->state(), EmsProcessViewController::State::Failed);
  EXPECT_FALSE(process->leftTimeTimer);
  EXPECT_EQ(alerts.back().message, "试卷提交失败，请检查网络后重试！");
  EXPECT_EQ(ExamService::joinTypeOfExam(*process->exam, pf::Date::now()), ExamService::kJoin)
      << "the marking went back";
  const unsigned left = process->leftTimeInSeconds();
  loop->runUntil(pf::Clock::now() + 5);
  EXPECT_EQ(process->leftTimeInSeconds(), left) << "the countdown stays stopped";
  tapView(process->nextQuesBtn.lock());
  loop->runUntil(pf::Clock::now() + 2);
  EXPECT_TRUE(std::dynamic_pointer_cast<EmsSubmitResultViewController>(root->topViewController()));
}

// Faults caught: answers lost on back or in the background, a restored single choice that keeps
// two options, and a countdown that carries over (each entry starts the full time, as it should).
TEST_F(EmsExamJourneyTest, LeavingKeepsTheAnswersAndReentryRestartsTheTime) {
  openExamList();
  auto process = enterExam(kSafety, 0);
  ASSERT_TRUE(process);
  tapView(optionCell(*process, 0));
  tapView(process->nextQuesBtn.lock());
  EXPECT_FALSE(ExamService().loadUserAnswerWithExamId(process->exam->examId, process->exam->paper->paperId).empty())
      << "a question change keeps the answers, so a killed app loses none";
  tapView(process->lastQuesBtn.lock());
  loop->runUntil(pf::Clock::now() + 10);
  pf::NotificationCenter::defaultCenter().post(pf::Application::kDidEnterBackgroundNotification);
  const auto kept = ExamService().loadUserAnswerWithExamId(process->exam->examId, process->exam->paper->paperId);
  EXPECT_FALSE(kept.empty()) << "the background keeps the answers";
  tapView(process->backBtn.lock());
  std::weak_ptr<EmsProcessViewController> closed = process;
  process.reset();
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_TRUE(closed.expired()) << "the closed exam screen is freed";

  auto again = enterExam(kSafety, 0);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->leftTimeInSeconds(), 20u * 60);
  ASSERT_TRUE(optionCell(*again, 0)->optionSeleted());
  tapView(optionCell(*again, 2));
  int chosen = 0;
  for (const auto& item : again->exam->paper->questions[0]->items) chosen += item->selected ? 1 : 0;
  EXPECT_EQ(chosen, 1);
  EXPECT_TRUE(again->exam->paper->questions[0]->items[2]->selected);
}

// Faults caught: typed text lost when the learner moves on without ending the edit, and erasing to
// blanks losing the earlier answer.
TEST_F(EmsExamJourneyTest, TypedTextIsKeptOverNextAndBlanksKeepTheEarlierText) {
  openExamList();
  auto process = enterExam(kService, 0);
  ASSERT_TRUE(process);
  std::shared_ptr<EmsQuestion> typed;
  for (unsigned i = 0; i < process->exam->paper->questions.size(); ++i) {
    if (process->exam->paper->questions[i]->canInputText()) {
      process->showQuestionWithQuesIndex(i);
      typed = process->exam->paper->questions[i];
      break;
    }
    tapView(process->nextQuesBtn.lock());
  }
  ASSERT_TRUE(typed) << "the service exam has a typed question";
  auto table = process->questionViewController->tableView();
  const long textRow = table->numberOfRowsInSection(0) - 1;
  auto cell = std::dynamic_pointer_cast<EmsQuestionTextViewCell>(table->cellForRowAtIndexPath(pf::IndexPath::forRow(textRow, 0)));
  ASSERT_TRUE(cell);
  tapView(cell->contentTextView.lock());
  if (!cell->contentTextView.lock()->isFirstResponder()) cell->contentTextView.lock()->becomeFirstResponder();
  pf::HeadlessHost host(window);
  ASSERT_TRUE(host.typeText("客户至上"));
  EXPECT_EQ(typed->inputText, "客户至上");
  for (int i = 0; i < 4; ++i) host.pressBackspace();
  ASSERT_TRUE(host.typeText("  "));
  EXPECT_EQ(typed->inputText, std::nullopt) << "blanks keep what the question held when editing began";
  for (int i = 0; i < 2; ++i) host.pressBackspace();
  ASSERT_TRUE(host.typeText("耐心"));
  if (process->nextQuesBtn.lock()->currentTitle() == EmsProcessViewController::kNextTitle)
    tapView(process->nextQuesBtn.lock());
  else
    process->showQuestionWithQuesIndex(0);
  EXPECT_EQ(typed->inputText, "耐心");
}

// Faults caught: view mode that saves on back, and a last question with a next button.
TEST_F(EmsExamJourneyTest, ViewingOldAnswersShowsVerdictsAndStoresNothing) {
  openExamList();
  auto desc = openDescription("质量管理");
  ASSERT_TRUE(desc);
  ASSERT_FALSE(desc->viewAnswerBtn.lock()->isHidden());
  tapView(desc->viewAnswerBtn.lock());
  auto process = std::dynamic_pointer_cast<EmsProcessViewController>(root->topViewController());
  ASSERT_TRUE(process);
  EXPECT_EQ(process->state(), EmsProcessViewController::State::Viewing);
  EXPECT_FALSE(process->leftTimeTimer);
  const std::string verdict = process->leftTimeLabel.lock()->text().value_or("");
  EXPECT_TRUE(verdict == "正确" || verdict == "错误") << verdict;
  process->showQuestionWithQuesIndex(static_cast<unsigned>(process->exam->paper->questions.size() - 1));
  EXPECT_TRUE(process->nextQuesBtn.lock()->isHidden());
  tapView(process->backBtn.lock());
  EXPECT_TRUE(ExamService().loadUserAnswerWithExamId(process->exam->examId, process->exam->paper->paperId).empty());
}

// Faults caught: rows counted in whole fives (an eleventh question dropped), a jump by number that
// leaves the list when the numbers are not 1 to n.
TEST_F(EmsExamJourneyTest, TheSheetCountsRowsAndJumpsByPlace) {
  openExamList();
  auto process = enterExam(kSafety, 0);
  ASSERT_TRUE(process);
  auto& sheet = *process->showAllQuesViewController;
  auto table = std::make_shared<pf::TableView>();
  const auto model = process->exam->paper->questions.front();
  for (const auto& [count, rows] : std::vector<std::pair<size_t, long>>{{0, 0}, {10, 2}, {11, 3}}) {
    sheet.questions.assign(count, model);
    EXPECT_EQ(sheet.numberOfRowsInSection(*table, 0), rows) << count;
  }
  for (int i = 0; i < 3; ++i) process->exam->paper->questions[i]->showOrder = i == 2 ? 5 : 0;
  tapView(process->viewAllBtn.lock());
  loop->runUntil(pf::Clock::now() + 1);
  ASSERT_EQ(process->presentedViewController(), process->showAllQuesViewController);
  EXPECT_EQ(sheet.processLabel.lock()->text(), "您还有 4 个未答问题");
  EXPECT_EQ(sheet.leftTimeLabel.lock()->text(), process->leftTimeLabel.lock()->text());
  { pf::HeadlessHost host(window); writeSnapshot(host, "ems_sheet_phone.png"); }
  auto rowCell = sheet.quesTableView.lock()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0));
  ASSERT_TRUE(rowCell);
  auto third = std::dynamic_pointer_cast<EmsShowQuesCell>(rowCell)->btnViews[2];
  EXPECT_EQ(third->quesNoLabel.lock()->text(), "5");
  EXPECT_EQ(third->position, 3);
  tapView(third->bgBtn.lock());
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_FALSE(process->presentedViewController());
  EXPECT_EQ(process->currQuesIndex(), 2u);
}

class EmsSnapshotTest : public EmsJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  EmsSnapshotTest() : EmsJourneyTest(GetParam()) {}

  static pf::Rect inWindow(const std::shared_ptr<pf::View>& view) {
    return view->convertRectToView(view->bounds(), nullptr);
  }
};

// Faults caught: an interface file that does not load on a profile, a header, state icon, button or
// selection mark that is not drawn.
TEST_P(EmsSnapshotTest, TheListDescriptionAndAQuestionShowTheirContent) {
  const std::string suffix = GetParam() == pf::Screen::Profile::Phone ? "_phone.png" : "_tablet.png";
  openExamList();
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, "ems_list" + suffix);
  const pf::Rect listArea = inWindow(examRoot->listContainer.lock());
  const pf::Pixel header = host.pixelAt({listArea.midX(), listArea.minY() - 10});
  EXPECT_GT(header.blue, header.red + 60) << "the blue header";
  auto row = std::dynamic_pointer_cast<EmsAllTableViewCell>(
      list()->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(rowOf(kSafety), 0)));
  ASSERT_TRUE(row);
  EXPECT_EQ(row->statusLabel.lock()->text(), "进入考试");
  const pf::Rect icon = inWindow(row->scoreIconImageView.lock());
  const pf::Pixel tag = host.pixelAt({icon.minX() + icon.width() * 0.1, icon.midY()});
  EXPECT_GT(tag.green, tag.red + 30) << "the green entry tag";

  auto desc = openDescription(kSafety);
  ASSERT_TRUE(desc);
  host.render();
  writeSnapshot(host, "ems_desc" + suffix);
  const pf::Rect enter = inWindow(desc->enterExamBtn.lock());
  const pf::Pixel button = host.pixelAt({enter.minX() + 4, enter.midY()});
  EXPECT_GT(button.green, button.red + 30) << "the green enter button";

  auto process = enterExam(kSafety, 0);
  ASSERT_TRUE(process);
  tapView(optionCell(*process, 2));
  host.render();
  writeSnapshot(host, "ems_question" + suffix);
  const pf::Rect mark = inWindow(optionCell(*process, 2)->selectionImageView.lock());
  const pf::Pixel chosen = host.pixelAt({mark.midX(), mark.midY()});
  EXPECT_GT(chosen.blue, chosen.red + 60) << "the chosen option's filled mark";
  EXPECT_EQ(process->examProcessLabel.lock()->text(), "考试进度：1/4");
}

INSTANTIATE_TEST_SUITE_P(Profiles, EmsSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace
