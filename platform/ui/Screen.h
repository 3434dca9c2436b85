#pragma once
// The screen the key window fills: its bounds in points and its scale (pixels per point). Two
// profiles stand for the devices the program was made for: a phone of 320x480 points at scale 2 and
// a tablet of 768x1024 points at scale 1 or 2. The profile comes from configuration: the environment
// variable MARLUNE_SCREEN ("phone", "tablet", "tablet@2x") read on first use, or configure() from a
// host or a test. Main thread only.

#include <string>

#include "platform/graphics/Rect.h"

namespace pf {

class Screen {
 public:
  enum class Profile { Phone, Tablet };

  static Screen& mainScreen();

  // Switches the main screen to a profile; scale 0 takes the profile's usual scale.
  static void configure(Profile profile, double scale = 0);
  // Applies a configuration text as MARLUNE_SCREEN spells it; false for an unknown text.
  static bool configure(const std::string& text);

  Profile profile() const { return profile_; }
  const Rect& bounds() const { return bounds_; }
  double scale() const { return scale_; }
  // The bounds less the status bar when it shows.
  Rect applicationFrame() const;

 private:
  Screen();
  bool applyConfiguration(const std::string& text);
  void apply(Profile profile, double scale);

  Profile profile_ = Profile::Phone;
  Rect bounds_;
  double scale_ = 2;
};

}  // namespace pf
