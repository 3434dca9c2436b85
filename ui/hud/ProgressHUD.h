#pragma once
// The busy overlay: a transparent view over its host (or a window) drawing a dark rounded box in the
// middle with an indicator (spinner, pie or ring progress, or a custom view), a one-line label and a
// multi-line details label. It fades or zooms in and out over 0.3 s, can wait a grace time before
// showing and stay a minimum time once shown, can run work on a queue or thread while shown and
// hide itself after, and then tells its delegate and its completion block that it has gone.
//
// A show cancels any hide still pending (a delayed hide, the minimum-show wait, a hide animation),
// and a hide cancels a pending grace show, so a reused overlay is never hidden by an old timer.
// A transform set by the caller (a player turned to landscape) is kept through showing, hiding and
// rotation; on a window the overlay turns with the status bar instead.
//
// Threads: views and timers on the main thread. Property setters work from any thread; what they
// change on screen is applied on the main thread.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/text/Font.h"
#include "platform/ui/View.h"

namespace pf {
class DispatchQueue;
class Label;
class Timer;
class Window;
}  // namespace pf

class ProgressHUD;

class ProgressHUDDelegate {
 public:
  virtual ~ProgressHUDDelegate() = default;
  // The overlay has gone (after its hide animation).
  virtual void hudWasHidden(ProgressHUD& hud) { (void)hud; }
};

class ProgressHUD : public pf::View {
  PF_OBJECT(ProgressHUD, pf::View)

  // Indicator kinds.
  enum Mode : int { kIndeterminate = 0, kDeterminate = 1, kAnnularDeterminate = 2, kCustomView = 3, kText = 4 };
  // Show and hide animations.
  enum AnimationType : int { kFade = 0, kZoomOut = 1, kZoomIn = 2 };
  static constexpr double kAnimationDuration = 0.3;
  static constexpr double kPadding = 4;
  static constexpr double kCornerRadius = 10;

  using Block = std::function<void()>;

  ProgressHUD();
  explicit ProgressHUD(const pf::Rect& frame);
  ~ProgressHUD() override;

  // An overlay of the view's bounds (not yet added); a nil view logs "View must not be nil." and
  // gives an overlay of an empty frame.
  static std::shared_ptr<ProgressHUD> initWithView(const std::shared_ptr<pf::View>& view);
  static std::shared_ptr<ProgressHUD> initWithWindow(const std::shared_ptr<pf::Window>& window);

  // Adds a new overlay as the view's topmost subview and shows it.
  static std::shared_ptr<ProgressHUD> showHUDAddedTo(const std::shared_ptr<pf::View>& view, bool animated);
  // The topmost overlay among the view's subviews, or nullptr.
  static std::shared_ptr<ProgressHUD> HUDForView(const pf::View& view);
  static std::vector<std::shared_ptr<ProgressHUD>> allHUDsForView(const pf::View& view);
  // Hides the topmost overlay, removing it when hidden; false when there is none.
  static bool hideHUDForView(const pf::View& view, bool animated);
  // Hides every overlay of the view, removing each; answers how many there were.
  static size_t hideAllHUDsForView(const pf::View& view, bool animated);

  void show(bool animated);
  void hide(bool animated);
  void hide(bool animated, double afterDelay);

  // Runs the method on a new thread while shown, holding target and object until it ends, then hides.
  void showWhileExecuting(Block method, std::shared_ptr<void> onTarget, std::shared_ptr<void> withObject,
                          bool animated);
  // Runs the block on the queue (the default global queue) while shown; then, on the main queue,
  // hides and runs the completion block once the overlay has gone.
  void showAnimated(bool animated, Block whileExecutingBlock);
  void showAnimated(bool animated, Block whileExecutingBlock, Block completionBlock);
  void showAnimated(bool animated, Block whileExecutingBlock, std::shared_ptr<pf::DispatchQueue> onQueue);
  void showAnimated(bool animated, Block whileExecutingBlock, std::shared_ptr<pf::DispatchQueue> onQueue,
                    Block completionBlock);

  // Properties.
  int mode() const;
  void setMode(int mode);
  int animationType() const;
  void setAnimationType(int type);
  std::shared_ptr<pf::View> customView() const;
  void setCustomView(std::shared_ptr<pf::View> view);
  std::shared_ptr<ProgressHUDDelegate> delegate() const;
  void setDelegate(std::weak_ptr<ProgressHUDDelegate> delegate);
  std::optional<std::string> labelText() const;
  void setLabelText(std::optional<std::string> text);
  std::optional<std::string> detailsLabelText() const;
  void setDetailsLabelText(std::optional<std::string> text);
  float opacity() const;
  void setOpacity(float opacity);
  std::optional<pf::Color> color() const;
  void setColor(std::optional<pf::Color> color);
  std::shared_ptr<const pf::Font> labelFont() const;
  void setLabelFont(std::shared_ptr<const pf::Font> font);
  std::shared_ptr<const pf::Font> detailsLabelFont() const;
  void setDetailsLabelFont(std::shared_ptr<const pf::Font> font);
  float xOffset() const;
  void setXOffset(float offset);
  float yOffset() const;
  void setYOffset(float offset);
  float margin() const;
  void setMargin(float margin);
  bool dimBackground() const;
  void setDimBackground(bool dim);
  float graceTime() const;
  void setGraceTime(float seconds);
  float minShowTime() const;
  void setMinShowTime(float seconds);
  bool taskInProgress() const;
  void setTaskInProgress(bool inProgress);
  bool removeFromSuperViewOnHide() const;
  void setRemoveFromSuperViewOnHide(bool remove);
  float progress() const;
  void setProgress(float progress);
  pf::Size minSize() const;
  void setMinSize(pf::Size size);
  bool isSquare() const;
  void setSquare(bool square);
  Block completionBlock() const;
  void setCompletionBlock(Block block);

  // What layout and drawing use, for callers that look.
  const std::shared_ptr<pf::View>& indicator() const { return indicator_; }
  const std::shared_ptr<pf::Label>& label() const { return label_; }
  const std::shared_ptr<pf::Label>& detailsLabel() const { return detailsLabel_; }
  // The box's size from the last layout.
  pf::Size size() const { return size_; }
  // Where the box is drawn in the bounds.
  pf::Rect boxRect() const;
  bool isShowing() const { return showStarted_.has_value(); }

  // A caller's transform; the overlay turns and zooms about it.
  void setTransform(const pf::AffineTransform& transform) override;
  void layoutSubviews() override;
  void drawRect(const pf::Rect& rect) override;
  void didMoveToSuperview() override;

 private:
  void showUsingAnimation(bool animated);
  void hideUsingAnimation(bool animated);
  void done();
  void cleanUp();
  void updateIndicators();
  // Labels first, the indicator above them; views can take subviews only once owned.
  void attachSubviews();
  void applyObservedChange(const std::string& key);
  // Runs the view update now on the main thread, else later on the main queue while the overlay lives.
  void onMain(const std::string& key);
  void cancelPendingHides();
  void cancelGraceShow();
  void fitToSuperview();
  void setTransformForCurrentOrientation(bool animated);
  void deviceOrientationDidChange();
  void applyTransform(const pf::AffineTransform& transform);

  // A property read or written under the lock.
  template <typename T>
  T locked(const T& field) const {
    std::lock_guard guard(lock_);
    return field;
  }
  template <typename T, typename V>
  void store(T& field, V&& value) {
    std::lock_guard guard(lock_);
    field = std::forward<V>(value);
  }

  // Properties, any thread.
  mutable std::mutex lock_;
  int mode_ = kIndeterminate;
  int animationType_ = kFade;
  std::shared_ptr<pf::View> customView_;
  std::weak_ptr<ProgressHUDDelegate> delegate_;
  std::optional<std::string> labelText_;
  std::optional<std::string> detailsLabelText_;
  float opacity_ = 0.8f;
  std::optional<pf::Color> color_;
  std::shared_ptr<const pf::Font> labelFont_;
  std::shared_ptr<const pf::Font> detailsLabelFont_;
  float xOffset_ = 0;
  float yOffset_ = 0;
  float margin_ = 20;
  bool dimBackground_ = false;
  float graceTime_ = 0;
  float minShowTime_ = 0;
  bool taskInProgress_ = false;
  bool removeFromSuperViewOnHide_ = false;
  float progress_ = 0;
  pf::Size minSize_;
  bool square_ = false;
  Block completionBlock_;

  // Main thread.
  std::shared_ptr<pf::View> indicator_;
  std::shared_ptr<pf::Label> label_;
  std::shared_ptr<pf::Label> detailsLabel_;
  std::shared_ptr<pf::Timer> graceTimer_;
  std::shared_ptr<pf::Timer> minShowTimer_;
  std::vector<std::shared_ptr<pf::Timer>> delayedHides_;
  std::optional<double> showStarted_;
  pf::Size size_;
  bool useAnimation_ = false;
  // Counts shows, so a hide animation that a show overtook does not finish.
  unsigned showCount_ = 0;
  std::shared_ptr<void> targetForExecution_;
  std::shared_ptr<void> objectForExecution_;
  pf::AffineTransform rotationTransform_;
  pf::NotificationCenter::Observation orientationObservation_;
};
