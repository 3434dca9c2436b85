#pragma once
// The square's blog list: every blog of the corporation, filtered by a text when one is searched,
// page by page; a chosen row opens the blog's detail.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgMainTableViewController.h"

class BlgService;

class SearchBlogViewController : public BlgMainTableViewController {
  PF_OBJECT(SearchBlogViewController, BlgMainTableViewController)

  std::shared_ptr<BlgService> blgService;
  // The filter; nil for none.
  std::optional<std::string> searchStr;
  void setSearchStr(std::optional<std::string> text) { searchStr = std::move(text); }

  bool enableLoadmore() const override { return true; }

  void initService() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 protected:
  PageFetch pageFetch() const override;
};
