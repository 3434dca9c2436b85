#pragma once
// Shows exactly one other controller (the wrapped one) inside its own view, below the status bar, and
// stays out of its way: appearance, rotation and memory warnings reach the wrapped controller, its
// rotation answers are the wrapper's, and the wrapped controller answers navigation questions with the
// wrapper's (through PanelDeckRouting). We have no message forwarding: what the wrapper lacks, callers
// ask of wrappedController(); the deck's delegate fan-out does so by itself. The tab-bar item and the
// bottom-bar flag are one value: setting either side's sets the other's. Made with create().

#include <functional>
#include <memory>
#include <vector>

#include "platform/runtime/ChangeObservers.h"
#include "platform/ui/ViewController.h"

class WrapController : public pf::ViewController {
  PF_OBJECT(WrapController, pf::ViewController)

  using LoadBlock = std::function<void(WrapController& wrapper)>;
  using AppearanceBlock = std::function<void(WrapController& wrapper, bool animated)>;

  static std::shared_ptr<WrapController> create(std::shared_ptr<pf::ViewController> wrapped);
  explicit WrapController(std::shared_ptr<pf::ViewController> wrapped);
  ~WrapController() override;

  const std::shared_ptr<pf::ViewController>& wrappedController() const { return wrapped_; }
  double statusBarHeight() const;

  void setOnViewDidLoad(LoadBlock block) { onViewDidLoad_ = std::move(block); }
  void setOnViewWillAppear(AppearanceBlock block) { onViewWillAppear_ = std::move(block); }
  void setOnViewDidAppear(AppearanceBlock block) { onViewDidAppear_ = std::move(block); }
  void setOnViewWillDisappear(AppearanceBlock block) { onViewWillDisappear_ = std::move(block); }
  void setOnViewDidDisappear(AppearanceBlock block) { onViewDidDisappear_ = std::move(block); }

  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  void didReceiveMemoryWarning() override;
  bool shouldAutomaticallyForwardAppearanceMethods() const override { return false; }
  bool shouldAutomaticallyForwardRotationMethods() const override { return false; }
  bool automaticallyForwardAppearanceAndRotationMethodsToChildViewControllers() const override { return false; }
  bool shouldAutorotate() override;
  unsigned supportedInterfaceOrientations() const override;
  bool shouldAutorotateToInterfaceOrientation(Orientation orientation) override;
  void willRotateToInterfaceOrientation(Orientation orientation, double duration) override;
  void willAnimateRotationToInterfaceOrientation(Orientation orientation, double duration) override;
  void didRotateFromInterfaceOrientation(Orientation from) override;

 protected:
  // Links the wrapped controller back to this wrapper and shares its tab-bar values (needs the
  // shared object).
  void attachWrapped();

 private:
  std::shared_ptr<pf::ViewController> wrapped_;
  LoadBlock onViewDidLoad_;
  AppearanceBlock onViewWillAppear_;
  AppearanceBlock onViewDidAppear_;
  AppearanceBlock onViewWillDisappear_;
  AppearanceBlock onViewDidDisappear_;
  std::vector<pf::ChangeObservers::Observation> sharedValues_;
};
