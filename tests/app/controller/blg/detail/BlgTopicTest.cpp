// Topics: the tab's paged list and its row height on a tablet, a topic's follow item with the
// server's "already" refusal, and the composer opened from a topic.

#include <gtest/gtest.h>

#include "app/controller/blg/BlgTopicTableViewController.h"
#include "app/controller/blg/BlgTopicViewController.h"
#include "app/controller/blg/TopicDetailTableViewController.h"
#include "app/controller/cmn/NodataBgView.h"
#include "app/service/blg/TopicService.h"
#include "platform/ui/TextField.h"
#include "tests/app/controller/blg/detail/BlgDetailJourneyTest.h"

namespace blg_topic_test {

class BlgTopicTest : public BlgDetailJourneyTest,
                     public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  BlgTopicTest() : BlgDetailJourneyTest(GetParam()) {}

  std::shared_ptr<TopicDetailViewController> openTopic(const std::string& topicId, const std::string& name) {
    auto topic = makeScreen<TopicDetailViewController>();
    topic->topicID = topicId;
    topic->topicName = name;
    push(topic);
    waitForList(*topic->detailTableViewCon.lock());
    return topic;
  }
};

INSTANTIATE_TEST_SUITE_P(Profiles, BlgTopicTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

// Catches a wrong row height (a tablet row is 1024 / 480 × 55) and a topic opened without its name,
// or with the tab bar still showing.
TEST_P(BlgTopicTest, TheTabListsTopicsPageByPageAndOpensOne) {
  selectTab(2);
  auto tab = std::dynamic_pointer_cast<BlgTopicViewController>(tabStack()->viewControllers().front());
  ASSERT_TRUE(tab);
  auto list = tab->topicTableViewController.lock();
  waitForList(*list);
  ASSERT_TRUE(list->topicsArr);
  EXPECT_EQ(list->topicsArr->size(), 20u);
  auto table = list->tableView();
  const double height = *list->heightForRowAtIndexPath(*table, pf::IndexPath::forRow(0, 0));
  if (GetParam() == pf::Screen::Profile::Tablet) {
    EXPECT_NEAR(height, 117.3, 0.05);
  } else {
    EXPECT_DOUBLE_EQ(height, 55);
  }
  ASSERT_TRUE(list->loadMore());
  waitForList(*list);
  EXPECT_GT(list->topicsArr->size(), 20u);
  {
    pf::HeadlessHost host(window);
    auto first = table->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0));
    ASSERT_TRUE(first);
    host.render();
    const pf::Rect row = inWindow(first);
    const pf::Pixel chip = host.pixelAt({row.minX() + row.width() * 15 / 320, row.midY()});
    EXPECT_GT(chip.red, 150) << "the topic's orange chip";
    EXPECT_LT(chip.blue, 100);
    writeSnapshot(host, "blg_topics" + suffix());
  }

  tapView(table->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  auto topic = top<TopicDetailViewController>();
  ASSERT_TRUE(topic);
  EXPECT_TRUE(topic->hidesBottomBarWhenPushed());
  EXPECT_FALSE(topic->topicName.value_or("").empty());
  EXPECT_EQ(topic->titleLabel.lock()->text(), topic->topicName);
  EXPECT_FALSE(blgDeck->isEnabled()) << "the side panel is locked while the topic shows";
}

// Catches a follow item left at "关注此话题" when the server already counts the follow, and the
// server's cause not shown.
TEST_P(BlgTopicTest, FollowingATopicTheServerAlreadyCountsCorrectsTheItem) {
  auto topic = openTopic("WT-002", "安全月");
  EXPECT_FALSE(topic->isFollow);
  EXPECT_EQ(topic->followTabBarItem.lock()->title(), "关注此话题");
  ASSERT_TRUE(TopicService().followTopicWithID(std::string("WT-002")));
  tapBarItem(*topic->actionBar.lock(), TopicDetailViewController::kFollowTag);
  settle();
  EXPECT_TRUE(topic->isFollow);
  EXPECT_EQ(topic->followTabBarItem.lock()->title(), "取消关注此话题");
  const auto cause = boxText();
  ASSERT_TRUE(cause);
  EXPECT_NE(*cause, "关注成功!");
  waitForBoxToHide();
  tapBarItem(*topic->actionBar.lock(), TopicDetailViewController::kFollowTag);
  EXPECT_EQ(boxText(), "取消关注成功!");
  EXPECT_EQ(topic->followTabBarItem.lock()->title(), "关注此话题");
  loop->runUntil(pf::Clock::now() + 0.25);
  EXPECT_FALSE(topic->actionBar.lock()->selectedItem());
  {
    pf::HeadlessHost host(window);
    writeSnapshot(host, "blg_topic_detail" + suffix());
  }
}

// Catches a topic without blogs showing a blank list, and a composer opened without the topic.
TEST_P(BlgTopicTest, ATopicWithoutBlogsShowsTheEmptyViewAndWritesWithItsName) {
  auto topic = openTopic("WT-024", "空话题");
  auto list = topic->detailTableViewCon.lock();
  ASSERT_TRUE(list->resourceArr);
  EXPECT_TRUE(list->resourceArr->empty());
  EXPECT_FALSE(list->nodataBgView()->isHidden());
  tapBarItem(*topic->actionBar.lock(), TopicDetailViewController::kWriteTag);
  settle();
  auto composer = top<WriteBlogViewController>();
  ASSERT_TRUE(composer);
  EXPECT_EQ(composer->blogField.lock()->text(), "空话题");
}

}  // namespace blg_topic_test
