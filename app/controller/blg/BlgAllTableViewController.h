#pragma once
// The home feed: the blogs of the people the signed-in user follows, page by page, in the server's
// order. A successful refresh clears the module's badge; a chosen row opens the blog's detail.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <memory>

#include "app/controller/blg/BlgMainTableViewController.h"

class BlgService;

class BlgAllTableViewController : public BlgMainTableViewController {
  PF_OBJECT(BlgAllTableViewController, BlgMainTableViewController)

  std::shared_ptr<BlgService> blgService;

  bool enableLoadmore() const override { return true; }

  void initService() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 protected:
  PageFetch pageFetch() const override;
  void refreshSucceeded() override;
};
