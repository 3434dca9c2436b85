#pragma once
// The movie player's preferences, read from the user defaults. Each reader registers the defaults
// first when none are there yet (scaling to fill, no controls, black, no repeat, the application's
// audio session).
//
// Thread-safe, as the user defaults are.

#include <memory>

namespace pf {
class Color;
class MoviePlayerController;
}  // namespace pf

class MoviePlayerUserPrefs {
 public:
  static constexpr char kScalingModeKey[] = "scalingMode";
  static constexpr char kControlStyleKey[] = "controlStyle";
  static constexpr char kBackgroundColorKey[] = "backgroundColor";
  static constexpr char kRepeatModeKey[] = "repeatMode";
  static constexpr char kUseApplicationAudioSessionKey[] = "useApplicationAudioSession";
  static constexpr char kUseMovieBackgroundImageKey[] = "useMovieBackgroundImage";

  static int scalingModeUserSetting();
  static int controlStyleUserSetting();
  // The colour index read, as a colour: black, dark grey, light grey, white, grey, red, green, blue,
  // cyan, yellow, magenta, orange, purple, brown, clear (0 to 14); black outside them.
  static pf::Color backgroundColorUserSetting();
  static int repeatModeUserSetting();
  static bool audioSessionUserSetting();
  // Sets the five values on the player and allows AirPlay.
  static void applyToMoviePlayer(pf::MoviePlayerController& player);

 private:
  static void registerDefaultsIfNeeded();
};
