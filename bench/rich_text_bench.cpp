// 200 blog rows of mixed Chinese and English with mentions and topic chips at 280 points: our rich-text
// label (setText, optimumSize, drawing, link buttons) against Pango laying out and drawing the same
// plain text directly.

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/components/richlabel/RichLabel.h"
#include "bench/support/RatioReporter.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/ImageContext.h"
#include "platform/text/Font.h"
#include "platform/ui/CurrentContext.h"

namespace {

constexpr double kWidth = 280;
constexpr int kRows = 200;

std::string richRow(int i) {
  const char* texts[] = {"今天完成了信息安全课程，收获很多，推荐给 ", "Finished the safety course today, thanks to ",
                         "本周在读《高效能人士的七个习惯》 and sharing notes with ", "下午的演练在三楼集合 please ask "};
  const char* names[] = {"ann", "学员小林", "bob_lee", "王芳"};
  std::string row = pf::format("<font size=%f color='%@'>%@</font>", 18.0, std::string("#424242"),
                               std::string(texts[i % 4]));
  row += pf::format("<a href='%@'><font size=%f color='%@'> @%@</font></a>", std::string(names[i % 4]), 18.0,
                    std::string("#005E78"), std::string(names[i % 4]));
  row += pf::format("<font size=%f color='%@'>%@</font>", 18.0, std::string("#424242"),
                    std::string(" 一起来学习吧 see you there."));
  if (i % 2 == 0) {
    row += pf::format(
        "<a href='topicID:%d;%@'><font size=%f color='clear' title_color='#CE7322' background_normal='#D0DBE0' "
        "background_highlight='#888888'> %@</font></a> ",
        i, std::string("读书分享"), 16.0, std::string("读书分享"));
  }
  return row;
}

const std::vector<std::string>& rows() {
  static const std::vector<std::string> all = [] {
    std::vector<std::string> out;
    for (int i = 0; i < kRows; ++i) out.push_back(richRow(i));
    return out;
  }();
  return all;
}

const std::vector<std::string>& plainRows() {
  static const std::vector<std::string> all = [] {
    std::vector<std::string> out;
    for (const auto& row : rows()) out.push_back(RichLabel::extractTextStyleFromText(row, "\n")->plainText);
    return out;
  }();
  return all;
}

std::size_t buttonsMade = 0;

void BM_RichLabel(benchmark::State& state) {
  auto label = std::make_shared<RichLabel>(pf::Rect{0, 0, kWidth, 0});
  auto canvas = pf::ImageContext::create({kWidth, 200}, false, 2);
  for (auto _ : state) {
    buttonsMade = 0;
    for (const auto& row : rows()) {
      label->setFrame({0, 0, kWidth, 0});
      label->setText(row);
      const double height = label->optimumSize().height;
      label->setFrame({0, 0, kWidth, height});
      label->render(&canvas->context());
      buttonsMade += label->subviews().size();
    }
  }
}

void BM_PangoRows(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(kWidth * 2), 400);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, 2, 2);
  PangoFontDescription* font =
      pango_font_description_from_string((pf::Font::systemFamilyName() + ", 18px").c_str());
  for (auto _ : state) {
    for (const auto& text : plainRows()) {
      // Measured once and drawn once, as a list cell would with plain text.
      for (int pass = 0; pass < 2; ++pass) {
        PangoLayout* layout = pango_cairo_create_layout(cr);
        pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
        pango_layout_set_font_description(layout, font);
        pango_layout_set_width(layout, static_cast<int>(kWidth * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        if (pass == 1) pango_cairo_show_layout(cr, layout);
        benchmark::DoNotOptimize(logical.height);
        g_object_unref(layout);
      }
    }
  }
  pango_font_description_free(font);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

BENCHMARK(BM_PangoRows)->Apply(bench::configure);
BENCHMARK(BM_RichLabel)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("rich text");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("200 blog rows with mentions and chips at 280 pt: set, size, draw", "BM_RichLabel",
                      "Pango plain text", "BM_PangoRows");
  std::printf("rich text: %zu link buttons made for the 200 rows\n", buttonsMade);
  benchmark::Shutdown();
  return 0;
}
