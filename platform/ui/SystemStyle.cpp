#include "platform/ui/SystemStyle.h"

namespace pf {

Color SystemStyle::tint() {
  return Color::fromRgba(0, 122 / 255.0, 1);
}

Color SystemStyle::onTint() {
  return Color::fromRgba(76 / 255.0, 217 / 255.0, 100 / 255.0);
}

Color SystemStyle::separator() {
  return Color::fromRgba(200 / 255.0, 199 / 255.0, 204 / 255.0);
}

Color SystemStyle::lightTrack() {
  return Color::fromRgba(229 / 255.0, 229 / 255.0, 234 / 255.0);
}

Color SystemStyle::barBackground() {
  return Color::fromRgba(247 / 255.0, 247 / 255.0, 247 / 255.0);
}

Color SystemStyle::disabledText() {
  return Color::fromWhite(0.6);
}

Color SystemStyle::destructive() {
  return Color::fromRgba(1, 59 / 255.0, 48 / 255.0);
}

std::shared_ptr<const Font> SystemStyle::controlFont() {
  return Font::systemFont(15);
}

std::shared_ptr<const Font> SystemStyle::barTitleFont() {
  return Font::boldSystemFont(17);
}

std::shared_ptr<const Font> SystemStyle::barItemFont() {
  return Font::systemFont(17);
}

}  // namespace pf
