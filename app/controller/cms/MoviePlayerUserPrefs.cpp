#include "app/controller/cms/MoviePlayerUserPrefs.h"

#include <array>

#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Color.h"
#include "platform/media/MoviePlayerController.h"
#include "platform/ui/View.h"

namespace {

long moviePrefsInteger(const char* key) {
  return pf::UserDefaults::standardUserDefaults()->integerForKey(key);
}

}  // namespace

void MoviePlayerUserPrefs::registerDefaultsIfNeeded() {
  auto defaults = pf::UserDefaults::standardUserDefaults();
  if (defaults->stringForKey(kScalingModeKey)) return;
  defaults->registerDefaults({{kScalingModeKey, pf::Value(3)},
                              {kControlStyleKey, pf::Value(0)},
                              {kBackgroundColorKey, pf::Value(0)},
                              {kRepeatModeKey, pf::Value(0)},
                              {kUseApplicationAudioSessionKey, pf::Value(true)},
                              {kUseMovieBackgroundImageKey, pf::Value(0)}});
}

int MoviePlayerUserPrefs::scalingModeUserSetting() {
  registerDefaultsIfNeeded();
  return static_cast<int>(moviePrefsInteger(kScalingModeKey));
}

int MoviePlayerUserPrefs::controlStyleUserSetting() {
  registerDefaultsIfNeeded();
  return static_cast<int>(moviePrefsInteger(kControlStyleKey));
}

pf::Color MoviePlayerUserPrefs::backgroundColorUserSetting() {
  registerDefaultsIfNeeded();
  const std::array<pf::Color, 15> colors = {
      pf::Color::black(),          pf::Color::darkGray(), pf::Color::lightGray(), pf::Color::white(),
      pf::Color::gray(),           pf::Color::red(),      pf::Color::green(),     pf::Color::blue(),
      pf::Color::cyan(),           pf::Color::yellow(),   pf::Color::magenta(),   pf::Color::orange(),
      pf::Color::purple(),         pf::Color::brown(),    pf::Color::clear()};
  const long index = moviePrefsInteger(kBackgroundColorKey);
  return index >= 0 && index < static_cast<long>(colors.size()) ? colors[static_cast<size_t>(index)]
                                                                  : pf::Color::black();
}

int MoviePlayerUserPrefs::repeatModeUserSetting() {
  registerDefaultsIfNeeded();
  return static_cast<int>(moviePrefsInteger(kRepeatModeKey));
}

bool MoviePlayerUserPrefs::audioSessionUserSetting() {
  registerDefaultsIfNeeded();
  return pf::UserDefaults::standardUserDefaults()->boolForKey(kUseApplicationAudioSessionKey);
}

void MoviePlayerUserPrefs::applyToMoviePlayer(pf::MoviePlayerController& player) {
  player.setScalingMode(static_cast<pf::MoviePlayerController::ScalingMode>(scalingModeUserSetting()));
  player.setControlStyle(static_cast<pf::MoviePlayerController::ControlStyle>(controlStyleUserSetting()));
  player.backgroundView()->setBackgroundColor(backgroundColorUserSetting());
  player.setRepeatMode(static_cast<pf::MoviePlayerController::RepeatMode>(repeatModeUserSetting()));
  player.setUseApplicationAudioSession(audioSessionUserSetting());
  player.setAllowsAirPlay(true);
}
