#include "app/controller/cms/CmsMediaPlayerVolumeView.h"

#include "platform/ui/Slider.h"

void CmsMediaPlayerVolumeView::volumeSliderValueChanging() {
  auto slider = volumeSlider.lock();
  if (auto delegate = volumeDelegate.lock(); delegate && slider) delegate->setSystemVolume(slider->value());
}

void CmsMediaPlayerVolumeView::touchesBegan(const pf::TouchSet& touches, const pf::Event* event) {
  if (auto delegate = volumeDelegate.lock()) delegate->touchBeginVolumeView();
  pf::View::touchesBegan(touches, event);
}
