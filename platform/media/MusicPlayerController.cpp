#include "platform/media/MusicPlayerController.h"

#include <algorithm>
#include <cmath>

namespace pf {

MusicPlayerController& MusicPlayerController::applicationMusicPlayer() {
  static MusicPlayerController player;
  return player;
}

void MusicPlayerController::setVolume(float volume) {
  if (std::isnan(volume)) return;
  volume_ = std::clamp(volume, 0.0f, 1.0f);
}

}  // namespace pf
