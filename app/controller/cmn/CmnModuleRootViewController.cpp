#include "app/controller/cmn/CmnModuleRootViewController.h"

#include "app/controller/cmn/BaseTableViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NibRegistry.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"

CmnModuleRootViewController::CmnModuleRootViewController() = default;
CmnModuleRootViewController::CmnModuleRootViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
CmnModuleRootViewController::~CmnModuleRootViewController() = default;

void CmnModuleRootViewController::defineInterface() {
  pf::NibRegistry::define<CmnModuleRootViewController>([](pf::NibClassBuilder<CmnModuleRootViewController>& b) {
    b.outlet("listContainer", &CmnModuleRootViewController::listContainer)
        .action("forwardIndexBtnClick", &CmnModuleRootViewController::forwardIndexBtnClick);
  });
}

void CmnModuleRootViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
  auto list = makeList();
  if (list) CmnEmbeddedChild::embed(*this, list, listContainer.lock());
  list_ = list;
  becomeDeckDelegate();
}

void CmnModuleRootViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  becomeDeckDelegate();
  if (auto deck = panelDeckController(*this)) deck->setEnabled(true);
}

void CmnModuleRootViewController::becomeDeckDelegate() {
  if (auto deck = panelDeckController(*this))
    deck->setDelegate(std::dynamic_pointer_cast<PanelDeckControllerDelegate>(shared_from_this()));
}

void CmnModuleRootViewController::forwardIndexBtnClick() {
  if (auto deck = panelDeckController(*this)) {
    deck->setEnabled(true);
    deck->toggleLeftView();
  }
}

void CmnModuleRootViewController::refreshAllData() {
  auto list = list_.lock();
  if (!list) return;
  list->willBeginRefreshData();
  list->refreshData();
}

void CmnModuleRootViewController::didOpenViewSide(PanelDeckController&, DeckSide, bool) {
  view()->setUserInteractionEnabled(false);
}

void CmnModuleRootViewController::didCloseViewSide(PanelDeckController&, DeckSide, bool) {
  view()->setUserInteractionEnabled(true);
}
