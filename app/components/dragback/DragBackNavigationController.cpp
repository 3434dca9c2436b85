#include "app/components/dragback/DragBackNavigationController.h"

#include <algorithm>

#include "platform/foundation/Log.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/LayerRenderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

DragBackNavigationController::DragBackNavigationController() {
  screenShotsList_.reserve(2);
}

DragBackNavigationController::DragBackNavigationController(std::shared_ptr<pf::ViewController> rootViewController)
    : pf::NavigationController(std::move(rootViewController)) {
  screenShotsList_.reserve(2);
}

void DragBackNavigationController::viewDidLoad() {
  pf::NavigationController::viewDidLoad();
  const double height = view()->frame().height();
  auto shade = std::make_shared<pf::ImageView>(pf::Rect(-kShadowWidth, 0, kShadowWidth, height));
  shade->setImage(pf::Image::named("leftside_shadow_bg", pf::Screen::mainScreen().scale()));
  shade->setAutoresizingMask(pf::View::kFlexibleHeight);
  view()->addSubview(shade);
  // The shade stands outside the left edge: it must show while the screen slides.
  view()->setClipsToBounds(false);
}

std::shared_ptr<pf::Image> DragBackNavigationController::capture() {
  auto shown = view();
  const pf::Rect frame = shown->frame();
  auto canvas = pf::ImageContext::create(shown->bounds().size, shown->isOpaque(), pf::Screen::mainScreen().scale());
  if (!canvas) return nullptr;
  canvas->context().translate(-frame.origin.x, -frame.origin.y);
  pf::LayerRenderer::render(*shown->layer(), canvas->context());
  return canvas->image();
}

void DragBackNavigationController::pushViewController(const std::shared_ptr<pf::ViewController>& controller,
                                                      bool animated) {
  const size_t before = viewControllers().size();
  auto picture = capture();
  pf::NavigationController::pushViewController(controller, animated);
  if (viewControllers().size() > before) screenShotsList_.push_back(picture);
  fitPictures(picture);
}

std::shared_ptr<pf::ViewController> DragBackNavigationController::popViewControllerAnimated(bool animated) {
  auto popped = pf::NavigationController::popViewControllerAnimated(animated);
  if (popped && !screenShotsList_.empty()) screenShotsList_.pop_back();
  return popped;
}

DragBackNavigationController::Stack DragBackNavigationController::popToViewController(
    const std::shared_ptr<pf::ViewController>& controller, bool animated) {
  Stack popped = pf::NavigationController::popToViewController(controller, animated);
  fitPictures(nullptr);
  return popped;
}

void DragBackNavigationController::setViewControllers(Stack controllers, bool animated) {
  auto picture = isViewLoaded() ? capture() : nullptr;
  pf::NavigationController::setViewControllers(std::move(controllers), animated);
  fitPictures(picture);
}

void DragBackNavigationController::fitPictures(const std::shared_ptr<pf::Image>& leftScreen) {
  const size_t wanted = viewControllers().empty() ? 0 : viewControllers().size() - 1;
  if (screenShotsList_.size() > wanted) screenShotsList_.resize(wanted);
  // A new stack deeper than before: the screen it replaced is the best picture there is.
  while (screenShotsList_.size() < wanted) screenShotsList_.push_back(leftScreen);
}

void DragBackNavigationController::moveViewWithX(double x) {
  x = std::clamp(x, 0.0, kMaxTravel);
  pf::Rect frame = view()->frame();
  frame.origin.x = x;
  view()->setFrame(frame);
  const double scale = 0.95 + x / 6400;
  if (lastScreenShotView_) lastScreenShotView_->setTransform(pf::AffineTransform::makeScale(scale, scale));
  if (blackMask_) blackMask_->setAlpha(0.4 - x / 800);
}

bool DragBackNavigationController::mayDragBack() const {
  return viewControllers().size() > 1 && canDragBack_;
}

double DragBackNavigationController::touchX(const pf::TouchSet& touches) {
  return touches.empty() ? 0 : touches.front()->locationInView(nullptr).x;
}

void DragBackNavigationController::startMoving() {
  isMoving_ = true;
  auto shown = view();
  const pf::Rect area(0, 0, shown->frame().width(), shown->frame().height());
  if (!backgroundView_) {
    auto holder = shown->superview();
    if (!holder) return;
    backgroundView_ = std::make_shared<pf::View>(area);
    holder->insertSubviewBelow(backgroundView_, shown.get());
    blackMask_ = std::make_shared<pf::View>(area);
    blackMask_->setBackgroundColor(pf::Color::black());
    backgroundView_->addSubview(blackMask_);
  }
  if (lastScreenShotView_) lastScreenShotView_->removeFromSuperview();
  lastScreenShotView_.reset();
  if (screenShotsList_.empty() || !screenShotsList_.back()) return;
  lastScreenShotView_ = std::make_shared<pf::ImageView>(screenShotsList_.back());
  backgroundView_->insertSubviewBelow(lastScreenShotView_, blackMask_.get());
}

void DragBackNavigationController::touchesBegan(const pf::TouchSet& touches, const pf::Event* event) {
  pf::NavigationController::touchesBegan(touches, event);
  if (!mayDragBack() || touches.empty()) return;
  isMoving_ = false;
  startTouch_ = touches.front()->locationInView(nullptr);
}

void DragBackNavigationController::touchesMoved(const pf::TouchSet& touches, const pf::Event* event) {
  pf::NavigationController::touchesMoved(touches, event);
  if (!mayDragBack() || touches.empty()) return;
  const double d = touchX(touches) - startTouch_.x;
  if (!isMoving_) {
    if (d <= kStartThreshold) return;
    startMoving();
  }
  moveViewWithX(d);
}

void DragBackNavigationController::touchesEnded(const pf::TouchSet& touches, const pf::Event* event) {
  pf::NavigationController::touchesEnded(touches, event);
  if (!mayDragBack() || touches.empty()) return;
  if (touchX(touches) - startTouch_.x <= kPopThreshold) return slideBack();
  auto self = sharedAs<DragBackNavigationController>();
  pf::View::animateWithDuration(
      kSlideDuration, [self] { self->moveViewWithX(kMaxTravel); },
      [self](bool) {
        self->popViewControllerAnimated(false);
        pf::Rect frame = self->view()->frame();
        frame.origin.x = 0;
        self->view()->setFrame(frame);
        pf::Log::write("Show the pop vc");
        self->isMoving_ = false;
      });
}

void DragBackNavigationController::touchesCancelled(const pf::TouchSet& touches, const pf::Event* event) {
  pf::NavigationController::touchesCancelled(touches, event);
  if (!mayDragBack()) return;
  slideBack();
}

void DragBackNavigationController::slideBack() {
  auto self = sharedAs<DragBackNavigationController>();
  pf::View::animateWithDuration(
      kSlideDuration, [self] { self->moveViewWithX(0); }, [self](bool) { self->isMoving_ = false; });
}
