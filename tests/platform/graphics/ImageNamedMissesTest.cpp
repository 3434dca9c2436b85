// The named lookup keeps the names it found nothing for, so a tour of the screens can name a picture
// that did not resolve.

#include "platform/foundation/Bundle.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Image.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace image_named_misses_test {

using pf::Image;

void writePicture(const std::string& path) {
  const auto png = Image::withBitmap(pf::Bitmap::create(2, 2))->pngData();
  ASSERT_TRUE(png);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png->data()), long(png->size()));
}

// Catches: a found picture reported as missing, a miss reported twice, or misses that survive the take.
TEST(ImageNamedMissesTest, EachMissedNameOnceInOrderAndTakingClears) {
  pf_test::TemporaryFolder bundle;
  writePicture(bundle.file("found.png"));
  pf::Bundle::setMainBundlePath(bundle.path());
  Image::takeNamedMisses();

  EXPECT_TRUE(Image::named("found", 2));
  EXPECT_FALSE(Image::named("CMN_BASE_gone.png", 2));
  EXPECT_FALSE(Image::named("other", 1));
  EXPECT_FALSE(Image::named("CMN_BASE_gone.png", 1));
  EXPECT_EQ(Image::takeNamedMisses(), (std::vector<std::string>{"CMN_BASE_gone.png", "other"}));
  EXPECT_TRUE(Image::takeNamedMisses().empty());

  EXPECT_FALSE(Image::named("other", 1));
  EXPECT_EQ(Image::takeNamedMisses(), std::vector<std::string>{"other"}) << "a later miss counts again";
  pf::Bundle::setMainBundlePath("");
}

// Catches: an unbounded record in a long-running app that asks for names no one takes.
TEST(ImageNamedMissesTest, KeepsOnlyAFewHundredNames) {
  pf_test::TemporaryFolder bundle;
  pf::Bundle::setMainBundlePath(bundle.path());
  Image::takeNamedMisses();
  for (int i = 0; i < 1000; ++i) Image::named("missing-" + std::to_string(i));
  const auto misses = Image::takeNamedMisses();
  EXPECT_LE(misses.size(), 300u);
  EXPECT_EQ(misses.front(), "missing-0");
  pf::Bundle::setMainBundlePath("");
}

}  // namespace image_named_misses_test
