// Clipping to a picture as a mask and the colour-burn blend mode, as badge tinting uses them.

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"

namespace {

// A 10x10 point picture opaque in its left half only.
std::shared_ptr<pf::Image> leftHalf() {
  auto canvas = pf::ImageContext::create({10, 10}, false, 1);
  canvas->context().setFillColor(pf::Color::black());
  canvas->context().fillRect(pf::Rect(0, 0, 5, 10));
  return canvas->image();
}

TEST(GraphicsContextMaskTest, DrawingShowsOnlyWhereTheMaskIsOpaqueAndRestoreTakesTheMaskBack) {
  auto canvas = pf::ImageContext::create({20, 20}, false, 2);
  auto& g = canvas->context();
  g.saveGState();
  g.clipToMask(pf::Rect(0, 0, 20, 20), *leftHalf());  // stretched: the left 10 points
  g.setFillColor(pf::Color::red());
  g.fillRect(pf::Rect(0, 0, 20, 20));
  g.restoreGState();
  g.setFillColor(pf::Color::blue());
  g.fillRect(pf::Rect(0, 15, 20, 5));
  const auto image = canvas->image();
  EXPECT_EQ(image->bitmap()->pixel(4, 4), (pf::Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image->bitmap()->pixel(36, 4).alpha, 0) << "outside the mask's opaque half";
  EXPECT_EQ(image->bitmap()->pixel(36, 36), (pf::Pixel{0, 0, 255, 255})) << "restored: no mask";
}

TEST(GraphicsContextMaskTest, MasksIntersectAndFollowTheTransformInForce) {
  auto canvas = pf::ImageContext::create({20, 20}, false, 1);
  auto& g = canvas->context();
  g.translate(10, 0);
  g.clipToMask(pf::Rect(0, 0, 10, 10), *leftHalf());  // opaque at x 10..15 of the canvas
  g.translate(-10, 0);
  g.clipToMask(pf::Rect(0, 0, 26, 20), *leftHalf());  // opaque at x 0..13 (smoothed at its edge)
  g.setFillColor(pf::Color::green());
  g.fillRect(pf::Rect(0, 0, 20, 20));
  const auto image = canvas->image();
  const auto& pixels = *image->bitmap();
  EXPECT_EQ(pixels.pixel(11, 5).alpha, 255);
  EXPECT_EQ(pixels.pixel(14, 5).alpha, 0) << "outside the second mask";
  EXPECT_EQ(pixels.pixel(8, 5).alpha, 0) << "outside the first mask";
  EXPECT_EQ(pixels.pixel(11, 15).alpha, 0) << "below the first mask's rect";
}

TEST(GraphicsContextMaskTest, ColourBurnIsBlendModeSeven) {
  EXPECT_EQ(static_cast<int>(pf::BlendMode::colorBurn), 7);
  auto canvas = pf::ImageContext::create({4, 4}, true, 1);
  auto& g = canvas->context();
  g.setFillColor(pf::Color::fromWhite(0.5));
  g.fillRect(pf::Rect(0, 0, 4, 4));
  g.setBlendMode(pf::BlendMode::colorBurn);
  g.setFillColor(pf::Color::fromWhite(0.8));
  g.fillRect(pf::Rect(0, 0, 4, 4));
  // 1 - (1 - 0.5) / 0.8 = 0.375
  EXPECT_NEAR(canvas->image()->bitmap()->pixel(1, 1).red, 0.375 * 255, 3);
}

}  // namespace
