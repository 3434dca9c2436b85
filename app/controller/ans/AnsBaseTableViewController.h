#pragma once
// The base of the Q&A module's paged lists: pull to refresh and load more exist only when the list
// is first loaded with a network; a centred wait prompt shows while a first page loads into an empty
// table; every list shows the empty-list picture its subclass sets.
//
// A load runs in three steps: the subclass's requestData, called on the main queue, captures what it
// needs and answers the request; the request runs on a global queue with its own page and answers
// the step that applies its rows; that step runs on the main queue before the table reloads. So the
// table never reads rows while a load replaces them, and a refresh supersedes a load-more in flight
// (the late load-more's rows are dropped). A failed load leaves currentPage nil: paging starts again.
//
// Main thread only, apart from the requests.

#include <functional>
#include <memory>

#include "app/controller/cmn/BaseTableViewController.h"

class CmnWaitPromptView;
class Page;

class AnsBaseTableViewController : public BaseTableViewController {
  PF_OBJECT(AnsBaseTableViewController, BaseTableViewController)

  static constexpr int kLoadRefresh = 0;
  static constexpr int kLoadMore = 1;
  static constexpr char kWaitPrompt[] = "正在加载数据，请稍等片刻...";

  // Applies a load's answer on the main queue.
  using ApplyStep = std::function<void()>;
  // Runs on a global queue; answers the step that applies what it loaded (none: nothing to apply).
  using Request = std::function<ApplyStep()>;

  using BaseTableViewController::BaseTableViewController;

  // The paging state the lists show; replaced by the page each load answers.
  std::shared_ptr<Page> currentPage;
  // 0 while a refresh loads the first page, 1 while a load-more loads the next one.
  int loadType = kLoadRefresh;
  bool shouldShowPromptView = false;
  std::shared_ptr<CmnWaitPromptView> promptView;

  bool enableRefresh() const override;
  bool enableLoadmore() const override;
  bool displayNodataViewIfNeeded() const override { return true; }
  bool canLoadMore() const override;

  // The load hook: called on the main queue with the load's own page (a copy: pageNo and autoCount
  // already set). The base loads nothing.
  virtual Request requestData(int type, std::shared_ptr<Page> page);

  void viewDidLoad() override;
  bool refreshData() override;
  bool loadMore() override;

 private:
  void load(int type, std::shared_ptr<Page> page);
  void finishLoad(int type);
  bool hasVisibleCells();

  // Counts refreshes: a load-more that began before the current one is stale.
  unsigned refreshGeneration_ = 0;
};
