#pragma once
// Controllers side by side behind a tab bar: the selected one's view fills the space above the bar.
// Selecting by code changes the selection quietly; a tap on the bar asks the delegate first and tells
// it afterwards (also when the tapped tab was already selected, which takes a navigation stack back
// to its root). While the tab bar controller shows, the tabs that swap get their appearance calls.
// The bar hides while the selected navigation stack holds a controller that hides the bottom bar.
//
// The tabs are the controller's children. A subclass changes the bar by overriding makeTabBar.
// Main thread only.

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/ui/TabBar.h"
#include "platform/ui/ViewController.h"

namespace pf {

class TabBarController;

class TabBarControllerDelegate {
 public:
  virtual ~TabBarControllerDelegate() = default;
  virtual bool shouldSelectViewController(TabBarController& tabBarController, ViewController& controller) {
    (void)tabBarController, (void)controller;
    return true;
  }
  virtual void didSelectViewController(TabBarController& tabBarController, ViewController& controller) {
    (void)tabBarController, (void)controller;
  }
};

class TabBarController : public ViewController, public TabBarDelegate {
  PF_OBJECT(TabBarController, ViewController)

  static constexpr double kTabBarHeight = 49;
  static constexpr size_t kNoSelection = static_cast<size_t>(-1);

  TabBarController();
  ~TabBarController() override;

  const std::vector<std::shared_ptr<ViewController>>& viewControllers() const {
    return childViewControllers();
  }
  // Keeps the selected controller when it stays among the tabs, else selects the first.
  void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers, bool animated = false);
  size_t selectedIndex() const { return selected_; }
  // An index out of range changes nothing.
  void setSelectedIndex(size_t index);
  std::shared_ptr<ViewController> selectedViewController() const;
  void setSelectedViewController(const std::shared_ptr<ViewController>& controller);

  std::shared_ptr<View> tabBar();
  std::weak_ptr<TabBarControllerDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<TabBarControllerDelegate> delegate) { delegate_ = std::move(delegate); }

  // The user tapped the tab at the index on the bar.
  void tabTapped(size_t index);
  // Shows or hides the bar after the selected stack changed.
  void updateTabBarVisibility(bool animated);

  void loadView() override;
  // A tap on the bar's item.
  void didSelectItem(TabBar& tabBar, TabBarItem& item) override;

 protected:
  // The bar beneath the tabs (a TabBar unless a subclass returns its own kind); a TabBar shows the
  // tabs' items.
  virtual std::shared_ptr<View> makeTabBar();
  std::vector<std::shared_ptr<ViewController>> childrenInView() const override;

 private:
  void select(size_t index);
  bool barHidden() const;
  void layoutTabs();
  void showItems();

  std::shared_ptr<View> bar_;
  std::shared_ptr<View> content_;
  size_t selected_ = kNoSelection;
  std::weak_ptr<TabBarControllerDelegate> delegate_;
};

}  // namespace pf
