#pragma once
// PNG to bitmap and back, through libpng. Damaged or truncated files and sizes beyond the pixel
// budget answer nullptr; nothing a file holds can crash the reader.

#include "platform/graphics/Bitmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace pf {

class PngCodec {
 public:
  static bool looksLikePng(std::span<const std::uint8_t> bytes);
  static std::shared_ptr<Bitmap> decode(std::span<const std::uint8_t> bytes);
  static std::optional<std::vector<std::uint8_t>> encode(const Bitmap& bitmap);
};

}  // namespace pf
