#pragma once
// The exam module's root: its own header with the menu button over the embedded exam list. Panning
// the deck is allowed while it is on top; while the menu is open the root takes no touches.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"
#include "ui/deck/PanelDeckControllerDelegate.h"

namespace pf {
class View;
}
class EmsAllTableViewController;

class EmsAllViewController : public BaseViewController, public PanelDeckControllerDelegate {
  PF_OBJECT(EmsAllViewController, BaseViewController)

  EmsAllViewController();
  explicit EmsAllViewController(std::string nibName);
  ~EmsAllViewController() override;

  // The embedded list, a child of this screen.
  std::weak_ptr<EmsAllTableViewController> allExamTableViewController;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;

  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void forwardIndexBtnClick();
  // Reloads the list; the exam screens call it before they return to the root.
  void refreshAllData();

  void didOpenViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;
  void didCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;
};
