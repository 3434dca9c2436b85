#include "platform/graphics/Color.h"

#include <algorithm>
#include <cmath>

namespace pf {

Color Color::fromRgba(double red, double green, double blue, double alpha) {
  Color c;
  c.model_ = ColorSpaceModel::rgb;
  c.c0_ = red;
  c.c1_ = green;
  c.c2_ = blue;
  c.alpha_ = alpha;
  return c;
}

Color Color::fromWhite(double white, double alpha) {
  Color c;
  c.model_ = ColorSpaceModel::monochrome;
  c.c0_ = white;
  c.alpha_ = alpha;
  return c;
}

Color Color::fromHsba(double hue, double saturation, double brightness, double alpha) {
  const double h = (hue - std::floor(hue)) * 6;
  const int sector = static_cast<int>(h) % 6;
  const double f = h - std::floor(h);
  const double v = brightness;
  const double p = v * (1 - saturation);
  const double q = v * (1 - saturation * f);
  const double t = v * (1 - saturation * (1 - f));
  switch (sector) {
    case 0:
      return fromRgba(v, t, p, alpha);
    case 1:
      return fromRgba(q, v, p, alpha);
    case 2:
      return fromRgba(p, v, t, alpha);
    case 3:
      return fromRgba(p, q, v, alpha);
    case 4:
      return fromRgba(t, p, v, alpha);
    default:
      return fromRgba(v, p, q, alpha);
  }
}

Color Color::fromPatternImage(std::shared_ptr<const Image> image) {
  Color c;
  c.model_ = ColorSpaceModel::pattern;
  c.pattern_ = std::move(image);
  return c;
}

Color Color::clear() {
  return fromWhite(0, 0);
}
Color Color::black() {
  return fromWhite(0);
}
Color Color::darkGray() {
  return fromWhite(1.0 / 3);
}
Color Color::lightGray() {
  return fromWhite(2.0 / 3);
}
Color Color::white() {
  return fromWhite(1);
}
Color Color::gray() {
  return fromWhite(0.5);
}
Color Color::red() {
  return fromRgba(1, 0, 0);
}
Color Color::green() {
  return fromRgba(0, 1, 0);
}
Color Color::blue() {
  return fromRgba(0, 0, 1);
}
Color Color::cyan() {
  return fromRgba(0, 1, 1);
}
Color Color::yellow() {
  return fromRgba(1, 1, 0);
}
Color Color::magenta() {
  return fromRgba(1, 0, 1);
}
Color Color::orange() {
  return fromRgba(1, 0.5, 0);
}
Color Color::purple() {
  return fromRgba(0.5, 0, 0.5);
}
Color Color::brown() {
  return fromRgba(0.6, 0.4, 0.2);
}
Color Color::lightText() {
  return fromWhite(1, 0.6);
}
Color Color::darkText() {
  return fromWhite(0);
}
Color Color::groupTableViewBackground() {
  return fromRgba(0.937, 0.937, 0.957);
}

std::optional<Rgba> Color::rgba() const {
  switch (model_) {
    case ColorSpaceModel::monochrome:
      return Rgba{c0_, c0_, c0_, alpha_};
    case ColorSpaceModel::rgb:
      return Rgba{c0_, c1_, c2_, alpha_};
    default:
      return std::nullopt;
  }
}

std::optional<double> Color::whiteLevel() const {
  if (model_ != ColorSpaceModel::monochrome) return std::nullopt;
  return c0_;
}

std::optional<Hsba> Color::hsba() const {
  const auto c = rgba();
  if (!c) return std::nullopt;
  const double maxC = std::max({c->red, c->green, c->blue});
  const double minC = std::min({c->red, c->green, c->blue});
  const double delta = maxC - minC;
  Hsba out{0, maxC == 0 ? 0 : delta / maxC, maxC, c->alpha};
  if (delta == 0) return out;
  double h;
  if (maxC == c->red) {
    h = (c->green - c->blue) / delta;
  } else if (maxC == c->green) {
    h = 2 + (c->blue - c->red) / delta;
  } else {
    h = 4 + (c->red - c->green) / delta;
  }
  h /= 6;
  out.hue = h < 0 ? h + 1 : h;
  return out;
}

Color Color::withAlpha(double alpha) const {
  Color c = *this;
  c.alpha_ = alpha;
  return c;
}

bool Color::operator==(const Color& other) const {
  return model_ == other.model_ && c0_ == other.c0_ && c1_ == other.c1_ && c2_ == other.c2_ &&
         alpha_ == other.alpha_ && pattern_ == other.pattern_;
}

}  // namespace pf
