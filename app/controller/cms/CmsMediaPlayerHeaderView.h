#pragma once
// The video player's top bar: back button, unit title and the lecture button, whose state says what
// the button offers: 0 the lecture shows (button "视频"), 1 a lecture exists and is hidden ("讲义"),
// 2 no lecture or it failed (button hidden), 3 the lecture-only player (button hidden).
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsMediaPlayerHeaderViewDelegate.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/View.h"

namespace pf {
class Button;
class Label;
}  // namespace pf

class CmsMediaPlayerHeaderView : public pf::View {
  PF_OBJECT(CmsMediaPlayerHeaderView, pf::View)

  static constexpr int kLectureShowing = 0;
  static constexpr int kLectureHidden = 1;
  static constexpr int kNoLecture = 2;
  static constexpr int kLectureOnly = 3;
  static constexpr char kVideoTitle[] = "视频";
  static constexpr char kLectureTitle[] = "讲义";

  std::weak_ptr<CmsMediaPlayerHeaderViewDelegate> headerDelegate;
  std::weak_ptr<pf::Label> titleLabel;
  std::weak_ptr<pf::Button> lectureBtn;

  int currentLectureBtnState() const { return currentLectureBtnState_; }
  void setCurrentLectureBtnState(int state);

  void backBtnPressed();
  void lectureBtnPressed();

 private:
  int currentLectureBtnState_ = kLectureHidden;
};
