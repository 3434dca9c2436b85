#include "ui/hud/RoundProgressView.h"

#include <numbers>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/ui/CurrentContext.h"

RoundProgressView::RoundProgressView() : RoundProgressView(pf::Rect{{0, 0}, {kSide, kSide}}) {}

RoundProgressView::RoundProgressView(const pf::Rect& frame) : pf::View(frame) {
  setBackgroundColor(pf::Color::clear());
  setOpaque(false);
}

void RoundProgressView::setProgress(float progress) {
  progress_ = progress;
  setNeedsDisplay();
}

void RoundProgressView::setAnnular(bool annular) {
  annular_ = annular;
  setNeedsDisplay();
}

void RoundProgressView::setProgressTintColor(const pf::Color& color) {
  progressTint_ = color;
  setNeedsDisplay();
}

void RoundProgressView::setBackgroundTintColor(const pf::Color& color) {
  backgroundTint_ = color;
  setNeedsDisplay();
}

void RoundProgressView::drawRect(const pf::Rect& rect) {
  (void)rect;
  pf::GraphicsContext* context = pf::CurrentContext::get();
  if (!context) return;
  if (annular_) {
    drawRing(*context);
  } else {
    drawPie(*context);
  }
}

void RoundProgressView::drawPie(pf::GraphicsContext& context) const {
  const pf::Rect area = bounds();
  const pf::Rect circle = area.insetBy(2, 2);
  context.setStrokeColor(progressTint_);
  context.setFillColor(backgroundTint_);
  context.setLineWidth(2);
  context.fillEllipse(circle);
  context.strokeEllipse(circle);

  const pf::Point centre{area.midX(), area.midY()};
  const double start = -std::numbers::pi / 2;
  pf::Path sector;
  sector.moveTo(centre);
  sector.addArc(centre, (area.size.width - 4) / 2, start, double(progress_) * 2 * std::numbers::pi + start, true);
  sector.closeSubpath();
  context.setFillColor(pf::Color::fromWhite(1, 1));
  context.fillPath(sector);
}

void RoundProgressView::drawRing(pf::GraphicsContext& context) const {
  const pf::Rect area = bounds();
  const pf::Point centre{area.midX(), area.midY()};
  const double radius = (area.size.width - 5) / 2;
  const double start = -std::numbers::pi / 2;
  context.setLineWidth(5);
  context.setLineCap(pf::LineCap::round);
  context.setStrokeColor(backgroundTint_);
  context.strokePath(pf::Path::withArc(centre, radius, start, 3 * std::numbers::pi / 2, true));
  context.setStrokeColor(progressTint_);
  context.strokePath(
      pf::Path::withArc(centre, radius, start, double(progress_) * 2 * std::numbers::pi + start, true));
}
