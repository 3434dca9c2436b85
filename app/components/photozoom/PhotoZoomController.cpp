#include "app/components/photozoom/PhotoZoomController.h"

#include <numbers>

#include "platform/ui/Device.h"
#include "platform/ui/Layer.h"
#include "platform/ui/NibRegistry.h"

namespace {

bool isPortraitOrientation(int o) { return o == 1 || o == 2; }
bool isLandscapeOrientation(int o) { return o == 3 || o == 4; }

}  // namespace

PhotoZoomController::PhotoZoomController() : pf::ViewController("PhotoZoomController") {}

void PhotoZoomController::registerForInterfaceFiles() {
  pf::NibRegistry::define<PhotoZoomController>([](pf::NibClassBuilder<PhotoZoomController>& b) {
    b.outlet("contentView", &PhotoZoomController::contentView);
    b.outlet("mainImageView", &PhotoZoomController::mainImageView);
    b.outlet("titleLabel", &PhotoZoomController::titleLabel);
  });
}

void PhotoZoomController::viewDidLoad() {
  if (!titleLabel) return;
  titleLabel->layer()->setShadowOpacity(1.0);
  titleLabel->layer()->setShadowOffset({0, 0});
  titleLabel->layer()->setShadowRadius(1.0);
}

void PhotoZoomController::viewWillAppear(bool animated) {
  pf::ViewController::viewWillAppear(animated);
  if (!titleLabel) return;
  titleLabel->setAlpha(0);
  auto label = titleLabel;
  pf::View::animateWithDuration(0.5, [label] { label->setAlpha(1); });
}

void PhotoZoomController::viewDidAppear(bool animated) {
  pf::ViewController::viewDidAppear(animated);
  if (observingOrientation_) return;
  std::weak_ptr<PhotoZoomController> weakSelf = sharedAs<PhotoZoomController>();
  orientationObservation_ = pf::NotificationCenter::defaultCenter().addObserver(
      pf::Device::kOrientationDidChangeNotification, nullptr, [weakSelf](const pf::Notification&) {
        if (auto self = weakSelf.lock()) self->updateOrientationAnimated(true);
      });
  pf::Device::currentDevice().beginGeneratingDeviceOrientationNotifications();
  observingOrientation_ = true;
}

void PhotoZoomController::viewWillDisappear(bool animated) {
  pf::ViewController::viewWillDisappear(animated);
  if (!observingOrientation_) return;
  orientationObservation_ = {};
  pf::Device::currentDevice().endGeneratingDeviceOrientationNotifications();
  observingOrientation_ = false;
}

void PhotoZoomController::viewDidUnload() {
  mainImageView.reset();
  contentView.reset();
}

unsigned PhotoZoomController::supportedInterfaceOrientations() const { return kOrientationMaskPortrait; }

bool PhotoZoomController::isParentSupportingInterfaceOrientation(int orientation) const {
  if (orientation < 1 || orientation > 4) return false;
  auto parent = parentViewController();
  return parent && (parent->supportedInterfaceOrientations() & (1u << orientation)) != 0;
}

void PhotoZoomController::updateOrientationAnimated(bool animated) {
  const int o = static_cast<int>(pf::Device::currentDevice().orientation());
  if (o == previousOrientation || !contentView) return;
  const bool sameFamily = (isLandscapeOrientation(o) && isLandscapeOrientation(previousOrientation)) ||
                          (isPortraitOrientation(o) && isPortraitOrientation(previousOrientation));
  const double duration = sameFamily ? 0.8 : 0.4;
  auto parent = parentViewController();
  const bool parentInPortrait = parent && parent->interfaceOrientation() == pf::Application::InterfaceOrientation::Portrait;
  const double pi = std::numbers::pi;
  pf::AffineTransform transform;
  if (o != 1 && !isParentSupportingInterfaceOrientation(o)) {
    if (o == 2) transform = pf::AffineTransform::makeRotation(pi);
    else if (o == 3) transform = pf::AffineTransform::makeRotation(parentInPortrait ? pi / 2 : -pi / 2);
    else if (o == 4) transform = pf::AffineTransform::makeRotation(parentInPortrait ? -pi / 2 : pi / 2);
    else return;
  }
  const pf::Rect frame = contentView->frame();
  auto content = contentView;
  auto turn = [content, transform, frame] {
    content->setTransform(transform);
    content->setFrame(frame);
  };
  if (animated) pf::View::animateWithDuration(duration, turn);
  else turn();
  previousOrientation = o;
}

void PhotoZoomController::installZoomView() {
  if (!contentView || !mainImageView) return;
  scrollView = std::make_shared<ZoomingImageScrollView>(contentView->bounds());
  scrollView->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  contentView->insertSubview(scrollView, 0);
  scrollView->displayImage(mainImageView->image());
  mainImageView->setHidden(true);
}

void PhotoZoomController::uninstallZoomView() {
  if (!scrollView || !contentView || !mainImageView) return;
  pf::Rect frame = mainImageView->frame();
  if (scrollView->zoomImageView) {
    frame = scrollView->convertRectToView(scrollView->zoomImageView->frame(), contentView.get());
  }
  scrollView->setHidden(true);
  mainImageView->setHidden(false);
  mainImageView->setFrame(frame);
}

void PhotoZoomController::pinAccessoryView(const std::shared_ptr<pf::View>& accessory) {
  auto holder = accessory ? accessory->superview() : nullptr;
  if (!holder || !isViewLoaded()) return;
  const pf::Rect frame = holder->convertRectToView(accessory->frame(), view().get());
  accessory->setTransform(holder->transform());
  accessory->removeFromSuperview();
  view()->addSubview(accessory);
  accessory->setFrame(frame);
}

void PhotoZoomController::pinAccessoryViews() {
  pinAccessoryView(accessoryView);
  pinAccessoryView(titleLabel);
}
