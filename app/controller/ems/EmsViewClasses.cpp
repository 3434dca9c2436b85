#include "app/controller/ems/EmsViewClasses.h"

#include "app/components/photozoom/PhotoZoomController.h"
#include "app/controller/ems/EmsAllTableViewCell.h"
#include "app/controller/ems/EmsAllTableViewController.h"
#include "app/controller/ems/EmsAllViewController.h"
#include "app/controller/ems/EmsDescViewController.h"
#include "app/controller/ems/EmsProcessViewController.h"
#include "app/controller/ems/EmsQuestionAnswerCell.h"
#include "app/controller/ems/EmsQuestionItemCell.h"
#include "app/controller/ems/EmsQuestionTextViewCell.h"
#include "app/controller/ems/EmsQuestionTitleCell.h"
#include "app/controller/ems/EmsQuestionViewController.h"
#include "app/controller/ems/EmsShowAllQuesViewController.h"
#include "app/controller/ems/EmsShowQuesBtnView.h"
#include "app/controller/ems/EmsSubmitResultViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/TextView.h"
#include "ui/base/BaseTextView.h"

namespace {

template <typename Screen>
void registerEmsScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

void defineEmsListClasses() {
  CmnModuleRootViewController::defineInterface();
  pf::NibRegistry::define<EmsAllViewController>();
  pf::NibRegistry::define<EmsAllTableViewCell>([](pf::NibClassBuilder<EmsAllTableViewCell>& b) {
    b.outlet("examNameLabel", &EmsAllTableViewCell::examNameLabel)
        .outlet("scoreLabel", &EmsAllTableViewCell::scoreLabel)
        .outlet("statusLabel", &EmsAllTableViewCell::statusLabel)
        .outlet("examTimeLabel", &EmsAllTableViewCell::examTimeLabel)
        .outlet("scoreIconImageView", &EmsAllTableViewCell::scoreIconImageView)
        .outlet("scoreBtmImageView", &EmsAllTableViewCell::scoreBtmImageView);
  });
  pf::NibRegistry::define<EmsDescViewController>([](pf::NibClassBuilder<EmsDescViewController>& b) {
    b.outlet("examNameLabel", &EmsDescViewController::examNameLabel)
        .outlet("examTimeLabel", &EmsDescViewController::examTimeLabel)
        .outlet("durationLabel", &EmsDescViewController::durationLabel)
        .outlet("passScoreLabel", &EmsDescViewController::passScoreLabel)
        .outlet("creditLabel", &EmsDescViewController::creditLabel)
        .outlet("sponsorLabel", &EmsDescViewController::sponsorLabel)
        .outlet("descriptionTextView", &EmsDescViewController::descriptionTextView)
        .outlet("enterExamBtn", &EmsDescViewController::enterExamBtn)
        .outlet("enterMakeupExamBtn", &EmsDescViewController::enterMakeupExamBtn)
        .outlet("viewAnswerBtn", &EmsDescViewController::viewAnswerBtn)
        .action("enterBtnClick", &EmsDescViewController::enterBtnClick)
        .action("enterMakeupBtnClick", &EmsDescViewController::enterMakeupBtnClick)
        .action("viewAnswerBtnClick", &EmsDescViewController::viewAnswerBtnClick)
        .action("backBtnClick", &EmsDescViewController::backBtnClick);
  });
}

void defineEmsProcessClasses() {
  pf::NibRegistry::define<EmsProcessViewController>([](pf::NibClassBuilder<EmsProcessViewController>& b) {
    b.outlet("examNameLabel", &EmsProcessViewController::examNameLabel)
        .outlet("examProcessLabel", &EmsProcessViewController::examProcessLabel)
        .outlet("leftTimeLabel", &EmsProcessViewController::leftTimeLabel)
        .outlet("quesTypeBtn", &EmsProcessViewController::quesTypeBtn)
        .outlet("lastQuesBtn", &EmsProcessViewController::lastQuesBtn)
        .outlet("nextQuesBtn", &EmsProcessViewController::nextQuesBtn)
        .outlet("backBtn", &EmsProcessViewController::backBtn)
        .outlet("viewAllBtn", &EmsProcessViewController::viewAllBtn)
        .outlet("questionContainer", &EmsProcessViewController::questionContainer)
        .action("backBtnClick", &EmsProcessViewController::backBtnClick)
        .action("lastBtnClick", &EmsProcessViewController::lastBtnClick)
        .action("nextBtnClick", &EmsProcessViewController::nextBtnClick)
        .action("viewAllBtnClick", &EmsProcessViewController::viewAllBtnClick);
  });
  pf::NibRegistry::define<EmsQuestionTitleCell>([](pf::NibClassBuilder<EmsQuestionTitleCell>& b) {
    b.outlet("contentLabel", &EmsQuestionTitleCell::contentLabel);
  });
  pf::NibRegistry::define<EmsQuestionItemCell>([](pf::NibClassBuilder<EmsQuestionItemCell>& b) {
    b.outlet("selectionImageView", &EmsQuestionItemCell::selectionImageView)
        .outlet("contentLabel", &EmsQuestionItemCell::contentLabel);
  });
  pf::NibRegistry::define<EmsQuestionTextViewCell>([](pf::NibClassBuilder<EmsQuestionTextViewCell>& b) {
    b.outlet("contentTextView", &EmsQuestionTextViewCell::contentTextView);
  });
  pf::NibRegistry::define<EmsQuestionAnswerCell>([](pf::NibClassBuilder<EmsQuestionAnswerCell>& b) {
    b.outlet("answer", &EmsQuestionAnswerCell::answer)
        .outlet("analysisTitle", &EmsQuestionAnswerCell::analysisTitle)
        .outlet("analysis", &EmsQuestionAnswerCell::analysis);
  });
}

void defineEmsResultClasses() {
  pf::NibRegistry::define<EmsSubmitResultViewController>([](pf::NibClassBuilder<EmsSubmitResultViewController>& b) {
    b.outlet("emotionImageView", &EmsSubmitResultViewController::emotionImageView)
        .outlet("resultContentLabel", &EmsSubmitResultViewController::resultContentLabel)
        .outlet("resultScoreLabel", &EmsSubmitResultViewController::resultScoreLabel)
        .outlet("viewAnswerBtn", &EmsSubmitResultViewController::viewAnswerBtn)
        .action("viewAnswerBtnClick", &EmsSubmitResultViewController::viewAnswerBtnClick)
        .action("returnBtnClick", &EmsSubmitResultViewController::returnBtnClick);
  });
  pf::NibRegistry::define<EmsShowAllQuesViewController>([](pf::NibClassBuilder<EmsShowAllQuesViewController>& b) {
    b.outlet("scorePreffixLabel", &EmsShowAllQuesViewController::scorePreffixLabel)
        .outlet("scoreLabel", &EmsShowAllQuesViewController::scoreLabel)
        .outlet("scoreSuffixLabel", &EmsShowAllQuesViewController::scoreSuffixLabel)
        .outlet("leftTimeLabel", &EmsShowAllQuesViewController::leftTimeLabel)
        .outlet("processLabel", &EmsShowAllQuesViewController::processLabel)
        .outlet("quesTableView", &EmsShowAllQuesViewController::quesTableView)
        .action("backBtnClick", &EmsShowAllQuesViewController::backBtnClick);
  });
  pf::NibRegistry::define<EmsShowQuesBtnView>([](pf::NibClassBuilder<EmsShowQuesBtnView>& b) {
    b.outlet("bgBtn", &EmsShowQuesBtnView::bgBtn)
        .outlet("quesNoLabel", &EmsShowQuesBtnView::quesNoLabel)
        .outlet("resultImageView", &EmsShowQuesBtnView::resultImageView)
        .action("bgBtnClick", &EmsShowQuesBtnView::bgBtnClick);
  });
}

}  // namespace

void registerEmsViewClasses() {
  pf::registerClass<EmsAllViewController>();
  pf::registerClass<EmsAllTableViewController>();
  pf::registerClass<EmsDescViewController>();
  pf::registerClass<EmsProcessViewController>();
  pf::registerClass<EmsQuestionViewController>();
  pf::registerClass<EmsSubmitResultViewController>();
  pf::registerClass<EmsShowAllQuesViewController>();
  BaseTextView::registerForInterfaceFiles();
  // Question pictures zoom on the photo zoom's own screen.
  PhotoZoomController::registerForInterfaceFiles();
  defineEmsListClasses();
  defineEmsProcessClasses();
  defineEmsResultClasses();
  registerEmsScreen<EmsAllViewController>();
  registerEmsScreen<EmsDescViewController>();
  registerEmsScreen<EmsProcessViewController>();
  registerEmsScreen<EmsSubmitResultViewController>();
}
