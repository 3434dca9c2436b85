#pragma once
// The signed-in user's collected blogs, page by page (the service knows whose); a chosen row opens the blog's detail.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgMainTableViewController.h"

class BlgService;

class MyCollectTableViewController : public BlgMainTableViewController {
  PF_OBJECT(MyCollectTableViewController, BlgMainTableViewController)

  std::shared_ptr<BlgService> blgService;
  std::optional<std::string> userID;

  bool enableLoadmore() const override { return true; }

  void initService() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 protected:
  PageFetch pageFetch() const override;
};
