// The blog detail: the row's layout for a repost of a picture blog, the collect item and its "already"
// refusal, the repost item's quote, the bar cleared after 0.2 s and the handed blog shown offline.

#include <gtest/gtest.h>

#include "app/components/richlabel/RichLabel.h"
#include "app/model/blg/Blog.h"
#include "app/service/blg/BlgService.h"
#include "platform/ui/ImageView.h"
#include "tests/app/controller/blg/detail/BlgDetailJourneyTest.h"
#include "ui/base/BaseUIImageView.h"

namespace blg_detail_test {

class BlgDetailTest : public BlgDetailJourneyTest,
                      public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  BlgDetailTest() : BlgDetailJourneyTest(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Profiles, BlgDetailTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

// Catches a repost that shows a picture of its own, or the reposted picture drawn outside its frame.
TEST_P(BlgDetailTest, ARepostOfAPictureShowsItOnlyInsideTheRepostedFrame) {
  auto detail = openDetail("WB-004");
  ASSERT_TRUE(detail);
  auto row = detailRow(*detail);
  ASSERT_TRUE(row);
  EXPECT_TRUE(row->currentImgView.lock()->isHidden());
  auto picture = row->originalImgView.lock();
  ASSERT_FALSE(picture->isHidden());
  const pf::Rect framed = inWindow(picture);
  const pf::Rect top = inWindow(row->orginBGTop.lock());
  const pf::Rect bottom = inWindow(row->orginBGBottom.lock());
  EXPECT_GT(framed.minY(), top.maxY());
  EXPECT_LT(framed.maxY(), bottom.minY());
  EXPECT_LE(inWindow(row->orginBGBottom.lock()).maxY(), inWindow(row->btnBackgroundImgView.lock()).minY());
  EXPECT_FALSE(row->originalBlgContent.lock()->text().empty());

  pf::HeadlessHost host(window);
  loop->runUntil(pf::Clock::now() + 2);
  host.render();
  const auto pixel = host.pixelAt({framed.minX() + 5, framed.midY()});
  const auto page = host.pixelAt({framed.maxX() + 60, framed.midY()});
  EXPECT_NE(pixel, page) << "the reposted picture is drawn inside its frame";
  writeSnapshot(host, "blg_detail_repost" + suffix());
}

// Catches a band of the screen's grey between the list and the action bar (the tablet's list ended
// 55 points above its bar).
TEST_P(BlgDetailTest, TheListReachesDownToTheActionBar) {
  auto detail = openDetail("WB-004");
  ASSERT_TRUE(detail);
  const pf::Rect list = inWindow(detail->listContainer.lock());
  const pf::Rect bar = inWindow(detail->actionBar.lock());
  EXPECT_NEAR(list.maxY(), bar.minY(), 0.5);
  EXPECT_NEAR(bar.maxY(), window->bounds().maxY(), 0.5) << "the bar at the foot of the screen";
}

// Catches a wrong toggle: the item's title must follow each collect, and a collect the server already
// counts ("wb.blog.blogCollected") turns the item to "取消收藏" with the cause shown once.
TEST_P(BlgDetailTest, CollectTogglesTheItemAndAnAlreadyCollectedBlogCorrectsIt) {
  auto detail = openDetail("WB-002");
  auto bar = detail->actionBar.lock();
  ASSERT_TRUE(bar);
  EXPECT_EQ(detail->collectTabBarItem.lock()->title(), "收藏");

  tapBarItem(*bar, BlgDetailViewController::kCollectTag);
  EXPECT_EQ(boxText(), "收藏成功!");
  EXPECT_EQ(detail->collectTabBarItem.lock()->title(), "取消收藏");
  EXPECT_TRUE(bar->selectedItem());
  loop->runUntil(pf::Clock::now() + 0.15);
  EXPECT_TRUE(bar->selectedItem()) << "still selected before 0.2 s";
  loop->runUntil(pf::Clock::now() + 0.1);
  EXPECT_FALSE(bar->selectedItem()) << "cleared 0.2 s after the tap";
  waitForBoxToHide();

  tapBarItem(*bar, BlgDetailViewController::kCollectTag);
  EXPECT_EQ(boxText(), "取消收藏成功!");
  EXPECT_EQ(detail->collectTabBarItem.lock()->title(), "收藏");
  waitForBoxToHide();

  // Another device collects it meanwhile.
  ASSERT_TRUE(BlgService().collectBlogWithBlogID(std::string("WB-002")));
  const size_t refusalsBefore = server->calls("/v1/wb/blog/collect").size();
  tapBarItem(*bar, BlgDetailViewController::kCollectTag);
  settle();
  EXPECT_EQ(server->calls("/v1/wb/blog/collect").size(), refusalsBefore + 1);
  EXPECT_TRUE(detail->isCollected);
  EXPECT_EQ(detail->collectTabBarItem.lock()->title(), "取消收藏");
  const auto cause = boxText();
  ASSERT_TRUE(cause);
  EXPECT_NE(*cause, "收藏成功!");
}

// Catches the quote taken from the wrong blog: a repost's repost quotes its own text after "//", an
// original blog's repost starts empty; both repost the blog shown.
TEST_P(BlgDetailTest, TheRepostItemQuotesOnlyARepost) {
  struct Case {
    const char* blogId;
    const char* text;
  };
  for (const Case& c : {Case{"WB-004", "//转发：大家一起参加！"}, Case{"WB-001", ""}}) {
    auto detail = openDetail(c.blogId);
    tapBarItem(*detail->actionBar.lock(), BlgDetailViewController::kRepostTag);
    settle();
    auto editor = top<BlgForwardEditViewController>();
    ASSERT_TRUE(editor) << c.blogId;
    EXPECT_EQ(editor->textView.lock()->text(), c.text) << c.blogId;
    EXPECT_EQ(editor->originBlgID, std::optional<std::string>(c.blogId));
    tabStack()->popToRootViewControllerAnimated(false);
    settle();
  }
}

// Catches the reposted blog's buttons acting on the repost: they work on the reposted blog's id.
TEST_P(BlgDetailTest, TheRepostedBlogsButtonsOpenItsEditorAndComments) {
  auto detail = openDetail("WB-004");
  auto row = detailRow(*detail);
  auto button = row->originBroadcastBtn.lock();
  ASSERT_FALSE(button->isHidden());
  const pf::Rect spot = inWindow(button);
  EXPECT_EQ(window->hitTest({spot.midX(), spot.midY()}, nullptr), button) << "nothing covers the row's buttons";
  tapView(button);
  auto editor = top<BlgForwardEditViewController>();
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->originBlgID, std::optional<std::string>("WB-001"));
  EXPECT_EQ(editor->textView.lock()->text(), "");
  tabStack()->popViewControllerAnimated(false);
  settle();
  tapView(detailRow(*detail)->originCommentsBtn.lock());
  auto comments = top<BlgCommentViewController>();
  ASSERT_TRUE(comments);
  EXPECT_EQ(comments->blogID, std::optional<std::string>("WB-001"));
}

// Catches the interface file's placeholder author shown offline instead of the handed blog's.
TEST_P(BlgDetailTest, OfflineTheHandedBlogAndItsAuthorShowWithoutAMessage) {
  auto blog = BlgService().getBlogWithBlogID(std::string("WB-003"));
  setOnline(false);
  auto detail = makeScreen<BlgDetailViewController>();
  detail->blog = blog;
  const size_t loads = server->calls("/v1/wb/blog/get").size();
  push(detail);
  EXPECT_EQ(server->calls("/v1/wb/blog/get").size(), loads);
  EXPECT_EQ(detail->userName.lock()->text(), blog->nickName);
  EXPECT_FALSE(boxText());
  tapBarItem(*detail->actionBar.lock(), BlgDetailViewController::kRefreshTag);
  EXPECT_EQ(boxText(), "当前网络不可用");
}

// Catches a module root held strongly by the detail's list (a closed module never freed).
TEST_P(BlgDetailTest, TheListHoldsTheModuleRootWeakly) {
  auto detail = openDetail("WB-001");
  auto list = detail->detailTableViewController.lock();
  ASSERT_TRUE(list);
  EXPECT_EQ(list->parentController.lock(), blgRoot);
  std::weak_ptr<BlgMainViewController> weakRoot = blgRoot;
  std::weak_ptr<BlgDetailViewController> weakDetail = detail;
  detail.reset();
  list.reset();
  window->setRootViewController(nullptr);
  root.reset();
  blgDeck.reset();
  blgRoot.reset();
  settle();
  EXPECT_TRUE(weakRoot.expired());
  EXPECT_TRUE(weakDetail.expired());
}

}  // namespace blg_detail_test
