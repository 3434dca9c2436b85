// The ask screen and the text overlays: the 140-character question limit typed and pasted, a pair
// never split, one publish at a time, no share after a failed publish, the overlays' limits, and the
// question editor's topic rules. Each test names the fault it catches.

#include <gtest/gtest.h>

#include <atomic>

#include "app/controller/ans/AnsQuesQuizViewController.h"
#include "app/controller/ans/AnsTopicDetailViewController.h"
#include "app/controller/ans/AnsTopicDetailContentViewController.h"
#include "app/controller/ans/AnsTopicTabBar.h"
#include "app/model/ans/QuestionTopic.h"
#include "platform/foundation/Utf16.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "tests/app/controller/ans/detail/AnsDetailJourneyTest.h"
#include "tools/devserver/Exchange.h"

namespace ans_editors_test {

constexpr char kAddQuestionPath[] = "/v1/qa/question/add";
constexpr char kUpdateQuestionPath[] = "/v1/qa/question/update";
constexpr char kShareQuestionPath[] = "/v1/qa/question/share";

std::string ansEditorsRepeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

class AnsEditorsTest : public AnsDetailJourneyTest {
 protected:
  std::shared_ptr<AnsQuesQuizViewController> openAsk() {
    auto ask = std::dynamic_pointer_cast<AnsQuesQuizViewController>(
        ViewUtil::viewControllerFromNibOfClass(AnsQuesQuizViewController::kClassName));
    root->pushViewController(ask, false);
    settle();
    return ask;
  }
  // Focuses the area and types or pastes into it through the headless host.
  void enter(const std::shared_ptr<pf::TextView>& area, const std::string& text, bool paste) {
    area->becomeFirstResponder();
    pf::HeadlessHost host(window);
    if (paste)
      host.pasteText(text);
    else
      host.typeText(text);
    loop->runUntil(pf::Clock::now() + 0.1);
  }
  // The warning the ask screen shows on its view, if one is up.
  std::optional<std::string> warningOn(const pf::View& view) { return hudText(view); }
};

// Faults caught: the counter not reaching 0 at exactly 140, a warning at 140, a paste of 150 kept
// whole or refused, a surrogate pair split at the cut.
TEST_F(AnsEditorsTest, TheQuestionKeeps140CharactersAndNeverSplitsAPair) {
  auto ask = openAsk();
  auto area = ask->questionView.lock();
  enter(area, ansEditorsRepeat("问", 140), false);
  EXPECT_EQ(ask->inputQtyLabel.lock()->text(), "0");
  EXPECT_FALSE(warningOn(*ask->view())) << "140 is allowed";
  area->setText(std::nullopt);
  enter(area, ansEditorsRepeat("答", 150), true);
  EXPECT_EQ(area->text(), ansEditorsRepeat("答", 140));
  EXPECT_EQ(warningOn(*ask->view()), "最大字数不能超过140");
  EXPECT_EQ(ask->inputQtyLabel.lock()->text(), "0");
  settle();
  area->setText(std::nullopt);
  enter(area, ansEditorsRepeat("a", 139) + "😀", true);
  EXPECT_EQ(area->text(), ansEditorsRepeat("a", 139)) << "the emoji is left out whole";
  EXPECT_EQ(ask->inputQtyLabel.lock()->text(), "1");
}

// Faults caught: a second publish while one runs; a share sent for a question the server did not
// take; the result gone with the screen, or left on the window for good.
TEST_F(AnsEditorsTest, OnePublishAtATimeAndNoShareAfterAFailedOne) {
  auto ask = openAsk();
  ask->questionView.lock()->setText("新问题：怎样申请外部培训？");
  ask->tranSelectedBtn.lock()->setSelected(true);
  const size_t adds = callsTo(kAddQuestionPath);
  const size_t shares = callsTo(kShareQuestionPath);
  ask->isInDistributing = true;
  ask->distributeQues(nullptr);
  EXPECT_EQ(callsTo(kAddQuestionPath), adds) << "a publish is under way";
  ask->isInDistributing = false;
  auto failed = std::make_shared<std::atomic<int>>(0);
  server->planFaults(kAddQuestionPath, {[failed](devserver::Exchange& exchange) {
                                          ++*failed;
                                          exchange.respond(500, "down\n");
                                        }});
  auto result = ask->resultHUD;
  ask->distributeQues(nullptr);
  ask->distributeQues(nullptr);
  EXPECT_EQ(failed->load() + callsTo(kAddQuestionPath), static_cast<int>(adds) + 1) << "one add";
  EXPECT_EQ(callsTo(kShareQuestionPath), shares) << "nothing published, nothing shared";
  EXPECT_EQ(result->labelText(), "发布问题失败");
  loop->runUntil(pf::Clock::now() + 1);
  EXPECT_EQ(root->topViewController(), start) << "the screen closes after a publish that reached the server";
  ask.reset();
  settle();
  loop->runUntil(pf::Clock::now() + 3);
  EXPECT_FALSE(result->superview()) << "the result leaves the window";
  EXPECT_EQ(window->subviews().size(), baseSubviews);
}

// Faults caught: the empty-question alert missing, or the publish control dead after it; a
// published question not shared when asked to.
TEST_F(AnsEditorsTest, AnEmptyQuestionAlertsAndTheControlWorksAgain) {
  auto ask = openAsk();
  ask->distributeQues(nullptr);
  EXPECT_EQ(takeAlerts(), std::vector<std::string>{"您还没有输入问题信息哦！"});
  EXPECT_FALSE(ask->isInDistributing);
  const size_t shares = callsTo(kShareQuestionPath);
  ask->questionView.lock()->setText("如何报名内部讲师？");
  ask->topicView.lock()->setText("学习方法,讲师");
  ask->selectBtnClick(nullptr);
  EXPECT_TRUE(ask->shouldBeSharedToWB());
  ask->distributeQues(nullptr);
  EXPECT_EQ(ask->resultHUD->labelText(), "发布成功");
  EXPECT_EQ(callsTo(kShareQuestionPath), shares + 1);
  EXPECT_EQ(server->calls(kShareQuestionPath).back().text("questionId"), ask->question->questionId);
  EXPECT_EQ(ask->question->topicName, "学习方法，讲师");
}

// Faults caught: an overlay letting the 400th character pass without a warning, or cutting it.
TEST_F(AnsEditorsTest, AnOverlayWarnsAtExactlyItsLimit) {
  auto detail = openDetail("QA-004");
  tapBarItem(*detail->ansTabBar, 0);
  auto editor = detail->disV;
  ASSERT_TRUE(showing(editor));
  auto area = editor->editView.lock();
  area->becomeFirstResponder();
  typeInto(area, ansEditorsRepeat("答", 399));
  EXPECT_EQ(editor->numBtn.lock()->titleForState(pf::Control::kNormal), "1");
  EXPECT_FALSE(hudText(*editor));
  typeInto(area, ansEditorsRepeat("答", 400));
  EXPECT_EQ(hudText(*editor), "您输入的字数已超过限制长度：400");
  EXPECT_EQ(pf::utf16::length(area->text()), 400u);
  EXPECT_FALSE(area->isFirstResponder()) << "the keyboard goes";
  EXPECT_EQ(editor->numBtn.lock()->titleForState(pf::Control::kNormal), "0");
  settle();
  EXPECT_FALSE(ProgressHUD::HUDForView(*editor)) << "the warning leaves the overlay";
}

// Faults caught: six topics saved (or the question changed before the server took it); a 54-unit
// topic text not warned or not kept at 54; the question editor not reopening with the topics.
TEST_F(AnsEditorsTest, TheQuestionEditorKeepsTopicRulesAndChangesNothingRefused) {
  auto detail = openDetail("QA-003");
  auto question = detail->question;
  const auto title = question->title;
  auto editor = detail->qesDVC->modifyView;
  detail->qesDVC->editQuestion();
  ASSERT_TRUE(showing(editor));
  EXPECT_EQ(editor->content(), title);
  EXPECT_EQ(editor->topicContent(), "考试，学习方法");
  typeInto(editor->editView.lock(), "改过的标题");
  typeInto(editor->topicEditView.lock(), "a,b,c,d,e,f");
  const size_t updates = callsTo(kUpdateQuestionPath);
  tapLeft(*editor);
  EXPECT_EQ(takeAlerts(), std::vector<std::string>{"最多不可以超过5个话题哦"});
  EXPECT_EQ(callsTo(kUpdateQuestionPath), updates);
  EXPECT_EQ(question->title, title) << "refused: the question is unchanged";
  EXPECT_TRUE(showing(editor)) << "the editor stays with the user's text";
  EXPECT_EQ(editor->content(), "改过的标题");

  typeInto(editor->topicEditView.lock(), ansEditorsRepeat("题", 54));
  EXPECT_EQ(hudText(*editor), "您输入的字数已超过限制长度：54");
  EXPECT_EQ(editor->topicContent(), ansEditorsRepeat("题", 54));
  settle();

  server->planFaults(kUpdateQuestionPath, {[](devserver::Exchange& exchange) { exchange.respond(500, "down\n"); }});
  typeInto(editor->topicEditView.lock(), "考试");
  tapLeft(*editor);
  EXPECT_EQ(question->title, title) << "a failed save shows nothing saved";
  EXPECT_FALSE(showing(editor));

  detail->qesDVC->editQuestion();
  typeInto(editor->editView.lock(), "考试断网后答案会保存吗？");
  typeInto(editor->topicEditView.lock(), "考试");
  tapLeft(*editor);
  EXPECT_EQ(question->title, "考试断网后答案会保存吗？");
  EXPECT_EQ(question->topicName, "考试");
}

// Faults caught: asking from a topic not raising its count, the topic's list not refreshed.
TEST_F(AnsEditorsTest, AskingFromATopicRaisesItsCount) {
  auto topic = AnsService().getQuestionByFilterText(std::string("学习方法"));
  ASSERT_TRUE(topic);
  auto screen = std::dynamic_pointer_cast<AnsTopicDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsTopicDetailViewController::kClassName));
  screen->topic = topic;
  root->pushViewController(screen, false);
  settle();
  const int count = topic->questionCount;
  const size_t listed = screen->tdCVC->quesList.size();
  tapBarItem(*screen->tpTabBar, 1);
  auto ask = std::dynamic_pointer_cast<AnsQuesQuizViewController>(root->topViewController());
  ASSERT_TRUE(ask);
  EXPECT_EQ(ask->topicView.lock()->text(), "学习方法");
  ask->questionView.lock()->setText("每天学习多久合适？");
  ask->distributeQues(nullptr);
  settle();
  EXPECT_EQ(root->topViewController(), screen);
  EXPECT_EQ(topic->questionCount, count + 1);
  EXPECT_EQ(screen->tdCVC->quesList.size(), listed + 1) << "the topic's list refreshed";
}

}  // namespace ans_editors_test
