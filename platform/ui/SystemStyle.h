#pragma once
// The look shared by the stock controls: the tint, the greys and the fonts of a phone's interface.

#include <memory>

#include "platform/graphics/Color.h"
#include "platform/text/Font.h"

namespace pf {

class SystemStyle {
 public:
  // The blue that marks what can be tapped.
  static Color tint();
  // The green of a switch that is on.
  static Color onTint();
  // Hairlines and tracks.
  static Color separator();
  static Color lightTrack();
  // Backgrounds of bars and grouped screens.
  static Color barBackground();
  static Color disabledText();
  static Color destructive();
  static std::shared_ptr<const Font> controlFont();
  static std::shared_ptr<const Font> barTitleFont();
  static std::shared_ptr<const Font> barItemFont();
};

}  // namespace pf
