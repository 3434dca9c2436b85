// Course comments against the demo stand-in: pages of the comment tab, writing a comment and a reply,
// the editor's limit in UTF-16 units, its draft after a failed post, and the comment's time format.

#include <gtest/gtest.h>

#include "app/controller/cms/CmsCommentCell.h"
#include "app/controller/cms/CmsCommentDetailViewController.h"
#include "app/controller/cms/CmsCommentReplyViewController.h"
#include "app/model/cms/Discuss.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Utf16.h"
#include "platform/ui/TextView.h"
#include "tests/app/controller/cms/detail/CmsDetailJourneyTest.h"

namespace cms_comment_test {

constexpr char kDiscussed[] = "CRS-001";
constexpr char kCommentPath[] = "/v1/dsc/discuss/commentCourse";

}  // namespace cms_comment_test

using namespace cms_comment_test;

class CmsCommentJourneyTest : public CmsDetailJourneyTest {
 protected:
  std::shared_ptr<CmsCommentViewController> openComments(std::shared_ptr<CmsDetailViewController>& detail) {
    detail = openDetail(kDiscussed);
    pickTab(*detail, 2);
    auto tab = detail->commentTab();
    loop->runUntilTrue([&] { return !tab->isRefreshing(); }, 20);
    settleDetail(0.5);
    return tab;
  }
  std::shared_ptr<CmsCommentReplyViewController> openEditor(CmsDetailViewController& detail) {
    tapRight(detail);
    settleDetail(0.8);
    return std::dynamic_pointer_cast<CmsCommentReplyViewController>(root->topViewController());
  }
  // Types the text into the editor as a keyboard does.
  void type(CmsCommentReplyViewController& editor, const std::string& text) {
    auto view = editor.commentReplyView.lock();
    view->becomeFirstResponder();
    view->insertText(text);
    loop->runUntil(pf::Clock::now() + 0.2);
  }
  // Posts and waits until the editor has left.
  void post(CmsCommentReplyViewController& editor) {
    editor.distribute();
    loop->runUntilTrue([&] { return root->topViewController().get() != &editor; }, 20);
    settleDetail();
  }
};

// Faults caught: only the first page ever loading, load-more running past the server's total, and a
// second page replacing the first.
TEST_F(CmsCommentJourneyTest, TwentyFiveCommentsComeInTwoPages) {
  std::shared_ptr<CmsDetailViewController> detail;
  auto tab = openComments(detail);
  ASSERT_EQ(tab->comments.size(), 20u);
  EXPECT_TRUE(tab->canLoadMore());
  const auto first = tab->comments.front();
  ASSERT_TRUE(tab->loadMore());
  EXPECT_FALSE(tab->loadMore()) << "one load-more at a time";
  loop->runUntilTrue([&] { return !tab->isLoadingMore(); }, 20);
  settleDetail(0.5);
  EXPECT_EQ(tab->comments.size(), 25u);
  EXPECT_EQ(tab->comments.front(), first);
  EXPECT_FALSE(tab->canLoadMore());
  EXPECT_FALSE(tab->loadMore());
}

// Faults caught: a posted comment not shown on return; the editor staying after the post; a second
// "发表" during the post sending twice.
TEST_F(CmsCommentJourneyTest, APostedCommentLeadsPageOneOnReturn) {
  std::shared_ptr<CmsDetailViewController> detail;
  auto tab = openComments(detail);
  auto editor = openEditor(*detail);
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->oddWordQty.lock()->text(), "您还可以输入500字");
  type(*editor, "讲得好，受益匪浅");
  EXPECT_EQ(editor->oddWordQty.lock()->text(), "您还可以输入492字");
  const size_t before = callsTo(kCommentPath);
  editor->distribute();
  editor->distribute();
  loop->runUntilTrue([&] { return root->topViewController() == detail; }, 20);
  loop->runUntilTrue([&] { return !tab->isRefreshing(); }, 20);
  settleDetail();
  EXPECT_EQ(callsTo(kCommentPath) - before, 1u);
  ASSERT_FALSE(tab->comments.empty());
  EXPECT_EQ(tab->comments.front()->content, "讲得好，受益匪浅");
}

// Faults caught: a posted reply missing from the detail or shown last.
TEST_F(CmsCommentJourneyTest, APostedReplyShowsFirstInTheDetail) {
  std::shared_ptr<CmsDetailViewController> detail;
  auto tab = openComments(detail);
  long row = -1;
  for (size_t i = 0; i < tab->comments.size(); ++i)
    if (!tab->comments[i]->discussList.empty()) row = static_cast<long>(i);
  ASSERT_GE(row, 0);
  tapRow(*tab->tableView(), row);
  settleDetail();
  auto commentDetail = std::dynamic_pointer_cast<CmsCommentDetailViewController>(root->topViewController());
  ASSERT_TRUE(commentDetail);
  const size_t replies = commentDetail->replies().size();
  commentDetail->reply();
  settleDetail();
  auto editor = std::dynamic_pointer_cast<CmsCommentReplyViewController>(root->topViewController());
  ASSERT_TRUE(editor);
  type(*editor, "同意楼上");
  post(*editor);
  ASSERT_EQ(root->topViewController(), commentDetail);
  ASSERT_EQ(commentDetail->replies().size(), replies + 1);
  EXPECT_EQ(commentDetail->replies().front()->content, "同意楼上");
  auto count = std::dynamic_pointer_cast<pf::TableViewCell>(
      commentDetail->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(1, 0)));
  ASSERT_TRUE(count);
}

// Faults caught: the limit counted in bytes or characters instead of UTF-16 units; a cut splitting an
// emoji into a broken half.
TEST_F(CmsCommentJourneyTest, The501stUnitAlertsAndTheCutKeepsWholeCharacters) {
  std::shared_ptr<CmsDetailViewController> detail;
  openComments(detail);
  auto editor = openEditor(*detail);
  ASSERT_TRUE(editor);
  std::string text;
  for (int i = 0; i < 500; ++i) text += "字";
  type(*editor, text);
  EXPECT_EQ(editor->oddWordQty.lock()->text(), "您还可以输入0字");
  EXPECT_TRUE(alerts.empty());
  type(*editor, "多");
  settleDetail(0.5);
  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(alerts.back(), "您最多只能输500个字哦！");
  EXPECT_EQ(pf::utf16::length(editor->commentReplyView.lock()->text()), 500u);

  std::string emoji(text, 0, text.size() - 3);  // 499 units, then an emoji across the 500th
  emoji += "😀";
  EXPECT_EQ(CmsCommentReplyViewController::limitedText(emoji), std::string(text, 0, text.size() - 3));
}

// Faults caught: a failed post losing the learner's text.
TEST_F(CmsCommentJourneyTest, AFailedPostReopensWithItsText) {
  std::shared_ptr<CmsDetailViewController> detail;
  openComments(detail);
  auto editor = openEditor(*detail);
  ASSERT_TRUE(editor);
  type(*editor, "断网时写下的评论");
  server->stop();
  post(*editor);
  EXPECT_EQ(root->topViewController(), detail);
  editor = openEditor(*detail);
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->commentReplyView.lock()->text(), "断网时写下的评论");
}

// Faults caught: afternoon times shown on the 12-hour clock.
TEST_F(CmsCommentJourneyTest, CommentTimesUseTheTwentyFourHourClock) {
  auto cell = std::dynamic_pointer_cast<CmsCommentCell>(ViewUtil::viewFromNibOfClass(CmsCommentCell::kClassName));
  ASSERT_TRUE(cell);
  Discuss discuss;
  discuss.content = "下午的评论";
  discuss.createTime = CommonUtil::dateWithString(std::string("2025-03-01 15:30"), "yyyy-MM-dd HH:mm");
  cell->fillWithDiscuss(discuss, true);
  EXPECT_EQ(cell->dateTimeLabel.lock()->text(), "2025-03-01 15:30");
  EXPECT_EQ(cell->userNameLabel.lock()->text(), "") << "no author shows no name";
}
