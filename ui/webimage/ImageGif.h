#pragma once
// Animated pictures from GIF bytes, from a GIF of the bundle, and scaled and cropped to a size. Any
// thread, except sd_animatedGIFNamed, which reads the main screen and bundle.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/graphics/Image.h"

class ImageGif {
 public:
  // Every frame at the main screen's scale, lasting the file's delays added up (0.1 s a frame when the
  // file gives none); a single frame is an animation of one. nullptr for bytes that hold no frame.
  static std::shared_ptr<const pf::Image> sd_animatedGIFWithData(std::span<const std::uint8_t> bytes);
  // The bundle's "<name>@2x.gif" on a screen of scale 2, else "<name>.gif", else its picture of that name.
  static std::shared_ptr<const pf::Image> sd_animatedGIFNamed(const std::string& name);
  // Every frame scaled to fill the size (points) and centred on the axis that overflows.
  static std::shared_ptr<const pf::Image> sd_animatedImageByScalingAndCroppingToSize(
      const std::shared_ptr<const pf::Image>& image, pf::Size size);
};
