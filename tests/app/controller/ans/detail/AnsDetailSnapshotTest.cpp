// The Q&A detail screens drawn on the phone and the tablet: the question detail, the answer editor,
// the ask screen, the topic list, a topic and the personal page. Pictures go to MARLUNE_SNAPSHOT_DIR
// when set; the checks sample pixels and geometry.

#include <gtest/gtest.h>

#include "app/components/richlabel/RichLabel.h"
#include "app/controller/ans/AnsPesnViewController.h"
#include "app/controller/ans/AnsQuesAnswerCell.h"
#include "app/controller/ans/AnsQuesDetailCell.h"
#include "app/controller/ans/AnsQuesQuizViewController.h"
#include "app/controller/ans/AnsTopicDetailContentViewController.h"
#include "app/controller/ans/AnsTopicDetailViewController.h"
#include "app/controller/ans/AnsTopicTabBar.h"
#include "app/controller/ans/AnsTopicViewController.h"
#include "app/model/ans/QuestionTopic.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "tests/app/controller/ans/detail/AnsDetailJourneyTest.h"

namespace ans_detail_snapshot_test {

class AnsDetailSnapshotTest : public AnsDetailJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  AnsDetailSnapshotTest() : AnsDetailJourneyTest(GetParam()) {}

  std::string suffix() const { return GetParam() == pf::Screen::Profile::Phone ? "_phone.png" : "_tablet.png"; }
  static pf::Rect inWindow(const std::shared_ptr<pf::View>& view) {
    return view->convertRectToView(view->bounds(), nullptr);
  }
  // The picture at the middle of the view differs from the window's bottom-left corner.
  void expectDrawn(pf::HeadlessHost& host, const std::shared_ptr<pf::View>& view, const std::string& what) {
    const pf::Rect frame = inWindow(view);
    EXPECT_NE(host.pixelAt({frame.midX(), frame.midY()}), host.pixelAt({1, window->bounds().height() - 1})) << what;
  }
  // The view lies inside the window and, when given, does not reach into the other.
  void expectInside(const std::shared_ptr<pf::View>& view, const std::string& what) {
    const pf::Rect frame = inWindow(view);
    EXPECT_TRUE(window->bounds().contains(frame)) << what;
  }
};

// Faults caught: a detail whose bar covers the list or leaves the screen, question or answer rows
// drawn empty, faces missing, an editor not covering the window.
TEST_P(AnsDetailSnapshotTest, DetailAndAnswerEditor) {
  auto detail = openDetail("QA-003");
  loop->runUntil(pf::Clock::now() + 2);
  settle();
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, "ans_detail" + suffix());
  const pf::Rect bar = inWindow(detail->ansTabBar);
  EXPECT_NEAR(bar.maxY(), window->bounds().height(), 0.5) << "the bar sits at the bottom";
  EXPECT_LE(inWindow(detail->qesDVC->view()).maxY(), bar.minY() + 0.5) << "the list ends above the bar";
  auto question = std::dynamic_pointer_cast<AnsQuesDetailCell>(
      detail->qesDVC->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(question);
  expectDrawn(host, question->questionDetailLabel.lock(), "question title");
  auto answer = std::dynamic_pointer_cast<AnsQuesAnswerCell>(
      detail->qesDVC->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(2, 0)));
  ASSERT_TRUE(answer);
  expectInside(answer->agreeBtn.lock(), "praise control");
  const auto longest = detail->qesDVC->answerList.back();
  ASSERT_GT(longest->content->size(), 300u) << "the demo's long answer";
  const double grown = detail->qesDVC->tableView()->rectForRowAtIndexPath(
      pf::IndexPath::forRow(static_cast<long>(detail->qesDVC->answerList.size()) + 1, 0)).height();
  EXPECT_GT(grown, AnsQuesDetailContentViewController::answerRowHeight(0)) << "a long answer's row grows";
  auto face = answer->replyerIconImgView.lock();
  ASSERT_TRUE(face->image());
  EXPECT_GT(face->image()->size().width, 0);
  expectDrawn(host, face, "answer face");

  tapBarItem(*detail->ansTabBar, 0);
  host.render();
  writeSnapshot(host, "ans_answer_editor" + suffix());
  ASSERT_TRUE(showing(detail->disV));
  EXPECT_EQ(inWindow(detail->disV), window->bounds());
  expectInside(detail->disV->contentView.lock(), "editor panel");
  expectDrawn(host, detail->disV->leftBtn.lock(), "send button");
}

// Faults caught: the ask screen's controls outside the screen or undrawn.
TEST_P(AnsDetailSnapshotTest, AskScreen) {
  auto ask = std::dynamic_pointer_cast<AnsQuesQuizViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsQuesQuizViewController::kClassName));
  root->pushViewController(ask, false);
  settle();
  ask->questionView.lock()->setText("新员工怎样选择第一门选修课？");
  ask->topicView.lock()->setText("学习方法");
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, "ans_ask" + suffix());
  for (const auto& view : {std::static_pointer_cast<pf::View>(ask->questionView.lock()),
                           std::static_pointer_cast<pf::View>(ask->topicView.lock()),
                           std::static_pointer_cast<pf::View>(ask->tranSelectedBtn.lock())})
    expectInside(view, "ask control");
  expectDrawn(host, ask->questionView.lock(), "question area");
}

// Faults caught: topic rows or the topic's bar undrawn or off screen, the personal counts missing.
TEST_P(AnsDetailSnapshotTest, TopicsTopicAndPersonalPage) {
  auto list = std::dynamic_pointer_cast<AnsTopicViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsTopicViewController::kClassName));
  list->setViewType(AnsTopicViewController::kAllTopics);
  root->pushViewController(list, false);
  settle();
  loop->runUntilTrue([&] { return !list->isRefreshing(); }, 20);
  settle();
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, "ans_topics" + suffix());
  ASSERT_FALSE(list->topicInfoList.empty());
  const auto row = list->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0));
  EXPECT_NEAR(row->frame().height(), AnsTopicViewController::rowHeight(), 0.5);

  auto screen = std::dynamic_pointer_cast<AnsTopicDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsTopicDetailViewController::kClassName));
  screen->topic = list->topicInfoList.front();
  root->pushViewController(screen, false);
  settle();
  host.render();
  writeSnapshot(host, "ans_topic" + suffix());
  EXPECT_NEAR(inWindow(screen->tpTabBar).maxY(), window->bounds().height(), 0.5);
  expectDrawn(host, screen->tpTabBar, "topic bar");

  auto page = std::dynamic_pointer_cast<AnsPesnViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsPesnViewController::kClassName));
  root->pushViewController(page, false);
  settle();
  host.render();
  writeSnapshot(host, "ans_personal" + suffix());
  expectInside(page->view()->viewWithTag(AnsPesnViewController::kTopicsEntry), "last entry");
  expectDrawn(host, page->userImgView.lock(), "face");
  EXPECT_EQ(page->collectCountLabel.lock()->text(), "1");
}

INSTANTIATE_TEST_SUITE_P(Profiles, AnsDetailSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace ans_detail_snapshot_test
