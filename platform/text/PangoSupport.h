#pragma once
// Internal to platform/text: the one Pango context each thread lays text out with, set up so that
// measuring and drawing agree (no hinting of metrics, sizes in points as user-space units).

#include <pango/pangocairo.h>

namespace pf {

// Owned by the calling thread; never null.
PangoContext* threadPangoContext();

// Pango units to points and back; widths are rounded up so a measured width never cuts a line.
inline double fromPango(int units) {
  return static_cast<double>(units) / PANGO_SCALE;
}
int toPangoCeil(double points);

}  // namespace pf
