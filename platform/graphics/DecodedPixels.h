#pragma once
// Bytes of pixels the picture decoders have produced in this process (every frame of an animation
// counted): what the pictures a program showed cost, set against its memory. Counted by
// Image::withData; any thread.

#include <cstdint>

namespace pf {

class DecodedPixels {
 public:
  static std::uint64_t bytes();
  static void add(std::uint64_t bytes);
};

}  // namespace pf
