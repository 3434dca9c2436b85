#include "platform/ui/TableView.h"

#include <algorithm>

#include "platform/foundation/Error.h"
#include "platform/text/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Nib.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/Touch.h"

namespace pf {

namespace {

const Color kPlainHeaderColor = Color::fromRgba(0.6, 0.66, 0.72, 0.9);
const Color kGroupedBackground = Color::fromRgba(0.77, 0.8, 0.83);

std::string rowsMessage(long section, long now, long before, long inserted, long deleted) {
  return "Invalid update: invalid number of rows in section " + std::to_string(section) +
         ". The number of rows after the update (" + std::to_string(now) +
         ") must equal the number before the update (" + std::to_string(before) +
         "), plus or minus the rows inserted (" + std::to_string(inserted) + ") or deleted (" +
         std::to_string(deleted) + ").";
}

}  // namespace

double TableView::Section::end() const {
  const double rowsEnd = rowTops.empty() ? top + headerHeight : rowTops.back() + rowHeights.back();
  return rowsEnd + footerHeight;
}

TableView::TableView() : TableView(Rect()) {}

TableView::TableView(const Rect& frame, Style style) : ScrollView(frame), style_(style) {
  setAlwaysBounceVertical(true);
  setBackgroundColor(style == Style::Grouped ? kGroupedBackground : Color::white());
  if (style == Style::Grouped) sectionHeaderHeight_ = sectionFooterHeight_ = 10;
}

TableView::~TableView() = default;

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate) {
  ScrollView::setDelegate(std::weak_ptr<ScrollViewDelegate>(delegate.lock()));
  tableDelegate_ = std::move(delegate);
}

void TableView::setSeparatorStyle(SeparatorStyle style) {
  separatorStyle_ = style;
  for (auto& [path, cell] : visible_) {
    cell->setSeparatorColor(style == SeparatorStyle::None ? std::nullopt : std::optional(separatorColor_));
  }
}

void TableView::setSeparatorColor(const Color& color) {
  separatorColor_ = color;
  setSeparatorStyle(separatorStyle_);
}

void TableView::setTableHeaderView(std::shared_ptr<View> view) {
  if (tableHeaderView_) tableHeaderView_->removeFromSuperview();
  tableHeaderView_ = std::move(view);
  if (tableHeaderView_) addSubview(tableHeaderView_);
  if (loaded_) reloadData();
}

void TableView::setTableFooterView(std::shared_ptr<View> view) {
  if (tableFooterView_) tableFooterView_->removeFromSuperview();
  tableFooterView_ = std::move(view);
  if (tableFooterView_) addSubview(tableFooterView_);
  if (loaded_) reloadData();
}

void TableView::setBackgroundView(std::shared_ptr<View> view) {
  if (backgroundView_) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  if (backgroundView_) insertSubview(backgroundView_, 0);
  setNeedsLayout();
}

void TableView::setRefreshControl(std::shared_ptr<RefreshControl> control) {
  if (refreshControl_) refreshControl_->removeFromSuperview();
  refreshControl_ = std::move(control);
  if (refreshControl_) insertSubview(refreshControl_, backgroundView_ ? 1 : 0);
}

void TableView::registerNib(std::shared_ptr<Nib> nib, const std::string& identifier) {
  nibs_[identifier] = std::move(nib);
}

void TableView::registerCellFactory(CellFactory factory, const std::string& identifier) {
  factories_[identifier] = std::move(factory);
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
  auto queue = reuseQueues_.find(identifier);
  if (queue != reuseQueues_.end() && !queue->second.empty()) {
    auto cell = std::move(queue->second.back());
    queue->second.pop_back();
    cell->prepareForReuse();
    return cell;
  }
  std::shared_ptr<TableViewCell> cell;
  if (auto nib = nibs_.find(identifier); nib != nibs_.end()) {
    auto view = nib->second->instantiateCell(identifier);
    cell = std::dynamic_pointer_cast<TableViewCell>(view);
    if (!cell) throw ContractViolation("the interface file " + nib->second->path() + " holds no table cell");
  } else if (auto factory = factories_.find(identifier); factory != factories_.end()) {
    cell = factory->second(identifier);
  }
  if (!cell) return nullptr;
  ++cellsMade_;
  if (!cell->reuseIdentifier()) cell->setReuseIdentifier(identifier);
  return cell;
}

void TableView::reloadData() {
  selected_.clear();
  highlighted_.reset();
  confirmingDelete_.reset();
  recycleAll();
  rebuildSections();
  layoutRows();
}

long TableView::numberOfRowsInSection(long section) const {
  if (section < 0 || section >= numberOfSections()) return 0;
  return sections_[static_cast<size_t>(section)].rows;
}

std::shared_ptr<View> TableView::sectionLabel(const std::optional<std::string>& title, bool header) const {
  if (!title) return nullptr;
  auto label = std::make_shared<Label>();
  label->setText(title);
  if (style_ == Style::Plain) {
    label->setFont(Font::boldSystemFont(header ? 18 : 15));
    label->setTextColor(Color::white());
    label->setBackgroundColor(kPlainHeaderColor);
  } else {
    label->setFont(Font::boldSystemFont(header ? 17 : 15));
    label->setTextColor(Color::fromRgba(0.3, 0.34, 0.42));
    label->setBackgroundColor(Color::clear());
  }
  return label;
}

// Every count and height first, section by section, before any cell is asked for.
void TableView::rebuildSections() {
  for (auto& section : sections_) {
    if (section.header) section.header->removeFromSuperview();
    if (section.footer) section.footer->removeFromSuperview();
  }
  sections_.clear();
  loaded_ = true;
  auto source = dataSource();
  if (!source) return;
  auto d = delegate();
  const long count = std::max(0L, source->numberOfSectionsInTableView(*this));
  sections_.resize(static_cast<size_t>(count));
  for (long s = 0; s < count; ++s) sections_[s].rows = std::max(0L, source->numberOfRowsInSection(*this, s));
  double y = tableHeaderView_ ? tableHeaderView_->frame().height() : 0;
  for (long s = 0; s < count; ++s) {
    Section& section = sections_[s];
    section.top = y;
    section.header = d ? d->viewForHeaderInSection(*this, s) : nullptr;
    if (!section.header) section.header = sectionLabel(source->titleForHeaderInSection(*this, s), true);
    const auto headerHeight = d ? d->heightForHeaderInSection(*this, s) : std::nullopt;
    section.headerHeight =
        headerHeight.value_or(section.header || style_ == Style::Grouped ? sectionHeaderHeight_ : 0);
    y += section.headerHeight;
    section.rowTops.reserve(section.rows);
    section.rowHeights.reserve(section.rows);
    for (long r = 0; r < section.rows; ++r) {
      const auto height = d ? d->heightForRowAtIndexPath(*this, {s, r}) : std::nullopt;
      section.rowTops.push_back(y);
      section.rowHeights.push_back(std::max(0.0, height.value_or(rowHeight_)));
      y += section.rowHeights.back();
    }
    section.footer = d ? d->viewForFooterInSection(*this, s) : nullptr;
    if (!section.footer) section.footer = sectionLabel(source->titleForFooterInSection(*this, s), false);
    const auto footerHeight = d ? d->heightForFooterInSection(*this, s) : std::nullopt;
    section.footerHeight =
        footerHeight.value_or(section.footer || style_ == Style::Grouped ? sectionFooterHeight_ : 0);
    y += section.footerHeight;
  }
  if (tableFooterView_) y += tableFooterView_->frame().height();
  setContentSize({bounds().width(), y});
  placeDecorations();
  // Content that shrank under the offset (also mid-deceleration) is brought back in range.
  const Point offset = contentOffset();
  const Point high = maximumContentOffset();
  if (offset.y > high.y && !isDragging() && !isDecelerating()) setContentOffset({offset.x, high.y});
}

void TableView::placeDecorations() {
  const double width = bounds().width();
  if (tableHeaderView_) tableHeaderView_->setFrame(Rect(0, 0, width, tableHeaderView_->frame().height()));
  for (const auto& section : sections_) {
    if (section.header && section.headerHeight > 0) addSubview(section.header);
    if (section.footer && section.footerHeight > 0) addSubview(section.footer);
  }
  if (tableFooterView_) {
    const double top = sections_.empty() ? (tableHeaderView_ ? tableHeaderView_->frame().height() : 0)
                                         : sections_.back().end();
    tableFooterView_->setFrame(Rect(0, top, width, tableFooterView_->frame().height()));
  }
  pinSectionDecorations();
}

// In a plain table the header of the section at the top stays there while its rows scroll under
// it, until the section's end pushes it up; the footer of the section at the bottom stays there
// until its rows have all come up.
void TableView::pinSectionDecorations() {
  const double width = bounds().width();
  const double top = contentOffset().y + contentInset().top;
  const double bottom = contentOffset().y + bounds().height() - contentInset().bottom;
  const bool plain = style_ == Style::Plain;
  for (const auto& section : sections_) {
    if (section.header && section.headerHeight > 0) {
      const double last = section.end() - section.footerHeight - section.headerHeight;
      const double y = plain ? std::max(section.top, std::min(top, last)) : section.top;
      section.header->setFrame(Rect(0, y, width, section.headerHeight));
    }
    if (section.footer && section.footerHeight > 0) {
      const double natural = section.end() - section.footerHeight;
      const double first = section.top + section.headerHeight;
      const double y = plain ? std::min(natural, std::max(first, bottom - section.footerHeight)) : natural;
      section.footer->setFrame(Rect(0, y, width, section.footerHeight));
    }
  }
}

void TableView::layoutRows() {
  if (!loaded_) return;
  const Rect visible = bounds();
  std::set<IndexPath> wanted;
  for (long s = 0; s < numberOfSections(); ++s) {
    const Section& section = sections_[s];
    if (section.rows == 0 || section.end() <= visible.minY() || section.top >= visible.maxY()) continue;
    auto first = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), visible.minY());
    if (first != section.rowTops.begin()) --first;
    for (auto it = first; it != section.rowTops.end() && *it < visible.maxY(); ++it) {
      const long r = it - section.rowTops.begin();
      if (*it + section.rowHeights[r] > visible.minY()) wanted.insert({s, r});
    }
  }
  std::vector<IndexPath> gone;
  for (const auto& [path, cell] : visible_) {
    if (!wanted.count(path)) gone.push_back(path);
  }
  for (const auto& path : gone) recycle(path);
  for (const auto& path : wanted) {
    if (!visible_.count(path)) showCell(path);
  }
  pinSectionDecorations();
  if (backgroundView_) backgroundView_->setFrame(visible);
}

void TableView::showCell(const IndexPath& path) {
  auto source = dataSource();
  if (!source) return;
  auto cell = source->cellForRowAtIndexPath(*this, path);
  if (!cell) {
    throw ContractViolation("the table's data source returned no cell for row " + path.description());
  }
  cell->setFrame(rectForRowAtIndexPath(path));
  cell->setEditing(editing_);
  cell->setShowingDeleteConfirmation(confirmingDelete_ == path);
  cell->setSelected(selected_.count(path) > 0);
  cell->setHighlighted(highlighted_ == path);
  cell->setSeparatorColor(separatorStyle_ == SeparatorStyle::None ? std::nullopt
                                                                  : std::optional(separatorColor_));
  visible_[path] = cell;
  if (auto d = delegate()) d->willDisplayCell(*this, *cell, path);
  if (cell->superview().get() != this) {
    size_t below = subviews().size();
    for (const auto& section : sections_) {
      for (const auto& decoration : {section.header, section.footer}) {
        if (decoration && decoration->superview().get() == this) {
          auto it = std::find(subviews().begin(), subviews().end(), decoration);
          below = std::min(below, static_cast<size_t>(it - subviews().begin()));
        }
      }
    }
    insertSubview(cell, below);
  }
  cell->layoutIfNeeded();
}

void TableView::recycle(const IndexPath& path) {
  auto it = visible_.find(path);
  if (it == visible_.end()) return;
  auto cell = std::move(it->second);
  visible_.erase(it);
  cell->removeFromSuperview();
  if (cell->reuseIdentifier()) reuseQueues_[*cell->reuseIdentifier()].push_back(std::move(cell));
}

void TableView::recycleAll() {
  while (!visible_.empty()) recycle(visible_.begin()->first);
}

void TableView::layoutSubviews() {
  ScrollView::layoutSubviews();
  if (!loaded_) reloadData();
  layoutRows();
}

void TableView::setFrame(const Rect& frame) {
  const double oldWidth = bounds().width();
  ScrollView::setFrame(frame);
  if (loaded_ && frame.width() != oldWidth) {
    setContentSize({frame.width(), contentSize().height});
    placeDecorations();
    for (auto& [path, cell] : visible_) cell->setFrame(rectForRowAtIndexPath(path));
  }
  if (loaded_) layoutRows();
}

void TableView::didScroll() {
  layoutRows();
  ScrollView::didScroll();
  if (refreshControl_) refreshControl_->scrollViewDidScroll(*this);
}

// Updates.

void TableView::beginUpdates() {
  if (updateDepth_++ == 0) pending_ = Update{};
}

void TableView::endUpdates() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ > 0) return;
  Update update = std::move(*pending_);
  pending_.reset();
  applyUpdate(update);
}

void TableView::insertRowsAtIndexPaths(const std::vector<IndexPath>& paths, RowAnimation) {
  beginUpdates();
  pending_->insertedRows.insert(pending_->insertedRows.end(), paths.begin(), paths.end());
  endUpdates();
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& paths, RowAnimation) {
  beginUpdates();
  pending_->deletedRows.insert(pending_->deletedRows.end(), paths.begin(), paths.end());
  endUpdates();
}

void TableView::reloadRowsAtIndexPaths(const std::vector<IndexPath>& paths, RowAnimation) {
  beginUpdates();
  pending_->reloadedRows.insert(pending_->reloadedRows.end(), paths.begin(), paths.end());
  endUpdates();
}

void TableView::insertSections(const std::set<long>& sections, RowAnimation) {
  beginUpdates();
  pending_->insertedSections.insert(sections.begin(), sections.end());
  endUpdates();
}

void TableView::deleteSections(const std::set<long>& sections, RowAnimation) {
  beginUpdates();
  pending_->deletedSections.insert(sections.begin(), sections.end());
  endUpdates();
}

void TableView::reloadSections(const std::set<long>& sections, RowAnimation) {
  beginUpdates();
  pending_->reloadedSections.insert(sections.begin(), sections.end());
  endUpdates();
}

void TableView::applyUpdate(const Update& update) {
  if (!loaded_) return reloadData();
  std::vector<long> oldRows;
  for (const auto& section : sections_) oldRows.push_back(section.rows);
  for (const auto& path : update.deletedRows) {
    if (path.section < 0 || path.section >= static_cast<long>(oldRows.size()) || path.row < 0 ||
        path.row >= oldRows[path.section]) {
      throw ContractViolation("Invalid update: no row " + path.description() + " to delete");
    }
  }
  // Checked before anything changes, so a refused update leaves the table as it was.
  std::vector<long> newRows;
  if (auto source = dataSource()) {
    const long count = std::max(0L, source->numberOfSectionsInTableView(*this));
    for (long s = 0; s < count; ++s) newRows.push_back(std::max(0L, source->numberOfRowsInSection(*this, s)));
  }
  checkUpdate(update, oldRows, newRows);
  auto selection = shiftedSelection(update);
  recycleAll();
  rebuildSections();
  selected_.clear();
  for (const auto& path : selection) {
    if (isValid(path)) selected_.insert(path);
  }
  confirmingDelete_.reset();
  highlighted_.reset();
  const Point offset = contentOffset();
  const Point high = maximumContentOffset();
  if (offset.y > high.y && !isDragging() && !isDecelerating()) setContentOffset({offset.x, high.y});
  layoutRows();
}

// Sections kept through the update pair up in order; each pair must account for its rows.
void TableView::checkUpdate(const Update& update, const std::vector<long>& oldRows,
                            const std::vector<long>& newRows) const {
  const long oldCount = static_cast<long>(oldRows.size());
  const long expected = oldCount - static_cast<long>(update.deletedSections.size()) +
                        static_cast<long>(update.insertedSections.size());
  const long newCount = static_cast<long>(newRows.size());
  if (expected != newCount) {
    throw ContractViolation("Invalid update: invalid number of sections. The number after the update (" +
                            std::to_string(newCount) + ") must equal " + std::to_string(expected));
  }
  std::vector<long> keptOld, keptNew;
  for (long s = 0; s < oldCount; ++s) {
    if (!update.deletedSections.count(s)) keptOld.push_back(s);
  }
  for (long s = 0; s < newCount; ++s) {
    if (!update.insertedSections.count(s)) keptNew.push_back(s);
  }
  for (size_t i = 0; i < keptOld.size() && i < keptNew.size(); ++i) {
    if (update.reloadedSections.count(keptOld[i])) continue;
    const long inserted = std::count_if(update.insertedRows.begin(), update.insertedRows.end(),
                                        [&](const IndexPath& p) { return p.section == keptNew[i]; });
    const long deleted = std::count_if(update.deletedRows.begin(), update.deletedRows.end(),
                                       [&](const IndexPath& p) { return p.section == keptOld[i]; });
    const long now = newRows[keptNew[i]];
    if (now != oldRows[keptOld[i]] + inserted - deleted) {
      throw ContractViolation(rowsMessage(keptNew[i], now, oldRows[keptOld[i]], inserted, deleted));
    }
  }
}

std::set<IndexPath> TableView::shiftedSelection(const Update& update) const {
  std::set<IndexPath> result;
  for (IndexPath path : selected_) {
    if (update.deletedSections.count(path.section)) continue;
    if (std::find(update.deletedRows.begin(), update.deletedRows.end(), path) != update.deletedRows.end())
      continue;
    const long rowsGone =
        std::count_if(update.deletedRows.begin(), update.deletedRows.end(),
                      [&](const IndexPath& p) { return p.section == path.section && p.row < path.row; });
    path.row -= rowsGone;
    path.section -= std::count_if(update.deletedSections.begin(), update.deletedSections.end(),
                                  [&](long s) { return s < path.section; });
    for (long s : update.insertedSections) {
      if (s <= path.section) ++path.section;
    }
    std::vector<IndexPath> inserted = update.insertedRows;
    std::sort(inserted.begin(), inserted.end());
    for (const auto& p : inserted) {
      if (p.section == path.section && p.row <= path.row) ++path.row;
    }
    result.insert(path);
  }
  return result;
}

// Geometry.

bool TableView::isValid(const IndexPath& path) const {
  return path.section >= 0 && path.section < numberOfSections() && path.row >= 0 &&
         path.row < sections_[path.section].rows;
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& path) const {
  if (!isValid(path)) return Rect::zero();
  const Section& section = sections_[path.section];
  return Rect(0, section.rowTops[path.row], bounds().width(), section.rowHeights[path.row]);
}

std::shared_ptr<View> TableView::headerViewForSection(long section) const {
  if (section < 0 || section >= numberOfSections()) return nullptr;
  return sections_[section].header;
}

std::shared_ptr<View> TableView::footerViewForSection(long section) const {
  if (section < 0 || section >= numberOfSections()) return nullptr;
  return sections_[section].footer;
}

Rect TableView::rectForSection(long section) const {
  if (section < 0 || section >= numberOfSections()) return Rect::zero();
  const Section& s = sections_[section];
  return Rect(0, s.top, bounds().width(), s.end() - s.top);
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) const {
  for (long s = 0; s < numberOfSections(); ++s) {
    const Section& section = sections_[s];
    if (section.rows == 0 || point.y < section.rowTops.front() || point.y >= section.end()) continue;
    auto it = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), point.y);
    const long r = (it - section.rowTops.begin()) - 1;
    if (point.y < section.rowTops[r] + section.rowHeights[r]) return IndexPath{s, r};
  }
  return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) const {
  for (const auto& [path, shown] : visible_) {
    if (shown.get() == cell) return path;
  }
  return std::nullopt;
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& path) const {
  auto it = visible_.find(path);
  return it == visible_.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const {
  std::vector<std::shared_ptr<TableViewCell>> cells;
  for (const auto& [path, cell] : visible_) cells.push_back(cell);
  return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
  std::vector<IndexPath> paths;
  for (const auto& [path, cell] : visible_) paths.push_back(path);
  return paths;
}

void TableView::scrollToRowAtIndexPath(const IndexPath& path, ScrollPosition position, bool animated) {
  if (!isValid(path)) {
    throw ContractViolation("no row " + path.description() + " to scroll to");
  }
  const Rect row = rectForRowAtIndexPath(path);
  const double height = bounds().height();
  double y = 0;
  switch (position) {
    case ScrollPosition::None:
      return scrollRectToVisible(row, animated);
    case ScrollPosition::Top:
      y = row.minY();
      break;
    case ScrollPosition::Middle:
      y = row.midY() - height / 2;
      break;
    case ScrollPosition::Bottom:
      y = row.maxY() - height;
      break;
  }
  y = std::clamp(y, minimumContentOffset().y, maximumContentOffset().y);
  setContentOffset({contentOffset().x, y}, animated);
}

// Selection and editing.

std::optional<IndexPath> TableView::indexPathForSelectedRow() const {
  if (selected_.empty()) return std::nullopt;
  return *selected_.begin();
}

std::vector<IndexPath> TableView::indexPathsForSelectedRows() const {
  return {selected_.begin(), selected_.end()};
}

void TableView::selectRowAtIndexPath(const IndexPath& path, bool animated, ScrollPosition position) {
  if (!isValid(path)) return;
  if (!allowsMultipleSelection_) {
    for (const auto& old : selected_) {
      if (auto cell = cellForRowAtIndexPath(old)) cell->setSelected(false, animated);
    }
    selected_.clear();
  }
  selected_.insert(path);
  if (auto cell = cellForRowAtIndexPath(path)) cell->setSelected(true, animated);
  if (position != ScrollPosition::None) scrollToRowAtIndexPath(path, position, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& path, bool animated) {
  selected_.erase(path);
  if (auto cell = cellForRowAtIndexPath(path)) cell->setSelected(false, animated);
}

void TableView::setEditing(bool editing, bool animated) {
  editing_ = editing;
  confirmingDelete_.reset();
  for (auto& [path, cell] : visible_) {
    cell->setEditing(editing, animated);
    cell->setShowingDeleteConfirmation(false);
  }
}

void TableView::clearHighlight() {
  if (highlighted_) {
    if (auto cell = cellForRowAtIndexPath(*highlighted_)) cell->setHighlighted(false);
  }
  highlighted_.reset();
}

void TableView::touchesBegan(const TouchSet& touches, const Event*) {
  if (touches.empty() || editing_ || confirmingDelete_ || !allowsSelection_) return;
  highlighted_ = indexPathForRowAtPoint(touches.front()->locationInView(this));
  if (highlighted_) {
    if (auto cell = cellForRowAtIndexPath(*highlighted_)) cell->setHighlighted(true);
  }
}

void TableView::touchesMoved(const TouchSet&, const Event*) {}

void TableView::touchesCancelled(const TouchSet&, const Event*) {
  clearHighlight();
}

void TableView::touchesEnded(const TouchSet& touches, const Event*) {
  clearHighlight();
  if (touches.empty()) return;
  const Point point = touches.front()->locationInView(this);
  const auto path = indexPathForRowAtPoint(point);
  if (confirmingDelete_) {
    const auto confirming = *confirmingDelete_;
    if (path == confirming && point.x >= bounds().width() - TableViewCell::kDeleteButtonWidth) {
      confirmingDelete_.reset();
      if (auto source = dataSource())
        source->commitEditingStyle(*this, TableViewCell::EditingStyle::Delete, confirming);
    } else {
      confirmingDelete_.reset();
      if (auto cell = cellForRowAtIndexPath(confirming)) cell->setShowingDeleteConfirmation(false);
    }
    return;
  }
  if (!path) return;
  if (editing_) {
    auto source = dataSource();
    auto d = delegate();
    const auto style =
        d ? d->editingStyleForRowAtIndexPath(*this, *path) : TableViewCell::EditingStyle::Delete;
    if (point.x < TableViewCell::kEditControlWidth && source && source->canEditRowAtIndexPath(*this, *path) &&
        style == TableViewCell::EditingStyle::Delete) {
      confirmingDelete_ = path;
      if (auto cell = cellForRowAtIndexPath(*path)) cell->setShowingDeleteConfirmation(true);
    } else if (allowsSelectionDuringEditing_) {
      selectFromTouch(*path);
    }
    return;
  }
  if (allowsSelection_) selectFromTouch(*path);
}

void TableView::selectFromTouch(const IndexPath& path) {
  auto d = delegate();
  if (allowsMultipleSelection_ && selected_.count(path)) {
    deselectRowAtIndexPath(path, false);
    if (d) d->didDeselectRowAtIndexPath(*this, path);
    return;
  }
  if (!allowsMultipleSelection_) {
    const auto previous = selected_;
    for (const auto& old : previous) {
      if (old == path) continue;
      deselectRowAtIndexPath(old, false);
      if (d) d->didDeselectRowAtIndexPath(*this, old);
    }
  }
  selected_.insert(path);
  if (auto cell = cellForRowAtIndexPath(path)) cell->setSelected(true);
  if (d) d->didSelectRowAtIndexPath(*this, path);
}

}  // namespace pf
