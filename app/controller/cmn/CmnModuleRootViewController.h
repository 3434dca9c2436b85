#pragma once
// A module's root at the centre of the side-panel deck: its own header with the menu button over one
// embedded list, which a subclass makes. Panning the deck is allowed while it is on top; while the
// menu is open the root takes no touches. The list reports its load errors here.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"
#include "ui/deck/PanelDeckControllerDelegate.h"

namespace pf {
class View;
}
class BaseTableViewController;

class CmnModuleRootViewController : public BaseViewController, public PanelDeckControllerDelegate {
  PF_OBJECT(CmnModuleRootViewController, BaseViewController)

  CmnModuleRootViewController();
  explicit CmnModuleRootViewController(std::string nibName);
  ~CmnModuleRootViewController() override;

  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;

  // The interface file's outlet and action of every module root; again is harmless.
  static void defineInterface();

  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void forwardIndexBtnClick();
  // Reloads the list; the module's screens call it before they return to the root.
  void refreshAllData();

  void didOpenViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;
  void didCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;

 protected:
  // The module's list, made once as the view loads.
  virtual std::shared_ptr<BaseTableViewController> makeList() = 0;

 private:
  void becomeDeckDelegate();

  std::weak_ptr<BaseTableViewController> list_;
};
