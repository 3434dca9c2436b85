#include "platform/ui/NavigationBarMaker.h"

#include "platform/ui/NavigationBar.h"

namespace pf {

namespace {

NavigationBarMaker::Maker& installedMaker() {
  static NavigationBarMaker::Maker maker;
  return maker;
}

}  // namespace

void NavigationBarMaker::setMaker(Maker maker) {
  installedMaker() = std::move(maker);
}

std::shared_ptr<NavigationBar> NavigationBarMaker::makeBar() {
  if (const auto& maker = installedMaker()) {
    if (auto bar = maker()) return bar;
  }
  return std::make_shared<NavigationBar>();
}

}  // namespace pf
