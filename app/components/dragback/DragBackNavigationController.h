#pragma once
// A navigation controller whose top screen can be dragged right with a finger to go back. Each push
// first takes a picture of the screen being left; while the finger drags, the screen slides right over
// that picture, which lies behind it slightly shrunk and dimmed and grows and brightens as the drag
// goes on. Released more than 50 points right of where it began, the screen slides out and the stack
// pops; otherwise it slides back.
//
// The list of pictures follows the stack: one per controller above the root, whichever way the stack
// changes (push, pop, the back button, pop-to, a new stack); a push or pop that changes nothing keeps
// it as it is. Main thread only.

#include <memory>
#include <vector>

#include "platform/graphics/Point.h"
#include "platform/ui/NavigationController.h"

namespace pf {
class Image;
class ImageView;
}  // namespace pf

class DragBackNavigationController : public pf::NavigationController {
  PF_OBJECT(DragBackNavigationController, pf::NavigationController)

  // Points the finger travels before the screen moves, and beyond which a release pops.
  static constexpr double kStartThreshold = 10;
  static constexpr double kPopThreshold = 50;
  // The screen's travel is held to 0...kMaxTravel points.
  static constexpr double kMaxTravel = 320;
  static constexpr double kSlideDuration = 0.3;
  // Width of the shade left of the sliding screen.
  static constexpr double kShadowWidth = 10;

  DragBackNavigationController();
  explicit DragBackNavigationController(std::shared_ptr<pf::ViewController> rootViewController);

  bool canDragBack() const { return canDragBack_; }
  void setCanDragBack(bool can) { canDragBack_ = can; }
  const std::shared_ptr<pf::View>& backgroundView() const { return backgroundView_; }
  void setBackgroundView(std::shared_ptr<pf::View> view) { backgroundView_ = std::move(view); }
  const std::vector<std::shared_ptr<pf::Image>>& screenShotsList() const { return screenShotsList_; }
  void setScreenShotsList(std::vector<std::shared_ptr<pf::Image>> list) { screenShotsList_ = std::move(list); }
  // The picture behind the sliding screen and the black layer that dims it; null before a drag.
  const std::shared_ptr<pf::ImageView>& lastScreenShotView() const { return lastScreenShotView_; }
  const std::shared_ptr<pf::View>& blackMask() const { return blackMask_; }
  bool isMoving() const { return isMoving_; }

  void viewDidLoad() override;
  void pushViewController(const std::shared_ptr<pf::ViewController>& controller, bool animated) override;
  std::shared_ptr<pf::ViewController> popViewControllerAnimated(bool animated) override;
  Stack popToViewController(const std::shared_ptr<pf::ViewController>& controller, bool animated) override;
  void setViewControllers(Stack controllers, bool animated = false) override;

  // A picture of this controller's view at the screen's scale.
  std::shared_ptr<pf::Image> capture();
  // One step of the drag: the screen at x (held to 0...320), the picture behind scaled and dimmed.
  void moveViewWithX(double x);

  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;
  void touchesMoved(const pf::TouchSet& touches, const pf::Event* event) override;
  void touchesEnded(const pf::TouchSet& touches, const pf::Event* event) override;
  void touchesCancelled(const pf::TouchSet& touches, const pf::Event* event) override;

 private:
  bool mayDragBack() const;
  static double touchX(const pf::TouchSet& touches);
  void startMoving();
  void slideBack();
  // Keeps one picture per controller above the root after a stack change.
  void fitPictures(const std::shared_ptr<pf::Image>& leftScreen);

  pf::Point startTouch_;
  bool isMoving_ = false;
  std::shared_ptr<pf::ImageView> lastScreenShotView_;
  std::shared_ptr<pf::View> blackMask_;
  bool canDragBack_ = true;
  std::shared_ptr<pf::View> backgroundView_;
  std::vector<std::shared_ptr<pf::Image>> screenShotsList_;
};
