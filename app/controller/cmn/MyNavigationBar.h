#pragma once
// The navigation bar of every screen of the application: it paints the picture named by the
// process-wide navName over the whole bar when one is set, and is the platform's bar otherwise.
// A micro-blog screen sets navName; nothing resets it, so later bars keep that picture.
// Main thread only.

#include <optional>
#include <string>

#include "platform/ui/NavigationBar.h"

class MyNavigationBar : public pf::NavigationBar {
  PF_OBJECT(MyNavigationBar, pf::NavigationBar)

  static const std::optional<std::string>& navName();
  static void setNavName(std::optional<std::string> name);
  // Makes every navigation bar the platform creates from now on a MyNavigationBar, dark blue so the
  // screens' white titles and buttons show on it.
  static void installAsNavigationBarClass();

  void drawRect(const pf::Rect& rect) override;
};
