#pragma once
// Internal to platform/: the Cairo context behind a drawing context, for code that draws with Cairo
// directly (text, hosts). Not for public headers.

#include "platform/graphics/GraphicsContext.h"

#include <cairo.h>

namespace pf {

cairo_t* cairoHandle(GraphicsContext& context);
// A Cairo surface over the bitmap's pixels; the caller destroys it and keeps the bitmap alive.
cairo_surface_t* cairoSurfaceFor(const Bitmap& bitmap);

}  // namespace pf
