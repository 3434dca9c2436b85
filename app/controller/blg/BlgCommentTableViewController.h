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
class BlgPageLoader;
class Comment;
class Page;

class BlgCommentTableViewController : public BlgBaseTableViewController {
  PF_OBJECT(BlgCommentTableViewController, BlgBaseTableViewController)

  BlgCommentTableViewController();
  ~BlgCommentTableViewController() override;

  std::shared_ptr<BlgCommentService> blogCommentService;
  // The rows in display order; nil before the first successful load.
  std::optional<std::vector<std::shared_ptr<Comment>>> commentsArr;
  std::optional<std::string> blogID;

  // The last page that arrived.
  std::shared_ptr<Page> currentPage() const;

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }
  bool canLoadMore() const override;

  void initService() override;
  void refreshDataOnline() override;
  void refreshDataOffline() override { showOfflineAndComplete(); }
  bool loadMore() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  void load(bool more);
  std::shared_ptr<BlgCommentCell> makeCell(pf::TableView* tableView);
  void fillCell(BlgCommentCell& cell, const Comment& comment);

  std::shared_ptr<BlgPageLoader> pageLoader_;
  std::shared_ptr<BlgCommentCell> sizingCell_;
};
