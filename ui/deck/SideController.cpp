#include "ui/deck/SideController.h"

#include "platform/ui/Transaction.h"
#include "platform/ui/View.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/deck/WrapControllerItem.h"

std::shared_ptr<SideController> SideController::autoConstrainedSideControllerWithViewController(
    std::shared_ptr<pf::ViewController> controller) {
  return sideControllerWithViewController(std::move(controller), -1.0);
}

std::shared_ptr<SideController> SideController::sideControllerWithViewController(
    std::shared_ptr<pf::ViewController> controller, double constrained) {
  auto side = std::make_shared<SideController>(std::move(controller), constrained);
  side->attachWrapped();
  return side;
}

SideController::SideController(std::shared_ptr<pf::ViewController> controller, double constrained)
    : WrapController(std::move(controller)), constrainedSize_(constrained) {}

void SideController::viewDidLoad() {
  WrapController::viewDidLoad();
  shrinkSide(true);
}

void SideController::viewWillAppear(bool animated) {
  WrapController::viewWillAppear(animated);
  view()->setBackgroundColor(wrappedController()->view()->backgroundColor());
  shrinkSide(animated);
}

void SideController::willAnimateRotationToInterfaceOrientation(Orientation orientation, double duration) {
  WrapController::willAnimateRotationToInterfaceOrientation(orientation, duration);
  shrinkSide(true);
}

void SideController::setConstrainedSize(double size, bool animated) {
  constrainedSize_ = size;
  shrinkSide(animated);
}

void SideController::shrinkSide(bool animated) {
  auto deck = panelDeckController(*this);
  if (!deck) return;
  const int side = deck->sideForController(this);
  if (side == PanelDeckController::kNotFound) return;
  const pf::Rect b = view()->bounds();
  const bool horizontal = side == DeckSideLeft || side == DeckSideRight;
  const double e = horizontal ? b.size.width : b.size.height;
  double c = constrainedSize_;
  if (c <= 0) {
    switch (side) {
      case DeckSideLeft: c = deck->leftViewSize(); break;
      case DeckSideRight: c = deck->rightViewSize(); break;
      case DeckSideTop: c = deck->topViewSize(); break;
      default: c = deck->bottomViewSize(); break;
    }
  }
  pf::Rect frame = b;
  if (horizontal) {
    frame.size.width = c;
    if (side == DeckSideRight) frame.origin.x += e - c;
  } else {
    frame.size.height = c;
    if (side == DeckSideBottom) frame.origin.y += e - c;
  }
  auto wrappedView = wrappedController()->view();
  pf::Transaction::begin();
  if (animated) {
    pf::View::beginAnimations("shrinkSide", nullptr);
    pf::View::setAnimationDuration(0.3);
    pf::View::setAnimationCurve(pf::View::AnimationCurve::EaseInOut);
    wrappedView->setFrame(frame);
    pf::View::commitAnimations();
  } else {
    pf::View::performWithoutAnimation([&] { wrappedView->setFrame(frame); });
  }
  pf::Transaction::commit();
}

std::shared_ptr<SideController> sideController(const pf::ViewController& controller) {
  return std::dynamic_pointer_cast<SideController>(wrapController(controller));
}
