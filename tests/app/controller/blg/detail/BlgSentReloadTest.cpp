// What the learner sees right after sending: the home feed with the new blog or repost at the top, the
// detail's counts raised, the comment list holding the new comment, each without a refresh by hand;
// and no reload when nothing was sent.

#include <gtest/gtest.h>

#include <string>

#include "app/controller/blg/BlgCommentTableViewController.h"
#include "app/model/blg/Comment.h"
#include "platform/ui/TextView.h"
#include "tests/app/controller/blg/detail/BlgDetailJourneyTest.h"

namespace blg_sent_reload_test {

constexpr char kFeedPath[] = "/v1/wb/blog/loadMyConcernBlogs";

class BlgSentReloadTest : public BlgDetailJourneyTest {
 protected:
  // Types into an editor's text and sends it; back on the screen below once "发布成功！" has gone.
  void typeAndSend(BlgEditBaseViewController& editor, const std::string& text) {
    tapView(editor.textView.lock());
    pf::HeadlessHost(window).typeText(text);
    tapRightButton(editor);
    EXPECT_EQ(boxText(), "发布成功！");
    waitForBoxToHide();
    settle();
  }
  std::string firstFeedBlog() const {
    const auto& rows = home()->resourceArr;
    return rows && !rows->empty() ? rows->front()->content.value_or("") : "(empty)";
  }
  std::string detailCount(BlgDetailViewController& detail, bool comments) {
    auto row = detailRow(detail);
    auto label = comments ? row->commentsLabel.lock() : row->broadcastLabel.lock();
    return label->text().value_or("");
  }
};

// Catches a feed that keeps its old page after the learner posted or reposted (the new blog missing
// until a refresh by hand), and a feed that reloads on every return even when nothing was sent.
TEST_F(BlgSentReloadTest, TheHomeFeedShowsANewBlogOrRepostAtTheTopAndOnlyThen) {
  const size_t loadsAtStart = server->calls(kFeedPath).size();
  auto detail = openDetail("WB-002");
  tabStack()->popViewControllerAnimated(false);
  settle();
  EXPECT_EQ(server->calls(kFeedPath).size(), loadsAtStart) << "back from a detail with nothing sent";

  tapRightButton(*blgRoot->blgAllViewController);
  settle();
  auto composer = top<WriteBlogViewController>();
  ASSERT_TRUE(composer);
  composer->blogText.lock()->becomeFirstResponder();
  pf::HeadlessHost(window).typeText("刚写的一条");
  tapRightButton(*composer);
  EXPECT_EQ(boxText(), "发布成功！");
  waitForBoxToHide();
  waitForList(*home());
  EXPECT_EQ(tabStack()->topViewController(), blgRoot->blgAllViewController);
  EXPECT_EQ(firstFeedBlog(), "刚写的一条");

  detail = openDetail("WB-002");
  tapBarItem(*detail->actionBar.lock(), BlgDetailViewController::kRepostTag);
  settle();
  auto repost = top<BlgForwardEditViewController>();
  ASSERT_TRUE(repost);
  typeAndSend(*repost, "转给大家");
  tabStack()->popViewControllerAnimated(false);
  settle();
  waitForList(*home());
  EXPECT_EQ(firstFeedBlog(), "转给大家");
}

// Catches a detail that shows its old counts after a repost or a comment made from it, and a comment
// list that leaves out the comment just sent from its own button.
TEST_F(BlgSentReloadTest, TheDetailsCountsRiseAndTheCommentListHoldsTheNewComment) {
  auto detail = openDetail("WB-003");
  const long comments = std::stol(detailCount(*detail, true));
  const long reposts = std::stol(detailCount(*detail, false));

  struct Send {
    const char* what;
    int tag;
    const char* text;
    long commentsAfter;
    long repostsAfter;
  };
  const Send sends[] = {{"a comment", BlgDetailViewController::kCommentTag, "说得对", comments + 1, reposts},
                        {"a repost", BlgDetailViewController::kRepostTag, "值得一看", comments + 1, reposts + 1}};
  for (const Send& send : sends) {
    tapBarItem(*detail->actionBar.lock(), static_cast<size_t>(send.tag));
    settle();
    auto editor = top<BlgEditBaseViewController>();
    ASSERT_TRUE(editor) << send.what;
    typeAndSend(*editor, send.text);
    ASSERT_EQ(top<BlgDetailViewController>(), detail) << send.what;
    EXPECT_EQ(detailCount(*detail, true), std::to_string(send.commentsAfter)) << send.what;
    EXPECT_EQ(detailCount(*detail, false), std::to_string(send.repostsAfter)) << send.what;
  }

  detail->detailTableViewController.lock()->commentsCurrentBlogBtnPressed();
  settle();
  auto list = top<BlgCommentViewController>();
  ASSERT_TRUE(list);
  waitForList(*list->commentTableViewController.lock());
  tapRightButton(*list);
  settle();
  auto editor = top<BlgCommentEditViewController>();
  ASSERT_TRUE(editor);
  typeAndSend(*editor, "再补充一句");
  ASSERT_EQ(top<BlgCommentViewController>(), list);
  auto rows = list->commentTableViewController.lock();
  waitForList(*rows);
  ASSERT_TRUE(rows->commentsArr && !rows->commentsArr->empty());
  EXPECT_EQ(rows->commentsArr->front()->content, "再补充一句");
}

}  // namespace blg_sent_reload_test
