#include "app/controller/ems/EmsAllTableViewController.h"

#include "app/controller/ems/EmsAllTableViewCell.h"
#include "app/controller/ems/EmsDescViewController.h"
#include "app/model/ems/EmsExam.h"
#include "app/service/ems/ExamService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"

EmsAllTableViewController::EmsAllTableViewController() = default;
EmsAllTableViewController::~EmsAllTableViewController() = default;

void EmsAllTableViewController::initService() {
  examService = std::make_shared<ExamService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void EmsAllTableViewController::viewDidLoad() {
  BaseTableViewController::viewDidLoad();
  willBeginRefreshData();
  refreshData();
}

// The service is used by one thread at a time: the answer comes back to the main queue before the
// next refresh may start.
bool EmsAllTableViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  std::weak_ptr<EmsAllTableViewController> weak =
      std::static_pointer_cast<EmsAllTableViewController>(shared_from_this());
  auto service = examService;
  pf::DispatchQueue::global()->async([weak, service] {
    auto exams = service->listAllExams();
    pf::DispatchQueue::main()->async([weak, exams = std::move(exams)] {
      auto self = weak.lock();
      if (!self) return;
      self->examList = exams.value_or(std::vector<std::shared_ptr<EmsExam>>{});
      self->tableView()->reloadData();
      self->refreshDataComplete();
    });
  });
  return true;
}

long EmsAllTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(examList.size());
}

std::shared_ptr<pf::TableViewCell> EmsAllTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                     const pf::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<EmsAllTableViewCell>(
      tableView.dequeueReusableCellWithIdentifier(EmsAllTableViewCell::kReuseIdentifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<EmsAllTableViewCell>(ViewUtil::viewFromNibOfClass(EmsAllTableViewCell::kClassName));
    cell->setReuseIdentifier(EmsAllTableViewCell::kReuseIdentifier);
  }
  cell->fillWithExam(*examList.at(indexPath.row));
  return cell;
}

std::optional<double> EmsAllTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return pf::Screen::mainScreen().bounds().height() / 480 * 76;
}

void EmsAllTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= examList.size()) return;
  auto parent = parentViewController();
  auto navigation = parent ? parent->navigationController() : navigationController();
  if (!navigation) return;
  auto desc = std::dynamic_pointer_cast<EmsDescViewController>(
      ViewUtil::viewControllerFromNibOfClass(EmsDescViewController::kClassName));
  desc->exam = examList[indexPath.row];
  navigation->pushViewController(desc, true);
}
