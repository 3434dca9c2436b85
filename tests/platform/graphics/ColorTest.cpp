#include "platform/graphics/Color.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

struct NamedCase {
  const char* name;
  Color color;
  ColorSpaceModel model;
  Rgba rgba;
};

class NamedColorTest : public testing::TestWithParam<NamedCase> {};

TEST_P(NamedColorTest, HasThePlatformsModelAndComponents) {
  const NamedCase& c = GetParam();
  SCOPED_TRACE(c.name);
  EXPECT_EQ(c.color.model(), c.model);
  const auto got = c.color.rgba();
  ASSERT_TRUE(got);
  EXPECT_NEAR(got->red, c.rgba.red, 1e-3);
  EXPECT_NEAR(got->green, c.rgba.green, 1e-3);
  EXPECT_NEAR(got->blue, c.rgba.blue, 1e-3);
  EXPECT_NEAR(got->alpha, c.rgba.alpha, 1e-3);
}

constexpr auto mono = ColorSpaceModel::monochrome;
constexpr auto rgb = ColorSpaceModel::rgb;

INSTANTIATE_TEST_SUITE_P(
    Names, NamedColorTest,
    testing::Values(NamedCase{"clear", Color::clear(), mono, {0, 0, 0, 0}},
                    NamedCase{"black", Color::black(), mono, {0, 0, 0, 1}},
                    NamedCase{"white", Color::white(), mono, {1, 1, 1, 1}},
                    NamedCase{"gray", Color::gray(), mono, {0.5, 0.5, 0.5, 1}},
                    NamedCase{"lightGray", Color::lightGray(), mono, {0.667, 0.667, 0.667, 1}},
                    NamedCase{"darkGray", Color::darkGray(), mono, {0.333, 0.333, 0.333, 1}},
                    NamedCase{"lightText", Color::lightText(), mono, {1, 1, 1, 0.6}},
                    NamedCase{"red", Color::red(), rgb, {1, 0, 0, 1}},
                    NamedCase{"green", Color::green(), rgb, {0, 1, 0, 1}},
                    NamedCase{"blue", Color::blue(), rgb, {0, 0, 1, 1}},
                    NamedCase{"orange", Color::orange(), rgb, {1, 0.5, 0, 1}},
                    NamedCase{"purple", Color::purple(), rgb, {0.5, 0, 0.5, 1}},
                    NamedCase{"brown", Color::brown(), rgb, {0.6, 0.4, 0.2, 1}}));

struct HsbCase {
  double h, s, b;
  Rgba rgba;
};

class HsbColorTest : public testing::TestWithParam<HsbCase> {};

TEST_P(HsbColorTest, ConvertsBothWays) {
  const HsbCase& c = GetParam();
  const Color color = Color::fromHsba(c.h, c.s, c.b, 0.5);
  EXPECT_EQ(color.model(), rgb);
  const auto got = color.rgba();
  ASSERT_TRUE(got);
  EXPECT_NEAR(got->red, c.rgba.red, 1e-9);
  EXPECT_NEAR(got->green, c.rgba.green, 1e-9);
  EXPECT_NEAR(got->blue, c.rgba.blue, 1e-9);
  EXPECT_DOUBLE_EQ(got->alpha, 0.5);
  const auto back = color.hsba();
  ASSERT_TRUE(back);
  EXPECT_NEAR(back->brightness, c.b, 1e-9);
  EXPECT_NEAR(back->saturation, c.s, 1e-9);
  if (c.s > 0 && c.b > 0) {
    EXPECT_NEAR(back->hue, c.h == 1 ? 0 : c.h, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(Colors, HsbColorTest,
                         testing::Values(HsbCase{0, 1, 1, {1, 0, 0}}, HsbCase{1.0 / 3, 1, 1, {0, 1, 0}},
                                         HsbCase{2.0 / 3, 1, 1, {0, 0, 1}}, HsbCase{1, 1, 1, {1, 0, 0}},
                                         HsbCase{0.5, 0.5, 0.8, {0.4, 0.8, 0.8}},
                                         HsbCase{5.0 / 6, 1, 0.5, {0.5, 0, 0.5}},
                                         HsbCase{0.2, 0, 0.7, {0.7, 0.7, 0.7}}, HsbCase{0, 0, 0, {0, 0, 0}}));

TEST(ColorTest, EqualityComparesModelAndComponents) {
  EXPECT_EQ(Color::fromRgba(1, 0, 0), Color::red());
  EXPECT_NE(Color::fromRgba(1, 0, 0, 0.5), Color::red());
  // A grey and the same grey in RGB are different colours to the platform.
  EXPECT_NE(Color::fromWhite(0.5), Color::fromRgba(0.5, 0.5, 0.5));
  EXPECT_EQ(Color::red().withAlpha(0.2), Color::fromRgba(1, 0, 0, 0.2));
  EXPECT_EQ(Color(), Color::black());
}

TEST(ColorTest, OnlyGreysHaveAWhiteLevel) {
  EXPECT_EQ(Color::fromWhite(0.25).whiteLevel(), 0.25);
  EXPECT_FALSE(Color::red().whiteLevel());
}

TEST(ColorTest, PatternColoursHaveNoComponents) {
  const Color pattern = Color::fromPatternImage(nullptr);
  EXPECT_EQ(pattern.model(), ColorSpaceModel::pattern);
  EXPECT_FALSE(pattern.rgba());
  EXPECT_FALSE(pattern.hsba());
  EXPECT_NE(pattern, Color::black());
}

TEST(ColorTest, KeepsExtendedComponents) {
  EXPECT_DOUBLE_EQ(Color::fromRgba(1.5, -0.2, 0).rgba()->red, 1.5);
  EXPECT_DOUBLE_EQ(Color::fromRgba(1.5, -0.2, 0).rgba()->green, -0.2);
}

}  // namespace
}  // namespace pf
