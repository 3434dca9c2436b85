#pragma once
// Courses matching a search text: online from the server's catalogue, offline from the learner's
// own courses on the device (decided at each refresh, kept for its load-mores). A tap opens a course
// by the catalogue's rule.
//
// Main thread only; remote pages are asked for on a global queue, local ones on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cms/CmsCourseTableViewController.h"

class CmsSearchResultTableViewController : public CmsCourseTableViewController {
  PF_OBJECT(CmsSearchResultTableViewController, CmsCourseTableViewController)

  // The shown rows came from the local search.
  bool isLocalResource = false;
  std::optional<std::string> searchKey;

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }
  // Remote: while the server's total holds another page. Local (no total): while the last page came full.
  bool canLoadMore() const override;

  void viewDidLoad() override;
  bool refreshData() override;
  bool loadMore() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  void searchLocally(const std::shared_ptr<Page>& request, bool refresh);

  bool lastLocalPageFull_ = false;
};
