#pragma once
// The video player's bottom bar: play/pause button, elapsed and remaining time and the progress
// slider. Its play state says what the button shows: 0 playback runs (pause pictures), 1 playback is
// halted (play pictures). A single touch on the bar's first 65 points acts as the play button, so a
// thumb near the edge still reaches it.
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsMediaPlayerBottomViewDelegate.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/View.h"

namespace pf {
class Button;
class Label;
class Slider;
}  // namespace pf

class CmsMediaPlayerBottomView : public pf::View {
  PF_OBJECT(CmsMediaPlayerBottomView, pf::View)

  static constexpr int kPlaying = 0;
  static constexpr int kHalted = 1;
  static constexpr double kPlayTouchWidth = 65;

  std::weak_ptr<CmsMediaPlayerBottomViewDelegate> bottomDelegate;
  std::weak_ptr<pf::Button> playBtn;
  std::weak_ptr<pf::Label> startTimeLabel;
  std::weak_ptr<pf::Label> endTimeLabel;
  std::weak_ptr<pf::Slider> progressSlider;

  int currentPlayState() const { return currentPlayState_; }
  void setCurrentPlayState(int state);

  void awakeFromNib() override;
  void playBtnPressed();
  void progressSliderValueChanging();
  void progressSliderValueChange();
  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;

 private:
  int currentPlayState_ = kHalted;
};
