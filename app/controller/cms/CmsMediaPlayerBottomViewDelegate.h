#pragma once
// What the video player's bottom bar tells its owner.

class CmsMediaPlayerBottomViewDelegate {
 public:
  virtual ~CmsMediaPlayerBottomViewDelegate() = default;
  virtual void playButtonPressedWithState(int state) = 0;
  // The slider released at the value (0 to 1).
  virtual void progressSliderValueChangeWithValue(float value) = 0;
  // The slider dragged to the value.
  virtual void progressSliderValueChangingWithValue(float value) = 0;
};
