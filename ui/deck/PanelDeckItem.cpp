#include "ui/deck/PanelDeckItem.h"

#include "platform/runtime/AssociatedObjects.h"
#include "platform/ui/NavigationController.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/WrapController.h"
#include "ui/deck/WrapControllerItem.h"

namespace {

const char kPanelDeckControllerKey = 0;

}  // namespace

std::shared_ptr<PanelDeckController> panelDeckControllerCore(const pf::ViewController& controller) {
  return pf::AssociatedObjects::get<PanelDeckController>(controller, &kPanelDeckControllerKey);
}

void setPanelDeckController(const pf::ViewController& controller, const std::shared_ptr<PanelDeckController>& deck) {
  pf::AssociatedObjects::set(controller, &kPanelDeckControllerKey, deck, pf::AssociatedObjects::Policy::Weak);
}

std::shared_ptr<PanelDeckController> panelDeckController(const pf::ViewController& controller) {
  if (auto deck = panelDeckControllerCore(controller)) return deck;
  if (auto navigation = controller.navigationController()) {
    if (auto deck = panelDeckControllerCore(*navigation)) return deck;
    const auto& stack = navigation->viewControllers();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
      auto deck = std::dynamic_pointer_cast<PanelDeckController>(*it);
      if (!deck) deck = panelDeckControllerCore(**it);
      if (deck && deck->navigationControllerBehavior() == DeckNavigationIntegrated) return deck;
    }
  }
  if (auto wrapper = wrapController(controller)) return panelDeckController(*wrapper);
  return nullptr;
}
