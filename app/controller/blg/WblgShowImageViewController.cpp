#include "app/controller/blg/WblgShowImageViewController.h"

#include "app/controller/blg/WblgShowImageDelegate.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"

WblgShowImageViewController::WblgShowImageViewController() = default;
WblgShowImageViewController::WblgShowImageViewController(std::string nibName)
    : BlgBaseViewController(std::move(nibName)) {}
WblgShowImageViewController::~WblgShowImageViewController() = default;

void WblgShowImageViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setRightBtnWithBgImageN("", "", std::string(kDeleteTitle), std::nullopt);
  if (!showImgView) return;
  showImgView->setBackgroundColor(pf::Color::yellow());
  showImgView->setImage(img);
}

void WblgShowImageViewController::rightBtnPressed() {
  if (auto composer = delegate.lock()) composer->deleteSendImage();
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
