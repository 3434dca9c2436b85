#pragma once
// Shows a controller's view in a bordered box beside a rectangle of another view, with an arrow
// pointing at it, over the rest of the window; tablet screens only (making one on the phone profile is
// a contract fault). A touch outside the box asks the delegate and, when it agrees, dismisses the box
// and tells it; dismissing by code tells it nothing. The caller keeps the popover controller: when it
// goes, its box goes with it. Main thread only.

#include <memory>

#include "platform/graphics/Rect.h"
#include "platform/ui/ViewController.h"

namespace pf {

class PopoverController;

class PopoverControllerDelegate {
 public:
  virtual ~PopoverControllerDelegate() = default;
  virtual bool popoverControllerShouldDismissPopover(PopoverController& popover) {
    (void)popover;
    return true;
  }
  virtual void popoverControllerDidDismissPopover(PopoverController& popover) { (void)popover; }
};

class PopoverController : public Object {
  PF_OBJECT(PopoverController, Object)

  // The platform's arrow directions.
  enum ArrowDirection : unsigned {
    kArrowDirectionUp = 1,
    kArrowDirectionDown = 2,
    kArrowDirectionLeft = 4,
    kArrowDirectionRight = 8,
    kArrowDirectionAny = 15,
    kArrowDirectionUnknown = static_cast<unsigned>(-1),
  };
  // Room between the box and the arrow's target, and between the box and the window's edges.
  static constexpr double kArrowLength = 13;
  static constexpr double kBorder = 8;
  static constexpr double kMargin = 10;

  explicit PopoverController(std::shared_ptr<ViewController> contentViewController);
  ~PopoverController() override;

  const std::shared_ptr<ViewController>& contentViewController() const { return content_; }
  Size popoverContentSize() const { return contentSize_; }
  void setPopoverContentSize(Size size, bool animated = false);
  std::weak_ptr<PopoverControllerDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<PopoverControllerDelegate> delegate) { delegate_ = std::move(delegate); }

  // Places the box beside the rectangle (in the view's bounds), preferring the allowed arrow
  // directions in the order up, down, left, right; the first that fits in the window wins.
  void presentPopoverFromRect(const Rect& rect, const std::shared_ptr<View>& view, unsigned arrowDirections,
                              bool animated);
  void dismissPopoverAnimated(bool animated);
  bool isPopoverVisible() const { return box_ != nullptr; }
  unsigned popoverArrowDirection() const { return arrow_; }
  // The bordered box holding the content's view, while visible.
  const std::shared_ptr<View>& popoverView() const { return box_; }

  // A touch outside the box.
  void touchedOutside();

 private:
  Rect boxFrame(const Rect& target, const Rect& window, unsigned allowed);
  void removeViews();

  std::shared_ptr<ViewController> content_;
  Size contentSize_{320, 480};
  std::weak_ptr<PopoverControllerDelegate> delegate_;
  std::shared_ptr<View> shield_;
  std::shared_ptr<View> box_;
  unsigned arrow_ = kArrowDirectionUnknown;
};

}  // namespace pf
