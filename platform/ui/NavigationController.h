#pragma once
// A stack of controllers with a navigation bar above the top one's view. Pushing slides the new top in
// from the right and popping slides it out; the stack changes at once, and the move to the new top
// finishes a running move first, so a pop during a push animation leaves the stack and the views in
// agreement. While the navigation controller shows, the old and new tops get their appearance calls
// (the one leaving first) and the delegate hears of the new top before and after the move.
//
// The stack is the controller's children. A subclass draws its own bar by overriding
// makeNavigationBar. Main thread only.

#include <memory>
#include <vector>

#include "platform/ui/NavigationBar.h"
#include "platform/ui/ViewController.h"

namespace pf {

class NavigationController;

class NavigationControllerDelegate {
 public:
  virtual ~NavigationControllerDelegate() = default;
  virtual void willShowViewController(NavigationController& navigationController, ViewController& controller,
                                      bool animated) {
    (void)navigationController, (void)controller, (void)animated;
  }
  virtual void didShowViewController(NavigationController& navigationController, ViewController& controller,
                                     bool animated) {
    (void)navigationController, (void)controller, (void)animated;
  }
};

class NavigationController : public ViewController, public NavigationBarDelegate {
  PF_OBJECT(NavigationController, ViewController)

  using Stack = std::vector<std::shared_ptr<ViewController>>;
  static constexpr double kNavigationBarHeight = 44;
  static constexpr double kPushDuration = 0.35;
  static constexpr double kBarHideDuration = 0.2;

  NavigationController();
  explicit NavigationController(std::shared_ptr<ViewController> rootViewController);
  ~NavigationController() override;

  const Stack& viewControllers() const;
  // Controllers already on another stack move here; the top moves like a push when it is new to the
  // stack, like a pop when it was below, and without animation when it stays.
  virtual void setViewControllers(Stack controllers, bool animated = false);
  // A controller already on this stack is not pushed again. Subclasses may override push and the pops
  // (the bar's back button pops through popViewControllerAnimated, pop-to-root through popToViewController).
  virtual void pushViewController(const std::shared_ptr<ViewController>& controller, bool animated);
  // The popped controller; none when only the root is left.
  virtual std::shared_ptr<ViewController> popViewControllerAnimated(bool animated);
  // The controllers popped above the given one; none when it is not on the stack.
  virtual Stack popToViewController(const std::shared_ptr<ViewController>& controller, bool animated);
  Stack popToRootViewControllerAnimated(bool animated);
  std::shared_ptr<ViewController> topViewController() const;
  // The top, or the controller presented over the navigation controller.
  std::shared_ptr<ViewController> visibleViewController() const;

  std::shared_ptr<View> navigationBar();
  bool isNavigationBarHidden() const { return barHidden_; }
  void setNavigationBarHidden(bool hidden, bool animated = false);

  std::weak_ptr<NavigationControllerDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<NavigationControllerDelegate> delegate) { delegate_ = std::move(delegate); }

  // The root's item, as a tab shows the screen it opens with, unless one was set on the stack itself.
  std::shared_ptr<TabBarItem> tabBarItem() override;

  // Whether a controller on the stack above the root asks to hide the tab bar beneath.
  bool hidesBottomBar() const;

  void loadView() override;
  // The bar's back button pops the top controller.
  bool shouldPopItem(NavigationBar& bar, NavigationItem& item) override;

 protected:
  // The bar shown above the stack (a NavigationBar unless a subclass returns its own kind); a
  // NavigationBar shows the stack's navigation items.
  virtual std::shared_ptr<View> makeNavigationBar();
  std::vector<std::shared_ptr<ViewController>> childrenInView() const override;

 private:
  struct Move;
  void changeStack(Stack stack, bool animated);
  void finishMove();
  // The root given at construction joins the stack on first use (a parent link needs the shared object).
  void ensureRoot();
  void layoutBar();
  void showItems(bool animated);

  std::shared_ptr<View> bar_;
  std::shared_ptr<View> content_;
  bool barHidden_ = false;
  std::weak_ptr<NavigationControllerDelegate> delegate_;
  std::shared_ptr<Move> move_;
  std::shared_ptr<ViewController> pendingRoot_;
};

}  // namespace pf
