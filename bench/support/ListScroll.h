#pragma once
// A list of a real screen scrolled a frame at a time through the headless host, and the same frames
// drawn directly: every row is taken once (RowPainter) after a first pass that loads what the rows
// show (pictures included), the screen's fixed parts once with the list left out. Counts the cells
// the list made: every distinct cell seen on screen.

#include <cairo.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "bench/support/RowPainter.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Window.h"

namespace bench {

class ListScroll {
 public:
  ListScroll(std::shared_ptr<pf::Window> window, std::shared_ptr<pf::TableView> table)
      : window_(std::move(window)), table_(std::move(table)), host_(window_) {}
  ~ListScroll() {
    if (surface_) cairo_surface_destroy(surface_);
  }

  long rows() const { return table_->numberOfRowsInSection(0); }
  double end() const { return std::max(0.0, table_->contentSize().height - table_->bounds().height()); }
  long cellsMade() const { return static_cast<long>(cells_.size()); }
  pf::HeadlessHost& host() { return host_; }

  // Scrolls through the whole list twice, letting the loop finish what the rows load, then takes
  // every row and the fixed parts.
  void prepare() {
    const double step = table_->bounds().height() / 2;
    for (int pass = 0; pass < 2; ++pass) {
      for (double y = 0;; y = std::min(end(), y + step)) {
        show(y);
        pf::RunLoop::main()->runUntil(pf::Clock::now() + (pass == 0 ? 0.3 : 0.01));
        if (pass == 1) takeVisibleRows();
        if (y >= end()) break;
      }
    }
    fixed_ = painter_.take(*window_, nullptr, table_.get());
    listFrame_ = table_->convertRectToView(table_->bounds(), nullptr);
    show(0);
  }
  long rowsTaken() const { return static_cast<long>(rowSteps_.size()); }

  // Ours: one frame moved to y and rendered.
  void frame(double y) {
    table_->setContentOffset({0, y});
    host_.render();
    for (const auto& cell : table_->visibleCells()) cells_.insert(cell);
  }

  // Raw: the same frame drawn directly.
  void rawFrame(double y) {
    const pf::Rect screen = pf::Screen::mainScreen().bounds();
    const double scale = pf::Screen::mainScreen().scale();
    if (!surface_)
      surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(screen.size.width * scale),
                                            int(screen.size.height * scale));
    cairo_t* cr = cairo_create(surface_);
    cairo_scale(cr, scale, scale);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    painter_.draw(cr, fixed_);
    cairo_rectangle(cr, listFrame_.origin.x, listFrame_.origin.y, listFrame_.size.width, listFrame_.size.height);
    cairo_clip(cr);
    const double bottom = y + listFrame_.size.height;
    auto it = std::upper_bound(rowTops_.begin(), rowTops_.end(), y,
                               [](double top, const std::pair<double, long>& row) { return top < row.first; });
    if (it != rowTops_.begin()) --it;
    for (; it != rowTops_.end() && it->first < bottom; ++it) {
      const auto found = rowSteps_.find(it->second);
      if (found == rowSteps_.end()) continue;
      painter_.draw(cr, found->second, listFrame_.origin.x, listFrame_.origin.y + it->first - y);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
  }

 private:
  void show(double y) {
    table_->setContentOffset({0, y});
    host_.render();
  }
  void takeVisibleRows() {
    for (const auto& path : table_->indexPathsForVisibleRows()) {
      if (path.section != 0 || rowSteps_.count(path.row)) continue;
      auto cell = table_->cellForRowAtIndexPath(path);
      if (!cell) continue;
      rowSteps_[path.row] = painter_.take(*cell, cell.get());
      const double top = table_->rectForRowAtIndexPath(path).origin.y;
      rowTops_.insert(std::upper_bound(rowTops_.begin(), rowTops_.end(), std::make_pair(top, path.row)),
                      std::make_pair(top, path.row));
    }
  }

  std::shared_ptr<pf::Window> window_;
  std::shared_ptr<pf::TableView> table_;
  pf::HeadlessHost host_;
  RowPainter painter_;
  RowPainter::Steps fixed_;
  std::map<long, RowPainter::Steps> rowSteps_;
  std::vector<std::pair<double, long>> rowTops_;  // sorted by top
  pf::Rect listFrame_;
  std::set<std::shared_ptr<pf::TableViewCell>> cells_;
  cairo_surface_t* surface_ = nullptr;
};

}  // namespace bench
