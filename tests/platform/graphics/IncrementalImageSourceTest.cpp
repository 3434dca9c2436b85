#include "platform/graphics/IncrementalImageSource.h"

#include <gtest/gtest.h>

#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/PngCodec.h"

using pf::IncrementalImageSource;
using pf::PixelSize;

namespace {

// A picture green in its top half and blue below, 40 x 64 pixels, with noise in red so that the
// compressed rows spread over the whole file.
std::shared_ptr<pf::Image> twoBands() {
  auto bitmap = pf::Bitmap::create(40, 64);
  unsigned seed = 7;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 40; ++x) {
      seed = seed * 1103515245 + 12345;
      const auto noise = static_cast<std::uint8_t>((seed >> 16) & 0x3f);
      bitmap->setPixel(x, y, y < 32 ? pf::Pixel{noise, 255, 0, 255} : pf::Pixel{noise, 0, 255, 255});
    }
  }
  return pf::Image::withBitmap(bitmap);
}

std::vector<std::uint8_t> prefix(const std::vector<std::uint8_t>& bytes, double part) {
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * part)};
}

}  // namespace

TEST(IncrementalImageSource, SizeComesFromTheHeaderAlone) {
  const auto png = *twoBands()->pngData();
  const auto jpeg = *twoBands()->jpegData(0.9);
  const std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 7, 0, 3, 0};
  EXPECT_EQ(IncrementalImageSource::sizeFromHeader({png.begin(), png.begin() + 24}), (PixelSize{40, 64}));
  EXPECT_EQ(IncrementalImageSource::sizeFromHeader({png.begin(), png.begin() + 23}), std::nullopt);
  EXPECT_EQ(IncrementalImageSource::sizeFromHeader(jpeg), (PixelSize{40, 64}));
  EXPECT_EQ(IncrementalImageSource::sizeFromHeader(gif), (PixelSize{7, 3}));
  EXPECT_EQ(IncrementalImageSource::sizeFromHeader({}), std::nullopt);
  // A header claiming more than the pixel budget gives nothing.
  auto huge = png;
  huge[16] = huge[20] = 0x7f;
  EXPECT_EQ(IncrementalImageSource::sizeFromHeader(huge), std::nullopt);
}

TEST(IncrementalImageSource, PartialPngAndJpegShowTheRowsSoFar) {
  const auto image = twoBands();
  for (const auto& [name, bytes] : {std::pair{"png", *image->pngData()}, std::pair{"jpeg", *image->jpegData(1.0)}}) {
    SCOPED_TRACE(name);
    IncrementalImageSource source;
    source.update(prefix(bytes, 0.02));
    EXPECT_EQ(source.partialBitmap(), nullptr);
    source.update(prefix(bytes, 0.6));
    const auto partial = source.partialBitmap();
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->width(), 40);
    EXPECT_EQ(partial->height(), 64);
    EXPECT_GT(source.rowsDecoded(), 0);
    EXPECT_LT(source.rowsDecoded(), 64);
    EXPECT_GT(partial->pixel(5, 0).green, 200);
    EXPECT_EQ(partial->pixel(5, 63).alpha, 0);
    source.update(bytes);
    ASSERT_TRUE(source.partialBitmap());
    EXPECT_EQ(source.rowsDecoded(), 64);
    EXPECT_GT(source.partialBitmap()->pixel(5, 63).blue, 200);
  }
}

TEST(IncrementalImageSource, DamagedOrUnknownBytesGiveNothing) {
  IncrementalImageSource source;
  const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
  source.update(text);
  EXPECT_EQ(source.pixelSize(), std::nullopt);
  EXPECT_EQ(source.partialBitmap(), nullptr);
  auto png = *twoBands()->pngData();
  for (std::size_t i = 40; i < png.size(); i += 7) png[i] ^= 0x5a;
  source.update(png);
  source.partialBitmap();  // whatever it makes of it, it must not crash
  EXPECT_LE(source.rowsDecoded(), 64);
}
