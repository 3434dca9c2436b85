#include "app/controller/cms/CmsMediaPlayerHeaderView.h"

#include "platform/ui/Button.h"

void CmsMediaPlayerHeaderView::setCurrentLectureBtnState(int state) {
  currentLectureBtnState_ = state;
  auto button = lectureBtn.lock();
  if (!button) return;
  if (state == kLectureShowing || state == kLectureHidden) {
    button->setTitle(state == kLectureShowing ? kVideoTitle : kLectureTitle, pf::Control::kNormal);
  } else if (state == kNoLecture || state == kLectureOnly) {
    button->setHidden(true);
  }
}

void CmsMediaPlayerHeaderView::backBtnPressed() {
  if (auto delegate = headerDelegate.lock()) delegate->backButtonPressed();
}

void CmsMediaPlayerHeaderView::lectureBtnPressed() {
  if (auto delegate = headerDelegate.lock()) delegate->lectureButtonPressedWithLectureButtonState(currentLectureBtnState_);
}
