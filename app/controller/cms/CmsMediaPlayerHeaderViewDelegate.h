#pragma once
// What the video player's header tells its owner; the lecture operation is optional.

class CmsMediaPlayerHeaderViewDelegate {
 public:
  virtual ~CmsMediaPlayerHeaderViewDelegate() = default;
  virtual void backButtonPressed() = 0;
  // The header's lecture state when its button was pressed.
  virtual void lectureButtonPressedWithLectureButtonState(int state) { (void)state; }
};
