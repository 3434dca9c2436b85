#include "app/controller/ans/AnsListViewClasses.h"

#include <string>

#include "app/controller/ans/AnsMainViewController.h"
#include "app/controller/ans/AnsNoResPromptViewController.h"
#include "app/controller/ans/AnsQuesListCell.h"
#include "app/controller/ans/AnsQuesViewController.h"
#include "app/controller/ans/AnsTabBar.h"
#include "app/controller/ans/AnsTopicTabBar.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"

namespace {

template <typename Screen>
void registerAnsListScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

}  // namespace

void registerAnsListViewClasses() {
  pf::registerClass<AnsMainViewController>();
  pf::registerClass<AnsQuesViewController>();
  pf::registerClass<AnsNoResPromptViewController>();
  pf::NibRegistry::define<AnsQuesViewController>();
  pf::NibRegistry::define<AnsQuesListCell>([](pf::NibClassBuilder<AnsQuesListCell>& b) {
    b.outlet("questionContentLabel", &AnsQuesListCell::questionContentLabel)
        .outlet("quizerLabel", &AnsQuesListCell::quizerLabel)
        .outlet("quizTimeLabel", &AnsQuesListCell::quizTimeLabel)
        .outlet("answerQtyLabel", &AnsQuesListCell::answerQtyLabel)
        .outlet("userImgView", &AnsQuesListCell::userImgView);
  });
  pf::NibRegistry::define<AnsTabBar>([](pf::NibClassBuilder<AnsTabBar>& b) {
    b.outlet("backgroundImageView", &AnsTabBar::backgroundImageView)
        .action("itemTouchDown", &AnsTabBar::itemTouchDown)
        .action("selectedItem", &AnsTabBar::selectedItem)
        .action("touchCanceled", &AnsTabBar::touchCanceled);
  });
  // Its outlets and actions are the bar's.
  pf::NibRegistry::define<AnsTopicTabBar>();
  pf::NibRegistry::define<AnsNoResPromptViewController>(
      [](pf::NibClassBuilder<AnsNoResPromptViewController>& b) {
        b.outlet("iconImgView", &AnsNoResPromptViewController::iconImgView)
            .outlet("promptLabel", &AnsNoResPromptViewController::promptLabel);
      });
  // The tab bar controller builds its own view: no interface file.
  ViewUtil::registerScreenClass(AnsMainViewController::kClassName,
                                [](const std::string&) { return std::make_shared<AnsMainViewController>(); });
  registerAnsListScreen<AnsQuesViewController>();
  registerAnsListScreen<AnsNoResPromptViewController>();
}
