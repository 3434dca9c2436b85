#include "app/controller/qsm/QsmSubmitResultViewController.h"

#include "app/controller/qsm/QsmAllViewController.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"

QsmSubmitResultViewController::QsmSubmitResultViewController() = default;
QsmSubmitResultViewController::QsmSubmitResultViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
QsmSubmitResultViewController::~QsmSubmitResultViewController() = default;

void QsmSubmitResultViewController::viewDidLayoutSubviews() {
  BaseViewController::viewDidLayoutSubviews();
  auto middle = bgMidImageView.lock();
  auto bottom = bgBtmImageView.lock();
  if (!middle || !bottom) return;
  pf::Rect frame = bottom->frame();
  frame.origin.y = middle->frame().maxY();
  bottom->setFrame(frame);
}

void QsmSubmitResultViewController::backBtnClick() {
  auto navigation = navigationController();
  if (!navigation || navigation->topViewController().get() != this) return;
  if (auto root = std::dynamic_pointer_cast<QsmAllViewController>(navigation->viewControllers().front()))
    root->refreshAllData();
  navigation->popToRootViewControllerAnimated(true);
}
