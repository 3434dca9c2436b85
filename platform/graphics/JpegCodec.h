#pragma once
// JPEG to bitmap and back, through libjpeg-turbo. A file that ends early or breaks the format answers
// nullptr (the library would otherwise pad it with grey); sizes beyond the pixel budget are refused
// before any pixel is decoded. Pixels come out upright: an Exif orientation is applied. Encoding
// drops alpha, which shows transparent areas as black.

#include "platform/graphics/Bitmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace pf {

class JpegCodec {
 public:
  static bool looksLikeJpeg(std::span<const std::uint8_t> bytes);
  static std::shared_ptr<Bitmap> decode(std::span<const std::uint8_t> bytes);
  // Quality from 0 (smallest) to 1 (best).
  static std::optional<std::vector<std::uint8_t>> encode(const Bitmap& bitmap, double quality);
};

}  // namespace pf
