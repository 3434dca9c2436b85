#include "platform/ui/ControllerRouting.h"

namespace pf {

namespace {

std::shared_ptr<const ControllerRouting>& installedRouting() {
  static std::shared_ptr<const ControllerRouting> routing;
  return routing;
}

}  // namespace

void ControllerRouting::install(std::shared_ptr<const ControllerRouting> routing) {
  installedRouting() = std::move(routing);
}

std::shared_ptr<const ControllerRouting> ControllerRouting::installed() {
  return installedRouting();
}

}  // namespace pf
