#include "ui/extension/NavigationControllerKivExtension.h"

#include "platform/ui/NavigationController.h"

std::shared_ptr<pf::ViewController> NavigationControllerKivExtension::findViewControllerInStackWithClass(
    const pf::NavigationController& navigationController, const pf::Class* cls) {
  if (!cls) return nullptr;
  for (const auto& controller : navigationController.viewControllers()) {
    if (controller && &controller->objectClass() == cls) return controller;
  }
  return nullptr;
}
