// Scrolling a 10,000-row table of two-line cells on a 320x480 phone window at scale 2: each frame moves
// the offset by 9 points, lets the table reuse its cells and renders the window through the headless
// host. Against Cairo and Pango drawing the same visible rows (white rows, separators, two lines of
// text each) straight into a bitmap. Reports the cells the table made.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>

#include "bench/support/RatioReporter.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"

namespace {

constexpr long kRows = 10000;
constexpr double kRowHeight = 56, kStep = 9, kWidth = 320, kHeight = 480, kScale = 2;

std::string titleOf(long row) {
  return "第" + std::to_string(row + 1) + "课 Course unit";
}
std::string detailOf(long row) {
  return "Chapter " + std::to_string(row / 10 + 1) + " · 12:30";
}

class TwoLineRows : public pf::TableViewDataSource, public pf::TableViewDelegate {
 public:
  long numberOfRowsInSection(pf::TableView&, long) override { return kRows; }
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& table,
                                                           const pf::IndexPath& path) override {
    auto cell = table.dequeueReusableCellWithIdentifier("Unit");
    if (!cell) {
      cell = std::make_shared<pf::TableViewCell>(pf::TableViewCell::CellStyle::Subtitle, "Unit");
      ++made;
    }
    cell->textLabel()->setText(titleOf(path.row));
    cell->detailTextLabel()->setText(detailOf(path.row));
    return cell;
  }
  std::optional<double> heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) override {
    return kRowHeight;
  }
  long made = 0;
};

void BM_TableScrollFrame(benchmark::State& state) {
  pf::Clock::install(std::make_shared<pf::VirtualClock>());
  pf::RunLoop::setMainThread();
  pf::Screen::configure(pf::Screen::Profile::Phone);
  auto window = std::make_shared<pf::Window>();
  window->makeKeyAndVisible();
  auto rows = std::make_shared<TwoLineRows>();
  auto table = std::make_shared<pf::TableView>(pf::Rect(0, 0, kWidth, kHeight));
  table->setDataSource(rows);
  table->setDelegate(rows);
  window->addSubview(table);
  table->reloadData();
  pf::HeadlessHost host(window);
  const double end = kRows * kRowHeight - kHeight;
  double y = 0;
  for (auto _ : state) {
    y = y + kStep > end ? 0 : y + kStep;
    table->setContentOffset({0, y});
    benchmark::DoNotOptimize(host.render());
  }
  state.counters["cells_made"] = static_cast<double>(rows->made);
  window.reset();
  pf::Clock::install(nullptr);
}

void BM_CairoTableFrame(benchmark::State& state) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(kWidth * kScale), int(kHeight * kScale));
  PangoFontDescription* title = pango_font_description_from_string("WenQuanYi Micro Hei Bold");
  pango_font_description_set_absolute_size(title, 17 * PANGO_SCALE);
  PangoFontDescription* detail = pango_font_description_from_string("WenQuanYi Micro Hei");
  pango_font_description_set_absolute_size(detail, 14 * PANGO_SCALE);
  const double end = kRows * kRowHeight - kHeight;
  double y = 0;
  for (auto _ : state) {
    y = y + kStep > end ? 0 : y + kStep;
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, kScale, kScale);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    for (long row = long(y / kRowHeight); row * kRowHeight < y + kHeight && row < kRows; ++row) {
      const double top = row * kRowHeight - y;
      cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
      cairo_rectangle(cr, 0, top + kRowHeight - 1, kWidth, 1);
      cairo_fill(cr);
      const std::pair<PangoFontDescription*, std::string> lines[] = {{title, titleOf(row)},
                                                                     {detail, detailOf(row)}};
      double lineTop = top + 4;
      for (const auto& [font, text] : lines) {
        PangoLayout* layout = pango_cairo_create_layout(cr);
        pango_layout_set_font_description(layout, font);
        pango_layout_set_text(layout, text.c_str(), -1);
        pango_layout_set_width(layout, int((kWidth - 20) * PANGO_SCALE));
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, 10, lineTop);
        pango_cairo_show_layout(cr, layout);
        g_object_unref(layout);
        lineTop += 26;
      }
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
  }
  pango_font_description_free(title);
  pango_font_description_free(detail);
  cairo_surface_destroy(surface);
}

BENCHMARK(BM_TableScrollFrame)->Apply(bench::configure);
BENCHMARK(BM_CairoTableFrame)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("table scroll");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("10,000-row table scrolled 9 points a frame", "BM_TableScrollFrame", "Cairo+Pango",
                      "BM_CairoTableFrame");
  benchmark::Shutdown();
  return 0;
}
