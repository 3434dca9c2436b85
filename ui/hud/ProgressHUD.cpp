#include "ui/hud/ProgressHUD.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>

#include "platform/foundation/Clock.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/Path.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "ui/hud/RoundProgressView.h"

namespace {

std::shared_ptr<pf::Label> makeHudLabel(const std::shared_ptr<const pf::Font>& font,
                                        const std::optional<std::string>& text) {
  auto label = std::make_shared<pf::Label>();
  label->setAdjustsFontSizeToFitWidth(false);
  label->setTextAlignment(pf::TextAlignment::center);
  label->setOpaque(false);
  label->setBackgroundColor(pf::Color::clear());
  label->setTextColor(pf::Color::white());
  label->setFont(font);
  label->setText(text);
  return label;
}

pf::Size oneLineSize(const pf::Label& label) {
  if (!label.text() || label.text()->empty()) return {};
  return pf::StringDrawing::sizeOfText(*label.text(), *label.font());
}

pf::Size wrappedSize(const pf::Label& label, pf::Size constraints) {
  if (!label.text() || label.text()->empty() || constraints.width <= 0 || constraints.height <= 0) return {};
  const pf::Size size =
      pf::StringDrawing::sizeOfText(*label.text(), *label.font(), constraints, label.lineBreakMode());
  return {std::min(size.width, constraints.width), std::min(size.height, constraints.height)};
}

// A transform turned a quarter (the overlay's width and height trade places on screen).
bool isQuarterTurned(const pf::AffineTransform& transform) {
  return std::abs(transform.b) > std::abs(transform.a);
}

double orientationAngle(pf::Application::InterfaceOrientation orientation) {
  switch (orientation) {
    case pf::Application::InterfaceOrientation::LandscapeLeft: return -std::numbers::pi / 2;
    case pf::Application::InterfaceOrientation::LandscapeRight: return std::numbers::pi / 2;
    case pf::Application::InterfaceOrientation::PortraitUpsideDown: return std::numbers::pi;
    default: return 0;
  }
}

}  // namespace

ProgressHUD::ProgressHUD() : ProgressHUD(pf::Rect()) {}

ProgressHUD::ProgressHUD(const pf::Rect& frame)
    : pf::View(frame),
      labelFont_(pf::Font::boldSystemFont(16)),
      detailsLabelFont_(pf::Font::boldSystemFont(12)) {
  setAutoresizingMask(kFlexibleLeftMargin | kFlexibleRightMargin | kFlexibleTopMargin | kFlexibleBottomMargin);
  setOpaque(false);
  setBackgroundColor(pf::Color::clear());
  setAlpha(0);
  label_ = makeHudLabel(labelFont_, labelText_);
  detailsLabel_ = makeHudLabel(detailsLabelFont_, detailsLabelText_);
  detailsLabel_->setNumberOfLines(0);
  updateIndicators();
  // The observation ends with the overlay, so the callback never outlives it.
  orientationObservation_ = pf::NotificationCenter::defaultCenter().addObserver(
      pf::Device::kOrientationDidChangeNotification, nullptr,
      [this](const pf::Notification&) { deviceOrientationDidChange(); });
}

ProgressHUD::~ProgressHUD() {
  if (graceTimer_) graceTimer_->invalidate();
}

std::shared_ptr<ProgressHUD> ProgressHUD::initWithView(const std::shared_ptr<pf::View>& view) {
  if (!view) {
    pf::Log::write("View must not be nil.");
    return std::make_shared<ProgressHUD>(pf::Rect());
  }
  return std::make_shared<ProgressHUD>(view->bounds());
}

std::shared_ptr<ProgressHUD> ProgressHUD::initWithWindow(const std::shared_ptr<pf::Window>& window) {
  return initWithView(window);
}

std::shared_ptr<ProgressHUD> ProgressHUD::showHUDAddedTo(const std::shared_ptr<pf::View>& view, bool animated) {
  auto hud = initWithView(view);
  if (view) view->addSubview(hud);
  hud->show(animated);
  return hud;
}

std::shared_ptr<ProgressHUD> ProgressHUD::HUDForView(const pf::View& view) {
  const auto& subviews = view.subviews();
  for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
    if (auto hud = std::dynamic_pointer_cast<ProgressHUD>(*it)) return hud;
  }
  return nullptr;
}

std::vector<std::shared_ptr<ProgressHUD>> ProgressHUD::allHUDsForView(const pf::View& view) {
  std::vector<std::shared_ptr<ProgressHUD>> huds;
  for (const auto& subview : view.subviews()) {
    if (auto hud = std::dynamic_pointer_cast<ProgressHUD>(subview)) huds.push_back(std::move(hud));
  }
  return huds;
}

bool ProgressHUD::hideHUDForView(const pf::View& view, bool animated) {
  const auto hud = HUDForView(view);
  if (!hud) return false;
  hud->setRemoveFromSuperViewOnHide(true);
  hud->hide(animated);
  return true;
}

size_t ProgressHUD::hideAllHUDsForView(const pf::View& view, bool animated) {
  const auto huds = allHUDsForView(view);
  for (const auto& hud : huds) {
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(animated);
  }
  return huds.size();
}

void ProgressHUD::show(bool animated) {
  attachSubviews();
  useAnimation_ = animated;
  ++showCount_;
  cancelPendingHides();
  cancelGraceShow();
  if (graceTime() > 0) {
    std::weak_ptr<ProgressHUD> weak = sharedAs<ProgressHUD>();
    graceTimer_ = pf::Timer::scheduled(graceTime(), false, [weak](pf::Timer&) {
      const auto hud = weak.lock();
      if (!hud || !hud->taskInProgress()) return;
      hud->setNeedsDisplay();
      hud->showUsingAnimation(hud->useAnimation_);
    });
    return;
  }
  setNeedsDisplay();
  showUsingAnimation(animated);
}

void ProgressHUD::hide(bool animated) {
  useAnimation_ = animated;
  cancelGraceShow();
  const float minShow = minShowTime();
  if (minShow > 0 && showStarted_) {
    const double elapsed = pf::Clock::now() - *showStarted_;
    if (elapsed < minShow) {
      if (minShowTimer_) minShowTimer_->invalidate();
      auto self = sharedAs<ProgressHUD>();
      minShowTimer_ = pf::Timer::scheduled(minShow - elapsed, false,
                                           [self](pf::Timer&) { self->hideUsingAnimation(self->useAnimation_); });
      return;
    }
  }
  hideUsingAnimation(animated);
}

void ProgressHUD::hide(bool animated, double afterDelay) {
  std::erase_if(delayedHides_, [](const auto& timer) { return !timer->isValid(); });
  auto self = sharedAs<ProgressHUD>();
  delayedHides_.push_back(
      pf::RunLoop::current()->performAfter(afterDelay, [self, animated] { self->hide(animated); }));
}

void ProgressHUD::showUsingAnimation(bool animated) {
  const int type = animationType();
  if (animated && type == kZoomOut) applyTransform(rotationTransform_.concatenated(pf::AffineTransform::makeScale(1.5, 1.5)));
  if (animated && type == kZoomIn) applyTransform(rotationTransform_.concatenated(pf::AffineTransform::makeScale(0.5, 0.5)));
  showStarted_ = pf::Clock::now();
  if (!animated) {
    setAlpha(1);
    applyTransform(rotationTransform_);  // undo the zoom of an animated hide before
    return;
  }
  View::animateWithDuration(kAnimationDuration, [this, type] {
    setAlpha(1);
    if (type == kZoomOut || type == kZoomIn) applyTransform(rotationTransform_);
  });
}

void ProgressHUD::hideUsingAnimation(bool animated) {
  if (animated && showStarted_) {
    const int type = animationType();
    auto self = sharedAs<ProgressHUD>();
    const unsigned shows = showCount_;
    View::animateWithDuration(
        kAnimationDuration,
        [this, type] {
          if (type == kZoomOut) applyTransform(rotationTransform_.concatenated(pf::AffineTransform::makeScale(0.5, 0.5)));
          if (type == kZoomIn) applyTransform(rotationTransform_.concatenated(pf::AffineTransform::makeScale(1.5, 1.5)));
          setAlpha(0.02);
        },
        [self, shows](bool) {
          if (self->showCount_ == shows) self->done();
        });
  } else {
    setAlpha(0);
    done();
  }
  showStarted_.reset();
}

void ProgressHUD::done() {
  auto self = sharedAs<ProgressHUD>();  // the delegate or the block may drop the last owner
  setAlpha(0);
  if (const auto delegate = this->delegate()) delegate->hudWasHidden(*this);
  Block completion;
  {
    std::lock_guard guard(lock_);
    completion = std::move(completionBlock_);
    completionBlock_ = nullptr;
  }
  if (completion) completion();
  if (removeFromSuperViewOnHide()) removeFromSuperview();
}

void ProgressHUD::cancelPendingHides() {
  for (const auto& timer : delayedHides_) timer->invalidate();
  delayedHides_.clear();
  if (minShowTimer_) minShowTimer_->invalidate();
  minShowTimer_.reset();
}

void ProgressHUD::cancelGraceShow() {
  if (graceTimer_) graceTimer_->invalidate();
  graceTimer_.reset();
}

void ProgressHUD::showWhileExecuting(Block method, std::shared_ptr<void> onTarget, std::shared_ptr<void> withObject,
                                     bool animated) {
  targetForExecution_ = std::move(onTarget);
  objectForExecution_ = std::move(withObject);
  setTaskInProgress(true);
  auto self = sharedAs<ProgressHUD>();
  // The overlay goes back to the main queue with the clean-up, so it is never released off it.
  std::thread([self = std::move(self), method = std::move(method), pending = pf::RunLoop::PendingWork()]() mutable {
    if (method) method();
    pf::DispatchQueue::main()->async([self = std::move(self)] { self->cleanUp(); });
  }).detach();
  show(animated);
}

void ProgressHUD::showAnimated(bool animated, Block whileExecutingBlock) {
  showAnimated(animated, std::move(whileExecutingBlock), pf::DispatchQueue::global(), nullptr);
}

void ProgressHUD::showAnimated(bool animated, Block whileExecutingBlock, Block completionBlock) {
  showAnimated(animated, std::move(whileExecutingBlock), pf::DispatchQueue::global(), std::move(completionBlock));
}

void ProgressHUD::showAnimated(bool animated, Block whileExecutingBlock, std::shared_ptr<pf::DispatchQueue> onQueue) {
  showAnimated(animated, std::move(whileExecutingBlock), std::move(onQueue), nullptr);
}

void ProgressHUD::showAnimated(bool animated, Block whileExecutingBlock, std::shared_ptr<pf::DispatchQueue> onQueue,
                               Block completionBlock) {
  setTaskInProgress(true);
  setCompletionBlock(std::move(completionBlock));
  auto self = sharedAs<ProgressHUD>();
  (onQueue ? onQueue : pf::DispatchQueue::global())->async([self = std::move(self), block = std::move(whileExecutingBlock)]() mutable {
    if (block) block();
    pf::DispatchQueue::main()->async([self = std::move(self)] { self->cleanUp(); });
  });
  show(animated);
}

void ProgressHUD::cleanUp() {
  setTaskInProgress(false);
  indicator_.reset();  // the view stays where it is until the overlay goes
  targetForExecution_.reset();
  objectForExecution_.reset();
  hide(useAnimation_);
}

void ProgressHUD::updateIndicators() {
  const int mode = this->mode();
  const auto replaceWith = [this](std::shared_ptr<pf::View> view) {
    if (indicator_) indicator_->removeFromSuperview();
    indicator_ = std::move(view);
    attachSubviews();
  };
  if (mode == kIndeterminate) {
    if (std::dynamic_pointer_cast<pf::ActivityIndicatorView>(indicator_)) return;
    auto spinner = std::make_shared<pf::ActivityIndicatorView>(pf::ActivityIndicatorView::Style::WhiteLarge);
    spinner->startAnimating();
    replaceWith(std::move(spinner));
  } else if (mode == kDeterminate || mode == kAnnularDeterminate) {
    if (!std::dynamic_pointer_cast<RoundProgressView>(indicator_)) replaceWith(std::make_shared<RoundProgressView>());
    if (mode == kAnnularDeterminate) std::static_pointer_cast<RoundProgressView>(indicator_)->setAnnular(true);
  } else if (mode == kCustomView) {
    auto custom = customView();
    if (indicator_ != custom) replaceWith(std::move(custom));
  } else if (mode == kText) {
    replaceWith(nullptr);
  }
}

void ProgressHUD::attachSubviews() {
  if (weak_from_this().expired()) return;  // still being made: attached once owned
  if (label_->superview().get() != this) addSubview(label_);
  if (detailsLabel_->superview().get() != this) addSubview(detailsLabel_);
  if (indicator_ && indicator_->superview().get() != this) addSubview(indicator_);
}

void ProgressHUD::applyObservedChange(const std::string& key) {
  if (key == "progress") {
    if (const auto round = std::dynamic_pointer_cast<RoundProgressView>(indicator_)) round->setProgress(progress());
    return;
  }
  if (key == "mode" || key == "customView") updateIndicators();
  if (key == "labelText") label_->setText(labelText());
  if (key == "labelFont") label_->setFont(labelFont());
  if (key == "detailsLabelText") detailsLabel_->setText(detailsLabelText());
  if (key == "detailsLabelFont") detailsLabel_->setFont(detailsLabelFont());
  setNeedsLayout();
  setNeedsDisplay();
}

void ProgressHUD::onMain(const std::string& key) {
  if (pf::RunLoop::isMainThread()) {
    applyObservedChange(key);
    return;
  }
  std::weak_ptr<ProgressHUD> weak = std::static_pointer_cast<ProgressHUD>(shared_from_this());
  pf::DispatchQueue::main()->async([weak, key] {
    if (const auto hud = weak.lock()) hud->applyObservedChange(key);
  });
}

void ProgressHUD::fitToSuperview() {
  const auto superview = this->superview();
  if (!superview) return;
  const pf::Rect area = superview->bounds();
  pf::Size size = area.size;
  if (isQuarterTurned(transform())) std::swap(size.width, size.height);
  setBounds({{0, 0}, size});
  setCenter({area.midX(), area.midY()});
}

void ProgressHUD::setTransformForCurrentOrientation(bool animated) {
  const double angle = orientationAngle(pf::Application::sharedApplication().statusBarOrientation());
  rotationTransform_ = pf::AffineTransform::makeRotation(angle);
  if (animated) {
    View::beginAnimations("", nullptr);
    applyTransform(rotationTransform_);
    View::commitAnimations();
  } else {
    applyTransform(rotationTransform_);
  }
  fitToSuperview();
  setNeedsDisplay();
}

void ProgressHUD::deviceOrientationDidChange() {
  const auto superview = this->superview();
  if (!superview) return;
  if (std::dynamic_pointer_cast<pf::Window>(superview)) {
    setTransformForCurrentOrientation(true);
    return;
  }
  fitToSuperview();
  setNeedsDisplay();
}

void ProgressHUD::didMoveToSuperview() {
  attachSubviews();
  if (std::dynamic_pointer_cast<pf::Window>(superview())) setTransformForCurrentOrientation(false);
}

void ProgressHUD::setTransform(const pf::AffineTransform& transform) {
  rotationTransform_ = transform;
  applyTransform(transform);
}

void ProgressHUD::applyTransform(const pf::AffineTransform& transform) {
  View::setTransform(transform);
}

void ProgressHUD::layoutSubviews() {
  attachSubviews();
  fitToSuperview();
  const pf::Rect area = bounds();
  const double width = area.size.width;
  const double height = area.size.height;
  const double margin = this->margin();
  const double maxWidth = width - 4 * margin;

  pf::Size indicatorSize = indicator_ ? indicator_->bounds().size : pf::Size{};
  indicatorSize.width = std::min(indicatorSize.width, maxWidth);
  pf::Size total = indicatorSize;

  pf::Size labelSize = oneLineSize(*label_);
  labelSize.width = std::min(labelSize.width, maxWidth);
  total.width = std::max(total.width, labelSize.width);
  total.height += labelSize.height;
  const bool labelAfterIndicator = labelSize.height > 0 && indicatorSize.height > 0;
  if (labelAfterIndicator) total.height += kPadding;

  const double remaining = height - total.height - kPadding - 4 * margin;
  const pf::Size detailsSize = wrappedSize(*detailsLabel_, {maxWidth, remaining});
  total.width = std::max(total.width, detailsSize.width);
  total.height += detailsSize.height;
  const bool detailsAfterOthers = detailsSize.height > 0 && (indicatorSize.height > 0 || labelSize.height > 0);
  if (detailsAfterOthers) total.height += kPadding;

  total.width += 2 * margin;
  total.height += 2 * margin;

  const double xOffset = this->xOffset();
  double y = std::round((height - total.height) / 2) + margin + yOffset();
  if (indicator_) {
    indicator_->setFrame({{std::round((width - indicatorSize.width) / 2) + xOffset, y}, indicatorSize});
  }
  y += indicatorSize.height + (labelAfterIndicator ? kPadding : 0);
  label_->setFrame({{std::round((width - labelSize.width) / 2) + xOffset, y}, labelSize});
  y += labelSize.height + (detailsAfterOthers ? kPadding : 0);
  detailsLabel_->setFrame({{std::round((width - detailsSize.width) / 2) + xOffset, y}, detailsSize});

  if (isSquare()) {
    const double side = std::max(total.width, total.height);
    if (side <= width - 2 * margin) total.width = side;
    if (side <= height - 2 * margin) total.height = side;
  }
  const pf::Size minimum = minSize();
  size_ = {std::max(total.width, minimum.width), std::max(total.height, minimum.height)};
}

pf::Rect ProgressHUD::boxRect() const {
  const pf::Rect area = bounds();
  return {{std::round((area.size.width - size_.width) / 2) + xOffset(),
           std::round((area.size.height - size_.height) / 2) + yOffset()},
          size_};
}

void ProgressHUD::drawRect(const pf::Rect& rect) {
  (void)rect;
  pf::GraphicsContext* context = pf::CurrentContext::get();
  if (!context) return;
  const pf::Rect area = bounds();
  if (dimBackground()) {
    const pf::Gradient gradient({pf::Color::fromWhite(0, 0), pf::Color::fromWhite(0, 0.75)}, {0, 1});
    const pf::Point centre{area.midX(), area.midY()};
    context->drawRadialGradient(gradient, centre, 0, centre, std::min(area.size.width, area.size.height),
                                pf::kGradientDrawsAfterEndLocation);
  }
  context->setFillColor(color().value_or(pf::Color::fromWhite(0, opacity())));
  context->fillPath(pf::Path::withRoundedRect(boxRect(), kCornerRadius));
}

// Properties.

int ProgressHUD::mode() const {
  return locked(mode_);
}

void ProgressHUD::setMode(int mode) {
  store(mode_, mode);
  onMain("mode");
}

int ProgressHUD::animationType() const {
  return locked(animationType_);
}

void ProgressHUD::setAnimationType(int type) {
  store(animationType_, type);
}

std::shared_ptr<pf::View> ProgressHUD::customView() const {
  return locked(customView_);
}

void ProgressHUD::setCustomView(std::shared_ptr<pf::View> view) {
  store(customView_, std::move(view));
  onMain("customView");
}

std::shared_ptr<ProgressHUDDelegate> ProgressHUD::delegate() const {
  return locked(delegate_).lock();
}

void ProgressHUD::setDelegate(std::weak_ptr<ProgressHUDDelegate> delegate) {
  store(delegate_, std::move(delegate));
}

std::optional<std::string> ProgressHUD::labelText() const {
  return locked(labelText_);
}

void ProgressHUD::setLabelText(std::optional<std::string> text) {
  store(labelText_, std::move(text));
  onMain("labelText");
}

std::optional<std::string> ProgressHUD::detailsLabelText() const {
  return locked(detailsLabelText_);
}

void ProgressHUD::setDetailsLabelText(std::optional<std::string> text) {
  store(detailsLabelText_, std::move(text));
  onMain("detailsLabelText");
}

float ProgressHUD::opacity() const {
  return locked(opacity_);
}

void ProgressHUD::setOpacity(float opacity) {
  store(opacity_, opacity);
}

std::optional<pf::Color> ProgressHUD::color() const {
  return locked(color_);
}

void ProgressHUD::setColor(std::optional<pf::Color> color) {
  store(color_, std::move(color));
}

std::shared_ptr<const pf::Font> ProgressHUD::labelFont() const {
  return locked(labelFont_);
}

void ProgressHUD::setLabelFont(std::shared_ptr<const pf::Font> font) {
  store(labelFont_, std::move(font));
  onMain("labelFont");
}

std::shared_ptr<const pf::Font> ProgressHUD::detailsLabelFont() const {
  return locked(detailsLabelFont_);
}

void ProgressHUD::setDetailsLabelFont(std::shared_ptr<const pf::Font> font) {
  store(detailsLabelFont_, std::move(font));
  onMain("detailsLabelFont");
}

float ProgressHUD::xOffset() const {
  return locked(xOffset_);
}

void ProgressHUD::setXOffset(float offset) {
  store(xOffset_, offset);
}

float ProgressHUD::yOffset() const {
  return locked(yOffset_);
}

void ProgressHUD::setYOffset(float offset) {
  store(yOffset_, offset);
}

float ProgressHUD::margin() const {
  return locked(margin_);
}

void ProgressHUD::setMargin(float margin) {
  store(margin_, margin);
}

bool ProgressHUD::dimBackground() const {
  return locked(dimBackground_);
}

void ProgressHUD::setDimBackground(bool dim) {
  store(dimBackground_, dim);
}

float ProgressHUD::graceTime() const {
  return locked(graceTime_);
}

void ProgressHUD::setGraceTime(float seconds) {
  store(graceTime_, seconds);
}

float ProgressHUD::minShowTime() const {
  return locked(minShowTime_);
}

void ProgressHUD::setMinShowTime(float seconds) {
  store(minShowTime_, seconds);
}

bool ProgressHUD::taskInProgress() const {
  return locked(taskInProgress_);
}

void ProgressHUD::setTaskInProgress(bool inProgress) {
  store(taskInProgress_, inProgress);
}

bool ProgressHUD::removeFromSuperViewOnHide() const {
  return locked(removeFromSuperViewOnHide_);
}

void ProgressHUD::setRemoveFromSuperViewOnHide(bool remove) {
  store(removeFromSuperViewOnHide_, remove);
}

float ProgressHUD::progress() const {
  return locked(progress_);
}

void ProgressHUD::setProgress(float progress) {
  store(progress_, progress);
  onMain("progress");
}

pf::Size ProgressHUD::minSize() const {
  return locked(minSize_);
}

void ProgressHUD::setMinSize(pf::Size size) {
  store(minSize_, size);
}

bool ProgressHUD::isSquare() const {
  return locked(square_);
}

void ProgressHUD::setSquare(bool square) {
  store(square_, square);
}

ProgressHUD::Block ProgressHUD::completionBlock() const {
  return locked(completionBlock_);
}

void ProgressHUD::setCompletionBlock(Block block) {
  store(completionBlock_, std::move(block));
}
