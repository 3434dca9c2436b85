#include "app/components/stackedpanels/StackedPanelsController.h"

#include <algorithm>

#include "app/components/stackedpanels/UIViewWithShadow.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/Layer.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/View.h"

namespace {

const char* const kLeftWithLeft = "LEFT-WITH-LEFT";
const char* const kLeftWithRight = "LEFT-WITH-RIGHT";
const char* const kRightWithRight = "RIGHT-WITH-RIGHT";
const char* const kRightWithLeft = "RIGHT-WITH-LEFT";

double stackedScreenFactor() {
  return pf::Screen::mainScreen().bounds().width() / 320;
}

double panelX(const std::shared_ptr<pf::View>& view) {
  return view->frame().origin.x;
}

double panelWidth(const std::shared_ptr<pf::View>& view) {
  return view->frame().width();
}

void movePanelTo(const std::shared_ptr<pf::View>& view, double x) {
  if (!view) return;
  pf::Rect frame = view->frame();
  frame.origin.x = x;
  view->setFrame(frame);
}

void showPanel(const std::shared_ptr<pf::View>& view) {
  if (view) view->setHidden(false);
}

}  // namespace

double StackedPanelsController::leftStop() {
  return -130 * stackedScreenFactor();
}

double StackedPanelsController::containerWidth() {
  return view()->frame().width();
}

double StackedPanelsController::containerHeight() {
  return view()->frame().height();
}

std::shared_ptr<StackedPanelsController> StackedPanelsController::init() {
  auto self = sharedAs<StackedPanelsController>();
  const double height = containerHeight();
  borderViews_ = std::make_shared<pf::View>(pf::Rect(leftStop() - 2, -2, 2, height));
  borderViews_->setBackgroundColor(pf::Color::clear());
  auto white = std::make_shared<pf::View>(pf::Rect(0, 0, 1, height));
  white->setTag(1);
  white->setBackgroundColor(pf::Color::white());
  white->setHidden(true);
  auto grey = std::make_shared<pf::View>(pf::Rect(0, 0, 2, height));
  grey->setTag(2);
  grey->setBackgroundColor(pf::Color::gray());
  grey->setHidden(true);
  borderViews_->addSubview(white);
  borderViews_->addSubview(grey);
  view()->addSubview(borderViews_);

  slideViews_ = std::make_shared<pf::View>(pf::Rect(0, 0, containerWidth(), height));
  slideViews_->setBackgroundColor(pf::Color::clear());
  view()->setBackgroundColor(pf::Color::clear());
  view()->setFrame(slideViews_->frame());
  view()->setAutoresizingMask(pf::View::kFlexibleHeight);

  viewXPosition_ = 0;
  lastTouchPoint_ = -1;
  dragDirection_.clear();

  auto pan = std::make_shared<pf::PanGestureRecognizer>();
  std::weak_ptr<StackedPanelsController> weak = self;
  pan->addTarget(self, [weak](pf::GestureRecognizer& recognizer) {
    if (auto container = weak.lock()) container->handlePanFrom(recognizer);
  });
  pan->setMaximumNumberOfTouches(1);
  pan->setDelaysTouchesBegan(true);
  pan->setDelaysTouchesEnded(true);
  pan->setCancelsTouchesInView(true);
  view()->addGestureRecognizer(pan);
  view()->addSubview(slideViews_);
  return self;
}

// Panels and lines.

std::shared_ptr<pf::View> StackedPanelsController::line(int tag) const {
  for (const auto& subview : borderViews_->subviews()) {
    if (subview->tag() == tag) return subview;
  }
  return nullptr;
}

void StackedPanelsController::hideLines() {
  if (auto white = line(1)) white->setHidden(true);
  if (auto grey = line(2)) grey->setHidden(true);
}

std::shared_ptr<pf::View> StackedPanelsController::panelWithTag(int tag) const {
  for (const auto& panel : slideViews_->subviews()) {
    if (panel->tag() == tag) return panel;
  }
  return nullptr;
}

std::shared_ptr<pf::View> StackedPanelsController::panelAt(long index) const {
  const auto& panels = slideViews_->subviews();
  if (index < 0 || index >= static_cast<long>(panels.size())) return nullptr;
  return panels[static_cast<size_t>(index)];
}

long StackedPanelsController::indexOfPanel(const std::shared_ptr<pf::View>& panel) const {
  const auto& panels = slideViews_->subviews();
  auto at = std::find(panels.begin(), panels.end(), panel);
  return at == panels.end() ? -1 : static_cast<long>(at - panels.begin());
}

bool StackedPanelsController::isFirstPanel(const std::shared_ptr<pf::View>& panel) const {
  return panel && indexOfPanel(panel) == 0;
}

bool StackedPanelsController::isLastPanel(const std::shared_ptr<pf::View>& panel) const {
  return panel && indexOfPanel(panel) == static_cast<long>(slideViews_->subviews().size()) - 1;
}

void StackedPanelsController::clearPanels() {
  const auto panels = slideViews_->subviews();
  for (const auto& panel : panels) panel->removeFromSuperview();
  stack_.clear();
  hideLines();
}

void StackedPanelsController::arrangeVerticalBar() {
  if (slideViews_->subviews().size() < 3) return;
  hideLines();
  auto left = viewAtLeft();
  if (!left) return;
  long depth = indexOfPanel(left);
  if (depth < 0) return;
  if (panelX(left) == leftStop()) depth += 1;
  if (depth >= 2) showPanel(line(2));
  if (depth >= 3) showPanel(line(1));
}

// Adding.

void StackedPanelsController::dropPanelsAfter(const std::shared_ptr<pf::ViewController>& invoker,
                                              const std::shared_ptr<pf::ViewController>& controller) {
  auto at = std::find(stack_.begin(), stack_.end(), invoker);
  if (at == stack_.end() && invoker) {
    at = std::find(stack_.begin(), stack_.end(), invoker->parentViewController());
  }
  // An invoker outside the stack drops nothing: the new panel joins at the right.
  if (at == stack_.end()) return;
  const size_t kept = static_cast<size_t>(at - stack_.begin()) + 1;
  const size_t count = stack_.size();
  for (size_t i = kept; i < count; ++i) {
    if (auto panel = panelWithTag(static_cast<int>(i))) panel->removeFromSuperview();
    stack_.erase(stack_.begin() + static_cast<long>(kept));
    viewXPosition_ = containerWidth() - panelWidth(controller->view());
  }
}

void StackedPanelsController::addViewInSlider(const std::shared_ptr<pf::ViewController>& controller,
                                              const std::shared_ptr<pf::ViewController>& invokeByController,
                                              bool isStackStartView) {
  if (!controller) return;
  if (isStackStartView) {
    slideStartPosition_ = 0;
    viewXPosition_ = 0;
    clearPanels();
  }
  if (stack_.empty()) {
    clearPanels();
  } else if (stack_.size() >= 2) {
    dropPanelsAfter(invokeByController, controller);
  }
  auto panel = controller->view();
  if (!slideViews_->subviews().empty()) {
    auto shade = std::make_shared<UIViewWithShadow>(pf::Rect(-kShadowWidth, 0, kShadowWidth, containerHeight()));
    shade->setAutoresizingMask(pf::View::kFlexibleHeight);
    shade->setClipsToBounds(false);
    panel->addSubview(shade);
  }
  stack_.push_back(controller);
  if (invokeByController) {
    const pf::Rect invoker = invokeByController->view()->frame();
    viewXPosition_ = invoker.origin.x + invoker.width();
  }
  if (slideViews_->subviews().empty()) {
    slideStartPosition_ = 0;
    viewXPosition_ = 0;
  }
  panel->setFrame(pf::Rect(viewXPosition_, 0, panel->frame().width(), containerHeight()));
  panel->setTag(static_cast<int>(stack_.size()) - 1);
  controller->beginAppearanceTransition(true, false);
  controller->endAppearanceTransition();
  slideViews_->addSubview(panel);
  arrangeAfterAddition();
}

void StackedPanelsController::arrangeAfterAddition() {
  const long n = static_cast<long>(slideViews_->subviews().size());
  viewAtRight2_.reset();
  if (n == 1) {
    viewAtLeft_ = panelAt(0);
    viewAtRight_.reset();
    viewAtLeft2_.reset();
    return;
  }
  auto right = panelAt(n - 1);
  auto left = panelAt(n - 2);
  auto left2 = n >= 3 ? panelAt(n - 3) : nullptr;
  viewAtRight_ = right;
  viewAtLeft_ = left;
  viewAtLeft2_ = left2;
  showPanel(left2);
  const double stop = leftStop();
  pf::View::beginAnimations("", nullptr);
  if (left2) {
    if (panelX(left2) != stop) movePanelTo(left2, stop);
    pf::View::setAnimationDelegate(weak_from_this());
    std::weak_ptr<StackedPanelsController> weak = sharedAs<StackedPanelsController>();
    pf::View::setAnimationDidStopSelector([weak](const std::string& id, bool finished, void*) {
      if (auto container = weak.lock()) container->bounceBack(id, finished);
    });
  }
  movePanelTo(left, stop);
  movePanelTo(right, containerWidth() - panelWidth(right));
  pf::View::commitAnimations();
  slideStartPosition_ = stop;
  if (n >= 4) panelAt(n - 4)->setHidden(true);
}

// Rotation.

void StackedPanelsController::willAnimateRotationToInterfaceOrientation(Orientation orientation,
                                                                         double duration) {
  auto left = viewAtLeft(), right = viewAtRight(), left2 = viewAtLeft2();
  const double width = containerWidth(), height = containerHeight(), stop = leftStop();
  bool rightPlaced = false;
  for (const auto& controller : stack_) {
    auto panel = controller->view();
    pf::Rect frame = panel->frame();
    frame.size.height = height;
    if (panel == right) {
      if (left && panelX(right) <= panelX(left) + panelWidth(left)) {
        frame.origin.x = width - frame.width();
      } else if (left) {
        frame.origin.x = panelX(left) + panelWidth(left);
      }
      rightPlaced = true;
    } else if (panel == left) {
      if (left2) {
        if (frame.origin.x != stop && frame.origin.x != 0) {
          frame.origin.x = frame.maxX() == width ? width - frame.width() : panelX(left2) + panelWidth(left2);
        }
      } else if (right) {
        frame.origin.x = stop;
        pf::Rect beside = right->frame();
        beside.origin.x = stop + frame.width();
        right->setFrame(beside);
      } else {
        frame.origin.x = 0;
      }
    } else if (rightPlaced) {
      frame.origin.x = width;
    }
    panel->setFrame(frame);
  }
  for (const auto& controller : stack_) controller->willAnimateRotationToInterfaceOrientation(orientation, duration);
  for (const auto& controller : stack_) {
    auto panel = controller->view();
    if (panel != left && panel != right && panel != left2) panel->setHidden(true);
  }
}

void StackedPanelsController::didRotateFromInterfaceOrientation(Orientation from) {
  for (const auto& controller : stack_) controller->didRotateFromInterfaceOrientation(from);
  showPanel(viewAtLeft());
  showPanel(viewAtRight());
  showPanel(viewAtLeft2());
}

void StackedPanelsController::viewDidUnload() {
  pf::ViewController::viewDidUnload();
  for (const auto& controller : stack_) controller->viewDidUnload();
}

// Dragging.

void StackedPanelsController::handlePanFrom(pf::GestureRecognizer& recognizer) {
  auto* pan = dynamic_cast<pf::PanGestureRecognizer*>(&recognizer);
  if (!pan) return;
  const pf::View* container = view().get();
  const double tx = pan->translationInView(container).x;
  const double px = pan->locationInView(container).x;
  const auto state = recognizer.state();
  const bool cancelled = state == pf::GestureRecognizer::State::Cancelled;
  if (state == pf::GestureRecognizer::State::Began) beginDrag();
  // A cancelled touch has no place to move to: the drag only snaps.
  if (lastTouchPoint_ != -1 && !cancelled) {
    if (px < lastTouchPoint_) {
      if (dragDirection_ == "RIGHT") {
        saveOrigins();
        displacementPosition_ = -tx;
      }
      dragDirection_ = "LEFT";
      moveLeftward(tx);
      arrangeVerticalBar();
    } else if (px > lastTouchPoint_) {
      if (dragDirection_ == "LEFT") {
        saveOrigins();
        displacementPosition_ = tx;
      }
      dragDirection_ = "RIGHT";
      moveRightward(tx);
      arrangeVerticalBar();
    }
  }
  lastTouchPoint_ = px;
  // A cancelled drag snaps and resets too, or the next drag would start half-moved in the old direction.
  if (state == pf::GestureRecognizer::State::Ended || cancelled) {
    endDrag();
  }
}

void StackedPanelsController::beginDrag() {
  displacementPosition_ = 0;
  saveOrigins();
  removeBounces();
  if (auto left2 = viewAtLeft2()) {
    const long i = indexOfPanel(left2);
    if (i >= 1) showPanel(panelAt(i - 1));
  }
  arrangeVerticalBar();
}

void StackedPanelsController::saveOrigins() {
  if (auto right = viewAtRight()) positionOfViewAtRightAtTouchBegan_ = right->frame().origin;
  if (auto left = viewAtLeft()) positionOfViewAtLeftAtTouchBegan_ = left->frame().origin;
}

void StackedPanelsController::removeBounces() {
  for (const auto& panel : {viewAtLeft(), viewAtRight(), viewAtRight2(), viewAtLeft2()}) {
    if (panel) panel->layer()->removeAllAnimations();
  }
}

void StackedPanelsController::shiftWindowLeftward(double tx) {
  auto oldRight = viewAtRight();
  auto next = viewAtRight2();
  if (!next) next = panelAt(indexOfPanel(oldRight) + 1);
  if (!next) return;
  viewAtLeft2_ = viewAtLeft_;
  viewAtLeft_ = oldRight;
  showPanel(next);
  viewAtRight_ = next;
  if (auto after = panelAt(indexOfPanel(next) + 1)) {
    viewAtRight2_ = after;
  } else {
    viewAtRight2_ = next;
  }
  saveOrigins();
  displacementPosition_ = -tx;
  const long leftIndex = indexOfPanel(oldRight);
  if (leftIndex >= 2) panelAt(leftIndex - 2)->setHidden(true);
}

void StackedPanelsController::moveLeftward(double tx) {
  auto left = viewAtLeft();
  if (!left) return;
  const double stop = leftStop(), width = containerWidth();
  if (!viewAtRight()) {
    movePanelTo(left, positionOfViewAtLeftAtTouchBegan_.x + tx + displacementPosition_);
    return;
  }
  if (panelX(left) <= stop && !isLastPanel(viewAtRight())) {
    shiftWindowLeftward(tx);
    left = viewAtLeft();
  }
  auto right = viewAtRight();
  const double xl = positionOfViewAtLeftAtTouchBegan_.x + tx + displacementPosition_;
  const double xr = positionOfViewAtRightAtTouchBegan_.x + tx + displacementPosition_;
  const double rightAligned = width - panelWidth(right);
  if (panelX(left) == stop && right->frame().maxX() > width) {
    movePanelTo(right, std::max(xr, rightAligned));
  } else if (isLastPanel(right) && panelX(right) <= rightAligned) {
    movePanelTo(right, std::max(xr, stop));
  } else {
    const double x = xl <= stop ? stop : xl;
    movePanelTo(left, x);
    movePanelTo(right, x + panelWidth(left));
    if (xl <= stop) {
      positionOfViewAtLeftAtTouchBegan_ = {stop, left->frame().origin.y};
      positionOfViewAtRightAtTouchBegan_ = {stop + panelWidth(left), right->frame().origin.y};
      displacementPosition_ = -tx;
    }
  }
}

void StackedPanelsController::shiftWindowRightward(double tx) {
  auto oldLeft = viewAtLeft();
  auto under = viewAtLeft2();
  if (!under) under = panelAt(indexOfPanel(oldLeft) - 1);
  if (!under) return;
  auto oldRight = viewAtRight();
  oldRight->setHidden(true);
  viewAtRight2_ = oldRight;
  viewAtRight_ = oldLeft;
  viewAtLeft_ = under;
  if (!isFirstPanel(under)) {
    auto below = panelAt(indexOfPanel(under) - 1);
    showPanel(below);
    viewAtLeft2_ = below;
  } else {
    viewAtLeft2_ = under;
  }
  saveOrigins();
  displacementPosition_ = tx;
}

void StackedPanelsController::moveRightward(double tx) {
  auto left = viewAtLeft();
  if (!left) return;
  const double stop = leftStop(), width = containerWidth();
  if (auto right = viewAtRight(); right && panelX(right) >= width && !isFirstPanel(left)) {
    shiftWindowRightward(tx);
    left = viewAtLeft();
  }
  auto right = viewAtRight();
  if (!right) {
    movePanelTo(left, positionOfViewAtLeftAtTouchBegan_.x + tx - displacementPosition_);
    return;
  }
  const double xr = positionOfViewAtRightAtTouchBegan_.x + tx - displacementPosition_;
  const double leftEdge = panelX(left) + panelWidth(left);
  if (panelX(right) < leftEdge && panelX(left) == stop) {
    movePanelTo(right, std::min(xr, leftEdge));
  } else if (!isFirstPanel(left) && xr >= width) {
    movePanelTo(right, width);
    movePanelTo(left, std::max(width - panelWidth(left), stop));
    positionOfViewAtRightAtTouchBegan_ = {width, right->frame().origin.y};
    positionOfViewAtLeftAtTouchBegan_ = left->frame().origin;
    displacementPosition_ = tx;
  } else {
    movePanelTo(right, xr);
    movePanelTo(left, std::max(xr - panelWidth(left), stop));
  }
}

// Snapping and bouncing.

void StackedPanelsController::endDrag() {
  if (dragDirection_ == "LEFT") {
    snapLeftward();
  } else if (dragDirection_ == "RIGHT") {
    snapRightward();
  }
  lastTouchPoint_ = -1;
  dragDirection_.clear();
}

void StackedPanelsController::beginSnap(const std::string& animationID) {
  pf::View::beginAnimations(animationID, nullptr);
  pf::View::setAnimationDuration(kSlideDuration);
  pf::View::setAnimationBeginsFromCurrentState(true);
  if (animationID.empty()) return;
  pf::View::setAnimationDelegate(weak_from_this());
  std::weak_ptr<StackedPanelsController> weak = sharedAs<StackedPanelsController>();
  pf::View::setAnimationDidStopSelector([weak](const std::string& id, bool finished, void*) {
    if (auto container = weak.lock()) container->bounceBack(id, finished);
  });
}

void StackedPanelsController::snapLeftward() {
  auto left = viewAtLeft(), right = viewAtRight(), right2 = viewAtRight2();
  if (!left) return;
  const double stop = leftStop(), width = containerWidth();
  if (!right) {
    beginSnap("");
    movePanelTo(left, 0);
    return pf::View::commitAnimations();
  }
  if (isFirstPanel(left) && panelX(left) != stop && panelX(left) != 0) {
    if (panelX(left) > 0) return returnFirstPanel();
    beginSnap("");
    movePanelTo(left, stop);
    movePanelTo(right, stop + panelWidth(left));
    return pf::View::commitAnimations();
  }
  const double rightAligned = width - panelWidth(right);
  const double rightEdge = right->frame().maxX();
  if (panelX(left) == stop) {
    if (rightEdge == width) return;
    beginSnap(rightEdge > width ? "" : kRightWithRight);
    movePanelTo(right, rightAligned);
    return pf::View::commitAnimations();
  }
  if (panelX(left) < stop) return;
  if (left->frame().maxX() > width && panelX(left) < width - panelWidth(left) / 2) {
    beginSnap(kLeftWithLeft);
    movePanelTo(left, width - panelWidth(left));
    movePanelTo(right, width);
    return pf::View::commitAnimations();
  }
  beginSnap(kLeftWithRight);
  movePanelTo(left, stop);
  const bool leftStartedFar = positionOfViewAtLeftAtTouchBegan_.x + panelWidth(left) > width;
  movePanelTo(right, leftStartedFar ? stop + panelWidth(left) : rightAligned);
  if (right2 && right2 != right) movePanelTo(right2, panelX(right) + panelWidth(right));
  pf::View::commitAnimations();
}

void StackedPanelsController::snapRightward() {
  auto left = viewAtLeft(), right = viewAtRight(), left2 = viewAtLeft2();
  if (!left) return;
  const double stop = leftStop(), width = containerWidth();
  if (isFirstPanel(left) && panelX(left) != stop && panelX(left) != 0) {
    if (panelX(left) > stop || !right) return returnFirstPanel();
    beginSnap("");
    movePanelTo(left, stop);
    movePanelTo(right, stop + panelWidth(left));
    return pf::View::commitAnimations();
  }
  if (!right || panelX(right) >= width) return;
  if (panelX(right) < panelX(left) + panelWidth(left) && panelX(right) < width - panelWidth(right) / 2) {
    beginSnap(kRightWithRight);
    movePanelTo(right, stop + panelWidth(left));
    return pf::View::commitAnimations();
  }
  beginSnap(kRightWithLeft);
  if (isFirstPanel(left)) {
    movePanelTo(left, stop);
    movePanelTo(right, stop + panelWidth(left));
  } else {
    const bool rightStartedInside = positionOfViewAtRightAtTouchBegan_.x + panelWidth(right) <= width;
    const double under = left2 && left2 != left ? panelWidth(left2) : panelWidth(left);
    movePanelTo(left, rightStartedInside ? width - panelWidth(left) : stop + under);
    movePanelTo(right, width);
  }
  pf::View::commitAnimations();
}

void StackedPanelsController::returnFirstPanel() {
  auto first = panelAt(0);
  if (!first) return;
  const double width = containerWidth();
  if (panelX(first) + kFirstPanelReturn >= view()->frame().origin.x + panelWidth(first)) {
    if (stack_.size() >= 2) {
      const size_t count = stack_.size();
      for (size_t i = 1; i < count; ++i) {
        if (auto panel = panelWithTag(static_cast<int>(i))) {
          viewXPosition_ = width - panelWidth(panel);
          panel->removeFromSuperview();
        }
        stack_.pop_back();
      }
      hideLines();
    }
    for (const auto& subview : first->subviews()) {
      auto table = std::dynamic_pointer_cast<pf::TableView>(subview);
      if (!table) continue;
      if (auto selected = table->indexPathForSelectedRow()) {
        table->reloadRowsAtIndexPaths({*selected}, pf::TableView::RowAnimation::None);
      }
    }
    viewAtLeft2_.reset();
    viewAtRight_.reset();
    viewAtRight2_.reset();
  }
  beginSnap("");
  movePanelTo(first, 0);
  if (auto right = viewAtRight()) movePanelTo(right, panelWidth(first));
  pf::View::commitAnimations();
}

void StackedPanelsController::bounce(const std::shared_ptr<pf::View>& view, double distance,
                                     const std::string& key) {
  if (!view) return;
  auto animation = pf::BasicAnimation::make("position.x");
  animation->duration = kSlideDuration;
  const double x = view->center().x;
  animation->fromValue = x;
  animation->toValue = x + distance;
  animation->repeatCount = 0;
  animation->autoreverses = true;
  animation->fillMode = pf::Animation::FillMode::Backwards;
  animation->removedOnCompletion = true;
  view->layer()->addAnimation(animation, key);
}

void StackedPanelsController::bounceBack(const std::string& animationID, bool finished) {
  auto left = viewAtLeft(), right = viewAtRight(), left2 = viewAtLeft2(), right2 = viewAtRight2();
  const double stop = leftStop();
  if (dragDirection_.empty() && finished) {
    removeBounces();
    if (animationID == kLeftWithLeft && left2 && panelX(left2) == stop) {
      bounce(left, -10, "bounceAnimation");
      showPanel(right);
      bounce(right, -20, "bounceAnimationRight");
    } else if (animationID == kLeftWithRight && left && panelX(left) == stop) {
      bounce(right, -10, "bounceAnimation");
      showPanel(right2);
      bounce(right2, -20, "bounceAnimationRight2");
    } else if (animationID == kRightWithRight) {
      bounce(left, 10, "bounceAnimationLeft");
      bounce(right, 10, "bounceAnimationRight");
    } else if (animationID == kRightWithLeft) {
      bounce(left, 10, "bounceAnimationLeft");
      if (left2) {
        showPanel(left2);
        if (indexOfPanel(left2) >= 1) showPanel(panelAt(indexOfPanel(left2) - 1));
        bounce(left2, 10, "bounceAnimationviewAtLeft2");
        std::weak_ptr<StackedPanelsController> weak = sharedAs<StackedPanelsController>();
        pf::DispatchQueue::main()->after(kArrangeDelay, [weak] {
          if (auto container = weak.lock()) container->callArrangeVerticalBar();
        });
      }
    }
  }
  arrangeVerticalBar();
  if (animationID == kRightWithLeft && left2 && indexOfPanel(left2) == 1) {
    if (auto grey = line(2)) grey->setHidden(true);
  }
}
