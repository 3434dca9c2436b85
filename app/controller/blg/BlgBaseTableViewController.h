#pragma once
// The base of every micro-blog list: the guarded refresh of the list base, split into an online and an
// offline hook, and the paging the module's lists share. A paged list names its service call
// (pageFetch) and keeps a page's rows (showPage); refresh and load-more go through one BlgPageLoader,
// so each call pages on its own copy and a refresh drops a load-more's late answer.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/cmn/BaseTableViewController.h"
#include "platform/foundation/Value.h"

class BlgPageLoader;
class Page;

class BlgBaseTableViewController : public BaseTableViewController {
  PF_OBJECT(BlgBaseTableViewController, BaseTableViewController)

  explicit BlgBaseTableViewController(pf::TableView::Style style = pf::TableView::Style::Plain);
  explicit BlgBaseTableViewController(std::string nibName);
  ~BlgBaseTableViewController() override;

  static constexpr char kOfflineMessage[] = "当前网络不可用";

  bool refreshData() override;
  // Paged lists: the first page again, or "当前网络不可用" with the rows kept.
  virtual void refreshDataOnline();
  virtual void refreshDataOffline();
  bool loadMore() override;
  // A list that loads more asks its last page whether there is one after it.
  bool canLoadMore() const override;

  // The last page that arrived (page 1 of nothing before the first).
  std::shared_ptr<Page> currentPage() const;

 protected:
  using PageFetch = std::function<std::shared_ptr<Page>(const std::shared_ptr<Page>&)>;
  // The list's service call for a page, with the list's filters as they are when the call starts;
  // none for a list that does not page.
  virtual PageFetch pageFetch() const { return nullptr; }
  // Keeps a page's rows: they replace the list's rows after a refresh and follow them after a load-more.
  virtual void showPage(const pf::ArrayPtr& rows, bool more);
  // After a refresh succeeded, before its rows are shown.
  virtual void refreshSucceeded() {}

  // The rows of type Row in a page, kept as showPage says.
  template <class Row>
  static void keepRows(std::optional<std::vector<std::shared_ptr<Row>>>& list, const pf::ArrayPtr& rows, bool more) {
    if (!more || !list) list.emplace();
    for (const auto& value : *rows)
      if (auto row = value.template objectAs<Row>()) list->push_back(row);
  }

  // A cell of the given kind: one the table gives back for reuse, else a new one from its interface
  // file; the sizing cells pass no table.
  template <class Cell>
  static std::shared_ptr<Cell> reusableCell(pf::TableView* table) {
    return std::dynamic_pointer_cast<Cell>(reusableCellOf(table, Cell::kReuseIdentifier, Cell::kClassName));
  }
  static std::shared_ptr<pf::TableViewCell> reusableCellOf(pf::TableView* table, const std::string& identifier,
                                                           const std::string& className);

  // What every paged list does offline: says so and ends the refresh, rows kept.
  void showOfflineAndComplete();

  std::shared_ptr<BlgPageLoader> pageLoader;

 private:
  void loadPage(bool more);
};
