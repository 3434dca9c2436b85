#include "platform/ui/View.h"

#include <algorithm>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/runtime/ChangeObservers.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/CompletionGroup.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Transition.h"
#include "platform/ui/ViewAnimationContext.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace pf {

namespace {

// Views at or below this alpha take no touches.
constexpr double kTouchableAlpha = 0.01;

}  // namespace

View::View() : View(Rect()) {}

View::View(const Rect& frame) : View(frame, std::make_shared<Layer>()) {}

View::View(const Rect& frame, std::shared_ptr<Layer> layer) : layer_(std::move(layer)) {
  layer_->setDelegate(this);
  layer_->setFrame(frame);
  layer_->setNeedsDisplay();
}

View::~View() {
  layer_->setDelegate(nullptr);
  for (auto& recognizer : recognizers_) recognizer->setView(nullptr);
}

Rect View::frame() const {
  return layer_->frame();
}

void View::setFrame(const Rect& frame) {
  const Rect oldBounds = layer_->bounds();
  layer_->setFrame(frame);
  if (layer_->bounds().size != oldBounds.size) autoresizeSubviews(oldBounds.size);
  if (layer_->bounds() != oldBounds) ChangeObservers::didChange(*this, "bounds");
}

Rect View::bounds() const {
  return layer_->bounds();
}

void View::setBounds(const Rect& bounds) {
  const Rect oldBounds = layer_->bounds();
  layer_->setBounds(bounds);
  if (layer_->bounds().size != oldBounds.size) autoresizeSubviews(oldBounds.size);
  if (layer_->bounds() != oldBounds) ChangeObservers::didChange(*this, "bounds");
}

Point View::center() const {
  return layer_->position();
}

void View::setCenter(Point center) {
  layer_->setPosition(center);
}

AffineTransform View::transform() const {
  return layer_->transform();
}

void View::setTransform(const AffineTransform& transform) {
  layer_->setTransform(transform);
}

double View::alpha() const {
  return layer_->opacity();
}

void View::setAlpha(double alpha) {
  layer_->setOpacity(alpha);
}

bool View::isHidden() const {
  return layer_->isHidden();
}

void View::setHidden(bool hidden) {
  layer_->setHidden(hidden);
}

bool View::clipsToBounds() const {
  return layer_->masksToBounds();
}

void View::setClipsToBounds(bool clips) {
  layer_->setMasksToBounds(clips);
}

std::optional<Color> View::backgroundColor() const {
  return layer_->backgroundColor();
}

void View::setBackgroundColor(std::optional<Color> color) {
  layer_->setBackgroundColor(std::move(color));
}

ContentMode View::contentMode() const {
  return layer_->contentsGravity();
}

void View::setContentMode(ContentMode mode) {
  layer_->setContentsGravity(mode);
}

bool View::isOpaque() const {
  return layer_->isOpaque();
}

void View::setOpaque(bool opaque) {
  layer_->setOpaque(opaque);
}

std::shared_ptr<Window> View::window() const {
  const View* top = this;
  while (auto parent = top->superview_.lock()) top = parent.get();
  if (auto* window = dynamic_cast<const Window*>(top))
    return std::const_pointer_cast<Window>(window->sharedAs<Window>());
  return nullptr;
}

size_t View::indexOf(const View* view) const {
  auto at = std::find_if(subviews_.begin(), subviews_.end(), [&](auto& v) { return v.get() == view; });
  return static_cast<size_t>(at - subviews_.begin());
}

void View::addSubview(const std::shared_ptr<View>& view) {
  attach(view, subviews_.size());
}

void View::insertSubview(const std::shared_ptr<View>& view, size_t index) {
  attach(view, index);
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling) {
  const size_t at = indexOf(sibling);
  attach(view, at == subviews_.size() ? 0 : at);
}

void View::insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling) {
  const size_t at = indexOf(sibling);
  attach(view, at == subviews_.size() ? subviews_.size() : at + 1);
}

void View::attach(std::shared_ptr<View> view, size_t index) {
  if (!view || view.get() == this || isDescendantOfView(view.get())) return;
  auto self = sharedAs<View>();
  bool windowChanges = false;
  if (view->superview_.lock().get() == this) {
    // A move among the siblings: no hooks run.
    const size_t from = indexOf(view.get());
    subviews_.erase(subviews_.begin() + static_cast<std::ptrdiff_t>(from));
    if (index > from) --index;
  } else {
    Window* newWindow = window().get();
    windowChanges = view->window().get() != newWindow;
    view->willMoveToSuperview(this);
    if (windowChanges) view->notifyWillMoveToWindow(newWindow);
    view->detachFromSuperview();
    view->superview_ = self;
  }
  index = std::min(index, subviews_.size());
  subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), view);
  if (index + 1 < subviews_.size()) {
    layer_->insertSublayerBelow(view->layer_, subviews_[index + 1]->layer_.get());
  } else {
    layer_->addSublayer(view->layer_);
  }
  if (windowChanges) view->notifyDidMoveToWindow();
  view->didMoveToSuperview();
  didAddSubview(view.get());
  setNeedsLayout();
}

void View::detachFromSuperview() {
  auto parent = superview_.lock();
  if (!parent) return;
  parent->willRemoveSubview(this);
  auto& siblings = parent->subviews_;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [&](auto& v) { return v.get() == this; }),
                 siblings.end());
  superview_.reset();
  layer_->removeFromSuperlayer();
  parent->setNeedsLayout();
}

void View::notifyWillMoveToWindow(Window* newWindow) {
  if (newWindow && !appearanceApplied_) {
    appearanceApplied_ = true;
    Appearance::applyTo(*this);
  }
  willMoveToWindow(newWindow);
  const auto children = subviews_;
  for (auto& child : children) child->notifyWillMoveToWindow(newWindow);
}

void View::notifyDidMoveToWindow() {
  didMoveToWindow();
  const auto children = subviews_;
  for (auto& child : children) child->notifyDidMoveToWindow();
}

void View::removeFromSuperview() {
  auto parent = superview_.lock();
  if (!parent) return;
  auto self = sharedAs<View>();
  const bool windowChanges = window() != nullptr;
  if (auto responder = Responder::firstResponder()) {
    if (auto* view = dynamic_cast<View*>(responder.get()); view && view->isDescendantOfView(this))
      responder->resignFirstResponder();
  }
  willMoveToSuperview(nullptr);
  if (windowChanges) notifyWillMoveToWindow(nullptr);
  detachFromSuperview();
  if (windowChanges) notifyDidMoveToWindow();
  didMoveToSuperview();
}

void View::bringSubviewToFront(const View* view) {
  const size_t at = indexOf(view);
  if (at < subviews_.size()) attach(subviews_[at], subviews_.size());
}

void View::sendSubviewToBack(const View* view) {
  const size_t at = indexOf(view);
  if (at < subviews_.size()) attach(subviews_[at], 0);
}

void View::exchangeSubviewAtIndex(size_t index, size_t otherIndex) {
  if (index >= subviews_.size() || otherIndex >= subviews_.size() || index == otherIndex) return;
  std::swap(subviews_[index], subviews_[otherIndex]);
  // Rebuild the sublayer order of the two, keeping any extra layers where they are.
  const size_t low = std::min(index, otherIndex), high = std::max(index, otherIndex);
  auto lowView = subviews_[low], highView = subviews_[high];
  layer_->insertSublayerBelow(lowView->layer_, highView->layer_.get());
  if (high + 1 < subviews_.size()) {
    layer_->insertSublayerBelow(highView->layer_, subviews_[high + 1]->layer_.get());
  } else {
    layer_->insertSublayerAbove(highView->layer_, subviews_[high - 1]->layer_.get());
  }
}

bool View::isDescendantOfView(const View* view) const {
  if (!view) return false;
  for (const View* v = this; v;) {
    if (v == view) return true;
    auto parent = v->superview_.lock();
    v = parent.get();
  }
  return false;
}

std::shared_ptr<View> View::viewWithTag(int tag) {
  if (tag_ == tag) return sharedAs<View>();
  for (auto& child : subviews_) {
    if (auto found = child->viewWithTag(tag)) return found;
  }
  return nullptr;
}

namespace {

const Layer* spaceOf(const View* view, const View* self) {
  if (view) return view->layer().get();
  auto window = self->window();
  return window ? window->layer().get() : nullptr;
}

}  // namespace

Point View::convertPointToView(Point point, const View* view) const {
  return layer_->convertPointToLayer(point, spaceOf(view, this));
}

Point View::convertPointFromView(Point point, const View* view) const {
  return layer_->convertPointFromLayer(point, spaceOf(view, this));
}

Rect View::convertRectToView(const Rect& rect, const View* view) const {
  return layer_->convertRectToLayer(rect, spaceOf(view, this));
}

Rect View::convertRectFromView(const Rect& rect, const View* view) const {
  const Layer* other = spaceOf(view, this);
  if (!other) return layer_->convertRectToLayer(rect, nullptr);
  return other->convertRectToLayer(rect, layer_.get());
}

bool View::isAnimatingWithoutInteraction() const {
  const double now = Clock::now();
  for (const auto& key : layer_->animationKeys()) {
    auto animation = layer_->animationForKey(key);
    if (animation->blocksUserInteraction() && now < animation->endTime()) return true;
  }
  return false;
}

std::shared_ptr<View> View::hitTest(Point point, const Event* event) {
  auto shown = layer_->presentationOrSelf();
  if (shown->isHidden() || !userInteractionEnabled_ || shown->opacity() <= kTouchableAlpha) return nullptr;
  if (isAnimatingWithoutInteraction()) return nullptr;
  if (!pointInside(point, event)) return nullptr;
  const auto children = subviews_;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    const auto& child = *it;
    const Point inChild =
        child->layer_->presentationOrSelf()->transformToSuperlayer().inverted().apply(point);
    if (auto hit = child->hitTest(inChild, event)) return hit;
  }
  return sharedAs<View>();
}

bool View::pointInside(Point point, const Event*) const {
  return layer_->presentationOrSelf()->bounds().contains(point);
}

void View::setNeedsLayout() {
  layer_->setNeedsLayout();
  if (auto window = this->window()) window->scheduleLayout();
}

void View::layoutIfNeeded() {
  layer_->layoutIfNeeded();
}

Size View::sizeThatFits(Size) const {
  return bounds().size;
}

void View::sizeToFit() {
  const Size fitting = sizeThatFits(bounds().size);
  Rect changed = bounds();
  changed.size = fitting;
  setBounds(changed);
}

void View::setNeedsDisplay() {
  drawsContent_ = true;
  layer_->setNeedsDisplay();
}

void View::setNeedsDisplayInRect(const Rect&) {
  setNeedsDisplay();
}

void View::drawRect(const Rect&) {
  drawsContent_ = false;
}

void View::addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) {
  if (!recognizer) return;
  if (auto old = recognizer->view(); old && old.get() != this) old->removeGestureRecognizer(recognizer.get());
  if (std::find(recognizers_.begin(), recognizers_.end(), recognizer) != recognizers_.end()) return;
  recognizers_.push_back(recognizer);
  recognizer->setView(sharedAs<View>());
}

void View::removeGestureRecognizer(const GestureRecognizer* recognizer) {
  auto at =
      std::find_if(recognizers_.begin(), recognizers_.end(), [&](auto& r) { return r.get() == recognizer; });
  if (at == recognizers_.end()) return;
  auto removed = *at;
  recognizers_.erase(at);
  removed->setView(nullptr);
}

std::shared_ptr<Responder> View::nextResponder() const {
  if (auto controller = controller_.lock()) return controller;
  return superview_.lock();
}

bool View::endEditing(bool force) {
  auto responder = Responder::firstResponder();
  auto* view = dynamic_cast<View*>(responder.get());
  if (!view || !view->isDescendantOfView(this)) return true;
  if (force || responder->canResignFirstResponder()) return responder->resignFirstResponder();
  return false;
}

void View::resizeWithOldSuperviewSize(Size oldSize) {
  const unsigned mask = autoresizingMask_;
  if (mask == kAutoresizingNone) return;
  auto parent = superview_.lock();
  if (!parent) return;
  const Size newSize = parent->bounds().size;
  Rect f = frame();
  // Per axis, the change of the superview's size is shared by the flexible parts (margin before,
  // size, margin after) in proportion to their present lengths, or evenly when those are all zero.
  const auto share = [](double before, double length, double after, bool flexBefore, bool flexLength,
                        bool flexAfter, double delta, double& outBefore, double& outLength) {
    const double parts[3] = {before, length, after};
    const bool flex[3] = {flexBefore, flexLength, flexAfter};
    double total = 0;
    int count = 0;
    for (int i = 0; i < 3; ++i) {
      if (flex[i]) {
        total += parts[i];
        ++count;
      }
    }
    double grow[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      if (!flex[i]) continue;
      grow[i] = total > 0 ? delta * parts[i] / total : delta / count;
    }
    outBefore = before + grow[0];
    outLength = length + grow[1];
  };
  double x = f.origin.x, width = f.size.width, y = f.origin.y, height = f.size.height;
  if (mask & (kFlexibleLeftMargin | kFlexibleWidth | kFlexibleRightMargin)) {
    share(f.origin.x, f.size.width, oldSize.width - f.origin.x - f.size.width, mask & kFlexibleLeftMargin,
          mask & kFlexibleWidth, mask & kFlexibleRightMargin, newSize.width - oldSize.width, x, width);
  }
  if (mask & (kFlexibleTopMargin | kFlexibleHeight | kFlexibleBottomMargin)) {
    share(f.origin.y, f.size.height, oldSize.height - f.origin.y - f.size.height, mask & kFlexibleTopMargin,
          mask & kFlexibleHeight, mask & kFlexibleBottomMargin, newSize.height - oldSize.height, y, height);
  }
  setFrame(Rect(x, y, width, height));
}

void View::autoresizeSubviews(Size oldSize) {
  setNeedsLayout();
  if (!autoresizesSubviews_) return;
  const auto children = subviews_;
  for (auto& child : children) child->resizeWithOldSuperviewSize(oldSize);
}

std::optional<std::shared_ptr<Animation>> View::actionForLayer(Layer& layer, const std::string& key) {
  // A view's layer never animates by itself: only animation blocks animate it.
  return ViewAnimationContext::actionFor(layer, key);
}

bool View::drawLayer(Layer&, GraphicsContext&) {
  if (!drawsContent_) return false;
  drawRect(bounds());
  return drawsContent_;
}

void View::layoutSublayersOfLayer(Layer&) {
  auto controller = std::dynamic_pointer_cast<ViewController>(controller_.lock());
  if (controller && controller->isViewLoaded() && controller->view().get() != this) controller.reset();
  if (controller) controller->viewWillLayoutSubviews();
  layoutSubviews();
  if (controller) controller->viewDidLayoutSubviews();
}

namespace {

// Keeps a block open for the length of a call, even when the call throws.
class OpenBlock {
 public:
  OpenBlock(const ViewAnimationContext::Timing& timing, View::Completion completion) {
    ViewAnimationContext::open(timing, std::move(completion));
  }
  ~OpenBlock() { ViewAnimationContext::close(); }
  OpenBlock(const OpenBlock&) = delete;
  OpenBlock& operator=(const OpenBlock&) = delete;
};

ViewAnimationContext::Timing blockTiming(double duration, double delay, unsigned options) {
  ViewAnimationContext::Timing timing;
  timing.duration = duration;
  timing.delay = delay;
  timing.options = options;
  timing.curve = static_cast<View::AnimationCurve>((options >> 16) & 3);
  timing.beginFromCurrentState = options & View::kAnimationBeginFromCurrentState;
  timing.autoreverses = options & View::kAnimationAutoreverse;
  if (options & View::kAnimationRepeat) timing.repeatCount = Animation::kRepeatForever;
  return timing;
}

}  // namespace

void View::animateWithDuration(double duration, const Animations& animations, Completion completion) {
  animateWithDuration(duration, 0, 0, animations, std::move(completion));
}

void View::animateWithDuration(double duration, double delay, unsigned options, const Animations& animations,
                               Completion completion) {
  OpenBlock block(blockTiming(duration, delay, options), std::move(completion));
  if (animations) animations();
}

void View::transitionWithView(const std::shared_ptr<View>& view, double duration, unsigned,
                              const Animations& animations, Completion completion) {
  auto group = CompletionGroup::make(std::move(completion));
  ViewAnimationContext::withoutAnimation(animations);
  if (view && duration > 0 && ViewAnimationContext::enabled()) {
    auto transition = Transition::make(Transition::kFade);
    transition->duration = duration;
    group->add(*transition);
    view->layer()->addAnimation(transition, "transition");
  }
  group->close();
}

void View::performWithoutAnimation(const Animations& changes) {
  ViewAnimationContext::withoutAnimation(changes);
}

void View::setAnimationsEnabled(bool enabled) {
  ViewAnimationContext::setEnabled(enabled);
}

bool View::areAnimationsEnabled() {
  return ViewAnimationContext::enabled();
}

namespace {

struct BeginCommitState {
  std::string animationID;
  void* context = nullptr;
  std::weak_ptr<void> delegate;
  View::DidStopSelector didStop;
  View::WillStartSelector willStart;
};

std::vector<std::shared_ptr<BeginCommitState>>& openForms() {
  static std::vector<std::shared_ptr<BeginCommitState>> stack;
  return stack;
}

}  // namespace

void View::beginAnimations(const std::string& animationID, void* context) {
  auto state = std::make_shared<BeginCommitState>();
  state->animationID = animationID;
  state->context = context;
  openForms().push_back(state);
  ViewAnimationContext::open(
      ViewAnimationContext::Timing{},
      [state](bool finished) {
        auto delegate = state->delegate.lock();
        if (!delegate || !state->didStop) return;
        state->didStop(state->animationID, finished, state->context);
      },
      true);
}

void View::commitAnimations() {
  if (openForms().empty()) return;
  auto state = openForms().back();
  openForms().pop_back();
  if (state->willStart && state->delegate.lock()) {
    RunLoop::main()->post([state] {
      if (state->delegate.lock()) state->willStart(state->animationID, state->context);
    });
  }
  ViewAnimationContext::close();
}

void View::setAnimationDuration(double duration) {
  if (auto* timing = ViewAnimationContext::innermost()) timing->duration = duration;
}

void View::setAnimationDelay(double delay) {
  if (auto* timing = ViewAnimationContext::innermost()) timing->delay = delay;
}

void View::setAnimationCurve(AnimationCurve curve) {
  if (auto* timing = ViewAnimationContext::innermost()) timing->curve = curve;
}

void View::setAnimationRepeatCount(float count) {
  if (auto* timing = ViewAnimationContext::innermost()) timing->repeatCount = count;
}

void View::setAnimationRepeatAutoreverses(bool autoreverses) {
  if (auto* timing = ViewAnimationContext::innermost()) timing->autoreverses = autoreverses;
}

void View::setAnimationBeginsFromCurrentState(bool fromCurrent) {
  if (auto* timing = ViewAnimationContext::innermost()) timing->beginFromCurrentState = fromCurrent;
}

void View::setAnimationDelegate(std::weak_ptr<void> delegate) {
  if (!openForms().empty()) openForms().back()->delegate = std::move(delegate);
}

void View::setAnimationDidStopSelector(DidStopSelector selector) {
  if (!openForms().empty()) openForms().back()->didStop = std::move(selector);
}

void View::setAnimationWillStartSelector(WillStartSelector selector) {
  if (!openForms().empty()) openForms().back()->willStart = std::move(selector);
}

}  // namespace pf
