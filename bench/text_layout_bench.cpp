// Laying out a 2,000-character paragraph of mixed Chinese and English at a phone's width through our
// text layer (attributed string, framesetter, frame of lines) against Pango doing the same directly.

#include <pango/pangocairo.h>

#include "bench/support/RatioReporter.h"
#include "platform/text/Framesetter.h"

namespace {

constexpr double kWidth = 300;
constexpr double kFontSize = 15;

const std::string& paragraph() {
  static const std::string text = [] {
    const char* pieces[] = {
        "学习进度会按课程标准记录，并与服务器同步。", "Progress is recorded by each course standard. ",
        "离线学习时，记录会在联网后上传。", "Downloads can be studied offline and synchronised later. "};
    std::string out;
    std::size_t characters = 0;
    for (int i = 0; characters < 2000; i = (i + 1) % 4) {
      for (const char* p = pieces[i]; *p && characters < 2000; ++p) {
        out += *p;
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80 &&
            ((static_cast<unsigned char>(p[1]) & 0xC0) != 0x80))
          ++characters;
      }
    }
    return out;
  }();
  return text;
}

void BM_LayoutRaw(benchmark::State& state) {
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context, options);
  pango_cairo_context_set_resolution(context, 72);
  pango_context_set_round_glyph_positions(context, FALSE);
  pango_context_set_language(context, pango_language_from_string("zh-cn"));
  PangoFontDescription* font =
      pango_font_description_from_string((pf::Font::systemFamilyName() + ", 15px").c_str());
  for (auto _ : state) {
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_text(layout, paragraph().data(), static_cast<int>(paragraph().size()));
    pango_layout_set_font_description(layout, font);
    pango_layout_set_width(layout, static_cast<int>(kWidth * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    benchmark::DoNotOptimize(pango_layout_get_line_count(layout) + logical.height);
    g_object_unref(layout);
  }
  pango_font_description_free(font);
  cairo_font_options_destroy(options);
  g_object_unref(context);
  g_object_unref(map);
}

void BM_LayoutLayer(benchmark::State& state) {
  pf::TextAttributes attributes;
  attributes.font = pf::Font::systemFont(kFontSize);
  for (auto _ : state) {
    const pf::Framesetter framesetter(pf::AttributedString(paragraph(), attributes));
    const auto frame = framesetter.createFrame({0, 0}, pf::Rect(0, 0, kWidth, 1e6));
    benchmark::DoNotOptimize(frame->lines().size() + frame->visibleStringRange().length);
  }
}

BENCHMARK(BM_LayoutRaw)->Apply(bench::configure);
BENCHMARK(BM_LayoutLayer)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("text layout");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("lay out 2,000 mixed Chinese/English characters", "BM_LayoutLayer", "Pango",
                      "BM_LayoutRaw");
  benchmark::Shutdown();
  return 0;
}
