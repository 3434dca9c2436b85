#pragma once
// A picture: a bitmap with a scale (pixels per point), or an animation of frames with a duration.
// Resizable pictures keep their cap insets: drawn larger, the caps stay as they are and the middle
// tiles or stretches. Pictures are immutable and may be shared between threads.

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ContentMode.h"
#include "platform/graphics/EdgeInsets.h"
#include "platform/graphics/Rect.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

class GraphicsContext;

// The platform's numbers.
enum class ImageResizingMode { tile = 0, stretch = 1 };

class Image {
 public:
  // PNG, JPEG or GIF bytes; a GIF of several frames becomes an animation. nullptr for anything
  // else, damaged or truncated data, or a picture beyond the pixel budget.
  static std::shared_ptr<Image> withData(std::span<const std::uint8_t> bytes, double scale = 1);
  // Reads the file; a name ending in "@2x" before its extension gives scale 2.
  static std::shared_ptr<Image> withContentsOfFile(const std::string& path);
  static std::shared_ptr<Image> withBitmap(std::shared_ptr<const Bitmap> bitmap, double scale = 1);
  // An animation showing the frames in turn over the duration; nullptr without frames.
  static std::shared_ptr<Image> animated(std::vector<std::shared_ptr<const Image>> frames, double duration);
  // The main bundle's picture of that name, as the platform's named lookup: the extension defaults
  // to ".png", and "name@2x" is preferred on a screen of scale 2 (and used, at scale 2, when it is
  // the only one). Pictures found are kept for the process; nullptr when there is none.
  static std::shared_ptr<Image> named(const std::string& name, double screenScale = 1);
  // The names named() found no picture for since the last call, each once, in the order first
  // missed (at most a few hundred are kept): for a tool that checks every name a screen asks for.
  static std::vector<std::string> takeNamedMisses();
  // 2 for "name@2x.png", 1 otherwise.
  static double scaleForFileName(std::string_view path);

  // In points: pixels divided by scale.
  Size size() const;
  double scale() const { return scale_; }
  // The first frame's pixels for an animation.
  const std::shared_ptr<const Bitmap>& bitmap() const { return bitmap_; }
  // The frames of an animation; empty for a still picture.
  const std::vector<std::shared_ptr<const Image>>& images() const { return frames_; }
  double duration() const { return duration_; }
  EdgeInsets capInsets() const { return capInsets_; }
  ImageResizingMode resizingMode() const { return resizingMode_; }

  std::shared_ptr<Image> withScale(double scale) const;
  std::shared_ptr<Image> resizable(EdgeInsets capInsets,
                                   ImageResizingMode mode = ImageResizingMode::tile) const;

  // Quality from 0 to 1; nullopt when encoding fails.
  std::optional<std::vector<std::uint8_t>> jpegData(double quality) const;
  std::optional<std::vector<std::uint8_t>> pngData() const;

  // Draws the picture (the first frame of an animation) into the rect, keeping cap insets.
  void draw(GraphicsContext& context, const Rect& rect) const;
  void draw(GraphicsContext& context, Point at) const;
  void draw(GraphicsContext& context, const Rect& bounds, ContentMode mode) const;

 private:
  Image() = default;

  std::shared_ptr<const Bitmap> bitmap_;
  double scale_ = 1;
  std::vector<std::shared_ptr<const Image>> frames_;
  double duration_ = 0;
  EdgeInsets capInsets_;
  ImageResizingMode resizingMode_ = ImageResizingMode::tile;
};

}  // namespace pf
