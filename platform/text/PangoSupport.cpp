#include "platform/text/PangoSupport.h"

#include <climits>
#include <cmath>

namespace pf {

namespace {

struct ContextHolder {
  PangoContext* context;
  ContextHolder() {
    PangoFontMap* map = pango_cairo_font_map_new();
    context = pango_font_map_create_context(map);
    g_object_unref(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 72);
    pango_context_set_round_glyph_positions(context, FALSE);
    pango_context_set_language(context, pango_language_from_string("zh-cn"));
  }
  ~ContextHolder() { g_object_unref(context); }
};

}  // namespace

PangoContext* threadPangoContext() {
  thread_local ContextHolder holder;
  return holder.context;
}

int toPangoCeil(double points) {
  if (!(points < INT_MAX / PANGO_SCALE)) return INT_MAX;
  return static_cast<int>(std::ceil(points * PANGO_SCALE - 1e-6));
}

}  // namespace pf
