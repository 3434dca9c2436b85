#include "app/controller/cmn/MyNavigationBar.h"

#include "platform/graphics/Image.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/NavigationBarMaker.h"
#include "platform/ui/Screen.h"

namespace {

std::optional<std::string>& currentNavName() {
  static std::optional<std::string> name;
  return name;
}

}  // namespace

const std::optional<std::string>& MyNavigationBar::navName() {
  return currentNavName();
}

void MyNavigationBar::setNavName(std::optional<std::string> name) {
  currentNavName() = std::move(name);
}

void MyNavigationBar::installAsNavigationBarClass() {
  pf::NavigationBarMaker::setMaker([] {
    auto bar = std::make_shared<MyNavigationBar>();
    // The white titles and buttons of the screens sit on a dark blue bar.
    bar->setBarStyle(pf::NavigationBar::BarStyle::Black);
    bar->setTintColor(pf::Color::fromRgba(0.16, 0.3, 0.5));
    return bar;
  });
}

void MyNavigationBar::drawRect(const pf::Rect& rect) {
  const auto& name = navName();
  if (!name) {
    pf::NavigationBar::drawRect(rect);
    return;
  }
  auto* context = pf::CurrentContext::get();
  if (auto picture = pf::Image::named(*name, pf::Screen::mainScreen().scale()); picture && context) {
    picture->draw(*context, pf::Rect(0, 0, bounds().width(), bounds().height()));
  }
}
