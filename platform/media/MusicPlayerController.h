#pragma once
// The device's music player, as far as the system uses it: the output volume, 0 to 1. Main thread only.

namespace pf {

class MusicPlayerController {
 public:
  static MusicPlayerController& applicationMusicPlayer();
  static MusicPlayerController& iPodMusicPlayer() { return applicationMusicPlayer(); }

  float volume() const { return volume_; }
  // Kept within 0 and 1; not-a-number leaves it as it was.
  void setVolume(float volume);

 private:
  float volume_ = 0.5f;
};

}  // namespace pf
