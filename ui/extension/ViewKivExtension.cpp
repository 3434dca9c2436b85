#include "ui/extension/ViewKivExtension.h"

#include "platform/ui/View.h"

double ViewKivExtension::x(const pf::View& view) {
  return view.frame().origin.x;
}

double ViewKivExtension::y(const pf::View& view) {
  return view.frame().origin.y;
}

double ViewKivExtension::width(const pf::View& view) {
  return view.frame().size.width;
}

double ViewKivExtension::height(const pf::View& view) {
  return view.frame().size.height;
}
