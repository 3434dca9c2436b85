#include "app/controller/cms/CmsCategoryDataViewController.h"

#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/controller/cms/CmsCategoryDataTableViewController.h"
#include "platform/ui/Layer.h"
#include "platform/ui/View.h"

CmsCategoryDataViewController::CmsCategoryDataViewController() = default;
CmsCategoryDataViewController::CmsCategoryDataViewController(std::string nibName)
    : pf::ViewController(std::move(nibName)) {}
CmsCategoryDataViewController::~CmsCategoryDataViewController() = default;

void CmsCategoryDataViewController::viewDidLoad() {
  pf::ViewController::viewDidLoad();
  auto layer = view()->layer();
  layer->setShadowColor(pf::Color::black());
  layer->setShadowOffset(pf::Size{5, 0});
  layer->setShadowOpacity(1.0);
  layer->setShadowRadius(10);
  auto table = std::make_shared<CmsCategoryDataTableViewController>();
  CmnEmbeddedChild::embed(*this, table, listContainer.lock());
  categoryDataTableViewCon = table;
}

void CmsCategoryDataViewController::viewWillAppear(bool animated) {
  pf::ViewController::viewWillAppear(animated);
  auto table = categoryDataTableViewCon.lock();
  if (!table) return;
  table->parentController = parentController;
  // Forwarded only when the platform did not already (the list is this panel's child).
  if (table->appearanceState() != pf::ViewController::AppearanceState::Appearing &&
      table->appearanceState() != pf::ViewController::AppearanceState::Appeared) {
    table->beginAppearanceTransition(true, animated);
    table->endAppearanceTransition();
  }
}
