#include "app/controller/qsm/QsmAllTableViewController.h"

#include "app/controller/qsm/QsmAllTableViewCell.h"
#include "app/controller/qsm/QsmDescViewController.h"
#include "app/model/qsm/QsmSurvey.h"
#include "app/service/qsm/QsmService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"

QsmAllTableViewController::QsmAllTableViewController() = default;
QsmAllTableViewController::~QsmAllTableViewController() = default;

void QsmAllTableViewController::initService() {
  auto parent = std::dynamic_pointer_cast<ServiceDelegate>(parentViewController());
  qsmService = std::make_shared<QsmService>(
      parent ? parent : std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void QsmAllTableViewController::viewDidLoad() {
  BaseTableViewController::viewDidLoad();
  willBeginRefreshData();
  refreshData();
}

// The service is used by one thread at a time: the answer comes back to the main queue before the
// next refresh may start.
bool QsmAllTableViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  std::weak_ptr<QsmAllTableViewController> weak =
      std::static_pointer_cast<QsmAllTableViewController>(shared_from_this());
  auto service = qsmService;
  pf::DispatchQueue::global()->async([weak, service] {
    auto surveys = service->listAllSurveys();
    pf::DispatchQueue::main()->async([weak, surveys = std::move(surveys)] {
      auto self = weak.lock();
      if (!self) return;
      self->surveyList = surveys.value_or(std::vector<std::shared_ptr<QsmSurvey>>{});
      self->tableView()->reloadData();
      self->refreshDataComplete();
    });
  });
  return true;
}

long QsmAllTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(surveyList.size());
}

std::shared_ptr<pf::TableViewCell> QsmAllTableViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<QsmAllTableViewCell>(
      ViewUtil::tableViewCellWithClass(QsmAllTableViewCell::kClassName, tableView));
  cell->fillWithSurvey(*surveyList.at(indexPath.row), indexPath.row);
  std::weak_ptr<QsmAllTableViewController> weak =
      std::static_pointer_cast<QsmAllTableViewController>(shared_from_this());
  if (auto button = cell->statusBtn.lock()) {
    button->addTarget(
        weak, "statusBtnClick",
        [weak](pf::Control& sender, unsigned) {
          auto self = weak.lock();
          auto* pressed = dynamic_cast<pf::Button*>(&sender);
          if (self && pressed) self->statusBtnClick(*pressed);
        },
        pf::Control::kTouchUpInside);
  }
  return cell;
}

std::optional<double> QsmAllTableViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                         const pf::IndexPath&) {
  return pf::Screen::mainScreen().bounds().height() / 480 * 70;
}

void QsmAllTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView,
                                                        const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row >= 0) enterQsmWithRowIndex(static_cast<unsigned>(indexPath.row));
}

void QsmAllTableViewController::statusBtnClick(pf::Button& button) {
  if (button.tag() >= 0) enterQsmWithRowIndex(static_cast<unsigned>(button.tag()));
}

// Only while the root is on top: a second tap during the push opens nothing more.
void QsmAllTableViewController::enterQsmWithRowIndex(unsigned row) {
  if (row >= surveyList.size()) return;
  auto parent = parentViewController();
  auto navigation = parent ? parent->navigationController() : navigationController();
  const pf::ViewController* host = parent ? parent.get() : this;
  if (!navigation || navigation->topViewController().get() != host) return;
  auto desc = std::dynamic_pointer_cast<QsmDescViewController>(
      ViewUtil::viewControllerFromNibOfClass(QsmDescViewController::kClassName));
  desc->survey = surveyList[row];
  navigation->pushViewController(desc, true);
}
