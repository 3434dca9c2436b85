#pragma once
// Internal to the drawing code: hands a path to Cairo. Not for public headers.

#include "platform/graphics/Path.h"

#include <cairo.h>

namespace pf {

void addToCairo(cairo_t* cr, const Path& path);

}  // namespace pf
