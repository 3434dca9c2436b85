#pragma once
// The picture behind a view: geometry (bounds, position, anchor point, transform), look (background,
// corner radius, border, shadow, opacity, contents image, mask) and sublayers. Setting a property
// changes the model value at once; when the change has an action (an animation from the view's
// animation block, or the layer's own implicit animation inside a layer tree), the action runs under
// the property's key. presentationLayer() is a copy with the running animations applied at the
// clock's current time: rendering and hit-testing read it, code reads the model.
//
// A layer owns its sublayers and its mask; its superlayer and delegate are back links.
// Main thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/ContentMode.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/AnimatableValue.h"

namespace pf {

class Animation;
class GraphicsContext;
class Image;
class LayerDelegate;
class Path;

class Layer : public std::enable_shared_from_this<Layer> {
 public:
  Layer();
  virtual ~Layer();
  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;

  static std::shared_ptr<Layer> make() { return std::make_shared<Layer>(); }

  // Geometry.
  const Rect& bounds() const { return p_.bounds; }
  void setBounds(const Rect& bounds);
  Point position() const { return p_.position; }
  void setPosition(Point position);
  Point anchorPoint() const { return p_.anchorPoint; }
  void setAnchorPoint(Point anchor);
  const AffineTransform& transform() const { return p_.transform; }
  void setTransform(const AffineTransform& transform);
  // The bounds as they sit in the superlayer: the bounding box after the transform.
  Rect frame() const;
  // Sets bounds size and position so the untransformed layer covers the rect.
  void setFrame(const Rect& frame);

  // Look.
  double opacity() const { return p_.opacity; }
  void setOpacity(double opacity);
  bool isHidden() const { return p_.hidden; }
  void setHidden(bool hidden);
  const std::optional<Color>& backgroundColor() const { return p_.backgroundColor; }
  void setBackgroundColor(std::optional<Color> color);
  double cornerRadius() const { return p_.cornerRadius; }
  void setCornerRadius(double radius);
  bool masksToBounds() const { return p_.masksToBounds; }
  void setMasksToBounds(bool masks);
  double borderWidth() const { return p_.borderWidth; }
  void setBorderWidth(double width);
  const Color& borderColor() const { return p_.borderColor; }
  void setBorderColor(const Color& color);
  const std::optional<Color>& shadowColor() const { return p_.shadowColor; }
  void setShadowColor(std::optional<Color> color);
  Size shadowOffset() const { return p_.shadowOffset; }
  void setShadowOffset(Size offset);
  double shadowOpacity() const { return p_.shadowOpacity; }
  void setShadowOpacity(double opacity);
  double shadowRadius() const { return p_.shadowRadius; }
  void setShadowRadius(double radius);
  const std::shared_ptr<const Path>& shadowPath() const { return p_.shadowPath; }
  void setShadowPath(std::shared_ptr<const Path> path);
  const std::shared_ptr<const Image>& contents() const { return p_.contents; }
  void setContents(std::shared_ptr<const Image> image);
  // How the contents image fills the bounds.
  ContentMode contentsGravity() const { return p_.contentsGravity; }
  void setContentsGravity(ContentMode gravity);
  double contentsScale() const { return p_.contentsScale; }
  void setContentsScale(double scale);
  // Whether drawing outside the bounds shows; views set it from clipsToBounds.
  bool isOpaque() const { return p_.opaque; }
  void setOpaque(bool opaque);

  // Tree.
  Layer* superlayer() const { return superlayer_; }
  const std::vector<std::shared_ptr<Layer>>& sublayers() const { return sublayers_; }
  void addSublayer(const std::shared_ptr<Layer>& layer);
  void insertSublayer(const std::shared_ptr<Layer>& layer, size_t index);
  void insertSublayerBelow(const std::shared_ptr<Layer>& layer, const Layer* sibling);
  void insertSublayerAbove(const std::shared_ptr<Layer>& layer, const Layer* sibling);
  void removeFromSuperlayer();
  // The layer whose alpha shape clips this one; drawn by no tree of its own.
  const std::shared_ptr<Layer>& mask() const { return mask_; }
  void setMask(std::shared_ptr<Layer> mask);

  LayerDelegate* delegate() const { return delegate_; }
  void setDelegate(LayerDelegate* delegate) { delegate_ = delegate; }

  // Drawing and layout.
  void setNeedsDisplay();
  bool needsDisplay() const { return needsDisplay_; }
  // The delegate's drawing, kept by the renderer until the next setNeedsDisplay.
  const std::shared_ptr<const Image>& backingStore() const { return backing_; }
  void setBackingStore(std::shared_ptr<const Image> backing);
  // Draws what the kind of layer draws itself (a shape, a gradient) in its bounds space; the
  // renderer calls it on the presentation copy.
  virtual void drawContent(GraphicsContext& /*context*/) const {}
  void setNeedsLayout();
  bool needsLayout() const { return needsLayout_; }
  // Lays out this layer and its sublayers when marked, outermost first.
  void layoutIfNeeded();

  // Animations, by key in the order added. A copy of the animation is stored; one under the same
  // key is replaced (and stops unfinished). A null key stores it under a generated one.
  void addAnimation(const std::shared_ptr<Animation>& animation, const std::string& key);
  std::shared_ptr<const Animation> animationForKey(const std::string& key) const;
  std::vector<std::string> animationKeys() const;
  void removeAnimationForKey(const std::string& key);
  void removeAllAnimations();
  bool hasAnimations() const { return !animations_.empty(); }

  // A copy of this layer's own properties with the running animations applied now (no tree).
  std::shared_ptr<Layer> presentationLayer() const;
  // The presentation layer, or this layer itself when nothing animates.
  std::shared_ptr<const Layer> presentationOrSelf() const;
  // The action a property change runs: the delegate's, else the implicit animation.
  std::shared_ptr<Animation> actionForKey(const std::string& key);

  // Property access by key path ("position", "position.x", "bounds.size", "transform.scale",
  // "transform.rotation.z", "opacity", ...). Unknown paths answer an empty value and set nothing.
  virtual AnimatableValue valueForKeyPath(const std::string& keyPath) const;
  virtual bool setValueForKeyPath(const std::string& keyPath, const AnimatableValue& value);

  // Mapping between this layer's bounds space and another layer's (in the same tree).
  Point convertPointToLayer(Point point, const Layer* layer) const;
  Point convertPointFromLayer(Point point, const Layer* layer) const;
  Rect convertRectToLayer(const Rect& rect, const Layer* layer) const;
  // From bounds space to the superlayer's bounds space.
  AffineTransform transformToSuperlayer() const;
  bool containsPoint(Point point) const;

  // Bumped by every change that can alter a picture: hosts redraw when it moved.
  static std::uint64_t changeCount();
  // Called after every such change (a host schedules its next frame); one observer at a time.
  static void setChangeObserver(std::function<void()> observer);

 protected:
  // A bare copy of the properties of the same kind of layer, for presentation.
  virtual std::shared_ptr<Layer> makeCopy() const;
  void copyPropertiesFrom(const Layer& other);
  // Changes a property through the action machinery.
  void changeProperty(const std::string& key, const AnimatableValue& newValue);
  static void noteChange();

 private:
  struct Properties {
    Rect bounds;
    Point position;
    Point anchorPoint{0.5, 0.5};
    AffineTransform transform;
    double opacity = 1;
    bool hidden = false;
    std::optional<Color> backgroundColor;
    double cornerRadius = 0;
    bool masksToBounds = false;
    double borderWidth = 0;
    Color borderColor = Color::black();
    std::optional<Color> shadowColor = Color::black();
    Size shadowOffset{0, -3};
    double shadowOpacity = 0;
    double shadowRadius = 3;
    std::shared_ptr<const Path> shadowPath;
    std::shared_ptr<const Image> contents;
    ContentMode contentsGravity = ContentMode::scaleToFill;
    double contentsScale = 1;
    bool opaque = false;
  };
  struct Entry {
    std::string key;
    std::shared_ptr<Animation> animation;
  };
  friend class Animator;
  friend class ViewAnimationContext;

  bool setOwnValue(const std::string& keyPath, const AnimatableValue& value);
  void adopt(const std::shared_ptr<Layer>& layer);
  void detachAnimation(size_t index, bool finished);
  void applyAnimations(Layer& target) const;
  Animation* mutableAnimationForKey(const std::string& key);
  // The animator removes a finished animation without a second stop report.
  void removeFinished(const Animation* animation);

  Properties p_;
  Layer* superlayer_ = nullptr;
  std::vector<std::shared_ptr<Layer>> sublayers_;
  std::shared_ptr<Layer> mask_;
  LayerDelegate* delegate_ = nullptr;
  std::vector<Entry> animations_;
  std::shared_ptr<const Image> backing_;
  bool needsDisplay_ = false;
  bool needsLayout_ = false;
  bool inTree_ = false;
};

}  // namespace pf
