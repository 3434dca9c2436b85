// The blog row: its layout for what a blog holds (a table of blogs, phone and tablet), rows reused
// while scrolling through mixed blogs, and a reused row's picture opening one focus screen.

#include <gtest/gtest.h>

#include <cmath>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/MyBlogTableViewController.h"
#include "app/model/blg/Topic.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "tests/app/controller/blg/feeds/BlgFeedJourneyTest.h"
#include "ui/base/BaseUIImageView.h"

namespace blg_feed_row_test {

class BlgFeedRowTest : public BlgFeedJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  BlgFeedRowTest() : BlgFeedJourneyTest(GetParam()) {}

  std::shared_ptr<Blog> blog(const std::string& nick, bool topics, bool picture, long long comments = 3) {
    auto made = std::make_shared<Blog>();
    made->blogId = "T-" + nick;
    made->nickName = nick;
    made->blogType = Blog::kTypeOrigin;
    made->content = "今天的学习笔记：@王芳 推荐的课程很好。";
    made->createTime = pf::Date{pf::Clock::now() - 120};
    made->commentsCnt = comments;
    made->broadcastCnt = 2;
    if (topics) {
      auto topic = std::make_shared<Topic>();
      topic->topicId = "WT-001";
      topic->title = "新员工培训";
      made->topicList = std::make_shared<pf::Array>(pf::Array{pf::Value(topic)});
    }
    if (picture) {
      made->smallPicture = server->url("/media/blg/picture/T-small.png");
      made->normalPicture = server->url("/media/blg/picture/T-normal.png");
      made->largerPicture = server->url("/media/blg/picture/T-larger.png");
    }
    return made;
  }
  std::shared_ptr<Blog> repostOf(const std::shared_ptr<Blog>& source) {
    auto made = blog("转发者", false, true);
    made->blogType = Blog::kTypeBroadcast;
    made->refBlog = source;
    return made;
  }
  std::shared_ptr<BlgMainCell> filled(const Blog& shown) {
    auto cell = std::dynamic_pointer_cast<BlgMainCell>(ViewUtil::viewFromNibOfClass(BlgMainCell::kClassName));
    home()->fillCell(*cell, shown, false);
    return cell;
  }
  double sx() const { return pf::Screen::mainScreen().bounds().width() / 320; }
  double sy() const { return pf::Screen::mainScreen().bounds().height() / 480; }
};

// Faults caught: the source line, topics or picture out of order or unscaled, a topic label or picture
// left showing when the blog has none, a height that cuts the counts.
TEST_P(BlgFeedRowTest, TheRowStacksTextTopicsPictureAndCountsInOrder) {
  openModule();
  const double gap = 4 * sy();
  {
    SCOPED_TRACE("bare origin");
    auto cell = filled(*blog("甲", false, false));
    const pf::Rect content = cell->contentLabel.lock()->frame();
    EXPECT_TRUE(cell->topicLabel.lock()->isHidden());
    EXPECT_TRUE(cell->contentImageView.lock()->isHidden());
    EXPECT_TRUE(cell->orginBGTop.lock()->isHidden());
    const double bottom = std::max(content.maxY(), cell->avatarImageView.lock()->frame().maxY());
    EXPECT_NEAR(cell->fromLabel.lock()->frame().minY(), bottom + gap, 0.01);
    EXPECT_NEAR(cell->frame().height(), cell->broadcastIMG.lock()->frame().maxY() + 5 * sy(), 0.01);
    EXPECT_GE(content.height(), cell->contentLabel.lock()->optimumSize().height);
  }
  {
    SCOPED_TRACE("chips and picture");
    auto cell = filled(*blog("乙", true, true));
    const pf::Rect content = cell->contentLabel.lock()->frame();
    const pf::Rect topic = cell->topicLabel.lock()->frame();
    const pf::Rect picture = cell->contentImageView.lock()->frame();
    EXPECT_FALSE(cell->topicLabel.lock()->isHidden());
    EXPECT_NEAR(topic.minY(), content.maxY() + gap, 0.01);
    EXPECT_FALSE(cell->contentImageView.lock()->isHidden());
    EXPECT_NEAR(picture.minY(), topic.maxY() + 2 * sy(), 0.01);
    EXPECT_NEAR(picture.height(), 60, 0.01) << "the picture's height is not scaled";
    EXPECT_NEAR(picture.minX(), content.minX(), 0.01);
    EXPECT_NEAR(cell->fromLabel.lock()->frame().minY(), picture.maxY() + gap, 0.01);
  }
  {
    SCOPED_TRACE("a repost of a picture, framed");
    auto cell = filled(*repostOf(blog("丙", true, true)));
    const pf::Rect top = cell->orginBGTop.lock()->frame();
    const pf::Rect center = cell->orginBGCenter.lock()->frame();
    const pf::Rect bottom = cell->orginBGBottom.lock()->frame();
    const pf::Rect picture = cell->originImageView.lock()->frame();
    EXPECT_TRUE(cell->contentImageView.lock()->isHidden());
    EXPECT_FALSE(cell->originTopicLabel.lock()->isHidden());
    EXPECT_NEAR(top.minY(), cell->contentLabel.lock()->frame().maxY() + 2 * sy(), 0.01);
    EXPECT_NEAR(center.minY(), top.maxY() - 2 * sy(), 0.01);
    EXPECT_NEAR(center.maxY(), picture.maxY(), 0.01) << "the frame closes at the picture";
    EXPECT_NEAR(bottom.minY(), center.maxY() - 2 * sy(), 0.01);
    EXPECT_NEAR(cell->fromLabel.lock()->frame().minY(), bottom.maxY() + gap, 0.01);
  }
  {
    SCOPED_TRACE("five-digit counts");
    auto small = filled(*blog("丁", false, false, 0));
    auto large = filled(*blog("戊", false, false, 12345));
    const double right = large->contentLabel.lock()->frame().maxX() - 2 * sx();
    const pf::Rect count = large->commentsLabel.lock()->frame();
    EXPECT_EQ(small->commentsLabel.lock()->text(), "0");
    EXPECT_NEAR(count.maxX(), right, 0.01) << "counts stay right-aligned";
    EXPECT_GT(count.width(), small->commentsLabel.lock()->frame().width() * 3);
    EXPECT_NEAR(large->commentsIMG.lock()->frame().maxX(), count.minX() - 2 * sx(), 0.01);
    EXPECT_LT(large->broadcastLabel.lock()->frame().maxX(), small->broadcastLabel.lock()->frame().maxX())
        << "a wider count pushes the repost count left";
    EXPECT_NEAR(large->broadcastLabel.lock()->frame().maxX(), large->commentsIMG.lock()->frame().minX() - 5 * sx(), 0.01);
  }
}

// Faults caught: a reused row keeping another blog's picture, chips, repost frame or source line,
// or a picture whose tap opens two focus screens after reuse.
TEST_P(BlgFeedRowTest, ScrollingBothWaysShowsEachRowsOwnBlog) {
  openModule();
  auto list = home();
  while (list->resourceArr->size() < 40 && list->canLoadMore()) {
    ASSERT_TRUE(list->loadMore());
    waitForList(*list);
  }
  ASSERT_GE(list->resourceArr->size(), 40u);
  auto table = list->tableView();
  const double step = table->bounds().height() / 3;
  auto checkVisible = [&] {
    for (const auto& path : table->indexPathsForVisibleRows()) {
      auto cell = std::dynamic_pointer_cast<BlgMainCell>(table->cellForRowAtIndexPath(path));
      ASSERT_TRUE(cell);
      const Blog& shown = *list->resourceArr->at(path.row);
      SCOPED_TRACE(shown.blogId.value_or(""));
      const bool broadcast = shown.blogType == Blog::kTypeBroadcast;
      const bool picture = !broadcast && shown.smallPicture;
      const bool chips = shown.topicList && !shown.topicList->empty();
      EXPECT_EQ(cell->nickNameLabel.lock()->text(), shown.nickName);
      EXPECT_EQ(cell->contentImageView.lock()->isHidden(), !picture);
      EXPECT_EQ(cell->topicLabel.lock()->isHidden(), !chips);
      EXPECT_EQ(cell->orginBGTop.lock()->isHidden(), !broadcast);
      EXPECT_EQ(cell->originContentLabel.lock()->text().empty(), !broadcast);
      EXPECT_LE(cell->contentImageView.lock()->gestureRecognizers().size(), 1u) << "zoom installed once";
    }
  };
  const double end = table->contentSize().height - table->bounds().height();
  for (double y = 0; y <= end; y += step) {
    table->setContentOffset({0, y});
    loop->runUntil(pf::Clock::now() + 0.05);
    checkVisible();
    if (HasFailure()) return;
  }
  for (double y = end; y >= 0; y -= step) {
    table->setContentOffset({0, y});
    loop->runUntil(pf::Clock::now() + 0.05);
    checkVisible();
    if (HasFailure()) return;
  }
}

// Faults caught: a blog with only a small picture address asserting in the picture view (or zooming
// an empty address); a list without a module root zooming over nothing.
TEST_P(BlgFeedRowTest, AMissingPictureSizeFallsBackAndAListWithoutRootZoomsOverItsScreen) {
  openModule();
  auto onlySmall = blog("己", false, true);
  onlySmall->normalPicture.reset();
  onlySmall->largerPicture = "";
  auto cell = filled(*onlySmall);
  auto picture = cell->contentImageView.lock();
  EXPECT_FALSE(picture->isHidden());
  EXPECT_EQ(picture->imageUrlForImageSizeFlag(2)->absoluteString(), *onlySmall->smallPicture);
  EXPECT_EQ(picture->imageUrlForImageSizeFlag(3)->absoluteString(), *onlySmall->smallPicture);
  PhotoZoomManager manager;
  EXPECT_EQ(home()->photoZoomManagerMediaURLForView(manager, *picture), *onlySmall->smallPicture);

  auto orphan = std::make_shared<MyBlogTableViewController>();
  tabStack()->topViewController()->addChildViewController(orphan);
  orphan->view();
  EXPECT_TRUE(orphan->parentController.expired());
  EXPECT_TRUE(orphan->parentViewControllerForPhotoZoomManager(manager)) << "a screen to zoom over";
}

INSTANTIATE_TEST_SUITE_P(Profiles, BlgFeedRowTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace blg_feed_row_test
