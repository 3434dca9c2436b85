// Scrolling the app square's grid of 1,000 items (an icon over a name, 70 x 100 points, spacing 20) on
// the phone window at scale 2, below the square's 108-point header: the paged left-to-right layout swept
// 32 points a frame, and the vertical layout scrolled 9 points a frame. Each frame moves the offset, lets
// the grid load and recycle its cells and renders the window through the headless host. Against Cairo
// and Pango drawing the same visible icons and names straight into a bitmap. Reports the cells the grid
// made (paged: at most three pages of six).

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "bench/support/RatioReporter.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/text/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewCell.h"
#include "ui/grid/GridViewDataSource.h"
#include "ui/grid/GridViewLayoutStrategy.h"
#include "ui/grid/GridViewLayoutStrategyFactory.h"

namespace {

constexpr long kItems = 1000;
constexpr double kWidth = 320, kHeight = 480, kScale = 2, kHeader = 108;
constexpr double kItemWidth = 70, kItemHeight = 100, kSpacing = 20, kNameTop = 77, kNameHeight = 20;
constexpr int kIconPixels = int(kItemWidth * kScale);

std::string nameOf(long item) {
  return "应用" + std::to_string(item + 1);
}

// One icon picture per colour, shared by both sides.
struct IconPixels {
  static constexpr int kColours = 8;
  IconPixels() {
    for (int c = 0; c < kColours; ++c) {
      auto bitmap = pf::Bitmap::create(kIconPixels, kIconPixels);
      const pf::Pixel pixel{std::uint8_t(40 + 25 * c), std::uint8_t(200 - 20 * c), 180, 255};
      for (int y = 0; y < kIconPixels; ++y)
        for (int x = 0; x < kIconPixels; ++x) bitmap->setPixel(x, y, pixel);
      images[c] = pf::Image::withBitmap(bitmap, kScale);
      surfaces[c] = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kIconPixels, kIconPixels);
      cairo_t* cr = cairo_create(surfaces[c]);
      cairo_set_source_rgb(cr, pixel.red / 255.0, pixel.green / 255.0, pixel.blue / 255.0);
      cairo_paint(cr);
      cairo_destroy(cr);
    }
  }
  ~IconPixels() {
    for (auto* surface : surfaces) cairo_surface_destroy(surface);
  }
  std::shared_ptr<const pf::Image> images[kColours];
  cairo_surface_t* surfaces[kColours];
};

IconPixels& icons() {
  static IconPixels shared;
  return shared;
}

class SquareCells : public GridViewDataSource {
 public:
  long numberOfItemsInGridView(GridView&) override { return kItems; }
  pf::Size sizeForItemsInInterfaceOrientation(GridView&, pf::Application::InterfaceOrientation) override {
    return {kItemWidth, kItemHeight};
  }
  std::shared_ptr<GridViewCell> cellForItemAtIndex(GridView& grid, long index) override {
    auto cell = grid.dequeueReusableCell();
    if (!cell) {
      ++made;
      cell = std::make_shared<GridViewCell>();
      auto content = std::make_shared<pf::View>(pf::Rect(0, 0, kItemWidth, kItemHeight));
      cell->setContentView(content);
      auto icon = std::make_shared<pf::ImageView>(pf::Rect(0, 0, kItemWidth, kItemWidth));
      content->addSubview(icon);
      auto name = std::make_shared<pf::Label>(pf::Rect(0, kNameTop, kItemWidth, kNameHeight));
      name->setFont(pf::Font::systemFont(16));
      name->setTextAlignment(pf::TextAlignment::center);
      name->setHighlightedTextColor(pf::Color::fromRgba(0x08 / 255.0, 0x9D / 255.0, 0xB9 / 255.0));
      content->addSubview(name);
    }
    const auto& parts = cell->contentView()->subviews();
    std::static_pointer_cast<pf::ImageView>(parts[0])->setImage(icons().images[index % IconPixels::kColours]);
    std::static_pointer_cast<pf::Label>(parts[1])->setText(nameOf(index));
    return cell;
  }
  long made = 0;
};

// The grid of one layout type in a white phone window, and how far a frame moves it.
void runGridFrames(benchmark::State& state, long type, double step) {
  pf::Clock::install(std::make_shared<pf::VirtualClock>());
  pf::RunLoop::setMainThread();
  pf::Screen::configure(pf::Screen::Profile::Phone);
  {
    auto window = std::make_shared<pf::Window>();
    window->setBackgroundColor(pf::Color::white());
    window->makeKeyAndVisible();
    auto cells = std::make_shared<SquareCells>();
    auto grid = std::make_shared<GridView>(pf::Rect(0, kHeader, kWidth, kHeight - kHeader));
    grid->setItemSpacing(long(kSpacing));
    grid->setMinEdgeInsets({kSpacing, kSpacing, kSpacing, kSpacing});
    grid->setDataSource(cells);
    grid->setLayoutStrategy(GridViewLayoutStrategyFactory::strategyFromType(type));
    window->addSubview(grid);
    pf::HeadlessHost host(window);
    host.render();
    const bool paged = type == 2;
    const pf::Size content = grid->contentSize();
    const double end = paged ? content.width - grid->bounds().width() : content.height - grid->bounds().height();
    double at = 0;
    for (auto _ : state) {
      at = at + step > end ? 0 : at + step;
      grid->setContentOffset(paged ? pf::Point{at, 0} : pf::Point{0, at});
      benchmark::DoNotOptimize(host.render());
    }
    state.counters["cells_made"] = double(cells->made);
  }
  pf::Clock::install(nullptr);
}

void BM_GridPagedSweepFrame(benchmark::State& state) {
  runGridFrames(state, 2, 32);
}

void BM_GridVerticalScrollFrame(benchmark::State& state) {
  runGridFrames(state, 0, 9);
}

// The same items straight into a bitmap: the visible icons scaled from their pictures, the names
// centred under them, over white below the header.
class RawSquare {
 public:
  explicit RawSquare(long type) : strategy_(GridViewLayoutStrategyFactory::strategyFromType(type)) {
    strategy_->setupItemSize({kItemWidth, kItemHeight}, long(kSpacing), {kSpacing, kSpacing, kSpacing, kSpacing}, true);
    strategy_->rebaseWithItemCount(kItems, {0, 0, kWidth, kHeight - kHeader});
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(kWidth * kScale), int(kHeight * kScale));
    font_ = pango_font_description_from_string("WenQuanYi Micro Hei");
    pango_font_description_set_absolute_size(font_, 16 * PANGO_SCALE);
  }
  ~RawSquare() {
    pango_font_description_free(font_);
    cairo_surface_destroy(surface_);
  }
  pf::Size contentSize() const { return strategy_->contentSize(); }

  void frame(pf::Point offset) {
    cairo_t* cr = cairo_create(surface_);
    cairo_scale(cr, kScale, kScale);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_rectangle(cr, 0, kHeader, kWidth, kHeight - kHeader);
    cairo_clip(cr);
    const pf::Rect visible{offset, {kWidth, kHeight - kHeader}};
    const GridPositionRange range = strategy_->rangeOfPositionsInBoundsFromOffset(offset);
    for (long item = range.location; item < std::min(range.end(), kItems); ++item) {
      const pf::Point origin = strategy_->originForItemAtPosition(item);
      if (!pf::Rect(origin, {kItemWidth, kItemHeight}).intersects(visible)) continue;
      const double x = origin.x - offset.x, y = origin.y - offset.y + kHeader;
      cairo_save(cr);
      cairo_translate(cr, x, y);
      cairo_scale(cr, 1 / kScale, 1 / kScale);
      cairo_set_source_surface(cr, icons().surfaces[item % IconPixels::kColours], 0, 0);
      cairo_paint(cr);
      cairo_restore(cr);
      PangoLayout* layout = pango_cairo_create_layout(cr);
      pango_layout_set_font_description(layout, font_);
      const std::string name = nameOf(item);
      pango_layout_set_text(layout, name.c_str(), -1);
      pango_layout_set_width(layout, int(kItemWidth * PANGO_SCALE));
      pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_move_to(cr, x, y + kNameTop);
      pango_cairo_show_layout(cr, layout);
      g_object_unref(layout);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface_));
  }

 private:
  std::shared_ptr<GridViewLayoutStrategy> strategy_;
  cairo_surface_t* surface_;
  PangoFontDescription* font_;
};

void runRawFrames(benchmark::State& state, long type, double step) {
  RawSquare raw(type);
  const bool paged = type == 2;
  const double end = paged ? raw.contentSize().width - kWidth : raw.contentSize().height - (kHeight - kHeader);
  double at = 0;
  for (auto _ : state) {
    at = at + step > end ? 0 : at + step;
    raw.frame(paged ? pf::Point{at, 0} : pf::Point{0, at});
  }
}

void BM_CairoPagedSweepFrame(benchmark::State& state) {
  runRawFrames(state, 2, 32);
}

void BM_CairoVerticalScrollFrame(benchmark::State& state) {
  runRawFrames(state, 0, 9);
}

BENCHMARK(BM_GridPagedSweepFrame)->Apply(bench::configure);
BENCHMARK(BM_CairoPagedSweepFrame)->Apply(bench::configure);
BENCHMARK(BM_GridVerticalScrollFrame)->Apply(bench::configure);
BENCHMARK(BM_CairoVerticalScrollFrame)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("grid scroll");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("1,000-item paged grid swept 32 points a frame", "BM_GridPagedSweepFrame", "Cairo+Pango",
                      "BM_CairoPagedSweepFrame");
  reporter.printRatio("1,000-item vertical grid scrolled 9 points a frame", "BM_GridVerticalScrollFrame",
                      "Cairo+Pango", "BM_CairoVerticalScrollFrame");
  benchmark::Shutdown();
  return 0;
}
