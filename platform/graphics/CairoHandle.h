#pragma once
// Internal to platform/: the Cairo context behind a drawing context, for code that draws with Cairo
// directly (text, hosts). Not for public headers.

#include "platform/graphics/GraphicsContext.h"

#include <cairo.h>

#include <functional>
#include <optional>

namespace pf {

cairo_t* cairoHandle(GraphicsContext& context);
// Runs Cairo drawing with the context's alpha, shadow and blend mode applied, as its own fills are;
// `bounds` (user space), when given, holds everything the drawing paints.
void drawWithState(GraphicsContext& context, const std::function<void(cairo_t*)>& paint,
                   const std::optional<Rect>& bounds = std::nullopt);
// A Cairo surface over the bitmap's pixels; the caller destroys it and keeps the bitmap alive.
cairo_surface_t* cairoSurfaceFor(const Bitmap& bitmap);

}  // namespace pf
