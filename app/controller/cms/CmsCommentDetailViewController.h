#pragma once
// One comment with its replies: the comment, the reply count beside the learner's face, then the
// replies, newest posted first. "回复" opens the editor; going back (button or a rightward swipe) tells
// the comment tab.
//
// Main thread only.

#include <memory>
#include <vector>

#include "app/controller/cms/CmsCommentReplyViewController.h"
#include "app/controller/cms/CmsDetailBaseViewController.h"

class CmsCommentDetailBottomBar;
class Discuss;
class User;

class CmsCommentDetailViewControllerDelegate {
 public:
  virtual ~CmsCommentDetailViewControllerDelegate() = default;
  virtual void afterReplying() = 0;
};

class CmsCommentDetailViewController : public CmsDetailBaseViewController,
                                       public CmsCommentReplyViewControllerDelegate {
  PF_OBJECT(CmsCommentDetailViewController, CmsDetailBaseViewController)

  static constexpr char kTitle[] = "评论详情";

  CmsCommentDetailViewController();
  ~CmsCommentDetailViewController() override;

  const std::shared_ptr<Discuss>& comment() const { return comment_; }
  void setComment(std::shared_ptr<Discuss> comment);
  // The comment's replies, shown in this order.
  const std::vector<std::shared_ptr<Discuss>>& replies() const;
  std::shared_ptr<User> currentUser;
  std::weak_ptr<CmsCommentDetailViewControllerDelegate> detailDelegate;
  // Built at load and never placed on screen.
  std::shared_ptr<CmsCommentDetailBottomBar> bottomBar;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void goback();
  void reply();
  void afterDistributeCommtent(const std::shared_ptr<Discuss>& reply) override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  std::shared_ptr<Discuss> comment_;
};
