#pragma once
// Manages one screen's view: makes it on first use (from the interface file named at construction, or
// loadView), tells subclasses when it appears and disappears, holds child controllers for containers,
// presents other controllers modally over itself, and answers the rotation questions.
//
// Appearance calls are balanced: a controller is disappeared, appearing, appeared or disappearing, and
// beginAppearanceTransition/endAppearanceTransition move it on, so viewDidAppear always follows its
// viewWillAppear and a controller never appears twice in a row. Containers forward their own
// appearance to the children whose views lie in their view, unless they answer
// shouldAutomaticallyForwardAppearanceMethods with false and forward by hand.
//
// A parent owns its children and a presenter the controller it presents; the way back (parent,
// presenting controller) is weak. Controllers are made with std::make_shared. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Responder.h"

namespace pf {

class NavigationController;
class NavigationItem;
class TabBarController;
class TabBarItem;
class View;

class ViewController : public Responder {
  PF_OBJECT(ViewController, Responder)

  // The platform's numbers.
  enum class ModalTransitionStyle {
    CoverVertical = 0,
    FlipHorizontal = 1,
    CrossDissolve = 2,
    PartialCurl = 3
  };
  enum class ModalPresentationStyle { FullScreen = 0, PageSheet = 1, FormSheet = 2, CurrentContext = 3 };
  enum InterfaceOrientationMask : unsigned {
    kOrientationMaskPortrait = 1 << 1,
    kOrientationMaskPortraitUpsideDown = 1 << 2,
    kOrientationMaskLandscapeRight = 1 << 3,
    kOrientationMaskLandscapeLeft = 1 << 4,
    kOrientationMaskLandscape = (1 << 3) | (1 << 4),
    kOrientationMaskAll = (1 << 1) | (1 << 2) | (1 << 3) | (1 << 4),
    kOrientationMaskAllButUpsideDown = (1 << 1) | (1 << 3) | (1 << 4),
  };
  enum class AppearanceState { Disappeared, Appearing, Appeared, Disappearing };
  using Orientation = Application::InterfaceOrientation;
  using Completion = std::function<void()>;

  // Seconds a modal presentation or a rotation takes when animated.
  static constexpr double kTransitionDuration = 0.3;
  // The share of the presenter's height a partial curl lifts away.
  static constexpr double kPartialCurlShare = 0.65;

  ViewController();
  // Made from the interface file of that name (empty: no file, loadView makes a plain view).
  explicit ViewController(std::string nibName);
  ~ViewController() override;

  const std::string& nibName() const { return nibName_; }

  // The view, loaded on first use: loadView, then viewDidLoad.
  std::shared_ptr<View> view();
  bool isViewLoaded() const { return view_ != nullptr; }
  void setView(std::shared_ptr<View> view);
  // Loads the interface file with this controller as owner (it must connect the "view" outlet), or
  // makes a plain view of the application frame without one.
  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewDidUnload() {}
  virtual void viewWillAppear(bool animated) { (void)animated; }
  virtual void viewDidAppear(bool animated) { (void)animated; }
  virtual void viewWillDisappear(bool animated) { (void)animated; }
  virtual void viewDidDisappear(bool animated) { (void)animated; }
  // Sent when the application receives a memory warning.
  virtual void didReceiveMemoryWarning() {}
  // Around each layout pass of the controller's own view.
  virtual void viewWillLayoutSubviews() {}
  virtual void viewDidLayoutSubviews() {}

  // Moves the appearance state on; a call that would repeat a state does nothing.
  void beginAppearanceTransition(bool isAppearing, bool animated);
  void endAppearanceTransition();
  AppearanceState appearanceState() const { return appearance_; }
  bool isVisible() const { return appearance_ == AppearanceState::Appeared; }
  // Whether appearance (and rotation) calls reach the children by themselves.
  virtual bool shouldAutomaticallyForwardAppearanceMethods() const {
    return automaticallyForwardAppearanceAndRotationMethodsToChildViewControllers();
  }
  virtual bool shouldAutomaticallyForwardRotationMethods() const {
    return automaticallyForwardAppearanceAndRotationMethodsToChildViewControllers();
  }
  virtual bool automaticallyForwardAppearanceAndRotationMethodsToChildViewControllers() const { return true; }

  const std::optional<std::string>& title() const { return title_; }
  virtual void setTitle(std::optional<std::string> title);
  // What the navigation bar shows for this controller, made on first use with its title. This and the
  // navigation controller are answered by the installed ControllerRouting's stand-in when it names one.
  virtual std::shared_ptr<NavigationItem> navigationItem();
  // What the tab bar shows for this controller, made on first use with its title.
  virtual std::shared_ptr<TabBarItem> tabBarItem();
  void setTabBarItem(std::shared_ptr<TabBarItem> item);
  bool hidesBottomBarWhenPushed() const { return hidesBottomBarWhenPushed_; }
  void setHidesBottomBarWhenPushed(bool hides);

  // Child containment. Adding calls willMoveToParentViewController with the new parent; removing
  // calls didMoveToParentViewController with none. The container calls the other two.
  std::shared_ptr<ViewController> parentViewController() const { return parent_.lock(); }
  const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const { return children_; }
  void addChildViewController(const std::shared_ptr<ViewController>& child);
  void removeFromParentViewController();
  virtual void willMoveToParentViewController(ViewController* parent) { (void)parent; }
  virtual void didMoveToParentViewController(ViewController* parent) { (void)parent; }
  // The nearest container of that kind among the ancestors.
  virtual std::shared_ptr<NavigationController> navigationController() const;
  virtual std::shared_ptr<TabBarController> tabBarController() const;

  // Modal presentation. The installed ControllerRouting may name another presenter. The controller at
  // the top of the presenter's containment (or the presenter) presents;
  // a second presentation while one shows is refused. Dismissing from the presented controller or
  // from its presenter takes the presented controller (and whatever it presents) away; the
  // completion runs once the transition ended.
  ModalTransitionStyle modalTransitionStyle() const { return transitionStyle_; }
  void setModalTransitionStyle(ModalTransitionStyle style) { transitionStyle_ = style; }
  // Where the presented view goes: see ModalPresentationFrame.
  ModalPresentationStyle modalPresentationStyle() const { return presentationStyle_; }
  void setModalPresentationStyle(ModalPresentationStyle style) { presentationStyle_ = style; }
  virtual void presentViewController(const std::shared_ptr<ViewController>& controller, bool animated,
                                     Completion completion = {});
  void presentModalViewController(const std::shared_ptr<ViewController>& controller, bool animated);
  virtual void dismissViewControllerAnimated(bool animated, Completion completion = {});
  void dismissModalViewControllerAnimated(bool animated);
  std::shared_ptr<ViewController> presentedViewController() const;
  std::shared_ptr<ViewController> presentingViewController() const;

  // Rotation. A rotation happens when shouldAutorotate answers true and both the supported mask and
  // shouldAutorotateToInterfaceOrientation take the orientation. Defaults follow the screen profile:
  // every orientation on the tablet, all but upside down on the phone.
  virtual bool shouldAutorotate() { return true; }
  virtual unsigned supportedInterfaceOrientations() const;
  virtual bool shouldAutorotateToInterfaceOrientation(Orientation orientation);
  virtual Orientation preferredInterfaceOrientationForPresentation() const { return Orientation::Portrait; }
  virtual void willRotateToInterfaceOrientation(Orientation orientation, double duration) {
    (void)orientation;
    (void)duration;
  }
  virtual void willAnimateRotationToInterfaceOrientation(Orientation orientation, double duration) {
    (void)orientation;
    (void)duration;
  }
  virtual void didRotateFromInterfaceOrientation(Orientation from) { (void)from; }
  Orientation interfaceOrientation() const;
  static unsigned maskOf(Orientation orientation) { return 1u << static_cast<unsigned>(orientation); }
  // Turns the key window's root controller to the device's orientation when it agrees; answers
  // whether it turned.
  static bool attemptRotationToDeviceOrientation(bool animated = true);

  // Responder chain: the view's superview (the window for a root controller).
  std::shared_ptr<Responder> nextResponder() const override;

 protected:
  // The children that take part in this controller's appearance and rotation (default: those whose
  // views lie in this controller's view).
  virtual std::vector<std::shared_ptr<ViewController>> childrenInView() const;
  // Rotation calls on this controller, forwarded to childrenInView when automatic.
  void sendWillRotate(Orientation orientation, double duration);
  void sendWillAnimateRotation(Orientation orientation, double duration);
  void sendDidRotate(Orientation from);
  // For containers that order their children themselves: replaces the list. Newcomers get this
  // parent (after willMoveToParentViewController with it); leavers hear willMoveToParentViewController
  // with none and keep their parent until releaseChild.
  void replaceChildren(std::vector<std::shared_ptr<ViewController>> children);
  // Ends the parent link of a controller that left the list (didMoveToParentViewController with none).
  void releaseChild(const std::shared_ptr<ViewController>& child);
  // Whether this controller's own tab item was made or set.
  bool hasOwnTabBarItem() const { return tabBarItem_ != nullptr; }

 private:
  struct ModalTransition;
  friend class Window;
  std::shared_ptr<ViewController> presentationRoot();
  void finishModalTransition();
  void showPresented(const std::shared_ptr<ViewController>& presented, bool animated, Completion completion);
  void hidePresented(bool animated, Completion completion);
  void rotateTo(Orientation orientation, bool animated);

  std::string nibName_;
  std::shared_ptr<View> view_;
  std::optional<std::string> title_;
  std::shared_ptr<NavigationItem> navigationItem_;
  std::shared_ptr<TabBarItem> tabBarItem_;
  bool hidesBottomBarWhenPushed_ = false;
  AppearanceState appearance_ = AppearanceState::Disappeared;
  bool appearanceAnimated_ = false;
  std::weak_ptr<ViewController> parent_;
  std::vector<std::shared_ptr<ViewController>> children_;
  ModalTransitionStyle transitionStyle_ = ModalTransitionStyle::CoverVertical;
  ModalPresentationStyle presentationStyle_ = ModalPresentationStyle::FullScreen;
  std::shared_ptr<ViewController> presented_;
  std::weak_ptr<ViewController> presenting_;
  std::shared_ptr<ModalTransition> modalTransition_;
  bool presentedCurl_ = false;
  std::shared_ptr<View> curlCatcher_;
  NotificationCenter::Observation memoryWarnings_;
};

}  // namespace pf
