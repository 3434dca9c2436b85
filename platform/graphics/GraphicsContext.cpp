#include "platform/graphics/GraphicsContext.h"

#include "platform/graphics/CairoHandle.h"
#include "platform/graphics/CairoPath.h"
#include "platform/graphics/Image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>

namespace pf {

namespace {

struct Shadow {
  Size offset;
  double blur = 0;
  Color color = Color::clear();
  bool visible() const { return color.rgba() && color.rgba()->alpha > 0; }
};

struct State {
  Color fill = Color::black();
  Color stroke = Color::black();
  double alpha = 1;
  Shadow shadow;
  BlendMode blend = BlendMode::normal;
  // Alpha of the picture masks clipped to so far, in device pixels; null when none.
  std::shared_ptr<cairo_surface_t> mask;
};

cairo_operator_t operatorFor(BlendMode mode) {
  switch (mode) {
    case BlendMode::normal:
      return CAIRO_OPERATOR_OVER;
    case BlendMode::multiply:
      return CAIRO_OPERATOR_MULTIPLY;
    case BlendMode::screen:
      return CAIRO_OPERATOR_SCREEN;
    case BlendMode::overlay:
      return CAIRO_OPERATOR_OVERLAY;
    case BlendMode::darken:
      return CAIRO_OPERATOR_DARKEN;
    case BlendMode::lighten:
      return CAIRO_OPERATOR_LIGHTEN;
    case BlendMode::colorBurn:
      return CAIRO_OPERATOR_COLOR_BURN;
    case BlendMode::clear:
      return CAIRO_OPERATOR_CLEAR;
    case BlendMode::copy:
      return CAIRO_OPERATOR_SOURCE;
    case BlendMode::sourceIn:
      return CAIRO_OPERATOR_IN;
    case BlendMode::sourceOut:
      return CAIRO_OPERATOR_OUT;
    case BlendMode::sourceAtop:
      return CAIRO_OPERATOR_ATOP;
    case BlendMode::destinationOver:
      return CAIRO_OPERATOR_DEST_OVER;
    case BlendMode::destinationIn:
      return CAIRO_OPERATOR_DEST_IN;
    case BlendMode::destinationOut:
      return CAIRO_OPERATOR_DEST_OUT;
    case BlendMode::destinationAtop:
      return CAIRO_OPERATOR_DEST_ATOP;
    case BlendMode::xorMode:
      return CAIRO_OPERATOR_XOR;
    case BlendMode::plusLighter:
      return CAIRO_OPERATOR_ADD;
  }
  return CAIRO_OPERATOR_OVER;
}

// Operators that change the destination outside the shape unless the shape is the clip.
bool isUnbounded(cairo_operator_t op) {
  return op == CAIRO_OPERATOR_SOURCE || op == CAIRO_OPERATOR_IN || op == CAIRO_OPERATOR_OUT ||
         op == CAIRO_OPERATOR_DEST_IN || op == CAIRO_OPERATOR_DEST_ATOP;
}

void setSource(cairo_t* cr, const Color& color);

// Three box blurs of one line in place approach a Gaussian.
void boxBlurLine(std::uint8_t* line, int count, std::ptrdiff_t step, int radius, std::vector<int>& scratch) {
  scratch.resize(static_cast<std::size_t>(count));
  for (int pass = 0; pass < 3; ++pass) {
    int sum = 0;
    const int window = 2 * radius + 1;
    for (int i = -radius; i <= radius; ++i)
      if (i >= 0 && i < count) sum += line[i * step];
    for (int i = 0; i < count; ++i) {
      scratch[static_cast<std::size_t>(i)] = sum / window;
      const int out = i - radius, in = i + radius + 1;
      if (out >= 0) sum -= line[out * step];
      if (in < count) sum += line[in * step];
    }
    for (int i = 0; i < count; ++i)
      line[i * step] = static_cast<std::uint8_t>(scratch[static_cast<std::size_t>(i)]);
  }
}

// Blurs an alpha mask in place, rows then columns; counted, since the blur is the costly part.
thread_local std::uint64_t shadowMaskBlurs = 0;
// Groups pushed: each is an offscreen picture the size of its clip, filled and composed again.
thread_local std::uint64_t offscreenPasses = 0;

void pushOffscreenGroup(cairo_t* cr) {
  ++offscreenPasses;
  cairo_push_group(cr);
}

void blurShadowMask(std::vector<std::uint8_t>& mask, int width, int height, int stride, int radius) {
  if (radius <= 0) return;
  ++shadowMaskBlurs;
  std::vector<int> scratch;
  std::uint8_t* data = mask.data();
  for (int y = 0; y < height; ++y) boxBlurLine(data + std::ptrdiff_t(stride) * y, width, 1, radius, scratch);
  for (int x = 0; x < width; ++x) boxBlurLine(data + x, height, stride, radius, scratch);
}

// Blurred shadow masks of the last few shapes. A view's shadow is the same from frame to frame while
// its outline is (scrolling an opaque view changes its colours, not its alpha), so the blur, the
// costly part, runs once per outline and radius instead of every frame.
struct ShadowMaskCacheEntry {
  int width = 0, height = 0, stride = 0, radius = 0;
  std::vector<std::uint8_t> ink;      // the alpha the shadow is cast from, padded for the blur
  std::vector<std::uint8_t> blurred;  // what is painted
};

thread_local std::vector<std::shared_ptr<const ShadowMaskCacheEntry>> shadowMaskCache;
constexpr std::size_t kShadowMaskCacheSize = 4;

// Moves the found entry to the front; a new one goes there too and the oldest beyond the size leaves.
template <typename Entry, typename Same, typename Make>
std::shared_ptr<const Entry> cachedShadowMask(std::vector<std::shared_ptr<const Entry>>& cache, Same same,
                                              Make make) {
  for (auto it = cache.begin(); it != cache.end(); ++it) {
    if (!same(**it)) continue;
    auto hit = *it;
    cache.erase(it);
    cache.insert(cache.begin(), hit);
    return hit;
  }
  auto made = std::make_shared<const Entry>(make());
  cache.insert(cache.begin(), made);
  if (cache.size() > kShadowMaskCacheSize) cache.pop_back();
  return made;
}

std::shared_ptr<const ShadowMaskCacheEntry> blurredShadowMask(ShadowMaskCacheEntry wanted) {
  return cachedShadowMask(
      shadowMaskCache,
      [&](const ShadowMaskCacheEntry& e) {
        return e.width == wanted.width && e.height == wanted.height && e.radius == wanted.radius &&
               e.ink == wanted.ink;
      },
      [&] {
        wanted.blurred = wanted.ink;
        blurShadowMask(wanted.blurred, wanted.width, wanted.height, wanted.stride, wanted.radius);
        return std::move(wanted);
      });
}

// The blurred masks of the last few outlines cast straight from a path, keyed by the outline in the
// mask's own pixels: a settled view's outline stays put, so neither filling nor blurring runs again.
struct PathShadowCacheEntry {
  Path outline;  // in the mask's pixels
  int width = 0, height = 0, stride = 0, radius = 0;
  std::vector<std::uint8_t> blurred;
};

thread_local std::vector<std::shared_ptr<const PathShadowCacheEntry>> pathShadowCache;

std::shared_ptr<const PathShadowCacheEntry> blurredPathMask(Path outline, int width, int height, int radius) {
  return cachedShadowMask(
      pathShadowCache,
      [&](const PathShadowCacheEntry& e) {
        return e.width == width && e.height == height && e.radius == radius && e.outline == outline;
      },
      [&] {
        PathShadowCacheEntry made{std::move(outline), width, height,
                                  cairo_format_stride_for_width(CAIRO_FORMAT_A8, width), radius, {}};
        made.blurred.assign(std::size_t(made.stride) * std::size_t(height), 0);
        cairo_surface_t* ink = cairo_image_surface_create_for_data(made.blurred.data(), CAIRO_FORMAT_A8, width,
                                                                   height, made.stride);
        cairo_t* fill = cairo_create(ink);
        addToCairo(fill, made.outline);
        cairo_fill(fill);
        cairo_destroy(fill);
        cairo_surface_flush(ink);
        cairo_surface_destroy(ink);
        blurShadowMask(made.blurred, width, height, made.stride, radius);
        return made;
      });
}

// Whole device pixels: [x1, x2) by [y1, y2).
struct PixelBox {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  static PixelBox around(double x1, double y1, double x2, double y2) {
    return {int(std::floor(x1)), int(std::floor(y1)), int(std::ceil(x2)), int(std::ceil(y2))};
  }
  bool isEmpty() const { return x2 <= x1 || y2 <= y1; }
  PixelBox grownBy(int d) const { return {x1 - d, y1 - d, x2 + d, y2 + d}; }
  PixelBox intersection(const PixelBox& o) const {
    return {std::max(x1, o.x1), std::max(y1, o.y1), std::min(x2, o.x2), std::min(y2, o.y2)};
  }
  // The box around the pixels not wholly inside the rect: empty when the rect covers this box, one
  // strip when it spans the box's width or height.
  PixelBox outside(const Rect& rect) const {
    const int left = int(std::ceil(rect.minX())), top = int(std::ceil(rect.minY()));
    const int right = int(std::floor(rect.maxX())), bottom = int(std::floor(rect.maxY()));
    PixelBox rest = *this;
    if (left <= x1 && right >= x2) {
      if (top <= y1) rest.y1 = std::max(y1, bottom);
      if (bottom >= y2) rest.y2 = std::min(y2, top);
    }
    if (top <= y1 && bottom >= y2) {
      if (left <= x1) rest.x1 = std::max(x1, right);
      if (right >= x2) rest.x2 = std::min(x2, left);
    }
    return rest;
  }
};

// The path moved by the transform, point by point of each element: unlike Path::apply, the unused
// points stay zero, so two outlines of the same shape compare equal wherever they were moved from.
Path transformedOutline(const Path& path, const AffineTransform& t) {
  Path out;
  for (const Path::Element& e : path.elements()) {
    const auto& p = e.points;
    switch (e.type) {
      case Path::ElementType::moveTo:
        out.moveTo(t.apply(p[0]));
        break;
      case Path::ElementType::lineTo:
        out.lineTo(t.apply(p[0]));
        break;
      case Path::ElementType::curveTo:
        out.curveTo(t.apply(p[0]), t.apply(p[1]), t.apply(p[2]));
        break;
      case Path::ElementType::closeSubpath:
        out.closeSubpath();
        break;
    }
  }
  return out;
}

// The rect a path outlines when it is one closed axis-aligned rectangle.
std::optional<Rect> rectangleOf(const Path& path) {
  const auto& e = path.elements();
  if (e.size() != 5 || e[0].type != Path::ElementType::moveTo ||
      e[4].type != Path::ElementType::closeSubpath)
    return std::nullopt;
  for (int i = 1; i < 4; ++i)
    if (e[std::size_t(i)].type != Path::ElementType::lineTo) return std::nullopt;
  const Point p0 = e[0].points[0], p1 = e[1].points[0], p2 = e[2].points[0], p3 = e[3].points[0];
  const bool across = p0.y == p1.y && p1.x == p2.x && p2.y == p3.y && p3.x == p0.x;
  const bool down = p0.x == p1.x && p1.y == p2.y && p2.x == p3.x && p3.y == p0.y;
  if (!across && !down) return std::nullopt;
  return Rect(std::min(p0.x, p2.x), std::min(p0.y, p2.y), std::abs(p2.x - p0.x), std::abs(p2.y - p0.y));
}

}  // namespace

struct GraphicsContext::Impl {
  std::shared_ptr<Bitmap> bitmap;
  double scale;
  cairo_surface_t* surface;
  cairo_t* cr;
  State state;
  std::vector<State> saved;
  struct Layer {
    State state;
    std::optional<Rect> bounds;
  };
  std::vector<Layer> layers;

  // Runs one drawing operation with the state's blend mode, alpha and shadow.
  // `bounds` (user space), when known, holds everything the operation paints: the offscreen
  // picture for alpha and shadow then covers only that, not the whole clip.
  void draw(const std::function<void(cairo_t*)>& paint, const std::optional<Rect>& bounds = std::nullopt) {
    if (state.mask) {
      drawMasked(paint, bounds);
      return;
    }
    cairo_set_operator(cr, operatorFor(state.blend));
    if (state.alpha >= 1 && !state.shadow.visible()) {
      paint(cr);
      return;
    }
    cairo_save(cr);
    if (bounds && !bounds->isNull()) {
      const Rect b = bounds->insetBy(-1, -1);
      cairo_rectangle(cr, b.minX(), b.minY(), b.width(), b.height());
      cairo_clip(cr);
    }
    pushOffscreenGroup(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    paint(cr);
    cairo_pattern_t* group = cairo_pop_group(cr);
    cairo_restore(cr);
    if (state.shadow.visible()) drawShadow(group);
    cairo_set_source(cr, group);
    cairo_paint_with_alpha(cr, std::clamp(state.alpha, 0.0, 1.0));
    cairo_pattern_destroy(group);
  }

  // Draws unmasked into a group, then puts the group down through the mask with the blend mode.
  void drawMasked(const std::function<void(cairo_t*)>& paint, const std::optional<Rect>& bounds) {
    const State kept = state;
    state.mask = nullptr;
    state.blend = BlendMode::normal;
    pushOffscreenGroup(cr);
    draw(paint, bounds);
    cairo_pattern_t* group = cairo_pop_group(cr);
    state = kept;
    cairo_save(cr);
    cairo_set_operator(cr, operatorFor(state.blend));
    cairo_set_source(cr, group);
    cairo_identity_matrix(cr);
    cairo_mask_surface(cr, state.mask.get(), 0, 0);
    cairo_restore(cr);
    cairo_pattern_destroy(group);
  }

  // Paints the blurred, offset alpha of a group in the shadow colour, in device pixels.
  void drawShadow(cairo_pattern_t* group) {
    cairo_surface_t* groupSurface = nullptr;
    if (cairo_pattern_get_surface(group, &groupSurface) != CAIRO_STATUS_SUCCESS) return;
    cairo_surface_flush(groupSurface);
    cairo_surface_t* image = cairo_surface_map_to_image(groupSurface, nullptr);
    const std::uint8_t* src = cairo_image_surface_get_data(image);
    const int srcStride = cairo_image_surface_get_stride(image);
    if (!src || cairo_image_surface_get_format(image) != CAIRO_FORMAT_ARGB32) {
      cairo_surface_unmap_image(groupSurface, image);
      return;
    }
    auto alphaAt = [&](int x, int y) {
      return static_cast<std::uint8_t>(
          reinterpret_cast<const std::uint32_t*>(src + std::ptrdiff_t(srcStride) * y)[x] >> 24);
    };
    // Blur only the box that holds ink: groups often span the whole clip around a small shape.
    const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    int x1 = w, y1 = h, x2 = -1, y2 = -1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (alphaAt(x, y)) {
          x1 = std::min(x1, x), x2 = std::max(x2, x);
          y1 = std::min(y1, y), y2 = std::max(y2, y);
        }
    if (x2 < 0) {
      cairo_surface_unmap_image(groupSurface, image);
      return;
    }
    double dox = 0, doy = 0;
    cairo_surface_get_device_offset(groupSurface, &dox, &doy);
    const double sigmaWidth = std::sqrt(std::pow(state.shadow.blur * scale, 2) + 1);
    const int radius = static_cast<int>(std::lround((sigmaWidth - 1) / 2));
    const int pad = 3 * radius + 1;
    const int mw = x2 - x1 + 1 + 2 * pad, mh = y2 - y1 + 1 + 2 * pad;
    ShadowMaskCacheEntry wanted;
    wanted.width = mw, wanted.height = mh, wanted.radius = radius;
    wanted.stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, mw);
    wanted.ink.assign(std::size_t(wanted.stride) * std::size_t(mh), 0);
    for (int y = y1; y <= y2; ++y) {
      std::uint8_t* out = wanted.ink.data() + std::ptrdiff_t(wanted.stride) * (y - y1 + pad) + pad;
      for (int x = x1; x <= x2; ++x) out[x - x1] = alphaAt(x, y);
    }
    const auto blurred = blurredShadowMask(std::move(wanted));
    cairo_surface_t* mask = cairo_image_surface_create_for_data(
        const_cast<std::uint8_t*>(blurred->blurred.data()), CAIRO_FORMAT_A8, mw, mh, blurred->stride);
    cairo_surface_unmap_image(groupSurface, image);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    setSource(cr, state.shadow.color);
    cairo_mask_surface(cr, mask, x1 - dox - pad + state.shadow.offset.width * scale,
                       y1 - doy - pad + state.shadow.offset.height * scale);
    cairo_restore(cr);
    cairo_surface_destroy(mask);
  }

  // The shadow a filled path casts, outside the path only, from the outline itself: the part that
  // can reach the clip is filled into a mask of its own size and blurred (both kept while the
  // outline stays put), and nothing is drawn when the path covers every pixel the shadow could reach.
  void castShadow(const Path& path) {
    if (!state.shadow.visible() || path.isEmpty()) return;
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    const Path outline = transformedOutline(path, {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0});
    const Rect box = outline.boundingBox();
    if (box.isNull()) return;
    const double sigmaWidth = std::sqrt(std::pow(state.shadow.blur * scale, 2) + 1);
    const int radius = static_cast<int>(std::lround((sigmaWidth - 1) / 2));
    const int pad = 3 * radius + 1;
    const double dx = state.shadow.offset.width * scale, dy = state.shadow.offset.height * scale;
    // Where the shadow may land on the clip, in device pixels.
    const PixelBox clip = deviceClip();
    const PixelBox reach =
        PixelBox::around(box.minX() + dx, box.minY() + dy, box.maxX() + dx, box.maxY() + dy).grownBy(pad);
    PixelBox shown = reach.intersection(clip);
    if (const auto rect = rectangleOf(outline)) shown = shown.outside(*rect);
    if (shown.isEmpty()) return;
    // The part of the outline whose blur reaches what is shown.
    const PixelBox source =
        PixelBox::around(shown.x1 - dx, shown.y1 - dy, shown.x2 - dx, shown.y2 - dy)
            .grownBy(pad)
            .intersection(PixelBox::around(box.minX(), box.minY(), box.maxX(), box.maxY()).grownBy(pad));
    if (source.isEmpty()) return;
    const int width = source.x2 - source.x1, height = source.y2 - source.y1;
    const auto blurred = blurredPathMask(
        transformedOutline(outline, AffineTransform::makeTranslation(-source.x1, -source.y1)), width, height, radius);
    cairo_surface_t* mask = cairo_image_surface_create_for_data(const_cast<std::uint8_t*>(blurred->blurred.data()),
                                                                CAIRO_FORMAT_A8, width, height, blurred->stride);
    const Color color = state.shadow.color.withAlpha(state.shadow.color.alpha() * std::clamp(state.alpha, 0.0, 1.0));
    const State kept = state;
    state.alpha = 1;
    state.shadow = {};
    draw([&](cairo_t* target) {
      cairo_save(target);
      cairo_identity_matrix(target);
      cairo_rectangle(target, shown.x1, shown.y1, shown.x2 - shown.x1, shown.y2 - shown.y1);
      cairo_clip(target);
      // Outside the outline: the shown box with the outline cut out of it.
      cairo_translate(target, source.x1, source.y1);
      addToCairo(target, blurred->outline);
      cairo_identity_matrix(target);
      cairo_rectangle(target, shown.x1, shown.y1, shown.x2 - shown.x1, shown.y2 - shown.y1);
      cairo_set_fill_rule(target, CAIRO_FILL_RULE_EVEN_ODD);
      cairo_clip(target);
      setSource(target, color);
      cairo_mask_surface(target, mask, source.x1 + dx, source.y1 + dy);
      cairo_restore(target);
    });
    state = kept;
    cairo_surface_destroy(mask);
  }

  // The clip's box in device pixels.
  PixelBox deviceClip() const {
    cairo_save(cr);
    cairo_identity_matrix(cr);
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    cairo_restore(cr);
    return PixelBox::around(x1, y1, x2, y2);
  }
};

namespace {

void setSource(cairo_t* cr, const Color& color) {
  if (const auto c = color.rgba()) {
    cairo_set_source_rgba(cr, c->red, c->green, c->blue, c->alpha);
    return;
  }
  const auto& image = color.patternImage();
  if (color.model() != ColorSpaceModel::pattern || !image) {
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    return;
  }
  cairo_surface_t* surface = cairoSurfaceFor(*image->bitmap());
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, image->scale(), image->scale());
  cairo_pattern_set_matrix(pattern, &m);
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(surface);
}

}  // namespace

cairo_surface_t* cairoSurfaceFor(const Bitmap& bitmap) {
  return cairo_image_surface_create_for_data(const_cast<std::uint8_t*>(bitmap.data()), CAIRO_FORMAT_ARGB32,
                                             bitmap.width(), bitmap.height(), bitmap.stride());
}

std::uint64_t GraphicsContext::shadowBlurCount() {
  return shadowMaskBlurs;
}

std::uint64_t GraphicsContext::offscreenPassCount() {
  return offscreenPasses;
}

cairo_t* cairoHandle(GraphicsContext& context) {
  return context.impl_->cr;
}

void drawWithState(GraphicsContext& context, const std::function<void(cairo_t*)>& paint,
                   const std::optional<Rect>& bounds) {
  context.impl_->draw(paint, bounds);
}

GraphicsContext::GraphicsContext(std::shared_ptr<Bitmap> target, double scale) : impl_(new Impl) {
  if (!target) throw std::invalid_argument("a drawing context needs a bitmap to draw into");
  impl_->bitmap = std::move(target);
  impl_->scale = scale > 0 ? scale : 1;
  impl_->surface = cairoSurfaceFor(*impl_->bitmap);
  impl_->cr = cairo_create(impl_->surface);
  cairo_scale(impl_->cr, impl_->scale, impl_->scale);
}

GraphicsContext::~GraphicsContext() {
  cairo_destroy(impl_->cr);
  cairo_surface_destroy(impl_->surface);
}

const std::shared_ptr<Bitmap>& GraphicsContext::bitmap() const {
  cairo_surface_flush(impl_->surface);
  return impl_->bitmap;
}

double GraphicsContext::scale() const {
  return impl_->scale;
}

Size GraphicsContext::size() const {
  return {impl_->bitmap->width() / impl_->scale, impl_->bitmap->height() / impl_->scale};
}

void GraphicsContext::saveGState() {
  cairo_save(impl_->cr);
  impl_->saved.push_back(impl_->state);
}

void GraphicsContext::restoreGState() {
  if (impl_->saved.empty()) return;
  cairo_restore(impl_->cr);
  impl_->state = impl_->saved.back();
  impl_->saved.pop_back();
}

void GraphicsContext::translate(double dx, double dy) {
  cairo_translate(impl_->cr, dx, dy);
}
void GraphicsContext::scaleBy(double sx, double sy) {
  cairo_scale(impl_->cr, sx, sy);
}
void GraphicsContext::rotate(double angle) {
  cairo_rotate(impl_->cr, angle);
}

void GraphicsContext::concat(const AffineTransform& t) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
  cairo_transform(impl_->cr, &m);
}

AffineTransform GraphicsContext::ctm() const {
  cairo_matrix_t m;
  cairo_get_matrix(impl_->cr, &m);
  const AffineTransform device{m.xx, m.yx, m.xy, m.yy, m.x0, m.y0};
  return device.concatenated(AffineTransform::makeScale(1 / impl_->scale, 1 / impl_->scale));
}

void GraphicsContext::clip(const Rect& rect) {
  clip(Path::withRect(rect));
}

void GraphicsContext::clip(const Path& path, FillRule rule) {
  addToCairo(impl_->cr, path);
  cairo_set_fill_rule(impl_->cr,
                      rule == FillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  cairo_clip(impl_->cr);
}

void GraphicsContext::clipToMask(const Rect& rect, const Image& mask) {
  clip(rect);
  const Rect r = rect.standardized();
  const auto& pixels = mask.bitmap();
  if (!pixels || r.isEmpty()) return;
  cairo_surface_t* alpha =
      cairo_image_surface_create(CAIRO_FORMAT_A8, impl_->bitmap->width(), impl_->bitmap->height());
  cairo_t* m = cairo_create(alpha);
  cairo_matrix_t userToDevice;
  cairo_get_matrix(impl_->cr, &userToDevice);
  cairo_set_matrix(m, &userToDevice);
  cairo_translate(m, r.minX(), r.minY());
  cairo_scale(m, r.width() / pixels->width(), r.height() / pixels->height());
  cairo_surface_t* picture = cairoSurfaceFor(*pixels);
  cairo_set_source_surface(m, picture, 0, 0);
  cairo_paint(m);
  cairo_surface_destroy(picture);
  if (impl_->state.mask) {
    cairo_identity_matrix(m);
    cairo_set_operator(m, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_surface(m, impl_->state.mask.get(), 0, 0);
    cairo_paint(m);
  }
  cairo_destroy(m);
  impl_->state.mask = std::shared_ptr<cairo_surface_t>(alpha, cairo_surface_destroy);
}

Rect GraphicsContext::clipBoundingBox() const {
  double x1, y1, x2, y2;
  cairo_clip_extents(impl_->cr, &x1, &y1, &x2, &y2);
  if (x2 <= x1 || y2 <= y1) return Rect::null();
  return Rect(x1, y1, x2 - x1, y2 - y1);
}

void GraphicsContext::setFillColor(const Color& color) {
  impl_->state.fill = color;
}
void GraphicsContext::setStrokeColor(const Color& color) {
  impl_->state.stroke = color;
}
void GraphicsContext::setLineWidth(double width) {
  cairo_set_line_width(impl_->cr, width);
}

void GraphicsContext::setLineCap(LineCap cap) {
  static constexpr cairo_line_cap_t kCaps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND,
                                               CAIRO_LINE_CAP_SQUARE};
  cairo_set_line_cap(impl_->cr, kCaps[static_cast<int>(cap)]);
}

void GraphicsContext::setLineJoin(LineJoin join) {
  static constexpr cairo_line_join_t kJoins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                                 CAIRO_LINE_JOIN_BEVEL};
  cairo_set_line_join(impl_->cr, kJoins[static_cast<int>(join)]);
}

void GraphicsContext::setMiterLimit(double limit) {
  cairo_set_miter_limit(impl_->cr, limit);
}

void GraphicsContext::setLineDash(double phase, const std::vector<double>& lengths) {
  const bool drawable = std::any_of(lengths.begin(), lengths.end(), [](double l) { return l > 0; }) &&
                        std::all_of(lengths.begin(), lengths.end(), [](double l) { return l >= 0; });
  cairo_set_dash(impl_->cr, drawable ? lengths.data() : nullptr,
                 drawable ? static_cast<int>(lengths.size()) : 0, phase);
}

void GraphicsContext::setAlpha(double alpha) {
  impl_->state.alpha = std::clamp(alpha, 0.0, 1.0);
}
void GraphicsContext::setBlendMode(BlendMode mode) {
  impl_->state.blend = mode;
}

void GraphicsContext::setShadow(Size offset, double blur, const Color& color) {
  impl_->state.shadow = {offset, std::max(blur, 0.0), color};
}

void GraphicsContext::clearShadow() {
  impl_->state.shadow = {};
}

void GraphicsContext::fillRect(const Rect& rect) {
  fillPath(Path::withRect(rect));
}
void GraphicsContext::strokeRect(const Rect& rect) {
  strokePath(Path::withRect(rect));
}
void GraphicsContext::fillEllipse(const Rect& rect) {
  fillPath(Path::withOval(rect));
}
void GraphicsContext::strokeEllipse(const Rect& rect) {
  strokePath(Path::withOval(rect));
}

void GraphicsContext::clearRect(const Rect& rect) {
  cairo_save(impl_->cr);
  cairo_set_operator(impl_->cr, CAIRO_OPERATOR_CLEAR);
  addToCairo(impl_->cr, Path::withRect(rect));
  cairo_fill(impl_->cr);
  cairo_restore(impl_->cr);
}

void GraphicsContext::fillPath(const Path& path, FillRule rule) {
  const Color color = impl_->state.fill;
  impl_->draw(
      [&](cairo_t* cr) {
        addToCairo(cr, path);
        cairo_set_fill_rule(cr,
                            rule == FillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        setSource(cr, color);
        if (isUnbounded(cairo_get_operator(cr))) {
          cairo_save(cr);
          cairo_clip(cr);
          cairo_paint(cr);
          cairo_restore(cr);
        } else {
          cairo_fill(cr);
        }
      },
      isUnbounded(operatorFor(impl_->state.blend)) ? std::nullopt : std::optional<Rect>(path.boundingBox()));
}

void GraphicsContext::castShadow(const Path& path) {
  impl_->castShadow(path);
}

void GraphicsContext::strokePath(const Path& path) {
  const Color color = impl_->state.stroke;
  // Miter joins reach furthest: half the width times the miter limit.
  const double reach = cairo_get_line_width(impl_->cr) / 2 * std::max(1.0, cairo_get_miter_limit(impl_->cr));
  impl_->draw(
      [&](cairo_t* cr) {
        addToCairo(cr, path);
        setSource(cr, color);
        cairo_stroke(cr);
      },
      path.boundingBox().insetBy(-reach, -reach));
}

namespace {

void addStops(cairo_pattern_t* pattern, const Gradient& gradient) {
  for (const Gradient::Stop& stop : gradient.stops()) {
    const Rgba c = stop.color.rgba().value_or(Rgba{0, 0, 0, 0});
    cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), c.red, c.green, c.blue,
                                      c.alpha);
  }
}

}  // namespace

void GraphicsContext::drawLinearGradient(const Gradient& gradient, Point start, Point end, unsigned options) {
  const double dx = end.x - start.x, dy = end.y - start.y;
  const double length = std::hypot(dx, dy);
  const bool before = options & kGradientDrawsBeforeStartLocation;
  const bool after = options & kGradientDrawsAfterEndLocation;
  if (length == 0 && !(before && after)) return;
  impl_->draw([&](cairo_t* cr) {
    cairo_save(cr);
    if (length > 0 && !(before && after)) {
      // Keep to the band between the perpendiculars through the ends the options leave closed.
      constexpr double kFar = 1e6;
      const double ux = dx / length, uy = dy / length;
      const Point from = before ? Point{start.x - ux * kFar, start.y - uy * kFar} : start;
      const Point to = after ? Point{end.x + ux * kFar, end.y + uy * kFar} : end;
      Path band;
      band.moveTo({from.x - uy * kFar, from.y + ux * kFar});
      band.lineTo({to.x - uy * kFar, to.y + ux * kFar});
      band.lineTo({to.x + uy * kFar, to.y - ux * kFar});
      band.lineTo({from.x + uy * kFar, from.y - ux * kFar});
      band.closeSubpath();
      addToCairo(cr, band);
      cairo_clip(cr);
    }
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    addStops(pattern, gradient);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    cairo_paint(cr);
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
  });
}

void GraphicsContext::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                         Point endCenter, double endRadius, unsigned options) {
  const bool before = options & kGradientDrawsBeforeStartLocation;
  const bool after = options & kGradientDrawsAfterEndLocation;
  impl_->draw([&](cairo_t* cr) {
    cairo_pattern_t* pattern = cairo_pattern_create_radial(startCenter.x, startCenter.y, startRadius,
                                                           endCenter.x, endCenter.y, endRadius);
    addStops(pattern, gradient);
    cairo_pattern_set_extend(pattern, before && after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    cairo_set_source(cr, pattern);
    cairo_paint(cr);
    cairo_pattern_destroy(pattern);
    if (gradient.stops().empty() || before == after) return;
    // One side only: inside the start circle in the first colour, or outside the end circle in the last.
    cairo_save(cr);
    if (before) {
      cairo_arc(cr, startCenter.x, startCenter.y, startRadius, 0, 2 * M_PI);
      setSource(cr, gradient.stops().front().color);
    } else {
      double x1, y1, x2, y2;
      cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
      cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
      cairo_new_sub_path(cr);
      cairo_arc(cr, endCenter.x, endCenter.y, endRadius, 0, 2 * M_PI);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      setSource(cr, gradient.stops().back().color);
    }
    cairo_fill(cr);
    cairo_restore(cr);
  });
}

void GraphicsContext::drawBitmap(const Bitmap& bitmap, const Rect& rect, bool smooth) {
  if (rect.isEmpty()) return;
  const Rect r = rect.standardized();
  impl_->draw(
      [&](cairo_t* cr) {
        cairo_surface_t* surface = cairoSurfaceFor(bitmap);
        cairo_save(cr);
        cairo_rectangle(cr, r.minX(), r.minY(), r.width(), r.height());
        cairo_clip(cr);
        cairo_translate(cr, r.minX(), r.minY());
        cairo_scale(cr, r.width() / bitmap.width(), r.height() / bitmap.height());
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_pattern_t* pattern = cairo_get_source(cr);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, smooth ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(surface);
      },
      r);
}

void GraphicsContext::drawTiledBitmap(const Bitmap& bitmap, const Rect& rect, Size tile) {
  if (rect.isEmpty() || !(tile.width > 0) || !(tile.height > 0)) return;
  const Rect r = rect.standardized();
  impl_->draw(
      [&](cairo_t* cr) {
        cairo_surface_t* surface = cairoSurfaceFor(bitmap);
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
        // Pattern space is the bitmap's pixels; user space holds one tile per tile size from the origin.
        cairo_matrix_t m;
        cairo_matrix_init_scale(&m, bitmap.width() / tile.width, bitmap.height() / tile.height);
        cairo_matrix_translate(&m, -r.minX(), -r.minY());
        cairo_pattern_set_matrix(pattern, &m);
        cairo_set_source(cr, pattern);
        cairo_rectangle(cr, r.minX(), r.minY(), r.width(), r.height());
        cairo_fill(cr);
        cairo_pattern_destroy(pattern);
        cairo_surface_destroy(surface);
      },
      r);
}

void GraphicsContext::beginTransparencyLayer() {
  beginLayer(std::nullopt);
}

void GraphicsContext::beginTransparencyLayer(const Rect& bounds) {
  beginLayer(bounds);
}

void GraphicsContext::beginLayer(const std::optional<Rect>& bounds) {
  impl_->layers.push_back({impl_->state, bounds});
  saveGState();
  if (bounds) clip(*bounds);
  pushOffscreenGroup(impl_->cr);
  impl_->state.alpha = 1;
  impl_->state.shadow = {};
  impl_->state.blend = BlendMode::normal;
  impl_->state.mask = nullptr;
}

void GraphicsContext::endTransparencyLayer() {
  if (impl_->layers.empty()) return;
  cairo_pattern_t* layer = cairo_pop_group(impl_->cr);
  restoreGState();
  const Impl::Layer ended = impl_->layers.back();
  impl_->layers.pop_back();
  impl_->state = ended.state;
  impl_->draw(
      [&](cairo_t* cr) {
        cairo_set_source(cr, layer);
        cairo_paint(cr);
      },
      ended.bounds);
  cairo_pattern_destroy(layer);
}

}  // namespace pf

// Sanitizer settings for every program that draws (drawing and text layout both come through here).
// Fontconfig keeps the configuration it parses for the life of the process and never frees it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

// Cairo, Pango, GLib, HarfBuzz and fontconfig count references and guard caches with atomics of their
// own, which the thread checker cannot see in libraries built without it; each thread here has its own
// Pango context and nothing is shared unguarded on our side.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libcairo.so\nrace:libpixman-1.so\nrace:libglib-2.0.so\nrace:libgobject-2.0.so\n"
         "race:libpango-1.0.so\nrace:libpangoft2-1.0.so\nrace:libpangocairo-1.0.so\nrace:libharfbuzz.so\n"
         "race:libfontconfig.so\nrace:libfreetype.so\n";
}
