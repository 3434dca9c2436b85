#include "app/controller/ans/AnsDetailViewClasses.h"

#include <string>

#include "app/components/richlabel/RichLabel.h"
#include "app/controller/ans/AnsDistributeView.h"
#include "app/controller/ans/AnsModifyView.h"
#include "app/controller/ans/AnsPesnViewController.h"
#include "app/controller/ans/AnsQuesAnswerCell.h"
#include "app/controller/ans/AnsQuesAnswerCountCell.h"
#include "app/controller/ans/AnsQuesDetailCell.h"
#include "app/controller/ans/AnsQuesDetailContentViewController.h"
#include "app/controller/ans/AnsQuesDetailViewController.h"
#include "app/controller/ans/AnsQuesQuizViewController.h"
#include "app/controller/ans/AnsTopicDetailContentViewController.h"
#include "app/controller/ans/AnsTopicDetailViewController.h"
#include "app/controller/ans/AnsTopicFocusCell.h"
#include "app/controller/ans/AnsTopicViewCell.h"
#include "app/controller/ans/AnsTopicViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/TextView.h"
#include "ui/base/BaseScrollView.h"
#include "ui/base/BaseTextView.h"

namespace {

template <typename Screen>
void registerAnsDetailScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

void defineAnsEditorClasses() {
  pf::NibRegistry::define<AnsDistributeView>([](pf::NibClassBuilder<AnsDistributeView>& b) {
    b.outlet("editView", &AnsDistributeView::editView)
        .outlet("leftBtn", &AnsDistributeView::leftBtn)
        .outlet("rightBtn", &AnsDistributeView::rightBtn)
        .outlet("numBtn", &AnsDistributeView::numBtn)
        .outlet("leftBgItem", &AnsDistributeView::leftBgItem)
        .outlet("rightBgItem", &AnsDistributeView::rightBgItem)
        .outlet("numBgItem", &AnsDistributeView::numBgItem)
        .outlet("editBgImgView", &AnsDistributeView::editBgImgView)
        .outlet("topTitleLabel", &AnsDistributeView::topTitleLabel)
        .outlet("contentView", &AnsDistributeView::contentView)
        .action("leftTouchDown", &AnsDistributeView::leftTouchDown)
        .action("rightTouchDown", &AnsDistributeView::rightTouchDown)
        .action("selectedLeftBtn", &AnsDistributeView::selectedLeftBtn)
        .action("selectedRightBtn", &AnsDistributeView::selectedRightBtn);
  });
  pf::NibRegistry::define<AnsModifyView>([](pf::NibClassBuilder<AnsModifyView>& b) {
    b.outlet("topicEditView", &AnsModifyView::topicEditView);
  });
  pf::NibRegistry::define<AnsQuesQuizViewController>([](pf::NibClassBuilder<AnsQuesQuizViewController>& b) {
    b.outlet("questionView", &AnsQuesQuizViewController::questionView)
        .outlet("topicView", &AnsQuesQuizViewController::topicView)
        .outlet("inputQtyLabel", &AnsQuesQuizViewController::inputQtyLabel)
        .outlet("tranSelectedBtn", &AnsQuesQuizViewController::tranSelectedBtn)
        .outlet("wordClearBtn", &AnsQuesQuizViewController::wordClearBtn)
        .outlet("wordClearBtnb", &AnsQuesQuizViewController::wordClearBtnb)
        .outlet("upView", &AnsQuesQuizViewController::upView)
        .outlet("downView", &AnsQuesQuizViewController::downView)
        .action("distributeQues", &AnsQuesQuizViewController::distributeQues)
        .action("wordClear", &AnsQuesQuizViewController::wordClear)
        .action("selectBtnClick", &AnsQuesQuizViewController::selectBtnClick);
  });
}

void defineAnsDetailListClasses() {
  pf::NibRegistry::define<AnsQuesDetailViewController>();
  pf::NibRegistry::define<AnsQuesDetailContentViewController>();
  pf::NibRegistry::define<AnsQuesDetailCell>([](pf::NibClassBuilder<AnsQuesDetailCell>& b) {
    b.outlet("quizerImg", &AnsQuesDetailCell::quizerImg)
        .outlet("questionDetailLabel", &AnsQuesDetailCell::questionDetailLabel)
        .outlet("quizerNameLabel", &AnsQuesDetailCell::quizerNameLabel)
        .outlet("quizDateLabel", &AnsQuesDetailCell::quizDateLabel)
        .outlet("editbtn", &AnsQuesDetailCell::editbtn)
        .action("editQuesBtnClick", &AnsQuesDetailCell::editQuesBtnClick);
  });
  pf::NibRegistry::define<AnsQuesAnswerCountCell>([](pf::NibClassBuilder<AnsQuesAnswerCountCell>& b) {
    b.outlet("answerCountLabel", &AnsQuesAnswerCountCell::answerCountLabel);
  });
  pf::NibRegistry::define<AnsQuesAnswerCell>([](pf::NibClassBuilder<AnsQuesAnswerCell>& b) {
    b.outlet("replyerIconImgView", &AnsQuesAnswerCell::replyerIconImgView)
        .outlet("replyerNameLabel", &AnsQuesAnswerCell::replyerNameLabel)
        .outlet("replyDateLabel", &AnsQuesAnswerCell::replyDateLabel)
        .outlet("replyContentLabel", &AnsQuesAnswerCell::replyContentLabel)
        .outlet("agreeCountLabel", &AnsQuesAnswerCell::agreeCountLabel)
        .outlet("agreeBtn", &AnsQuesAnswerCell::agreeBtn)
        .outlet("editBtn", &AnsQuesAnswerCell::editBtn)
        .outlet("detailEditBtn", &AnsQuesAnswerCell::detailEditBtn)
        .outlet("cellTopImgView", &AnsQuesAnswerCell::cellTopImgView)
        .action("agreeBtnClick", &AnsQuesAnswerCell::agreeBtnClick)
        .action("editBtnClick", &AnsQuesAnswerCell::editBtnClick);
  });
}

void defineAnsTopicClasses() {
  pf::NibRegistry::define<AnsTopicViewController>();
  pf::NibRegistry::define<AnsTopicDetailViewController>();
  pf::NibRegistry::define<AnsTopicDetailContentViewController>();
  pf::NibRegistry::define<AnsTopicViewCell>([](pf::NibClassBuilder<AnsTopicViewCell>& b) {
    b.outlet("topicTitleLabel", &AnsTopicViewCell::topicTitleLabel)
        .outlet("topicCountLabel", &AnsTopicViewCell::topicCountLabel);
  });
  pf::NibRegistry::define<AnsTopicFocusCell>([](pf::NibClassBuilder<AnsTopicFocusCell>& b) {
    b.outlet("cellBgView", &AnsTopicFocusCell::cellBgView)
        .outlet("topicTittleLabel", &AnsTopicFocusCell::topicTittleLabel)
        .outlet("focusLabel", &AnsTopicFocusCell::focusLabel)
        .outlet("focusedBtn", &AnsTopicFocusCell::focusedBtn)
        .action("focusedBtnClick", &AnsTopicFocusCell::focusedBtnClick);
  });
  pf::NibRegistry::define<AnsPesnViewController>([](pf::NibClassBuilder<AnsPesnViewController>& b) {
    b.outlet("userImgView", &AnsPesnViewController::userImgView)
        .outlet("userNameLabel", &AnsPesnViewController::userNameLabel)
        .outlet("quizCountLabel", &AnsPesnViewController::quizCountLabel)
        .outlet("answerCountLabel", &AnsPesnViewController::answerCountLabel)
        .outlet("collectCountLabel", &AnsPesnViewController::collectCountLabel)
        .outlet("topicCountLabel", &AnsPesnViewController::topicCountLabel)
        .action("willSelectedItem", &AnsPesnViewController::willSelectedItem)
        .action("itemSelectedCanceled", &AnsPesnViewController::itemSelectedCanceled)
        .action("selectedItem", &AnsPesnViewController::selectedItem);
  });
}

}  // namespace

void registerAnsDetailViewClasses() {
  pf::registerClass<AnsQuesDetailViewController>();
  pf::registerClass<AnsQuesDetailContentViewController>();
  pf::registerClass<AnsQuesQuizViewController>();
  pf::registerClass<AnsTopicViewController>();
  pf::registerClass<AnsTopicDetailViewController>();
  pf::registerClass<AnsTopicDetailContentViewController>();
  pf::registerClass<AnsPesnViewController>();
  BaseTextView::registerForInterfaceFiles();
  BaseScrollView::registerForInterfaceFiles();
  RichLabel::registerForInterfaceFiles();
  defineAnsEditorClasses();
  defineAnsDetailListClasses();
  defineAnsTopicClasses();
  registerAnsDetailScreen<AnsQuesDetailViewController>();
  registerAnsDetailScreen<AnsQuesDetailContentViewController>();
  registerAnsDetailScreen<AnsQuesQuizViewController>();
  registerAnsDetailScreen<AnsTopicViewController>();
  registerAnsDetailScreen<AnsTopicDetailViewController>();
  registerAnsDetailScreen<AnsTopicDetailContentViewController>();
  registerAnsDetailScreen<AnsPesnViewController>();
}
