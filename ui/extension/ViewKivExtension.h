#pragma once
// Frame shorthands: a view's origin and size values. Main thread only.

namespace pf {
class View;
}

class ViewKivExtension {
 public:
  static double x(const pf::View& view);
  static double y(const pf::View& view);
  static double width(const pf::View& view);
  static double height(const pf::View& view);
};
