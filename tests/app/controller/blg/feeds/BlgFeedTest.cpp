// The micro-blog home feed against the demo stand-in: the module root's panel lock, rows filled and
// laid out for what a blog holds, reused rows that keep nothing of another blog, links in the text,
// and paging through the followed people's blogs.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <set>

#include <nlohmann/json.hpp>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/components/richlabel/RichLabel.h"
#include "app/components/richlabel/RichLabelButton.h"
#include "app/controller/blg/BlgBlogRows.h"
#include "app/controller/blg/BlgPageLoader.h"
#include "app/controller/blg/BlgDetailViewController.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/model/blg/Statistics.h"
#include "app/model/blg/Topic.h"
#include "app/model/cmn/Page.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "tests/app/controller/blg/feeds/BlgFeedJourneyTest.h"
#include "tools/devserver/Answers.h"
#include "ui/base/BaseUIImageView.h"

namespace blg_feed_test {

// Faults caught: a chip link cut out of range or read as a nick name, "topicID:" alone taken for a
// topic, the name taken from the wrong piece.
TEST(BlgTopicLink, IdIsBeforeTheFirstSemicolonAndTheNameAllAfterIt) {
  const struct {
    const char* content;
    bool topic;
    const char* id;
    const char* name;
  } cases[] = {
      {"topicID:WT-001;新员工培训", true, "WT-001", "新员工培训"},
      {"topicID:WT-9;a;b", true, "WT-9", "a;b"},
      {"topicID:WT-7", true, "WT-7", ""},
      {"topicID:", false, "", ""},
      {"王芳", false, "", ""},
      {"topicid:WT-1;x", false, "", ""},
  };
  for (const auto& c : cases) {
    const auto link = BlgBlogRows::topicLinkOf(c.content);
    ASSERT_EQ(link.has_value(), c.topic) << c.content;
    if (!link) continue;
    EXPECT_EQ(link->topicId, c.id) << c.content;
    EXPECT_EQ(link->topicName, c.name) << c.content;
  }
}

class BlgFeedTest : public BlgFeedJourneyTest {};

// Faults caught: the panel left unlocked after a row pushed the detail, left locked after coming
// back, a stale currentItem after a tab change, touches reaching the tabs while the menu is open.
TEST_F(BlgFeedTest, ThePanelLocksWhileATabHasPushedAndTheMenuMakesTheTabsDeaf) {
  openModule();
  ASSERT_TRUE(home()->resourceArr);
  EXPECT_TRUE(blgDeck->isEnabled());
  EXPECT_EQ(tabStack()->viewControllers().size(), 1u);

  tapView(blogRow(*home(), 0));
  EXPECT_EQ(tabStack()->topViewController()->className(), std::string("BlgDetailViewController"));
  EXPECT_FALSE(blgDeck->isEnabled()) << "a pushed screen locks the panel";
  tabStack()->popViewControllerAnimated(false);
  settle();
  EXPECT_TRUE(blgDeck->isEnabled()) << "the first screen unlocks it again";

  selectTab(1);
  EXPECT_EQ(blgRoot->currentItem, 1u);
  blgDeck->openLeftView(false);
  settle();
  EXPECT_FALSE(blgRoot->tabBarController->tabBar()->isUserInteractionEnabled());
  EXPECT_FALSE(blgRoot->blgSquareViewController->view()->isUserInteractionEnabled()) << "the current tab";
  EXPECT_TRUE(blgRoot->blgAllViewController->view()->isUserInteractionEnabled()) << "not the previous tab";
  blgDeck->closeLeftView(false);
  settle();
  EXPECT_TRUE(blgRoot->tabBarController->tabBar()->isUserInteractionEnabled());
  EXPECT_TRUE(blgRoot->blgSquareViewController->view()->isUserInteractionEnabled());
}

// Faults caught: the menu button toggling nothing on a tab screen.
TEST_F(BlgFeedTest, TheMenuButtonOpensTheModuleMenu) {
  openModule();
  auto button = blgRoot->blgAllViewController->navigationItem()->leftBarButtonItem()->customView();
  ASSERT_TRUE(button);
  EXPECT_EQ(button->frame().width(), 42);
  tapView(button);
  EXPECT_TRUE(blgDeck->isAnySideOpen());
}

// Faults caught: a row that shows the blog's text, picture or counts wrongly, a repost that shows its
// own picture, the source not falling back to "网页".
TEST_F(BlgFeedTest, RowsShowTextPicturesRepostsAndCounts) {
  openModule();
  auto list = home();
  const long picture = rowOfBlog(*list, "WB-010");
  const long repost = rowOfBlog(*list, "WB-011");
  ASSERT_GE(picture, 0);
  ASSERT_GE(repost, 0);
  auto cell = blogRow(*list, picture);
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->nickNameLabel.lock()->text(), "刘洋");
  EXPECT_FALSE(cell->contentImageView.lock()->isHidden());
  EXPECT_TRUE(cell->orginBGTop.lock()->isHidden());
  EXPECT_EQ(cell->contentImageView.lock()->imageUrlForImageSizeFlag(3)->absoluteString(),
            server->url("/media/blg/picture/WB-010-larger-2000x1500.png"));
  EXPECT_EQ(cell->commentsLabel.lock()->text(), "0");
  EXPECT_EQ(cell->broadcastLabel.lock()->text(), "1");

  cell = blogRow(*list, repost);
  ASSERT_TRUE(cell);
  EXPECT_TRUE(cell->contentImageView.lock()->isHidden()) << "a repost shows no picture of its own";
  EXPECT_FALSE(cell->originImageView.lock()->isHidden()) << "the source's picture, inside the frame";
  EXPECT_FALSE(cell->orginBGCenter.lock()->isHidden());
  const pf::Rect frame = cell->orginBGCenter.lock()->frame();
  const pf::Rect inner = cell->originImageView.lock()->frame();
  EXPECT_GE(inner.minY(), frame.minY());
  EXPECT_LE(inner.maxY(), frame.maxY() + 0.01);
  EXPECT_NE(cell->originContentLabel.lock()->plainText().value_or("").find("@刘洋 : 团建的合影"), std::string::npos);

  Blog unknownClient;
  unknownClient.blogType = Blog::kTypeOrigin;
  unknownClient.clientType = "SOMETHING_NEW";
  EXPECT_EQ(list->clientName(unknownClient.clientType), "网页");
  EXPECT_EQ(list->clientName(std::nullopt), "网页");
}

}  // namespace blg_feed_test

namespace blg_feed_test {

// Faults caught: a chip read as a nick name (or the reverse), a nil look-up answer pushing an empty
// profile, an unknown mention failing silently, a link that does not lock the panel.
TEST_F(BlgFeedTest, LinksOpenTheTopicOrTheProfileAndAnUnknownNameOpensNothing) {
  openModule();
  auto list = home();
  RichLabel label;
  list->richLabelDidSelectLinkWithContent(label, "topicID:WT-004;技术沙龙");
  settle();
  auto topic = std::dynamic_pointer_cast<TopicDetailViewController>(tabStack()->topViewController());
  ASSERT_TRUE(topic);
  EXPECT_EQ(topic->topicID, "WT-004");
  EXPECT_EQ(topic->topicName, "技术沙龙");
  EXPECT_TRUE(topic->hidesBottomBarWhenPushed());
  EXPECT_FALSE(blgDeck->isEnabled());
  tabStack()->popViewControllerAnimated(false);
  settle();
  EXPECT_TRUE(blgDeck->isEnabled());

  list->richLabelDidSelectLinkWithContent(label, "王芳");
  settle();
  auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(tabStack()->topViewController());
  ASSERT_TRUE(profile);
  EXPECT_EQ(profile->userStatistics->userId, "U9101");
  EXPECT_TRUE(profile->showsOtherUser());
  EXPECT_EQ(profile->parentController.lock(), blgRoot) << "the module root is handed on";
  EXPECT_FALSE(blgDeck->isEnabled());
  tabStack()->popViewControllerAnimated(false);
  settle();

  const size_t depth = tabStack()->viewControllers().size();
  list->richLabelDidSelectLinkWithContent(label, "不存在的同事");
  loop->runUntil(pf::Clock::now() + 0.3);
  EXPECT_EQ(tabStack()->viewControllers().size(), depth) << "nothing is pushed";
  EXPECT_TRUE(boxText().has_value()) << "the server's cause is shown";
  EXPECT_TRUE(blgDeck->isEnabled());
}

// Faults caught: a mention tap in a drawn row that never reaches the list.
TEST_F(BlgFeedTest, TappingAMentionInARowOpensThatProfile) {
  openModule();
  auto list = home();
  const long row = rowOfBlog(*list, "WB-006");
  ASSERT_GE(row, 0);
  auto cell = blogRow(*list, row);
  ASSERT_TRUE(cell);
  pf::HeadlessHost(window).render();
  auto label = cell->contentLabel.lock();
  std::shared_ptr<pf::View> link;
  for (const auto& child : label->subviews())
    if (!link && std::dynamic_pointer_cast<RichLabelButton>(child)) link = child;
  ASSERT_TRUE(link) << "the mention is a button on the label";
  tapView(link);
  auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(tabStack()->topViewController());
  ASSERT_TRUE(profile);
  EXPECT_EQ(profile->userStatistics->nickName, "王芳");
}

// Faults caught: a failed load-more that skips a page on the retry, or doubles rows; a late load-more
// answer after a refresh growing the refreshed list.
TEST_F(BlgFeedTest, AFailedPageIsAskedAgainAndNoRowIsSkippedOrDoubled) {
  openModule();
  auto list = home();
  ASSERT_EQ(list->resourceArr->size(), 20u);
  ASSERT_TRUE(list->loadMore());
  waitForList(*list);
  ASSERT_EQ(list->resourceArr->size(), 40u);
  server->planFaults("/v1/wb/blog/loadMyConcernBlogs", {devserver::answers::text(500, "down")});
  ASSERT_TRUE(list->loadMore());
  waitForList(*list);
  EXPECT_EQ(list->resourceArr->size(), 40u) << "the rows stay";
  ASSERT_TRUE(list->loadMore());
  waitForList(*list);
  const auto calls = server->calls("/v1/wb/blog/loadMyConcernBlogs");
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(nlohmann::json::parse(calls.back().parameters.at("page")).value("pageNo", 0), 3) << "page 3 again";
  std::set<std::string> ids;
  for (const auto& blog : *list->resourceArr) EXPECT_TRUE(ids.insert(blog->blogId.value_or("")).second) << *blog->blogId;
  EXPECT_EQ(list->resourceArr->size(), static_cast<size_t>(std::min<long long>(list->currentPage()->total, 60)));
  EXPECT_GT(list->currentPage()->total, 45) << "the demo feed pages three times";
}

}  // namespace blg_feed_test

namespace blg_feed_test {

// Faults caught: a load-more answer that arrives after a refresh began growing the refreshed rows;
// the shared page changed while a global queue sends it.
TEST_F(BlgFeedTest, ARefreshDropsTheLateAnswerOfALoadMoreInFlight) {
  auto loader = std::make_shared<BlgPageLoader>();
  std::atomic<bool> release{false};
  std::vector<std::string> applied;
  int done = 0;
  auto pageOf = [](const char* id) {
    auto page = std::make_shared<Page>();
    page->rows = std::make_shared<pf::Array>(pf::Array{pf::Value(std::string(id))});
    page->total = 100;
    return page;
  };
  auto slow = [&](const std::shared_ptr<Page>& asked) {
    EXPECT_EQ(asked->pageNo, 2u);
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return pageOf("late");
  };
  auto fast = [&](const std::shared_ptr<Page>& asked) {
    EXPECT_EQ(asked->pageNo, 1u);
    EXPECT_TRUE(asked->autoCount);
    return pageOf("fresh");
  };
  auto apply = [&](const pf::ArrayPtr& rows) { applied.push_back(*rows->front().string()); };
  loader->loadMore(slow, apply, [&] { ++done; });
  loader->refresh(fast, apply, [&] { ++done; });
  ASSERT_TRUE(loop->runUntilTrue([&] { return done == 1; }, 10));
  release = true;
  ASSERT_TRUE(loop->runUntilTrue([&] { return done == 2; }, 10));
  EXPECT_EQ(applied, std::vector<std::string>{"fresh"});
  EXPECT_EQ(loader->currentPage()->pageNo, 1u);
}

}  // namespace blg_feed_test
