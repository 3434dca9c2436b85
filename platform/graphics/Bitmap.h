#pragma once
// Pixels in memory: 32 bits a pixel, premultiplied alpha, native-endian ARGB words, rows without
// padding. This is the layout the drawing context draws into, so images and contexts share it without
// copying. Sizes are refused beyond a pixel budget, so a picture that claims to be 100 000 pixels
// square fails cleanly instead of exhausting memory.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pf {

// One pixel with straight (not premultiplied) alpha.
struct Pixel {
  std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
  bool operator==(const Pixel&) const = default;
};

class Bitmap {
 public:
  // The most pixels one bitmap (or all frames of one animated picture) may hold.
  static constexpr std::int64_t kMaxPixels = 40'000'000;

  static bool fitsBudget(std::int64_t width, std::int64_t height, std::int64_t frames = 1);
  // A transparent bitmap; nullptr for a non-positive size or one beyond the budget.
  static std::shared_ptr<Bitmap> create(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return width_ * 4; }
  std::uint8_t* data() { return pixels_.get(); }
  const std::uint8_t* data() const { return pixels_.get(); }

  Pixel pixel(int x, int y) const;
  void setPixel(int x, int y, Pixel pixel);
  // True when every pixel is fully opaque.
  bool isOpaque() const;
  // The pixels inside the rectangle (clipped to the bitmap); nullptr when nothing is left.
  std::shared_ptr<Bitmap> cropped(int x, int y, int width, int height) const;

 private:
  Bitmap(int width, int height);

  int width_;
  int height_;
  std::unique_ptr<std::uint8_t[]> pixels_;
};

}  // namespace pf
