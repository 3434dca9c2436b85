// The scale rule by key, forced decoding, the GIF test and the animated-GIF builders.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/ui/Screen.h"
#include "tests/ui/webimage/WebImageTestSupport.h"
#include "ui/webimage/DataGif.h"
#include "ui/webimage/ImageForceDecode.h"
#include "ui/webimage/ImageGif.h"
#include "ui/webimage/ScaledImageForKey.h"

namespace {

std::vector<std::uint8_t> graphicsFixture(const std::string& name) {
  std::ifstream in(std::string(MARLUNE_FIXTURES) + "/platform/graphics/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ScaleCase {
  const char* key;
  double scale;
};

class ScaleRuleTest : public testing::TestWithParam<ScaleCase> {};

}  // namespace

TEST_P(ScaleRuleTest, MarkerBeforeAShortExtensionAtTheEnd) {
  pf::Screen::configure(pf::Screen::Profile::Phone);
  const auto image = webimagetest::solidImage(4, 2, pf::Color::white());
  const auto scaled = ScaledImageForKey(GetParam().key, image);
  ASSERT_TRUE(scaled);
  EXPECT_EQ(scaled->scale(), GetParam().scale) << GetParam().key;
  EXPECT_EQ(scaled->bitmap(), image->bitmap());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScaleRuleTest,
    testing::Values(ScaleCase{"http://h/p/face@2x.png", 2.0}, ScaleCase{"http://h/p/face@2x.jpeg", 2.0},
                    ScaleCase{"a@2x.png", 2.0}, ScaleCase{"http://h/p/face@2x.png?v=1", 1.0},
                    ScaleCase{"http://h/p/face.png", 1.0}, ScaleCase{"http://h/p/face@2x.pn", 1.0},
                    ScaleCase{"http://h/p/face@2x.abcde", 1.0}, ScaleCase{"@2x.png", 1.0}, ScaleCase{"", 1.0}));

TEST(PictureDecoding, AnimationKeepsFramesAndDurationThroughTheScaleRule) {
  const auto animation = ImageGif::sd_animatedGIFWithData(graphicsFixture("frames.gif"));
  ASSERT_TRUE(animation);
  const auto scaled = ScaledImageForKey("http://h/anim@2x.gif", animation);
  ASSERT_EQ(scaled->images().size(), 3u);
  EXPECT_DOUBLE_EQ(scaled->duration(), 0.6);
  for (const auto& frame : scaled->images()) EXPECT_EQ(frame->scale(), 2.0);
}

TEST(PictureDecoding, GifWithoutDelaysLastsATenthOfASecondAFrame) {
  const auto animation = ImageGif::sd_animatedGIFWithData(graphicsFixture("no_delay.gif"));
  ASSERT_TRUE(animation);
  EXPECT_EQ(animation->images().size(), 2u);
  EXPECT_DOUBLE_EQ(animation->duration(), 0.2);
  EXPECT_EQ(ImageGif::sd_animatedGIFWithData({}), nullptr);
  const std::vector<std::uint8_t> notAGif = {'G', 'I', 'F', '8', '9', 'a'};
  EXPECT_EQ(ImageGif::sd_animatedGIFWithData(notAGif), nullptr);
}

TEST(PictureDecoding, GifTestReadsTheFirstByte) {
  EXPECT_TRUE(DataGif::sd_isGIF(graphicsFixture("frames.gif")));
  EXPECT_FALSE(DataGif::sd_isGIF(graphicsFixture("quad.png")));
  EXPECT_FALSE(DataGif::sd_isGIF(graphicsFixture("photo.jpg")));
  EXPECT_FALSE(DataGif::sd_isGIF({}));
}

TEST(PictureDecoding, ForceDecodingKeepsScaleAndPixels) {
  const auto image = webimagetest::solidImage(6, 4, pf::Color::fromRgba(1, 0, 0), 2);
  const auto decoded = ImageForceDecode::decodedImageWithImage(image);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->scale(), 2.0);
  EXPECT_EQ(decoded->size(), (pf::Size{3, 2}));
  EXPECT_EQ(decoded->bitmap()->pixel(5, 3), (pf::Pixel{255, 0, 0, 255}));
  EXPECT_EQ(ImageForceDecode::decodedImageWithImage(nullptr), nullptr);
}

TEST(PictureDecoding, ScalingAndCroppingCentresTheOverflowingAxis) {
  pf::Screen::configure(pf::Screen::Profile::Phone);
  const auto wide = webimagetest::solidImage(40, 10, pf::Color::fromRgba(0, 0, 1));
  const auto cropped = ImageGif::sd_animatedImageByScalingAndCroppingToSize(wide, pf::Size{20, 20});
  ASSERT_TRUE(cropped);
  EXPECT_EQ(cropped->size(), (pf::Size{20, 20}));
  EXPECT_EQ(cropped->images().size(), 1u);
  // Scaled by 2 to 80 x 20 points, centred: the whole square is covered.
  EXPECT_EQ(cropped->bitmap()->pixel(0, 0).blue, 255);
  EXPECT_EQ(ImageGif::sd_animatedImageByScalingAndCroppingToSize(wide, pf::Size{40, 10}), wide);
  EXPECT_EQ(ImageGif::sd_animatedImageByScalingAndCroppingToSize(wide, pf::Size{0, 0}), wide);
}
