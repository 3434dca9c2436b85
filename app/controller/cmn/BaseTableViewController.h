#pragma once
// The base of every list screen: four switches a list overrides (pull to refresh, load more, the
// empty-list view, whether more can be loaded), two guarded actions it extends (refreshData,
// loadMore: call the base first and go on only when it answers YES), their completions, the scroll
// trigger of load-more (strictly inside the footer's height from the end), and the error, session and
// title operations of the screen base.
//
// Main thread only; lists run their service calls on global queues and come back to the main queue
// before calling anything here.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseTableViewControllerdelegate.h"
#include "core/open/ServiceDelegate.h"
#include "ui/hud/ProgressHUD.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewController.h"

class NodataBgView;
class TableFooterView;

class BaseTableViewController : public pf::TableViewController, public ServiceDelegate, public ProgressHUDDelegate {
  PF_OBJECT(BaseTableViewController, pf::TableViewController)

  explicit BaseTableViewController(pf::TableView::Style style = pf::TableView::Style::Plain)
      : pf::TableViewController(style) {}
  explicit BaseTableViewController(std::string nibName) : pf::TableViewController(std::move(nibName)) {}

  // Switches.
  virtual bool enableRefresh() const { return false; }
  virtual bool enableLoadmore() const { return false; }
  virtual bool displayNodataViewIfNeeded() const { return false; }
  virtual bool canLoadMore() const { return true; }

  // Guarded actions: NO while one runs.
  virtual bool refreshData();
  virtual bool loadMore();
  virtual void initService() {}
  // Completions.
  void refreshDataComplete();
  void loadMoreCompleted();

  bool isRefreshing() const { return isRefreshing_; }
  bool isLoadingMore() const { return isLoadingMore_; }
  const std::shared_ptr<NodataBgView>& nodataBgView() const { return nodataBgView_; }
  pf::TableView::SeparatorStyle backupSepStyle() const { return backupSepStyle_; }
  std::weak_ptr<BaseTableViewControllerdelegate> baseTableViewDelegate;

  virtual std::optional<std::string> viewName() const { return "BaseTableViewController"; }

  void viewDidLoad() override;
  // Shows the spinner of a refresh the user did not pull.
  void willBeginRefreshData();
  void willBeginLoadingMore();
  void refreshNodataView(bool hasData);
  void resetNodataViewImageName(const std::string& imageName, const std::optional<std::string>& text);
  bool hasDataInTableViewOfFirstSection();

  void scrollViewDidScroll(pf::ScrollView& scrollView) override;
  void willDisplayCell(pf::TableView& tableView, pf::TableViewCell& cell, const pf::IndexPath& indexPath) override;

  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;
  virtual bool handleSessionError(const pf::ErrorPtr& error);
  void backToLoginViewController();
  void setNavgationItemTitle(const std::string& title);
  // A self-hiding box on the screen's window; the delegate, if any, hears when it has gone.
  void showErrorInfoWithMessage(const std::string& message, std::weak_ptr<ProgressHUDDelegate> delegate = {});

  static void declareProperties(pf::ClassBuilder<BaseTableViewController>& b);

 private:
  void initRefreshControl();
  void initNodataView();
  void initFootView();
  std::shared_ptr<TableFooterView> footer();
  void doRefresh();

  std::shared_ptr<NodataBgView> nodataBgView_;
  pf::TableView::SeparatorStyle backupSepStyle_ = pf::TableView::SeparatorStyle::SingleLine;
  bool isRefreshing_ = false;
  bool isLoadingMore_ = false;
};
