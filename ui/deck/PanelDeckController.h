#pragma once
// The side-panel deck: a container that shows a centre controller in a sliding view over up to four
// side controllers (left, right, top, bottom). Sliding the centre along one axis reveals one side and
// leaves a strip of the centre (the ledge) at the far edge. Sides open and close from code (plain or
// bouncing slides, toggles, switching to the opposite side) and by dragging the centre; the deck
// forwards appearance and rotation calls to its children itself, tells its delegate (and, in
// delegate mode 1, its children) of every change, and casts a shadow from the sliding view.
//
// Offsets: positive horizontal shows the left side, negative the right; positive vertical the top,
// negative the bottom; 0 is closed. Made with create(); main thread only. The deck owns its
// controllers, views and recognisers; delegates are weak, and the controllers' links back to the deck
// are weak (a controller that outlives its deck finds none).

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/graphics/Rect.h"
#include "platform/runtime/ChangeObservers.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/TimingFunction.h"
#include "platform/ui/ViewController.h"
#include "ui/deck/PanelDeckControllerDelegate.h"
#include "ui/deck/PanelDeckTypes.h"

namespace pf {
class Button;
class Class;
class Layer;
class PanGestureRecognizer;
class Path;
class View;
}  // namespace pf
class PanelDeckView;

class PanelDeckController : public pf::ViewController, public pf::GestureRecognizerDelegate {
  PF_OBJECT(PanelDeckController, pf::ViewController)

  using Controller = std::shared_ptr<pf::ViewController>;
  using ControllerBlock = std::function<void(const Controller& controller, DeckSide side)>;
  using FinishTransitionBlock = std::function<void()>;

  static constexpr double kDefaultLedge = 44;
  static constexpr double kDefaultSlideDuration = 0.3;
  static constexpr double kFlingSpeed = 500;
  static constexpr int kNotFound = -1;

  // The deck with no centre; create() sets the controllers after.
  PanelDeckController();
  ~PanelDeckController() override;
  static std::shared_ptr<PanelDeckController> create(Controller center = nullptr, Controller left = nullptr,
                                                     Controller right = nullptr, Controller top = nullptr,
                                                     Controller bottom = nullptr);

  // --- Controllers and slots.
  const Controller& centerController() const { return centerController_; }
  void setCenterController(Controller controller);
  Controller controllerForSide(unsigned side) const;
  void setController(Controller controller, unsigned side);
  Controller leftController() const { return controllerForSide(DeckSideLeft); }
  Controller rightController() const { return controllerForSide(DeckSideRight); }
  Controller topController() const { return controllerForSide(DeckSideTop); }
  Controller bottomController() const { return controllerForSide(DeckSideBottom); }
  void setLeftController(Controller c) { setController(std::move(c), DeckSideLeft); }
  void setRightController(Controller c) { setController(std::move(c), DeckSideRight); }
  void setTopController(Controller c) { setController(std::move(c), DeckSideTop); }
  void setBottomController(Controller c) { setController(std::move(c), DeckSideBottom); }
  int sideControllerCount() const;
  // The existing controllers: centre, left, right, top, bottom.
  std::vector<Controller> controllers() const;
  void doForControllers(const ControllerBlock& block) const;
  static DeckSide oppositeOfSide(unsigned side);
  static DeckOffsetOrientation orientationOfSide(unsigned side);
  // The side whose slot holds exactly this controller, else kNotFound.
  int sideForController(const pf::ViewController* controller) const;
  pf::ViewController* slidingController() const { return slidingController_.lock().get(); }
  pf::View* slidingControllerView() const;
  const std::shared_ptr<pf::View>& referenceView() const { return referenceView_; }
  void setReferenceView(std::shared_ptr<pf::View> view) { referenceView_ = std::move(view); }
  const std::shared_ptr<pf::View>& centerView() const { return centerView_; }
  void setCenterView(std::shared_ptr<pf::View> view) { centerView_ = std::move(view); }
  bool setSlidingAndReferenceViews();
  void enqueueFinishTransitionBlock(FinishTransitionBlock block, const Controller& controller);
  void finishTransitionBlocks();
  size_t pendingFinishTransitionBlocks() const { return finishBlocks_ ? finishBlocks_->size() : 0; }

  // --- Settings.
  std::weak_ptr<PanelDeckControllerDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<PanelDeckControllerDelegate> delegate) { delegate_ = std::move(delegate); }
  DeckDelegateMode delegateMode() const { return delegateMode_; }
  void setDelegateMode(unsigned mode) { delegateMode_ = static_cast<DeckDelegateMode>(mode); }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool isElastic() const { return elastic_; }
  void setElastic(bool elastic) { elastic_ = elastic; }
  DeckPanningMode panningMode() const { return panningMode_; }
  void setPanningMode(unsigned mode);
  const std::shared_ptr<pf::View>& panningView() const { return panningView_; }
  void setPanningView(std::shared_ptr<pf::View> view);
  bool panningCancelsTouchesInView() const { return panningCancelsTouchesInView_; }
  void setPanningCancelsTouchesInView(bool cancels);
  std::weak_ptr<pf::GestureRecognizerDelegate> panningGestureDelegate() const { return panningGestureDelegate_; }
  void setPanningGestureDelegate(std::weak_ptr<pf::GestureRecognizerDelegate> d) { panningGestureDelegate_ = std::move(d); }
  DeckNavigationControllerBehavior navigationControllerBehavior() const { return navigationBehavior_; }
  // Throws ContractViolation once the deck has shown.
  void setNavigationControllerBehavior(unsigned behavior);
  DeckCenterHiddenInteractivity centerhiddenInteractivity() const { return centerInteractivity_; }
  void setCenterhiddenInteractivity(unsigned interactivity);
  bool resizesCenterView() const { return resizesCenterView_; }
  void setResizesCenterView(bool resizes) { resizesCenterView_ = resizes; }
  bool automaticallyUpdateTabBarItems() const { return automaticallyUpdateTabBarItems_; }
  void setAutomaticallyUpdateTabBarItems(bool update);
  DeckSizeMode sizeMode() const { return sizeMode_; }
  void setSizeMode(unsigned mode) { sizeMode_ = static_cast<DeckSizeMode>(mode); }
  double bounceDurationFactor() const { return bounceDurationFactor_; }
  // Clamped to 0..0.99.
  void setBounceDurationFactor(double factor);
  double bounceOpenSideDurationFactor() const { return bounceOpenSideDurationFactor_; }
  void setBounceOpenSideDurationFactor(double factor) { bounceOpenSideDurationFactor_ = factor; }
  double openSlideAnimationDuration() const { return openSlideAnimationDuration_; }
  void setOpenSlideAnimationDuration(double seconds) { openSlideAnimationDuration_ = seconds; }
  double closeSlideAnimationDuration() const { return closeSlideAnimationDuration_; }
  void setCloseSlideAnimationDuration(double seconds) { closeSlideAnimationDuration_ = seconds; }
  double parallaxAmount() const { return parallaxAmount_; }
  void setParallaxAmount(double amount) { parallaxAmount_ = amount; }
  void disablePanOverViewsOfClass(const pf::Class& cls);
  void enablePanOverViewsOfClass(const pf::Class& cls);
  // True when panning over the class is disabled.
  bool canPanOverViewsOfClass(const pf::Class& cls) const;
  std::vector<const pf::Class*> viewClassesWithDisabledPan() const;

  // --- Title and tab-bar item follow the centre.
  void setTitle(std::optional<std::string> title) override;

  // --- Geometry.
  pf::Rect referenceBounds() const;
  double statusBarHeight() const;
  double relativeStatusBarHeight() const;
  pf::Rect centerViewBounds() const;
  pf::Rect sideViewBounds() const;
  double limitOffset(double offset, unsigned orientation) const;
  pf::Rect slidingRectForOffset(double offset, unsigned orientation) const;
  pf::Size slidingSizeForOffset(double offset, unsigned orientation) const;
  double ledgeOffsetForSide(unsigned side) const;
  double offset() const { return offset_; }
  DeckOffsetOrientation offsetOrientation() const { return offsetOrientation_; }
  void setSlidingFrameForOffset(double offset, bool limit, bool panning, unsigned orientation, bool animated);
  void setSlidingFrameForOffset(double offset, unsigned orientation, bool animated);
  void panToSlidingFrameForOffset(double offset, unsigned orientation, bool animated);
  void setSlidingFrameForOffset(double offset, bool limit, unsigned orientation, bool animated);
  void hideAppropriateSideViews();
  void hideControllerViewForSide(bool hide, unsigned side);

  // --- Sizes and ledges.
  void setSize(double size, unsigned side, std::function<void(bool finished)> completion = {});
  double sizeForSide(unsigned side) const;
  double sizeAsLedge(double size, unsigned side) const;
  double ledgeAsSize(double ledge, unsigned mode, unsigned side) const;
  double ledgeAsSize(double ledge, unsigned side) const { return ledgeAsSize(ledge, sizeMode_, side); }
  void setLedgeValue(double ledge, unsigned side);
  double ledge(unsigned side) const;
  void setMaxSize(double size, std::function<void(bool finished)> completion = {});
  double maxSize() const { return maxLedge_; }
  void setLeftSize(double size, std::function<void(bool)> completion = {}) { setSize(size, DeckSideLeft, std::move(completion)); }
  void setRightSize(double size, std::function<void(bool)> completion = {}) { setSize(size, DeckSideRight, std::move(completion)); }
  void setTopSize(double size, std::function<void(bool)> completion = {}) { setSize(size, DeckSideTop, std::move(completion)); }
  void setBottomSize(double size, std::function<void(bool)> completion = {}) { setSize(size, DeckSideBottom, std::move(completion)); }
  double leftSize() const { return sizeForSide(DeckSideLeft); }
  double rightSize() const { return sizeForSide(DeckSideRight); }
  double topSize() const { return sizeForSide(DeckSideTop); }
  double bottomSize() const { return sizeForSide(DeckSideBottom); }
  double leftViewSize() const { return ledgeAsSize(ledge(DeckSideLeft), DeckSizeModeView, DeckSideLeft); }
  double rightViewSize() const { return ledgeAsSize(ledge(DeckSideRight), DeckSizeModeView, DeckSideRight); }
  double topViewSize() const { return ledgeAsSize(ledge(DeckSideTop), DeckSizeModeView, DeckSideTop); }
  double bottomViewSize() const { return ledgeAsSize(ledge(DeckSideBottom), DeckSizeModeView, DeckSideBottom); }
  double leftLedgeSize() const { return ledge(DeckSideLeft); }
  double rightLedgeSize() const { return ledge(DeckSideRight); }
  double topLedgeSize() const { return ledge(DeckSideTop); }
  double bottomLedgeSize() const { return ledge(DeckSideBottom); }

  // --- State of the sides (read from the sliding view's model frame).
  bool isSideClosed(unsigned side) const;
  bool isSideOpen(unsigned side) const;
  bool isAnySideOpen() const;
  bool isSideTransitioning(unsigned side) const;
  bool checkCanOpenSide(unsigned side);
  bool checkCanCloseSide(unsigned side, bool animated);

  // --- Opening and closing. Each answers and completes with whether it succeeded.
  bool openSideView(unsigned side, bool animated, DeckCompletionBlock completion = {});
  bool openSideView(unsigned side, bool animated, double duration, DeckCompletionBlock completion);
  bool openSideView(unsigned side, double bounceOffset, double targetOffset, DeckBouncedBlock bounced,
                    DeckCompletionBlock completion);
  bool closeSideView(unsigned side, bool animated, DeckCompletionBlock completion = {});
  bool closeSideView(unsigned side, bool animated, double duration, DeckCompletionBlock completion);
  bool closeSideView(unsigned side, double bounceOffset, DeckBouncedBlock bounced, DeckCompletionBlock completion);
  bool toggleSideView(unsigned side, bool animated = true, DeckCompletionBlock completion = {});
  bool openSideViewBouncing(unsigned side, DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool closeSideViewBouncing(unsigned side, DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool toggleLeftView(bool animated = true, DeckCompletionBlock completion = {});
  bool openLeftView(bool animated = true, DeckCompletionBlock completion = {});
  bool closeLeftView(bool animated = true, DeckCompletionBlock completion = {});
  bool closeLeftView(bool animated, double duration, DeckCompletionBlock completion);
  bool openLeftViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool closeLeftViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool toggleRightView(bool animated = true, DeckCompletionBlock completion = {});
  bool openRightView(bool animated = true, DeckCompletionBlock completion = {});
  bool closeRightView(bool animated = true, DeckCompletionBlock completion = {});
  bool openRightViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool closeRightViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool toggleTopView(bool animated = true, DeckCompletionBlock completion = {});
  bool openTopView(bool animated = true, DeckCompletionBlock completion = {});
  bool closeTopView(bool animated = true, DeckCompletionBlock completion = {});
  bool openTopViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool closeTopViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool toggleBottomView(bool animated = true, DeckCompletionBlock completion = {});
  bool openBottomView(bool animated = true, DeckCompletionBlock completion = {});
  bool closeBottomView(bool animated = true, DeckCompletionBlock completion = {});
  bool openBottomViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool closeBottomViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool toggleOpenView(bool animated = true, DeckCompletionBlock completion = {});
  bool closeOpenView(bool animated = true, DeckCompletionBlock completion = {});
  bool closeOpenView(bool animated, double duration, DeckCompletionBlock completion);
  bool closeOpenViewBouncing(DeckBouncedBlock bounced = {}, DeckCompletionBlock completion = {});
  bool canRightViewPushViewControllerOverCenterController() const;
  void rightViewPushViewControllerOverCenterController(const Controller& controller);
  double openSlideDuration(bool animated) const { return animated ? openSlideAnimationDuration_ : 0; }
  double closeSlideDuration(bool animated) const { return animated ? closeSlideAnimationDuration_ : 0; }

  // --- Preview bounce: a damped shake of the centre towards a side, without opening it.
  bool previewBounceView(unsigned side, DeckCompletionBlock completion = {});
  bool previewBounceView(unsigned side, double distance, double duration, bool callDelegate,
                         DeckCompletionBlock completion);
  bool previewBounceView(unsigned side, double distance, double duration, float numberOfBounces,
                         float dampingFactor, bool callDelegate, DeckCompletionBlock completion);
  // The layer positions of the shake; none for a side outside 1..4.
  std::optional<std::vector<double>> bouncingValuesForViewSide(unsigned side, double maximumBounce,
                                                               float numberOfBounces, float dampingFactor,
                                                               double duration) const;

  // --- Notifications (appearance step first, then the delegate under its condition).
  void notifyWillOpenSide(unsigned side, bool animated);
  void notifyDidOpenSide(unsigned side, bool animated);
  void notifyWillCloseSide(unsigned side, bool animated);
  void notifyDidCloseSide(unsigned side, bool animated);
  void notifyDidChangeOffset(double offset, unsigned orientation, bool panning);
  void notifyAppearanceForSide(unsigned side, bool animated, DeckAppearanceState from, DeckAppearanceState to);
  void transitionAppearanceFrom(DeckAppearanceState from, DeckAppearanceState to, bool animated);
  DeckAppearanceState sideAppearance(unsigned side) const;
  DeckAppearanceState viewAppearance() const { return viewAppeared_; }

  // --- Panning and the centre.
  const std::vector<std::shared_ptr<pf::PanGestureRecognizer>>& panners() const { return panners_; }
  void addPanners();
  void removePanners();
  void setNeedsAddPanners();
  bool hasActivePanner() const;
  const std::shared_ptr<pf::Button>& centerTapper() const { return centerTapper_; }
  void centerViewHidden();
  void centerViewVisible();
  void centerTapped();
  void setAccessibilityForCenterTapper();
  const std::optional<std::string>& centerTapperAccessibilityLabel() const { return tapperLabel_; }
  void setCenterTapperAccessibilityLabel(std::optional<std::string> label);
  const std::optional<std::string>& centerTapperAccessibilityHint() const { return tapperHint_; }
  void setCenterTapperAccessibilityHint(std::optional<std::string> hint);
  void disableUserInteraction();
  void enableUserInteraction();
  void setParallax();
  pf::Rect getLeftParallax() const;
  pf::Rect getRightParallax() const;
  // The finger's offset for a pan (elastic past the open offset, limited).
  double locationOfPanner(pf::PanGestureRecognizer& panner, unsigned orientation) const;

  // GestureRecognizerDelegate.
  std::optional<bool> gestureRecognizerShouldBegin(pf::GestureRecognizer& recognizer) override;
  std::optional<bool> shouldReceiveTouch(pf::GestureRecognizer& recognizer, pf::Touch& touch) override;
  std::optional<bool> shouldRecognizeSimultaneously(pf::GestureRecognizer& recognizer,
                                                    pf::GestureRecognizer& other) override;

  // --- Shadow, corners, opacity.
  bool shadowEnabled() const { return shadowEnabled_; }
  void setShadowEnabled(bool enabled, bool animated = false);
  const std::shared_ptr<pf::Layer>& shadowLayer() const { return shadowLayer_; }
  void applyShadowToSlidingViewAnimated(bool animated);
  void restoreShadowToSlidingView();
  double centerViewCornerRadius() const { return cornerRadius_; }
  void setCenterViewCornerRadius(double radius);
  void applyCenterViewCornerRadiusAnimated(bool animated);
  double centerViewOpacity() const { return centerViewOpacity_; }
  void setCenterViewOpacity(double opacity);
  void applyCenterViewOpacityIfNeeded();

  // --- View controller.
  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;
  // The centre's mask and shadow follow its size when it changed (a bar above it hid or showed).
  void viewDidLayoutSubviews() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  void didReceiveMemoryWarning() override;
  bool shouldAutomaticallyForwardAppearanceMethods() const override { return false; }
  bool shouldAutomaticallyForwardRotationMethods() const override { return false; }
  bool automaticallyForwardAppearanceAndRotationMethodsToChildViewControllers() const override { return false; }
  bool shouldAutorotate() override;
  unsigned supportedInterfaceOrientations() const override;
  Orientation preferredInterfaceOrientationForPresentation() const override;
  bool shouldAutorotateToInterfaceOrientation(Orientation orientation) override;
  void willRotateToInterfaceOrientation(Orientation orientation, double duration) override;
  void willAnimateRotationToInterfaceOrientation(Orientation orientation, double duration) override;
  void didRotateFromInterfaceOrientation(Orientation from) override;
  void arrangeViewsAfterRotation();
  void relayRotationMethod(const std::function<void(pf::ViewController& controller)>& relay);

 private:
  using Options = unsigned;
  void cleanup();
  void arrangeViews();
  void pan(pf::PanGestureRecognizer& panner);
  void pan(pf::PanGestureRecognizer& panner, unsigned orientation);
  void endPan(pf::PanGestureRecognizer& panner, double v, unsigned orientation);
  void addPanner(const std::shared_ptr<pf::View>& view);
  void addPannersIfAllPannersAreInactiveAndNeeded();
  DeckOffsetOrientation orientationOfVelocity(pf::PanGestureRecognizer& panner) const;
  double slidingPosition(unsigned orientation) const;
  double extent(unsigned orientation) const;
  bool openSideNow(unsigned side, bool animated, double duration, Options options, DeckCompletionBlock completion);
  void finishBouncingOpen(unsigned side, double bounceOffset, double targetOffset, Options options,
                          DeckBouncedBlock bounced, DeckCompletionBlock completion);
  void finishSwitch(unsigned closing, unsigned opening, double target, bool animated, DeckCompletionBlock completion);
  double bounceFactor() const;
  double openSideFactor() const;
  void observeCenter(const Controller& center);
  void observeCenterTabBarItem(const Controller& center);
  void copyCenterTabBarItem();
  void centerTabBarItemChanged(const std::string& key);
  void centerTitleChanged();
  void viewBoundsChanged();
  bool currentAnimationDuration(double& duration, std::optional<pf::TimingFunction>& timing) const;
  std::shared_ptr<pf::Path> generateCenterViewCornerRadiusPath() const;
  PanelDeckView* deckView() const;
  void sendAppearance(pf::ViewController& controller, DeckAppearanceState from, DeckAppearanceState to,
                      bool animated) const;
  void postScreenChanged() const;
  std::shared_ptr<PanelDeckController> self();

  // Delegate fan-out.
  template <typename Answer, typename Ask>
  bool checkDelegate(const Ask& ask);
  template <typename Tell>
  void performDelegate(const Tell& tell);

  Controller centerController_;
  Controller controllers_[5];
  double ledge_[5] = {0, 0, 0, 0, 0};
  DeckAppearanceState sideAppeared_[5] = {DeckAppearanceHidden, DeckAppearanceHidden, DeckAppearanceHidden,
                                          DeckAppearanceHidden, DeckAppearanceHidden};
  std::weak_ptr<pf::ViewController> slidingController_;
  std::shared_ptr<pf::View> referenceView_;
  std::shared_ptr<pf::View> centerView_;
  double offset_ = 0;
  DeckOffsetOrientation offsetOrientation_ = DeckOffsetHorizontal;
  double maxLedge_ = 0;
  DeckSizeMode sizeMode_ = DeckSizeModeLedge;
  DeckAppearanceState viewAppeared_ = DeckAppearanceHidden;
  bool viewFirstAppeared_ = false;
  pf::Size preRotationSize_;
  pf::Size preRotationCenterSize_;
  int willAppearShouldArrangeViewsAfterRotation_ = 0;
  pf::Point willAppearOffset_;
  int disabledUserInteractions_ = 0;
  std::shared_ptr<pf::Layer> shadowLayer_;
  std::set<const pf::Class*> disabledPanClasses_;
  std::vector<std::shared_ptr<pf::PanGestureRecognizer>> panners_;
  pf::Point panOrigin_;
  bool needsAddPannersIfAllPannersAreInactive_ = false;
  std::shared_ptr<pf::View> panningView_;
  std::weak_ptr<pf::GestureRecognizerDelegate> panningGestureDelegate_;
  std::shared_ptr<pf::Button> centerTapper_;
  std::optional<std::string> tapperLabel_;
  std::optional<std::string> tapperHint_;
  std::shared_ptr<std::vector<FinishTransitionBlock>> finishBlocks_;

  std::weak_ptr<PanelDeckControllerDelegate> delegate_;
  DeckDelegateMode delegateMode_ = DeckDelegateOnly;
  bool enabled_ = true;
  bool elastic_ = true;
  DeckPanningMode panningMode_ = DeckPanningFullView;
  bool panningCancelsTouchesInView_ = true;
  DeckNavigationControllerBehavior navigationBehavior_ = DeckNavigationContained;
  DeckCenterHiddenInteractivity centerInteractivity_ = DeckCenterInteractive;
  bool resizesCenterView_ = false;
  bool automaticallyUpdateTabBarItems_ = false;
  double centerViewOpacity_ = 1.0;
  double cornerRadius_ = 0;
  bool shadowEnabled_ = true;
  double bounceDurationFactor_ = 0.3;
  double bounceOpenSideDurationFactor_ = 0;
  double openSlideAnimationDuration_ = kDefaultSlideDuration;
  double closeSlideAnimationDuration_ = kDefaultSlideDuration;
  double parallaxAmount_ = 0;

  pf::ChangeObservers::Observation centerTitleObservation_;
  std::vector<pf::ChangeObservers::Observation> tabBarObservations_;
  pf::ChangeObservers::Observation boundsObservation_;
  std::vector<pf::ChangeObservers::Observation> placementObservations_;
};
