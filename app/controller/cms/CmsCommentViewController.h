#pragma once
// The course detail's comment tab: the course's comments page by page (page 1 at every hand-over of
// the course and after every return from the editor), a tap opens the comment with its replies, and
// the bar's "评论" writes a new one. A course without discussion shows its no-comment row only.
//
// Main thread only; pages are fetched on a global queue. A refresh supersedes a load-more in flight;
// a failed load-more leaves the page number as it was.

#include <memory>
#include <vector>

#include "app/controller/cms/CmsCommentDetailViewController.h"
#include "app/controller/cms/CmsCommentReplyViewController.h"
#include "app/controller/cms/CmsDetailBaseViewController.h"

class Discuss;
class OpenDiscussService;
class Page;
class User;

class CmsCommentViewController : public CmsDetailBaseViewController,
                                 public CmsCommentReplyViewControllerDelegate,
                                 public CmsCommentDetailViewControllerDelegate {
  PF_OBJECT(CmsCommentViewController, CmsDetailBaseViewController)

  CmsCommentViewController();
  ~CmsCommentViewController() override;

  std::vector<std::shared_ptr<Discuss>> comments;
  // The pages loaded: pageNo counts them, total is the server's.
  std::shared_ptr<Page> currentPage;
  std::shared_ptr<User> currentUser;
  std::shared_ptr<OpenDiscussService> discussServer;

  void viewDidLoad() override;
  void setCourseViewInfo(std::shared_ptr<CourseViewInfo> info) override;
  bool enableLoadmore() const override { return true; }
  bool canLoadMore() const override;
  bool refreshData() override;
  bool loadMore() override;
  // Opens the editor for a new comment.
  void rightBtnPressed() override;
  void afterDistributeCommtent(const std::shared_ptr<Discuss>& reply) override;
  void afterReplying() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  void fetchPage(std::uint32_t pageNo, bool append);

  // Each refresh starts a new generation; answers of older ones are dropped.
  int generation_ = 0;
};
