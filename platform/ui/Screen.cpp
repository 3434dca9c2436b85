#include "platform/ui/Screen.h"

#include <cstdlib>

#include "platform/ui/Application.h"

namespace pf {

Screen::Screen() {
  const char* text = std::getenv("MARLUNE_SCREEN");
  if (!(text && applyConfiguration(text))) apply(Profile::Phone, 0);
}

Screen& Screen::mainScreen() {
  static Screen screen;
  return screen;
}

void Screen::configure(Profile profile, double scale) {
  mainScreen().apply(profile, scale);
}

bool Screen::configure(const std::string& text) {
  return mainScreen().applyConfiguration(text);
}

bool Screen::applyConfiguration(const std::string& text) {
  if (text == "phone") {
    apply(Profile::Phone, 0);
  } else if (text == "tablet") {
    apply(Profile::Tablet, 0);
  } else if (text == "tablet@2x") {
    apply(Profile::Tablet, 2);
  } else {
    return false;
  }
  return true;
}

void Screen::apply(Profile profile, double scale) {
  profile_ = profile;
  if (profile == Profile::Phone) {
    bounds_ = Rect(0, 0, 320, 480);
    scale_ = scale > 0 ? scale : 2;
  } else {
    bounds_ = Rect(0, 0, 768, 1024);
    scale_ = scale > 0 ? scale : 1;
  }
}

Rect Screen::applicationFrame() const {
  const double bar = Application::sharedApplication().statusBarFrame().height();
  return Rect(bounds_.origin.x, bounds_.origin.y + bar, bounds_.width(), bounds_.height() - bar);
}

}  // namespace pf
