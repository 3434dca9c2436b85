// The open deck as the learner sees it: the menu on the left, the centre's strip on the right, the
// centre's shadow falling on the menu at the strip's edge. Written to the build folder (or
// MARLUNE_SNAPSHOT_DIR) and checked by sampled pixels.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/graphics/GraphicsContext.h"

#include "tests/ui/deck/DeckFixture.h"

namespace decktest {
namespace {

class PanelDeckSnapshotTest : public DeckFixture, public testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  static pf::Pixel pixelOf(const pf::Color& color) {
    const auto c = color.rgba().value();
    return {std::uint8_t(std::lround(c.red * 255)), std::uint8_t(std::lround(c.green * 255)),
            std::uint8_t(std::lround(c.blue * 255)), 255};
  }
  static int brightness(const pf::Pixel& p) { return p.red + p.green + p.blue; }
  // Within one step per channel (rounding of the colour to bytes).
  static bool closeTo(const pf::Pixel& a, const pf::Pixel& b) {
    return std::abs(a.red - b.red) <= 1 && std::abs(a.green - b.green) <= 1 && std::abs(a.blue - b.blue) <= 1;
  }
};

TEST_P(PanelDeckSnapshotTest, OpenDeckShowsMenuStripAndShadow) {
  showAppDeck(GetParam());
  deck->openLeftView();
  settle(2);
  const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR");
  const std::string name = GetParam() == pf::Screen::Profile::Phone ? "deck-open-phone.png" : "deck-open-tablet.png";
  ASSERT_TRUE(screen().writePng((folder ? std::string(folder) + "/" : std::string()) + name));

  const double y = deck->view()->bounds().size.height / 2;
  const double edge = openOffset();
  EXPECT_TRUE(closeTo(screen().pixelAt(inWindow(edge / 3, y)), pixelOf(kMenuColor))) << "the menu, far from the shadow";
  EXPECT_TRUE(closeTo(screen().pixelAt(inWindow(edge + ledge() / 2, y)), pixelOf(kCenterColor))) << "the centre's strip";
  // The shadow darkens the menu next to the strip, more the closer it gets.
  const int far = brightness(screen().pixelAt(inWindow(edge - 30, y)));
  const int near = brightness(screen().pixelAt(inWindow(edge - 2, y)));
  EXPECT_LT(near, brightness(pixelOf(kMenuColor)));
  EXPECT_LT(near, far);
  // The navigation bar above the deck still shows.
  EXPECT_FALSE(closeTo(screen().pixelAt({edge / 3, 30}), pixelOf(kMenuColor)));
}

// The centre's shadow is drawn every frame (a list scrolling in the centre redraws it): with the
// centre's size unchanged the blur must be reused, drawing the same pixels, not run again each frame.
TEST_P(PanelDeckSnapshotTest, SettledShadowIsNotBlurredAgainNextFrame) {
  showAppDeck(GetParam());
  deck->openLeftView();
  settle(2);
  const double y = deck->view()->bounds().size.height / 2;
  const double edge = openOffset();
  auto acrossTheEdge = [&] {
    std::vector<int> row;
    for (double x = edge - 40; x < edge + 10; x += 1) row.push_back(brightness(screen().pixelAt(inWindow(x, y))));
    return row;
  };
  screen().render();
  const auto first = acrossTheEdge();
  const std::uint64_t blurs = pf::GraphicsContext::shadowBlurCount();
  screen().render();
  EXPECT_EQ(pf::GraphicsContext::shadowBlurCount(), blurs);
  EXPECT_EQ(acrossTheEdge(), first);
}

// A list scrolling in the centre redraws the deck every frame: the centre's shadow is cast from its
// outline, so a settled frame, closed (the shadow falls off the screen) or open, composes no
// offscreen picture and blurs nothing.
TEST_P(PanelDeckSnapshotTest, SettledFramesComposeNothingOffscreenForTheShadow) {
  showAppDeck(GetParam());
  for (const bool open : {false, true}) {
    SCOPED_TRACE(open ? "open" : "closed");
    if (open) deck->openLeftView();
    settle(2);
    screen().render();
    const std::uint64_t blurs = pf::GraphicsContext::shadowBlurCount();
    const std::uint64_t passes = pf::GraphicsContext::offscreenPassCount();
    screen().render();
    EXPECT_EQ(pf::GraphicsContext::shadowBlurCount(), blurs);
    EXPECT_EQ(pf::GraphicsContext::offscreenPassCount(), passes);
  }
}

INSTANTIATE_TEST_SUITE_P(Profiles, PanelDeckSnapshotTest,
                         testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const auto& info) { return info.param == pf::Screen::Profile::Phone ? "Phone" : "Tablet"; });

}  // namespace
}  // namespace decktest
