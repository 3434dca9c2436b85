#include "app/util/ViewUtil.h"

#include <map>
#include <mutex>

#include "platform/foundation/Error.h"

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, ViewUtil::ScreenFactory> factories;
  ViewUtil::NavigationFactory navigation;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

}  // namespace

void ViewUtil::registerScreenClass(const std::string& className, ScreenFactory factory) {
  std::lock_guard lock(registry().mutex);
  registry().factories[className] = std::move(factory);
}

bool ViewUtil::isScreenClassRegistered(const std::string& className) {
  std::lock_guard lock(registry().mutex);
  return registry().factories.contains(className);
}

void ViewUtil::resetScreenClasses() {
  std::lock_guard lock(registry().mutex);
  registry().factories.clear();
  registry().navigation = nullptr;
}

void ViewUtil::registerNavigationController(NavigationFactory factory) {
  std::lock_guard lock(registry().mutex);
  registry().navigation = std::move(factory);
}

pf::ObjectPtr ViewUtil::navigationControllerWithRoot(const pf::ObjectPtr& rootViewController) {
  NavigationFactory factory;
  {
    std::lock_guard lock(registry().mutex);
    factory = registry().navigation;
  }
  if (!factory) throw pf::ContractViolation("No navigation controller class is registered");
  return factory(rootViewController);
}

std::string ViewUtil::nibNameOfClass(const std::string& className) {
  return className;
}

pf::ObjectPtr ViewUtil::viewControllerFromNibOfClass(const std::string& className) {
  ScreenFactory factory;
  {
    std::lock_guard lock(registry().mutex);
    const auto it = registry().factories.find(className);
    if (it == registry().factories.end()) {
      throw pf::ContractViolation("No screen class named " + className + " is registered");
    }
    factory = it->second;
  }
  return factory(nibNameOfClass(className));
}
