#pragma once
// A picture that is still arriving: given all the bytes so far, it tells the picture's pixel size as
// soon as the header is in (PNG, JPEG or GIF), and gives the rows of a PNG or baseline JPEG decoded so
// far, so a download can show the top of a picture before the rest has come. Interlaced PNGs and
// progressive JPEGs show nothing until they are complete. Sizes beyond the pixel budget give nothing.
// Not thread-safe: one source belongs to one thread at a time.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace pf {

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

class IncrementalImageSource {
 public:
  // All bytes received so far (not only the new ones).
  void update(std::span<const std::uint8_t> bytes);

  // From the header; nullopt until it is complete, for an unknown format or beyond the budget.
  std::optional<PixelSize> pixelSize() const;
  // A bitmap of the full pixel size whose first rowsDecoded() rows hold the picture and the rest is
  // transparent; nullptr while no row could be decoded.
  std::shared_ptr<Bitmap> partialBitmap();
  int rowsDecoded() const { return rows_; }

  // The header's size alone, for callers that have the bytes at hand.
  static std::optional<PixelSize> sizeFromHeader(std::span<const std::uint8_t> bytes);

 private:
  void decode();

  std::vector<std::uint8_t> bytes_;
  bool decoded_ = false;
  std::shared_ptr<Bitmap> bitmap_;
  int rows_ = 0;
};

}  // namespace pf
