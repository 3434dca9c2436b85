#pragma once
// A micro-blog user's own blogs, page by page, newest first; a chosen row opens the blog's detail.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgMainTableViewController.h"

class BlgService;

class MyBlogTableViewController : public BlgMainTableViewController {
  PF_OBJECT(MyBlogTableViewController, BlgMainTableViewController)

  std::shared_ptr<BlgService> blgService;
  std::optional<std::string> userID;

  bool enableLoadmore() const override { return true; }

  void initService() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 protected:
  PageFetch pageFetch() const override;
};
