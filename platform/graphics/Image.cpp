#include "platform/graphics/Image.h"

#include "platform/foundation/Bundle.h"
#include "platform/graphics/DecodedPixels.h"
#include "platform/graphics/GifDecoder.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/PngCodec.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <utility>

namespace pf {

std::shared_ptr<Image> Image::withBitmap(std::shared_ptr<const Bitmap> bitmap, double scale) {
  if (!bitmap) return nullptr;
  auto image = std::shared_ptr<Image>(new Image);
  image->bitmap_ = std::move(bitmap);
  image->scale_ = scale > 0 ? scale : 1;
  return image;
}

std::shared_ptr<Image> Image::animated(std::vector<std::shared_ptr<const Image>> frames, double duration) {
  std::erase(frames, nullptr);
  if (frames.empty()) return nullptr;
  auto image = std::shared_ptr<Image>(new Image);
  image->bitmap_ = frames.front()->bitmap_;
  image->scale_ = frames.front()->scale_;
  image->frames_ = std::move(frames);
  image->duration_ = duration;
  return image;
}

namespace {

std::shared_ptr<const Bitmap> imageCountDecoded(std::shared_ptr<const Bitmap> bitmap) {
  if (bitmap) DecodedPixels::add(std::uint64_t(bitmap->stride()) * std::uint64_t(bitmap->height()));
  return bitmap;
}

}  // namespace

std::shared_ptr<Image> Image::withData(std::span<const std::uint8_t> bytes, double scale) {
  if (PngCodec::looksLikePng(bytes)) return withBitmap(imageCountDecoded(PngCodec::decode(bytes)), scale);
  if (JpegCodec::looksLikeJpeg(bytes)) return withBitmap(imageCountDecoded(JpegCodec::decode(bytes)), scale);
  if (!GifDecoder::looksLikeGif(bytes)) return nullptr;
  auto animation = GifDecoder::decode(bytes);
  if (!animation) return nullptr;
  for (const auto& frame : animation->frames) imageCountDecoded(frame);
  if (animation->frames.size() == 1) return withBitmap(animation->frames.front(), scale);
  std::vector<std::shared_ptr<const Image>> frames;
  for (auto& frame : animation->frames) frames.push_back(withBitmap(frame, scale));
  return animated(std::move(frames), animation->duration());
}

std::shared_ptr<Image> Image::withContentsOfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return withData(bytes, scaleForFileName(path));
}

namespace {

std::mutex& imageNamedMutex() {
  static std::mutex mutex;
  return mutex;
}

// Guarded by imageNamedMutex().
std::vector<std::string>& imageNamedMisses() {
  static std::vector<std::string> misses;
  return misses;
}

constexpr std::size_t kImageNamedMissesKept = 256;

}  // namespace

std::vector<std::string> Image::takeNamedMisses() {
  std::lock_guard lock(imageNamedMutex());
  return std::exchange(imageNamedMisses(), {});
}

std::shared_ptr<Image> Image::named(const std::string& name, double screenScale) {
  std::mutex& mutex = imageNamedMutex();
  static std::map<std::string, std::shared_ptr<Image>> cache;
  const auto bundle = Bundle::mainBundle();
  const std::string key = bundle->bundlePath() + "\n" + name + (screenScale >= 2 ? "\n2" : "\n1");
  {
    std::lock_guard lock(mutex);
    if (const auto it = cache.find(key); it != cache.end()) return it->second;
  }
  std::string stem = name, type = "png";
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0 && name.find('/', dot) == std::string::npos) {
    stem = name.substr(0, dot);
    type = name.substr(dot + 1);
  }
  std::vector<std::string> candidates = {stem};
  if (!stem.ends_with("@2x"))
    candidates.insert(screenScale >= 2 ? candidates.begin() : candidates.end(), stem + "@2x");
  for (const std::string& candidate : candidates) {
    const auto path = bundle->pathForResource(candidate, type);
    if (!path) continue;
    auto image = withContentsOfFile(*path);
    if (!image) continue;
    std::lock_guard lock(mutex);
    return cache.emplace(key, std::move(image)).first->second;
  }
  std::lock_guard lock(mutex);
  auto& misses = imageNamedMisses();
  if (misses.size() < kImageNamedMissesKept && std::find(misses.begin(), misses.end(), name) == misses.end())
    misses.push_back(name);
  return nullptr;
}

double Image::scaleForFileName(std::string_view path) {
  const auto slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return name.ends_with("@2x") ? 2 : 1;
}

Size Image::size() const {
  return {bitmap_->width() / scale_, bitmap_->height() / scale_};
}

std::shared_ptr<Image> Image::withScale(double scale) const {
  auto image = std::shared_ptr<Image>(new Image(*this));
  image->scale_ = scale > 0 ? scale : 1;
  for (auto& frame : image->frames_) frame = frame->withScale(scale);
  return image;
}

std::shared_ptr<Image> Image::resizable(EdgeInsets capInsets, ImageResizingMode mode) const {
  auto image = std::shared_ptr<Image>(new Image(*this));
  image->capInsets_ = {std::max(capInsets.top, 0.0), std::max(capInsets.left, 0.0),
                       std::max(capInsets.bottom, 0.0), std::max(capInsets.right, 0.0)};
  image->resizingMode_ = mode;
  return image;
}

std::optional<std::vector<std::uint8_t>> Image::jpegData(double quality) const {
  return JpegCodec::encode(*bitmap_, quality);
}

std::optional<std::vector<std::uint8_t>> Image::pngData() const {
  return PngCodec::encode(*bitmap_);
}

namespace {

// One of the nine pieces of a resizable picture: a source rect in pixels and a target rect in points.
void drawPiece(GraphicsContext& context, const Bitmap& bitmap, const Rect& source, const Rect& target,
               bool tile, double scale) {
  if (source.isEmpty() || target.isEmpty()) return;
  auto piece = bitmap.cropped(static_cast<int>(source.minX()), static_cast<int>(source.minY()),
                              static_cast<int>(source.width()), static_cast<int>(source.height()));
  if (!piece) return;
  if (!tile) {
    context.drawBitmap(*piece, target);
    return;
  }
  context.drawTiledBitmap(*piece, target, {piece->width() / scale, piece->height() / scale});
}

}  // namespace

void Image::draw(GraphicsContext& context, const Rect& rect) const {
  const EdgeInsets caps = capInsets_;
  if (caps == EdgeInsets{}) {
    context.drawBitmap(*bitmap_, rect);
    return;
  }
  const Rect r = rect.standardized();
  const double s = scale_;
  const double pw = bitmap_->width(), ph = bitmap_->height();
  // Columns and rows in pixels of the source and points of the target; caps never overlap.
  const double left = std::min(caps.left, r.width()), right = std::min(caps.right, r.width() - left);
  const double top = std::min(caps.top, r.height()), bottom = std::min(caps.bottom, r.height() - top);
  const double sx[] = {0, std::round(caps.left * s), std::round(pw - caps.right * s), pw};
  const double sy[] = {0, std::round(caps.top * s), std::round(ph - caps.bottom * s), ph};
  const double tx[] = {r.minX(), r.minX() + left, r.maxX() - right, r.maxX()};
  const double ty[] = {r.minY(), r.minY() + top, r.maxY() - bottom, r.maxY()};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const Rect source(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
      const Rect target(tx[col], ty[row], tx[col + 1] - tx[col], ty[row + 1] - ty[row]);
      const bool middle = row == 1 || col == 1;
      drawPiece(context, *bitmap_, source, target, middle && resizingMode_ == ImageResizingMode::tile, s);
    }
  }
}

void Image::draw(GraphicsContext& context, Point at) const {
  draw(context, Rect(at, size()));
}

void Image::draw(GraphicsContext& context, const Rect& bounds, ContentMode mode) const {
  context.saveGState();
  context.clip(bounds);
  draw(context, contentRect(mode, size(), bounds));
  context.restoreGState();
}

}  // namespace pf
