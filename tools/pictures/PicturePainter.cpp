#include "tools/pictures/PicturePainter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "platform/graphics/Gradient.h"
#include "platform/graphics/Path.h"
#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"

namespace pictures {

namespace {

using pf::Color;
using pf::GraphicsContext;
using pf::Path;
using pf::Point;
using pf::Rect;

Color colourOf(std::uint32_t rgb) {
  return Color::fromRgba(((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// Towards black (negative) or white (positive) by the share.
Color shade(const Color& colour, double share) {
  const auto c = colour.rgba().value_or(pf::Rgba{0, 0, 0, 1});
  const double target = share < 0 ? 0 : 1, t = std::abs(share);
  return Color::fromRgba(c.red + (target - c.red) * t, c.green + (target - c.green) * t,
                         c.blue + (target - c.blue) * t, c.alpha);
}

bool endsWith(std::string_view name, std::string_view tail) {
  return name.size() >= tail.size() && name.substr(name.size() - tail.size()) == tail;
}

// Pressed pictures are darker, disabled ones paler.
Color baseColour(const Picture& picture) {
  const Color colour = colourOf(picture.colour);
  if (endsWith(picture.name, "_p")) return shade(colour, -0.25);
  if (endsWith(picture.name, "_d")) return shade(colour, 0.55);
  return colour;
}

void centredText(GraphicsContext& g, std::string_view text, const Rect& area, double size, const Color& colour,
                 bool bold = true) {
  if (text.empty()) return;
  auto font = bold ? pf::Font::boldSystemFont(size) : pf::Font::systemFont(size);
  pf::Size measured = pf::StringDrawing::sizeOfText(text, *font);
  while (measured.width > area.width() && size > 6) {
    size -= 1;
    font = bold ? pf::Font::boldSystemFont(size) : pf::Font::systemFont(size);
    measured = pf::StringDrawing::sizeOfText(text, *font);
  }
  const Rect box(area.minX(), area.midY() - measured.height / 2, area.width(), measured.height);
  pf::StringDrawing::drawText(g, text, box, *font, colour, pf::LineBreakMode::clip, pf::TextAlignment::center);
}

void verticalGradient(GraphicsContext& g, const Path& shape, const Rect& area, const Color& top,
                      const Color& bottom) {
  g.saveGState();
  g.clip(shape);
  g.drawLinearGradient(pf::Gradient({top, bottom}), {area.midX(), area.minY()},
                       {area.midX(), area.maxY()});
  g.restoreGState();
}

void paintBackdrop(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  verticalGradient(g, Path::withRect(all), all, shade(c, 0.5), c);
  g.setStrokeColor(shade(c, -0.04));
  g.setLineWidth(1);
  for (double y = 24; y < all.height(); y += 24) {
    Path line;
    line.moveTo({0, y + 0.5});
    line.lineTo({all.width(), y + 0.5});
    g.strokePath(line);
  }
}

void paintBanner(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  verticalGradient(g, Path::withRect(all), all, shade(c, 0.2), shade(c, -0.2));
  g.setFillColor(shade(c, 0.35).withAlpha(0.35));
  g.fillEllipse(Rect(all.width() * 0.65, -all.height() * 0.4, all.height() * 1.4, all.height() * 1.4));
  centredText(g, p.text, all.insetBy(12, 0), all.height() * 0.28, Color::white());
}

void paintBar(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  verticalGradient(g, Path::withRect(all), all, shade(c, 0.18), shade(c, -0.12));
  g.setFillColor(shade(c, -0.4));
  g.fillRect(Rect(0, all.height() - 1, all.width(), 1));
  centredText(g, p.text, all, all.height() * 0.4, Color::white());
}

void paintButton(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  const Rect body = all.insetBy(0.5, 0.5);
  const Path shape = Path::withRoundedRect(body, std::min(6.0, all.height() / 4));
  verticalGradient(g, shape, body, shade(c, 0.2), shade(c, -0.1));
  g.setStrokeColor(shade(c, -0.35));
  g.setLineWidth(1);
  g.strokePath(shape);
  centredText(g, p.text, all.insetBy(4, 0), all.height() * 0.45, Color::white());
}

void paintBackButton(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  const Rect body = all.insetBy(0.5, 0.5);
  const double point = std::min(12.0, body.height() / 2.4), cut = 3;
  Path shape;
  shape.moveTo({body.minX(), body.midY()});
  shape.lineTo({body.minX() + point, body.minY()});
  shape.lineTo({body.maxX() - cut, body.minY()});
  shape.lineTo({body.maxX(), body.minY() + cut});
  shape.lineTo({body.maxX(), body.maxY() - cut});
  shape.lineTo({body.maxX() - cut, body.maxY()});
  shape.lineTo({body.minX() + point, body.maxY()});
  shape.closeSubpath();
  verticalGradient(g, shape, body, shade(c, 0.2), shade(c, -0.1));
  g.setStrokeColor(shade(c, -0.35));
  g.setLineWidth(1);
  g.setLineJoin(pf::LineJoin::round);
  g.strokePath(shape);
}

void paintBackArrow(const Picture& p, GraphicsContext& g, const Rect& all) {
  paintButton(p, g, all);
  const double half = all.height() * 0.22;
  Path arrow;
  arrow.moveTo({all.midX() + half * 1.1, all.midY()});
  arrow.lineTo({all.midX() - half * 0.9, all.midY()});
  arrow.moveTo({all.midX() - half * 0.1, all.midY() - half});
  arrow.lineTo({all.midX() - half * 1.1, all.midY()});
  arrow.lineTo({all.midX() - half * 0.1, all.midY() + half});
  g.setStrokeColor(Color::white());
  g.setLineWidth(std::max(1.5, all.height() / 12));
  g.setLineCap(pf::LineCap::round);
  g.setLineJoin(pf::LineJoin::round);
  g.strokePath(arrow);
}

void paintLinesIn(GraphicsContext& g, const Rect& area, const Color& colour) {
  g.setFillColor(colour);
  const double h = std::max(1.0, area.height() / 6);
  for (int i = 0; i < 3; ++i)
    g.fillRect(Rect(area.minX(), area.minY() + i * (area.height() - h) / 2, area.width(), h));
}

void paintMenuButton(const Picture& p, GraphicsContext& g, const Rect& all) {
  paintButton(p, g, all);
  const double w = all.width() * 0.45, h = all.height() * 0.42;
  paintLinesIn(g, Rect(all.midX() - w / 2, all.midY() - h / 2, w, h), Color::white());
}

void paintTab(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  verticalGradient(g, Path::withRect(all), all, shade(c, 0.15), shade(c, -0.05));
  g.setFillColor(shade(c, 0.4));
  g.fillRect(Rect(0, 0, all.width(), 1));
  centredText(g, p.text, all, all.height() * 0.4, Color::white());
}

void paintCell(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  g.setFillColor(c);
  g.fillRect(all);
  g.setStrokeColor(shade(c, -0.15));
  g.setLineWidth(1);
  g.strokeRect(all.insetBy(0.5, 0.5));
}

void paintIcon(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  const Rect body = all.insetBy(1, 1);
  const Path shape = Path::withRoundedRect(body, body.width() * 0.22);
  verticalGradient(g, shape, body, shade(c, 0.25), shade(c, -0.1));
  centredText(g, p.text, body.insetBy(2, 0), body.height() * 0.55, Color::white());
}

void paintGlyph(const Picture& p, GraphicsContext& g, const Rect& all) {
  centredText(g, p.text, all, all.height() * 0.75, baseColour(p));
}

void paintBadge(const Picture& p, GraphicsContext& g, const Rect& all) {
  g.setFillColor(Color::white());
  g.fillEllipse(all.insetBy(0.5, 0.5));
  g.setFillColor(baseColour(p));
  g.fillEllipse(all.insetBy(all.width() * 0.1, all.height() * 0.1));
}

void paintTag(const Picture& p, GraphicsContext& g, const Rect& all) {
  g.setFillColor(baseColour(p));
  g.fillPath(Path::withRoundedRect(all, all.height() / 2));
  centredText(g, p.text, all.insetBy(4, 0), all.height() * 0.6, Color::white(), false);
}

void paintCheck(const Picture& p, GraphicsContext& g, const Rect& all, bool on) {
  const Color c = baseColour(p);
  const Rect box = all.insetBy(all.width() * 0.1, all.height() * 0.1);
  const Path shape = Path::withRoundedRect(box, box.width() * 0.18);
  g.setFillColor(on ? c : Color::white());
  g.fillPath(shape);
  g.setStrokeColor(on ? shade(c, -0.3) : c);
  g.setLineWidth(std::max(1.0, all.width() / 14));
  g.strokePath(shape);
  if (!on) return;
  Path tick;
  tick.moveTo({box.minX() + box.width() * 0.22, box.midY()});
  tick.lineTo({box.minX() + box.width() * 0.43, box.minY() + box.height() * 0.72});
  tick.lineTo({box.minX() + box.width() * 0.8, box.minY() + box.height() * 0.28});
  g.setStrokeColor(Color::white());
  g.setLineWidth(std::max(1.5, all.width() / 8));
  g.setLineCap(pf::LineCap::round);
  g.setLineJoin(pf::LineJoin::round);
  g.strokePath(tick);
}

void paintRadio(const Picture& p, GraphicsContext& g, const Rect& all, bool on) {
  const Color c = baseColour(p);
  const Rect ring = all.insetBy(all.width() * 0.12, all.height() * 0.12);
  g.setFillColor(Color::white());
  g.fillEllipse(ring);
  g.setStrokeColor(c);
  g.setLineWidth(std::max(1.0, all.width() / 12));
  g.strokeEllipse(ring);
  if (!on) return;
  g.setFillColor(c);
  g.fillEllipse(ring.insetBy(ring.width() * 0.25, ring.height() * 0.25));
}

void paintPlay(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Rect r = all.insetBy(all.width() * 0.2, all.height() * 0.18);
  Path triangle;
  triangle.moveTo({r.minX() + r.width() * 0.1, r.minY()});
  triangle.lineTo({r.maxX(), r.midY()});
  triangle.lineTo({r.minX() + r.width() * 0.1, r.maxY()});
  triangle.closeSubpath();
  g.setFillColor(baseColour(p));
  g.fillPath(triangle);
}

void paintPause(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Rect r = all.insetBy(all.width() * 0.25, all.height() * 0.2);
  g.setFillColor(baseColour(p));
  g.fillRect(Rect(r.minX(), r.minY(), r.width() * 0.35, r.height()));
  g.fillRect(Rect(r.maxX() - r.width() * 0.35, r.minY(), r.width() * 0.35, r.height()));
}

void paintArrowDown(const Picture& p, GraphicsContext& g, const Rect& all) {
  Path triangle;
  triangle.moveTo({all.minX(), all.minY()});
  triangle.lineTo({all.maxX(), all.minY()});
  triangle.lineTo({all.midX(), all.maxY()});
  triangle.closeSubpath();
  g.setFillColor(baseColour(p));
  g.fillPath(triangle);
}

void paintAvatar(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  g.setFillColor(shade(c, 0.7));
  g.fillRect(all);
  g.saveGState();
  g.clip(all);
  g.setFillColor(c);
  const double w = all.width(), h = all.height();
  g.fillEllipse(Rect(w * 0.32, h * 0.16, w * 0.36, h * 0.38));
  g.fillEllipse(Rect(w * 0.12, h * 0.6, w * 0.76, h * 0.7));
  g.restoreGState();
}

void paintPhoto(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  g.setFillColor(shade(c, 0.8));
  g.fillRect(all);
  const double w = all.width(), h = all.height();
  g.setFillColor(Color::fromRgba(1, 0.8, 0.25));
  g.fillEllipse(Rect(w * 0.62, h * 0.15, w * 0.18, h * 0.18));
  Path hills;
  hills.moveTo({0, h});
  hills.lineTo({0, h * 0.7});
  hills.lineTo({w * 0.35, h * 0.4});
  hills.lineTo({w * 0.6, h * 0.65});
  hills.lineTo({w * 0.75, h * 0.55});
  hills.lineTo({w, h * 0.75});
  hills.lineTo({w, h});
  hills.closeSubpath();
  g.setFillColor(c);
  g.fillPath(hills);
}

void paintBook(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  const Rect cover = all.insetBy(1, 1);
  verticalGradient(g, Path::withRect(cover), cover, shade(c, 0.25), shade(c, -0.15));
  g.setFillColor(shade(c, -0.35));
  g.fillRect(Rect(cover.minX(), cover.minY(), cover.width() * 0.1, cover.height()));
  g.setFillColor(Color::white().withAlpha(0.85));
  const double left = cover.minX() + cover.width() * 0.22;
  for (int i = 0; i < 3; ++i)
    g.fillRect(Rect(left, cover.minY() + cover.height() * (0.22 + i * 0.1), cover.width() * (0.6 - i * 0.12),
                    std::max(1.0, cover.height() * 0.04)));
}

void paintFace(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  const Rect face = all.insetBy(all.width() * 0.06, all.height() * 0.06);
  g.setFillColor(c);
  g.fillEllipse(face);
  const double w = face.width(), x = face.minX(), y = face.minY();
  g.setFillColor(Color::white());
  g.fillEllipse(Rect(x + w * 0.28, y + w * 0.3, w * 0.12, w * 0.14));
  g.fillEllipse(Rect(x + w * 0.6, y + w * 0.3, w * 0.12, w * 0.14));
  g.setStrokeColor(Color::white());
  g.setLineWidth(std::max(1.5, w / 16));
  g.setLineCap(pf::LineCap::round);
  Path mouth;
  const std::string_view mood = p.text;
  if (mood == "wait") {
    mouth.moveTo({x + w * 0.32, y + w * 0.68});
    mouth.lineTo({x + w * 0.68, y + w * 0.68});
  } else {
    const bool happy = mood == "pass";
    const Point centre{x + w * 0.5, happy ? y + w * 0.52 : y + w * 0.86};
    mouth.addArc(centre, w * 0.22, happy ? 0.2 * std::numbers::pi : 1.2 * std::numbers::pi,
                 happy ? 0.8 * std::numbers::pi : 1.8 * std::numbers::pi, false);
  }
  g.strokePath(mouth);
}

void paintEmpty(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  const double w = all.width(), h = all.height();
  g.setStrokeColor(c);
  g.setLineWidth(std::max(2.0, w / 30));
  g.setLineJoin(pf::LineJoin::round);
  Path tray;
  tray.moveTo({w * 0.1, h * 0.55});
  tray.lineTo({w * 0.25, h * 0.2});
  tray.lineTo({w * 0.75, h * 0.2});
  tray.lineTo({w * 0.9, h * 0.55});
  tray.lineTo({w * 0.9, h * 0.85});
  tray.lineTo({w * 0.1, h * 0.85});
  tray.closeSubpath();
  g.strokePath(tray);
  Path slot;
  slot.moveTo({w * 0.1, h * 0.55});
  slot.lineTo({w * 0.35, h * 0.55});
  slot.lineTo({w * 0.4, h * 0.65});
  slot.lineTo({w * 0.6, h * 0.65});
  slot.lineTo({w * 0.65, h * 0.55});
  slot.lineTo({w * 0.9, h * 0.55});
  g.strokePath(slot);
}

void paintPage(const Picture& p, GraphicsContext& g, const Rect& all) {
  const Color c = baseColour(p);
  verticalGradient(g, Path::withRect(all), all, shade(c, 0.3), shade(c, -0.15));
  g.setFillColor(Color::white().withAlpha(0.18));
  g.fillEllipse(Rect(all.width() * 0.15, all.height() * 0.18, all.width() * 0.7, all.width() * 0.7));
  centredText(g, p.text, Rect(0, all.height() * 0.18, all.width(), all.width() * 0.7), all.width() * 0.1,
              Color::white());
}

}  // namespace

void PicturePainter::paint(const Picture& p, GraphicsContext& g) {
  const Rect all(0, 0, p.width, p.height);
  switch (p.look) {
    case Look::backdrop: return paintBackdrop(p, g, all);
    case Look::banner: return paintBanner(p, g, all);
    case Look::bar: return paintBar(p, g, all);
    case Look::button: return paintButton(p, g, all);
    case Look::backButton: return paintBackButton(p, g, all);
    case Look::backArrow: return paintBackArrow(p, g, all);
    case Look::menuButton: return paintMenuButton(p, g, all);
    case Look::tab: return paintTab(p, g, all);
    case Look::cell: return paintCell(p, g, all);
    case Look::icon: return paintIcon(p, g, all);
    case Look::glyph: return paintGlyph(p, g, all);
    case Look::badge: return paintBadge(p, g, all);
    case Look::tag: return paintTag(p, g, all);
    case Look::checkOn: return paintCheck(p, g, all, true);
    case Look::checkOff: return paintCheck(p, g, all, false);
    case Look::radioOn: return paintRadio(p, g, all, true);
    case Look::radioOff: return paintRadio(p, g, all, false);
    case Look::lines: return paintLinesIn(g, all, baseColour(p));
    case Look::play: return paintPlay(p, g, all);
    case Look::pause: return paintPause(p, g, all);
    case Look::arrowDown: return paintArrowDown(p, g, all);
    case Look::avatar: return paintAvatar(p, g, all);
    case Look::photo: return paintPhoto(p, g, all);
    case Look::book: return paintBook(p, g, all);
    case Look::face: return paintFace(p, g, all);
    case Look::empty: return paintEmpty(p, g, all);
    case Look::page: return paintPage(p, g, all);
  }
}

}  // namespace pictures
