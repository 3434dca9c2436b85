#include <gtest/gtest.h>

#include "platform/graphics/NamedColors.h"

namespace {

TEST(NamedColorsTest, FindsTheClassMethodsColoursByExactName) {
  EXPECT_EQ(pf::NamedColors::byMethodName("clearColor"), pf::Color::clear());
  EXPECT_EQ(pf::NamedColors::byMethodName("darkGrayColor"), pf::Color::darkGray());
  EXPECT_EQ(pf::NamedColors::byMethodName("redColor"), pf::Color::red());
  EXPECT_EQ(pf::NamedColors::byMethodName("groupTableViewBackgroundColor"), pf::Color::groupTableViewBackground());
  for (const char* unknown : {"", "clear", "ClearColor", "darkgrayColor", "Color", "blinkColor", "redColor "}) {
    EXPECT_FALSE(pf::NamedColors::byMethodName(unknown)) << unknown;
  }
}

}  // namespace
