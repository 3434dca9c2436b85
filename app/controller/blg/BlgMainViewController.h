#pragma once
// The micro-blog module's root: four tabs (home feed, square, topics, own profile), each its own
// navigation stack. A tab's first screen unlocks dragging the module menu open while it shows and
// locks it once it pushes another screen; while the menu is open, the tab bar and the current first
// screen take no touches.
//
// Main thread only.

#include <cstdint>
#include <memory>

#include "app/controller/blg/BlgAllViewControllerDelegate.h"
#include "app/controller/blg/BlgBaseViewController.h"
#include "app/controller/blg/BlgSquareViewControllerDelegate.h"
#include "app/controller/blg/BlgTopicViewControllerDelegate.h"
#include "app/controller/blg/BlgUserInfoViewControllerDelegate.h"
#include "platform/ui/TabBarController.h"
#include "ui/deck/PanelDeckControllerDelegate.h"

class BlgAllViewController;
class BlgSquareViewController;
class BlgTopicViewController;
class BlgUserInfoViewController;

class BlgMainViewController : public BlgBaseViewController,
                              public PanelDeckControllerDelegate,
                              public BaseViewDelegate,
                              public pf::TabBarControllerDelegate,
                              public BlgAllViewControllerDelegate,
                              public BlgSquareViewControllerDelegate,
                              public BlgTopicViewControllerDelegate,
                              public BlgUserInfoViewControllerDelegate {
  PF_OBJECT(BlgMainViewController, BlgBaseViewController)

  BlgMainViewController();
  explicit BlgMainViewController(std::string nibName);
  ~BlgMainViewController() override;

  std::shared_ptr<pf::TabBarController> tabBarController;
  std::uint32_t currentItem = 0;
  std::shared_ptr<BlgAllViewController> blgAllViewController;
  std::shared_ptr<BlgSquareViewController> blgSquareViewController;
  std::shared_ptr<BlgTopicViewController> blgTopicViewController;
  std::shared_ptr<BlgUserInfoViewController> blgUserInfoViewController;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;

  bool showAppNavigatorView() override;
  void didSelectViewController(pf::TabBarController& tabBarController, pf::ViewController& controller) override;
  void didOpenViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;
  void didCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;
  void enablePanelDeckViewController();
  void disablePanelDeckViewController();

  void blgAllViewEnableAppNavigator() override { enablePanelDeckViewController(); }
  void blgAllViewDisableAppNavigator() override { disablePanelDeckViewController(); }
  void blgSquareViewEnableAppNavigator() override { enablePanelDeckViewController(); }
  void blgSquareViewDisableAppNavigator() override { disablePanelDeckViewController(); }
  void blgTopicViewEnableAppNavigator() override { enablePanelDeckViewController(); }
  void blgTopicViewDisableAppNavigator() override { disablePanelDeckViewController(); }
  void blgUserInfoViewEnableAppNavigator() override { enablePanelDeckViewController(); }
  void blgUserInfoViewDisableAppNavigator() override { disablePanelDeckViewController(); }

 private:
  std::shared_ptr<pf::ViewController> firstScreenOfTab(std::uint32_t index) const;
  void setTabsInteraction(bool enabled);
  void becomeDeckDelegate();
};
