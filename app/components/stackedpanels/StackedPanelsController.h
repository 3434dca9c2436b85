#pragma once
// A container that shows the views of a row of controllers as panels lying side by side and partly on
// one another, the newest at the right. Older panels slide to a stop left of the container's edge and
// pile up there under a thin pair of lines; every panel but the first carries a soft shade at its left.
// A one-finger horizontal drag moves the panels; released, they snap to their places and bounce.
//
// The container owns the panel layer and the stacked controllers (index = panel index, which each
// panel also carries as its tag); the four panel references only point into the panel layer. Panels
// are found among the panel layer's own subviews, never deeper. Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Point.h"
#include "platform/ui/ViewController.h"

namespace pf {
class GestureRecognizer;
class View;
}  // namespace pf

class StackedPanelsController : public pf::ViewController {
  PF_OBJECT(StackedPanelsController, pf::ViewController)

  // Seconds a slide or a snap takes; a bounce goes out and back in as long each way.
  static constexpr double kSlideDuration = 0.2;
  // Seconds after a bounce out of the pile that the pile lines are arranged again.
  static constexpr double kArrangeDelay = 0.4;
  // Width of the shade left of a panel.
  static constexpr double kShadowWidth = 40;
  // Unscaled distance of the first panel from its place that still brings it home with the rest dropped.
  static constexpr double kFirstPanelReturn = 200;

  // The x at which panels pile up: -130 points on a screen 320 wide, scaled with the screen's width.
  static double leftStop();

  // Builds the line holder, the panel layer and the drag recogniser; answers this container.
  std::shared_ptr<StackedPanelsController> init();

  // Adds the controller's view as the rightmost panel. A start panel first removes every panel;
  // otherwise the panels after the invoker's (or its parent's) are dropped first.
  void addViewInSlider(const std::shared_ptr<pf::ViewController>& controller,
                       const std::shared_ptr<pf::ViewController>& invokeByController, bool isStackStartView);
  // Shows the pile lines by how deep the left panel lies in the pile.
  void arrangeVerticalBar();
  void callArrangeVerticalBar() { arrangeVerticalBar(); }
  // The drag recogniser's action, for every state.
  void handlePanFrom(pf::GestureRecognizer& recognizer);
  // Did-stop of the snaps: an identified snap ends in a small bounce.
  void bounceBack(const std::string& animationID, bool finished);

  void willAnimateRotationToInterfaceOrientation(Orientation orientation, double duration) override;
  void didRotateFromInterfaceOrientation(Orientation from) override;
  bool shouldAutorotateToInterfaceOrientation(Orientation) override { return true; }
  void viewDidUnload() override;

  const std::shared_ptr<pf::View>& slideViews() const { return slideViews_; }
  const std::shared_ptr<pf::View>& borderViews() const { return borderViews_; }
  double slideStartPosition() const { return slideStartPosition_; }
  void setSlideStartPosition(double position) { slideStartPosition_ = position; }
  const std::vector<std::shared_ptr<pf::ViewController>>& viewControllersStack() const { return stack_; }
  void setViewControllersStack(std::vector<std::shared_ptr<pf::ViewController>> stack) {
    stack_ = std::move(stack);
  }

  // The visible panels and the drag state, as the drag rules see them.
  std::shared_ptr<pf::View> viewAtLeft() const { return viewAtLeft_.lock(); }
  std::shared_ptr<pf::View> viewAtRight() const { return viewAtRight_.lock(); }
  std::shared_ptr<pf::View> viewAtLeft2() const { return viewAtLeft2_.lock(); }
  std::shared_ptr<pf::View> viewAtRight2() const { return viewAtRight2_.lock(); }
  const std::string& dragDirection() const { return dragDirection_; }
  double lastTouchPoint() const { return lastTouchPoint_; }

 private:
  double containerWidth();
  double containerHeight();
  std::shared_ptr<pf::View> line(int tag) const;
  void hideLines();
  void clearPanels();
  void dropPanelsAfter(const std::shared_ptr<pf::ViewController>& invoker,
                       const std::shared_ptr<pf::ViewController>& controller);
  void arrangeAfterAddition();
  // Among the panel layer's own subviews only.
  std::shared_ptr<pf::View> panelWithTag(int tag) const;
  std::shared_ptr<pf::View> panelAt(long index) const;
  long indexOfPanel(const std::shared_ptr<pf::View>& panel) const;
  bool isFirstPanel(const std::shared_ptr<pf::View>& panel) const;
  bool isLastPanel(const std::shared_ptr<pf::View>& panel) const;

  void beginDrag();
  void saveOrigins();
  void moveLeftward(double tx);
  void moveRightward(double tx);
  void shiftWindowLeftward(double tx);
  void shiftWindowRightward(double tx);
  void endDrag();
  void snapLeftward();
  void snapRightward();
  void returnFirstPanel();
  // Opens a snap block: identified snaps bounce when they stop.
  void beginSnap(const std::string& animationID);
  void removeBounces();
  void bounce(const std::shared_ptr<pf::View>& view, double distance, const std::string& key);

  std::shared_ptr<pf::View> slideViews_;
  std::shared_ptr<pf::View> borderViews_;
  std::weak_ptr<pf::View> viewAtLeft_;
  std::weak_ptr<pf::View> viewAtRight_;
  std::weak_ptr<pf::View> viewAtLeft2_;
  std::weak_ptr<pf::View> viewAtRight2_;
  std::vector<std::shared_ptr<pf::ViewController>> stack_;
  std::string dragDirection_;
  double viewXPosition_ = 0;
  double displacementPosition_ = 0;
  double lastTouchPoint_ = -1;
  double slideStartPosition_ = 0;
  pf::Point positionOfViewAtRightAtTouchBegan_;
  pf::Point positionOfViewAtLeftAtTouchBegan_;
};
