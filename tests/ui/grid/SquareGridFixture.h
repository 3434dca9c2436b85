#pragma once
// The app square's grid as the square screen sets it up, over a model of named, coloured items: a
// header of 108 points (scaled) above a grid that fills the rest of the window, items w / 320 x 70 by
// h / 480 x 100, spacing and minimum insets int(h / 480 x 20), centred, swap style, the data source
// set before the paged left-to-right strategy. Cells are an icon (a picture of the item's colour)
// over a name label lit in #089DB9 while touched. Counts the cells made and the cells asked for, and
// records taps and the offsets the delegate saw. Runs on the phone or the tablet profile.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TouchInjector.h"
#include "tests/platform/ui/UiTest.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewActionDelegate.h"
#include "ui/grid/GridViewCell.h"
#include "ui/grid/GridViewDataSource.h"
#include "ui/grid/GridViewLayoutStrategyFactory.h"

namespace squaregrid {

inline pf::Pixel itemPixel(long item) {
  const pf::Rgba c = pf::Color::fromHsba(double(item % 14) / 14.0, 0.8, 0.8).rgba().value();
  return {std::uint8_t(std::lround(c.red * 255)), std::uint8_t(std::lround(c.green * 255)),
          std::uint8_t(std::lround(c.blue * 255)), 255};
}

inline std::string itemName(long item) {
  return "应用" + std::to_string(item);
}

inline std::shared_ptr<const pf::Image> iconOf(long item) {
  auto bitmap = pf::Bitmap::create(4, 4);
  const pf::Pixel pixel = itemPixel(item);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) bitmap->setPixel(x, y, pixel);
  return pf::Image::withBitmap(bitmap);
}

// Reads what a cell shows, by the views the source put in it.
inline std::shared_ptr<pf::Label> nameLabelOf(const GridViewCell& cell) {
  if (!cell.contentView()) return nullptr;
  for (const auto& view : cell.contentView()->subviews()) {
    if (auto label = std::dynamic_pointer_cast<pf::Label>(view)) return label;
  }
  return nullptr;
}
inline std::shared_ptr<pf::ImageView> iconViewOf(const GridViewCell& cell) {
  if (!cell.contentView()) return nullptr;
  for (const auto& view : cell.contentView()->subviews()) {
    if (auto icon = std::dynamic_pointer_cast<pf::ImageView>(view)) return icon;
  }
  return nullptr;
}
inline std::string shownName(const GridViewCell& cell) {
  auto label = nameLabelOf(cell);
  return label && label->text() ? *label->text() : "";
}

class SquareSource : public GridViewDataSource, public GridViewActionDelegate {
 public:
  explicit SquareSource(long count) {
    for (long i = 0; i < count; ++i) items.push_back(i);
  }

  long numberOfItemsInGridView(GridView&) override { return long(items.size()); }
  pf::Size sizeForItemsInInterfaceOrientation(GridView&, pf::Application::InterfaceOrientation) override {
    ++sizeCalls;
    const pf::Rect screen = pf::Screen::mainScreen().bounds();
    return {screen.width() / 320 * 70, screen.height() / 480 * 100};
  }
  std::shared_ptr<GridViewCell> cellForItemAtIndex(GridView& grid, long index) override {
    ++cellCalls;
    if (nilCellAt == index) return nullptr;
    const pf::Size size = grid.itemSize();
    auto cell = grid.dequeueReusableCell();
    if (!cell) {
      ++cellsMade;
      cell = std::make_shared<GridViewCell>();
      auto content = std::make_shared<pf::View>(pf::Rect(0, 0, size.width, size.height));
      content->setBackgroundColor(pf::Color::clear());
      cell->setContentView(content);
    }
    // A reused cell shows only the views of its new item.
    const auto content = cell->contentView();
    while (!content->subviews().empty()) content->subviews().back()->removeFromSuperview();
    const long item = items[size_t(index)];
    const pf::Rect screen = pf::Screen::mainScreen().bounds();
    auto icon = std::make_shared<pf::ImageView>(iconOf(item));
    icon->setFrame({0, 0, size.width, size.width});
    content->addSubview(icon);
    auto name = std::make_shared<pf::Label>(
        pf::Rect(0, size.width + 7, size.width, screen.height() / 480 * 20));
    name->setText(itemName(item));
    name->setFont(pf::Font::systemFont(screen.width() / 320 * 16));
    name->setTextAlignment(pf::TextAlignment::center);
    name->setTextColor(pf::Color::black());
    name->setHighlightedTextColor(pf::Color::fromRgba(0x08 / 255.0, 0x9D / 255.0, 0xB9 / 255.0));
    content->addSubview(name);
    return cell;
  }

  void didTapOnItemAtIndex(GridView&, long index) override { taps.push_back(index); }
  void GridViewDidScroll(GridView& grid) override {
    offsets.push_back(grid.contentOffset().x);
    page = long(grid.contentOffset().x / grid.bounds().width());
  }

  std::vector<long> items;
  long nilCellAt = -1;
  int cellsMade = 0;
  int cellCalls = 0;
  int sizeCalls = 0;
  long page = 0;
  std::vector<long> taps;
  std::vector<double> offsets;
};

struct Profile {
  const char* name;
  pf::Screen::Profile profile;
};
inline std::string profileName(const testing::TestParamInfo<Profile>& info) {
  return info.param.name;
}

class SquareGridTest : public UiTest, public testing::WithParamInterface<Profile> {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::Screen::configure(GetParam().profile);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
    host = std::make_unique<pf::HeadlessHost>(window);
    fingers = std::make_unique<pf::TouchInjector>(window);
  }
  void TearDown() override {
    fingers.reset();
    host.reset();
    grid.reset();
    UiTest::TearDown();
  }

  double width() const { return pf::Screen::mainScreen().bounds().width(); }
  double height() const { return pf::Screen::mainScreen().bounds().height(); }
  double headerHeight() const { return height() / 480 * 108; }

  // The square's own order of set-up.
  void makeSquare(long count, std::shared_ptr<SquareSource> custom = nullptr) {
    source = custom ? std::move(custom) : std::make_shared<SquareSource>(count);
    grid = std::make_shared<GridView>(pf::Rect(0, headerHeight(), width(), height() - headerHeight()));
    grid->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
    grid->setBackgroundColor(pf::Color::clear());
    grid->setStyle(1);
    const long spacing = long(height() / 480 * 20);
    grid->setItemSpacing(spacing);
    grid->setMinEdgeInsets({double(spacing), double(spacing), double(spacing), double(spacing)});
    grid->setCenterGrid(true);
    grid->setActionDelegate(source);
    grid->setDataSource(source);
    grid->setLayoutStrategy(GridViewLayoutStrategyFactory::strategyFromType(2));
    window->addSubview(grid);
    window->setBackgroundColor(pf::Color::white());
    host->render();
  }

  // Window point at a spot of an item (fractions of its size), for the page in view.
  pf::Point windowPointOfItem(long item, double fx = 0.5, double fy = 0.3) {
    const pf::Point origin = grid->layoutStrategy()->originForItemAtPosition(item);
    const pf::Size size = grid->itemSize();
    return grid->convertPointToView({origin.x + size.width * fx, origin.y + size.height * fy}, nullptr);
  }

  pf::Point gridPointOfItem(long item, double fx, double fy) {
    const pf::Point origin = grid->layoutStrategy()->originForItemAtPosition(item);
    return {origin.x + grid->itemSize().width * fx, origin.y + grid->itemSize().height * fy};
  }
  pf::Point toWindow(pf::Point inGrid) { return grid->convertPointToView(inGrid, nullptr); }

  // One swipe a page to the left (positive: next page), then the snap.
  void swipePages(int direction) {
    const double y = headerHeight() + 30;
    const double from = direction > 0 ? width() * 0.85 : width() * 0.15;
    const double to = direction > 0 ? width() * 0.15 : width() * 0.85;
    host->drag({{from, y}, {to, y}}, 0.3);
    host->advance(1.0);
  }

  std::vector<long> loadedPositions() {
    std::vector<long> positions;
    for (const auto& cell : grid->itemSubviews()) positions.push_back(grid->positionForItemSubview(*cell));
    std::sort(positions.begin(), positions.end());
    return positions;
  }

  // Every loaded cell shows the model's item of its place.
  void expectCellsShowTheirItems(const std::string& when) {
    for (const auto& cell : grid->itemSubviews()) {
      const long position = grid->positionForItemSubview(*cell);
      ASSERT_GE(position, 0) << when;
      ASSERT_LT(position, long(source->items.size())) << when;
      EXPECT_EQ(shownName(*cell), itemName(source->items[size_t(position)])) << when << ", place " << position;
      const pf::Point origin = grid->layoutStrategy()->originForItemAtPosition(position);
      EXPECT_NEAR(cell->frame().origin.x, origin.x, 1e-6) << when << ", place " << position;
      EXPECT_NEAR(cell->frame().origin.y, origin.y, 1e-6) << when << ", place " << position;
    }
  }

  std::shared_ptr<SquareSource> source;
  std::shared_ptr<GridView> grid;
  std::unique_ptr<pf::HeadlessHost> host;
  std::unique_ptr<pf::TouchInjector> fingers;
};

inline const Profile kProfiles[] = {{"Phone", pf::Screen::Profile::Phone}, {"Tablet", pf::Screen::Profile::Tablet}};

}  // namespace squaregrid
