// The comment list: the empty view for a blog without comments, a row as tall as its text, paging
// with a failed page asked again, and the offline message.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/controller/blg/BlgCommentCell.h"
#include "app/controller/blg/BlgCommentTableViewController.h"
#include "app/controller/blg/BlgCommentViewController.h"
#include "app/controller/cmn/NodataBgView.h"
#include "app/model/blg/Comment.h"
#include "platform/graphics/Image.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "tests/app/controller/blg/detail/BlgDetailJourneyTest.h"
#include "tools/devserver/Answers.h"

namespace blg_comment_list_test {

constexpr char kLoadPath[] = "/v1/wb/comment/loadComments";

class BlgCommentListTest : public BlgDetailJourneyTest {
 protected:
  std::shared_ptr<BlgCommentViewController> openComments(const std::string& blogId) {
    auto screen = makeScreen<BlgCommentViewController>();
    screen->blogID = blogId;
    push(screen);
    waitForList(*screen->commentTableViewController.lock());
    return screen;
  }
  // The page numbers the stand-in was asked for, in order.
  std::vector<int> pagesAsked() const {
    std::vector<int> pages;
    for (const auto& call : server->calls(kLoadPath))
      pages.push_back(nlohmann::json::parse(call.parameters.at("page"))["pageNo"].get<int>());
    return pages;
  }
};

// Catches a right button left without its pressed picture: the screen asked for a picture named "".
TEST_F(BlgCommentListTest, TheRightButtonHasTheModulesPicturesAndNoneIsMissed) {
  pf::Image::takeNamedMisses();
  auto screen = openComments("WB-003");
  EXPECT_EQ(pf::Image::takeNamedMisses(), std::vector<std::string>{});
  auto button =
      std::dynamic_pointer_cast<pf::Button>(screen->navigationItem()->rightBarButtonItem()->customView());
  ASSERT_TRUE(button);
  EXPECT_TRUE(button->backgroundImageForState(pf::Control::kNormal));
  EXPECT_TRUE(button->backgroundImageForState(pf::Control::kHighlighted));
}

// Catches a blog without comments showing a blank list instead of the empty-list view.
TEST_F(BlgCommentListTest, ABlogWithoutCommentsShowsTheEmptyView) {
  auto screen = openComments("WB-003");
  auto list = screen->commentTableViewController.lock();
  ASSERT_TRUE(list->commentsArr);
  EXPECT_TRUE(list->commentsArr->empty());
  ASSERT_TRUE(list->nodataBgView());
  EXPECT_FALSE(list->nodataBgView()->isHidden());
}

// Catches a failed load-more that skips its page, and rows whose height ignores a long comment.
TEST_F(BlgCommentListTest, PagesLoadInOrderAFailedPageIsAskedAgainAndRowsFitTheirText) {
  auto screen = openComments("WB-002");
  auto list = screen->commentTableViewController.lock();
  ASSERT_TRUE(list->commentsArr);
  EXPECT_EQ(list->commentsArr->size(), 20u);
  EXPECT_TRUE(list->canLoadMore());

  server->planFaults(kLoadPath, {devserver::answers::text(500, "down")});
  ASSERT_TRUE(list->loadMore());
  waitForList(*list);
  EXPECT_EQ(list->commentsArr->size(), 20u) << "the rows stay";
  ASSERT_TRUE(list->loadMore());
  waitForList(*list);
  EXPECT_GT(list->commentsArr->size(), 20u);
  const auto pages = pagesAsked();
  ASSERT_GE(pages.size(), 2u);
  EXPECT_EQ(pages.back(), 2) << "the failed page is asked for again";

  // The longest comment wraps over several lines: its row is its text's height plus the divider's 5.
  long longest = 0;
  for (size_t i = 0; i < list->commentsArr->size(); ++i)
    if (list->commentsArr->at(i)->content->size() > list->commentsArr->at(longest)->content->size())
      longest = static_cast<long>(i);
  auto table = list->tableView();
  const pf::IndexPath path = pf::IndexPath::forRow(longest, 0);
  table->scrollToRowAtIndexPath(path, pf::TableView::ScrollPosition::Middle, false);
  loop->runUntil(pf::Clock::now() + 0.1);
  auto cell = std::dynamic_pointer_cast<BlgCommentCell>(table->cellForRowAtIndexPath(path));
  ASSERT_TRUE(cell);
  auto content = cell->contentLabel.lock();
  const double lineHeight = content->font()->lineHeight();
  EXPECT_GT(content->frame().height(), 2 * lineHeight) << "several lines";
  EXPECT_DOUBLE_EQ(*list->heightForRowAtIndexPath(*table, path),
                   content->frame().maxY() + 5 + cell->lineImgView.lock()->frame().height());
  {
    pf::HeadlessHost host(window);
    writeSnapshot(host, "blg_comments" + suffix());
  }
}

// Catches an offline list that waits silently: the message shows and the empty view stays.
TEST_F(BlgCommentListTest, OfflineTheMessageAndTheEmptyViewShow) {
  setOnline(false);
  auto screen = makeScreen<BlgCommentViewController>();
  screen->blogID = "WB-002";
  push(screen);
  EXPECT_EQ(boxText(), "当前网络不可用");
  auto list = screen->commentTableViewController.lock();
  EXPECT_FALSE(list->isRefreshing());
  EXPECT_FALSE(list->commentsArr);
  EXPECT_FALSE(list->nodataBgView()->isHidden());
}

}  // namespace blg_comment_list_test
