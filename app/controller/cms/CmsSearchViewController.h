#pragma once
// The search tab: a search bar, the learner's recent search texts (newest first, at most ten, kept by
// the search service) and, after a search, the matching courses in the embedded result list. Online
// the server's catalogue is searched, offline the learner's own courses on the device.
//
// Main thread only.

#include <memory>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/CmsCourseTableViewDelegate.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"

namespace pf {
class Label;
class View;
}  // namespace pf
class CmsSearchInfo;
class CmsSearchResultTableViewController;
class CmsSearchService;
class CmsSearchViewDelegate;

class CmsSearchViewController : public BaseViewController,
                                public CmsCourseTableViewDelegate,
                                public pf::SearchBarDelegate,
                                public pf::TableViewDataSource,
                                public pf::TableViewDelegate {
  PF_OBJECT(CmsSearchViewController, BaseViewController)

  static constexpr char kTitle[] = "课程搜索";
  static constexpr char kHistoryCellIdentifier[] = "Cell";
  static constexpr std::uint32_t kSearchBarTint = 0xECECEC;

  CmsSearchViewController();
  explicit CmsSearchViewController(std::string nibName);
  ~CmsSearchViewController() override;

  std::shared_ptr<CmsSearchService> searchService;
  std::weak_ptr<CmsSearchResultTableViewController> searchResultTableViewController;
  std::vector<std::shared_ptr<CmsSearchInfo>> searchArr;
  std::weak_ptr<pf::TableView> tableView;
  std::weak_ptr<pf::Label> searchLabel;
  std::weak_ptr<pf::SearchBar> mainSearchBar;
  std::weak_ptr<CmsSearchViewDelegate> searchDelegate;
  // Where the result list lies, from the interface file.
  std::weak_ptr<pf::View> resultContainer;

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;

  void searchBarTextDidBeginEditing(pf::SearchBar& bar) override;
  void searchBarSearchButtonClicked(pf::SearchBar& bar) override;
  void editDone();
  // Records the text, shows the results and searches.
  void updateTableResourceWithText(const std::string& text);
  // Whether the results (rather than the history) show.
  bool showsResults() const;

  long numberOfRowsInSection(pf::TableView& table, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;
  void willDisplayCell(pf::TableView& table, pf::TableViewCell& cell, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;

  void tableViewDidSelectItem() override;

 private:
  // The caption, the history and the results lie below the search bar, whatever size the tab gave.
  void layoutBelowSearchBar();
  void showHistory(bool show);
  void reloadHistory();
};
