// The text target lays text out and never draws it: this stands in for the graphics context's drawing
// so that the target links without the whole graphics layer (pictures, codecs, bundles), and fails
// loudly should layout reach drawing after all.

#include <cstdio>
#include <cstdlib>

#include "platform/graphics/CairoHandle.h"

void pf::drawWithState(GraphicsContext&, const std::function<void(cairo_t*)>&, const std::optional<Rect>&) {
  std::fprintf(stderr, "the text target reached drawing\n");
  std::abort();
}

// As the graphics context would: fontconfig keeps the configuration it parses for the life of the
// process and never frees it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
