// The repost and comment editors: what reaches the stand-in (the check boxes, the default repost text),
// the comment's refusals in their order, and the clear button's counter.

#include <gtest/gtest.h>

#include "app/controller/blg/BlgCommentEditViewController.h"
#include "app/controller/blg/BlgForwardEditViewController.h"
#include "platform/ui/Button.h"
#include "tests/app/controller/blg/detail/BlgDetailJourneyTest.h"

namespace blg_editors_test {

class BlgEditorsTest : public BlgDetailJourneyTest {};

// Catches check boxes that never reach the server and an empty repost sent without its default text.
TEST_F(BlgEditorsTest, CheckBoxesAndTheDefaultRepostTextReachTheStandIn) {
  auto repost = makeScreen<BlgForwardEditViewController>();
  repost->originBlgID = "WB-002";
  push(repost);
  tapView(repost->checkbox.lock());
  EXPECT_TRUE(repost->asComment);
  EXPECT_TRUE(repost->checkbox.lock()->imageForState(pf::Control::kNormal));
  tapRightButton(*repost);
  EXPECT_EQ(boxText(), "发布成功！");
  EXPECT_EQ(sent("/v1/wb/blog/repost", "content"), "\"转发微博\"");
  EXPECT_EQ(sent("/v1/wb/blog/repost", "asComment"), "true");
  waitForBoxToHide();
  EXPECT_NE(top<BlgForwardEditViewController>(), repost);

  auto comment = makeScreen<BlgCommentEditViewController>();
  comment->blogID = "WB-003";
  push(comment);
  tapView(comment->textView.lock());
  pf::HeadlessHost(window).typeText("写得好");
  tapView(comment->checkbox.lock());
  tapView(comment->checkbox.lock());
  tapView(comment->checkbox.lock());
  EXPECT_TRUE(comment->asBlog);
  tapRightButton(*comment);
  EXPECT_EQ(boxText(), "发布成功！");
  EXPECT_EQ(sent("/v1/wb/comment/comment", "asBlog"), "true");
  tapRightButton(*comment);
  EXPECT_EQ(server->calls("/v1/wb/comment/comment").size(), 1u)
      << "one comment however often send is tapped";
}

// Catches a comment refused for the wrong reason (blank before offline), a repost refused when empty,
// and a counter left stale by the clear button.
TEST_F(BlgEditorsTest, RefusalsComeInTheirOrderAndClearingResetsTheCounter) {
  auto comment = makeScreen<BlgCommentEditViewController>();
  comment->blogID = "WB-003";
  push(comment);
  tapView(comment->textView.lock());
  pf::HeadlessHost host(window);
  host.typeText(" \n ");
  EXPECT_EQ(comment->numLabel.lock()->text(), "137");
  setOnline(false);
  tapRightButton(*comment);
  EXPECT_EQ(boxText(), "你得说点什么...") << "blank is refused before offline";
  waitForBoxToHide();
  tapView(comment->textView.lock());
  host.typeText("好");
  tapRightButton(*comment);
  EXPECT_EQ(boxText(), "当前网络不可用");
  waitForBoxToHide();
  comment->cleanBtn();
  EXPECT_EQ(comment->textView.lock()->text(), "");
  EXPECT_EQ(comment->numLabel.lock()->text(), "140");
  setOnline(true);
  tapRightButton(*comment);
  EXPECT_EQ(boxText(), "你得说点什么...");
  waitForBoxToHide();

  auto repost = makeScreen<BlgForwardEditViewController>();
  repost->originBlgID = "WB-001";
  repost->forwardText = std::string(139, 'q');
  push(repost);
  EXPECT_EQ(repost->numLabel.lock()->text(), "-1") << "the quote is not cut before an edit";
  setOnline(false);
  tapRightButton(*repost);
  EXPECT_EQ(boxText(), "当前网络不可用");
}

}  // namespace blg_editors_test
