#pragma once
// The catalogue, page by page from the server (courses that open on a phone), with the total for
// its frame's title. A tap opens the course by the catalogue's rule.
//
// Main thread only; pages are asked for on a global queue.

#include <memory>

#include "app/controller/cms/CmsCourseTableViewController.h"

class CmsAllTableViewDelegate;

class CmsAllTableViewController : public CmsCourseTableViewController {
  PF_OBJECT(CmsAllTableViewController, CmsCourseTableViewController)

  static constexpr char kLoadFailed[] = "加载失败";

  std::weak_ptr<CmsAllTableViewDelegate> delegate;

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }
  bool canLoadMore() const override;

  void viewDidLoad() override;
  bool refreshData() override;
  bool loadMore() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;

 protected:
  void pageAnswered(const std::shared_ptr<Page>& page, bool refresh) override;
};
