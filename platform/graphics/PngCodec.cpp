#include "platform/graphics/PngCodec.h"

#include <png.h>

#include <bit>
#include <cstring>

namespace pf {

namespace {

// Premultiplied native ARGB words and libpng's straight BGRA bytes, one row at a time.
void premultiplyRow(std::uint8_t* bgra, int width) {
  for (int x = 0; x < width; ++x, bgra += 4) {
    const unsigned a = bgra[3];
    for (int c = 0; c < 3; ++c) bgra[c] = static_cast<std::uint8_t>((bgra[c] * a + 127) / 255);
  }
}

}  // namespace

bool PngCodec::looksLikePng(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

std::shared_ptr<Bitmap> PngCodec::decode(std::span<const std::uint8_t> bytes) {
  if (!looksLikePng(bytes)) return nullptr;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return nullptr;
  auto bitmap = Bitmap::fitsBudget(image.width, image.height)
                    ? Bitmap::create(static_cast<int>(image.width), static_cast<int>(image.height))
                    : nullptr;
  if (!bitmap) {
    png_image_free(&image);
    return nullptr;
  }
  static_assert(std::endian::native == std::endian::little, "pixel words are stored little-endian");
  image.format = PNG_FORMAT_BGRA;
  if (!png_image_finish_read(&image, nullptr, bitmap->data(), bitmap->stride(), nullptr)) {
    png_image_free(&image);
    return nullptr;
  }
  for (int y = 0; y < bitmap->height(); ++y)
    premultiplyRow(bitmap->data() + y * bitmap->stride(), bitmap->width());
  return bitmap;
}

std::optional<std::vector<std::uint8_t>> PngCodec::encode(const Bitmap& bitmap) {
  std::vector<std::uint8_t> straight(static_cast<std::size_t>(bitmap.stride()) * bitmap.height());
  std::uint8_t* out = straight.data();
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x, out += 4) {
      const Pixel p = bitmap.pixel(x, y);
      out[0] = p.blue;
      out[1] = p.green;
      out[2] = p.red;
      out[3] = p.alpha;
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = bitmap.width();
  image.height = bitmap.height();
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, straight.data(), bitmap.stride(), nullptr))
    return std::nullopt;
  std::vector<std::uint8_t> encoded(size);
  if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, straight.data(), bitmap.stride(), nullptr))
    return std::nullopt;
  encoded.resize(size);
  return encoded;
}

}  // namespace pf
