#include "platform/ui/Layer.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/foundation/Clock.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Animator.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/LayerDelegate.h"
#include "platform/ui/Transaction.h"

namespace pf {

namespace {

std::uint64_t changes = 0;

std::function<void()>& changeObserver() {
  static std::function<void()> observer;
  return observer;
}

// Keys whose changes run an implicit animation on a layer in a tree.
const std::set<std::string>& implicitKeys() {
  static const std::set<std::string> keys{
      "bounds",       "position",    "anchorPoint", "transform",   "opacity",      "backgroundColor",
      "cornerRadius", "borderWidth", "borderColor", "shadowColor", "shadowOffset", "shadowOpacity",
      "shadowRadius", "shadowPath",  "contents",    "path",        "fillColor",    "strokeColor",
      "lineWidth",    "strokeStart", "strokeEnd",   "colors",      "locations",    "startPoint",
      "endPoint"};
  return keys;
}

template <typename T>
const T* as(const AnimatableValue& value) {
  return std::get_if<T>(&value);
}

AnimatableValue optionalColor(const std::optional<Color>& color) {
  return color ? AnimatableValue(*color) : AnimatableValue();
}

double transformScale(const AffineTransform& t) {
  return std::hypot(t.a, t.b);
}

}  // namespace

Layer::Layer() = default;

Layer::~Layer() {
  for (auto& entry : animations_) Animator::shared().stopped(entry.animation, false);
  for (auto& sublayer : sublayers_) sublayer->superlayer_ = nullptr;
  noteChange();
}

std::uint64_t Layer::changeCount() {
  return changes;
}

void Layer::noteChange() {
  ++changes;
  if (auto& observer = changeObserver()) observer();
}

void Layer::setChangeObserver(std::function<void()> observer) {
  changeObserver() = std::move(observer);
}

void Layer::changeProperty(const std::string& key, const AnimatableValue& newValue) {
  auto action = actionForKey(key);
  setValueForKeyPath(key, newValue);
  if (action) addAnimation(action, key);
}

void Layer::setBounds(const Rect& bounds) {
  if (bounds == p_.bounds) return;
  const bool resized = bounds.size != p_.bounds.size;
  changeProperty("bounds", bounds);
  if (resized) setNeedsLayout();
}

void Layer::setPosition(Point position) {
  if (position != p_.position) changeProperty("position", position);
}

void Layer::setAnchorPoint(Point anchor) {
  if (anchor != p_.anchorPoint) changeProperty("anchorPoint", anchor);
}

void Layer::setTransform(const AffineTransform& transform) {
  if (transform != p_.transform) changeProperty("transform", transform);
}

Rect Layer::frame() const {
  const AffineTransform toSuper = transformToSuperlayer();
  return toSuper.apply(p_.bounds);
}

void Layer::setFrame(const Rect& frame) {
  const Rect r = frame.standardized();
  setPosition({r.origin.x + p_.anchorPoint.x * r.size.width, r.origin.y + p_.anchorPoint.y * r.size.height});
  setBounds(Rect(p_.bounds.origin, r.size));
}

void Layer::setOpacity(double opacity) {
  if (opacity != p_.opacity) changeProperty("opacity", opacity);
}

void Layer::setHidden(bool hidden) {
  if (hidden == p_.hidden) return;
  p_.hidden = hidden;
  noteChange();
}

void Layer::setBackgroundColor(std::optional<Color> color) {
  if (color == p_.backgroundColor) return;
  changeProperty("backgroundColor", optionalColor(color));
}

void Layer::setCornerRadius(double radius) {
  if (radius != p_.cornerRadius) changeProperty("cornerRadius", radius);
}

void Layer::setMasksToBounds(bool masks) {
  p_.masksToBounds = masks;
  noteChange();
}

void Layer::setBorderWidth(double width) {
  if (width != p_.borderWidth) changeProperty("borderWidth", width);
}

void Layer::setBorderColor(const Color& color) {
  if (!(color == p_.borderColor)) changeProperty("borderColor", color);
}

void Layer::setShadowColor(std::optional<Color> color) {
  if (color != p_.shadowColor) changeProperty("shadowColor", optionalColor(color));
}

void Layer::setShadowOffset(Size offset) {
  if (offset != p_.shadowOffset) changeProperty("shadowOffset", offset);
}

void Layer::setShadowOpacity(double opacity) {
  if (opacity != p_.shadowOpacity) changeProperty("shadowOpacity", opacity);
}

void Layer::setShadowRadius(double radius) {
  if (radius != p_.shadowRadius) changeProperty("shadowRadius", radius);
}

void Layer::setShadowPath(std::shared_ptr<const Path> path) {
  if (path != p_.shadowPath) changeProperty("shadowPath", AnimatableValue(std::move(path)));
}

void Layer::setContents(std::shared_ptr<const Image> image) {
  if (image != p_.contents) changeProperty("contents", AnimatableValue(std::move(image)));
}

void Layer::setContentsGravity(ContentMode gravity) {
  p_.contentsGravity = gravity;
  noteChange();
}

void Layer::setBackingStore(std::shared_ptr<const Image> backing) {
  backing_ = std::move(backing);
  needsDisplay_ = false;
}

void Layer::setContentsScale(double scale) {
  p_.contentsScale = scale;
  noteChange();
}

void Layer::setOpaque(bool opaque) {
  p_.opaque = opaque;
}

void Layer::adopt(const std::shared_ptr<Layer>& layer) {
  if (!layer || layer.get() == this) return;
  auto keep = layer;
  keep->removeFromSuperlayer();
  keep->superlayer_ = this;
}

void Layer::addSublayer(const std::shared_ptr<Layer>& layer) {
  insertSublayer(layer, sublayers_.size());
}

void Layer::insertSublayer(const std::shared_ptr<Layer>& layer, size_t index) {
  if (!layer || layer.get() == this) return;
  adopt(layer);
  index = std::min(index, sublayers_.size());
  sublayers_.insert(sublayers_.begin() + static_cast<std::ptrdiff_t>(index), layer);
  setNeedsLayout();
  noteChange();
}

void Layer::insertSublayerBelow(const std::shared_ptr<Layer>& layer, const Layer* sibling) {
  if (!layer || layer.get() == sibling) return;
  adopt(layer);
  auto at = std::find_if(sublayers_.begin(), sublayers_.end(), [&](auto& l) { return l.get() == sibling; });
  insertSublayer(layer, at == sublayers_.end() ? 0 : static_cast<size_t>(at - sublayers_.begin()));
}

void Layer::insertSublayerAbove(const std::shared_ptr<Layer>& layer, const Layer* sibling) {
  if (!layer || layer.get() == sibling) return;
  adopt(layer);
  auto at = std::find_if(sublayers_.begin(), sublayers_.end(), [&](auto& l) { return l.get() == sibling; });
  insertSublayer(
      layer, at == sublayers_.end() ? sublayers_.size() : static_cast<size_t>(at - sublayers_.begin()) + 1);
}

void Layer::removeFromSuperlayer() {
  Layer* parent = superlayer_;
  if (!parent) return;
  auto keep = shared_from_this();
  superlayer_ = nullptr;
  auto& siblings = parent->sublayers_;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [&](auto& l) { return l.get() == this; }),
                 siblings.end());
  if (parent->mask_.get() == this) parent->mask_.reset();
  noteChange();
}

void Layer::setMask(std::shared_ptr<Layer> mask) {
  if (mask == mask_) return;
  if (mask_) mask_->superlayer_ = nullptr;
  if (mask) {
    mask->removeFromSuperlayer();
    mask->superlayer_ = this;
  }
  mask_ = std::move(mask);
  noteChange();
}

void Layer::setNeedsDisplay() {
  needsDisplay_ = true;
  noteChange();
}

void Layer::setNeedsLayout() {
  needsLayout_ = true;
  noteChange();
}

void Layer::layoutIfNeeded() {
  auto keep = shared_from_this();
  if (needsLayout_) {
    needsLayout_ = false;
    if (delegate_) delegate_->layoutSublayersOfLayer(*this);
  }
  const auto children = sublayers_;
  for (auto& sublayer : children) sublayer->layoutIfNeeded();
}

void Layer::addAnimation(const std::shared_ptr<Animation>& animation, const std::string& key) {
  if (!animation) return;
  auto copy = animation->copy();
  copy->stopped_ = false;
  if (copy->duration <= 0) copy->duration = Transaction::animationDuration();
  if (copy->beginTime <= 0) copy->beginTime = Clock::now() + copy->beginTime;
  const std::string name =
      key.empty() ? "animation." + std::to_string(reinterpret_cast<std::uintptr_t>(copy.get())) : key;
  removeAnimationForKey(name);
  Transaction::animationAdded(copy);
  animations_.push_back({name, copy});
  Animator::shared().started(shared_from_this(), copy);
  noteChange();
}

std::shared_ptr<const Animation> Layer::animationForKey(const std::string& key) const {
  for (const auto& entry : animations_) {
    if (entry.key == key) return entry.animation;
  }
  return nullptr;
}

Animation* Layer::mutableAnimationForKey(const std::string& key) {
  for (auto& entry : animations_) {
    if (entry.key == key) return entry.animation.get();
  }
  return nullptr;
}

std::vector<std::string> Layer::animationKeys() const {
  std::vector<std::string> keys;
  for (const auto& entry : animations_) keys.push_back(entry.key);
  return keys;
}

void Layer::detachAnimation(size_t index, bool finished) {
  auto animation = animations_[index].animation;
  animations_.erase(animations_.begin() + static_cast<std::ptrdiff_t>(index));
  noteChange();
  Animator::shared().stopped(animation, finished);
}

void Layer::removeAnimationForKey(const std::string& key) {
  for (size_t i = 0; i < animations_.size(); ++i) {
    if (animations_[i].key == key) return detachAnimation(i, false);
  }
}

void Layer::removeAllAnimations() {
  while (!animations_.empty()) detachAnimation(animations_.size() - 1, false);
}

void Layer::removeFinished(const Animation* animation) {
  for (size_t i = 0; i < animations_.size(); ++i) {
    if (animations_[i].animation.get() == animation) {
      animations_.erase(animations_.begin() + static_cast<std::ptrdiff_t>(i));
      noteChange();
      return;
    }
  }
}

std::shared_ptr<Layer> Layer::makeCopy() const {
  auto copy = std::make_shared<Layer>();
  copy->copyPropertiesFrom(*this);
  return copy;
}

void Layer::copyPropertiesFrom(const Layer& other) {
  p_ = other.p_;
}

void Layer::applyAnimations(Layer& target) const {
  const double now = Clock::now();
  for (const auto& entry : animations_) {
    const Animation& animation = *entry.animation;
    if (animation.keyPath.empty()) continue;
    const auto progress = animation.progressAt(now);
    if (!progress) continue;
    const AnimatableValue model = target.valueForKeyPath(animation.keyPath);
    target.setValueForKeyPath(animation.keyPath, animation.valueAt(*progress, model));
  }
}

std::shared_ptr<Layer> Layer::presentationLayer() const {
  auto copy = makeCopy();
  applyAnimations(*copy);
  return copy;
}

std::shared_ptr<const Layer> Layer::presentationOrSelf() const {
  if (animations_.empty()) return shared_from_this();
  return presentationLayer();
}

std::shared_ptr<Animation> Layer::actionForKey(const std::string& key) {
  if (Transaction::disableActions()) return nullptr;
  if (delegate_) {
    if (auto answer = delegate_->actionForLayer(*this, key)) return *answer;
  }
  if (!superlayer_ || !implicitKeys().contains(key)) return nullptr;
  auto animation = BasicAnimation::make(key);
  animation->fromValue = presentationOrSelf()->valueForKeyPath(key);
  animation->duration = Transaction::animationDuration();
  animation->timingFunction =
      Transaction::animationTimingFunction().value_or(TimingFunction::named(TimingFunction::kDefault));
  return animation;
}

AnimatableValue Layer::valueForKeyPath(const std::string& keyPath) const {
  const Properties& p = p_;
  if (keyPath == "bounds") return p.bounds;
  if (keyPath == "bounds.size") return p.bounds.size;
  if (keyPath == "bounds.origin") return p.bounds.origin;
  if (keyPath == "bounds.size.width") return p.bounds.size.width;
  if (keyPath == "bounds.size.height") return p.bounds.size.height;
  if (keyPath == "position") return p.position;
  if (keyPath == "position.x") return p.position.x;
  if (keyPath == "position.y") return p.position.y;
  if (keyPath == "anchorPoint") return p.anchorPoint;
  if (keyPath == "transform") return p.transform;
  if (keyPath == "transform.scale" || keyPath == "transform.scale.x") return transformScale(p.transform);
  if (keyPath == "transform.scale.y") return std::hypot(p.transform.c, p.transform.d);
  if (keyPath == "transform.rotation" || keyPath == "transform.rotation.z")
    return std::atan2(p.transform.b, p.transform.a);
  if (keyPath == "transform.translation.x") return p.transform.tx;
  if (keyPath == "transform.translation.y") return p.transform.ty;
  if (keyPath == "opacity") return p.opacity;
  if (keyPath == "backgroundColor") return optionalColor(p.backgroundColor);
  if (keyPath == "cornerRadius") return p.cornerRadius;
  if (keyPath == "borderWidth") return p.borderWidth;
  if (keyPath == "borderColor") return p.borderColor;
  if (keyPath == "shadowColor") return optionalColor(p.shadowColor);
  if (keyPath == "shadowOffset") return p.shadowOffset;
  if (keyPath == "shadowOpacity") return p.shadowOpacity;
  if (keyPath == "shadowRadius") return p.shadowRadius;
  if (keyPath == "shadowPath") return p.shadowPath;
  if (keyPath == "contents") return p.contents;
  return {};
}

bool Layer::setValueForKeyPath(const std::string& keyPath, const AnimatableValue& value) {
  const bool done = setOwnValue(keyPath, value);
  if (done) noteChange();
  return done;
}

bool Layer::setOwnValue(const std::string& keyPath, const AnimatableValue& value) {
  Properties& p = p_;
  if (auto* r = as<Rect>(value)) {
    if (keyPath == "bounds") return p.bounds = *r, true;
  }
  if (auto* pt = as<Point>(value)) {
    if (keyPath == "position") return p.position = *pt, true;
    if (keyPath == "anchorPoint") return p.anchorPoint = *pt, true;
    if (keyPath == "bounds.origin") return p.bounds.origin = *pt, true;
  }
  if (auto* s = as<Size>(value)) {
    if (keyPath == "bounds.size") return p.bounds.size = *s, true;
    if (keyPath == "shadowOffset") return p.shadowOffset = *s, true;
  }
  if (auto* t = as<AffineTransform>(value)) {
    if (keyPath == "transform") return p.transform = *t, true;
  }
  if (auto* c = as<Color>(value)) {
    if (keyPath == "backgroundColor") return p.backgroundColor = *c, true;
    if (keyPath == "borderColor") return p.borderColor = *c, true;
    if (keyPath == "shadowColor") return p.shadowColor = *c, true;
  }
  if (std::holds_alternative<std::monostate>(value)) {
    if (keyPath == "backgroundColor") return p.backgroundColor.reset(), true;
    if (keyPath == "shadowColor") return p.shadowColor.reset(), true;
  }
  if (auto* path = as<std::shared_ptr<const Path>>(value)) {
    if (keyPath == "shadowPath") return p.shadowPath = *path, true;
  }
  if (auto* image = as<std::shared_ptr<const Image>>(value)) {
    if (keyPath == "contents") return p.contents = *image, true;
  }
  auto* d = as<double>(value);
  if (!d) return false;
  if (keyPath == "position.x") return p.position.x = *d, true;
  if (keyPath == "position.y") return p.position.y = *d, true;
  if (keyPath == "bounds.size.width") return p.bounds.size.width = *d, true;
  if (keyPath == "bounds.size.height") return p.bounds.size.height = *d, true;
  if (keyPath == "opacity") return p.opacity = *d, true;
  if (keyPath == "cornerRadius") return p.cornerRadius = *d, true;
  if (keyPath == "borderWidth") return p.borderWidth = *d, true;
  if (keyPath == "shadowOpacity") return p.shadowOpacity = *d, true;
  if (keyPath == "shadowRadius") return p.shadowRadius = *d, true;
  AffineTransform& t = p.transform;
  if (keyPath == "transform.scale" || keyPath == "transform.scale.x" || keyPath == "transform.scale.y") {
    // Keep the rotation and translation, set the scale on the named axes.
    const double angle = std::atan2(t.b, t.a);
    const double sx = keyPath == "transform.scale.y" ? std::hypot(t.a, t.b) : *d;
    const double sy = keyPath == "transform.scale.x" ? std::hypot(t.c, t.d) : *d;
    t = AffineTransform::makeScale(sx, sy)
            .concatenated(AffineTransform::makeRotation(angle))
            .concatenated(AffineTransform::makeTranslation(t.tx, t.ty));
    return true;
  }
  if (keyPath == "transform.rotation" || keyPath == "transform.rotation.z") {
    const double sx = std::hypot(t.a, t.b), sy = std::hypot(t.c, t.d);
    t = AffineTransform::makeScale(sx, sy)
            .concatenated(AffineTransform::makeRotation(*d))
            .concatenated(AffineTransform::makeTranslation(t.tx, t.ty));
    return true;
  }
  if (keyPath == "transform.translation.x") return t.tx = *d, true;
  if (keyPath == "transform.translation.y") return t.ty = *d, true;
  return false;
}

AffineTransform Layer::transformToSuperlayer() const {
  const Point anchor{p_.bounds.origin.x + p_.anchorPoint.x * p_.bounds.size.width,
                     p_.bounds.origin.y + p_.anchorPoint.y * p_.bounds.size.height};
  return AffineTransform::makeTranslation(-anchor.x, -anchor.y)
      .concatenated(p_.transform)
      .concatenated(AffineTransform::makeTranslation(p_.position.x, p_.position.y));
}

namespace {

// The transform from a layer's bounds space to its root's.
AffineTransform toRoot(const Layer* layer) {
  AffineTransform t;
  for (; layer; layer = layer->superlayer()) t = t.concatenated(layer->transformToSuperlayer());
  return t;
}

}  // namespace

Point Layer::convertPointToLayer(Point point, const Layer* layer) const {
  const Point inRoot = toRoot(this).apply(point);
  return layer ? toRoot(layer).inverted().apply(inRoot) : inRoot;
}

Point Layer::convertPointFromLayer(Point point, const Layer* layer) const {
  const Point inRoot = layer ? toRoot(layer).apply(point) : point;
  return toRoot(this).inverted().apply(inRoot);
}

Rect Layer::convertRectToLayer(const Rect& rect, const Layer* layer) const {
  AffineTransform t = toRoot(this);
  if (layer) t = t.concatenated(toRoot(layer).inverted());
  return t.apply(rect);
}

bool Layer::containsPoint(Point point) const {
  return p_.bounds.contains(point);
}

}  // namespace pf
