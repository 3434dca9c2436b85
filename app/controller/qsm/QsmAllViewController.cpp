#include "app/controller/qsm/QsmAllViewController.h"

#include "app/controller/qsm/QsmAllTableViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"

QsmAllViewController::QsmAllViewController() = default;
QsmAllViewController::QsmAllViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
QsmAllViewController::~QsmAllViewController() = default;

// The list becomes a child before its view loads, so its service reports to this screen.
void QsmAllViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
  auto list = std::make_shared<QsmAllTableViewController>();
  addChildViewController(list);
  auto container = listContainer.lock();
  auto host = container ? container : view();
  list->view()->setFrame(host->bounds());
  list->view()->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  host->addSubview(list->view());
  list->didMoveToParentViewController(this);
  allTableViewController = list;
  if (auto deck = panelDeckController(*this))
    deck->setDelegate(std::dynamic_pointer_cast<PanelDeckControllerDelegate>(shared_from_this()));
}

void QsmAllViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  if (auto deck = panelDeckController(*this)) {
    deck->setDelegate(std::dynamic_pointer_cast<PanelDeckControllerDelegate>(shared_from_this()));
    deck->setEnabled(true);
  }
}

void QsmAllViewController::forwardIndexBtnClick() {
  if (auto deck = panelDeckController(*this)) {
    deck->setEnabled(true);
    deck->toggleLeftView();
  }
}

void QsmAllViewController::refreshAllData() {
  if (!allTableViewController) return;
  allTableViewController->willBeginRefreshData();
  allTableViewController->refreshData();
}

void QsmAllViewController::didOpenViewSide(PanelDeckController&, DeckSide, bool) {
  view()->setUserInteractionEnabled(false);
}

void QsmAllViewController::didCloseViewSide(PanelDeckController&, DeckSide, bool) {
  view()->setUserInteractionEnabled(true);
}
