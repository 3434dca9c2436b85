#include "app/components/stackedpanels/UIViewWithShadow.h"

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/ImageContext.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Screen.h"

UIViewWithShadow::UIViewWithShadow() : UIViewWithShadow(pf::Rect()) {}

UIViewWithShadow::UIViewWithShadow(const pf::Rect& frame) : pf::View(frame) {
  setBackgroundColor(pf::Color::clear());
  setOpaque(false);
  // The box it shades is placed by layout, which must run before the first drawing.
  setNeedsLayout();
}

void UIViewWithShadow::layoutSubviews() {
  _coloredBoxRect = pf::Rect(40, 0, 40, frame().height());
}

void UIViewWithShadow::drawRect(const pf::Rect&) {
  pf::GraphicsContext* context = pf::CurrentContext::get();
  if (!context) return;
  // Our drawing keeps only ink inside the view, so a shadow cast by a box outside it would vanish:
  // the box and its shadow go onto a canvas wide enough for both, and the view keeps its own part.
  const double scale = pf::Screen::mainScreen().scale();
  auto canvas = pf::ImageContext::create({_coloredBoxRect.origin.x + _coloredBoxRect.width(), frame().height()},
                                         false, scale);
  if (!canvas) return;
  pf::GraphicsContext& box = canvas->context();
  box.saveGState();
  box.setShadow({-5, 0}, 10, pf::Color::fromRgba(0.2, 0.2, 0.2, 0.4));
  box.setFillColor(pf::Color::fromRgba(105.0 / 255, 179.0 / 255, 216.0 / 255, 0.8));
  box.fillRect(_coloredBoxRect);
  box.restoreGState();
  auto picture = canvas->image();
  context->drawBitmap(*picture->bitmap(), pf::Rect(pf::Point{0, 0}, picture->size()));
}
