#include "app/controller/qsm/QsmViewClasses.h"

#include "app/controller/ems/EmsViewClasses.h"
#include "app/controller/qsm/QsmAllTableViewCell.h"
#include "app/controller/qsm/QsmAllTableViewController.h"
#include "app/controller/qsm/QsmAllViewController.h"
#include "app/controller/qsm/QsmDescViewController.h"
#include "app/controller/qsm/QsmProcessViewController.h"
#include "app/controller/qsm/QsmQuestionViewController.h"
#include "app/controller/qsm/QsmReplyView.h"
#include "app/controller/qsm/QsmSubmitResultViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/ScrollView.h"

namespace {

template <typename Screen>
void registerQsmScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

void defineQsmListClasses() {
  CmnModuleRootViewController::defineInterface();
  pf::NibRegistry::define<QsmAllViewController>();
  pf::NibRegistry::define<QsmAllTableViewCell>([](pf::NibClassBuilder<QsmAllTableViewCell>& b) {
    b.outlet("titleLabel", &QsmAllTableViewCell::titleLabel)
        .outlet("durationLabel", &QsmAllTableViewCell::durationLabel)
        .outlet("discussImageView", &QsmAllTableViewCell::discussImageView)
        .outlet("bgLeftImageView", &QsmAllTableViewCell::bgLeftImageView)
        .outlet("bgMidImageView", &QsmAllTableViewCell::bgMidImageView)
        .outlet("statusBtn", &QsmAllTableViewCell::statusBtn);
  });
  pf::NibRegistry::define<QsmDescViewController>([](pf::NibClassBuilder<QsmDescViewController>& b) {
    b.outlet("titleLabel", &QsmDescViewController::titleLabel)
        .outlet("durationLabel", &QsmDescViewController::durationLabel)
        .outlet("modeLabel", &QsmDescViewController::modeLabel)
        .outlet("sponsorLabel", &QsmDescViewController::sponsorLabel)
        .outlet("descLabel", &QsmDescViewController::descLabel)
        .outlet("bgTopImageView", &QsmDescViewController::bgTopImageView)
        .outlet("bgMidImageView", &QsmDescViewController::bgMidImageView)
        .outlet("bgBtmImageView", &QsmDescViewController::bgBtmImageView)
        .outlet("replySepImageView", &QsmDescViewController::replySepImageView)
        .outlet("enterBtmView", &QsmDescViewController::enterBtmView)
        .outlet("scrollView", &QsmDescViewController::scrollView)
        .action("enterBtnClick", &QsmDescViewController::enterBtnClick)
        .action("backBtnClick", &QsmDescViewController::backBtnClick);
  });
  pf::NibRegistry::define<QsmReplyView>([](pf::NibClassBuilder<QsmReplyView>& b) {
    b.outlet("titleLabel", &QsmReplyView::titleLabel)
        .outlet("contentLabel", &QsmReplyView::contentLabel)
        .outlet("replyInfoLabel", &QsmReplyView::replyInfoLabel)
        .outlet("bgTopImageView", &QsmReplyView::bgTopImageView)
        .outlet("bgMidImageView", &QsmReplyView::bgMidImageView)
        .outlet("bgBtmImageView", &QsmReplyView::bgBtmImageView);
  });
}

void defineQsmAnsweringClasses() {
  pf::NibRegistry::define<QsmProcessViewController>([](pf::NibClassBuilder<QsmProcessViewController>& b) {
    b.outlet("quesTypeBtn", &QsmProcessViewController::quesTypeBtn)
        .outlet("lastQuesBtn", &QsmProcessViewController::lastQuesBtn)
        .outlet("nextQuesBtn", &QsmProcessViewController::nextQuesBtn)
        .outlet("processLabel", &QsmProcessViewController::processLabel)
        .outlet("questionContainer", &QsmProcessViewController::questionContainer)
        .action("backBtnClick", &QsmProcessViewController::backBtnClick)
        .action("lastBtnClick", &QsmProcessViewController::lastBtnClick)
        .action("nextBtnClick", &QsmProcessViewController::nextBtnClick);
  });
  pf::NibRegistry::define<QsmSubmitResultViewController>(
      [](pf::NibClassBuilder<QsmSubmitResultViewController>& b) {
        b.outlet("bgMidImageView", &QsmSubmitResultViewController::bgMidImageView)
            .outlet("bgBtmImageView", &QsmSubmitResultViewController::bgBtmImageView)
            .action("backBtnClick", &QsmSubmitResultViewController::backBtnClick);
      });
}

}  // namespace

// The question rows are the exam's: their classes come with the exam screens.
void registerQsmViewClasses() {
  registerEmsViewClasses();
  pf::registerClass<QsmAllViewController>();
  pf::registerClass<QsmAllTableViewController>();
  pf::registerClass<QsmDescViewController>();
  pf::registerClass<QsmProcessViewController>();
  pf::registerClass<QsmQuestionViewController>();
  pf::registerClass<QsmSubmitResultViewController>();
  defineQsmListClasses();
  defineQsmAnsweringClasses();
  registerQsmScreen<QsmAllViewController>();
  registerQsmScreen<QsmDescViewController>();
  registerQsmScreen<QsmProcessViewController>();
  registerQsmScreen<QsmSubmitResultViewController>();
}
