#pragma once
// Whether downloaded bytes are a GIF, which is kept animated instead of decoded as one still picture.

#include <cstdint>
#include <span>

class DataGif {
 public:
  // The first byte is "G"; no bytes are no GIF.
  static bool sd_isGIF(std::span<const std::uint8_t> bytes);
};
