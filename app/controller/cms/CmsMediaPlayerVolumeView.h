#pragma once
// The video player's volume strip: a slider from 0 to 1 for the device volume. Any touch that begins
// on it tells the owner, which keeps the bars up.
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsMediaPlayerVolumeViewDelegate.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/View.h"

namespace pf {
class Slider;
}

class CmsMediaPlayerVolumeView : public pf::View {
  PF_OBJECT(CmsMediaPlayerVolumeView, pf::View)

  std::weak_ptr<CmsMediaPlayerVolumeViewDelegate> volumeDelegate;
  std::weak_ptr<pf::Slider> volumeSlider;

  void volumeSliderValueChanging();
  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;
};
