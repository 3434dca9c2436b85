#include "ui/extension/ColorExpanded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Image.h"
#include "ui/extension/ColorExpandedSupport.h"

namespace {

void expectRgba(const std::optional<pf::Color>& color, pf::Rgba expected, const std::string& what) {
  ASSERT_TRUE(color.has_value()) << what;
  const std::optional<pf::Rgba> rgba = color->rgba();
  ASSERT_TRUE(rgba.has_value()) << what;
  EXPECT_NEAR(rgba->red, expected.red, 1e-3) << what;
  EXPECT_NEAR(rgba->green, expected.green, 1e-3) << what;
  EXPECT_NEAR(rgba->blue, expected.blue, 1e-3) << what;
  EXPECT_NEAR(rgba->alpha, expected.alpha, 1e-3) << what;
}

pf::Rgba fromHex(std::uint32_t hex) {
  return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, 1};
}

TEST(ColorExpanded, HexadecimalTextsGiveTheScreensColoursAndANumberSignGivesNone) {
  const struct {
    std::string text;
    std::optional<std::uint32_t> hex;
  } cases[] = {
      {"0x007DBF", 0x007DBF}, {"105CB6", 0x105CB6},     {"0x105CB6", 0x105CB6}, {"0x00A651", 0x00A651},
      {"0xCC0000", 0xCC0000}, {"  0X00a651", 0x00A651}, {"ff zz", 0xFF},        {"#105CB6", std::nullopt},
      {"", std::nullopt},     {"zz", std::nullopt},     {"0x", 0},              {"1FFFFFFFFF", 0xFFFFFF},
  };
  for (const auto& c : cases) {
    const std::optional<pf::Color> color = ColorExpanded::colorWithHexString(c.text);
    if (!c.hex) {
      EXPECT_FALSE(color.has_value()) << c.text;
    } else {
      expectRgba(color, fromHex(*c.hex), c.text);
    }
  }
}

TEST(ColorExpanded, HexTextAndRgbHexRoundTripWithClampedComponents) {
  const struct {
    pf::Color color;
    std::string hex;
  } cases[] = {
      {ColorExpanded::colorWithRGBHex(0x007DBF), "007DBF"},
      {pf::Color::fromWhite(0.5), "808080"},
      {pf::Color::fromWhite(0.6, 0.3), "999999"},  // the light text colour's form: alpha is no digit
      {pf::Color::fromRgba(1.2, -0.1, 0.5), "FF0080"},
      {ColorExpanded::colorWithRGBHex(0xFF0102), "FF0102"},
  };
  for (const auto& c : cases) EXPECT_EQ(ColorExpanded::hexStringFromColor(c.color), c.hex);
  EXPECT_EQ(ColorExpanded::rgbHex(pf::Color::fromRgba(1.5, 0, 0)), 0xFF0000u);
}

TEST(ColorExpanded, ArithmeticClampsAndColourArgumentsAreRead) {
  const pf::Color base = pf::Color::fromRgba(0.9f, 0.5f, 0.1f, 1);
  const pf::Color red = pf::Color::fromRgba(1, 0, 0, 1);
  const struct {
    std::string what;
    pf::Color result;
    pf::Rgba expected;
  } cases[] = {
      {"multiply 0.5", ColorExpanded::colorByMultiplyingBy(pf::Color::fromRgba(0.8, 0.4, 0.2, 0.6), 0.5f),
       {0.4, 0.2, 0.1, 0.6}},
      {"add 0.2", ColorExpanded::colorByAdding(base, 0.2f), {1.0, 0.7, 0.3, 1}},
      {"lighten to 0.6", ColorExpanded::colorByLighteningTo(base, 0.6f), {0.9, 0.6, 0.6, 1}},
      {"darken to 0.6", ColorExpanded::colorByDarkeningTo(base, 0.6f), {0.6, 0.5, 0.1, 1}},
      {"multiply by 3", ColorExpanded::colorByMultiplyingByRed(base, 3, 3, -1, 1), {1, 1, 0, 1}},
      {"grey multiplies", ColorExpanded::colorByMultiplyingBy(pf::Color::fromWhite(0.5), 0.5f), {0.25, 0.25, 0.25, 1}},
      {"luminance", ColorExpanded::colorByLuminanceMapping(red), {0.2126, 0.2126, 0.2126, 1}},
      // The colour argument is what mixes in, not the receiver again.
      {"multiply by colour", ColorExpanded::colorByMultiplyingByColor(pf::Color::white(), red), {1, 0, 0, 1}},
      {"add colour", ColorExpanded::colorByAddingColor(pf::Color::black(), red), {1, 0, 0, 1}},
      {"lighten to colour", ColorExpanded::colorByLighteningToColor(pf::Color::black(), red), {1, 0, 0, 1}},
      {"darken to colour", ColorExpanded::colorByDarkeningToColor(pf::Color::white(), red), {1, 0, 0, 1}},
  };
  for (const auto& c : cases) {
    expectRgba(c.result, c.expected, c.what);
    EXPECT_EQ(c.result.model(), pf::ColorSpaceModel::rgb) << c.what;
  }
}

TEST(ColorExpanded, ColoursWithoutRgbComponentsBreakTheContractWithTheFixedTexts) {
  const pf::Color pattern = pf::Color::fromPatternImage(nullptr);
  const pf::Color rgb = pf::Color::fromRgba(0.1, 0.2, 0.3);
  const auto message = [](const std::function<void()>& call) -> std::string {
    try {
      call();
    } catch (const pf::ContractViolation& violation) {
      return violation.what();
    }
    return "no violation";
  };
  EXPECT_EQ(message([&] { ColorExpanded::red(pattern); }), "Must be an RGB color to use -red");
  EXPECT_EQ(message([&] { ColorExpanded::green(pattern); }), "Must be an RGB color to use -green");
  EXPECT_EQ(message([&] { ColorExpanded::blue(pattern); }), "Must be an RGB color to use -blue");
  EXPECT_EQ(message([&] { ColorExpanded::white(rgb); }), "Must be a Monochrome color to use -white");
  EXPECT_EQ(message([&] { ColorExpanded::rgbHex(pattern); }), "Must be a RGB color to use rgbHex");
  EXPECT_EQ(message([&] { ColorExpanded::arrayFromRGBAComponents(pattern); }),
            "Must be an RGB color to use -arrayFromRGBAComponents");
  EXPECT_EQ(message([&] { ColorExpanded::stringFromColor(pattern); }),
            "Must be an RGB color to use -stringFromColor");
  EXPECT_EQ(message([&] { ColorExpanded::colorByAdding(pattern, 0.1f); }),
            "Must be a RGB color to use arithmatic operations");
  EXPECT_EQ(message([&] { ColorExpanded::colorByAddingColor(rgb, pattern); }),
            "Must be a RGB color to use arithmatic operations");

  float r = -1, a = -1;
  EXPECT_FALSE(ColorExpanded::red(pattern, &r, nullptr, nullptr, &a));
  EXPECT_EQ(r, -1);
  EXPECT_TRUE(ColorExpanded::red(pf::Color::fromWhite(0.25, 0.5), &r, nullptr, nullptr, &a));
  EXPECT_FLOAT_EQ(r, 0.25f);
  EXPECT_FLOAT_EQ(a, 0.5f);
  EXPECT_FLOAT_EQ(ColorExpanded::blue(pf::Color::fromWhite(0.25)), 0.25f);
  EXPECT_EQ(ColorExpanded::colorSpaceString(pattern), "kCGColorSpaceModelPattern");
  EXPECT_EQ(ColorExpanded::colorSpaceString(-1), "kCGColorSpaceModelUnknown");
  EXPECT_EQ(ColorExpanded::colorSpaceString(7), "Not a valid color space");
  EXPECT_FALSE(ColorExpanded::canProvideRGBComponents(pattern));
}

TEST(ColorExpanded, TextFormsRoundTripAndOddTextsGiveNone) {
  const pf::Color grey = pf::Color::fromWhite(0.5, 1);
  const pf::Color rgb = pf::Color::fromRgba(0.1234, 0.5, 1, 0.25);
  EXPECT_EQ(ColorExpanded::stringFromColor(grey), "{0.500, 1.000}");
  EXPECT_EQ(ColorExpanded::stringFromColor(rgb), "{0.123, 0.500, 1.000, 0.250}");
  const std::optional<pf::Color> back = ColorExpanded::colorWithString(ColorExpanded::stringFromColor(rgb));
  expectRgba(back, {0.123, 0.5, 1, 0.25}, "round trip");
  const auto greyBack = ColorExpanded::colorWithString(ColorExpanded::stringFromColor(grey));
  ASSERT_TRUE(greyBack);
  EXPECT_EQ(greyBack->model(), pf::ColorSpaceModel::monochrome);

  expectRgba(ColorExpanded::colorWithString("{1,0,0,1}"), {1, 0, 0, 1}, "{1,0,0,1}");
  expectRgba(ColorExpanded::colorWithString(" { 0.5 , 1 } "), {0.5, 0.5, 0.5, 1}, "spaced grey");
  for (const std::string text : {"{1, 0, 0}", "{0.5, 1} more", "{1,0,0,1,1}", "0.5, 1}", "{0.5 1}", "{", "{}",
                                 "{.,1}", "{0.5, 1"}) {
    EXPECT_FALSE(ColorExpanded::colorWithString(text).has_value()) << text;
  }
}

TEST(ColorExpanded, NamesComeFromTheTableAndMissesAreCached) {
  const std::string_view table = ColorExpandedSupport::colorNameTable();
  EXPECT_EQ(std::count(table.begin(), table.end(), ','), 147);
  EXPECT_EQ(table.substr(0, 37), ",aliceblue#f0f8ff,antiquewhite#faebd7");
  EXPECT_TRUE(table.ends_with(",yellowgreen#9acd32"));

  expectRgba(ColorExpanded::colorWithName("red"), {1, 0, 0, 1}, "red");
  expectRgba(ColorExpanded::colorWithName("yellowgreen"), fromHex(0x9acd32), "yellowgreen");
  expectRgba(ColorExpanded::colorWithName("aliceblue"), fromHex(0xf0f8ff), "aliceblue");
  EXPECT_EQ(ColorExpanded::colorWithName("grey"), ColorExpanded::colorWithName("gray"));
  // A name spanning two entries of the table is no name.
  for (const std::string name : {"Red", "", "aliceblue#f0f8ff,antiquewhite", "reds"}) {
    EXPECT_FALSE(ColorExpanded::colorWithName(name).has_value()) << name;
  }
  EXPECT_FALSE(ColorExpanded::isNameCached("notacolour"));
  EXPECT_FALSE(ColorExpanded::colorWithName("notacolour"));
  EXPECT_TRUE(ColorExpanded::isNameCached("notacolour"));
  EXPECT_FALSE(ColorExpanded::colorWithName("notacolour"));
}

TEST(ColorExpanded, ConcurrencyNameLookupsFromManyThreadsAgree) {
  const std::vector<std::string> names = {"teal", "tomato", "notacolourhere", "wheat", "Teal", "indigo"};
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&names, &wrong] {
      for (int round = 0; round < 200; ++round) {
        for (const auto& name : names) {
          const auto color = ColorExpanded::colorWithName(name);
          const bool known = name != "notacolourhere" && name != "Teal";
          if (color.has_value() != known) ++wrong;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong, 0);
  expectRgba(ColorExpanded::colorWithName("tomato"), fromHex(0xff6347), "tomato");
}

class ColorFromImage : public ::testing::Test {
 protected:
  // 40 x 40 pixels: left half red, right half blue, with a green 4 x 4 square at the centre and a
  // white bottom-right pixel.
  void SetUp() override {
    auto bitmap = pf::Bitmap::create(40, 40);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        bitmap->setPixel(x, y, x < 20 ? pf::Pixel{255, 0, 0, 255} : pf::Pixel{0, 0, 255, 255});
      }
    }
    for (int y = 20; y < 24; ++y) {
      for (int x = 20; x < 24; ++x) bitmap->setPixel(x, y, {0, 255, 0, 255});
    }
    bitmap->setPixel(39, 39, {255, 255, 255, 255});
    picture = pf::Image::withBitmap(bitmap);
  }
  std::shared_ptr<const pf::Bitmap> region(float x, float y, float scale) {
    const std::optional<pf::Color> color = ColorExpanded::colorFromImage(picture, x, y, scale);
    if (!color || !color->patternImage()) return nullptr;
    return color->patternImage()->bitmap();
  }
  std::shared_ptr<const pf::Image> picture;
};

TEST_F(ColorFromImage, FractionsPickTheRegionAndPixelPositionsAreKeptInside) {
  const auto centre = region(0.5f, 0.5f, 0.1f);
  ASSERT_TRUE(centre);
  EXPECT_EQ(centre->width(), 4);
  EXPECT_EQ(centre->height(), 4);
  EXPECT_EQ(centre->pixel(0, 0), (pf::Pixel{0, 255, 0, 255}));
  EXPECT_EQ(centre->pixel(3, 3), (pf::Pixel{0, 255, 0, 255}));

  // A caller passing pixel positions with scale 0.01: the last pixel, not nothing.
  const auto outside = region(15, 15, 0.01f);
  ASSERT_TRUE(outside);
  EXPECT_EQ(outside->width(), 1);
  EXPECT_EQ(outside->height(), 1);
  EXPECT_EQ(outside->pixel(0, 0), (pf::Pixel{255, 255, 255, 255}));

  const auto negative = region(-1, 0, 0.1f);
  ASSERT_TRUE(negative);
  EXPECT_EQ(negative->pixel(0, 0), (pf::Pixel{255, 0, 0, 255}));
  const auto whole = region(0.9f, 0, 2);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->width(), 40);

  EXPECT_FALSE(ColorExpanded::colorFromImage(nullptr, 0.5f, 0.5f, 0.1f).has_value());
}

}  // namespace
