#include "ui/deck/PanelDeckRouting.h"

#include "platform/ui/ViewController.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/deck/WrapController.h"
#include "ui/deck/WrapControllerItem.h"

std::shared_ptr<pf::ViewController> PanelDeckRouting::navigationStandIn(const pf::ViewController& controller) const {
  std::shared_ptr<pf::ViewController> subject = wrapControllerCore(controller);
  const pf::ViewController& wrapped = subject ? *subject : controller;
  if (auto deck = panelDeckControllerCore(wrapped)) subject = deck;
  return subject;
}

std::shared_ptr<pf::ViewController> PanelDeckRouting::presenterFor(const pf::ViewController& controller) const {
  return panelDeckController(controller);
}

void PanelDeckRouting::install() {
  pf::ControllerRouting::install(std::make_shared<PanelDeckRouting>());
}
