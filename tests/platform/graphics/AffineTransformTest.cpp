#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/EdgeInsets.h"

#include <gtest/gtest.h>

#include <numbers>

namespace pf {
namespace {

constexpr double kHalfPi = std::numbers::pi / 2;

void expectNear(Point got, Point want) {
  EXPECT_NEAR(got.x, want.x, 1e-9);
  EXPECT_NEAR(got.y, want.y, 1e-9);
}

struct PointCase {
  const char* name;
  AffineTransform transform;
  Point in;
  Point out;
};

class TransformPointTest : public testing::TestWithParam<PointCase> {};

TEST_P(TransformPointTest, MapsAndMapsBack) {
  const PointCase& c = GetParam();
  SCOPED_TRACE(c.name);
  expectNear(c.transform.apply(c.in), c.out);
  expectNear(c.transform.inverted().apply(c.out), c.in);
}

INSTANTIATE_TEST_SUITE_P(
    Transforms, TransformPointTest,
    testing::Values(
        PointCase{"identity", AffineTransform::identity(), {3, 4}, {3, 4}},
        PointCase{"translation", AffineTransform::makeTranslation(10, -5), {3, 4}, {13, -1}},
        PointCase{"scale", AffineTransform::makeScale(2, 3), {3, 4}, {6, 12}},
        // Positive angles turn +x towards +y.
        PointCase{"rotation", AffineTransform::makeRotation(kHalfPi), {1, 0}, {0, 1}},
        // translated() puts the translation before the existing scale.
        PointCase{
            "scale then translate step", AffineTransform::makeScale(2, 2).translated(5, 0), {1, 1}, {12, 2}},
        // concatenated() applies the receiver first.
        PointCase{"scale concatenated with translation",
                  AffineTransform::makeScale(2, 2).concatenated(AffineTransform::makeTranslation(5, 0)),
                  {1, 1},
                  {7, 2}},
        PointCase{
            "rotated translation", AffineTransform::makeTranslation(10, 0).rotated(kHalfPi), {1, 0}, {10, 1}},
        PointCase{"scaled rotation", AffineTransform::makeRotation(kHalfPi).scaled(2, 1), {1, 1}, {-1, 2}}));

TEST(AffineTransformTest, SingularTransformInvertsToItself) {
  const auto flat = AffineTransform::makeScale(0, 1);
  EXPECT_EQ(flat.inverted(), flat);
}

TEST(AffineTransformTest, ConcatenationWithInverseIsIdentity) {
  const auto t = AffineTransform::makeRotation(0.3).scaled(2, 5).translated(7, -3);
  const auto id = t.concatenated(t.inverted());
  for (double v : {id.a - 1, id.b, id.c, id.d - 1, id.tx, id.ty}) EXPECT_NEAR(v, 0, 1e-9);
  EXPECT_TRUE(AffineTransform::identity().isIdentity());
  EXPECT_FALSE(t.isIdentity());
}

TEST(AffineTransformTest, RectsMapToTheBoundingBoxOfTheirCorners) {
  const Rect r = AffineTransform::makeRotation(kHalfPi).apply(Rect(0, 0, 10, 20));
  EXPECT_NEAR(r.origin.x, -20, 1e-9);
  EXPECT_NEAR(r.origin.y, 0, 1e-9);
  EXPECT_NEAR(r.size.width, 20, 1e-9);
  EXPECT_NEAR(r.size.height, 10, 1e-9);
  EXPECT_EQ(AffineTransform::makeScale(-1, 1).apply(Rect(0, 0, 10, 5)), Rect(-10, 0, 10, 5));
  EXPECT_TRUE(AffineTransform::makeScale(2, 2).apply(Rect::null()).isNull());
  EXPECT_EQ(AffineTransform::makeTranslation(5, 5).scaled(2, 2).apply(Size{3, 4}), (Size{6, 8}));
}

TEST(EdgeInsetsTest, InsetsEachEdge) {
  EXPECT_EQ((EdgeInsets{1, 2, 3, 4}.inset(Rect(0, 0, 10, 10))), Rect(2, 1, 4, 6));
  EXPECT_EQ((EdgeInsets{-1, -1, -1, -1}.inset(Rect(0, 0, 10, 10))), Rect(-1, -1, 12, 12));
  // Insets larger than the rect leave a negative size, which standardises as usual.
  EXPECT_EQ((EdgeInsets{0, 8, 0, 8}.inset(Rect(0, 0, 10, 10))).width(), 6);
}

}  // namespace
}  // namespace pf
