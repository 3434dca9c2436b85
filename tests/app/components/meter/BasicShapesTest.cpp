#include <gtest/gtest.h>

#include <string>

#include "app/components/meter/BasicShapes.h"

namespace {

using pf::Path;
using pf::Rect;

std::vector<Path::Element> elementsOf(const Path& path) { return path.elements(); }

int subpathCount(const Path& path) {
  int count = 0;
  for (const auto& e : path.elements()) count += e.type == Path::ElementType::moveTo;
  return count;
}

void expectPoint(pf::Point got, double x, double y) {
  EXPECT_NEAR(got.x, x, 1e-4);
  EXPECT_NEAR(got.y, y, 1e-4);
}

TEST(BasicShapesTest, FittedSquareIgnoresTheFramesOrigin) {
  const Rect square = BasicShapes::maximumSquareFrameThatFits({12, 30, 100, 20});
  EXPECT_EQ(square, Rect(40, 0, 20, 20));
  EXPECT_EQ(BasicShapes::maximumSquareFrameThatFits({5, 5, 10, 40}), Rect(0, 15, 10, 10));
  const auto star = elementsOf(BasicShapes::starShape({0, 0, 10, 40}));
  ASSERT_EQ(star.size(), 11u) << "move, nine lines, close";
  expectPoint(star[0].points[0], 5, 15.5);
}

TEST(BasicShapesTest, RowOfStarsFromTheOrigin) {
  const Path row = BasicShapes::stars(5, {12, 30, 100, 20});
  EXPECT_EQ(subpathCount(row), 5);
  const Rect box = row.boundingBox();
  EXPECT_NEAR(box.minX(), 0.4894, 1e-4);
  EXPECT_NEAR(box.maxX(), 99.5106, 1e-4);
  EXPECT_NEAR(box.minY(), 1, 1e-4);
  EXPECT_NEAR(box.maxY(), 19.0902, 1e-4);
  const auto elements = elementsOf(row);
  for (int i = 0; i < 5; ++i) expectPoint(elements[static_cast<std::size_t>(i) * 11].points[0], 20.0 * i + 10, 1);

  const auto narrow = elementsOf(BasicShapes::stars(5, {0, 0, 60, 20}));
  expectPoint(narrow[0].points[0], 6, 4.6);
  expectPoint(narrow[1].points[0], 8.1161, 7.6875);
  expectPoint(narrow[2].points[0], 11.7064, 8.7459);
  // Coordinates are float values, as the platform's paths keep them.
  EXPECT_EQ(narrow[1].points[0].x, static_cast<double>(static_cast<float>(narrow[1].points[0].x)));

  EXPECT_TRUE(BasicShapes::stars(0, {0, 0, 100, 20}).isEmpty());
  EXPECT_TRUE(BasicShapes::stars(5, {0, 0, 0, 20}).boundingBox().isEmpty());
}

TEST(BasicShapesTest, FiguresFollowTheirCommandsFirstPointsAndExtents) {
  struct Figure {
    const char* name;
    Path path;
    std::string sequence;
    pf::Point first;
    Rect extent;
  };
  const Rect unit{0, 0, 1, 1};
  const Figure figures[] = {
      {"heart", BasicShapes::heartShape(unit), "MCCCCCCCCCZ", {0.74182, 0.04948},
       {0.00709, 0.04848, 0.99308 - 0.00709, 0.92498 - 0.04848}},
      {"user", BasicShapes::userShape(unit), "MCCCCCCCLCCLCCCCCCCCCCCLLLCCCCCCZ", {0.59723, 0.53216},
       {0.05796, 0.10878, 0.94992 - 0.05796, 0.87769 - 0.10878}},
      {"martini", BasicShapes::martiniShape(unit), "M" + std::string(32, 'C') + "Z", {0.3398, 0.99174},
       {0.1532, 0.01653, 0.87303 - 0.1532, 0.99174 - 0.01653}},
      {"beaker", BasicShapes::beakerShape(unit), "MCLCCLLCLCCLLCLCCLLLLCCLLLCCLCLCLLCLCZ", {0.8919, 0.77619},
       {0.05262, 0.01163, 0.97211 - 0.05262, 0.99201 - 0.01163}},
  };
  for (const auto& f : figures) {
    SCOPED_TRACE(f.name);
    std::string sequence;
    for (const auto& e : f.path.elements()) sequence += "MLCZ"[static_cast<int>(e.type)];
    EXPECT_EQ(sequence, f.sequence);
    expectPoint(f.path.elements().front().points[0], f.first.x, f.first.y);
    const Rect extent = f.path.controlPointBoundingBox();
    EXPECT_NEAR(extent.minX(), f.extent.minX(), 1e-5);
    EXPECT_NEAR(extent.maxX(), f.extent.maxX(), 1e-5);
    EXPECT_NEAR(extent.minY(), f.extent.minY(), 1e-5);
    EXPECT_NEAR(extent.maxY(), f.extent.maxY(), 1e-5);
  }
}

}  // namespace
