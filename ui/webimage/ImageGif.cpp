#include "ui/webimage/ImageGif.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/graphics/GifDecoder.h"
#include "platform/graphics/ImageContext.h"
#include "platform/ui/Screen.h"

namespace {

std::shared_ptr<const pf::Image> animatedGifAtPath(const std::optional<std::string>& path) {
  if (!path) return nullptr;
  std::ifstream in(*path, std::ios::binary);
  if (!in) return nullptr;
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return ImageGif::sd_animatedGIFWithData(bytes);
}

}  // namespace

std::shared_ptr<const pf::Image> ImageGif::sd_animatedGIFWithData(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return nullptr;
  const std::optional<pf::GifAnimation> animation = pf::GifDecoder::decode(bytes);
  if (!animation || animation->frames.empty()) return nullptr;
  const double scale = pf::Screen::mainScreen().scale();
  std::vector<std::shared_ptr<const pf::Image>> frames;
  for (const auto& frame : animation->frames) frames.push_back(pf::Image::withBitmap(frame, scale));
  return pf::Image::animated(std::move(frames), animation->duration());
}

std::shared_ptr<const pf::Image> ImageGif::sd_animatedGIFNamed(const std::string& name) {
  const double scale = pf::Screen::mainScreen().scale();
  const auto bundle = pf::Bundle::mainBundle();
  if (scale > 1.0) {
    if (auto image = animatedGifAtPath(bundle->pathForResource(name + "@2x", "gif"))) return image;
  }
  if (auto image = animatedGifAtPath(bundle->pathForResource(name, "gif"))) return image;
  return pf::Image::named(name, scale);
}

std::shared_ptr<const pf::Image> ImageGif::sd_animatedImageByScalingAndCroppingToSize(
    const std::shared_ptr<const pf::Image>& image, pf::Size size) {
  if (!image) return nullptr;
  const pf::Size own = image->size();
  if ((own.width == size.width && own.height == size.height) || size.width == 0 || size.height == 0 ||
      own.width == 0 || own.height == 0) {
    return image;
  }
  const double widthFactor = size.width / own.width;
  const double heightFactor = size.height / own.height;
  const double factor = std::max(widthFactor, heightFactor);
  const pf::Size scaled{own.width * factor, own.height * factor};
  pf::Point origin{0, 0};
  if (widthFactor > heightFactor) origin.y = (size.height - scaled.height) * 0.5;
  if (heightFactor > widthFactor) origin.x = (size.width - scaled.width) * 0.5;
  const auto canvas = pf::ImageContext::create(size, false, pf::Screen::mainScreen().scale());
  if (!canvas) return image;
  std::vector<std::shared_ptr<const pf::Image>> frames;
  const std::vector<std::shared_ptr<const pf::Image>> sources =
      image->images().empty() ? std::vector<std::shared_ptr<const pf::Image>>{image} : image->images();
  for (const auto& frame : sources) {
    // The canvas is not cleared between frames, as the frames of a GIF build on each other.
    frame->draw(canvas->context(), pf::Rect{origin, scaled});
    frames.push_back(canvas->image());
  }
  return pf::Image::animated(std::move(frames), image->duration());
}
