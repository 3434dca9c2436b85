#include "platform/ui/TableView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/RefreshControl.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::IndexPath;
using pf::Rect;
using pf::TableView;
using pf::TableViewCell;

// Remembers whether it was prepared since the data source last filled it.
class CountingCell : public TableViewCell {
 public:
  using TableViewCell::TableViewCell;
  void prepareForReuse() override {
    TableViewCell::prepareForReuse();
    prepared = true;
  }
  bool prepared = false;
};

class Rows : public pf::TableViewDataSource, public pf::TableViewDelegate {
 public:
  long numberOfSectionsInTableView(TableView&) override {
    log.push_back("sections");
    return static_cast<long>(rows.size());
  }
  long numberOfRowsInSection(TableView&, long section) override {
    log.push_back("rows " + std::to_string(section));
    return static_cast<long>(rows[section].size());
  }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& path) override {
    log.push_back("cell " + path.description());
    auto cell = std::static_pointer_cast<CountingCell>(table.dequeueReusableCellWithIdentifier("Row"));
    if (cell) {
      if (!cell->prepared) ++unpreparedReuses;
      ++reused;
    } else {
      cell = std::make_shared<CountingCell>(TableViewCell::CellStyle::Subtitle, "Row");
      ++made;
    }
    cell->prepared = false;
    cell->textLabel()->setText(rows[path.section][path.row]);
    return cell;
  }
  std::optional<double> heightForRowAtIndexPath(TableView& table, const IndexPath& path) override {
    log.push_back("height " + path.description());
    if (heightFromCell) return cellForRowAtIndexPath(table, path)->frame().height();
    return 44.0;
  }
  void commitEditingStyle(TableView& table, TableViewCell::EditingStyle, const IndexPath& path) override {
    log.push_back("commit " + path.description());
    rows[path.section].erase(rows[path.section].begin() + path.row);
    table.deleteRowsAtIndexPaths({path});
  }
  void didSelectRowAtIndexPath(TableView&, const IndexPath& path) override {
    log.push_back("select " + path.description());
  }
  void didDeselectRowAtIndexPath(TableView&, const IndexPath& path) override {
    log.push_back("deselect " + path.description());
  }

  static std::vector<std::string> named(const std::string& prefix, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(prefix + std::to_string(i));
    return names;
  }

  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> log;
  int made = 0;
  int reused = 0;
  int unpreparedReuses = 0;
  bool heightFromCell = false;
};

class TableViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    table = std::make_shared<TableView>(Rect(0, 0, 320, 480));
    table->setDataSource(rows);
    table->setDelegate(rows);
    window->addSubview(table);
  }
  std::string text(const IndexPath& path) const {
    auto cell = table->cellForRowAtIndexPath(path);
    return cell ? cell->textLabel()->text().value_or("") : "(none)";
  }
  size_t firstIndex(const std::string& prefix) const {
    return std::find_if(rows->log.begin(), rows->log.end(),
                        [&](auto& e) { return e.rfind(prefix, 0) == 0; }) -
           rows->log.begin();
  }
  size_t lastIndex(const std::string& prefix) const {
    size_t last = 0;
    for (size_t i = 0; i < rows->log.size(); ++i) {
      if (rows->log[i].rfind(prefix, 0) == 0) last = i;
    }
    return last;
  }

  std::shared_ptr<Rows> rows = std::make_shared<Rows>();
  std::shared_ptr<TableView> table;
};

TEST_F(TableViewTest, ReloadAsksCountsThenEveryHeightThenCellsForTheRowsInView) {
  rows->rows = {Rows::named("a", 3), Rows::named("b", 30)};
  table->reloadData();
  EXPECT_EQ(rows->log[0], "sections");
  EXPECT_EQ(rows->log[1], "rows 0");
  EXPECT_EQ(rows->log[2], "rows 1");
  EXPECT_EQ(
      std::count_if(rows->log.begin(), rows->log.end(), [](auto& e) { return e.rfind("height", 0) == 0; }),
      33);
  EXPECT_LT(lastIndex("height"), firstIndex("cell"));
  // 480 points of 44-point rows: eleven rows in view, not 33.
  EXPECT_EQ(table->visibleCells().size(), 11u);
  EXPECT_EQ(table->contentSize().height, 33 * 44);
  EXPECT_EQ(text({1, 0}), "b0");
  EXPECT_EQ(table->rectForRowAtIndexPath({1, 2}), Rect(0, 5 * 44, 320, 44));
  EXPECT_EQ(table->indexPathForRowAtPoint({10, 5 * 44 + 1}), (IndexPath{1, 2}));
}

TEST_F(TableViewTest, AThousandRowsScrollThroughAScreenfulOfCells) {
  rows->rows = {Rows::named("r", 1000)};
  table->reloadData();
  for (double y = 0; y <= 1000 * 44 - 480; y += 37) table->setContentOffset({0, y});
  table->scrollToRowAtIndexPath({0, 999}, TableView::ScrollPosition::Bottom, false);
  EXPECT_LE(rows->made, 13);
  EXPECT_GT(rows->reused, 900);
  EXPECT_EQ(rows->unpreparedReuses, 0);
  EXPECT_EQ(text({0, 999}), "r999");
  EXPECT_EQ(table->contentOffset().y, 1000 * 44 - 480);
  for (const auto& cell : table->visibleCells()) {
    const auto path = table->indexPathForCell(cell.get());
    ASSERT_TRUE(path);
    EXPECT_EQ(cell->frame(), table->rectForRowAtIndexPath(*path));
    EXPECT_EQ(cell->textLabel()->text(), "r" + std::to_string(path->row));
  }
}

TEST_F(TableViewTest, AHeightQueryMayBuildItsRowThroughTheDataSource) {
  rows->rows = {Rows::named("r", 200)};
  rows->heightFromCell = true;
  table->reloadData();
  EXPECT_EQ(table->contentSize().height, 200 * 44);
  table->setContentOffset({0, 1000});
  EXPECT_EQ(text({0, 23}), "r23");
}

TEST_F(TableViewTest, TapsSelectReloadClearsAndMultipleSelectionToggles) {
  rows->rows = {Rows::named("r", 20)};
  table->reloadData();
  pf::HeadlessHost host(window);
  host.tap({100, 44 * 2 + 10});
  host.tap({100, 44 * 4 + 10});
  EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 4}));
  EXPECT_TRUE(table->cellForRowAtIndexPath({0, 4})->isSelected());
  EXPECT_FALSE(table->cellForRowAtIndexPath({0, 2})->isSelected());
  std::vector<std::string> picks;
  for (const auto& e : rows->log) {
    if (e.rfind("select", 0) == 0 || e.rfind("deselect", 0) == 0) picks.push_back(e);
  }
  EXPECT_EQ(picks, (std::vector<std::string>{"select 0-2", "deselect 0-2", "select 0-4"}));

  table->reloadData();
  EXPECT_FALSE(table->indexPathForSelectedRow());
  EXPECT_FALSE(table->cellForRowAtIndexPath({0, 4})->isSelected());

  table->setAllowsMultipleSelection(true);
  host.tap({100, 10});
  host.tap({100, 44 + 10});
  host.tap({100, 10});
  EXPECT_EQ(table->indexPathsForSelectedRows(), (std::vector<IndexPath>{{0, 1}}));
}

TEST_F(TableViewTest, EditingDeletesThroughTheConfirmationButton) {
  rows->rows = {Rows::named("a", 1), Rows::named("b", 5)};
  table->reloadData();
  table->selectRowAtIndexPath({1, 4}, false, TableView::ScrollPosition::None);
  pf::HeadlessHost host(window);
  table->setEditing(true);
  host.tap({200, 44 * 2 + 10});  // not on the delete control: nothing
  EXPECT_FALSE(table->cellForRowAtIndexPath({1, 1})->showingDeleteConfirmation());
  host.tap({15, 44 * 2 + 10});
  EXPECT_TRUE(table->cellForRowAtIndexPath({1, 1})->showingDeleteConfirmation());
  host.tap({300, 44 * 2 + 10});
  EXPECT_NE(std::find(rows->log.begin(), rows->log.end(), "commit 1-1"), rows->log.end());
  EXPECT_EQ(table->numberOfRowsInSection(1), 4);
  EXPECT_EQ(text({1, 1}), "b2");
  EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{1, 3}));  // the selection moved up with its row

  // The only row of a section goes too, leaving the section empty.
  host.tap({15, 10});
  host.tap({300, 10});
  EXPECT_EQ(table->numberOfRowsInSection(0), 0);
  EXPECT_EQ(text({1, 0}), "b0");
  EXPECT_TRUE(table->cellForRowAtIndexPath({1, 0})->isEditing());

  // A tap elsewhere only hides a confirmation.
  host.tap({15, 10});
  host.tap({200, 44 * 3 + 10});
  EXPECT_FALSE(table->cellForRowAtIndexPath({1, 0})->showingDeleteConfirmation());
  EXPECT_EQ(table->numberOfRowsInSection(1), 4);
}

TEST_F(TableViewTest, UpdatesMustMatchTheDataSourcesCounts) {
  rows->rows = {Rows::named("a", 3), Rows::named("b", 3)};
  table->reloadData();
  rows->rows[0].push_back("a3");
  EXPECT_THROW(table->deleteRowsAtIndexPaths({{0, 0}}), pf::ContractViolation);
  EXPECT_EQ(table->numberOfRowsInSection(0), 3);  // a refused update changes nothing
  table->insertRowsAtIndexPaths({{0, 3}});
  EXPECT_EQ(text({0, 3}), "a3");
  EXPECT_THROW(table->deleteRowsAtIndexPaths({{0, 9}}), pf::ContractViolation);  // no such row

  rows->rows.insert(rows->rows.begin(), Rows::named("z", 2));
  table->selectRowAtIndexPath({1, 1}, false, TableView::ScrollPosition::None);
  table->beginUpdates();
  table->insertSections({0});
  table->endUpdates();
  EXPECT_EQ(table->numberOfSections(), 3);
  EXPECT_EQ(text({0, 1}), "z1");
  EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{2, 1}));

  rows->rows.erase(rows->rows.begin() + 1);
  table->deleteSections({1});
  EXPECT_EQ(table->numberOfSections(), 2);
  EXPECT_EQ(text({1, 0}), "b0");
  EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{1, 1}));

  rows->rows[1][2] = "changed";
  table->reloadRowsAtIndexPaths({{1, 2}});
  EXPECT_EQ(text({1, 2}), "changed");
}

TEST_F(TableViewTest, ReloadingWhileDeceleratingKeepsTheOffsetInRange) {
  rows->rows = {Rows::named("r", 1000)};
  table->reloadData();
  table->setContentOffset({0, 20000});
  table->flingWithVelocity({0, 3000});
  runUntil(pf::Clock::now() + 0.1);
  ASSERT_TRUE(table->isDecelerating());
  rows->rows = {Rows::named("r", 5)};
  table->reloadData();
  runUntil(pf::Clock::now() + 10);
  EXPECT_FALSE(table->isDecelerating());
  EXPECT_EQ(table->contentOffset().y, 0);
  EXPECT_EQ(text({0, 4}), "r4");
}

TEST_F(TableViewTest, CellStylesLayOutTheirLabels) {
  using Style = TableViewCell::CellStyle;
  const struct {
    Style style;
    bool detail;
    bool detailBelow;  // else beside
  } cases[] = {
      {Style::Default, false, false},
      {Style::Subtitle, true, true},
      {Style::Value1, true, false},
      {Style::Value2, true, false},
  };
  for (const auto& c : cases) {
    auto cell = std::make_shared<TableViewCell>(c.style, "id");
    cell->setFrame(Rect(0, 0, 320, 60));
    cell->textLabel()->setText("title");
    ASSERT_EQ(cell->detailTextLabel() != nullptr, c.detail);
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->contentView()->frame(), Rect(0, 0, 320, 60));
    const Rect title = cell->textLabel()->frame();
    EXPECT_GT(title.width(), 0);
    if (c.detail) {
      const Rect detail = cell->detailTextLabel()->frame();
      if (c.detailBelow) {
        EXPECT_GE(detail.minY(), title.maxY());
      } else {
        EXPECT_GE(detail.minX(), title.maxX());
      }
    }
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    cell->setEditing(true);
    cell->layoutIfNeeded();
    EXPECT_GT(cell->contentView()->frame().minX(), 0);
    EXPECT_LT(cell->contentView()->frame().maxX(), 320);
    cell->setSelected(true);
    cell->prepareForReuse();
    EXPECT_FALSE(cell->isSelected());
  }
}

TEST_F(TableViewTest, ASelectedRowRendersBlueUnderItsWhiteTitle) {
  rows->rows = {Rows::named("Course ", 30)};
  table->reloadData();
  table->selectRowAtIndexPath({0, 1}, false, TableView::ScrollPosition::None);
  pf::HeadlessHost host(window);
  ASSERT_TRUE(host.render());
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR"))
    host.writePng(std::string(folder) + "/table.png");
  const auto selected = host.pixelAt({300, 44 + 22});
  EXPECT_LT(selected.red, 60);
  EXPECT_GT(selected.blue, 180);
  const auto plain = host.pixelAt({300, 44 * 3 + 22});
  EXPECT_GT(plain.red, 240);
  const auto separator = host.pixelAt({300, 44 * 3 - 0.5});
  EXPECT_LT(separator.red, 240);
}

TEST_F(TableViewTest, PullingDownStartsRefreshing) {
  rows->rows = {Rows::named("r", 30)};
  table->reloadData();
  auto refresh = std::make_shared<pf::RefreshControl>();
  int sent = 0;
  refresh->addTarget(
      rows, "refresh", [&](pf::Control&, unsigned) { ++sent; }, pf::Control::kValueChanged);
  table->setRefreshControl(refresh);
  pf::HeadlessHost host(window);
  host.drag({{160, 50}, {160, 250}, {160, 350}, {160, 350}}, 2);
  EXPECT_EQ(sent, 1);
  EXPECT_TRUE(refresh->isRefreshing());
  runUntil(pf::Clock::now() + 5);
  EXPECT_EQ(table->contentOffset().y, -pf::RefreshControl::kHeight);
  refresh->endRefreshing();
  runUntil(pf::Clock::now() + 5);
  EXPECT_EQ(table->contentOffset().y, 0);
  EXPECT_EQ(sent, 1);
}

// Fault caught: a load that ended before the reveal's animation had moved the content left the
// animation running to the control's height, so the list rested scrolled down by it.
TEST_F(TableViewTest, RefreshingThatEndsBeforeTheRevealMovesLeavesTheListAtTheTop) {
  rows->rows = {Rows::named("r", 30)};
  table->reloadData();
  auto refresh = std::make_shared<pf::RefreshControl>();
  table->setRefreshControl(refresh);
  for (const double endsAfter : {0.0, 0.05, 1.0}) {
    SCOPED_TRACE(endsAfter);
    refresh->beginRefreshing();
    table->setContentOffset({0, -pf::RefreshControl::kHeight}, true);
    if (endsAfter > 0) runUntil(pf::Clock::now() + endsAfter);
    refresh->endRefreshing();
    runUntil(pf::Clock::now() + 5);
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_EQ(table->animatedOffsetTarget(), std::nullopt) << "nothing left moving";
  }
}

class TitledRows : public Rows {
 public:
  std::optional<std::string> titleForHeaderInSection(TableView&, long section) override {
    return "Section " + std::to_string(section);
  }
  std::optional<double> heightForFooterInSection(TableView&, long section) override {
    return section == 0 ? 30.0 : 0.0;
  }
  std::optional<std::string> titleForFooterInSection(TableView&, long section) override {
    if (section == 0) return "End of the first";
    return std::nullopt;
  }
};

TEST_F(TableViewTest, HeadersFootersAndTheTableHeaderTakeTheirPlaces) {
  auto titled = std::make_shared<TitledRows>();
  titled->rows = {Rows::named("a", 2), Rows::named("b", 2)};
  table->setDataSource(titled);
  table->setDelegate(titled);
  table->setTableHeaderView(std::make_shared<pf::View>(Rect(0, 0, 10, 50)));
  table->reloadData();
  const double header = table->sectionHeaderHeight();
  EXPECT_EQ(table->tableHeaderView()->frame(), Rect(0, 0, 320, 50));
  EXPECT_EQ(table->rectForRowAtIndexPath({0, 0}).minY(), 50 + header);
  EXPECT_EQ(table->rectForSection(0), Rect(0, 50, 320, header + 2 * 44 + 30));
  EXPECT_EQ(table->rectForRowAtIndexPath({1, 1}).minY(), 50 + header + 88 + 30 + header + 44);
  EXPECT_EQ(table->contentSize().height, 50 + 2 * header + 4 * 44 + 30);
  EXPECT_FALSE(table->indexPathForRowAtPoint({10, 60}));  // on a header
}

TEST_F(TableViewTest, RegisteredFactoriesMakeCellsOnlyWhenTheQueueIsEmpty) {
  int made = 0;
  table->registerCellFactory(
      [&](const std::string& id) {
        ++made;
        return std::make_shared<CountingCell>(TableViewCell::CellStyle::Value1, id);
      },
      "Row");
  rows->rows = {Rows::named("r", 500)};
  table->reloadData();
  for (double y = 0; y < 500 * 44 - 480; y += 100) table->setContentOffset({0, y});
  EXPECT_EQ(rows->made, 0);  // the data source never had to make one
  EXPECT_LE(made, 13);
  EXPECT_EQ(table->cellsMadeFromRegistrations(), static_cast<size_t>(made));
  EXPECT_EQ(table->dequeueReusableCellWithIdentifier("Unknown"), nullptr);
}

TEST_F(TableViewTest, SelectionDuringEditingOnlyWhenAllowed) {
  rows->rows = {Rows::named("r", 5)};
  table->reloadData();
  table->setEditing(true);
  pf::HeadlessHost host(window);
  host.tap({200, 10});
  EXPECT_FALSE(table->indexPathForSelectedRow());
  table->setAllowsSelectionDuringEditing(true);
  host.tap({200, 10});
  EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 0}));
}

TEST_F(TableViewTest, PlainHeadersStickToTheTopAndFootersToTheBottomWhileTheirSectionShows) {
  auto titled = std::make_shared<TitledRows>();
  titled->rows = {Rows::named("a", 20), Rows::named("b", 20)};
  table->setDataSource(titled);
  table->setDelegate(titled);
  table->reloadData();
  const double h = table->sectionHeaderHeight();
  const double end0 = h + 20 * 44 + 30;  // section 0 ends after its 30-point footer
  const struct {
    double offset, inset;
    double header0, header1;
  } cases[] = {
      {0, 0, 0, end0},
      {300, 0, 300, end0},
      {end0 - 30 - h - 5, 0, end0 - 30 - h - 5, end0},
      {end0 - 10, 0, end0 - 30 - h, end0},  // pushed up above its footer
      {end0 + 200, 0, end0 - 30 - h, end0 + 200},
      {236, 64, 300, end0},                 // below a bar the content lies under
      {-50, 0, 0, end0},                    // pulled down: stays with its section
  };
  for (const auto& c : cases) {
    table->setContentInset({c.inset, 0, 0, 0});
    table->setContentOffset({0, c.offset});
    EXPECT_EQ(table->headerViewForSection(0)->frame().minY(), c.header0) << c.offset;
    EXPECT_EQ(table->headerViewForSection(1)->frame().minY(), c.header1) << c.offset;
  }
  // Section 0's footer (30 points) sits at the bottom of the view until the section's end comes up.
  const struct {
    double offset;
    double footer;
  } footers[] = {
      {0, 480 - 30},
      {300, 300 + 480 - 30},
      {end0 - 480 + 10, end0 - 30},  // its own place is in view
      {end0 + 100, end0 - 30},
      {-50, -50 + 480 - 30},
  };
  table->setContentInset({});
  for (const auto& c : footers) {
    table->setContentOffset({0, c.offset});
    EXPECT_EQ(table->footerViewForSection(0)->frame().minY(), c.footer) << c.offset;
  }

  // Drawn over the rows scrolling under it.
  table->setContentInset({});
  table->setContentOffset({0, 300});
  pf::HeadlessHost host(window);
  host.render();
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR"))
    host.writePng(std::string(folder) + "/table-pinned-header.png");
  const auto pinned = host.pixelAt({300, h / 2});
  EXPECT_LT(pinned.red, 200);
  EXPECT_LT(pinned.red, pinned.blue);
  EXPECT_GT(host.pixelAt({300, h + 30}).red, 240);  // a row below it

  // A grouped table's headers scroll with their rows.
  auto grouped = std::make_shared<TableView>(Rect(0, 0, 320, 480), TableView::Style::Grouped);
  grouped->setDataSource(titled);
  grouped->setDelegate(titled);
  window->addSubview(grouped);
  grouped->reloadData();
  grouped->setContentOffset({0, 300});
  EXPECT_EQ(grouped->headerViewForSection(0)->frame().minY(), 0);
  EXPECT_EQ(grouped->footerViewForSection(0)->frame().minY(), grouped->rectForSection(0).maxY() - 30);
}

TEST_F(TableViewTest, AnAnimatedSelectionFadesAndAPlainOneSwitchesAtOnce) {
  auto cell = std::make_shared<TableViewCell>(TableViewCell::CellStyle::Default, "Row");
  cell->setFrame(Rect(0, 0, 320, 44));
  window->addSubview(cell);
  auto custom = std::make_shared<TableViewCell>(TableViewCell::CellStyle::Default, "Row");
  custom->setFrame(Rect(0, 100, 320, 44));
  auto green = std::make_shared<pf::View>();
  green->setBackgroundColor(pf::Color::fromRgba(0, 1, 0));
  custom->setSelectedBackgroundView(green);
  window->addSubview(custom);
  pf::HeadlessHost host(window);
  // How far the cell's look is from white towards its selected look: 0 plain, 1 selected.
  auto lit = [&](const std::shared_ptr<TableViewCell>& c) {
    host.render();
    const pf::Pixel p = host.pixelAt({300, c->frame().minY() + 22});
    return (255 - p.red) / 255.0;
  };
  const struct {
    bool selecting, animated, highlight;
  } cases[] = {
      {true, false, false}, {false, false, false}, {true, true, false},
      {false, true, false}, {true, true, true},    {false, true, true},
  };
  for (const auto& target : {cell, custom}) {
    for (const auto& c : cases) {
      const std::string what = std::string(target == cell ? "default " : "custom ") +
                               (c.selecting ? "on" : "off") + (c.animated ? " animated" : "") +
                               (c.highlight ? " highlight" : "");
      if (c.highlight) {
        target->setHighlighted(c.selecting, c.animated);
      } else {
        target->setSelected(c.selecting, c.animated);
      }
      const double from = c.selecting ? 0 : 1;
      const double to = c.selecting ? 1 : 0;
      if (c.animated) {
        EXPECT_NEAR(lit(target), from, 0.05) << what;
        runUntil(pf::Clock::now() + TableViewCell::kSelectionFadeDuration / 2);
        EXPECT_GT(lit(target), 0.15) << what;
        EXPECT_LT(lit(target), 0.85) << what;
        runUntil(pf::Clock::now() + TableViewCell::kSelectionFadeDuration);
      }
      EXPECT_NEAR(lit(target), to, 0.05) << what;
    }
  }
  // A quick change back cuts the first fade short; the second one ends on its own look.
  cell->setSelected(true, true);
  runUntil(pf::Clock::now() + 0.05);
  cell->setSelected(false, true);
  runUntil(pf::Clock::now() + 1);
  EXPECT_NEAR(lit(cell), 0, 0.05);
}

}  // namespace
