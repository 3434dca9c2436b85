// The question detail against the demo stand-in: collecting, the answer and share editors, editing
// one's answer, praise, the topic links and the row heights. Each test names the fault it catches.

#include <gtest/gtest.h>

#include "app/components/richlabel/RichLabel.h"
#include "app/controller/ans/AnsQuesAnswerCell.h"
#include "app/controller/ans/AnsQuesAnswerCountCell.h"
#include "app/controller/ans/AnsQuesDetailCell.h"
#include "app/controller/ans/AnsTopicDetailViewController.h"
#include "app/model/ans/QuestionTopic.h"
#include "app/util/KivRichLabelExtension.h"
#include "platform/ui/Label.h"
#include "tests/app/controller/ans/detail/AnsDetailJourneyTest.h"
#include "tools/devserver/Exchange.h"

namespace ans_ques_detail_test {

constexpr char kShareOpenPath[] = "/v1/qa/question/share";
constexpr char kAddAnswerPath[] = "/v1/qa/answer/add";
constexpr char kUpdateAnswerPath[] = "/v1/qa/answer/update";
constexpr char kTopicByNamePath[] = "/v1/qa/questiontopic/getByContent";

class AnsQuesDetailTest : public AnsDetailJourneyTest {
 protected:
  // A tap that lets 0.1 s pass: the result overlays are still up.
  void tapQuick(const std::shared_ptr<pf::View>& view) {
    const pf::Rect frame = view->convertRectToView(view->bounds(), nullptr);
    pf::HeadlessHost(window).tap({frame.midX(), frame.midY()});
    loop->runUntil(pf::Clock::now() + 0.1);
  }
  void tapBarQuick(AnsQuesDetailViewController& detail, int index) {
    for (const auto& item : detail.ansTabBar->items)
      if (item->tag() == (index + 1) * 100 + 3) return tapQuick(item);
  }
  std::shared_ptr<AnsQuesAnswerCell> answerCellAt(AnsQuesDetailViewController& detail, long index) {
    auto table = detail.qesDVC->tableView();
    const auto path = pf::IndexPath::forRow(index + 2, 0);
    table->scrollToRowAtIndexPath(path, pf::TableView::ScrollPosition::Middle, false);
    loop->runUntil(pf::Clock::now() + 0.1);
    return std::dynamic_pointer_cast<AnsQuesAnswerCell>(table->cellForRowAtIndexPath(path));
  }
  long answerIndexOf(AnsQuesDetailViewController& detail, const std::string& answerId) {
    const auto& answers = detail.qesDVC->answerList;
    for (size_t i = 0; i < answers.size(); ++i)
      if (answers[i]->answerId == answerId) return static_cast<long>(i);
    return -1;
  }
  std::string resultText(AnsQuesDetailViewController& detail) { return detail.resultHUD->labelText().value_or(""); }
  static void failWith500(devserver::Exchange& exchange) { exchange.respond(500, "down\n"); }
};

// Faults caught: the collect item not reading the server's state, a toggle that does not reach the
// server or retitle the item, and an editor added to the window by the collect tap that never leaves.
TEST_F(AnsQuesDetailTest, CollectTogglesFromTheServersStateAndLeavesNothingOnTheWindow) {
  auto detail = openDetail("QA-001");
  ASSERT_TRUE(detail->questionIsCollected) << "demo collected QA-001";
  auto title = std::dynamic_pointer_cast<pf::Button>(detail->ansTabBar->viewWithTag(302));
  EXPECT_EQ(title->titleForState(pf::Control::kNormal), "取消收藏");
  tapBarQuick(*detail, 2);
  EXPECT_EQ(resultText(*detail), "取消收藏成功");
  EXPECT_TRUE(detail->resultHUD->isShowing());
  loop->runUntil(pf::Clock::now() + 1.2);
  EXPECT_FALSE(detail->resultHUD->isShowing()) << "hides after 0.8 s";
  EXPECT_FALSE(detail->questionIsCollected);
  EXPECT_EQ(title->titleForState(pf::Control::kNormal), "收藏");
  tapBarQuick(*detail, 2);
  EXPECT_EQ(resultText(*detail), "收藏成功！");
  EXPECT_EQ(title->titleForState(pf::Control::kNormal), "取消收藏");
  settle();
  EXPECT_EQ(window->subviews().size(), baseSubviews + 1) << "only the question editor, hidden";
  std::weak_ptr<AnsQuesDetailViewController> closed = detail;
  detail.reset();
  root->popViewControllerAnimated(false);
  settle();
  EXPECT_EQ(window->subviews().size(), baseSubviews) << "the question editor leaves with the screen";
  EXPECT_TRUE(closed.expired()) << "a closed detail is freed";
}

// Faults caught: the answer list unable to refresh or load more when it was made offline.
TEST_F(AnsQuesDetailTest, TheAnswerListRefreshesAndLoadsMoreEvenWhenMadeOffline) {
  setOnline(false);
  auto detail = openDetail(questionOf("QA-001"));
  EXPECT_TRUE(detail->qesDVC->refreshControl());
  EXPECT_TRUE(detail->qesDVC->tableView()->tableFooterView());
}

// Faults caught: an answer editor opened on a question already answered, the prompt kept too long,
// and editors piling up on the key window.
TEST_F(AnsQuesDetailTest, AnsweringAnAnsweredQuestionOnlySaysSoForHalfASecond) {
  auto detail = openDetail("QA-002");
  tapBarQuick(*detail, 0);
  EXPECT_EQ(resultText(*detail), "已添加过答案！");
  EXPECT_FALSE(showing(detail->disV)) << "no editor";
  loop->runUntil(pf::Clock::now() + 0.3);
  EXPECT_TRUE(detail->resultHUD->isShowing());
  loop->runUntil(pf::Clock::now() + 0.5);
  EXPECT_FALSE(detail->resultHUD->isShowing());
  for (int index : {0, 2, 2, 1}) tapBarItem(*detail->ansTabBar, index);
  ASSERT_TRUE(showing(detail->disV)) << "the share editor";
  EXPECT_EQ(window->subviews().size(), baseSubviews + 2);
  tapRight(*detail->disV);
  EXPECT_EQ(window->subviews().size(), baseSubviews + 1) << "a closed editor leaves the window";
}

// Faults caught: the answer count raised only here (not on the list's shared question), the new
// answer missing from the list, an empty answer sent anyway.
TEST_F(AnsQuesDetailTest, AnAnswerRaisesTheCountHereAndInTheListAndAnEmptyOneSendsNothing) {
  auto question = questionOf("QA-004");
  ASSERT_TRUE(question);
  const long long before = question->answerCount;
  auto detail = openDetail(question);
  tapBarItem(*detail->ansTabBar, 0);
  ASSERT_TRUE(showing(detail->disV));
  EXPECT_EQ(detail->disV->leftBtn.lock()->titleForState(pf::Control::kNormal), "保存");
  EXPECT_EQ(detail->disV->contentLimitedSize(), 400);
  const size_t adds = callsTo(kAddAnswerPath);
  typeInto(detail->disV->editView.lock(), "");
  tapLeft(*detail->disV);
  EXPECT_EQ(callsTo(kAddAnswerPath), adds) << "nothing sent";
  EXPECT_FALSE(showing(detail->disV));
  tapBarItem(*detail->ansTabBar, 0);
  typeInto(detail->disV->editView.lock(), "每天固定一个小时，先看视频再做练习。");
  tapLeft(*detail->disV);
  EXPECT_EQ(callsTo(kAddAnswerPath), adds + 1);
  EXPECT_EQ(question->answerCount, before + 1) << "the list's question object";
  EXPECT_EQ(resultText(*detail), "添加答案成功！");
  ASSERT_EQ(detail->qesDVC->answerList.size(), static_cast<size_t>(before + 1));
  EXPECT_EQ(detail->qesDVC->answerList.back()->content, "每天固定一个小时，先看视频再做练习。");
  auto count = std::dynamic_pointer_cast<AnsQuesAnswerCountCell>(
      detail->qesDVC->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(1, 0)));
  EXPECT_EQ(count->answerCountLabel.lock()->text(), std::to_string(before + 1) + "个答案");
}

// Faults caught: an emptied share sent or its editor closed; a failed share reported as shared.
TEST_F(AnsQuesDetailTest, ShareRefusesAnEmptyTextAndReportsAFailure) {
  auto detail = openDetail("QA-004");
  tapBarItem(*detail->ansTabBar, 1);
  ASSERT_TRUE(showing(detail->disV));
  EXPECT_EQ(detail->disV->content(), "如何安排每天的学习时间？") << "prefilled with the title";
  EXPECT_EQ(detail->disV->contentLimitedSize(), 140);
  const size_t shares = callsTo(kShareOpenPath);
  typeInto(detail->disV->editView.lock(), "");
  tapQuick(detail->disV->leftBtn.lock());
  EXPECT_EQ(detail->progressHUD->labelText(), "分享内容不能为空");
  EXPECT_TRUE(showing(detail->disV)) << "the editor stays";
  EXPECT_EQ(callsTo(kShareOpenPath), shares);
  typeInto(detail->disV->editView.lock(), "推荐大家看看");
  server->planFaults(kShareOpenPath, {failWith500});
  tapQuick(detail->disV->leftBtn.lock());
  EXPECT_EQ(resultText(*detail), "分享到微博出错！");
  EXPECT_FALSE(showing(detail->disV));
  settle();
  tapBarItem(*detail->ansTabBar, 1);
  tapQuick(detail->disV->leftBtn.lock());
  EXPECT_EQ(resultText(*detail), "成功分享到微博！");
}

// Faults caught: an edit the server refused shown as saved; an edit control on other people's
// answers; the updated answer expiring before it replaces the listed one.
TEST_F(AnsQuesDetailTest, EditingOnesAnswerShowsOnlyWhatTheServerSaved) {
  auto others = openDetail("QA-001");
  for (long i = 0; i < static_cast<long>(others->qesDVC->answerList.size()); ++i)
    EXPECT_TRUE(answerCellAt(*others, i)->editBtn.lock()->isHidden()) << "answer " << i << " is another's";
  root->popViewControllerAnimated(false);
  settle();

  auto detail = openDetail("QA-002");
  const long index = answerIndexOf(*detail, "AN-003");
  ASSERT_GE(index, 0);
  const auto before = detail->qesDVC->answerList[index]->content;
  auto cell = answerCellAt(*detail, index);
  ASSERT_FALSE(cell->editBtn.lock()->isHidden()) << "U0001 wrote AN-003";
  tapView(cell->editBtn.lock());
  ASSERT_TRUE(showing(detail->disV));
  EXPECT_EQ(detail->disV->topTitle(), "编辑回答");
  EXPECT_EQ(detail->disV->content(), before);
  typeInto(detail->disV->editView.lock(), "改过的答案");
  server->planFaults(kUpdateAnswerPath, {failWith500});
  tapLeft(*detail->disV);
  EXPECT_EQ(detail->qesDVC->answerList[index]->content, before) << "the refused edit is not shown";
  EXPECT_EQ(answerCellAt(*detail, index)->replyContentLabel.lock()->text(), before);

  tapView(answerCellAt(*detail, index)->editBtn.lock());
  typeInto(detail->disV->editView.lock(), "改过的答案");
  tapLeft(*detail->disV);
  settle();
  EXPECT_EQ(detail->qesDVC->answerList[answerIndexOf(*detail, "AN-003")]->content, "改过的答案");
}

// Faults caught: praise not counted or its control kept; the grown touch area missing (a touch just
// left of the control does nothing).
TEST_F(AnsQuesDetailTest, PraiseCountsOnceAndATouchJustLeftOfTheControlHits) {
  auto detail = openDetail("QA-001");
  auto cell = answerCellAt(*detail, 0);
  auto agree = cell->agreeBtn.lock();
  ASSERT_FALSE(agree->isHidden());
  const long long before = cell->answer.lock()->agreeCount;
  const double s = pf::Screen::mainScreen().bounds().width() / 320;
  const pf::Rect frame = agree->convertRectToView(agree->bounds(), nullptr);
  pf::HeadlessHost(window).tap({frame.minX() - 4 * s, frame.midY()});
  settle();
  auto praised = detail->qesDVC->answerList[0];
  EXPECT_EQ(praised->agreeCount, before + 1);
  EXPECT_TRUE(praised->isAgree);
  cell = answerCellAt(*detail, 0);
  EXPECT_TRUE(cell->agreeBtn.lock()->isHidden());
  EXPECT_EQ(cell->agreeCountLabel.lock()->text(), std::to_string(before + 1));
}

// Faults caught: repeats, a leading or trailing separator or an empty piece turned into links.
TEST(AnsQuesDetailTopicLinks, TopicTextBecomesTheLinksShown) {
  using Names = std::vector<std::string>;
  const std::pair<const char*, Names> cases[] = {
      {",a，", {"a"}}, {"a,a,b", {"a", "b"}}, {"a,b,a", {"a", "b", "a"}}, {"a,,b", {"a"}},
      {"a，b", {"a", "b"}}, {"", {}}, {"a", {"a"}}};
  for (const auto& [text, names] : cases)
    EXPECT_EQ(AnsQuesDetailContentViewController::topicLinkNames(std::string(text)), names) << text;
  EXPECT_TRUE(AnsQuesDetailContentViewController::topicLinkNames(std::nullopt).empty());
}

// Faults caught: the answer row not growing past 96 points of text, or growing before.
TEST(AnsQuesDetailHeights, AnAnswerRowGrowsOnlyPast96PointsOfText) {
  pf::Screen::configure(pf::Screen::Profile::Phone);
  EXPECT_EQ(AnsQuesDetailContentViewController::answerRowHeight(40), 127);
  EXPECT_EQ(AnsQuesDetailContentViewController::answerRowHeight(96), 127);
  EXPECT_EQ(AnsQuesDetailContentViewController::answerRowHeight(97), 128);
}

// Faults caught: a typed "<" opening a tag in the question row; a tapped link asking for the name
// without the characters markup cannot carry; the topic screen not opened.
TEST_F(AnsQuesDetailTest, ATopicNameWithMarkupCharactersShowsAndOpensAsTyped) {
  auto question = std::make_shared<QaQuestion>();
  question->title = "x<y>的问题";
  question->topicName = "安全生产,x<y>";
  auto added = AnsService().addQuestion(question);
  ASSERT_TRUE(added);
  auto detail = openDetail(added);
  auto cell = std::dynamic_pointer_cast<AnsQuesDetailCell>(
      detail->qesDVC->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(cell);
  auto label = cell->questionDetailLabel.lock();
  EXPECT_NE(label->plainText().value_or("").find("x<y>的问题"), std::string::npos);
  EXPECT_NE(label->plainText().value_or("").find("安全生产 x<y>"), std::string::npos);
  detail->qesDVC->richLabelDidSelectLinkWithContent(*label, KivRichLabelExtension::hrefText("x<y>"));
  settle();
  ASSERT_FALSE(server->calls(kTopicByNamePath).empty());
  EXPECT_EQ(server->calls(kTopicByNamePath).back().text("content"), "x<y>");
  auto topic = std::dynamic_pointer_cast<AnsTopicDetailViewController>(root->topViewController());
  ASSERT_TRUE(topic);
  EXPECT_EQ(topic->topic->content, "x<y>");
}

}  // namespace ans_ques_detail_test
