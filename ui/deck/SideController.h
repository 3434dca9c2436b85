#pragma once
// Holds a deck side's controller to the part of the side the open deck shows: its view is only as wide
// (left, right) or tall (top, bottom) as the constrained size, hugging the deck's edge. A size of 0 or
// less is automatic: the deck's open view size of the side this controller sits in.

#include <memory>

#include "ui/deck/WrapController.h"

class SideController : public WrapController {
  PF_OBJECT(SideController, WrapController)

  static std::shared_ptr<SideController> autoConstrainedSideControllerWithViewController(
      std::shared_ptr<pf::ViewController> controller);
  static std::shared_ptr<SideController> sideControllerWithViewController(
      std::shared_ptr<pf::ViewController> controller, double constrained);
  SideController(std::shared_ptr<pf::ViewController> controller, double constrained);

  double constrainedSize() const { return constrainedSize_; }
  void setConstrainedSize(double size, bool animated = true);
  void shrinkSide(bool animated = true);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void willAnimateRotationToInterfaceOrientation(Orientation orientation, double duration) override;

 private:
  double constrainedSize_;
};

// The controller's wrapper when it is a side controller.
std::shared_ptr<SideController> sideController(const pf::ViewController& controller);
