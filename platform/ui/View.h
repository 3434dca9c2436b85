#pragma once
// A rectangle of the screen that draws itself, lays out its subviews and takes touches. Its geometry
// and look live in its layer (layer()); setting them changes the model at once, and inside an
// animation block (animateWithDuration, beginAnimations/commitAnimations) the change also animates
// the layer's presentation. A view owns its subviews; its superview and window are back links.
//
// Subclasses extend it through the virtual hooks: drawRect, layoutSubviews, sizeThatFits, hitTest,
// pointInside, the touch handlers of Responder, and the move hooks (willMoveToSuperview,
// didMoveToSuperview, willMoveToWindow, didMoveToWindow, didAddSubview, willRemoveSubview).
// Views are made with std::make_shared. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/ContentMode.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/LayerDelegate.h"
#include "platform/ui/Responder.h"

namespace pf {

class GestureRecognizer;
class Layer;
class Window;

class View : public Responder, public LayerDelegate {
  PF_OBJECT(View, Responder)

  // The platform's autoresizing bits: 18 is flexible width and height, 45 every margin flexible.
  enum Autoresizing : unsigned {
    kAutoresizingNone = 0,
    kFlexibleLeftMargin = 1,
    kFlexibleWidth = 2,
    kFlexibleRightMargin = 4,
    kFlexibleTopMargin = 8,
    kFlexibleHeight = 16,
    kFlexibleBottomMargin = 32,
  };
  // The platform's animation option bits and curves.
  enum AnimationOptions : unsigned {
    kAnimationLayoutSubviews = 1 << 0,
    kAnimationAllowUserInteraction = 1 << 1,
    kAnimationBeginFromCurrentState = 1 << 2,
    kAnimationRepeat = 1 << 3,
    kAnimationAutoreverse = 1 << 4,
    kAnimationOverrideInheritedDuration = 1 << 5,
    kAnimationOverrideInheritedCurve = 1 << 6,
    kAnimationCurveEaseInOut = 0 << 16,
    kAnimationCurveEaseIn = 1 << 16,
    kAnimationCurveEaseOut = 2 << 16,
    kAnimationCurveLinear = 3 << 16,
  };
  enum class AnimationCurve { EaseInOut = 0, EaseIn = 1, EaseOut = 2, Linear = 3 };
  using Animations = std::function<void()>;
  using Completion = std::function<void(bool finished)>;

  View();
  explicit View(const Rect& frame);
  ~View() override;

  const std::shared_ptr<Layer>& layer() const { return layer_; }

  // Geometry.
  Rect frame() const;
  virtual void setFrame(const Rect& frame);
  Rect bounds() const;
  virtual void setBounds(const Rect& bounds);
  Point center() const;
  virtual void setCenter(Point center);
  AffineTransform transform() const;
  virtual void setTransform(const AffineTransform& transform);

  // Look and behaviour.
  double alpha() const;
  virtual void setAlpha(double alpha);
  bool isHidden() const;
  virtual void setHidden(bool hidden);
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  bool clipsToBounds() const;
  void setClipsToBounds(bool clips);
  std::optional<Color> backgroundColor() const;
  virtual void setBackgroundColor(std::optional<Color> color);
  ContentMode contentMode() const;
  void setContentMode(ContentMode mode);
  bool isOpaque() const;
  void setOpaque(bool opaque);
  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  // Virtual so a view can gate what its owner asks for (a container switching touches off for a while).
  virtual void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
  bool isMultipleTouchEnabled() const { return multipleTouchEnabled_; }
  void setMultipleTouchEnabled(bool enabled) { multipleTouchEnabled_ = enabled; }
  bool isExclusiveTouch() const { return exclusiveTouch_; }
  void setExclusiveTouch(bool exclusive) { exclusiveTouch_ = exclusive; }
  unsigned autoresizingMask() const { return autoresizingMask_; }
  void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
  bool autoresizesSubviews() const { return autoresizesSubviews_; }
  void setAutoresizesSubviews(bool resizes) { autoresizesSubviews_ = resizes; }

  // Hierarchy.
  std::shared_ptr<View> superview() const { return superview_.lock(); }
  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  std::shared_ptr<Window> window() const;
  void addSubview(const std::shared_ptr<View>& view);
  void insertSubview(const std::shared_ptr<View>& view, size_t index);
  void insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling);
  void insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling);
  void removeFromSuperview();
  void bringSubviewToFront(const View* view);
  void sendSubviewToBack(const View* view);
  void exchangeSubviewAtIndex(size_t index, size_t otherIndex);
  bool isDescendantOfView(const View* view) const;
  // This view or the first descendant, depth first, with the tag.
  std::shared_ptr<View> viewWithTag(int tag);

  virtual void willMoveToSuperview(View* /*newSuperview*/) {}
  virtual void didMoveToSuperview() {}
  virtual void willMoveToWindow(Window* /*newWindow*/) {}
  virtual void didMoveToWindow() {}
  virtual void didAddSubview(View* /*subview*/) {}
  virtual void willRemoveSubview(View* /*subview*/) {}

  // Coordinates between this view's bounds and another view's (null: the window's).
  Point convertPointToView(Point point, const View* view) const;
  Point convertPointFromView(Point point, const View* view) const;
  Rect convertRectToView(const Rect& rect, const View* view) const;
  Rect convertRectFromView(const Rect& rect, const View* view) const;

  // The deepest visible, touchable view under the point (in this view's bounds), by presentation.
  virtual std::shared_ptr<View> hitTest(Point point, const Event* event);
  virtual bool pointInside(Point point, const Event* event) const;

  // Layout.
  void setNeedsLayout();
  void layoutIfNeeded();
  virtual void layoutSubviews() {}
  virtual Size sizeThatFits(Size size) const;
  void sizeToFit();

  // Drawing: drawRect draws the content into CurrentContext::get(); it runs when the view is next
  // rendered after setNeedsDisplay (and when first shown), and the picture is kept until then.
  void setNeedsDisplay();
  void setNeedsDisplayInRect(const Rect& rect);
  virtual void drawRect(const Rect& rect);

  // Gesture recognisers see touches in this view and its subviews first.
  void addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer);
  void removeGestureRecognizer(const GestureRecognizer* recognizer);
  const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const { return recognizers_; }

  // Responder chain: the controller that manages the view (set by it), else the superview.
  std::shared_ptr<Responder> nextResponder() const override;
  void setViewController(const std::shared_ptr<Responder>& controller) { controller_ = controller; }
  std::shared_ptr<Responder> viewController() const { return controller_.lock(); }
  // Ends editing: resigns the first responder when it lies in this view's tree.
  bool endEditing(bool force);

  // Animation blocks. Changes to frame, bounds, centre, transform, alpha and background colour made
  // inside `animations` animate; completion runs later on the main loop, once, with whether every
  // animation ran to its end.
  static void animateWithDuration(double duration, const Animations& animations, Completion completion = {});
  static void animateWithDuration(double duration, double delay, unsigned options,
                                  const Animations& animations, Completion completion = {});
  static void transitionWithView(const std::shared_ptr<View>& view, double duration, unsigned options,
                                 const Animations& animations, Completion completion = {});
  static void performWithoutAnimation(const Animations& changes);
  static void setAnimationsEnabled(bool enabled);
  static bool areAnimationsEnabled();
  // The begin/commit form; the setters apply to the innermost open block.
  using DidStopSelector = std::function<void(const std::string& animationID, bool finished, void* context)>;
  using WillStartSelector = std::function<void(const std::string& animationID, void* context)>;
  static void beginAnimations(const std::string& animationID, void* context);
  static void commitAnimations();
  static void setAnimationDuration(double duration);
  static void setAnimationDelay(double delay);
  static void setAnimationCurve(AnimationCurve curve);
  static void setAnimationRepeatCount(float count);
  static void setAnimationRepeatAutoreverses(bool autoreverses);
  static void setAnimationBeginsFromCurrentState(bool fromCurrent);
  // The did-stop and will-start selectors run only while the delegate lives.
  static void setAnimationDelegate(std::weak_ptr<void> delegate);
  static void setAnimationDidStopSelector(DidStopSelector selector);
  static void setAnimationWillStartSelector(WillStartSelector selector);

  // LayerDelegate.
  std::optional<std::shared_ptr<Animation>> actionForLayer(Layer& layer, const std::string& key) override;
  bool drawLayer(Layer& layer, GraphicsContext& context) override;
  void layoutSublayersOfLayer(Layer& layer) override;

 protected:
  // For subclasses backed by a special layer (gradient, shape).
  View(const Rect& frame, std::shared_ptr<Layer> layer);
  // Resizes this view for its superview's change of size by the autoresizing mask.
  virtual void resizeWithOldSuperviewSize(Size oldSize);

 private:
  void attach(std::shared_ptr<View> view, size_t index);
  void detachFromSuperview();
  void notifyWillMoveToWindow(Window* newWindow);
  void notifyDidMoveToWindow();
  void autoresizeSubviews(Size oldSize);
  // A view animation without the allow-user-interaction option is running on this view.
  bool isAnimatingWithoutInteraction() const;
  size_t indexOf(const View* view) const;

  std::shared_ptr<Layer> layer_;
  std::weak_ptr<View> superview_;
  std::vector<std::shared_ptr<View>> subviews_;
  std::vector<std::shared_ptr<GestureRecognizer>> recognizers_;
  std::weak_ptr<Responder> controller_;
  int tag_ = 0;
  unsigned autoresizingMask_ = kAutoresizingNone;
  bool autoresizesSubviews_ = true;
  bool userInteractionEnabled_ = true;
  bool multipleTouchEnabled_ = false;
  bool exclusiveTouch_ = false;
  // Cleared when the base drawRect runs: the view has no drawing of its own.
  bool drawsContent_ = true;
  // Set once the appearance proxies' values were replayed on the way into a window.
  bool appearanceApplied_ = false;
};

}  // namespace pf
