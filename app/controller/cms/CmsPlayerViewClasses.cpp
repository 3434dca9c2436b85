#include "app/controller/cms/CmsPlayerViewClasses.h"

#include "app/controller/cms/CmsDetailDownloadCell.h"
#include "app/controller/cms/CmsDownloadViewCotnroller.h"
#include "app/controller/cms/CmsMainMediaPlayerViewController.h"
#include "app/controller/cms/CmsMediaPlayerBottomView.h"
#include "app/controller/cms/CmsMediaPlayerHeaderView.h"
#include "app/controller/cms/CmsMediaPlayerViewController.h"
#include "app/controller/cms/CmsMediaPlayerVolumeView.h"
#include "app/controller/cms/CmsOnlylecturePlayerViewController.h"
#include "app/controller/cms/MeidaPlayer.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/Slider.h"

namespace {

void defineCmsPlayerBars() {
  pf::NibRegistry::define<CmsMediaPlayerHeaderView>([](pf::NibClassBuilder<CmsMediaPlayerHeaderView>& b) {
    b.outlet("titleLabel", &CmsMediaPlayerHeaderView::titleLabel)
        .outlet("lectureBtn", &CmsMediaPlayerHeaderView::lectureBtn)
        .action("backBtnPressed", &CmsMediaPlayerHeaderView::backBtnPressed)
        .action("lectureBtnPressed", &CmsMediaPlayerHeaderView::lectureBtnPressed);
  });
  pf::NibRegistry::define<CmsMediaPlayerBottomView>([](pf::NibClassBuilder<CmsMediaPlayerBottomView>& b) {
    b.outlet("playBtn", &CmsMediaPlayerBottomView::playBtn)
        .outlet("startTimeLabel", &CmsMediaPlayerBottomView::startTimeLabel)
        .outlet("endTimeLabel", &CmsMediaPlayerBottomView::endTimeLabel)
        .outlet("progressSlider", &CmsMediaPlayerBottomView::progressSlider)
        .action("playBtnPressed", &CmsMediaPlayerBottomView::playBtnPressed)
        .action("progressSliderValueChanging", &CmsMediaPlayerBottomView::progressSliderValueChanging)
        .action("progressSliderValueChange", &CmsMediaPlayerBottomView::progressSliderValueChange);
  });
  pf::NibRegistry::define<CmsMediaPlayerVolumeView>([](pf::NibClassBuilder<CmsMediaPlayerVolumeView>& b) {
    b.outlet("volumeSlider", &CmsMediaPlayerVolumeView::volumeSlider)
        .action("volumeSliderValueChanging", &CmsMediaPlayerVolumeView::volumeSliderValueChanging);
  });
  pf::NibRegistry::define<CmsDetailDownloadCell>([](pf::NibClassBuilder<CmsDetailDownloadCell>& b) {
    b.outlet("sectionName", &CmsDetailDownloadCell::sectionName)
        .outlet("palyIconImgView", &CmsDetailDownloadCell::palyIconImgView)
        .outlet("downloadStateView", &CmsDetailDownloadCell::downloadStateView)
        .outlet("downloadStateBgBtn", &CmsDetailDownloadCell::downloadStateBgBtn)
        .outlet("downloadStateImgBtn", &CmsDetailDownloadCell::downloadStateImgBtn)
        .outlet("downloadStateLabel", &CmsDetailDownloadCell::downloadStateLabel)
        .action("downloadBtnClick", &CmsDetailDownloadCell::downloadBtnClick);
  });
  pf::NibRegistry::define<MeidaPlayer>();
  pf::NibRegistry::define<CmsMediaPlayerViewController>();
}

}  // namespace

void registerCmsPlayerViewClasses() {
  pf::registerClass<MeidaPlayer>();
  pf::registerClass<CmsMediaPlayerViewController>();
  pf::registerClass<CmsMainMediaPlayerViewController>();
  pf::registerClass<CmsOnlylecturePlayerViewController>();
  pf::registerClass<CmsDownloadViewCotnroller>();
  defineCmsPlayerBars();
  ViewUtil::registerScreenClass(CmsMediaPlayerViewController::kClassName, [](const std::string& nibName) {
    return std::make_shared<CmsMediaPlayerViewController>(nibName);
  });
}
