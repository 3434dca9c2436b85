#include "platform/graphics/Path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace pf {
namespace {

void expectRectNear(const Rect& got, const Rect& want, double tolerance = 1e-6) {
  EXPECT_NEAR(got.minX(), want.minX(), tolerance) << got.description();
  EXPECT_NEAR(got.minY(), want.minY(), tolerance) << got.description();
  EXPECT_NEAR(got.width(), want.width(), tolerance) << got.description();
  EXPECT_NEAR(got.height(), want.height(), tolerance) << got.description();
}

TEST(PathTest, BoundingBoxFollowsCurvesNotControlPoints) {
  Path p;
  p.moveTo({0, 0});
  p.curveTo({10, 0}, {0, 10}, {10, 10});
  // The curve bulges to y = 7.5 while its control points reach 10.
  expectRectNear(p.boundingBox(), Rect(0, 0, 10, 7.5));
  expectRectNear(p.controlPointBoundingBox(), Rect(0, 0, 10, 10));
  EXPECT_TRUE(Path().boundingBox().isNull());
}

TEST(PathTest, ShapesHaveTheirBoxes) {
  expectRectNear(Path::withOval({10, 20, 30, 40}).boundingBox(), Rect(10, 20, 30, 40));
  expectRectNear(Path::withRoundedRect({0, 0, 50, 20}, 100).boundingBox(), Rect(0, 0, 50, 20));
  // A half circle below its centre, clockwise from 0 to pi on a y-down screen.
  expectRectNear(Path::withArc({0, 0}, 10, 0, std::numbers::pi, true).boundingBox(), Rect(-10, 0, 20, 10));
  expectRectNear(Path::withArc({0, 0}, 10, 0, std::numbers::pi, false).boundingBox(), Rect(-10, -10, 20, 10));
}

TEST(PathTest, ArcPointsLieOnTheCircle) {
  const Path p = Path::withArc({5, 5}, 10, 0.3, 2.9, true);
  for (const auto& e : p.elements()) {
    if (e.type == Path::ElementType::closeSubpath) continue;
    EXPECT_NEAR(std::hypot(e.points[0].x - 5, e.points[0].y - 5), 10, 1e-9);
  }
}

struct ArcCase {
  double start, end;
  bool clockwise;
  Rect box;
};

class ArcTest : public testing::TestWithParam<ArcCase> {};

TEST_P(ArcTest, TurnsTheAskedWayAtMostOnce) {
  const ArcCase& c = GetParam();
  expectRectNear(Path::withArc({0, 0}, 10, c.start, c.end, c.clockwise).boundingBox(), c.box, 1e-6);
}

constexpr double kPi = std::numbers::pi;

INSTANTIATE_TEST_SUITE_P(Sweeps, ArcTest,
                         testing::Values(ArcCase{0, kPi / 2, true, {0, 0, 10, 10}},
                                         ArcCase{0, -kPi / 2, true, {-10, -10, 20, 20}},
                                         ArcCase{0, -kPi / 2, false, {0, -10, 10, 10}},
                                         ArcCase{0, 2 * kPi, true, {-10, -10, 20, 20}},
                                         ArcCase{0, 1e18, true, {-10, -10, 20, 20}},
                                         ArcCase{0, -1e18, false, {-10, -10, 20, 20}},
                                         ArcCase{5 * kPi, 5.5 * kPi, true, {-10, -10, 10, 10}}));

TEST(PathTest, ArcsOfNonFiniteAnglesAddNothing) {
  EXPECT_TRUE(Path::withArc({0, 0}, 10, 0, std::nan(""), true).isEmpty());
  EXPECT_TRUE(Path::withArc({0, 0}, INFINITY, 0, 1, true).isEmpty());
}

TEST(PathTest, TransformsAndAppends) {
  Path star = Path::withRect({0, 0, 2, 2});
  star.apply(AffineTransform::makeTranslation(10, 0));
  Path row = Path::withRect({0, 0, 2, 2});
  row.append(star);
  expectRectNear(row.boundingBox(), Rect(0, 0, 12, 2));
  EXPECT_EQ(row.currentPoint(), (Point{10, 0}));
}

TEST(PathTest, ContainsFollowsTheFillRule) {
  Path ring = Path::withRect({0, 0, 30, 30});
  ring.addRect({10, 10, 10, 10});
  EXPECT_TRUE(ring.contains({15, 15}, FillRule::nonZero));
  EXPECT_FALSE(ring.contains({15, 15}, FillRule::evenOdd));
  EXPECT_TRUE(ring.contains({5, 5}, FillRule::evenOdd));
  EXPECT_FALSE(ring.contains({35, 5}));
  EXPECT_FALSE(Path().contains({0, 0}));
}

TEST(PathTest, LinesWithoutACurrentPointStartASubpath) {
  Path p;
  p.lineTo({3, 4});
  ASSERT_EQ(p.elements().size(), 1u);
  EXPECT_EQ(p.elements()[0].type, Path::ElementType::moveTo);
  p.closeSubpath();
  EXPECT_EQ(p.currentPoint(), (Point{3, 4}));
}

}  // namespace
}  // namespace pf
