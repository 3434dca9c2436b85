#include "app/controller/cms/CmsMediaPlayerBottomView.h"

#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Touch.h"

namespace {

void cmsBottomButtonPictures(pf::Button& button, const char* normal, const char* highlighted) {
  const double scale = pf::Screen::mainScreen().scale();
  button.setImage(pf::Image::named(normal, scale), pf::Control::kNormal);
  button.setImage(pf::Image::named(highlighted, scale), pf::Control::kHighlighted);
}

}  // namespace

void CmsMediaPlayerBottomView::setCurrentPlayState(int state) {
  currentPlayState_ = state;
  auto button = playBtn.lock();
  if (!button) return;
  if (state == kPlaying) cmsBottomButtonPictures(*button, "CMS_VPLY_video_pause_n.png", "CMS_VPLY_video_pause_p.png");
  if (state == kHalted) cmsBottomButtonPictures(*button, "CMS_VPLY_play_n.png", "CMS_VPLY_play_p.png");
}

// The slider runs from its own left edge to 10 points short of the remaining time.
void CmsMediaPlayerBottomView::awakeFromNib() {
  pf::View::awakeFromNib();
  auto slider = progressSlider.lock();
  auto start = startTimeLabel.lock();
  auto end = endTimeLabel.lock();
  if (!slider || !start || !end) return;
  pf::Rect frame = slider->frame();
  frame.size.width = end->frame().minX() - start->frame().maxX() - 10;
  slider->setFrame(frame);
  setCurrentPlayState(currentPlayState_);
}

void CmsMediaPlayerBottomView::playBtnPressed() {
  if (auto delegate = bottomDelegate.lock()) delegate->playButtonPressedWithState(currentPlayState_);
}

void CmsMediaPlayerBottomView::progressSliderValueChanging() {
  auto slider = progressSlider.lock();
  if (auto delegate = bottomDelegate.lock(); delegate && slider)
    delegate->progressSliderValueChangingWithValue(slider->value());
}

void CmsMediaPlayerBottomView::progressSliderValueChange() {
  auto slider = progressSlider.lock();
  if (auto delegate = bottomDelegate.lock(); delegate && slider)
    delegate->progressSliderValueChangeWithValue(slider->value());
}

void CmsMediaPlayerBottomView::touchesBegan(const pf::TouchSet& touches, const pf::Event* event) {
  if (touches.size() < 2 && !touches.empty()) {
    const pf::Point at = touches.front()->locationInView(this);
    if (at.x > 0 && at.x < kPlayTouchWidth && at.y >= 0 && at.y < bounds().height()) return playBtnPressed();
  }
  pf::View::touchesBegan(touches, event);
}
