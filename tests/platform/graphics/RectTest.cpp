#include "platform/graphics/Rect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace pf {

void PrintTo(const Rect& rect, std::ostream* out) {
  *out << rect.description();
}

namespace {

struct EdgesCase {
  Rect rect;
  double minX, midX, maxX, minY, midY, maxY, width, height;
};

class RectEdgesTest : public testing::TestWithParam<EdgesCase> {};

TEST_P(RectEdgesTest, ReadsTheStandardisedRect) {
  const EdgesCase& c = GetParam();
  EXPECT_DOUBLE_EQ(c.rect.minX(), c.minX);
  EXPECT_DOUBLE_EQ(c.rect.midX(), c.midX);
  EXPECT_DOUBLE_EQ(c.rect.maxX(), c.maxX);
  EXPECT_DOUBLE_EQ(c.rect.minY(), c.minY);
  EXPECT_DOUBLE_EQ(c.rect.midY(), c.midY);
  EXPECT_DOUBLE_EQ(c.rect.maxY(), c.maxY);
  EXPECT_DOUBLE_EQ(c.rect.width(), c.width);
  EXPECT_DOUBLE_EQ(c.rect.height(), c.height);
}

INSTANTIATE_TEST_SUITE_P(Rects, RectEdgesTest,
                         testing::Values(EdgesCase{{10, 20, 30, 40}, 10, 25, 40, 20, 40, 60, 30, 40},
                                         EdgesCase{{10, 20, -30, -40}, -20, -5, 10, -20, 0, 20, 30, 40},
                                         EdgesCase{{0, 0, 0, 0}, 0, 0, 0, 0, 0, 0, 0, 0},
                                         EdgesCase{{-5, 5, 10, -10}, -5, 0, 5, -5, 0, 5, 10, 10}));

TEST(RectTest, StandardisingFlipsNegativeSizes) {
  EXPECT_EQ(Rect(10, 20, -30, -40).standardized(), Rect(-20, -20, 30, 40));
  EXPECT_EQ(Rect(1, 2, 3, 4).standardized(), Rect(1, 2, 3, 4));
  EXPECT_TRUE(Rect::null().standardized().isNull());
}

struct BinaryCase {
  Rect a;
  Rect b;
  Rect intersection;  // Rect::null() when disjoint
  Rect unionRect;
  bool intersects;
};

class RectBinaryTest : public testing::TestWithParam<BinaryCase> {};

TEST_P(RectBinaryTest, IntersectsAndUnites) {
  const BinaryCase& c = GetParam();
  const Rect got = c.a.intersection(c.b);
  if (c.intersection.isNull()) {
    EXPECT_TRUE(got.isNull()) << got.description();
  } else {
    EXPECT_EQ(got, c.intersection) << got.description();
  }
  EXPECT_EQ(c.b.intersection(c.a).isNull(), got.isNull());
  const Rect u = c.a.unionWith(c.b);
  if (c.unionRect.isNull()) {
    EXPECT_TRUE(u.isNull());
  } else {
    EXPECT_EQ(u, c.unionRect) << u.description();
  }
  EXPECT_EQ(c.a.intersects(c.b), c.intersects);
  EXPECT_EQ(c.b.intersects(c.a), c.intersects);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, RectBinaryTest,
    testing::Values(BinaryCase{{0, 0, 10, 10}, {5, 5, 10, 10}, {5, 5, 5, 5}, {0, 0, 15, 15}, true},
                    BinaryCase{{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, {0, 0, 10, 10}, true},
                    BinaryCase{{0, 0, 10, 10}, {20, 20, 5, 5}, Rect::null(), {0, 0, 25, 25}, false},
                    // Edges that only touch meet in a line, which holds no area.
                    BinaryCase{{0, 0, 10, 10}, {10, 0, 10, 10}, {10, 0, 0, 10}, {0, 0, 20, 10}, false},
                    // Negative sizes are standardised first.
                    BinaryCase{{10, 10, -10, -10}, {5, 5, 10, 10}, {5, 5, 5, 5}, {0, 0, 15, 15}, true},
                    // A null rect meets nothing and leaves a union unchanged.
                    BinaryCase{{0, 0, 10, 10}, Rect::null(), Rect::null(), {0, 0, 10, 10}, false},
                    BinaryCase{Rect::null(), Rect::null(), Rect::null(), Rect::null(), false},
                    // A zero rect is not null: it takes part in a union.
                    BinaryCase{{0, 0, 0, 0}, {5, 5, 5, 5}, Rect::null(), {0, 0, 10, 10}, false}));

struct ContainsCase {
  Rect rect;
  Point point;
  bool contains;
};

class RectContainsPointTest : public testing::TestWithParam<ContainsCase> {};

TEST_P(RectContainsPointTest, IsHalfOpen) {
  EXPECT_EQ(GetParam().rect.contains(GetParam().point), GetParam().contains);
}

INSTANTIATE_TEST_SUITE_P(Points, RectContainsPointTest,
                         testing::Values(ContainsCase{{0, 0, 10, 10}, {0, 0}, true},
                                         ContainsCase{{0, 0, 10, 10}, {9.99, 9.99}, true},
                                         ContainsCase{{0, 0, 10, 10}, {10, 5}, false},
                                         ContainsCase{{0, 0, 10, 10}, {5, 10}, false},
                                         ContainsCase{{0, 0, 10, 10}, {-0.01, 5}, false},
                                         ContainsCase{{10, 10, -10, -10}, {5, 5}, true},
                                         ContainsCase{{3, 3, 0, 0}, {3, 3}, false},
                                         ContainsCase{Rect::null(), {0, 0}, false}));

TEST(RectTest, ContainsARectWithinItsEdges) {
  const Rect r(0, 0, 10, 10);
  EXPECT_TRUE(r.contains(Rect(0, 0, 10, 10)));
  EXPECT_TRUE(r.contains(Rect(2, 2, 3, 3)));
  EXPECT_FALSE(r.contains(Rect(8, 8, 3, 3)));
  EXPECT_TRUE(r.contains(Rect(10, 10, -3, -3)));
  EXPECT_FALSE(r.contains(Rect::null()));
  EXPECT_FALSE(Rect::null().contains(r));
}

struct UnaryCase {
  const char* name;
  Rect (*op)(const Rect&);
  Rect in;
  Rect out;  // Rect::null() when the result must be null
};

class RectUnaryTest : public testing::TestWithParam<UnaryCase> {};

TEST_P(RectUnaryTest, Transforms) {
  const UnaryCase& c = GetParam();
  const Rect got = c.op(c.in);
  if (c.out.isNull()) {
    EXPECT_TRUE(got.isNull()) << c.name << " " << got.description();
  } else {
    EXPECT_EQ(got, c.out) << c.name << " " << got.description();
  }
}

Rect inset2(const Rect& r) {
  return r.insetBy(2, 3);
}
Rect outset(const Rect& r) {
  return r.insetBy(-1, -1);
}
Rect offset(const Rect& r) {
  return r.offsetBy(5, -5);
}
Rect integral(const Rect& r) {
  return r.integral();
}

INSTANTIATE_TEST_SUITE_P(
    Ops, RectUnaryTest,
    testing::Values(UnaryCase{"inset", inset2, {0, 0, 10, 10}, {2, 3, 6, 4}},
                    UnaryCase{"inset to exactly nothing", inset2, {0, 0, 4, 6}, {2, 3, 0, 0}},
                    UnaryCase{"inset past nothing", inset2, {0, 0, 3, 10}, Rect::null()},
                    UnaryCase{"inset standardises", inset2, {10, 10, -10, -10}, {2, 3, 6, 4}},
                    UnaryCase{"outset", outset, {0, 0, 10, 10}, {-1, -1, 12, 12}},
                    UnaryCase{"inset of null", inset2, Rect::null(), Rect::null()},
                    UnaryCase{"offset", offset, {1, 1, 2, 2}, {6, -4, 2, 2}},
                    UnaryCase{"offset standardises", offset, {3, 3, -2, -2}, {6, -4, 2, 2}},
                    UnaryCase{"offset of null", offset, Rect::null(), Rect::null()},
                    UnaryCase{"integral grows outwards", integral, {0.5, 1.2, 2, 2.5}, {0, 1, 3, 3}},
                    UnaryCase{"integral negative", integral, {-0.5, -1.5, 1, 1}, {-1, -2, 2, 2}},
                    UnaryCase{"integral whole", integral, {1, 2, 3, 4}, {1, 2, 3, 4}},
                    UnaryCase{"integral of null", integral, Rect::null(), Rect::null()}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST(RectTest, EmptinessAndNull) {
  EXPECT_TRUE(Rect::null().isNull());
  EXPECT_TRUE(Rect::null().isEmpty());
  EXPECT_FALSE(Rect::zero().isNull());
  EXPECT_TRUE(Rect::zero().isEmpty());
  EXPECT_TRUE(Rect(0, 0, 10, 0).isEmpty());
  EXPECT_FALSE(Rect(0, 0, -1, -1).isEmpty());
}

TEST(RectTest, DividesFromEachEdge) {
  const Rect r(0, 0, 10, 20);
  auto d = r.divided(3, RectEdge::minX);
  EXPECT_EQ(d.slice, Rect(0, 0, 3, 20));
  EXPECT_EQ(d.remainder, Rect(3, 0, 7, 20));
  d = r.divided(3, RectEdge::maxY);
  EXPECT_EQ(d.slice, Rect(0, 17, 10, 3));
  EXPECT_EQ(d.remainder, Rect(0, 0, 10, 17));
  // An amount beyond the rect takes it all.
  d = r.divided(50, RectEdge::maxX);
  EXPECT_EQ(d.slice, Rect(0, 0, 10, 20));
  EXPECT_EQ(d.remainder, Rect(0, 0, 0, 20));
}

}  // namespace
}  // namespace pf
