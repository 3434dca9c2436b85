#include "platform/ui/TabBarController.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"

namespace pf {

TabBarController::TabBarController() = default;

TabBarController::~TabBarController() = default;

void TabBarController::setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers, bool) {
  auto kept = selectedViewController();
  std::vector<std::shared_ptr<ViewController>> unique;
  for (auto& c : controllers) {
    if (c && c.get() != this && std::find(unique.begin(), unique.end(), c) == unique.end())
      unique.push_back(c);
  }
  const bool onScreen = isViewLoaded() && appearanceState() != AppearanceState::Disappeared;
  auto keptAt = std::find(unique.begin(), unique.end(), kept);
  const size_t next = keptAt != unique.end() ? static_cast<size_t>(keptAt - unique.begin())
                                             : (unique.empty() ? kNoSelection : 0);
  auto shown = next == kNoSelection ? nullptr : unique[next];
  if (onScreen && kept && kept != shown) kept->beginAppearanceTransition(false, false);
  if (kept && kept != shown && kept->isViewLoaded()) kept->view()->removeFromSuperview();
  const auto old = childViewControllers();
  replaceChildren(std::move(unique));
  selected_ = kNoSelection;
  if (onScreen && kept && kept != shown) kept->endAppearanceTransition();
  for (auto& c : old) releaseChild(c);
  for (auto& c : viewControllers()) {
    if (std::find(old.begin(), old.end(), c) == old.end()) c->didMoveToParentViewController(this);
  }
  if (next != kNoSelection) select(next);
  if (isViewLoaded()) showItems();
}

std::shared_ptr<ViewController> TabBarController::selectedViewController() const {
  const auto& tabs = viewControllers();
  return selected_ < tabs.size() ? tabs[selected_] : nullptr;
}

void TabBarController::setSelectedIndex(size_t index) {
  if (index >= viewControllers().size()) return;
  select(index);
}

void TabBarController::setSelectedViewController(const std::shared_ptr<ViewController>& controller) {
  const auto& tabs = viewControllers();
  auto at = std::find(tabs.begin(), tabs.end(), controller);
  if (at != tabs.end()) select(static_cast<size_t>(at - tabs.begin()));
}

void TabBarController::tabTapped(size_t index) {
  const auto& tabs = viewControllers();
  if (index >= tabs.size()) return;
  auto tapped = tabs[index];
  auto delegate = delegate_.lock();
  if (delegate && !delegate->shouldSelectViewController(*this, *tapped)) return;
  if (index == selected_) {
    if (auto navigation = std::dynamic_pointer_cast<NavigationController>(tapped))
      navigation->popToRootViewControllerAnimated(true);
  } else {
    select(index);
  }
  if (delegate) delegate->didSelectViewController(*this, *tapped);
}

void TabBarController::select(size_t index) {
  if (index == selected_) return;
  auto old = selectedViewController();
  selected_ = index;
  auto now = selectedViewController();
  if (!isViewLoaded()) return;
  showItems();
  const bool onScreen = appearanceState() != AppearanceState::Disappeared;
  if (now) now->view();
  if (onScreen && old) old->beginAppearanceTransition(false, false);
  if (old && old->isViewLoaded()) old->view()->removeFromSuperview();
  if (now) {
    auto shown = now->view();
    shown->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
    content_->addSubview(shown);
    layoutTabs();
    if (onScreen) now->beginAppearanceTransition(true, false);
  }
  if (onScreen && old) old->endAppearanceTransition();
  if (onScreen && now) now->endAppearanceTransition();
}

std::vector<std::shared_ptr<ViewController>> TabBarController::childrenInView() const {
  auto selected = selectedViewController();
  if (selected && selected->isViewLoaded() && isViewLoaded()) return {selected};
  return {};
}

bool TabBarController::barHidden() const {
  auto navigation = std::dynamic_pointer_cast<NavigationController>(selectedViewController());
  return navigation && navigation->hidesBottomBar();
}

std::shared_ptr<View> TabBarController::makeTabBar() {
  return std::make_shared<TabBar>();
}

void TabBarController::showItems() {
  auto bar = std::dynamic_pointer_cast<TabBar>(bar_);
  if (!bar) return;
  std::vector<std::shared_ptr<TabBarItem>> items;
  for (auto& controller : viewControllers()) items.push_back(controller->tabBarItem());
  bar->setItems(std::move(items));
  auto selected = selectedViewController();
  bar->setSelectedItem(selected ? selected->tabBarItem() : nullptr);
}

void TabBarController::didSelectItem(TabBar&, TabBarItem& item) {
  const auto& tabs = viewControllers();
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (tabs[i]->tabBarItem().get() == &item) {
      tabTapped(i);
      break;
    }
  }
  // A refused tap leaves the bar on the tab still selected.
  showItems();
}

std::shared_ptr<View> TabBarController::tabBar() {
  view();
  return bar_;
}

void TabBarController::loadView() {
  auto container = std::make_shared<View>(Screen::mainScreen().applicationFrame());
  container->setClipsToBounds(true);
  content_ = std::make_shared<View>(Rect());
  content_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
  container->addSubview(content_);
  bar_ = makeTabBar();
  bar_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleTopMargin);
  container->addSubview(bar_);
  if (auto bar = std::dynamic_pointer_cast<TabBar>(bar_)) bar->setDelegate(sharedAs<TabBarController>());
  setView(container);
  showItems();
  layoutTabs();
  if (auto selected = selectedViewController()) {
    auto shown = selected->view();
    shown->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
    content_->addSubview(shown);
    layoutTabs();
  }
}

void TabBarController::layoutTabs() {
  const Rect bounds = view()->bounds();
  const bool hidden = barHidden();
  bar_->setFrame(Rect(0, bounds.height() - (hidden ? 0 : kTabBarHeight), bounds.width(), kTabBarHeight));
  content_->setFrame(Rect(0, 0, bounds.width(), bounds.height() - (hidden ? 0 : kTabBarHeight)));
  if (auto selected = selectedViewController(); selected && selected->isViewLoaded()) {
    selected->view()->setFrame(content_->bounds());
  }
}

void TabBarController::updateTabBarVisibility(bool animated) {
  if (!isViewLoaded()) return;
  if (animated && View::areAnimationsEnabled()) {
    View::animateWithDuration(NavigationController::kPushDuration, [this] { layoutTabs(); });
    return;
  }
  layoutTabs();
}

}  // namespace pf
