#include "app/controller/cms/CmsDetailViewClasses.h"

#include "app/controller/cms/CmsBaseInfoCell.h"
#include "app/controller/cms/CmsBriefCell.h"
#include "app/controller/cms/CmsBriefViewController.h"
#include "app/controller/cms/CmsCommentCell.h"
#include "app/controller/cms/CmsCommentDetailBottomBar.h"
#include "app/controller/cms/CmsCommentDetailCell.h"
#include "app/controller/cms/CmsCommentDetailViewController.h"
#include "app/controller/cms/CmsCommentNumCell.h"
#include "app/controller/cms/CmsCommentReplyCell.h"
#include "app/controller/cms/CmsCommentReplyQtyCell.h"
#include "app/controller/cms/CmsCommentReplyViewController.h"
#include "app/controller/cms/CmsCommentViewController.h"
#include "app/controller/cms/CmsDetailNoCommentCell.h"
#include "app/controller/cms/CmsCourseUnSelectedPromptView.h"
#include "app/controller/cms/CmsDetailBaseViewController.h"
#include "app/controller/cms/CmsDetailViewController.h"
#include "app/controller/cms/CmsRecommandView.h"
#include "app/controller/cms/CmsRecommandViewController.h"
#include "app/controller/cms/CmsStudySelCosCell.h"
#include "app/controller/cms/CmsStudyUnSelCell.h"
#include "app/controller/cms/CmsStudyViewController.h"
#include "app/controller/cms/DownloadCell.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"

namespace {

void defineCmsStudyClasses() {
  pf::NibRegistry::define<DownloadCell>();
  pf::NibRegistry::define<CmsBaseInfoCell>([](pf::NibClassBuilder<CmsBaseInfoCell>& b) {
    b.outlet("courseImgView", &CmsBaseInfoCell::courseImgView)
        .outlet("courseNameLabel", &CmsBaseInfoCell::courseNameLabel)
        .outlet("courseStudyTypeLabel", &CmsBaseInfoCell::courseStudyTypeLabel)
        .outlet("lecturerLabel", &CmsBaseInfoCell::lecturerLabel)
        .outlet("studyTimeLabel", &CmsBaseInfoCell::studyTimeLabel)
        .outlet("studyScoreLabel", &CmsBaseInfoCell::studyScoreLabel)
        .outlet("graduateConditionLabel", &CmsBaseInfoCell::graduateConditionLabel)
        .outlet("courseCatagoryLabel", &CmsBaseInfoCell::courseCatagoryLabel)
        .outlet("courseTypeBgImgView", &CmsBaseInfoCell::courseTypeBgImgView)
        .outlet("backgroundImageView", &CmsBaseInfoCell::backgroundImageView);
  });
  pf::NibRegistry::define<CmsStudySelCosCell>([](pf::NibClassBuilder<CmsStudySelCosCell>& b) {
    b.outlet("playIcon", &CmsStudySelCosCell::playIcon)
        .outlet("progressValueLable", &CmsStudySelCosCell::progressValueLable)
        .outlet("downloadStatusView", &CmsStudySelCosCell::downloadStatusView)
        .outlet("downIcon", &CmsStudySelCosCell::downIcon)
        .outlet("downState", &CmsStudySelCosCell::downState)
        .outlet("checkSymbol", &CmsStudySelCosCell::checkSymbol)
        .outlet("scoNameLabel", &CmsStudySelCosCell::scoNameLabel)
        .outlet("studyProgress", &CmsStudySelCosCell::studyProgress)
        .outlet("courseContentView", &CmsStudySelCosCell::courseContentView)
        .outlet("studyProgressPromptLabel", &CmsStudySelCosCell::studyProgressPromptLabel);
  });
  pf::NibRegistry::define<CmsStudyUnSelCell>([](pf::NibClassBuilder<CmsStudyUnSelCell>& b) {
    b.outlet("icon", &CmsStudyUnSelCell::icon).outlet("sectionName", &CmsStudyUnSelCell::sectionName);
  });
  pf::NibRegistry::define<CmsCourseUnSelectedPromptView>([](pf::NibClassBuilder<CmsCourseUnSelectedPromptView>& b) {
    b.outlet("promptActionBtn", &CmsCourseUnSelectedPromptView::promptActionBtn)
        .outlet("promptLabel", &CmsCourseUnSelectedPromptView::promptLabel)
        .outlet("promptImgView", &CmsCourseUnSelectedPromptView::promptImgView)
        .outlet("srcRectView", &CmsCourseUnSelectedPromptView::srcRectView);
  });
  pf::NibRegistry::define<CmsBriefCell>([](pf::NibClassBuilder<CmsBriefCell>& b) {
    b.outlet("courseBriefView", &CmsBriefCell::courseBriefView).outlet("noResPromptView", &CmsBriefCell::noResPromptView);
  });
}

void defineCmsCommentCells() {
  pf::NibRegistry::define<CmsCommentCell>([](pf::NibClassBuilder<CmsCommentCell>& b) {
    b.outlet("userImgView", &CmsCommentCell::userImgView)
        .outlet("userNameLabel", &CmsCommentCell::userNameLabel)
        .outlet("dateTimeLabel", &CmsCommentCell::dateTimeLabel)
        .outlet("replyQtyLabel", &CmsCommentCell::replyQtyLabel)
        .outlet("commentLabel", &CmsCommentCell::commentLabel)
        .outlet("replyIconImgView", &CmsCommentCell::replyIconImgView)
        .outlet("replyPhaseLabel", &CmsCommentCell::replyPhaseLabel);
  });
  pf::NibRegistry::define<CmsCommentNumCell>([](pf::NibClassBuilder<CmsCommentNumCell>& b) {
    b.outlet("bgImg", &CmsCommentNumCell::bgImg)
        .outlet("leftImg", &CmsCommentNumCell::leftImg)
        .outlet("numPhrase", &CmsCommentNumCell::numPhrase);
  });
  pf::NibRegistry::define<CmsDetailNoCommentCell>();
  pf::NibRegistry::define<CmsCommentDetailCell>([](pf::NibClassBuilder<CmsCommentDetailCell>& b) {
    b.outlet("userImg", &CmsCommentDetailCell::userImg)
        .outlet("userName", &CmsCommentDetailCell::userName)
        .outlet("commentTime", &CmsCommentDetailCell::commentTime)
        .outlet("commentContent", &CmsCommentDetailCell::commentContent);
  });
  pf::NibRegistry::define<CmsCommentReplyCell>([](pf::NibClassBuilder<CmsCommentReplyCell>& b) {
    b.outlet("replyerImg", &CmsCommentReplyCell::replyerImg)
        .outlet("replyName", &CmsCommentReplyCell::replyName)
        .outlet("replyTime", &CmsCommentReplyCell::replyTime)
        .outlet("replyBgImg", &CmsCommentReplyCell::replyBgImg)
        .outlet("replyContent", &CmsCommentReplyCell::replyContent);
  });
  pf::NibRegistry::define<CmsCommentReplyQtyCell>([](pf::NibClassBuilder<CmsCommentReplyQtyCell>& b) {
    b.outlet("replyQty", &CmsCommentReplyQtyCell::replyQty)
        .outlet("replyPhrase", &CmsCommentReplyQtyCell::replyPhrase)
        .outlet("replyQtyBgImg", &CmsCommentReplyQtyCell::replyQtyBgImg);
  });
  pf::NibRegistry::define<CmsCommentDetailBottomBar>([](pf::NibClassBuilder<CmsCommentDetailBottomBar>& b) {
    b.outlet("reply", &CmsCommentDetailBottomBar::reply)
        .outlet("transmit", &CmsCommentDetailBottomBar::transmit)
        .outlet("share", &CmsCommentDetailBottomBar::share);
  });
  pf::NibRegistry::define<CmsCommentReplyViewController>([](pf::NibClassBuilder<CmsCommentReplyViewController>& b) {
    b.outlet("editView", &CmsCommentReplyViewController::editView)
        .outlet("commentReplyView", &CmsCommentReplyViewController::commentReplyView)
        .outlet("wordClearBtn", &CmsCommentReplyViewController::wordClearBtn)
        .outlet("oddWordQty", &CmsCommentReplyViewController::oddWordQty);
  });
}

void defineCmsRecommandClasses() {
  pf::NibRegistry::define<CmsRecommandView>([](pf::NibClassBuilder<CmsRecommandView>& b) {
    b.outlet("imgView", &CmsRecommandView::imgView)
        .outlet("titleLabel", &CmsRecommandView::titleLabel)
        .outlet("contentLabel", &CmsRecommandView::contentLabel)
        .outlet("btn", &CmsRecommandView::btn)
        .action("buttonPressed", &CmsRecommandView::buttonPressed);
  });
  pf::NibRegistry::define<CmsRecommandViewController>([](pf::NibClassBuilder<CmsRecommandViewController>& b) {
    b.outlet("scrollView", &CmsRecommandViewController::scrollView)
        .outlet("pageControl", &CmsRecommandViewController::pageControl);
  });
}

}  // namespace

void registerCmsDetailViewClasses() {
  pf::registerClass<CmsDetailViewController>();
  pf::registerClass<CmsDetailBaseViewController>();
  pf::registerClass<CmsStudyViewController>();
  pf::registerClass<CmsBriefViewController>();
  pf::registerClass<CmsCommentViewController>();
  pf::registerClass<CmsCommentDetailViewController>();
  pf::registerClass<CmsCommentReplyViewController>();
  defineCmsStudyClasses();
  defineCmsCommentCells();
  pf::registerClass<CmsRecommandViewController>();
  defineCmsRecommandClasses();
  ViewUtil::registerScreenClass(CmsRecommandViewController::kClassName, [](const std::string& nibName) {
    return std::make_shared<CmsRecommandViewController>(nibName);
  });
  ViewUtil::registerScreenClass(CmsCommentReplyViewController::kClassName, [](const std::string& nibName) {
    return std::make_shared<CmsCommentReplyViewController>(nibName);
  });
  ViewUtil::registerScreenClass(CmsDetailViewController::kClassName,
                                [](const std::string&) { return std::make_shared<CmsDetailViewController>(); });
}
