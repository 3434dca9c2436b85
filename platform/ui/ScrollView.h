#pragma once
// A view whose bounds origin (the content offset) moves over a larger content: dragged by its own pan
// recogniser, then decelerating, bouncing back from the edges and snapping to pages on the run-loop
// clock; zoomed by pinching a view its delegate names. Thin indicators show where the bounds lie in the
// content while it moves and fade after. The delegate hears every step. Main thread only.

#include <memory>
#include <optional>

#include "platform/graphics/EdgeInsets.h"
#include "platform/ui/ContentOffsetObservers.h"
#include "platform/ui/View.h"

namespace pf {

class Layer;
class PanGestureRecognizer;
class PinchGestureRecognizer;
class ScrollView;
class Timer;

class ScrollViewDelegate {
 public:
  virtual ~ScrollViewDelegate() = default;
  virtual void scrollViewDidScroll(ScrollView& /*scrollView*/) {}
  virtual void scrollViewWillBeginDragging(ScrollView& /*scrollView*/) {}
  virtual void scrollViewDidEndDragging(ScrollView& /*scrollView*/, bool /*decelerate*/) {}
  virtual void scrollViewWillBeginDecelerating(ScrollView& /*scrollView*/) {}
  virtual void scrollViewDidEndDecelerating(ScrollView& /*scrollView*/) {}
  virtual void scrollViewDidEndScrollingAnimation(ScrollView& /*scrollView*/) {}
  virtual std::shared_ptr<View> viewForZoomingInScrollView(ScrollView& /*scrollView*/) { return nullptr; }
  virtual void scrollViewWillBeginZooming(ScrollView& /*scrollView*/, View* /*view*/) {}
  virtual void scrollViewDidZoom(ScrollView& /*scrollView*/) {}
  virtual void scrollViewDidEndZooming(ScrollView& /*scrollView*/, View* /*view*/, double /*scale*/) {}
  virtual bool scrollViewShouldScrollToTop(ScrollView& /*scrollView*/) { return true; }
  virtual void scrollViewDidScrollToTop(ScrollView& /*scrollView*/) {}
};

class ScrollView : public View {
  PF_OBJECT(ScrollView, View)

  // Velocity kept per millisecond of deceleration.
  static constexpr double kDecelerationRateNormal = 0.998;
  static constexpr double kDecelerationRateFast = 0.99;
  // Seconds the content waits for a touch's start while a drag may still take it (delaysContentTouches).
  static constexpr double kContentTouchDelay = 0.15;
  // Seconds a setContentOffset or zoom animation takes.
  static constexpr double kScrollAnimationDuration = 0.3;
  // Steps of deceleration and animation on the run-loop clock.
  static constexpr double kFrameInterval = 1.0 / 60;
  // Indicators: points across, shortest length, gap to the bounds' edge, and their fade once still.
  static constexpr double kIndicatorThickness = 2.5;
  static constexpr double kIndicatorMinimumLength = 7;
  static constexpr double kIndicatorMargin = 2;
  static constexpr double kIndicatorFadeDuration = 0.3;
  // How long flashScrollIndicators shows them before the fade.
  static constexpr double kIndicatorFlashDuration = 0.5;

  // The platform's values: dark with a light edge, black, white.
  enum class IndicatorStyle { Default = 0, Black = 1, White = 2 };

  ScrollView();
  explicit ScrollView(const Rect& frame);
  ~ScrollView() override;

  Point contentOffset() const;
  void setContentOffset(Point offset);
  // Animated: moves there over kScrollAnimationDuration, ending in did-end-scrolling-animation.
  void setContentOffset(Point offset, bool animated);
  // Where an animated move of the offset (setContentOffset, scroll to top, a spring back) is heading;
  // none while no such move runs.
  std::optional<Point> animatedOffsetTarget() const;
  Size contentSize() const { return contentSize_; }
  virtual void setContentSize(Size size);
  EdgeInsets contentInset() const { return contentInset_; }
  // Inside an animation block, an offset the new inset leaves outside the content moves back inside
  // with the block's timing (unless a drag or deceleration is moving the content); content springing
  // back from an edge springs to where the new inset puts that edge.
  void setContentInset(const EdgeInsets& inset);
  // Every change of the content offset is told to the observer, with the offset before it, while the
  // handle lives.
  [[nodiscard]] std::shared_ptr<void> observeContentOffset(ContentOffsetObservers::Observer observer) {
    return offsetObservers_.add(std::move(observer));
  }
  EdgeInsets scrollIndicatorInsets() const { return indicatorInsets_; }
  void setScrollIndicatorInsets(const EdgeInsets& inset) { indicatorInsets_ = inset; }
  // The smallest and largest offsets the content allows (inset included).
  Point minimumContentOffset() const;
  Point maximumContentOffset() const;
  // Scrolls the least so the rect (in content coordinates) shows.
  void scrollRectToVisible(const Rect& rect, bool animated);

  bool showsHorizontalScrollIndicator() const { return showsHorizontal_; }
  void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontal_ = shows; }
  bool showsVerticalScrollIndicator() const { return showsVertical_; }
  void setShowsVerticalScrollIndicator(bool shows) { showsVertical_ = shows; }
  IndicatorStyle indicatorStyle() const { return indicatorStyle_; }
  void setIndicatorStyle(IndicatorStyle style);
  // Shows the indicators for a moment without moving the content.
  void flashScrollIndicators();
  // The indicators' layers (above the content, in its coordinates); nullptr until first shown.
  const std::shared_ptr<Layer>& horizontalScrollIndicator() const { return horizontalIndicator_; }
  const std::shared_ptr<Layer>& verticalScrollIndicator() const { return verticalIndicator_; }
  bool bounces() const { return bounces_; }
  void setBounces(bool bounces) { bounces_ = bounces; }
  bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
  void setAlwaysBounceVertical(bool bounce) { alwaysBounceVertical_ = bounce; }
  bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
  void setAlwaysBounceHorizontal(bool bounce) { alwaysBounceHorizontal_ = bounce; }
  bool isPagingEnabled() const { return pagingEnabled_; }
  void setPagingEnabled(bool enabled) { pagingEnabled_ = enabled; }
  bool isDirectionalLockEnabled() const { return directionalLock_; }
  void setDirectionalLockEnabled(bool enabled) { directionalLock_ = enabled; }
  bool isScrollEnabled() const { return scrollEnabled_; }
  void setScrollEnabled(bool enabled);
  bool scrollsToTop() const { return scrollsToTop_; }
  void setScrollsToTop(bool scrolls) { scrollsToTop_ = scrolls; }
  double decelerationRate() const { return decelerationRate_; }
  void setDecelerationRate(double rate);
  bool delaysContentTouches() const { return delaysContentTouches_; }
  void setDelaysContentTouches(bool delays);
  bool canCancelContentTouches() const { return canCancelContentTouches_; }
  void setCanCancelContentTouches(bool cancels) { canCancelContentTouches_ = cancels; }

  bool isTracking() const { return tracking_; }
  bool isDragging() const { return dragging_; }
  bool isDecelerating() const { return decelerating_; }
  bool isZooming() const { return zooming_; }
  bool isZoomBouncing() const { return zoomBouncing_; }

  double zoomScale() const { return zoomScale_; }
  // Kept within the minimum and maximum; needs a view for zooming. Animated: zooms about the centre over
  // kScrollAnimationDuration, the delegate hearing did-zoom at each step and did-end-zooming last.
  void setZoomScale(double scale, bool animated = false);
  double minimumZoomScale() const { return minimumZoomScale_; }
  void setMinimumZoomScale(double scale) { minimumZoomScale_ = scale; }
  double maximumZoomScale() const { return maximumZoomScale_; }
  void setMaximumZoomScale(double scale) { maximumZoomScale_ = scale; }
  bool bouncesZoom() const { return bouncesZoom_; }
  void setBouncesZoom(bool bounces) { bouncesZoom_ = bounces; }
  // Zooms so the rect (in the zoom view's own coordinates) fills the bounds as far as the limits allow;
  // did-end-zooming follows the change (after the animation when animated).
  void zoomToRect(const Rect& rect, bool animated);

  std::shared_ptr<ScrollViewDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) { delegate_ = std::move(delegate); }
  const std::shared_ptr<PanGestureRecognizer>& panGestureRecognizer();
  const std::shared_ptr<PinchGestureRecognizer>& pinchGestureRecognizer();

  // A tap on the status bar: the one shown scroll view under the view (a window) that scrolls to
  // the top moves there, animated, if its delegate agrees; with none or several nothing moves.
  // Answers whether one moved.
  static bool scrollToTopInWindow(View& window);

  // Starts decelerating from a release at this velocity (points per second), as a drag's end does.
  void flingWithVelocity(Point velocity);

 protected:
  // Hooks for subclasses (tables lay out their rows here); the base tells the delegate.
  virtual void didScroll();
  void didMoveToWindow() override;
  void layoutSublayersOfLayer(Layer& layer) override;

 private:
  void ensureRecognizers();
  void handlePan();
  void handlePinch();
  void beginDragging();
  void endDragging(Point velocity);
  void startDeceleration(Point velocity);
  void decelerationStep();
  // What the delegate hears when an animation of the offset (and maybe the zoom) ends.
  enum class AnimationEnd { Scrolling, Deceleration, Zooming, ScrollToTop };
  void startAnimation(Point target, AnimationEnd end);
  void startZoomAnimation(double scale, Point target);
  void animationStep();
  void finishAnimation();
  bool isMoving() const;
  void showIndicators();
  void hideIndicators(double delay = 0);
  void layoutIndicators();
  void raiseIndicators();
  std::shared_ptr<Layer> makeIndicator() const;
  void stopMotion();
  void applyOffset(Point offset);
  Point clampedOffset(Point offset) const;
  Point pageTarget(Point velocity) const;
  bool scrollsHorizontally() const;
  bool scrollsVertically() const;
  void applyZoom(double scale);
  void zoomKeepingCenter(double scale);
  // The offset that keeps the bounds' centre on the same content point at another scale.
  Point offsetKeepingCenter(double scale) const;
  Point clampedOffsetAtScale(Point offset, double scale) const;
  void noteZoomBase(const View& view);
  std::shared_ptr<View> zoomView();

  std::weak_ptr<ScrollViewDelegate> delegate_;
  ContentOffsetObservers offsetObservers_;
  std::shared_ptr<PanGestureRecognizer> pan_;
  std::shared_ptr<PinchGestureRecognizer> pinch_;
  std::shared_ptr<GestureRecognizer> contentDelay_;
  std::shared_ptr<Timer> timer_;
  Size contentSize_;
  EdgeInsets contentInset_;
  EdgeInsets indicatorInsets_;
  Point dragStart_;
  Point velocity_;
  std::shared_ptr<Layer> horizontalIndicator_;
  std::shared_ptr<Layer> verticalIndicator_;
  Point animationFrom_;
  Point animationTo_;
  double animationStart_ = 0;
  AnimationEnd animationEnd_ = AnimationEnd::Scrolling;
  // The zoom an animation moves through; equal when it only scrolls.
  double animationFromScale_ = 1;
  double animationToScale_ = 1;
  IndicatorStyle indicatorStyle_ = IndicatorStyle::Default;
  bool indicatorsShown_ = false;
  int lockedAxis_ = 0;  // 0 none, 1 horizontal, 2 vertical
  double decelerationRate_ = kDecelerationRateNormal;
  double zoomScale_ = 1;
  double minimumZoomScale_ = 1;
  double maximumZoomScale_ = 1;
  double pinchStartScale_ = 1;
  Size zoomBaseSize_;
  bool showsHorizontal_ = true;
  bool showsVertical_ = true;
  bool bounces_ = true;
  bool alwaysBounceVertical_ = false;
  bool alwaysBounceHorizontal_ = false;
  bool pagingEnabled_ = false;
  bool directionalLock_ = false;
  bool scrollEnabled_ = true;
  bool scrollsToTop_ = true;
  bool delaysContentTouches_ = true;
  bool canCancelContentTouches_ = true;
  bool bouncesZoom_ = true;
  bool tracking_ = false;
  bool dragging_ = false;
  bool decelerating_ = false;
  // Moving back inside the content after a drag or deceleration left it past an edge.
  bool springing_ = false;
  bool zooming_ = false;
  bool zoomBouncing_ = false;
};

}  // namespace pf
