// A picture of the square's page 1 with item 7's name lit by a touch, on the phone and the tablet:
// each icon of the page is sampled at its place, the touched name shows the highlight colour and the
// names of the other items do not. MARLUNE_SNAPSHOT_DIR keeps the PNG for a person to look at.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/ui/grid/SquareGridFixture.h"

namespace {

using squaregrid::SquareGridTest;

bool gridPixelNear(pf::Pixel pixel, pf::Pixel wanted, int slack = 24) {
  return std::abs(pixel.red - wanted.red) <= slack && std::abs(pixel.green - wanted.green) <= slack &&
         std::abs(pixel.blue - wanted.blue) <= slack;
}

class GridSnapshotTest : public SquareGridTest {
 protected:
  // Whether some pixel of the item's name area shows the colour.
  bool nameShows(long item, pf::Pixel color) {
    const double side = grid->itemSize().width;
    const double nameHeight = height() / 480 * 20;
    const pf::Point top = windowPointOfItem(item, 0, 0);
    for (double y = top.y + side + 7; y < top.y + side + 7 + nameHeight; y += 0.5) {
      for (double x = top.x; x < top.x + side; x += 0.5) {
        if (gridPixelNear(host->pixelAt({x, y}), color, 40)) return true;
      }
    }
    return false;
  }
};

TEST_P(GridSnapshotTest, PageOneWithATouchedName) {
  makeSquare(14);
  swipePages(+1);
  fingers->press(0, windowPointOfItem(7));
  host->advance(0.2);
  host->render();
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) {
    host->writePng(std::string(folder) + "/grid-page1-" + GetParam().name + ".png");
  }
  for (long item = 6; item < 12; ++item) {
    const pf::Point icon = windowPointOfItem(item, 0.5, 0.35);
    EXPECT_TRUE(gridPixelNear(host->pixelAt(icon), squaregrid::itemPixel(item))) << "icon of item " << item;
  }
  // Item 7's icon sits where the worked example says, page 1 row 0 column 1, scrolled into view.
  const pf::Point origin = grid->layoutStrategy()->originForItemAtPosition(7);
  EXPECT_DOUBLE_EQ(origin.x - grid->contentOffset().x,
                   grid->layoutStrategy()->originForItemAtPosition(1).x);
  const pf::Pixel lit{0x08, 0x9D, 0xB9, 255};
  EXPECT_TRUE(nameShows(7, lit));
  EXPECT_FALSE(nameShows(8, lit));
  EXPECT_TRUE(nameShows(8, {0, 0, 0, 255}));
  fingers->lift(0);
  host->advance(0.5);
  host->render();
  EXPECT_FALSE(nameShows(7, lit));
}

INSTANTIATE_TEST_SUITE_P(Profiles, GridSnapshotTest, testing::ValuesIn(squaregrid::kProfiles),
                         squaregrid::profileName);

}  // namespace
