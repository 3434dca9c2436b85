#include "platform/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>

namespace pf {

namespace {

std::uint32_t* row(std::uint8_t* data, int stride, int y) {
  return reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(stride) * y);
}

}  // namespace

bool Bitmap::fitsBudget(std::int64_t width, std::int64_t height, std::int64_t frames) {
  if (width <= 0 || height <= 0 || frames <= 0) return false;
  if (width > kMaxPixels || height > kMaxPixels) return false;
  return width * height <= kMaxPixels / frames;
}

std::shared_ptr<Bitmap> Bitmap::create(int width, int height) {
  if (!fitsBudget(width, height)) return nullptr;
  return std::shared_ptr<Bitmap>(new Bitmap(width, height));
}

Bitmap::Bitmap(int width, int height)
    : width_(width),
      height_(height),
      pixels_(new std::uint8_t[static_cast<std::size_t>(width) * height * 4]()) {}

Pixel Bitmap::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const std::uint32_t word = row(const_cast<std::uint8_t*>(data()), stride(), y)[x];
  const std::uint8_t a = word >> 24;
  if (a == 0) return {};
  auto unpremultiply = [a](std::uint32_t c) { return static_cast<std::uint8_t>((c * 255 + a / 2) / a); };
  return {unpremultiply((word >> 16) & 0xff), unpremultiply((word >> 8) & 0xff), unpremultiply(word & 0xff),
          a};
}

void Bitmap::setPixel(int x, int y, Pixel p) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  auto premultiply = [&p](std::uint32_t c) { return (c * p.alpha + 127) / 255; };
  row(data(), stride(), y)[x] = (std::uint32_t{p.alpha} << 24) | (premultiply(p.red) << 16) |
                                (premultiply(p.green) << 8) | premultiply(p.blue);
}

bool Bitmap::isOpaque() const {
  for (int y = 0; y < height_; ++y) {
    const std::uint32_t* r = row(const_cast<std::uint8_t*>(data()), stride(), y);
    for (int x = 0; x < width_; ++x)
      if ((r[x] >> 24) != 0xff) return false;
  }
  return true;
}

std::shared_ptr<Bitmap> Bitmap::cropped(int x, int y, int width, int height) const {
  const int x1 = std::max(x, 0), y1 = std::max(y, 0);
  const int x2 = std::min<std::int64_t>(std::int64_t{x} + width, width_);
  const int y2 = std::min<std::int64_t>(std::int64_t{y} + height, height_);
  if (x2 <= x1 || y2 <= y1) return nullptr;
  auto out = create(x2 - x1, y2 - y1);
  if (!out) return nullptr;
  for (int r = y1; r < y2; ++r)
    std::memcpy(out->data() + static_cast<std::ptrdiff_t>(out->stride()) * (r - y1),
                data() + static_cast<std::ptrdiff_t>(stride()) * r + x1 * 4,
                static_cast<std::size_t>(x2 - x1) * 4);
  return out;
}

}  // namespace pf
