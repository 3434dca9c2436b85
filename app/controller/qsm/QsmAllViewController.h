#pragma once
// The survey module's root: its own header with the menu button over the embedded survey list.
// Panning the deck is allowed while it is on top; while the menu is open the root takes no touches.
// The list reports its load errors here.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"
#include "ui/deck/PanelDeckControllerDelegate.h"

namespace pf {
class View;
}
class QsmAllTableViewController;

class QsmAllViewController : public BaseViewController, public PanelDeckControllerDelegate {
  PF_OBJECT(QsmAllViewController, BaseViewController)

  QsmAllViewController();
  explicit QsmAllViewController(std::string nibName);
  ~QsmAllViewController() override;

  // The embedded list, a child of this screen.
  std::shared_ptr<QsmAllTableViewController> allTableViewController;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;

  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void forwardIndexBtnClick();
  // Reloads the list; the result screen calls it before it returns to the root.
  void refreshAllData();

  void didOpenViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;
  void didCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;
};
