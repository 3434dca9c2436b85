#pragma once
// The exam list: every exam of the learner in one call, each row with its status as the exam service
// computed it. Pull to refresh replaces the whole list; a tap opens the exam's description on the
// module root's navigation controller.
//
// Main thread only; the list call runs on a global queue and its answer is applied on the main queue.

#include <memory>
#include <vector>

#include "app/controller/cmn/BaseTableViewController.h"

class EmsExam;
class ExamService;

class EmsAllTableViewController : public BaseTableViewController {
  PF_OBJECT(EmsAllTableViewController, BaseTableViewController)

  EmsAllTableViewController();
  ~EmsAllTableViewController() override;

  std::vector<std::shared_ptr<EmsExam>> examList;
  std::shared_ptr<ExamService> examService;

  bool enableRefresh() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }
  bool enableLoadmore() const override { return false; }

  void initService() override;
  void viewDidLoad() override;
  bool refreshData() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
};
