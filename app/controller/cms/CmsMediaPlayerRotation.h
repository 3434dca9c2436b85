#pragma once
// The players keep the device's portrait coordinates and show landscape content by turning each
// overlay a quarter turn (+90 degrees) about its centre.
//
// Main thread only.

namespace pf {
class View;
}

class CmsMediaPlayerRotation {
 public:
  // Gives the view the landscape size (width × height), turns it +90 degrees and places the turned
  // view with its top-left corner at (x, y) of its superview: it then covers height × width there.
  static void turnIntoPlace(pf::View& view, double width, double height, double x, double y);
  // Turns the view +90 degrees about its centre, keeping its size.
  static void turn(pf::View& view);
};
