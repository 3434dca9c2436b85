#include "platform/graphics/DecodedPixels.h"

#include <atomic>

namespace pf {

namespace {

std::atomic<std::uint64_t> decodedPixelsBytes{0};

}  // namespace

std::uint64_t DecodedPixels::bytes() {
  return decodedPixelsBytes.load();
}

void DecodedPixels::add(std::uint64_t bytes) {
  decodedPixelsBytes += bytes;
}

}  // namespace pf
