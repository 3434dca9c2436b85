#pragma once
// GIF to frames, through giflib: every frame composed onto the logical screen as a viewer shows it
// (transparency, and the three disposal methods), each with its delay in seconds as the file gives
// it. Truncated or damaged files, files without frames, and animations whose frames (each counted at
// its own area, wherever it lies) or composed copies add up beyond the pixel budget answer nullopt,
// the latter before any frame is decoded.

#include "platform/graphics/Bitmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace pf {

struct GifAnimation {
  std::vector<std::shared_ptr<Bitmap>> frames;
  std::vector<double> delays;
  // The delays added up, or 0.1 s a frame when they add up to nothing.
  double duration() const;
};

class GifDecoder {
 public:
  static bool looksLikeGif(std::span<const std::uint8_t> bytes);
  static std::optional<GifAnimation> decode(std::span<const std::uint8_t> bytes);
};

}  // namespace pf
