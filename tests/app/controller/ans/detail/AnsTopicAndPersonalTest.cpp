// The topic lists, the topic detail and the Q&A personal page against the demo stand-in: follow
// states that stay true through redraws and failures, the empty topic, and the personal entries.
// Each test names the fault it catches.

#include <gtest/gtest.h>

#include "app/controller/ans/AnsPesnViewController.h"
#include "app/controller/ans/AnsQuesListCell.h"
#include "app/controller/ans/AnsQuesViewController.h"
#include "app/controller/ans/AnsTopicDetailContentViewController.h"
#include "app/controller/ans/AnsTopicDetailViewController.h"
#include "app/controller/ans/AnsTopicFocusCell.h"
#include "app/controller/ans/AnsTopicTabBar.h"
#include "app/controller/ans/AnsTopicViewCell.h"
#include "app/controller/ans/AnsTopicViewController.h"
#include "app/model/ans/QuestionTopic.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "tests/app/controller/ans/detail/AnsDetailJourneyTest.h"
#include "tools/devserver/Exchange.h"

namespace ans_topic_and_personal_test {

constexpr char kFollowPath[] = "/v1/qa/questiontopic/follow";

class AnsTopicAndPersonalTest : public AnsDetailJourneyTest {
 protected:
  std::shared_ptr<AnsTopicViewController> openTopics(int viewType) {
    auto list = std::dynamic_pointer_cast<AnsTopicViewController>(
        ViewUtil::viewControllerFromNibOfClass(AnsTopicViewController::kClassName));
    list->setViewType(viewType);
    root->pushViewController(list, false);
    settle();
    loop->runUntilTrue([&] { return !list->isRefreshing(); }, 20);
    settle();
    return list;
  }
  std::shared_ptr<AnsTopicFocusCell> focusCell(AnsTopicViewController& list, long row) {
    return std::dynamic_pointer_cast<AnsTopicFocusCell>(
        list.tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(row, 0)));
  }
};

// Faults caught: every draw marking the row followed again (so an unfollowed row reads followed and a
// second tap unfollows twice); a failed follow leaving the switch on.
TEST_F(AnsTopicAndPersonalTest, FollowSwitchesStayTrueThroughRedrawsAndFailures) {
  AnsService().followTopicById(std::string("QT-001"));
  AnsService().followTopicById(std::string("QT-002"));
  auto list = openTopics(AnsTopicViewController::kMyTopics);
  auto title = std::dynamic_pointer_cast<pf::Label>(list->navigationItem()->titleView());
  ASSERT_TRUE(title);
  EXPECT_EQ(title->text(), "我的话题");
  ASSERT_GE(list->topicInfoList.size(), 3u);
  auto cell = focusCell(*list, 0);
  EXPECT_EQ(cell->focusLabel.lock()->text(), "取消关注");
  auto topic = cell->selectTopic;
  tapView(cell->focusedBtn.lock());
  EXPECT_FALSE(topic->isFocused);
  EXPECT_EQ(list->resultHUD->labelText(), "取消关注成功");
  EXPECT_FALSE(AnsService().isAttentionTopic(topic->topicId));
  list->tableView()->reloadData();
  settle();
  cell = focusCell(*list, 0);
  EXPECT_EQ(cell->selectTopic, topic) << "the row stays until the list refreshes";
  EXPECT_EQ(cell->focusLabel.lock()->text(), "加关注") << "redrawn as it is";

  server->planFaults(kFollowPath, {[](devserver::Exchange& exchange) { exchange.respond(500, "down\n"); }});
  tapView(cell->focusedBtn.lock());
  EXPECT_EQ(list->resultHUD->labelText(), "添加关注失败");
  EXPECT_FALSE(topic->isFocused);
  EXPECT_EQ(focusCell(*list, 0)->focusLabel.lock()->text(), "加关注") << "the switch springs back";
  tapView(focusCell(*list, 0)->focusedBtn.lock());
  EXPECT_TRUE(topic->isFocused);
  EXPECT_EQ(list->resultHUD->labelText(), "添加关注成功");
}

// Faults caught: the topic list not titled or without rows counted "%d个问题"; a topic without
// questions showing anything but its own row with 0.
TEST_F(AnsTopicAndPersonalTest, TopicsCountTheirQuestionsAndAnEmptyTopicShowsZero) {
  auto list = openTopics(AnsTopicViewController::kAllTopics);
  ASSERT_FALSE(list->topicInfoList.empty());
  auto row = std::dynamic_pointer_cast<AnsTopicViewCell>(
      list->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(row);
  EXPECT_EQ(row->topicCountLabel.lock()->text(),
            std::to_string(list->topicInfoList[0]->questionCount) + "个问题");

  auto empty = std::make_shared<QuestionTopic>();
  empty->topicId = "QT-NONE";
  empty->content = "空话题";
  auto screen = std::dynamic_pointer_cast<AnsTopicDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsTopicDetailViewController::kClassName));
  screen->topic = empty;
  root->pushViewController(screen, false);
  settle();
  EXPECT_EQ(screen->tdCVC->tableView()->numberOfRowsInSection(0), 1);
  auto head = std::dynamic_pointer_cast<AnsTopicViewCell>(
      screen->tdCVC->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  EXPECT_EQ(head->topicCountLabel.lock()->text(), "0个问题");
  auto follow = std::dynamic_pointer_cast<pf::Button>(screen->tpTabBar->viewWithTag(102));
  EXPECT_EQ(follow->titleForState(pf::Control::kNormal), "加关注");
}

// Faults caught: the detail's follow item not reading back the server's state.
TEST_F(AnsTopicAndPersonalTest, TheTopicDetailFollowsAndReadsTheStateBack) {
  auto topic = AnsService().getQuestionByFilterText(std::string("安全生产"));
  ASSERT_TRUE(topic);
  auto screen = std::dynamic_pointer_cast<AnsTopicDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsTopicDetailViewController::kClassName));
  screen->topic = topic;
  root->pushViewController(screen, false);
  settle();
  auto follow = std::dynamic_pointer_cast<pf::Button>(screen->tpTabBar->viewWithTag(102));
  EXPECT_EQ(follow->titleForState(pf::Control::kNormal), "加关注");
  tapBarItem(*screen->tpTabBar, 0);
  EXPECT_TRUE(topic->isFocused);
  EXPECT_EQ(screen->resultHUD->labelText(), "添加关注成功");
  EXPECT_EQ(follow->titleForState(pf::Control::kNormal), "取消关注");
  auto row = std::dynamic_pointer_cast<AnsQuesListCell>(
      screen->tdCVC->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(1, 0)));
  ASSERT_TRUE(row);
  EXPECT_EQ(row->answerQtyLabel.lock()->text().value_or("").find("个答案"), std::string::npos);
}

// Faults caught: an entry opening the wrong list or keeping the tab bar; a slide off an entry
// leaving it highlighted; counts not shown.
TEST_F(AnsTopicAndPersonalTest, ThePersonalPageOpensItsListsAndUnhighlightsOnSlideOff) {
  auto page = std::dynamic_pointer_cast<AnsPesnViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsPesnViewController::kClassName));
  auto tabs = std::make_shared<pf::TabBarController>();
  auto navigation = std::make_shared<pf::NavigationController>(page);
  tabs->setViewControllers({navigation});
  window->setRootViewController(tabs);
  root = navigation;
  settle();
  EXPECT_EQ(page->userNameLabel.lock()->text(), "学员小林");
  EXPECT_EQ(page->collectCountLabel.lock()->text(), "1");
  EXPECT_EQ(page->quizCountLabel.lock()->text(), std::to_string(page->userQAInfo->questionCount));

  auto entry = page->view()->viewWithTag(AnsPesnViewController::kCollectedEntry);
  auto decoration = std::dynamic_pointer_cast<pf::Control>(page->view()->viewWithTag(301));
  const pf::Rect frame = entry->convertRectToView(entry->bounds(), nullptr);
  pf::HeadlessHost host(window);
  host.drag({{frame.midX(), frame.midY()}, {frame.midX(), frame.midY() + 5}, {frame.midX(), frame.maxY() + 150}}, 0.5);
  settle();
  EXPECT_FALSE(decoration->isHighlighted()) << "slid off";
  EXPECT_EQ(root->topViewController(), page);

  tapView(entry);
  auto list = std::dynamic_pointer_cast<AnsQuesViewController>(root->topViewController());
  ASSERT_TRUE(list);
  EXPECT_EQ(list->viewType(), AnsQuesViewController::kMyFavorite);
  EXPECT_EQ(list->title(), "我的收藏");
  EXPECT_TRUE(list->navigationItem()->leftBarButtonItem());
  EXPECT_TRUE(list->hidesBottomBarWhenPushed()) << "no tab bar on the list";
  const pf::Rect shown = list->view()->convertRectToView(list->view()->bounds(), nullptr);
  EXPECT_NEAR(shown.maxY(), window->bounds().height(), 0.5) << "the list takes the bar's place";
  EXPECT_FALSE(decoration->isHighlighted());
  page->goback();
  settle();
  EXPECT_EQ(root->topViewController(), page);
}

}  // namespace ans_topic_and_personal_test
