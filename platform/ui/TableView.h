#pragma once
// A scrolling list of rows in sections. The data source says how many sections and rows there are and
// makes the cells; the delegate gives heights (asked for every row before any cell is made), headers,
// footers and hears selections. Only the rows in view have cells: a cell scrolled out goes to a reuse
// queue by its identifier and comes back, prepared for reuse, through dequeueReusableCellWithIdentifier.
// Row and section updates are checked against the data source's new counts. Main thread only.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"

namespace pf {

class Nib;
class RefreshControl;
class TableView;

class TableViewDataSource {
 public:
  virtual ~TableViewDataSource() = default;
  virtual long numberOfSectionsInTableView(TableView& /*tableView*/) { return 1; }
  virtual long numberOfRowsInSection(TableView& tableView, long section) = 0;
  virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                               const IndexPath& indexPath) = 0;
  virtual std::optional<std::string> titleForHeaderInSection(TableView& /*tableView*/, long /*section*/) {
    return std::nullopt;
  }
  virtual std::optional<std::string> titleForFooterInSection(TableView& /*tableView*/, long /*section*/) {
    return std::nullopt;
  }
  virtual bool canEditRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {
    return true;
  }
  virtual void commitEditingStyle(TableView& /*tableView*/, TableViewCell::EditingStyle /*style*/,
                                  const IndexPath& /*indexPath*/) {}
};

class TableViewDelegate : public ScrollViewDelegate {
 public:
  virtual std::optional<double> heightForRowAtIndexPath(TableView& /*tableView*/,
                                                        const IndexPath& /*indexPath*/) {
    return std::nullopt;
  }
  virtual std::optional<double> heightForHeaderInSection(TableView& /*tableView*/, long /*section*/) {
    return std::nullopt;
  }
  virtual std::optional<double> heightForFooterInSection(TableView& /*tableView*/, long /*section*/) {
    return std::nullopt;
  }
  virtual std::shared_ptr<View> viewForHeaderInSection(TableView& /*tableView*/, long /*section*/) {
    return nullptr;
  }
  virtual std::shared_ptr<View> viewForFooterInSection(TableView& /*tableView*/, long /*section*/) {
    return nullptr;
  }
  virtual void willDisplayCell(TableView& /*tableView*/, TableViewCell& /*cell*/,
                               const IndexPath& /*indexPath*/) {}
  virtual void didSelectRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {}
  virtual void didDeselectRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {}
  virtual TableViewCell::EditingStyle editingStyleForRowAtIndexPath(TableView& /*tableView*/,
                                                                    const IndexPath& /*indexPath*/) {
    return TableViewCell::EditingStyle::Delete;
  }
};

class TableView : public ScrollView {
  PF_OBJECT(TableView, ScrollView)

  enum class Style { Plain = 0, Grouped = 1 };
  enum class RowAnimation { Fade = 0, Right, Left, Top, Bottom, None, Middle, Automatic = 100 };
  enum class ScrollPosition { None = 0, Top = 1, Middle = 2, Bottom = 3 };
  enum class SeparatorStyle { None = 0, SingleLine = 1, SingleLineEtched = 2 };
  using CellFactory = std::function<std::shared_ptr<TableViewCell>(const std::string& identifier)>;

  TableView();
  explicit TableView(const Rect& frame, Style style = Style::Plain);
  ~TableView() override;

  Style style() const { return style_; }
  std::shared_ptr<TableViewDataSource> dataSource() const { return dataSource_.lock(); }
  void setDataSource(std::weak_ptr<TableViewDataSource> dataSource) { dataSource_ = std::move(dataSource); }
  std::shared_ptr<TableViewDelegate> delegate() const { return tableDelegate_.lock(); }
  void setDelegate(std::weak_ptr<TableViewDelegate> delegate);

  double rowHeight() const { return rowHeight_; }
  void setRowHeight(double height) { rowHeight_ = height; }
  double sectionHeaderHeight() const { return sectionHeaderHeight_; }
  void setSectionHeaderHeight(double height) { sectionHeaderHeight_ = height; }
  double sectionFooterHeight() const { return sectionFooterHeight_; }
  void setSectionFooterHeight(double height) { sectionFooterHeight_ = height; }
  SeparatorStyle separatorStyle() const { return separatorStyle_; }
  void setSeparatorStyle(SeparatorStyle style);
  Color separatorColor() const { return separatorColor_; }
  void setSeparatorColor(const Color& color);
  const std::shared_ptr<View>& tableHeaderView() const { return tableHeaderView_; }
  void setTableHeaderView(std::shared_ptr<View> view);
  const std::shared_ptr<View>& tableFooterView() const { return tableFooterView_; }
  void setTableFooterView(std::shared_ptr<View> view);
  const std::shared_ptr<View>& backgroundView() const { return backgroundView_; }
  void setBackgroundView(std::shared_ptr<View> view);
  const std::shared_ptr<RefreshControl>& refreshControl() const { return refreshControl_; }
  void setRefreshControl(std::shared_ptr<RefreshControl> control);

  // Cells for an identifier come from an interface file or a factory when the queue has none.
  void registerNib(std::shared_ptr<Nib> nib, const std::string& identifier);
  void registerCellFactory(CellFactory factory, const std::string& identifier);
  // A queued cell, prepared for reuse; else a registered one; else null. Safe from a height query.
  std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);

  // Asks the data source and delegate again for everything; clears the selection.
  void reloadData();
  long numberOfSections() const { return static_cast<long>(sections_.size()); }
  long numberOfRowsInSection(long section) const;

  // Updates: the data source must already answer the new counts; a mismatch is a ContractViolation.
  void beginUpdates();
  void endUpdates();
  void insertRowsAtIndexPaths(const std::vector<IndexPath>& paths,
                              RowAnimation animation = RowAnimation::Automatic);
  void deleteRowsAtIndexPaths(const std::vector<IndexPath>& paths,
                              RowAnimation animation = RowAnimation::Automatic);
  void reloadRowsAtIndexPaths(const std::vector<IndexPath>& paths,
                              RowAnimation animation = RowAnimation::Automatic);
  void insertSections(const std::set<long>& sections, RowAnimation animation = RowAnimation::Automatic);
  void deleteSections(const std::set<long>& sections, RowAnimation animation = RowAnimation::Automatic);
  void reloadSections(const std::set<long>& sections, RowAnimation animation = RowAnimation::Automatic);

  // Geometry in content coordinates.
  Rect rectForRowAtIndexPath(const IndexPath& path) const;
  Rect rectForSection(long section) const;
  std::optional<IndexPath> indexPathForRowAtPoint(Point point) const;
  std::optional<IndexPath> indexPathForCell(const TableViewCell* cell) const;
  // The views showing a section's header and footer (where a plain table pins them), else null.
  std::shared_ptr<View> headerViewForSection(long section) const;
  std::shared_ptr<View> footerViewForSection(long section) const;
  // The cell of a row in view, else null.
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& path) const;
  std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
  std::vector<IndexPath> indexPathsForVisibleRows() const;
  void scrollToRowAtIndexPath(const IndexPath& path, ScrollPosition position, bool animated);

  // Selection.
  bool allowsSelection() const { return allowsSelection_; }
  void setAllowsSelection(bool allows) { allowsSelection_ = allows; }
  bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
  void setAllowsMultipleSelection(bool allows) { allowsMultipleSelection_ = allows; }
  bool allowsSelectionDuringEditing() const { return allowsSelectionDuringEditing_; }
  void setAllowsSelectionDuringEditing(bool allows) { allowsSelectionDuringEditing_ = allows; }
  std::optional<IndexPath> indexPathForSelectedRow() const;
  std::vector<IndexPath> indexPathsForSelectedRows() const;
  void selectRowAtIndexPath(const IndexPath& path, bool animated, ScrollPosition position);
  void deselectRowAtIndexPath(const IndexPath& path, bool animated);

  // Editing: a tap on a row's delete control shows its confirmation button; a tap on that commits.
  bool isEditing() const { return editing_; }
  void setEditing(bool editing, bool animated = false);

  // Cells made by registered interface files or factories (reuse shows as a small count).
  size_t cellsMadeFromRegistrations() const { return cellsMade_; }

  void layoutSubviews() override;
  void setFrame(const Rect& frame) override;
  void touchesBegan(const TouchSet& touches, const Event* event) override;
  void touchesMoved(const TouchSet& touches, const Event* event) override;
  void touchesEnded(const TouchSet& touches, const Event* event) override;
  void touchesCancelled(const TouchSet& touches, const Event* event) override;

 protected:
  void didScroll() override;

 private:
  struct Section {
    long rows = 0;
    double top = 0;  // where the header starts
    double headerHeight = 0;
    double footerHeight = 0;
    std::vector<double> rowTops;
    std::vector<double> rowHeights;
    std::shared_ptr<View> header;
    std::shared_ptr<View> footer;
    double end() const;
  };
  struct Update {
    std::vector<IndexPath> insertedRows, deletedRows, reloadedRows;
    std::set<long> insertedSections, deletedSections, reloadedSections;
  };

  void rebuildSections();
  std::shared_ptr<View> sectionLabel(const std::optional<std::string>& title, bool header) const;
  void layoutRows();
  void placeDecorations();
  void pinSectionDecorations();
  void recycle(const IndexPath& path);
  void recycleAll();
  void showCell(const IndexPath& path);
  void applyUpdate(const Update& update);
  void checkUpdate(const Update& update, const std::vector<long>& oldRows,
                   const std::vector<long>& newRows) const;
  std::set<IndexPath> shiftedSelection(const Update& update) const;
  void selectFromTouch(const IndexPath& path);
  void clearHighlight();
  bool isValid(const IndexPath& path) const;

  Style style_ = Style::Plain;
  std::weak_ptr<TableViewDataSource> dataSource_;
  std::weak_ptr<TableViewDelegate> tableDelegate_;
  std::vector<Section> sections_;
  std::map<IndexPath, std::shared_ptr<TableViewCell>> visible_;
  std::map<std::string, std::vector<std::shared_ptr<TableViewCell>>> reuseQueues_;
  std::map<std::string, std::shared_ptr<Nib>> nibs_;
  std::map<std::string, CellFactory> factories_;
  std::set<IndexPath> selected_;
  std::optional<IndexPath> highlighted_;
  std::optional<IndexPath> confirmingDelete_;
  std::optional<Update> pending_;
  int updateDepth_ = 0;
  std::shared_ptr<View> tableHeaderView_;
  std::shared_ptr<View> tableFooterView_;
  std::shared_ptr<View> backgroundView_;
  std::shared_ptr<RefreshControl> refreshControl_;
  double rowHeight_ = 44;
  double sectionHeaderHeight_ = 22;
  double sectionFooterHeight_ = 22;
  SeparatorStyle separatorStyle_ = SeparatorStyle::SingleLine;
  Color separatorColor_ = Color::fromWhite(0.88);
  size_t cellsMade_ = 0;
  bool loaded_ = false;
  bool editing_ = false;
  bool allowsSelection_ = true;
  bool allowsMultipleSelection_ = false;
  bool allowsSelectionDuringEditing_ = false;
};

}  // namespace pf
