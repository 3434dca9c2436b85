#include "app/controller/cmn/ImageEditor.h"

#include <gtest/gtest.h>

#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"

namespace {

// A picture opaque in its top half only, mid-grey, at scale 2.
std::shared_ptr<pf::Image> topHalfPicture() {
  auto canvas = pf::ImageContext::create({20, 20}, false, 2);
  canvas->context().setFillColor(pf::Color::fromWhite(0.5));
  canvas->context().fillRect(pf::Rect(0, 0, 20, 10));
  return canvas->image();
}

// The shape stays upright (our drawing is y-down) and takes the colour; outside it stays clear.
TEST(ImageEditorTest, FillsThePicturesUprightShapeWithTheColour) {
  const auto source = topHalfPicture();
  const auto tinted = ImageEditor::imageWithReplaceColor(pf::Color::fromRgba(0, 0, 1), *source, true);
  ASSERT_TRUE(tinted);
  EXPECT_EQ(tinted->size(), source->size());
  EXPECT_EQ(tinted->scale(), 2);
  const auto& pixels = *tinted->bitmap();
  EXPECT_EQ(pixels.pixel(20, 5), (pf::Pixel{0, 0, 255, 255})) << "top half: the colour";
  EXPECT_EQ(pixels.pixel(20, 35).alpha, 0) << "bottom half: clear, not the flipped shape";
}

// Burnt over the picture, the colour darkens with the grey beneath it; the mask still cuts the rest.
TEST(ImageEditorTest, BurnsTheColourOverThePictureWhenAskedTo) {
  const auto source = topHalfPicture();
  const auto burnt = ImageEditor::imageWithReplaceColor(pf::Color::fromRgba(0.8, 0.8, 0.8), *source, false);
  ASSERT_TRUE(burnt);
  const pf::Pixel top = burnt->bitmap()->pixel(20, 5);
  EXPECT_EQ(top.alpha, 255);
  EXPECT_LT(top.red, 128) << "colour burn of 0.8 over 0.5 is darker than either";
  EXPECT_EQ(burnt->bitmap()->pixel(20, 35).alpha, 0);
}

}  // namespace
