#include "platform/graphics/CairoPath.h"

namespace pf {

void addToCairo(cairo_t* cr, const Path& path) {
  cairo_new_path(cr);
  for (const Path::Element& e : path.elements()) {
    const auto& p = e.points;
    switch (e.type) {
      case Path::ElementType::moveTo:
        cairo_move_to(cr, p[0].x, p[0].y);
        break;
      case Path::ElementType::lineTo:
        cairo_line_to(cr, p[0].x, p[0].y);
        break;
      case Path::ElementType::curveTo:
        cairo_curve_to(cr, p[1].x, p[1].y, p[2].x, p[2].y, p[0].x, p[0].y);
        break;
      case Path::ElementType::closeSubpath:
        cairo_close_path(cr);
        break;
    }
  }
}

}  // namespace pf
