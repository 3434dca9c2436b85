#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <numbers>

namespace pf {
namespace graphics_context_test {

// Draws on a 40x40 point canvas at scale 2 and reads pixels back by point.
class GraphicsContextTest : public testing::Test {
 protected:
  GraphicsContextTest() : bitmap_(Bitmap::create(80, 80)), context_(bitmap_, 2) {}

  Pixel at(double x, double y) {
    context_.bitmap();
    return bitmap_->pixel(static_cast<int>(x * 2), static_cast<int>(y * 2));
  }
  void expectColor(double x, double y, Pixel want, int tolerance = 2) {
    const Pixel got = at(x, y);
    EXPECT_NEAR(got.red, want.red, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.green, want.green, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.blue, want.blue, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.alpha, want.alpha, tolerance) << "at " << x << "," << y;
  }

  std::shared_ptr<Bitmap> bitmap_;
  GraphicsContext context_;
};

constexpr Pixel kNone{0, 0, 0, 0}, kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255};

TEST_F(GraphicsContextTest, FillsInPointsAtTheScale) {
  context_.setFillColor(Color::red());
  context_.fillRect({10, 10, 10, 5});
  EXPECT_EQ(context_.size(), (Size{40, 40}));
  expectColor(10.1, 10.1, kRed);
  expectColor(19.9, 14.9, kRed);
  expectColor(20.1, 12, kNone);
  expectColor(12, 15.1, kNone);
  expectColor(9.9, 12, kNone);
}

TEST_F(GraphicsContextTest, ClipsAndRestoresTheClip) {
  context_.saveGState();
  context_.clip(Rect(0, 0, 20, 40));
  context_.setFillColor(Color::blue());
  context_.fillRect({0, 0, 40, 40});
  context_.restoreGState();
  expectColor(19, 5, kBlue);
  expectColor(21, 5, kNone);
  context_.setFillColor(Color::red());
  context_.fillRect({30, 0, 10, 10});
  expectColor(35, 5, kRed);
  EXPECT_EQ(context_.clipBoundingBox(), Rect(0, 0, 40, 40));
  // Colours are saved state too.
  context_.saveGState();
  context_.setFillColor(Color::white());
  context_.restoreGState();
  context_.fillRect({0, 30, 5, 5});
  expectColor(2, 32, kRed);
}

TEST_F(GraphicsContextTest, RoundedCornersLeaveTheCornerEmpty) {
  context_.setFillColor(Color::red());
  context_.fillPath(Path::withRoundedRect({0, 0, 40, 40}, 10));
  expectColor(0.5, 0.5, kNone);
  expectColor(39.5, 39.5, kNone);
  expectColor(20, 0.5, kRed);
  expectColor(0.5, 20, kRed);
  // Just inside the arc, on the diagonal: the arc's centre is (10,10), radius 10.
  expectColor(3.5, 3.5, kRed);
  expectColor(1.5, 1.5, kNone);
}

TEST_F(GraphicsContextTest, RoundsOnlyTheChosenCorners) {
  context_.setFillColor(Color::red());
  context_.fillPath(
      Path::withRoundedRect({0, 0, 40, 40}, kRectCornerTopLeft | kRectCornerBottomRight, {10, 10}));
  expectColor(0.5, 0.5, kNone);
  expectColor(39.5, 0.5, kRed);
  expectColor(0.5, 39.5, kRed);
  expectColor(39.5, 39.5, kNone);
}

TEST_F(GraphicsContextTest, LinearGradientRunsBetweenItsEnds) {
  const Gradient gradient({Color::black(), Color::white()});
  context_.drawLinearGradient(gradient, {10, 0}, {30, 0});
  // Without options nothing is painted outside the band.
  expectColor(5, 20, kNone);
  expectColor(35, 20, kNone);
  EXPECT_NEAR(at(20, 20).red, 128, 6);
  EXPECT_LT(at(11, 20).red, 20);
  EXPECT_GT(at(29, 20).red, 235);
  EXPECT_EQ(at(20, 20).alpha, 255);
}

TEST_F(GraphicsContextTest, GradientOptionsExtendPastTheEnds) {
  const Gradient gradient({Color::black(), Color::white()}, {0, 1});
  context_.drawLinearGradient(gradient, {10, 0}, {30, 0}, kGradientDrawsAfterEndLocation);
  expectColor(5, 20, kNone);
  expectColor(35, 20, kWhite);
  context_.drawLinearGradient(gradient, {10, 0}, {30, 0},
                              kGradientDrawsBeforeStartLocation | kGradientDrawsAfterEndLocation);
  expectColor(5, 20, {0, 0, 0, 255});
}

TEST_F(GraphicsContextTest, RadialGradientGrowsFromItsCentre) {
  const Gradient gradient({Color::red(), Color::blue()});
  context_.drawRadialGradient(gradient, {20, 20}, 0, {20, 20}, 20);
  EXPECT_GT(at(20, 20).red, 240);
  EXPECT_GT(at(20, 38).blue, 200);
  expectColor(1, 1, kNone);
}

TEST_F(GraphicsContextTest, RadialGradientOptionsExtendOneSideEach) {
  const Gradient gradient({Color::red(), Color::blue()});
  struct Case {
    unsigned options;
    Pixel centre, outside;
  };
  for (const Case& c :
       {Case{0, kNone, kNone}, Case{kGradientDrawsBeforeStartLocation, kRed, kNone},
        Case{kGradientDrawsAfterEndLocation, kNone, kBlue},
        Case{kGradientDrawsBeforeStartLocation | kGradientDrawsAfterEndLocation, kRed, kBlue}}) {
    context_.clearRect({0, 0, 40, 40});
    context_.drawRadialGradient(gradient, {20, 20}, 5, {20, 20}, 15, c.options);
    SCOPED_TRACE(c.options);
    expectColor(20, 20, c.centre);
    expectColor(1, 1, c.outside);
    // Between the circles the gradient runs whatever the options.
    EXPECT_GT(at(20, 30).alpha, 250);
  }
}

TEST_F(GraphicsContextTest, AlphaAndTransformsApplyToDrawing) {
  context_.setAlpha(0.5);
  context_.setFillColor(Color::red());
  context_.fillRect({0, 0, 10, 10});
  expectColor(5, 5, {255, 0, 0, 128}, 2);
  context_.setAlpha(1);
  context_.translate(20, 20);
  context_.rotate(std::numbers::pi / 2);
  // A 10x2 bar turned a quarter clockwise hangs down from (20,20).
  context_.fillRect({0, -1, 10, 2});
  expectColor(20, 28, kRed);
  expectColor(28, 20, kNone);
  const AffineTransform ctm = context_.ctm();
  EXPECT_NEAR(ctm.tx, 20, 1e-9);
  EXPECT_NEAR(ctm.b, 1, 1e-9);
}

TEST_F(GraphicsContextTest, ShadowFallsBelowTheShape) {
  context_.setShadow({0, 6}, 0, Color::black());
  context_.setFillColor(Color::red());
  context_.fillRect({10, 10, 10, 10});
  expectColor(15, 15, kRed);
  expectColor(15, 23, {0, 0, 0, 255});
  expectColor(15, 27, kNone);
  expectColor(15, 8, kNone);
}

TEST_F(GraphicsContextTest, BlurredShadowFadesOut) {
  context_.setShadow({0, 0}, 4, Color::black());
  context_.setFillColor(Color::white());
  context_.fillRect({10, 10, 20, 20});
  const int near = at(30.5, 20).alpha, far = at(34, 20).alpha;
  EXPECT_GT(near, far);
  EXPECT_GT(near, 40);
  EXPECT_EQ(at(39.5, 20).alpha, 0);
  expectColor(20, 20, kWhite);
}

// The blur of a shadow is reused while the shape's alpha and the blur stay the same; a stale blur
// would cast the previous shape's shadow, a missed one would blur every frame of a scrolled view.
TEST(GraphicsContextShadowReuseTest, SameShapeReusesItsBlurAnyOtherBlursAgain) {
  struct Case {
    const char* name;
    Rect rect;
    double blur;
    Color fill;
    bool blursAgain;
  };
  const Rect first{10, 10, 20, 20};
  const Case cases[] = {
      {"same shape, other colour (an opaque view scrolled)", first, 4, Color::red(), false},
      {"wider shape", {10, 10, 26, 20}, 4, Color::white(), true},
      {"other blur", first, 3, Color::white(), true},
  };
  auto render = [](const Rect& rect, double blur, const Color& fill) {
    auto bitmap = Bitmap::create(80, 80);
    GraphicsContext context(bitmap, 2);
    context.setShadow({0, 0}, blur, Color::black());
    context.setFillColor(fill);
    context.fillRect(rect);
    context.bitmap();
    return bitmap;
  };
  // Shadow alpha along a row through the middle, left of the shape and right of the widest one.
  auto shadowRow = [](const Bitmap& bitmap) {
    std::vector<int> alphas;
    for (int x = 0; x < 20; ++x) alphas.push_back(bitmap.pixel(x, 40).alpha);
    for (int x = 60; x < 80; ++x) alphas.push_back(bitmap.pixel(x, 40).alpha);
    return alphas;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto firstFrame = render(first, 4, Color::white());
    const std::uint64_t before = GraphicsContext::shadowBlurCount();
    const auto secondFrame = render(first, 4, Color::white());
    EXPECT_EQ(GraphicsContext::shadowBlurCount(), before) << "unchanged shape blurred again";
    EXPECT_EQ(shadowRow(*secondFrame), shadowRow(*firstFrame)) << "reused blur draws other pixels";

    const auto other = render(c.rect, c.blur, c.fill);
    EXPECT_EQ(GraphicsContext::shadowBlurCount() - before, c.blursAgain ? 1u : 0u);
    if (c.blursAgain) {
      EXPECT_NE(shadowRow(*other), shadowRow(*firstFrame)) << "the first shape's shadow was reused";
    } else {
      EXPECT_EQ(shadowRow(*other), shadowRow(*firstFrame));
    }
  }
}

// A path's shadow cast from its outline looks as the shadow of the filled path drawn in a layer and
// cleared inside the outline, pixel for pixel away from the outline's edge, without any offscreen
// picture.
TEST(GraphicsContextCastShadowTest, MatchesTheFilledPathsShadowOutsideTheOutline) {
  struct Case {
    const char* name;
    Path path;
    Size offset;
    double blur;
    double alpha;
    AffineTransform transform;
  };
  const Case cases[] = {
      {"square, blurred", Path::withRect({10, 10, 20, 20}), {0, 0}, 4, 1, {}},
      {"square, offset, sharp", Path::withRect({10, 10, 20, 20}), {3, 5}, 0, 1, {}},
      {"half alpha, moved and scaled", Path::withRect({4, 4, 12, 10}), {2, -2}, 2, 0.5,
       AffineTransform::makeTranslation(6, 5).scaled(1.5, 1.5)},
      {"rounded, blurred", Path::withRoundedRect({8, 6, 24, 26}, 6), {0, 3}, 3, 1, {}},
  };
  const Color shadow = Color::fromWhite(0, 0.5);
  auto canvas = [](const Case& c, const std::function<void(GraphicsContext&)>& paint) {
    auto bitmap = Bitmap::create(80, 80);
    GraphicsContext context(bitmap, 2);
    context.setFillColor(Color::white());
    context.fillRect({0, 0, 40, 40});
    context.concat(c.transform);
    context.setAlpha(c.alpha);
    paint(context);
    context.bitmap();
    return bitmap;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto layered = canvas(c, [&](GraphicsContext& context) {
      context.beginTransparencyLayer();
      context.setAlpha(1);
      context.setShadow(c.offset, c.blur, shadow);
      context.setFillColor(Color::black());
      context.fillPath(c.path);
      context.clearShadow();
      context.setBlendMode(BlendMode::clear);
      context.fillPath(c.path);
      context.endTransparencyLayer();
    });
    const std::uint64_t passes = GraphicsContext::offscreenPassCount();
    const auto cast = canvas(c, [&](GraphicsContext& context) {
      context.setShadow(c.offset, c.blur, shadow);
      context.castShadow(c.path);
    });
    EXPECT_EQ(GraphicsContext::offscreenPassCount(), passes);
    // The outline in pixels; pixels it crosses are anti-aliased differently and left out.
    Path pixels = c.path;
    pixels.apply(c.transform.concatenated(AffineTransform::makeScale(2, 2)));
    int compared = 0, shaded = 0;
    for (int y = 0; y < 80; ++y) {
      for (int x = 0; x < 80; ++x) {
        const int inside = pixels.contains({x + 0.0, y + 0.0}) + pixels.contains({x + 1.0, y + 0.0}) +
                           pixels.contains({x + 0.0, y + 1.0}) + pixels.contains({x + 1.0, y + 1.0});
        if (inside != 0 && inside != 4) continue;
        const Pixel want = layered->pixel(x, y), got = cast->pixel(x, y);
        ++compared;
        shaded += got.red < 250;
        ASSERT_NEAR(got.red, want.red, 2) << "at " << x << "," << y;
        ASSERT_NEAR(got.alpha, want.alpha, 2) << "at " << x << "," << y;
      }
    }
    EXPECT_GT(compared, 6000);
    EXPECT_GT(shaded, 100) << "no shadow drawn";
  }
}

// Where the outline covers every pixel its shadow could reach (a full-screen view), nothing is drawn
// and nothing is blurred; a settled outline is blurred once, another shape again.
TEST(GraphicsContextCastShadowTest, CoveredShadowCostsNothingAndSettledOneIsBlurredOnce) {
  auto cast = [](const Path& path) {
    auto bitmap = Bitmap::create(80, 80);
    GraphicsContext context(bitmap, 2);
    context.setFillColor(Color::white());
    context.fillRect({0, 0, 40, 40});
    context.setShadow({0, 2}, 10, Color::fromWhite(0, 0.5));
    context.castShadow(path);
    context.bitmap();
    return bitmap;
  };
  struct Case {
    const char* name;
    Path path;
    bool blurs;
  };
  const Case cases[] = {
      {"covers the canvas", Path::withRect({-5, -5, 50, 50}), false},
      {"covers the canvas exactly", Path::withRect({0, 0, 40, 40}), false},
      {"slid right, shadow on the left", Path::withRect({30, 0, 40, 40}), true},
      {"the same again", Path::withRect({30, 0, 40, 40}), false},
      {"moved by whole pixels, same shape", Path::withRect({31, 0, 40, 40}), false},
      {"moved further, the same where the shadow shows", Path::withRect({20, 0, 40, 40}), false},
      {"shorter", Path::withRect({30, 10, 40, 20}), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::uint64_t blurs = GraphicsContext::shadowBlurCount();
    const std::uint64_t passes = GraphicsContext::offscreenPassCount();
    const auto drawn = cast(c.path);
    EXPECT_EQ(GraphicsContext::shadowBlurCount() - blurs, c.blurs ? 1u : 0u);
    EXPECT_EQ(GraphicsContext::offscreenPassCount(), passes);
    const double left = c.path.boundingBox().minX();
    if (left <= 0) {
      for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(drawn->pixel(x, y), (Pixel{255, 255, 255, 255}));
    } else {
      EXPECT_LT(drawn->pixel(int(left - 1) * 2, 40).red, 230) << "no shadow left of the outline";
    }
  }
}

// With alpha or a shadow, shapes are composed offscreen in a box around them; nothing may be cut.
TEST_F(GraphicsContextTest, TranslucentStrokesKeepTheirMiterTips) {
  Path v;
  v.moveTo({5, 10});
  v.lineTo({20, 14});
  v.lineTo({35, 10});
  auto draw = [&](GraphicsContext& context, double alpha) {
    context.setAlpha(alpha);
    context.setStrokeColor(Color::blue());
    context.setLineWidth(6);
    context.setMiterLimit(10);
    context.strokePath(v);
  };
  auto opaque = Bitmap::create(80, 80);
  GraphicsContext reference(opaque, 2);
  draw(reference, 1);
  draw(context_, 0.5);
  reference.bitmap();
  int painted = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 80; ++x) {
      painted += opaque->pixel(x, y).alpha > 0;
      EXPECT_EQ(opaque->pixel(x, y).alpha > 0, at(x / 2.0, y / 2.0).alpha > 0) << x << "," << y;
    }
  EXPECT_GT(painted, 300);
}

TEST_F(GraphicsContextTest, StrokesWithDashesAndWidth) {
  context_.setStrokeColor(Color::blue());
  context_.setLineWidth(4);
  context_.setLineDash(0, {5, 5});
  Path line;
  line.moveTo({0, 20});
  line.lineTo({40, 20});
  context_.strokePath(line);
  expectColor(2.5, 20, kBlue);
  expectColor(7.5, 20, kNone);
  expectColor(12.5, 21.5, kBlue);
  expectColor(12.5, 22.5, kNone);
}

TEST_F(GraphicsContextTest, ClearRectAndCopyBlendReplacePixels) {
  context_.setFillColor(Color::red());
  context_.fillRect({0, 0, 40, 40});
  context_.clearRect({0, 0, 10, 10});
  expectColor(5, 5, kNone);
  context_.setBlendMode(BlendMode::copy);
  context_.setFillColor(Color::blue().withAlpha(0.5));
  context_.fillRect({20, 20, 10, 10});
  expectColor(25, 25, {0, 0, 255, 128});
  // The copy stays inside the shape.
  expectColor(35, 35, kRed);
}

TEST_F(GraphicsContextTest, TransparencyLayerTakesAlphaAsAWhole) {
  context_.setAlpha(0.5);
  context_.beginTransparencyLayer();
  context_.setFillColor(Color::red());
  context_.fillRect({0, 0, 20, 20});
  context_.fillRect({10, 10, 20, 20});
  context_.endTransparencyLayer();
  // The overlap is not darker than the rest: the layer was composed first.
  expectColor(5, 5, {255, 0, 0, 128});
  expectColor(15, 15, {255, 0, 0, 128});
}

TEST_F(GraphicsContextTest, BoundedTransparencyLayerCutsOutsideAndCastsItsShadow) {
  context_.setShadow({0, 10}, 0, Color::black());
  context_.beginTransparencyLayer(Rect(0, 0, 20, 20));
  context_.setFillColor(Color::red());
  context_.fillRect({5, 5, 30, 10});
  context_.endTransparencyLayer();
  expectColor(10, 10, kRed);
  expectColor(25, 10, kNone);  // outside the layer's rect
  expectColor(10, 22, {0, 0, 0, 255});
  expectColor(25, 22, kNone);
}

TEST_F(GraphicsContextTest, PatternColourTilesItsImage) {
  auto tile = Bitmap::create(2, 2);
  tile->setPixel(0, 0, kRed);
  tile->setPixel(1, 1, kRed);
  context_.setFillColor(Color::fromPatternImage(Image::withBitmap(tile, 2)));
  context_.fillRect({0, 0, 4, 4});
  expectColor(0.25, 0.25, kRed);
  expectColor(0.75, 0.25, kNone);
  expectColor(2.25, 2.25, kRed);
}

TEST_F(GraphicsContextTest, ResizableImagesKeepTheirCaps) {
  // A 6x6 picture: a red 2-point frame around a blue 2x2 middle.
  auto pixels = Bitmap::create(6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) pixels->setPixel(x, y, (x >= 2 && x < 4 && y >= 2 && y < 4) ? kBlue : kRed);
  const auto image = Image::withBitmap(pixels)->resizable({2, 2, 2, 2}, ImageResizingMode::stretch);
  image->draw(context_, Rect(0, 0, 40, 20));
  expectColor(1, 10, kRed);
  expectColor(3, 10, kBlue);
  expectColor(37, 10, kBlue);
  expectColor(39, 10, kRed);
  expectColor(20, 1, kRed);
  expectColor(20, 19, kRed);
  expectColor(20, 10, kBlue);
}

TEST_F(GraphicsContextTest, TiledCapsRepeatTheMiddle) {
  // Red caps around a middle of two blue and two white pixels; the middle repeats at its own size.
  auto pixels = Bitmap::create(6, 1);
  const Pixel row[] = {kRed, kBlue, kBlue, kWhite, kWhite, kRed};
  for (int x = 0; x < 6; ++x) pixels->setPixel(x, 0, row[x]);
  const auto image = Image::withBitmap(pixels)->resizable({0, 1, 0, 1}, ImageResizingMode::tile);
  image->draw(context_, Rect(0, 0, 40, 4));
  expectColor(0.25, 2, kRed);
  expectColor(2, 2, kBlue);
  expectColor(4, 2, kWhite);
  expectColor(6, 2, kBlue);  // stretched, the middle would still be blue up to 20
  expectColor(8, 2, kWhite);
  expectColor(34, 2, kBlue);
  expectColor(39.75, 2, kRed);
}

TEST_F(GraphicsContextTest, ImagesDrawInTheirContentMode) {
  auto pixels = Bitmap::create(2, 1);
  pixels->setPixel(0, 0, kRed);
  pixels->setPixel(1, 0, kBlue);
  const auto image = Image::withBitmap(pixels);
  image->draw(context_, Rect(0, 0, 40, 40), ContentMode::scaleAspectFit);
  // Fitted: 40x20 centred vertically.
  expectColor(5, 5, kNone);
  expectColor(5, 20, kRed);
  expectColor(35, 20, kBlue);
  expectColor(5, 35, kNone);
}

struct ContentCase {
  ContentMode mode;
  Rect expected;
};

class ContentRectTest : public testing::TestWithParam<ContentCase> {};

TEST_P(ContentRectTest, PlacesContentInBounds) {
  EXPECT_EQ(contentRect(GetParam().mode, {20, 10}, Rect(0, 0, 100, 50)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, ContentRectTest,
                         testing::Values(ContentCase{ContentMode::scaleToFill, {0, 0, 100, 50}},
                                         ContentCase{ContentMode::scaleAspectFit, {0, 0, 100, 50}},
                                         ContentCase{ContentMode::center, {40, 20, 20, 10}},
                                         ContentCase{ContentMode::top, {40, 0, 20, 10}},
                                         ContentCase{ContentMode::bottom, {40, 40, 20, 10}},
                                         ContentCase{ContentMode::left, {0, 20, 20, 10}},
                                         ContentCase{ContentMode::right, {80, 20, 20, 10}},
                                         ContentCase{ContentMode::topLeft, {0, 0, 20, 10}},
                                         ContentCase{ContentMode::bottomRight, {80, 40, 20, 10}}));

TEST(ContentRectTest, AspectModesKeepProportions) {
  EXPECT_EQ(contentRect(ContentMode::scaleAspectFit, {20, 10}, Rect(0, 0, 100, 100)), Rect(0, 25, 100, 50));
  EXPECT_EQ(contentRect(ContentMode::scaleAspectFill, {20, 10}, Rect(0, 0, 100, 100)),
            Rect(-50, 0, 200, 100));
  EXPECT_EQ(contentRect(ContentMode::scaleAspectFit, {0, 0}, Rect(0, 0, 10, 10)), Rect(0, 0, 10, 10));
}

}  // namespace graphics_context_test
}  // namespace pf
