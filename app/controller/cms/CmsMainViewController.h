#pragma once
// The course module's root: four tabs, each a navigation stack (all courses, my courses, search,
// downloads), opening on my courses while the catalogue's first page already loads. It locks the
// side menu while a tab shows a pushed screen and makes the tabs inert while the side menu is open.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/AllCourseViewDelegate.h"
#include "app/controller/cms/CmsSearchViewDelegate.h"
#include "app/controller/cms/MyCourseViewDelegate.h"
#include "platform/ui/TabBarController.h"
#include "ui/deck/PanelDeckControllerDelegate.h"

class CmsAllViewController;
class CmsMyViewController;
class CmsSearchViewController;

class CmsMainViewController : public BaseViewController,
                              public PanelDeckControllerDelegate,
                              public BaseViewDelegate,
                              public AllCourseViewDelegate,
                              public MyCourseViewDelegate,
                              public CmsSearchViewDelegate,
                              public pf::TabBarControllerDelegate {
  PF_OBJECT(CmsMainViewController, BaseViewController)

  static constexpr char kDownloadScreenClass[] = "CmsDownloadCourseViewController";
  static constexpr unsigned kFirstItem = 1;

  CmsMainViewController();
  explicit CmsMainViewController(std::string nibName);
  ~CmsMainViewController() override;

  std::shared_ptr<pf::TabBarController> tabBarCon;
  std::shared_ptr<CmsAllViewController> allCourseViewController;
  std::shared_ptr<CmsMyViewController> myCourseViewController;
  std::shared_ptr<CmsSearchViewController> searchCourseViewController;
  // The download manager's first screen; a plain screen while that module is not built in.
  std::shared_ptr<pf::ViewController> downloadViewController;
  unsigned currentItem = kFirstItem;

  void viewDidLoad() override;
  // The deck may take the root after its view loaded: claim its delegate again when shown.
  void viewDidAppear(bool animated) override;

  void didSelectViewController(pf::TabBarController& tabBarController, pf::ViewController& controller) override;
  bool showAppNavigatorView() override;
  void enablePanelDeckController();
  void disablePanelDeckController();
  void enableAppNavigatorView() override { enablePanelDeckController(); }
  void disableAppNavigatorView() override { disablePanelDeckController(); }
  void appNavigatorViewEnable() override { enablePanelDeckController(); }
  void appNavigatorViewDisable() override { disablePanelDeckController(); }
  void enableAppNavigator() override { enablePanelDeckController(); }
  void disableAppNavigator() override { disablePanelDeckController(); }
  void didOpenViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;
  void didCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;

 private:
  std::shared_ptr<pf::ViewController> makeDownloadScreen();
  std::shared_ptr<pf::ViewController> firstScreenOfItem(unsigned item) const;
  void setTabsInteractive(bool interactive);
};
