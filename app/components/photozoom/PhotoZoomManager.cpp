#include "app/components/photozoom/PhotoZoomManager.h"

#include <algorithm>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/ImageContext.h"
#include "platform/net/UrlContents.h"
#include "platform/ui/Button.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Screen.h"

PhotoZoomManager::PhotoZoomManager() : backgroundColor(pf::Color::fromWhite(0, 0.8)) {}

std::shared_ptr<PhotoZoomDelegate> PhotoZoomManager::declaredDelegate() const {
  auto listener = delegate_.lock();
  return listener && listener->declaresPhotoZoomDelegate() ? listener : nullptr;
}

bool PhotoZoomManager::isInstalledOn(const pf::View& view) const {
  for (const auto& recognizer : view.gestureRecognizers()) {
    for (const auto& mine : installed_) {
      if (mine.lock() == recognizer) return true;
    }
  }
  return false;
}

void PhotoZoomManager::installOnView(const std::shared_ptr<pf::View>& view) {
  // Rows install on every fill: a second recogniser would open a second screen.
  if (!view || isInstalledOn(*view)) return;
  std::erase_if(installed_, [](const auto& weak) { return weak.expired(); });
  auto tap = std::make_shared<pf::TapGestureRecognizer>();
  std::weak_ptr<PhotoZoomManager> weakSelf = weak_from_this();
  tap->addTarget(weakSelf, [weakSelf](pf::GestureRecognizer& recognizer) {
    if (auto self = weakSelf.lock()) self->handleFocusGesture(recognizer);
  });
  view->addGestureRecognizer(tap);
  view->setUserInteractionEnabled(true);
  installed_.push_back(tap);
}

void PhotoZoomManager::installOnViews(const std::vector<std::shared_ptr<pf::View>>& views) {
  for (const auto& view : views) installOnView(view);
}

std::shared_ptr<PhotoZoomController> PhotoZoomManager::focusViewControllerForView(pf::View& view) {
  auto listener = delegate_.lock();
  if (!listener) return nullptr;
  auto picture = listener->photoZoomManagerImageForView(*this, view);
  if (!picture) return nullptr;
  auto controller = std::make_shared<PhotoZoomController>();
  installDefocusActionOnFocusViewController(*controller);
  if (!controller->mainImageView) return nullptr;
  controller->mainImageView->setImage(picture);
  auto declared = declaredDelegate();
  if (controller->titleLabel) {
    controller->titleLabel->setText(declared ? declared->photoZoomManagerTitleForView(*this, view).value_or("") : "");
  }
  if (declared) {
    // Asked here on the main thread: the screens read their views' state to answer.
    if (auto url = declared->photoZoomManagerMediaURLForView(*this, view)) loadFullSizePicture(controller, *url);
  }
  return controller;
}

void PhotoZoomManager::loadFullSizePicture(const std::shared_ptr<PhotoZoomController>& controller,
                                           const std::string& url) {
  const double timeout = mediaTimeout;
  pf::DispatchQueue::global()->async([controller, url, timeout] {
    auto result = pf::UrlContents::read(url, timeout);
    if (result.error) {
      pf::logf("Warning: Unable to load image at %@. %@", url, result.error->localizedDescription());
      return;
    }
    std::shared_ptr<const pf::Image> picture = pf::Image::withData(*result.data);
    if (!picture) {
      pf::logf("Warning: Unable to load image at %@. %@", url, std::string("The data is no picture."));
      return;
    }
    picture = decodedImageWithImage(picture);
    pf::DispatchQueue::main()->async([controller, picture] {
      if (controller->mainImageView) controller->mainImageView->setImage(picture);
      // Arriving after the zoomable view was installed: show it there too.
      if (controller->scrollView) controller->scrollView->displayImage(picture);
    });
  });
}

void PhotoZoomManager::installDefocusActionOnFocusViewController(PhotoZoomController& controller) {
  auto screen = controller.view();
  if (!screen) return;
  if (isDefocusingWithTap) {
    auto tap = std::make_shared<pf::TapGestureRecognizer>();
    std::weak_ptr<PhotoZoomManager> weakSelf = weak_from_this();
    tap->addTarget(weakSelf, [weakSelf](pf::GestureRecognizer&) {
      if (auto self = weakSelf.lock()) self->handleDefocusGesture();
    });
    screen->addGestureRecognizer(tap);
  } else {
    setupAccessoryViewOnFocusViewController(controller);
  }
}

void PhotoZoomManager::setupAccessoryViewOnFocusViewController(PhotoZoomController& controller) {
  if (!controller.contentView) return;
  auto button = pf::Button::buttonWithType(pf::Button::Type::Custom);
  button->setTitle(std::string(kBackTitle), pf::Control::kNormal);
  std::weak_ptr<PhotoZoomManager> weakSelf = weak_from_this();
  button->addTarget(weakSelf, "handleDefocusGesture:", [weakSelf](pf::Control&, unsigned) {
    if (auto self = weakSelf.lock()) self->handleDefocusGesture();
  }, pf::Control::kTouchUpInside);
  button->setBackgroundColor(pf::Color::fromWhite(0, 0.5));
  button->sizeToFit();
  pf::Rect frame = button->frame();
  frame.size.width += 40;
  frame.size.height += 8;
  button->setFrame(frame);
  button->layer()->setBorderWidth(2);
  button->layer()->setBorderColor(pf::Color::white());
  button->layer()->setCornerRadius(4);
  const double width = controller.contentView->bounds().size.width;
  button->setCenter({width - frame.size.width / 2 - 10, frame.size.height / 2 + 10});
  button->setAutoresizingMask(pf::View::kFlexibleLeftMargin | pf::View::kFlexibleBottomMargin);
  controller.contentView->addSubview(button);
  controller.accessoryView = button;
  button->setAlpha(0);
  pf::View::animateWithDuration(0.5, [button] { button->setAlpha(1); });
}

void PhotoZoomManager::handleFocusGesture(pf::GestureRecognizer& recognizer) {
  auto thumbnail = recognizer.view();
  auto listener = delegate_.lock();
  if (!thumbnail || !listener || focusViewController) return;
  auto controller = focusViewControllerForView(*thumbnail);
  if (!controller) return;
  auto host = listener->parentViewControllerForPhotoZoomManager(*this);
  if (!host || !host->view()) return;
  focusViewController = controller;
  mediaView = thumbnail;
  host->addChildViewController(controller);
  controller->beginAppearanceTransition(true, true);
  host->view()->addSubview(controller->view());
  controller->view()->setFrame(host->view()->bounds());
  thumbnail->setHidden(true);
  auto picture = controller->mainImageView;
  auto holder = picture->superview();
  picture->setCenter(thumbnail->superview() ? thumbnail->superview()->convertPointToView(thumbnail->center(), holder.get())
                                            : thumbnail->center());
  picture->setTransform(thumbnail->transform());
  picture->setBounds(thumbnail->bounds());
  isZooming = true;

  auto declared = declaredDelegate();
  std::optional<pf::Rect> answered = declared ? declared->photoZoomManagerFinalFrameForView(*this, *thumbnail) : std::nullopt;
  pf::Rect target = answered.value_or(pf::Screen::mainScreen().bounds());
  if (elasticAnimation) target = rectInsetsForRect(target, -0.03);
  auto self = shared_from_this();
  pf::View::animateWithDuration(
      animationDuration,
      [&] {
        const pf::AffineTransform turned = picture->transform();
        picture->setTransform(pf::AffineTransform::identity());
        const pf::Rect start = picture->frame();
        picture->setFrame(target);
        controller->updateOrientationAnimated(false);
        const pf::Rect placed = picture->frame();
        picture->setFrame(start);
        picture->setTransform(turned);
        picture->setTransform(pf::AffineTransform::identity());
        picture->setFrame(placed);
        controller->view()->setBackgroundColor(backgroundColor);
      },
      [self, controller](bool) {
        if (!self->elasticAnimation) return self->finishOpening();
        pf::View::animateWithDuration(
            self->animationDuration * 0.6,
            [controller] {
              if (controller->contentView) controller->mainImageView->setFrame(controller->contentView->bounds());
            },
            [self](bool) { self->finishOpening(); });
      });
}

void PhotoZoomManager::finishOpening() {
  installZoomView();
  isZooming = false;
  if (focusViewController) focusViewController->endAppearanceTransition();
}

void PhotoZoomManager::handleDefocusGesture() {
  if (isZooming && gestureDisabledDuringZooming) return;
  auto controller = focusViewController;
  auto thumbnail = mediaView;
  if (!controller || !thumbnail || !controller->mainImageView) return;
  uninstallZoomView();
  controller->pinAccessoryViews();
  controller->beginAppearanceTransition(false, true);
  auto picture = controller->mainImageView;
  const pf::Rect original = thumbnail->bounds();
  auto self = shared_from_this();
  pf::View::animateWithDuration(
      animationDuration,
      [&] {
        if (controller->contentView) controller->contentView->setTransform(pf::AffineTransform::identity());
        auto holder = picture->superview();
        picture->setCenter(thumbnail->superview()
                               ? thumbnail->superview()->convertPointToView(thumbnail->center(), holder.get())
                               : thumbnail->center());
        picture->setTransform(thumbnail->transform());
        picture->setBounds(elasticAnimation ? rectInsetsForRect(original, 0.03) : original);
        controller->view()->setBackgroundColor(pf::Color::clear());
        if (controller->accessoryView) controller->accessoryView->setAlpha(0);
        if (controller->titleLabel) controller->titleLabel->setAlpha(0);
      },
      [self, controller, thumbnail, picture, original](bool) {
        const bool elastic = self->elasticAnimation;
        pf::View::animateWithDuration(
            elastic ? self->animationDuration * 0.6 : 0,
            [picture, original, elastic] {
              if (elastic) picture->setBounds(original);
            },
            [self, controller, thumbnail](bool) { self->finishClosing(controller, thumbnail); });
      });
}

void PhotoZoomManager::finishClosing(const std::shared_ptr<PhotoZoomController>& controller,
                                     const std::shared_ptr<pf::View>& thumbnail) {
  thumbnail->setHidden(false);
  controller->view()->removeFromSuperview();
  controller->endAppearanceTransition();
  controller->removeFromParentViewController();
  if (focusViewController == controller) focusViewController.reset();
}

void PhotoZoomManager::installZoomView() {
  if (zoomEnabled && focusViewController) focusViewController->installZoomView();
}

void PhotoZoomManager::uninstallZoomView() {
  if (zoomEnabled && focusViewController) focusViewController->uninstallZoomView();
}

pf::Rect PhotoZoomManager::rectInsetsForRect(const pf::Rect& rect, double ratio) {
  const double dx = rect.size.width * ratio;
  const double dy = rect.size.height * ratio;
  return {rect.origin.x + dx, rect.origin.y + dy, std::max(0.0, rect.size.width - 2 * dx),
          std::max(0.0, rect.size.height - 2 * dy)};
}

std::shared_ptr<const pf::Image> PhotoZoomManager::decodedImageWithImage(const std::shared_ptr<const pf::Image>& image) {
  if (!image) return image;
  const pf::Size size = image->size();
  auto canvas = pf::ImageContext::create(size, false, image->scale());
  if (!canvas) return image;
  image->draw(canvas->context(), pf::Rect{{0, 0}, size});
  return canvas->image();
}
