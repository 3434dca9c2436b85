#include "app/controller/cms/CmsPlayerViewClasses.h"

#include "app/controller/cms/CmsCosDownloadedCell.h"
#include "app/controller/cms/CmsDetailDownloadCell.h"
#include "app/controller/cms/CmsDownloadCourseViewController.h"
#include "app/controller/cms/CmsDownloadDeleteBar.h"
#include "app/controller/cms/CmsDownloadSwitchBar.h"
#include "app/controller/cms/CmsDownloadingCell.h"
#include "app/controller/cms/CmsScoDownloadedCell.h"
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
#include "platform/ui/ProgressView.h"
#include "platform/ui/TableView.h"
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

void defineCmsDownloadManager() {
  pf::NibRegistry::define<CmsDownloadCourseViewController>(
      [](pf::NibClassBuilder<CmsDownloadCourseViewController>& b) {
        b.outlet("downloadContentView", &CmsDownloadCourseViewController::downloadContentView)
            .outlet("noDownloadInfoPromptView", &CmsDownloadCourseViewController::noDownloadInfoPromptView)
            .outlet("downloadPromptTitleLabel", &CmsDownloadCourseViewController::downloadPromptTitleLabel)
            .outlet("downloadPromptLabel1", &CmsDownloadCourseViewController::downloadPromptLabel1)
            .outlet("downloadPromptLabel2", &CmsDownloadCourseViewController::downloadPromptLabel2);
      });
  pf::NibRegistry::define<CmsDownloadSwitchBar>([](pf::NibClassBuilder<CmsDownloadSwitchBar>& b) {
    b.outlet("switchItemSelectedSymbolL", &CmsDownloadSwitchBar::switchItemSelectedSymbolL)
        .outlet("switchItemSelectedSymbolR", &CmsDownloadSwitchBar::switchItemSelectedSymbolR)
        .outlet("downloadingLabel", &CmsDownloadSwitchBar::downloadingLabel)
        .outlet("downloadedLabel", &CmsDownloadSwitchBar::downloadedLabel)
        .outlet("downloadingBtn", &CmsDownloadSwitchBar::downloadingBtn)
        .outlet("downloadedBtn", &CmsDownloadSwitchBar::downloadedBtn)
        .action("downloadingBtnClick", &CmsDownloadSwitchBar::downloadingBtnClick)
        .action("downloadedBtnClick", &CmsDownloadSwitchBar::downloadedBtnClick);
  });
  pf::NibRegistry::define<CmsDownloadDeleteBar>([](pf::NibClassBuilder<CmsDownloadDeleteBar>& b) {
    b.outlet("rightLabel", &CmsDownloadDeleteBar::rightLabel)
        .outlet("leftLabel", &CmsDownloadDeleteBar::leftLabel)
        .outlet("leftBtn", &CmsDownloadDeleteBar::leftBtn)
        .outlet("selectAllBtn", &CmsDownloadDeleteBar::selectAllBtn)
        .outlet("deletebtn", &CmsDownloadDeleteBar::deletebtn)
        .action("selectAllBtnClick", &CmsDownloadDeleteBar::selectAllBtnClick)
        .action("deleteBtnClick", &CmsDownloadDeleteBar::deleteBtnClick);
  });
  pf::NibRegistry::define<CmsDownloadingCell>([](pf::NibClassBuilder<CmsDownloadingCell>& b) {
    b.outlet("courseImgView", &CmsDownloadingCell::courseImgView)
        .outlet("scoNameLabel", &CmsDownloadingCell::scoNameLabel)
        .outlet("courseNameLabel", &CmsDownloadingCell::courseNameLabel)
        .outlet("downloadProgressBar", &CmsDownloadingCell::downloadProgressBar)
        .outlet("downloadPromptLabel", &CmsDownloadingCell::downloadPromptLabel)
        .outlet("courseContentView", &CmsDownloadingCell::courseContentView)
        .outlet("checkSymbol", &CmsDownloadingCell::checkSymbol)
        .outlet("downloadStateLabel", &CmsDownloadingCell::downloadStateLabel)
        .outlet("downloadStatusImageView", &CmsDownloadingCell::downloadStatusImageView);
  });
  pf::NibRegistry::define<CmsCosDownloadedCell>([](pf::NibClassBuilder<CmsCosDownloadedCell>& b) {
    b.outlet("courseImg", &CmsCosDownloadedCell::courseImg)
        .outlet("scoDownloadedNumLabel", &CmsCosDownloadedCell::scoDownloadedNumLabel)
        .outlet("courseTitleLabel", &CmsCosDownloadedCell::courseTitleLabel)
        .outlet("courseContentView", &CmsCosDownloadedCell::courseContentView)
        .outlet("checkSymbol", &CmsCosDownloadedCell::checkSymbol);
  });
  pf::NibRegistry::define<CmsScoDownloadedCell>([](pf::NibClassBuilder<CmsScoDownloadedCell>& b) {
    b.outlet("leftImgView", &CmsScoDownloadedCell::leftImgView)
        .outlet("titleLabel", &CmsScoDownloadedCell::titleLabel)
        .outlet("downloadedProgressLabel", &CmsScoDownloadedCell::downloadedProgressLabel);
  });
}

}  // namespace

void registerCmsPlayerViewClasses() {
  pf::registerClass<MeidaPlayer>();
  pf::registerClass<CmsMediaPlayerViewController>();
  pf::registerClass<CmsMainMediaPlayerViewController>();
  pf::registerClass<CmsOnlylecturePlayerViewController>();
  pf::registerClass<CmsDownloadViewCotnroller>();
  pf::registerClass<CmsDownloadCourseViewController>();
  defineCmsPlayerBars();
  defineCmsDownloadManager();
  ViewUtil::registerScreenClass(CmsDownloadCourseViewController::kClassName, [](const std::string& nibName) {
    return std::make_shared<CmsDownloadCourseViewController>(nibName);
  });
  ViewUtil::registerScreenClass(CmsMediaPlayerViewController::kClassName, [](const std::string& nibName) {
    return std::make_shared<CmsMediaPlayerViewController>(nibName);
  });
}
