#include "ui/deck/WrapControllerItem.h"

#include "platform/runtime/AssociatedObjects.h"
#include "platform/ui/NavigationController.h"
#include "ui/deck/WrapController.h"

namespace {

const char kWrapControllerKey = 0;

}  // namespace

std::shared_ptr<WrapController> wrapControllerCore(const pf::ViewController& controller) {
  return pf::AssociatedObjects::get<WrapController>(controller, &kWrapControllerKey);
}

void setWrapController(const pf::ViewController& controller, const std::shared_ptr<WrapController>& wrapper) {
  pf::AssociatedObjects::set(controller, &kWrapControllerKey, wrapper, pf::AssociatedObjects::Policy::Weak);
}

std::shared_ptr<WrapController> wrapController(const pf::ViewController& controller) {
  if (auto wrapper = wrapControllerCore(controller)) return wrapper;
  if (auto navigation = controller.navigationController()) return wrapController(*navigation);
  return nullptr;
}
