// Drawing a 320x480 window (at scale 2) that holds 200 labelled views with rounded corners and
// shadows: our view tree rendered through its layers, against Cairo and Pango drawing the same cards
// directly. Ours keeps each label's drawing between frames, as views do; the "redrawn" case asks every
// view to draw its label again, as a frame after a full reload would.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "bench/support/RatioReporter.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Layer.h"
#include "platform/ui/LayerRenderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 25;
constexpr double kWidth = 320, kHeight = 480, kScale = 2;
constexpr double kCardWidth = kWidth / kColumns, kCardHeight = kHeight / kRows;
constexpr double kRadius = 4, kFontSize = 9;

std::string labelOf(int index) {
  return "第" + std::to_string(index + 1) + "课";
}

pf::Rect cardFrame(int index) {
  const int column = index % kColumns, row = index / kColumns;
  return pf::Rect(column * kCardWidth + 2, row * kCardHeight + 2, kCardWidth - 4, kCardHeight - 4);
}

class LabelledView : public pf::View {
 public:
  LabelledView(const pf::Rect& frame, std::string text) : View(frame), text_(std::move(text)) {}
  void drawRect(const pf::Rect& rect) override {
    static const auto font = pf::Font::systemFont(kFontSize);
    pf::StringDrawing::drawText(*pf::CurrentContext::get(), text_, rect.insetBy(2, 2), *font,
                                pf::Color::black());
  }

 private:
  std::string text_;
};

struct Scene {
  std::shared_ptr<pf::Window> window;
  std::vector<std::shared_ptr<pf::View>> cards;
  std::shared_ptr<pf::Bitmap> bitmap = pf::Bitmap::create(int(kWidth * kScale), int(kHeight* kScale));

  Scene() {
    pf::Screen::configure(pf::Screen::Profile::Phone);
    window = std::make_shared<pf::Window>(pf::Rect(0, 0, kWidth, kHeight));
    window->setBackgroundColor(pf::Color::fromWhite(0.9));
    for (int i = 0; i < kColumns * kRows; ++i) {
      auto card = std::make_shared<LabelledView>(cardFrame(i), labelOf(i));
      card->setBackgroundColor(pf::Color::white());
      card->layer()->setCornerRadius(kRadius);
      card->layer()->setShadowOpacity(0.4);
      card->layer()->setShadowRadius(2);
      card->layer()->setShadowOffset({0, 1});
      window->addSubview(card);
      cards.push_back(card);
    }
  }

  void frame() {
    pf::GraphicsContext context(bitmap, kScale);
    window->layoutIfNeeded();
    pf::LayerRenderer::render(*window->layer(), context);
  }
};

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -std::numbers::pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, std::numbers::pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, std::numbers::pi / 2, std::numbers::pi);
  cairo_arc(cr, x + r, y + r, r, std::numbers::pi, 3 * std::numbers::pi / 2);
  cairo_close_path(cr);
}

void BM_ViewTreeFrame(benchmark::State& state) {
  Scene scene;
  scene.frame();
  for (auto _ : state) scene.frame();
}

void BM_ViewTreeFrameRedrawn(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    for (auto& card : scene.cards) card->setNeedsDisplay();
    scene.frame();
  }
}

// The same cards straight on Cairo: a blurred shadow (Cairo has none, so the shadow is the card's
// shape painted through a mask blurred once, as any direct program would cache it), the card, the label.
void BM_CairoFrame(benchmark::State& state) {
  const int width = int(kWidth * kScale), height = int(kHeight * kScale);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  PangoFontDescription* font = pango_font_description_from_string("WenQuanYi Micro Hei");
  pango_font_description_set_absolute_size(font, kFontSize * PANGO_SCALE);
  // One blurred card shadow, made once: a box blur of the card's alpha in a small A8 surface.
  const int pad = 4;
  const int sw = int((kCardWidth - 4) * kScale) + 2 * pad * int(kScale);
  const int sh = int((kCardHeight - 4) * kScale) + 2 * pad * int(kScale);
  cairo_surface_t* shadow = cairo_image_surface_create(CAIRO_FORMAT_A8, sw, sh);
  {
    cairo_t* s = cairo_create(shadow);
    cairo_scale(s, kScale, kScale);
    roundedRect(s, pad, pad, kCardWidth - 4, kCardHeight - 4, kRadius);
    cairo_fill(s);
    cairo_destroy(s);
    cairo_surface_flush(shadow);
    unsigned char* data = cairo_image_surface_get_data(shadow);
    const int stride = cairo_image_surface_get_stride(shadow);
    std::vector<unsigned char> copy(data, data + stride * sh);
    const int r = int(2 * kScale / 2);
    for (int y = 0; y < sh; ++y)
      for (int x = 0; x < sw; ++x) {
        int sum = 0, n = 0;
        for (int dy = -r; dy <= r; ++dy)
          for (int dx = -r; dx <= r; ++dx) {
            const int xx = x + dx, yy = y + dy;
            if (xx < 0 || yy < 0 || xx >= sw || yy >= sh) continue;
            sum += copy[yy * stride + xx];
            ++n;
          }
        data[y * stride + x] = static_cast<unsigned char>(sum / n);
      }
    cairo_surface_mark_dirty(shadow);
  }
  for (auto _ : state) {
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, kScale, kScale);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
    cairo_paint(cr);
    for (int i = 0; i < kColumns * kRows; ++i) {
      const pf::Rect f = cardFrame(i);
      cairo_save(cr);
      cairo_identity_matrix(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
      cairo_mask_surface(cr, shadow, (f.origin.x - pad) * kScale, (f.origin.y - pad + 1) * kScale);
      cairo_restore(cr);
      cairo_set_source_rgb(cr, 1, 1, 1);
      roundedRect(cr, f.origin.x, f.origin.y, f.size.width, f.size.height, kRadius);
      cairo_fill(cr);
      PangoLayout* layout = pango_cairo_create_layout(cr);
      pango_layout_set_font_description(layout, font);
      const std::string text = labelOf(i);
      pango_layout_set_text(layout, text.c_str(), -1);
      pango_layout_set_width(layout, int((f.size.width - 4) * PANGO_SCALE));
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_move_to(cr, f.origin.x + 2, f.origin.y + 2);
      pango_cairo_show_layout(cr, layout);
      g_object_unref(layout);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
  }
  cairo_surface_destroy(shadow);
  pango_font_description_free(font);
  cairo_surface_destroy(surface);
}

BENCHMARK(BM_ViewTreeFrame)->Apply(bench::configure);
BENCHMARK(BM_ViewTreeFrameRedrawn)->Apply(bench::configure);
BENCHMARK(BM_CairoFrame)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("render");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("200 labelled cards, frame", "BM_ViewTreeFrame", "Cairo+Pango", "BM_CairoFrame");
  reporter.printRatio("200 labelled cards, every label redrawn", "BM_ViewTreeFrameRedrawn", "Cairo+Pango",
                      "BM_CairoFrame");
  benchmark::Shutdown();
  return 0;
}
