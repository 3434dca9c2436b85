#pragma once
// What the video player's volume strip tells its owner.

class CmsMediaPlayerVolumeViewDelegate {
 public:
  virtual ~CmsMediaPlayerVolumeViewDelegate() = default;
  virtual void setSystemVolume(float value) = 0;
  virtual void touchBeginVolumeView() = 0;
};
