#include "app/controller/ems/EmsAllViewController.h"

#include "app/controller/ems/EmsAllTableViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"

EmsAllViewController::EmsAllViewController() = default;
EmsAllViewController::EmsAllViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
EmsAllViewController::~EmsAllViewController() = default;

void EmsAllViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
  auto list = std::make_shared<EmsAllTableViewController>();
  addChildViewController(list);
  auto container = listContainer.lock();
  auto host = container ? container : view();
  list->view()->setFrame(host->bounds());
  list->view()->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  host->addSubview(list->view());
  list->didMoveToParentViewController(this);
  allExamTableViewController = list;
  if (auto deck = panelDeckController(*this))
    deck->setDelegate(std::dynamic_pointer_cast<PanelDeckControllerDelegate>(shared_from_this()));
}

void EmsAllViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  if (auto deck = panelDeckController(*this)) {
    deck->setDelegate(std::dynamic_pointer_cast<PanelDeckControllerDelegate>(shared_from_this()));
    deck->setEnabled(true);
  }
}

void EmsAllViewController::forwardIndexBtnClick() {
  if (auto deck = panelDeckController(*this)) {
    deck->setEnabled(true);
    deck->toggleLeftView();
  }
}

void EmsAllViewController::refreshAllData() {
  auto list = allExamTableViewController.lock();
  if (!list) return;
  list->willBeginRefreshData();
  list->refreshData();
}

void EmsAllViewController::didOpenViewSide(PanelDeckController&, DeckSide, bool) {
  view()->setUserInteractionEnabled(false);
}

void EmsAllViewController::didCloseViewSide(PanelDeckController&, DeckSide, bool) {
  view()->setUserInteractionEnabled(true);
}
