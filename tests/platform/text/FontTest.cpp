#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace pf {
namespace {

TEST(FontTest, SystemFontHasMetrics) {
  const auto font = Font::systemFont(15);
  EXPECT_EQ(font->pointSize(), 15);
  EXPECT_GT(font->ascender(), 8);
  EXPECT_LT(font->descender(), -1);
  EXPECT_GE(font->leading(), 0);
  EXPECT_NEAR(font->lineHeight(), font->ascender() - font->descender() + font->leading(), 1e-9);
  EXPECT_GT(font->lineHeight(), 15);
  EXPECT_LT(font->lineHeight(), 30);
  EXPECT_NEAR(Font::systemFont(30)->ascender(), 2 * font->ascender(), 0.1);
}

TEST(FontTest, TheSystemFontDrawsChinese) {
  // fontconfig's choice for Simplified Chinese: the packaged WenQuanYi face, or another CJK family.
  EXPECT_THAT(Font::systemFamilyName(),
              testing::AnyOf(testing::HasSubstr("WenQuanYi"), testing::HasSubstr("CJK")));
  const auto font = Font::systemFont(20);
  // A CJK face gives a Chinese character one em; a missing glyph would be a narrow box or nothing.
  const Size han = StringDrawing::sizeOfText("中", *font);
  EXPECT_NEAR(han.width, 20, 2);
  const Size latin = StringDrawing::sizeOfText("i", *font);
  EXPECT_LT(latin.width, han.width / 2 + 1);
}

struct NameCase {
  const char* name;
  bool exists;
  bool bold;
  bool italic;
};

class FontNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(FontNameTest, FindsFamiliesAndStyles) {
  const NameCase& c = GetParam();
  const auto font = Font::withName(c.name, 13);
  ASSERT_EQ(font != nullptr, c.exists) << c.name;
  if (!font) {
    EXPECT_EQ(Font::withNameOrSystem(c.name, 13)->familyName(), Font::systemFamilyName());
    return;
  }
  EXPECT_EQ(font->isBold(), c.bold) << c.name;
  EXPECT_EQ(font->isItalic(), c.italic) << c.name;
  EXPECT_EQ(font->pointSize(), 13);
}

INSTANTIATE_TEST_SUITE_P(Names, FontNameTest,
                         testing::Values(NameCase{"Helvetica", true, false, false},
                                         NameCase{"Helvetica-Bold", true, true, false},
                                         NameCase{"HelveticaNeue-BoldOblique", true, true, true},
                                         NameCase{"Arial-ItalicMT", false, false, false},
                                         NameCase{"STHeitiSC-Medium", true, false, false},
                                         NameCase{"wenquanyi micro hei", true, false, false},
                                         NameCase{"NoSuchFamily", false, false, false},
                                         NameCase{"NoSuchFamily-Bold", false, false, false},
                                         NameCase{"", false, false, false}));

TEST(FontTest, AnySizeMakesAWholeDescription) {
  const struct {
    double size;
    const char* ending;
  } cases[] = {{15, " 15.0000px"}, {1e300, " 10000.0000px"}, {-3, " 0.0000px"},
               {std::numeric_limits<double>::quiet_NaN(), " 0.0000px"},
               {std::numeric_limits<double>::infinity(), " 0.0000px"}};
  for (const auto& c : cases) {
    const std::string description = pf::Font("Sans", c.size, false, false).pangoDescription();
    EXPECT_EQ(description, std::string("Sans,") + c.ending) << c.size;
  }
}

TEST(FontTest, NamesRoundTripWithTraits) {
  const auto system = Font::systemFont(15);
  EXPECT_EQ(system->familyName(), Font::systemFamilyName());
  const auto boldItalic = Font::withName(system->fontName() + "-BoldOblique", 15);
  ASSERT_TRUE(boldItalic);
  EXPECT_TRUE(boldItalic->isBold());
  EXPECT_TRUE(boldItalic->isItalic());
  const auto again = Font::withName(boldItalic->fontName(), 15);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->fontName(), boldItalic->fontName());
  EXPECT_TRUE(Font::boldSystemFont(15)->isBold());
  EXPECT_TRUE(Font::italicSystemFont(15)->isItalic());
  EXPECT_EQ(system->withTraits(true, false)->fontName(), Font::boldSystemFont(15)->fontName());
  EXPECT_EQ(system->withSize(18)->pointSize(), 18);
}

}  // namespace
}  // namespace pf
