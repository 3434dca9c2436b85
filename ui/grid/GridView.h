#pragma once
// A scrolling grid of equally sized items. It asks its data source for the count, the size and a cell
// per item, places the cells where its layout strategy says, keeps as subviews only the cells of the
// strategy's range near the visible area (three pages when paged) and recycles the others through a
// reuse queue. It reports taps and scrolling to its action delegate, offers single-item insertion,
// removal, reload and exchange, and hosts three interactive modes: edit mode with delete buttons,
// long-press sorting (push or swap, scrolling by itself near the edges) and two-finger transformation
// that opens an item's full-size view.
//
// An item cell is a subview whose tag is its position + 50; a tag below 50 marks a cell on its way out.
// Delegates and the data source are weak links. Main thread only; views made with std::make_shared.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/EdgeInsets.h"
#include "platform/ui/Application.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ScrollView.h"
#include "ui/grid/GridViewLayoutStrategy.h"

namespace pf {
class LongPressGestureRecognizer;
class PanGestureRecognizer;
class PinchGestureRecognizer;
class RotationGestureRecognizer;
class TapGestureRecognizer;
class Timer;
}  // namespace pf
class GridViewActionDelegate;
class GridViewCell;
class GridViewDataSource;
class GridViewSortingDelegate;
class GridViewTransformationDelegate;

// Bits of an item change: fade the cells, scroll the item into view first.
enum GridItemAnimation : unsigned {
  kGridItemAnimationNone = 0,
  kGridItemAnimationFade = 1 << 0,
  kGridItemAnimationScroll = 1 << 7,
};
constexpr GridItemAnimation operator|(GridItemAnimation a, GridItemAnimation b) {
  return GridItemAnimation(unsigned(a) | unsigned(b));
}

enum class GridViewScrollPosition { None = 0, Top = 1, Middle = 2, Bottom = 3 };

class GridView : public pf::ScrollView, public pf::GestureRecognizerDelegate {
 public:
  static constexpr int kItemTagOffset = 50;
  static constexpr int kLeavingTag = 49;
  static constexpr long kInvalidPosition = -1;
  static constexpr double kDefaultAnimationDuration = 0.3;
  static constexpr unsigned kDefaultAnimationOptions =
      pf::View::kAnimationAllowUserInteraction | pf::View::kAnimationBeginFromCurrentState;
  static constexpr double kRotationFadeDuration = 0.25;
  static constexpr char kRotationAnimationKey[] = "rotationAnimation";
  static constexpr double kAutoScrollPollInterval = 0.5;
  static constexpr double kTransformFinishDelay = 0.1;
  // Sorting styles: push makes room, any other value swaps.
  static constexpr long kStylePush = 0;
  static constexpr long kStyleSwap = 1;

  GridView();
  explicit GridView(const pf::Rect& frame);
  ~GridView() override;

  // Setting the data source reloads the grid.
  std::shared_ptr<GridViewDataSource> dataSource() const { return dataSource_.lock(); }
  void setDataSource(std::weak_ptr<GridViewDataSource> dataSource);
  std::shared_ptr<GridViewActionDelegate> actionDelegate() const { return actionDelegate_.lock(); }
  void setActionDelegate(std::weak_ptr<GridViewActionDelegate> delegate) { actionDelegate_ = std::move(delegate); }
  std::shared_ptr<GridViewSortingDelegate> sortingDelegate() const { return sortingDelegate_.lock(); }
  void setSortingDelegate(std::weak_ptr<GridViewSortingDelegate> delegate) { sortingDelegate_ = std::move(delegate); }
  std::shared_ptr<GridViewTransformationDelegate> transformDelegate() const { return transformDelegate_.lock(); }
  void setTransformDelegate(std::weak_ptr<GridViewTransformationDelegate> delegate) {
    transformDelegate_ = std::move(delegate);
  }
  // Setting one switches paging as the strategy requires and marks the grid for layout.
  const std::shared_ptr<GridViewLayoutStrategy>& layoutStrategy() const { return layoutStrategy_; }
  void setLayoutStrategy(std::shared_ptr<GridViewLayoutStrategy> strategy);

  long style() const { return style_; }
  void setStyle(long style) { style_ = style; }
  long itemSpacing() const { return itemSpacing_; }
  void setItemSpacing(long spacing);
  bool centerGrid() const { return centerGrid_; }
  void setCenterGrid(bool center);
  const pf::EdgeInsets& minEdgeInsets() const { return minEdgeInsets_; }
  void setMinEdgeInsets(const pf::EdgeInsets& insets);
  double minimumPressDuration() const;
  void setMinimumPressDuration(double seconds);
  bool showFullSizeViewWithAlphaWhenTransforming() const { return showFullSizeWithAlpha_; }
  void setShowFullSizeViewWithAlphaWhenTransforming(bool show) { showFullSizeWithAlpha_ = show; }
  bool enableEditOnLongPress() const { return enableEditOnLongPress_; }
  void setEnableEditOnLongPress(bool enable) { enableEditOnLongPress_ = enable; }
  bool disableEditOnEmptySpaceTap() const { return disableEditOnEmptySpaceTap_; }
  void setDisableEditOnEmptySpaceTap(bool disable) { disableEditOnEmptySpaceTap_ = disable; }
  // The view that hosts a lifted or transformed cell; the grid itself unless set.
  std::shared_ptr<pf::View> mainSuperView();
  void setMainSuperView(const std::shared_ptr<pf::View>& view) { mainSuperView_ = view; }
  GridView& scrollView() { return *this; }
  bool itemsSubviewsCacheIsValid() const { return itemsSubviewsCacheIsValid_; }
  long firstPositionLoaded() const { return firstPositionLoaded_; }
  long lastPositionLoaded() const { return lastPositionLoaded_; }
  long numberTotalItems() const { return numberTotalItems_; }
  pf::Size itemSize() const { return itemSize_; }

  // Edit mode needs an action delegate that takes delete requests; setEditing(flag) tells the
  // delegate of the requested flag even when nothing changed.
  bool isEditing() const { return editing_; }
  void setEditing(bool editing);
  void setEditing(bool editing, bool animated);
  bool isInTransformingState() const { return transformingCell_ != nullptr; }
  bool isInFullSizeMode() const { return inFullSizeMode_; }
  const std::shared_ptr<GridViewCell>& movingCell() const { return movingCell_; }
  const std::shared_ptr<GridViewCell>& transformingCell() const { return transformingCell_; }

  // Drops every item cell and rebuilds from the data source, keeping the offset where still possible.
  void reloadData();
  std::shared_ptr<GridViewCell> dequeueReusableCell();
  std::shared_ptr<GridViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
  std::shared_ptr<GridViewCell> cellForItemAtIndex(long index);

  // Single-item changes after the caller changed its model. Animated: scroll to the item (insert,
  // reload, swap); removal never fades or scrolls when only animated. An invalid index throws
  // ContractViolation.
  void reloadObjectAtIndex(long index, bool animated);
  void reloadObjectAtIndex(long index, GridItemAnimation animation);
  void insertObjectAtIndex(long index, bool animated);
  void insertObjectAtIndex(long index, GridItemAnimation animation);
  void removeObjectAtIndex(long index, bool animated);
  void removeObjectAtIndex(long index, GridItemAnimation animation);
  void swapObjectAtIndex(long index1, long index2, bool animated);
  void swapObjectAtIndex(long index1, long index2, GridItemAnimation animation);
  void scrollToObjectAtIndex(long index, GridViewScrollPosition position, bool animated);

  // The steps of layout and loading.
  void layoutSubviewsWithAnimation(GridItemAnimation animation);
  void recomputeSizeAnimated(bool animated);
  void relayoutItemsAnimated(bool animated);
  void loadRequiredItems();
  void cleanupUnseenItems();
  std::shared_ptr<GridViewCell> newItemSubViewForPosition(long position);
  void queueReusableCell(const std::shared_ptr<GridViewCell>& cell);
  std::vector<std::shared_ptr<GridViewCell>> itemSubviews();
  void setSubviewsCacheAsInvalid() { itemsSubviewsCacheIsValid_ = false; }
  long positionForItemSubview(const pf::View& view) const;
  pf::Rect rectForPoint(pf::Point point, bool inPaggingMode) const;
  static void applyWithoutAnimation(const std::function<void()>& block);
  // Moves the content and loads what came into range.
  using ScrollView::contentOffset;
  void contentOffset(pf::Point offset);

  // Sorting and transformation steps, in grid coordinates.
  void sortingMoveDidStartAtPoint(pf::Point point);
  void sortingMoveDidContinueToPoint(pf::Point point);
  void sortingMoveDidStopAtPoint(pf::Point point);
  void sortingAutoScrollMovementCheck();
  void transformingGestureDidBeginWithGesture(pf::GestureRecognizer& gesture);
  void transformingGestureDidFinish();

  // The recognisers the grid adds (made once it is in a window).
  const std::shared_ptr<pf::TapGestureRecognizer>& tapGesture() const { return tapGesture_; }
  const std::shared_ptr<pf::LongPressGestureRecognizer>& longPressGesture() const { return longPressGesture_; }
  const std::shared_ptr<pf::PanGestureRecognizer>& sortingPanGesture() const { return sortingPanGesture_; }
  const std::shared_ptr<pf::PinchGestureRecognizer>& pinchGesture() const { return pinchGesture_; }

  void layoutSubviews() override;

  // GestureRecognizerDelegate.
  std::optional<bool> gestureRecognizerShouldBegin(pf::GestureRecognizer& recognizer) override;
  std::optional<bool> shouldRecognizeSimultaneously(pf::GestureRecognizer& recognizer,
                                                    pf::GestureRecognizer& other) override;

 protected:
  void didScroll() override;
  void didMoveToWindow() override;

 private:
  void ensureGridRecognizers();
  void observeApplication();
  void receivedMemoryWarningNotification();
  void receivedWillRotateNotification();
  bool isScrolling() const;
  bool isDeletable(long position);
  std::function<void(GridViewCell&)> makeDeleteBlock();
  pf::Application::InterfaceOrientation currentOrientation() const;
  long itemAt(pf::Point point) const;
  pf::Point originOf(long position) const;
  void rotateLayout();
  void retag(GridViewCell& cell, long position);

  void tapGestureUpdated(pf::GestureRecognizer& gesture);
  void longPressGestureUpdated(pf::GestureRecognizer& gesture);
  void sortingPanGestureUpdated(pf::GestureRecognizer& gesture);
  void pinchGestureUpdated(pf::GestureRecognizer& gesture);
  void rotationGestureUpdated(pf::GestureRecognizer& gesture);
  void panGestureUpdated(pf::GestureRecognizer& gesture);
  void scheduleTransformFinish();
  void scheduleAutoScrollCheck();
  void enterFullSize(GridViewCell& cell);
  void returnToGrid(const std::shared_ptr<GridViewCell>& cell);
  void moveTransformRecognizersTo(pf::View& view);

  std::weak_ptr<GridViewDataSource> dataSource_;
  std::weak_ptr<GridViewActionDelegate> actionDelegate_;
  std::weak_ptr<GridViewSortingDelegate> sortingDelegate_;
  std::weak_ptr<GridViewTransformationDelegate> transformDelegate_;
  std::shared_ptr<GridViewLayoutStrategy> layoutStrategy_;
  std::weak_ptr<pf::View> mainSuperView_;

  std::shared_ptr<pf::TapGestureRecognizer> tapGesture_;
  std::shared_ptr<pf::PinchGestureRecognizer> pinchGesture_;
  std::shared_ptr<pf::RotationGestureRecognizer> rotationGesture_;
  std::shared_ptr<pf::PanGestureRecognizer> panGesture_;
  std::shared_ptr<pf::PanGestureRecognizer> sortingPanGesture_;
  std::shared_ptr<pf::LongPressGestureRecognizer> longPressGesture_;
  pf::NotificationCenter::Observation memoryWarningObservation_;
  pf::NotificationCenter::Observation rotationObservation_;
  std::shared_ptr<pf::Timer> transformFinishTimer_;
  std::shared_ptr<pf::Timer> autoScrollTimer_;

  std::unordered_set<std::shared_ptr<GridViewCell>> reusableCells_;
  std::vector<std::shared_ptr<GridViewCell>> itemSubviewsCache_;
  bool itemsSubviewsCacheIsValid_ = false;
  long firstPositionLoaded_ = 0;
  long lastPositionLoaded_ = 0;
  long numberTotalItems_ = 0;
  pf::Size itemSize_;
  pf::Point minPossibleContentOffset_;
  pf::Point maxPossibleContentOffset_;

  long style_ = kStyleSwap;
  long itemSpacing_ = 10;
  bool centerGrid_ = true;
  pf::EdgeInsets minEdgeInsets_{5, 5, 5, 5};
  double minimumPressDuration_ = 0.2;
  bool showFullSizeWithAlpha_ = true;
  bool editing_ = false;
  bool enableEditOnLongPress_ = false;
  bool disableEditOnEmptySpaceTap_ = false;
  bool rotationPending_ = false;

  std::shared_ptr<GridViewCell> movingCell_;
  long sortFuturePosition_ = kInvalidPosition;
  bool autoScrollActive_ = false;
  std::shared_ptr<GridViewCell> transformingCell_;
  double lastRotation_ = 0;
  double lastScale_ = 1.0;
  bool inFullSizeMode_ = false;
  bool inTransformingState_ = false;
};
