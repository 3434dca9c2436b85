#include "app/components/meter/ShapeMeterView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/DisplayLink.h"
#include "platform/ui/GradientLayer.h"
#include "platform/ui/MotionManager.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ShapeLayer.h"

namespace {

constexpr double kMeterPi = 3.14159265358979323846;
constexpr float kTwoPiFloat = 6.2831855f;
constexpr float kHalfPiFloat = 1.5707964f;
constexpr double kAngleTolerance = 1e-6;

// The smoothing variance of gravity mode: one value for every meter, used on the main loop only.
float gravityVariance = 0.1f;

float clampUnit(float value) { return std::clamp(value, 0.0f, 1.0f); }

}  // namespace

ShapeMeterView::ShapeMeterView() : pf::View(pf::Rect{}, pf::GradientLayer::make()) { commonInit(); }

ShapeMeterView::ShapeMeterView(const pf::Rect& frame) : ShapeMeterView(frame, std::nullopt) {}

ShapeMeterView::ShapeMeterView(const pf::Rect& frame, std::optional<pf::Path> shape, bool gravity)
    : pf::View(frame, pf::GradientLayer::make()) {
  commonInit();
  setShape(std::move(shape));
  if (gravity) startGravity();
}

ShapeMeterView::~ShapeMeterView() {
  if (motionDisplayLink_) motionDisplayLink_->invalidate();
}

void ShapeMeterView::registerForInterfaceFiles() {
  pf::NibRegistry::define<ShapeMeterView>([](pf::NibClassBuilder<ShapeMeterView>& b) {
    b.property("meterType", &ShapeMeterView::setMeterType);
    b.property("trackTintColor", &ShapeMeterView::setTrackTintColor);
    b.property("progressTintColor", &ShapeMeterView::setProgressTintColor);
  });
}

void ShapeMeterView::commonInit() {
  setBackgroundColor(pf::Color::clear());
  setTrackTintColor(pf::Color::green());
  setProgressTintColor(pf::Color::blue());
  setMeterType(1);
  gradientLayer()->setLocations({0, 0});
  setProgress(0);
}

std::shared_ptr<pf::GradientLayer> ShapeMeterView::gradientLayer() const {
  return std::static_pointer_cast<pf::GradientLayer>(layer());
}

void ShapeMeterView::setShape(std::optional<pf::Path> shape) {
  if (!shape) {
    gradientLayer()->setMask(nullptr);
    return;
  }
  auto mask = pf::ShapeLayer::make();
  mask->setPath(std::make_shared<const pf::Path>(std::move(*shape)));
  gradientLayer()->setMask(mask);
}

pf::Rect ShapeMeterView::shapeBounds() const {
  auto mask = std::dynamic_pointer_cast<pf::ShapeLayer>(gradientLayer()->mask());
  if (!mask || !mask->path()) return pf::Rect::null();
  return mask->path()->boundingBox();
}

void ShapeMeterView::setTrackTintColor(std::optional<pf::Color> color) {
  if (color == trackTintColor_) return;
  trackTintColor_ = color;
  updateGradientColors();
}

void ShapeMeterView::setProgressTintColor(std::optional<pf::Color> color) {
  if (color == progressTintColor_) return;
  progressTintColor_ = color;
  updateGradientColors();
}

void ShapeMeterView::updateGradientColors() {
  // The list ends at the first missing colour.
  std::vector<pf::Color> colors;
  if (progressTintColor_) {
    colors.push_back(*progressTintColor_);
    if (trackTintColor_) colors.push_back(*trackTintColor_);
  }
  gradientLayer()->setColors(std::move(colors));
  gradientLayer()->setNeedsDisplay();
}

void ShapeMeterView::setMeterType(int type) {
  if (type == meterType_) return;
  meterType_ = type;
  initialGradientOrientation();
}

void ShapeMeterView::initialGradientOrientation() {
  if (meterType_ == 1) setGradientOrientationAngle(kHalfPiFloat);
  if (meterType_ == 2) setGradientOrientationAngle(0);
}

void ShapeMeterView::setProgress(float value, bool animated) {
  const float clamped = clampUnit(value);
  const auto locations = gradientLocations(clamped);
  auto gradient = gradientLayer();
  if (animated) {
    pf::View::animateWithDuration(0.5, [&] {
      auto animation = pf::BasicAnimation::make("locations");
      animation->timingFunction = pf::TimingFunction::named(pf::TimingFunction::kEaseInEaseOut);
      animation->duration = 0.5;
      animation->fromValue = gradient->locations();
      animation->toValue = locations;
      gradient->addAnimation(animation, "animateLocations");
    });
  } else {
    gradient->setNeedsDisplay();
  }
  gradient->setLocations(locations);
  progress_ = clamped;
}

std::vector<double> ShapeMeterView::gradientLocations(float value) const {
  const float rescaled = rescaledProgress(value);
  return {rescaled, rescaled};
}

float ShapeMeterView::rescaledProgress(float value) const {
  const double p = clampUnit(value);
  const pf::Rect shape = shapeBounds();
  const pf::Rect box = bounds();
  // Without an outline, or in an empty view, the edge is the progress itself.
  if (shape.isNull() || shape.isEmpty() || box.size.width <= 0 || box.size.height <= 0) return static_cast<float>(p);
  const pf::Point s = gradientLayer()->startPoint();
  const pf::Point e = gradientLayer()->endPoint();
  const double length =
      std::sqrt(std::pow((s.x - e.x) * shape.size.width, 2) + std::pow((s.y - e.y) * shape.size.height, 2));
  const double angle = gradientOrientationAngle();
  if (angle <= 0.7853981633974483) return static_cast<float>((p * length + shape.minX()) / box.size.width);
  if (angle <= 2.356194490192345) {
    return static_cast<float>((p * length + box.size.height - shape.maxY()) / box.size.height);
  }
  return static_cast<float>((p * length + box.size.width - shape.maxX()) / box.size.width);
}

void ShapeMeterView::setGradientOrientationAngle(float angle) {
  const auto points = gradientPoints(std::fmod(angle, kTwoPiFloat));
  gradientLayer()->setStartPoint(points[0]);
  gradientLayer()->setEndPoint(points[1]);
  gradientLayer()->setNeedsDisplay();
}

float ShapeMeterView::gradientOrientationAngle() const {
  const pf::Point s = gradientLayer()->startPoint();
  const pf::Point e = gradientLayer()->endPoint();
  const float dx = static_cast<float>(s.x - e.x);
  if (dx == 0) return kHalfPiFloat;
  float angle = std::atan(static_cast<float>(e.y - s.y) / dx);
  if (angle < 0) angle += static_cast<float>(kMeterPi);
  return angle;
}

std::vector<pf::Point> ShapeMeterView::gradientPoints(float angle) {
  auto points = intersectionPointsOfLineOrientedBy(angle, {0, 0, 1, 1});
  for (auto& point : points) point.y = 1 - point.y;
  return points;
}

std::vector<pf::Point> ShapeMeterView::intersectionPointsOfLineOrientedBy(float angle, const pf::Rect& box) {
  const double theta = angle;
  const double midX = box.midX(), midY = box.midY();
  if (std::fabs(theta - kMeterPi / 2) < kAngleTolerance) return {{midX, box.minY()}, {midX, box.maxY()}};
  if (std::fabs(theta - 3 * kMeterPi / 2) < kAngleTolerance) return {{midX, box.maxY()}, {midX, box.minY()}};
  if (std::fabs(theta) < kAngleTolerance) return {{box.minX(), midY}, {box.maxX(), midY}};
  if (std::fabs(std::fabs(theta) - kMeterPi) < kAngleTolerance) return {{box.maxX(), midY}, {box.minX(), midY}};
  const double c = std::cos(theta), s = std::sin(theta), t = s / c;
  const double w = box.size.width / 2, h = box.size.height / 2;
  const double xa = c >= 0 ? -w : w, xb = -xa;
  const double ya = s >= 0 ? -h : h, yb = -ya;
  const pf::Point a{std::clamp(ya / t, -w, w) + midX, std::clamp(xa * t, -h, h) + midY};
  const pf::Point b{std::clamp(yb / t, -w, w) + midX, std::clamp(xb * t, -h, h) + midY};
  const bool aFirst = theta < kMeterPi ? a.y < b.y : a.y > b.y;
  if (aFirst) return {a, b};
  return {b, a};
}

void ShapeMeterView::startGravity() {
  if (!isGravityActive()) {
    motionManager_ = std::make_shared<pf::MotionManager>();
    motionManager_->setDeviceMotionUpdateInterval(0.02);
    motionLastYaw_ = 0;
    std::weak_ptr<ShapeMeterView> weakSelf = sharedAs<ShapeMeterView>();
    motionDisplayLink_ = pf::DisplayLink::make(weakSelf, [weakSelf](pf::DisplayLink& link) {
      if (auto self = weakSelf.lock()) self->motionRefresh(link);
    });
    motionDisplayLink_->addToRunLoop(pf::RunLoop::current(), pf::RunLoop::kDefaultMode);
  }
  if (motionManager_->isDeviceMotionAvailable()) {
    motionManager_->startDeviceMotionUpdatesUsingReferenceFrame(pf::MotionManager::kXArbitraryZVertical);
  }
}

void ShapeMeterView::stopGravity() {
  if (!isGravityActive()) {
    if (motionManager_) motionManager_->stopDeviceMotionUpdates();
    return;
  }
  motionDisplayLink_->invalidate();
  motionDisplayLink_.reset();
  motionLastYaw_ = 0;
  initialGradientOrientation();
  if (motionManager_->isDeviceMotionActive()) motionManager_->stopDeviceMotionUpdates();
  motionManager_.reset();
}

void ShapeMeterView::motionRefresh(pf::DisplayLink& link) {
  (void)link;
  pf::Quaternion q;
  if (motionManager_) {
    if (auto motion = motionManager_->deviceMotion()) q = motion->attitude.quaternion;
  }
  const double tilt = std::clamp(2 * (q.x * q.z - q.w * q.y), -1.0, 1.0);
  const float raw = static_cast<float>(kMeterPi / 2 - std::asin(tilt));
  if (motionLastYaw_ == 0) motionLastYaw_ = raw;
  gravityVariance = gravityVariance + 0.1f;
  const float gain = gravityVariance / (gravityVariance + 0.1f);
  const float yaw = motionLastYaw_ + (raw - motionLastYaw_) * gain;
  gravityVariance = gravityVariance * (1 - gain);
  motionLastYaw_ = yaw;
  setGradientOrientationAngle(yaw);
}

float ShapeMeterView::currentYaw() const { return static_cast<float>(0.5 - gradientLayer()->startPoint().x); }

void ShapeMeterView::didMoveToWindow() { gradientLayer()->setContentsScale(pf::Screen::mainScreen().scale()); }
