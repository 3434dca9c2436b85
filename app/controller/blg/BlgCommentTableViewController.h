#pragma once
// The comments of one blog in the server's order, with pull to refresh and paging.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/blg/BlgBaseTableViewController.h"

class BlgCommentCell;
class BlgCommentService;
class Comment;

class BlgCommentTableViewController : public BlgBaseTableViewController {
  PF_OBJECT(BlgCommentTableViewController, BlgBaseTableViewController)

  BlgCommentTableViewController();
  ~BlgCommentTableViewController() override;

  std::shared_ptr<BlgCommentService> blogCommentService;
  // The rows in display order; nil before the first successful load.
  std::optional<std::vector<std::shared_ptr<Comment>>> commentsArr;
  std::optional<std::string> blogID;

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }

  void initService() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 protected:
  PageFetch pageFetch() const override;
  void showPage(const pf::ArrayPtr& rows, bool more) override;

 private:
  void fillCell(BlgCommentCell& cell, const Comment& comment);

  std::shared_ptr<BlgCommentCell> sizingCell_;
};
