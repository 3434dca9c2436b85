#include "ui/webimage/DataGif.h"

bool DataGif::sd_isGIF(std::span<const std::uint8_t> bytes) {
  return !bytes.empty() && bytes.front() == 0x47;
}
