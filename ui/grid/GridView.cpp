#include "ui/grid/GridView.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/Layer.h"
#include "platform/ui/LongPressGestureRecognizer.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/PinchGestureRecognizer.h"
#include "platform/ui/RotationGestureRecognizer.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/Transaction.h"
#include "platform/ui/Transition.h"
#include "ui/grid/GridViewActionDelegate.h"
#include "ui/grid/GridViewAdditions.h"
#include "ui/grid/GridViewCell.h"
#include "ui/grid/GridViewDataSource.h"
#include "ui/grid/GridViewLayoutStrategyFactory.h"
#include "ui/grid/GridViewLayoutVerticalStrategy.h"
#include "ui/grid/GridViewSortingDelegate.h"
#include "ui/grid/GridViewTransformationDelegate.h"

namespace {

using GridGestureState = pf::GestureRecognizer::State;

bool gridGestureIsOver(GridGestureState state) {
  return state == GridGestureState::Ended || state == GridGestureState::Cancelled || state == GridGestureState::Failed;
}

bool gridHasBit(GridItemAnimation animation, GridItemAnimation bit) {
  return (unsigned(animation) & unsigned(bit)) != 0;
}

}  // namespace

GridView::GridView() : GridView(pf::Rect()) {}

GridView::GridView(const pf::Rect& frame) : ScrollView(frame) {
  layoutStrategy_ = std::make_shared<GridViewLayoutVerticalStrategy>();
  setClipsToBounds(false);
  observeApplication();
}

GridView::~GridView() {
  if (transformFinishTimer_) transformFinishTimer_->invalidate();
  if (autoScrollTimer_) autoScrollTimer_->invalidate();
}

void GridView::observeApplication() {
  auto& center = pf::NotificationCenter::defaultCenter();
  memoryWarningObservation_ =
      center.addObserver(pf::Application::kDidReceiveMemoryWarningNotification, nullptr,
                         [this](const pf::Notification&) { receivedMemoryWarningNotification(); });
  rotationObservation_ =
      center.addObserver(pf::Application::kWillChangeStatusBarOrientationNotification, nullptr,
                         [this](const pf::Notification&) { receivedWillRotateNotification(); });
}

void GridView::didMoveToWindow() {
  ScrollView::didMoveToWindow();
  ensureGridRecognizers();
}

// Made once the grid is owned by a shared pointer: the recognisers hold it weakly.
void GridView::ensureGridRecognizers() {
  if (tapGesture_) return;
  auto self = std::static_pointer_cast<GridView>(shared_from_this());
  std::weak_ptr<GridView> weak = self;
  auto target = [weak](void (GridView::*handler)(pf::GestureRecognizer&)) {
    return [weak, handler](pf::GestureRecognizer& recognizer) {
      if (auto grid = weak.lock()) ((*grid).*handler)(recognizer);
    };
  };
  std::weak_ptr<pf::GestureRecognizerDelegate> delegate = std::shared_ptr<pf::GestureRecognizerDelegate>(self);
  tapGesture_ = std::make_shared<pf::TapGestureRecognizer>();
  tapGesture_->setCancelsTouchesInView(false);
  tapGesture_->addTarget(target(&GridView::tapGestureUpdated));
  pinchGesture_ = std::make_shared<pf::PinchGestureRecognizer>();
  pinchGesture_->addTarget(target(&GridView::pinchGestureUpdated));
  rotationGesture_ = std::make_shared<pf::RotationGestureRecognizer>();
  rotationGesture_->addTarget(target(&GridView::rotationGestureUpdated));
  panGesture_ = std::make_shared<pf::PanGestureRecognizer>();
  panGesture_->setMinimumNumberOfTouches(2);
  panGesture_->setMaximumNumberOfTouches(2);
  panGesture_->addTarget(target(&GridView::panGestureUpdated));
  sortingPanGesture_ = std::make_shared<pf::PanGestureRecognizer>();
  sortingPanGesture_->addTarget(target(&GridView::sortingPanGestureUpdated));
  longPressGesture_ = std::make_shared<pf::LongPressGestureRecognizer>();
  longPressGesture_->setNumberOfTouchesRequired(1);
  longPressGesture_->setCancelsTouchesInView(false);
  longPressGesture_->setMinimumPressDuration(minimumPressDuration_);
  longPressGesture_->addTarget(target(&GridView::longPressGestureUpdated));
  for (const std::shared_ptr<pf::GestureRecognizer>& recognizer :
       std::initializer_list<std::shared_ptr<pf::GestureRecognizer>>{
           tapGesture_, pinchGesture_, rotationGesture_, panGesture_, sortingPanGesture_, longPressGesture_}) {
    recognizer->setDelegate(delegate);
    // A lifted touch goes straight to the cell: the dispatcher would keep holding it back for a
    // recogniser that already gave up and reset, leaving a name lit and a delete button pressed.
    recognizer->setDelaysTouchesEnded(false);
    addGestureRecognizer(recognizer);
  }
  // One finger scrolls, and only once a lifted item is not being dragged.
  const auto& scrollPan = panGestureRecognizer();
  scrollPan->setMaximumNumberOfTouches(1);
  scrollPan->requireGestureRecognizerToFail(sortingPanGesture_);
}

// Properties.

void GridView::setDataSource(std::weak_ptr<GridViewDataSource> dataSource) {
  dataSource_ = std::move(dataSource);
  reloadData();
}

void GridView::setLayoutStrategy(std::shared_ptr<GridViewLayoutStrategy> strategy) {
  layoutStrategy_ = std::move(strategy);
  setPagingEnabled(layoutStrategy_ && layoutStrategy_->requiresEnablingPaging());
  setNeedsLayout();
}

void GridView::setItemSpacing(long spacing) {
  itemSpacing_ = spacing;
  setNeedsLayout();
}

void GridView::setCenterGrid(bool center) {
  centerGrid_ = center;
  setNeedsLayout();
}

void GridView::setMinEdgeInsets(const pf::EdgeInsets& insets) {
  minEdgeInsets_ = insets;
  setNeedsLayout();
}

double GridView::minimumPressDuration() const {
  return longPressGesture_ ? longPressGesture_->minimumPressDuration() : minimumPressDuration_;
}

void GridView::setMinimumPressDuration(double seconds) {
  minimumPressDuration_ = seconds;
  if (longPressGesture_) longPressGesture_->setMinimumPressDuration(seconds);
}

std::shared_ptr<pf::View> GridView::mainSuperView() {
  if (auto view = mainSuperView_.lock()) return view;
  return sharedAs<pf::View>();
}

// Loading.

void GridView::reloadData() {
  const pf::Point remembered = contentOffset();
  for (const auto& cell : itemSubviews()) {
    cell->removeFromSuperview();
    queueReusableCell(cell);
  }
  firstPositionLoaded_ = lastPositionLoaded_ = kInvalidPosition;
  setSubviewsCacheAsInvalid();
  auto source = dataSource();
  numberTotalItems_ = source ? std::max(0L, source->numberOfItemsInGridView(*this)) : 0;
  itemSize_ = source ? source->sizeForItemsInInterfaceOrientation(*this, currentOrientation()) : pf::Size{};
  recomputeSizeAnimated(false);
  // The lower bound wins when the range is empty.
  const pf::Point offset{
      std::max(std::min(remembered.x, maxPossibleContentOffset_.x), minPossibleContentOffset_.x),
      std::max(std::min(remembered.y, maxPossibleContentOffset_.y), minPossibleContentOffset_.y)};
  contentOffset(offset);
  loadRequiredItems();
  setSubviewsCacheAsInvalid();
  setNeedsLayout();
}

void GridView::contentOffset(pf::Point offset) {
  const pf::Point previous = contentOffset();
  setContentOffset(offset);
  if (previous.x != offset.x || previous.y != offset.y) loadRequiredItems();
}

void GridView::didScroll() {
  loadRequiredItems();
  ScrollView::didScroll();
  if (auto delegate = actionDelegate()) delegate->GridViewDidScroll(*this);
}

void GridView::recomputeSizeAnimated(bool animated) {
  pf::Size size;
  if (layoutStrategy_) {
    layoutStrategy_->setupItemSize(itemSize_, itemSpacing_, minEdgeInsets_, centerGrid_);
    layoutStrategy_->rebaseWithItemCount(numberTotalItems_, bounds());
    size = layoutStrategy_->contentSize();
  }
  const pf::Rect b = bounds();
  minPossibleContentOffset_ = {0, 0};
  maxPossibleContentOffset_ = {size.width - b.width() + contentInset().right,
                               size.height - b.height() + contentInset().bottom};
  if (contentSize() == size) return;
  if (animated) {
    pf::View::animateWithDuration(kDefaultAnimationDuration, 0, kDefaultAnimationOptions,
                                  [this, size] { setContentSize(size); });
  } else {
    setContentSize(size);
  }
}

void GridView::layoutSubviewsWithAnimation(GridItemAnimation animation) {
  recomputeSizeAnimated(true);
  relayoutItemsAnimated(gridHasBit(animation, kGridItemAnimationFade));
  loadRequiredItems();
}

void GridView::relayoutItemsAnimated(bool animated) {
  const auto place = [this] {
    for (const auto& cell : itemSubviews()) {
      if (cell == movingCell_ || cell == transformingCell_ || cell->tag() < kItemTagOffset) continue;
      const pf::Rect frame{originOf(cell->tag() - kItemTagOffset), itemSize_};
      if (cell->frame() != frame) cell->setFrame(frame);
    }
  };
  if (animated) {
    pf::View::animateWithDuration(kDefaultAnimationDuration, 0, kDefaultAnimationOptions, place);
  } else {
    place();
  }
}

void GridView::layoutSubviews() {
  ScrollView::layoutSubviews();
  if (!rotationPending_) return layoutSubviewsWithAnimation(kGridItemAnimationNone);
  rotationPending_ = false;
  rotateLayout();
}

void GridView::rotateLayout() {
  if (auto source = dataSource()) {
    const pf::Size size = source->sizeForItemsInInterfaceOrientation(*this, currentOrientation());
    if (size != itemSize_) {
      itemSize_ = size;
      for (const auto& cell : itemSubviews()) {
        if (cell == transformingCell_) continue;
        cell->setBounds({0, 0, size.width, size.height});
        if (const auto& content = cell->contentView()) content->setFrame(cell->bounds());
      }
    }
  }
  auto cell = transformingCell_;
  auto transform = transformDelegate();
  if (cell && cell->isInFullSizeMode() && transform) {
    const pf::Size full = transform->sizeInFullSizeForCell(*this, *cell, cell->tag() - kItemTagOffset,
                                                            currentOrientation());
    if (full != cell->fullSize()) {
      const auto& view = cell->fullSizeView();
      const pf::Point center = view ? view->center() : pf::Point{};
      cell->setFullSize(full);
      if (view) view->setCenter(center);
    }
  }
  auto fade = pf::Transition::make(pf::Transition::kFade);
  fade->duration = kRotationFadeDuration;
  fade->timingFunction = pf::TimingFunction::named(pf::TimingFunction::kEaseInEaseOut);
  layer()->addAnimation(fade, kRotationAnimationKey);
  applyWithoutAnimation([this] { layoutSubviewsWithAnimation(kGridItemAnimationNone); });
  if (isPagingEnabled()) setContentOffset(rectForPoint(contentOffset(), true).origin, true);
}

void GridView::applyWithoutAnimation(const std::function<void()>& block) {
  if (!block) return;
  pf::Transaction::begin();
  pf::Transaction::setDisableActions(true);
  block();
  pf::Transaction::commit();
}

pf::Rect GridView::rectForPoint(pf::Point point, bool) const {
  if (!isPagingEnabled()) return {point, itemSize_};
  const pf::Rect b = bounds();
  const pf::EdgeInsets inset = contentInset();
  const double pageWidth = b.width() - inset.left - inset.right;
  const double pageHeight = b.height() - inset.top - inset.bottom;
  const auto page = [](double at, double size) {
    return size > 0 ? double(std::ceil(float(at / size))) : 0.0;
  };
  return {page(point.x, pageWidth) * pageWidth, page(point.y, pageHeight) * pageHeight, pageWidth, pageHeight};
}

void GridView::loadRequiredItems() {
  const GridPositionRange range =
      layoutStrategy_ ? layoutStrategy_->rangeOfPositionsInBoundsFromOffset(contentOffset()) : GridPositionRange{};
  const long oldFirst = firstPositionLoaded_;
  const long oldLength = lastPositionLoaded_ - firstPositionLoaded_;
  firstPositionLoaded_ =
      firstPositionLoaded_ == kInvalidPosition ? range.location : std::min(firstPositionLoaded_, range.location);
  lastPositionLoaded_ =
      lastPositionLoaded_ == kInvalidPosition ? range.end() : std::max(lastPositionLoaded_, range.end());
  setSubviewsCacheAsInvalid();
  cleanupUnseenItems();
  const bool force = firstPositionLoaded_ == kInvalidPosition || lastPositionLoaded_ == kInvalidPosition;
  for (long position = range.location; position < range.end(); ++position) {
    const bool wasLoaded = oldFirst != kInvalidPosition && oldFirst <= position && position < oldFirst + oldLength;
    if ((force || !wasLoaded) && position < numberTotalItems_ && !cellForItemAtIndex(position)) {
      addSubview(newItemSubViewForPosition(position));
      setSubviewsCacheAsInvalid();
    }
  }
}

void GridView::cleanupUnseenItems() {
  const GridPositionRange range =
      layoutStrategy_ ? layoutStrategy_->rangeOfPositionsInBoundsFromOffset(contentOffset()) : GridPositionRange{};
  const auto recycle = [this](long position) {
    if (auto cell = cellForItemAtIndex(position)) {
      queueReusableCell(cell);
      cell->removeFromSuperview();
      setSubviewsCacheAsInvalid();
    }
  };
  if (range.location > firstPositionLoaded_) {
    for (long position = firstPositionLoaded_; position < range.location; ++position) recycle(position);
    firstPositionLoaded_ = range.location;
    setSubviewsCacheAsInvalid();
  }
  if (range.end() < lastPositionLoaded_) {
    for (long position = range.end(); position <= lastPositionLoaded_; ++position) recycle(position);
    lastPositionLoaded_ = range.end();
    setSubviewsCacheAsInvalid();
  }
}

std::shared_ptr<GridViewCell> GridView::newItemSubViewForPosition(long position) {
  auto source = dataSource();
  std::shared_ptr<GridViewCell> cell = source ? source->cellForItemAtIndex(*this, position) : nullptr;
  if (!cell) throw pf::ContractViolation("The data source gave no cell for item " + std::to_string(position));
  const pf::Rect frame{originOf(position), itemSize_};
  applyWithoutAnimation([&] {
    cell->setFrame(frame);
    if (const auto& content = cell->contentView()) content->setFrame(cell->bounds());
  });
  cell->setTag(int(position) + kItemTagOffset);
  cell->setEditing(editing_ && isDeletable(position), false);
  cell->setDeleteBlock(makeDeleteBlock());
  return cell;
}

void GridView::queueReusableCell(const std::shared_ptr<GridViewCell>& cell) {
  if (!cell) return;
  cell->prepareForReuse();
  cell->setAlpha(1.0);
  cell->setBackgroundColor(pf::Color::clear());
  reusableCells_.insert(cell);
}

std::shared_ptr<GridViewCell> GridView::dequeueReusableCell() {
  if (reusableCells_.empty()) return nullptr;
  auto cell = *reusableCells_.begin();
  reusableCells_.erase(reusableCells_.begin());
  return cell;
}

std::shared_ptr<GridViewCell> GridView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
  for (auto it = reusableCells_.begin(); it != reusableCells_.end(); ++it) {
    if ((*it)->reuseIdentifier() != identifier) continue;
    auto cell = *it;
    reusableCells_.erase(it);
    return cell;
  }
  return nullptr;
}

std::vector<std::shared_ptr<GridViewCell>> GridView::itemSubviews() {
  if (itemsSubviewsCacheIsValid_) return itemSubviewsCache_;
  std::vector<std::shared_ptr<GridViewCell>> cells;
  for (const auto& view : subviews()) {
    if (auto cell = std::dynamic_pointer_cast<GridViewCell>(view)) cells.push_back(std::move(cell));
  }
  itemSubviewsCache_ = cells;
  itemsSubviewsCacheIsValid_ = true;
  return cells;
}

std::shared_ptr<GridViewCell> GridView::cellForItemAtIndex(long index) {
  // A negative index would find the cells on their way out.
  if (index < 0) return nullptr;
  for (const auto& cell : itemSubviews()) {
    if (cell->tag() == index + kItemTagOffset) return cell;
  }
  return nullptr;
}

long GridView::positionForItemSubview(const pf::View& view) const {
  return view.tag() >= kItemTagOffset ? view.tag() - kItemTagOffset : kInvalidPosition;
}

long GridView::itemAt(pf::Point point) const {
  return layoutStrategy_ ? layoutStrategy_->itemPositionFromLocation(point) : kInvalidPosition;
}

pf::Point GridView::originOf(long position) const {
  return layoutStrategy_ ? layoutStrategy_->originForItemAtPosition(position) : pf::Point{};
}

void GridView::retag(GridViewCell& cell, long position) {
  cell.setTag(int(position) + kItemTagOffset);
  setSubviewsCacheAsInvalid();
}

pf::Application::InterfaceOrientation GridView::currentOrientation() const {
  return pf::Application::sharedApplication().statusBarOrientation();
}

bool GridView::isScrolling() const {
  return isDragging() || isDecelerating();
}

// Single-item changes.

void GridView::scrollToObjectAtIndex(long index, GridViewScrollPosition position, bool animated) {
  index = std::clamp(index, 0L, numberTotalItems_);
  const pf::Point origin = originOf(index);
  pf::Rect target = rectForPoint(origin, isPagingEnabled());
  if (!isPagingEnabled()) {
    const double room = target.height() - itemSize_.height;
    switch (position) {
      case GridViewScrollPosition::Middle:
        target.origin.y = std::max(origin.y - std::ceil(float(room * 0.5)), 0.0);
        break;
      case GridViewScrollPosition::Bottom:
        target.origin.y = std::max(double(std::floor(float(origin.y - room))), 0.0);
        break;
      default:
        break;
    }
  }
  pf::View::animateWithDuration(animated ? kDefaultAnimationDuration : 0, 0, kDefaultAnimationOptions,
                                [this, target] { scrollRectToVisible(target, false); });
}

void GridView::reloadObjectAtIndex(long index, bool animated) {
  reloadObjectAtIndex(index, animated ? kGridItemAnimationScroll : kGridItemAnimationNone);
}

void GridView::reloadObjectAtIndex(long index, GridItemAnimation animation) {
  if (index < 0 || index >= numberTotalItems_) throw pf::ContractViolation("Invalid index");
  auto old = cellForItemAtIndex(index);
  auto cell = newItemSubViewForPosition(index);
  cell->setFrame({originOf(index), itemSize_});
  cell->setAlpha(0);
  addSubview(cell);
  if (old) old->setTag(kLeavingTag);
  const bool scroll = gridHasBit(animation, kGridItemAnimationScroll);
  pf::View::animateWithDuration(
      gridHasBit(animation, kGridItemAnimationFade) ? kDefaultAnimationDuration : 0, 0, kDefaultAnimationOptions,
      [this, scroll, index, old, cell] {
        if (scroll) scrollToObjectAtIndex(index, GridViewScrollPosition::None, false);
        if (old) old->setAlpha(0);
        cell->setAlpha(1);
      },
      [old](bool) {
        if (old) old->removeFromSuperview();
      });
  setSubviewsCacheAsInvalid();
}

void GridView::insertObjectAtIndex(long index, bool animated) {
  insertObjectAtIndex(index, animated ? kGridItemAnimationScroll : kGridItemAnimationNone);
}

void GridView::insertObjectAtIndex(long index, GridItemAnimation animation) {
  if (index < 0 || index > numberTotalItems_) throw pf::ContractViolation("Invalid index specified");
  if (firstPositionLoaded_ <= index && index <= lastPositionLoaded_) {
    auto cell = newItemSubViewForPosition(index);
    for (long i = numberTotalItems_ - 1; i >= index; --i) {
      if (auto loaded = cellForItemAtIndex(i)) retag(*loaded, i + 1);
    }
    if (gridHasBit(animation, kGridItemAnimationFade)) {
      cell->setAlpha(0);
      pf::View::animateWithDuration(kDefaultAnimationDuration, kDefaultAnimationDuration, 0,
                                    [cell] { cell->setAlpha(1.0); });
    }
    addSubview(cell);
  } else if (index < firstPositionLoaded_) {
    // The loaded cells now show the items one further on.
    for (const auto& loaded : itemSubviews()) {
      const long position = positionForItemSubview(*loaded);
      if (position >= index && loaded != movingCell_) retag(*loaded, position + 1);
    }
    ++firstPositionLoaded_;
    ++lastPositionLoaded_;
  }
  ++numberTotalItems_;
  recomputeSizeAnimated(true);
  if (gridHasBit(animation, kGridItemAnimationScroll)) {
    std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
    pf::View::animateWithDuration(
        kDefaultAnimationDuration, 0, kDefaultAnimationOptions,
        [this, index] { scrollToObjectAtIndex(index, GridViewScrollPosition::None, false); },
        [weak, animation](bool) {
          if (auto grid = weak.lock()) grid->layoutSubviewsWithAnimation(animation);
        });
  } else {
    layoutSubviewsWithAnimation(animation);
  }
  setSubviewsCacheAsInvalid();
}

void GridView::removeObjectAtIndex(long index, bool) {
  removeObjectAtIndex(index, kGridItemAnimationNone);
}

void GridView::removeObjectAtIndex(long index, GridItemAnimation animation) {
  if (index < 0 || index >= numberTotalItems_) throw pf::ContractViolation("Invalid index specified");
  auto cell = cellForItemAtIndex(index);
  for (long i = index + 1; i < numberTotalItems_; ++i) {
    if (auto loaded = cellForItemAtIndex(i)) retag(*loaded, i - 1);
  }
  if (cell) {
    cell->setTag(kLeavingTag);
    setSubviewsCacheAsInvalid();
  }
  --numberTotalItems_;
  const bool fade = gridHasBit(animation, kGridItemAnimationFade);
  const bool scroll = gridHasBit(animation, kGridItemAnimationScroll);
  std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
  pf::View::animateWithDuration(
      fade ? kDefaultAnimationDuration : 0, 0, kDefaultAnimationOptions,
      [this, cell, scroll, index] {
        if (cell) {
          if (const auto& content = cell->contentView()) content->setAlpha(0.3);
          cell->setAlpha(0);
        }
        if (scroll) scrollToObjectAtIndex(index, GridViewScrollPosition::None, false);
        recomputeSizeAnimated(true);
      },
      [weak, cell, fade](bool) {
        auto grid = weak.lock();
        if (!grid) return;
        if (cell) {
          if (const auto& content = cell->contentView()) content->setAlpha(1.0);
          grid->queueReusableCell(cell);
          cell->removeFromSuperview();
          grid->setSubviewsCacheAsInvalid();
        }
        grid->firstPositionLoaded_ = grid->lastPositionLoaded_ = kInvalidPosition;
        grid->loadRequiredItems();
        grid->relayoutItemsAnimated(fade);
      });
  setSubviewsCacheAsInvalid();
}

void GridView::swapObjectAtIndex(long index1, long index2, bool animated) {
  swapObjectAtIndex(index1, index2, animated ? kGridItemAnimationScroll : kGridItemAnimationNone);
}

void GridView::swapObjectAtIndex(long index1, long index2, GridItemAnimation animation) {
  if (index1 < 0 || index1 >= numberTotalItems_) throw pf::ContractViolation("Invalid index1 specified");
  if (index2 < 0 || index2 >= numberTotalItems_) throw pf::ContractViolation("Invalid index2 specified");
  auto view1 = cellForItemAtIndex(index1);
  auto view2 = cellForItemAtIndex(index2);
  if (!view1 || !view2) {
    // One place is out of the loaded range: moving the other cell there would leave a hole here and a
    // cell nobody cleans up there. The loaded place shows its new item instead.
    const auto fade = GridItemAnimation(unsigned(animation) & kGridItemAnimationFade);
    if (view1) reloadObjectAtIndex(index1, fade);
    if (view2) reloadObjectAtIndex(index2, fade);
    setNeedsLayout();
    return;
  }
  retag(*view1, index2);
  retag(*view2, index1);
  view1->setFrame({originOf(index2), itemSize_});
  view2->setFrame({originOf(index1), itemSize_});
  const pf::Rect visible{contentOffset(), contentSize()};
  const bool scroll = gridHasBit(animation, kGridItemAnimationScroll);
  std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
  pf::View::animateWithDuration(
      kDefaultAnimationDuration, 0, kDefaultAnimationOptions,
      [this, scroll, visible, view1, view2, index1, index2] {
        if (!scroll) return;
        if (!view2->frame().intersects(visible)) {
          scrollToObjectAtIndex(index1, GridViewScrollPosition::None, false);
        } else if (!view1->frame().intersects(visible)) {
          scrollToObjectAtIndex(index2, GridViewScrollPosition::None, false);
        }
      },
      [weak](bool) {
        if (auto grid = weak.lock()) grid->setNeedsLayout();
      });
}

// Notifications.

void GridView::receivedMemoryWarningNotification() {
  cleanupUnseenItems();
  reusableCells_.clear();
}

void GridView::receivedWillRotateNotification() {
  rotationPending_ = true;
  // Nothing else relays the grid out when only the status bar turns.
  setNeedsLayout();
}

// Edit mode.

void GridView::setEditing(bool editing) {
  setEditing(editing, false);
  if (auto delegate = actionDelegate()) delegate->changedEdit(*this, editing);
}

void GridView::setEditing(bool editing, bool animated) {
  auto delegate = actionDelegate();
  if (!delegate || !delegate->handlesDeleteRequests() || transformingCell_ || editing == editing_) return;
  for (const auto& cell : itemSubviews()) {
    const long position = positionForItemSubview(*cell);
    if (position == kInvalidPosition) continue;
    cell->setEditing(editing && isDeletable(position), animated);
  }
  editing_ = editing;
}

bool GridView::isDeletable(long position) {
  auto source = dataSource();
  return !source || source->canDeleteItemAtIndex(*this, position).value_or(true);
}

std::function<void(GridViewCell&)> GridView::makeDeleteBlock() {
  std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
  return [weak](GridViewCell& cell) {
    auto grid = weak.lock();
    if (!grid) return;
    const long position = grid->positionForItemSubview(cell);
    if (position == kInvalidPosition || !grid->isDeletable(position)) return;
    auto delegate = grid->actionDelegate();
    if (delegate && delegate->handlesDeleteRequests()) delegate->processDeleteActionForItemAtIndex(*grid, position);
  };
}

// Gestures.

std::optional<bool> GridView::gestureRecognizerShouldBegin(pf::GestureRecognizer& recognizer) {
  if (&recognizer == tapGesture_.get()) {
    if (editing_ && disableEditOnEmptySpaceTap_) return itemAt(recognizer.locationInView(this)) == kInvalidPosition;
    return !isScrolling() && !editing_ &&
           !(longPressGesture_ && GridViewAdditions::hasRecognizedValidGesture(*longPressGesture_));
  }
  if (&recognizer == longPressGesture_.get()) {
    return (sortingDelegate() || enableEditOnLongPress_) && !isScrolling() && !editing_;
  }
  if (&recognizer == sortingPanGesture_.get()) {
    return movingCell_ && longPressGesture_ && GridViewAdditions::hasRecognizedValidGesture(*longPressGesture_);
  }
  if (&recognizer == pinchGesture_.get() || &recognizer == rotationGesture_.get() ||
      &recognizer == panGesture_.get()) {
    if (!transformDelegate() || recognizer.numberOfTouches() != 2 || editing_) return false;
    if (transformingCell_) return true;
    const long first = itemAt(recognizer.locationOfTouch(0, this));
    const long second = itemAt(recognizer.locationOfTouch(1, this));
    return first != kInvalidPosition && first == second;
  }
  return true;
}

std::optional<bool> GridView::shouldRecognizeSimultaneously(pf::GestureRecognizer&, pf::GestureRecognizer&) {
  return true;
}

void GridView::tapGestureUpdated(pf::GestureRecognizer& gesture) {
  if (gesture.state() != GridGestureState::Ended) return;
  const long position = itemAt(gesture.locationInView(this));
  auto delegate = actionDelegate();
  if (position == kInvalidPosition) {
    if (delegate) delegate->GridViewDidTapOnEmptySpace(*this);
    if (disableEditOnEmptySpaceTap_) setEditing(false);
    return;
  }
  if (editing_) return;
  if (auto cell = cellForItemAtIndex(position)) cell->setHighlighted(false);
  if (delegate) delegate->didTapOnItemAtIndex(*this, position);
}

void GridView::longPressGestureUpdated(pf::GestureRecognizer& gesture) {
  const pf::Point location = gesture.locationInView(this);
  if (enableEditOnLongPress_ && !editing_) {
    if (itemAt(location) != kInvalidPosition) setEditing(true);
    return;
  }
  const GridGestureState state = gesture.state();
  if (state == GridGestureState::Began) {
    if (!movingCell_ && itemAt(location) != kInvalidPosition) sortingMoveDidStartAtPoint(location);
  } else if (gridGestureIsOver(state)) {
    if (sortingPanGesture_) GridViewAdditions::end(*sortingPanGesture_);
    if (movingCell_) sortingMoveDidStopAtPoint(location);
  }
}

void GridView::sortingPanGestureUpdated(pf::GestureRecognizer& gesture) {
  auto& pan = static_cast<pf::PanGestureRecognizer&>(gesture);
  switch (gesture.state()) {
    case GridGestureState::Changed: {
      if (!movingCell_) return;
      const pf::Point translation = pan.translationInView(this);
      movingCell_->setTransform(pf::AffineTransform::makeTranslation(translation.x, translation.y));
      sortingMoveDidContinueToPoint(pan.locationInView(this));
      break;
    }
    case GridGestureState::Began:
      autoScrollActive_ = true;
      sortingAutoScrollMovementCheck();
      break;
    case GridGestureState::Ended:
    case GridGestureState::Cancelled:
    case GridGestureState::Failed:
      autoScrollActive_ = false;
      break;
    default:
      break;
  }
}

// Sorting.

void GridView::sortingMoveDidStartAtPoint(pf::Point point) {
  const long position = itemAt(point);
  auto cell = cellForItemAtIndex(position);
  if (!cell) return;
  bringSubviewToFront(cell.get());
  auto host = mainSuperView();
  const pf::Rect frame = convertRectToView(cell->frame(), host.get());
  cell->removeFromSuperview();
  cell->setFrame(frame);
  host->addSubview(cell);
  sortFuturePosition_ = position;
  cell->setTag(0);
  setSubviewsCacheAsInvalid();
  movingCell_ = cell;
  auto delegate = sortingDelegate();
  if (delegate) delegate->didStartMovingCell(*this, *cell);
  const bool shake =
      delegate ? delegate->shouldAllowShakingBehaviorWhenMovingCell(*this, *cell, position).value_or(true) : true;
  cell->shake(shake);
}

void GridView::sortingMoveDidContinueToPoint(pf::Point point) {
  const long position = itemAt(point);
  if (position == kInvalidPosition || position == sortFuturePosition_ || position >= numberTotalItems_) return;
  const auto cells = itemSubviews();
  const bool taken = std::any_of(cells.begin(), cells.end(), [&](const auto& cell) {
    return cell != movingCell_ && cell->tag() == position + kItemTagOffset;
  });
  auto delegate = sortingDelegate();
  if (taken && style_ == kStylePush) {
    const int target = int(position) + kItemTagOffset;
    const int from = int(sortFuturePosition_) + kItemTagOffset;
    for (const auto& cell : cells) {
      if (cell == movingCell_) continue;
      const int tag = cell->tag();
      if (position > sortFuturePosition_ && (tag == target || (tag >= from && tag < target))) {
        cell->setTag(tag - 1);
      } else if (position < sortFuturePosition_ && (tag == target || (tag > target && tag <= from))) {
        cell->setTag(tag + 1);
      } else {
        continue;
      }
      sendSubviewToBack(cell.get());
    }
    setSubviewsCacheAsInvalid();
    if (delegate) delegate->moveItemAtIndex(*this, sortFuturePosition_, position);
    relayoutItemsAnimated(true);
  } else if (taken) {
    if (movingCell_) {
      auto other = cellForItemAtIndex(position);
      if (other && other != movingCell_) {
        retag(*other, sortFuturePosition_);
        const pf::Rect frame{originOf(sortFuturePosition_), itemSize_};
        pf::View::animateWithDuration(kDefaultAnimationDuration, 0, kDefaultAnimationOptions,
                                      [other, frame] { other->setFrame(frame); });
      }
    }
    if (delegate) delegate->exchangeItemAtIndex(*this, sortFuturePosition_, position);
  }
  sortFuturePosition_ = position;
}

void GridView::sortingMoveDidStopAtPoint(pf::Point) {
  auto cell = movingCell_;
  if (!cell) return;
  cell->shake(false);
  cell->setTag(int(sortFuturePosition_) + kItemTagOffset);
  auto host = mainSuperView();
  const pf::Rect frame = host->convertRectToView(cell->frame(), this);
  cell->removeFromSuperview();
  cell->setFrame(frame);
  addSubview(cell);
  setSubviewsCacheAsInvalid();
  const pf::Rect target{originOf(sortFuturePosition_), itemSize_};
  std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
  pf::View::animateWithDuration(
      kDefaultAnimationDuration, 0, 0,
      [cell, target] {
        cell->setTransform(pf::AffineTransform::identity());
        cell->setFrame(target);
      },
      [weak, cell](bool) {
        auto grid = weak.lock();
        if (!grid) return;
        if (auto delegate = grid->sortingDelegate()) delegate->didEndMovingCell(*grid, *cell);
        grid->movingCell_ = nullptr;
        grid->sortFuturePosition_ = kInvalidPosition;
        grid->setSubviewsCacheAsInvalid();
      });
}

void GridView::sortingAutoScrollMovementCheck() {
  if (!movingCell_ || !autoScrollActive_ || !sortingPanGesture_) return;
  const pf::Point location = sortingPanGesture_->locationInView(this);
  const pf::Point here = contentOffset();
  const pf::Point relative{location.x - here.x, location.y - here.y};
  const double threshold = itemSize_.height;
  const pf::Rect b = bounds();
  pf::Point offset = here;
  if (relative.x + threshold > b.width()) {
    offset.x = std::min(offset.x + itemSize_.width / 2, maxPossibleContentOffset_.x);
  } else if (relative.x - threshold <= 0) {
    offset.x = std::max(offset.x - itemSize_.width / 2, minPossibleContentOffset_.x);
  }
  if (relative.y + threshold > b.height()) {
    offset.y = std::min(offset.y + itemSize_.height / 2, maxPossibleContentOffset_.y);
  } else if (relative.y - threshold <= 0) {
    offset.y = std::max(offset.y - itemSize_.height / 2, minPossibleContentOffset_.y);
  }
  if (offset == here) return scheduleAutoScrollCheck();
  std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
  pf::View::animateWithDuration(
      kDefaultAnimationDuration, 0, kDefaultAnimationOptions, [this, offset] { setContentOffset(offset); },
      [weak, offset, location](bool) {
        auto grid = weak.lock();
        if (!grid) return;
        grid->setContentOffset(offset);
        if (grid->autoScrollActive_) grid->sortingMoveDidContinueToPoint(location);
        grid->sortingAutoScrollMovementCheck();
      });
}

void GridView::scheduleAutoScrollCheck() {
  std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
  if (autoScrollTimer_) autoScrollTimer_->invalidate();
  autoScrollTimer_ = pf::Timer::scheduled(kAutoScrollPollInterval, false, [weak](pf::Timer&) {
    if (auto grid = weak.lock()) grid->sortingAutoScrollMovementCheck();
  });
}

// Transformation.

void GridView::scheduleTransformFinish() {
  std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
  if (transformFinishTimer_) transformFinishTimer_->invalidate();
  transformFinishTimer_ = pf::Timer::scheduled(kTransformFinishDelay, false, [weak](pf::Timer&) {
    if (auto grid = weak.lock()) grid->transformingGestureDidFinish();
  });
}

void GridView::pinchGestureUpdated(pf::GestureRecognizer& gesture) {
  auto& pinch = static_cast<pf::PinchGestureRecognizer&>(gesture);
  const GridGestureState state = gesture.state();
  if (gridGestureIsOver(state)) return scheduleTransformFinish();
  if (state == GridGestureState::Began) transformingGestureDidBeginWithGesture(gesture);
  if (state != GridGestureState::Began && state != GridGestureState::Changed) return;
  auto cell = transformingCell_;
  const auto content = cell ? cell->contentView() : nullptr;
  if (!content) return;
  double currentScale = 1;
  const pf::AnimatableValue scaleValue = content->layer()->valueForKeyPath("transform.scale");
  if (const auto* value = std::get_if<double>(&scaleValue)) currentScale = *value;
  double scale = 1 - (lastScale_ - pinch.scale());
  scale = std::min(scale, 3 / currentScale);
  scale = std::max(scale, 0.5 / currentScale);
  if (scale < 0.5 || scale > 3) return;
  content->setTransform(content->transform().scaled(scale, scale));
  lastScale_ = pinch.scale();
  currentScale += scale;
  const double alpha = std::clamp(1 - (3 - currentScale), 0.0, 1.0);
  if (showFullSizeWithAlpha_ && currentScale >= 1.5) cell->stepToFullsizeWithAlpha(float(alpha));
  cell->setBackgroundColor(pf::Color::darkGray().withAlpha(std::min(alpha, 0.9)));
}

void GridView::rotationGestureUpdated(pf::GestureRecognizer& gesture) {
  auto& rotation = static_cast<pf::RotationGestureRecognizer&>(gesture);
  const GridGestureState state = gesture.state();
  if (gridGestureIsOver(state)) return scheduleTransformFinish();
  if (state == GridGestureState::Began) return transformingGestureDidBeginWithGesture(gesture);
  if (state != GridGestureState::Changed || !transformingCell_) return;
  const auto& content = transformingCell_->contentView();
  if (!content) return;
  content->setTransform(content->transform().rotated(rotation.rotation() - lastRotation_));
  lastRotation_ = rotation.rotation();
}

void GridView::panGestureUpdated(pf::GestureRecognizer& gesture) {
  auto& pan = static_cast<pf::PanGestureRecognizer&>(gesture);
  const GridGestureState state = gesture.state();
  if (state == GridGestureState::Changed) {
    if (pan.numberOfTouches() != 2) GridViewAdditions::end(pan);
    if (!transformingCell_ || !transformingCell_->contentView()) return;
    const auto& content = transformingCell_->contentView();
    const pf::Point move = pan.translationInView(this);
    const pf::Point center = content->center();
    content->setCenter({center.x + move.x, center.y + move.y});
    pan.setTranslation({0, 0}, this);
  } else if (state == GridGestureState::Began) {
    transformingGestureDidBeginWithGesture(gesture);
    setScrollEnabled(false);
  } else if (gridGestureIsOver(state)) {
    scheduleTransformFinish();
    setScrollEnabled(true);
  }
}

void GridView::transformingGestureDidBeginWithGesture(pf::GestureRecognizer& gesture) {
  inFullSizeMode_ = false;
  if (inTransformingState_ && transformingCell_) {
    if (&gesture == pinchGesture_.get()) pinchGesture_->setScale(2.5);
    inTransformingState_ = false;
    auto cell = transformingCell_;
    const auto& full = cell->fullSizeView();
    const pf::Point center = full ? full->center() : cell->contentView()->center();
    cell->switchToFullSizeMode(false);
    if (const auto& content = cell->contentView()) {
      content->setTransform(pf::AffineTransform::makeScale(2.5, 2.5));
      content->setCenter(center);
    }
    return;
  }
  if (transformingCell_) return;
  const long position = itemAt(gesture.locationOfTouch(0, this));
  auto cell = cellForItemAtIndex(position);
  if (!cell) return;
  auto host = mainSuperView();
  const pf::Rect frame = convertRectToView(cell->frame(), host.get());
  cell->removeFromSuperview();
  cell->setFrame(host->bounds());
  cell->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  // The content stays where the item was on screen, in the cell's own coordinates.
  if (const auto& content = cell->contentView()) {
    content->setFrame(frame.offsetBy(-cell->frame().origin.x, -cell->frame().origin.y));
  }
  host->addSubview(cell);
  host->bringSubviewToFront(cell.get());
  setSubviewsCacheAsInvalid();
  transformingCell_ = cell;
  if (auto delegate = transformDelegate()) {
    cell->setFullSize(delegate->sizeInFullSizeForCell(*this, *cell, position, currentOrientation()));
    cell->setFullSizeView(delegate->fullSizeViewForCell(*this, *cell, position));
    delegate->didStartTransformingCell(*this, *cell);
  }
}

void GridView::transformingGestureDidFinish() {
  auto cell = transformingCell_;
  if (!cell || inTransformingState_) return;
  lastRotation_ = 0;
  if (lastScale_ > 2) {
    lastScale_ = 1;
    return enterFullSize(*cell);
  }
  lastScale_ = 1;
  transformingCell_ = nullptr;
  returnToGrid(cell);
}

void GridView::enterFullSize(GridViewCell& cell) {
  bringSubviewToFront(&cell);
  const auto& content = cell.contentView();
  double angle = 0;
  if (content) {
    const pf::AffineTransform t = content->transform();
    angle = std::atan2(float(t.b), float(t.a));
    content->setTransform(pf::AffineTransform::identity());
  }
  cell.switchToFullSizeMode(true);
  cell.setBackgroundColor(pf::Color::darkGray().withAlpha(0.9));
  if (auto full = cell.fullSizeView()) {
    full->setTransform(pf::AffineTransform::makeRotation(angle));
    pf::View::animateWithDuration(kDefaultAnimationDuration, 0, kDefaultAnimationOptions,
                                  [full] { full->setTransform(pf::AffineTransform::identity()); });
    moveTransformRecognizersTo(*full);
  }
  inTransformingState_ = true;
  inFullSizeMode_ = true;
  if (auto delegate = transformDelegate()) delegate->didEnterFullSizeForCell(*this, cell);
}

void GridView::returnToGrid(const std::shared_ptr<GridViewCell>& cell) {
  auto host = mainSuperView();
  const pf::Rect final{originOf(cell->tag() - kItemTagOffset), itemSize_};
  const pf::Rect inHost = convertRectToView(final, host.get());
  const pf::Rect inCell = host->convertRectToView(inHost, cell.get());
  cell->switchToFullSizeMode(false);
  cell->setAutoresizingMask(pf::View::kAutoresizingNone);
  std::weak_ptr<GridView> weak = std::static_pointer_cast<GridView>(shared_from_this());
  pf::View::animateWithDuration(
      kDefaultAnimationDuration, 0, kDefaultAnimationOptions,
      [cell, inCell] {
        if (const auto& content = cell->contentView()) {
          content->setTransform(pf::AffineTransform::identity());
          content->setFrame(inCell);
        }
        cell->setBackgroundColor(pf::Color::clear());
      },
      [weak, cell, final](bool) {
        auto grid = weak.lock();
        if (!grid) return;
        cell->removeFromSuperview();
        cell->setFrame(final);
        if (const auto& content = cell->contentView()) content->setFrame(cell->bounds());
        grid->addSubview(cell);
        cell->setFullSizeView(nullptr);
        grid->inFullSizeMode_ = false;
        grid->setSubviewsCacheAsInvalid();
        if (auto delegate = grid->transformDelegate()) delegate->didEndTransformingCell(*grid, *cell);
        grid->moveTransformRecognizersTo(*grid);
      });
}

void GridView::moveTransformRecognizersTo(pf::View& view) {
  for (const std::shared_ptr<pf::GestureRecognizer>& recognizer :
       std::initializer_list<std::shared_ptr<pf::GestureRecognizer>>{pinchGesture_, rotationGesture_, panGesture_}) {
    if (recognizer && recognizer->view().get() != &view) view.addGestureRecognizer(recognizer);
  }
}
