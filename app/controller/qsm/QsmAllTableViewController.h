#pragma once
// The survey list: every survey published to the learner in one call, newest first, each row with
// the status the survey service worked out at the load. A row, or the status button of an open
// survey, opens the survey's description on the module root's navigation controller.
//
// Main thread only; the list call runs on a global queue and its answer is applied on the main queue.
// Load errors go to the module root (the parent when the service is made).

#include <memory>
#include <vector>

#include "app/controller/cmn/BaseTableViewController.h"

namespace pf {
class Button;
}
class QsmService;
class QsmSurvey;

class QsmAllTableViewController : public BaseTableViewController {
  PF_OBJECT(QsmAllTableViewController, BaseTableViewController)

  QsmAllTableViewController();
  ~QsmAllTableViewController() override;

  std::vector<std::shared_ptr<QsmSurvey>> surveyList;
  std::shared_ptr<QsmService> qsmService;

  bool enableRefresh() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }
  bool enableLoadmore() const override { return false; }

  void initService() override;
  void viewDidLoad() override;
  bool refreshData() override;

  void statusBtnClick(pf::Button& button);
  void enterQsmWithRowIndex(unsigned row);

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView,
                                                const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
};
