// Answering surveys against the demo stand-in: the list and its rows, the description and its enter
// area, the "other" option's text row, answering question by question, one submission, the result
// and the reloaded list, and how the screens look on the phone and the tablet.

#include <gtest/gtest.h>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/controller/cmn/NodataBgView.h"
#include "app/controller/ems/EmsQuestionItemCell.h"
#include "app/controller/ems/EmsQuestionTextViewCell.h"
#include "app/controller/ems/EmsQuestionTitleCell.h"
#include "app/controller/qsm/QsmAllTableViewCell.h"
#include "app/controller/qsm/QsmQuestionViewController.h"
#include "app/controller/qsm/QsmReplyView.h"
#include "app/controller/qsm/QsmSubmitResultViewController.h"
#include "app/model/qsm/QsmQuestion.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "tests/app/controller/qsm/QsmJourneyTest.h"
#include "tools/devserver/Answers.h"
#include "ui/base/BaseTextView.h"
#include "ui/base/BaseUIImageView.h"
#include "ui/extension/ColorExpanded.h"

namespace qsm_survey_journey_test {

constexpr char kCanteen[] = "食堂服务意见征集";
constexpr char kVote[] = "年会节目征集投票";

std::shared_ptr<EmsQuestionItemCell> optionCell(QsmProcessViewController& process, long option) {
  return std::dynamic_pointer_cast<EmsQuestionItemCell>(
      process.quesViewController->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(option + 1, 0)));
}

class QsmSurveyJourneyTest : public QsmJourneyTest {
 protected:
  std::shared_ptr<EmsQuestionTextViewCell> textCell(QsmProcessViewController& process) {
    auto table = process.quesViewController->tableView();
    const long last = table->numberOfRowsInSection(0) - 1;
    table->scrollToRowAtIndexPath(pf::IndexPath::forRow(last, 0), pf::TableView::ScrollPosition::Bottom,
                                  false);
    loop->runUntil(pf::Clock::now() + 0.1);
    return std::dynamic_pointer_cast<EmsQuestionTextViewCell>(
        table->cellForRowAtIndexPath(pf::IndexPath::forRow(last, 0)));
  }
  void tapOption(QsmProcessViewController& process, long option) {
    auto table = process.quesViewController->tableView();
    table->scrollToRowAtIndexPath(pf::IndexPath::forRow(option + 1, 0), pf::TableView::ScrollPosition::Middle,
                                  false);
    loop->runUntil(pf::Clock::now() + 0.1);
    tapView(optionCell(process, option));
  }
  // Types into the text row, which must take touches, without ending the edit.
  void typeIntoTextRow(QsmProcessViewController& process, const std::string& text) {
    auto cell = textCell(process);
    ASSERT_TRUE(cell);
    auto field = cell->contentTextView.lock();
    ASSERT_TRUE(field->isUserInteractionEnabled()) << "the text row is locked";
    tapView(field);
    if (!field->isFirstResponder()) field->becomeFirstResponder();
    pf::HeadlessHost host(window);
    ASSERT_TRUE(host.typeText(text));
  }
  bool textRowLocked(QsmProcessViewController& process) {
    auto cell = textCell(process);
    return !cell || !cell->contentTextView.lock()->isUserInteractionEnabled();
  }
};

// Faults caught: surveys out of publishing order, an inert status button that still opens the
// survey, a waiting survey offering entry, the wrong status colour.
TEST_F(QsmSurveyJourneyTest, TheListIsNewestFirstAndOnlyAnOpenSurveyOffersEntry) {
  openSurveyList();
  EXPECT_EQ(listedNames(), (std::vector<std::string>{kCanteen, "年度安全知识学习需求调研", kVote, kTraining,
                                                     "办公环境满意度调查", "第三季度课程评价"}));
  auto waiting = std::dynamic_pointer_cast<QsmAllTableViewCell>(rowCell(kCanteen));
  ASSERT_TRUE(waiting);
  auto button = waiting->statusBtn.lock();
  EXPECT_EQ(button->currentTitle(), "等待");
  EXPECT_FALSE(button->isUserInteractionEnabled());
  auto done = std::dynamic_pointer_cast<QsmAllTableViewCell>(rowCell("办公环境满意度调查"));
  EXPECT_EQ(done->statusBtn.lock()->currentTitleColor(), ColorExpanded::colorWithRGBHex(0x51A361));
  EXPECT_FALSE(done->discussImageView.lock()->isHidden()) << "it has replies";

  auto desc = openDescription(kCanteen);
  ASSERT_TRUE(desc);
  EXPECT_TRUE(desc->enterBtmView.lock()->isHidden());
  EXPECT_EQ(desc->titleLabel.lock()->text(), kCanteen);
  desc->backBtnClick();
  loop->runUntil(pf::Clock::now() + 1);
  ASSERT_EQ(root->topViewController(), surveyRoot);

  auto open = std::dynamic_pointer_cast<QsmAllTableViewCell>(rowCell(kTraining));
  ASSERT_TRUE(open);
  EXPECT_TRUE(open->statusBtn.lock()->isUserInteractionEnabled());
  auto enter = open->statusBtn.lock();
  list()->statusBtnClick(*enter);
  list()->statusBtnClick(*enter);
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_EQ(root->viewControllers().size(), 2u) << "a double tap opens one description";
  auto training = std::dynamic_pointer_cast<QsmDescViewController>(root->topViewController());
  ASSERT_TRUE(training);
  EXPECT_FALSE(training->enterBtmView.lock()->isHidden());
}

// Faults caught: a list service without a delegate, whose load errors vanish.
TEST_F(QsmSurveyJourneyTest, AFailedLoadIsShownByTheRoot) {
  server->planFaults(kListPath, {devserver::answers::text(500, "down")});
  openSurveyList();
  EXPECT_TRUE(list()->surveyList.empty());
  EXPECT_TRUE(list()->nodataBgView() && !list()->nodataBgView()->isHidden());
  EXPECT_TRUE(boxText().has_value()) << "the root showed the error";
}

// Faults caught: the "other" rule: a text row writable without "other", text kept after another
// single choice, a move on with "other" and no text.
TEST_F(QsmSurveyJourneyTest, SingleChoiceOtherTakesTextOnlyWhileChosen) {
  openSurveyList();
  auto process = startAnswering(kTraining);
  ASSERT_TRUE(process);
  auto question = (*surveyNamed(kTraining)->questions)[0];
  EXPECT_TRUE(textRowLocked(*process));
  tapOption(*process, 3);
  typeIntoTextRow(*process, "讲师很好");
  EXPECT_EQ(question->inputText, "讲师很好");
  tapOption(*process, 0);
  EXPECT_TRUE(textRowLocked(*process));
  EXPECT_EQ(question->inputText, "");
  EXPECT_EQ(textCell(*process)->contentTextView.lock()->text(), "");
  EXPECT_FALSE((*question->items)[3]->selected);
  tapOption(*process, 3);
  EXPECT_FALSE(textRowLocked(*process));
  tapView(process->nextQuesBtn.lock());
  EXPECT_EQ(boxText(), QsmProcessViewController::kUnansweredMessage);
  EXPECT_EQ(process->currQuesIndex, 0u);
}

// Faults caught: a multiple choice that empties "other"'s text when another option is chosen, or
// keeps it when "other" itself is cleared.
TEST_F(QsmSurveyJourneyTest, MultipleChoiceOtherKeepsItsTextUntilItIsCleared) {
  openSurveyList();
  auto process = startAnswering(kVote);
  ASSERT_TRUE(process);
  auto question = (*surveyNamed(kVote)->questions)[0];
  tapOption(*process, 3);
  typeIntoTextRow(*process, "相声");
  tapOption(*process, 0);
  EXPECT_TRUE(textRowLocked(*process));
  EXPECT_EQ(question->inputText, "相声");
  tapOption(*process, 0);
  EXPECT_FALSE(textRowLocked(*process)) << "deselecting another option unlocks the row";
  tapOption(*process, 3);
  EXPECT_TRUE(textRowLocked(*process));
  EXPECT_EQ(question->inputText, "");
  EXPECT_FALSE((*question->items)[3]->selected);
}

// The whole way, and faults caught: typed text lost when "下一题" comes before the end of editing,
// two sends from a second tap, a result screen that is missing, a list that still offers entry.
TEST_F(QsmSurveyJourneyTest, TheLearnerAnswersTheTrainingSurveyOnce) {
  openSurveyList();
  auto process = startAnswering(kTraining);
  ASSERT_TRUE(process);
  EXPECT_TRUE(process->lastQuesBtn.lock()->isHidden());
  EXPECT_EQ(process->processLabel.lock()->text(), "回答进度：1/4");
  EXPECT_EQ(process->quesTypeBtn.lock()->currentTitle().value_or("").empty(), false);
  tapOption(*process, 1);
  tapView(process->nextQuesBtn.lock());
  tapOption(*process, 0);
  tapOption(*process, 2);
  tapView(process->nextQuesBtn.lock());
  typeIntoTextRow(*process, "多安排实操");
  tapView(process->nextQuesBtn.lock());
  EXPECT_EQ(process->processLabel.lock()->text(), "回答进度：4/4");
  EXPECT_EQ((*surveyNamed(kTraining)->questions)[2]->inputText, "多安排实操");
  typeIntoTextRow(*process, "45");
  EXPECT_EQ(process->nextQuesBtn.lock()->currentTitle(), QsmProcessViewController::kSubmitTitle);
  const size_t before = submissions();
  process->nextBtnClick(process->nextQuesBtn.lock());
  process->nextBtnClick(process->nextQuesBtn.lock());
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_EQ(submissions() - before, 1u);
  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(alerts.front(), QsmProcessViewController::kConfirmMessage);
  const auto sent = server->calls(kSubmitPath).back().parameters.at("surveys");
  EXPECT_NE(sent.find("多安排实操"), std::string::npos);
  EXPECT_NE(sent.find("45"), std::string::npos);
  auto result = std::dynamic_pointer_cast<QsmSubmitResultViewController>(root->topViewController());
  ASSERT_TRUE(result);
  {
    pf::HeadlessHost host(window);
    writeSnapshot(host, "qsm_result" + std::string(profile == pf::Screen::Profile::Phone ? "_phone.png"
                                                                                         : "_tablet.png"));
  }
  result->backBtnClick();
  waitForList();
  EXPECT_EQ(root->topViewController(), surveyRoot);
  EXPECT_EQ(surveyNamed(kTraining)->statusText, "完成");
}

// Faults caught: a refused submission that moves on or says nothing.
TEST_F(QsmSurveyJourneyTest, ARefusedSubmissionStaysAndSaysSo) {
  openSurveyList();
  auto process = startAnswering(kVote);
  ASSERT_TRUE(process);
  tapOption(*process, 1);
  server->planFaults(kSubmitPath, {devserver::answers::text(500, "down")});
  process->nextBtnClick(process->nextQuesBtn.lock());
  EXPECT_EQ(boxText(), QsmProcessViewController::kFailedMessage);
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_EQ(root->topViewController(), process);
  EXPECT_FALSE(process->isSubmitted());
  process->nextBtnClick(process->nextQuesBtn.lock());
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_TRUE(std::dynamic_pointer_cast<QsmSubmitResultViewController>(root->topViewController()));
}

// Faults caught: a scroll view that shrinks on every layout pass, replies laid over the label or
// after an empty description's height, a separator without a description, a mode with no text.
TEST_F(QsmSurveyJourneyTest, TheDescriptionLaysOutRepliesTheSameEachPass) {
  openSurveyList();
  auto desc = openDescription(kVote);
  ASSERT_TRUE(desc);
  auto scroll = desc->scrollView.lock();
  const double height = scroll->frame().height();
  desc->view()->setNeedsLayout();
  desc->view()->layoutIfNeeded();
  desc->view()->setNeedsLayout();
  desc->view()->layoutIfNeeded();
  EXPECT_DOUBLE_EQ(scroll->frame().height(), height);
  const auto area = desc->enterBtmView.lock();
  EXPECT_NEAR(scroll->frame().maxY(), area->frame().minY(), 8) << "the scroll view ends at the enter area";
  ASSERT_EQ(desc->replyViews.size(), 2u);
  const auto label = desc->descLabel.lock();
  EXPECT_DOUBLE_EQ(desc->replyViews[0]->frame().minY(), label->frame().minY() + 5);
  EXPECT_DOUBLE_EQ(desc->replyViews[1]->frame().minY(), desc->replyViews[0]->frame().maxY());
  EXPECT_TRUE(desc->replySepImageView.lock()->isHidden());
  EXPECT_EQ(desc->modeLabel.lock()->text(), "");
  EXPECT_NE(desc->replyViews[0]->replyInfoLabel.lock()->text().value_or("").find("工会 "), std::string::npos);
}

class QsmSnapshotTest : public QsmJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  QsmSnapshotTest() : QsmJourneyTest(GetParam()) {}
  static pf::Rect inWindow(const std::shared_ptr<pf::View>& view) {
    return view->convertRectToView(view->bounds(), nullptr);
  }
};

// Faults caught: an interface file that does not load on a profile; a status button, enter button,
// option mark or question picture that is not drawn; a picture that does not zoom.
TEST_P(QsmSnapshotTest, TheListDescriptionAndAQuestionShowTheirContent) {
  const std::string suffix = GetParam() == pf::Screen::Profile::Phone ? "_phone.png" : "_tablet.png";
  openSurveyList();
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, "qsm_list" + suffix);
  auto open = std::dynamic_pointer_cast<QsmAllTableViewCell>(rowCell(kTraining));
  ASSERT_TRUE(open);
  host.render();
  const pf::Rect status = inWindow(open->statusBtn.lock());
  const pf::Pixel teal = host.pixelAt({status.minX() + 3, status.midY()});
  EXPECT_GT(teal.green, teal.red + 60) << "the teal enter button";

  auto desc = openDescription(kVote);
  ASSERT_TRUE(desc);
  host.render();
  writeSnapshot(host, "qsm_desc" + suffix);
  auto enterButton = findEnterButton(*desc);
  const pf::Rect enter = inWindow(enterButton);
  const pf::Pixel green = host.pixelAt({enter.minX() + 4, enter.midY()});
  EXPECT_GT(green.green, green.red + 30) << "the green enter button";
  desc->backBtnClick();
  loop->runUntil(pf::Clock::now() + 1);

  auto process = startAnswering(kTraining);
  ASSERT_TRUE(process);
  auto table = process->quesViewController->tableView();
  auto title = std::dynamic_pointer_cast<EmsQuestionTitleCell>(
      table->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(title);
  ASSERT_EQ(title->imageViews().size(), 1u) << "the question's picture";
  loop->runUntil(pf::Clock::now() + 2);
  tapView(optionCell(*process, 1));
  host.render();
  writeSnapshot(host, "qsm_question" + suffix);
  const pf::Rect mark = inWindow(optionCell(*process, 1)->selectionImageView.lock());
  const pf::Pixel chosen = host.pixelAt({mark.midX(), mark.midY()});
  EXPECT_GT(chosen.blue, chosen.red + 60) << "the chosen option's filled mark";
  ASSERT_EQ(optionCell(*process, 1)->imageViews().size(), 1u) << "the option's picture";

  tapView(title->imageViews().front());
  loop->runUntil(pf::Clock::now() + 2);
  EXPECT_TRUE(process->quesViewController->focusManager->focusViewController) << "the picture zooms";
}

INSTANTIATE_TEST_SUITE_P(Profiles, QsmSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace qsm_survey_journey_test
