#include "app/controller/ems/EmsSubmitResultViewController.h"

#include "app/controller/ems/EmsAllViewController.h"
#include "app/controller/ems/EmsProcessViewController.h"
#include "app/model/ems/EmsExam.h"
#include "app/service/cmn/CommonService.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/extension/NavigationControllerKivExtension.h"

EmsSubmitResultViewController::EmsSubmitResultViewController() = default;
EmsSubmitResultViewController::EmsSubmitResultViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
EmsSubmitResultViewController::~EmsSubmitResultViewController() = default;

bool EmsSubmitResultViewController::showsViewAnswer(const EmsExam& shown) {
  if (shown.allowViewOldAnswer == "no") return false;
  if (shown.examCount <= 0) return false;
  if (shown.examCount == 1) return shown.status != EmsExam::kJoinUnsubmit;
  return true;
}

void EmsSubmitResultViewController::initService() {
  commonService = std::make_shared<CommonService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void EmsSubmitResultViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (!exam) return;
  if (auto button = viewAnswerBtn.lock()) button->setHidden(!showsViewAnswer(*exam));
  if (auto score = resultScoreLabel.lock()) {
    score->setHidden(exam->status == EmsExam::kUnjudged);
    score->setText(pf::format("%1.0f", exam->displayUserScore()));
  }
  const char* text = nullptr;
  const char* picture = nullptr;
  if (exam->status == EmsExam::kUnjudged) {
    text = kWaitingText;
    picture = "EMS_SRZT_emotion_wait.png";
  } else if (exam->status == EmsExam::kPassed) {
    text = kPassedText;
    picture = "EMS_SRZT_emotion_pass.png";
  } else if (exam->status == EmsExam::kUnpassed) {
    text = kUnpassedText;
    picture = "EMS_SRZT_emotion_unpass.png";
  }
  if (!text) return;
  if (auto label = resultContentLabel.lock()) label->setText(text);
  if (auto emotion = emotionImageView.lock())
    emotion->setImage(pf::Image::named(picture, pf::Screen::mainScreen().scale()));
}

void EmsSubmitResultViewController::viewAnswerBtnClick() {
  auto navigation = navigationController();
  if (!navigation) return;
  auto process = std::dynamic_pointer_cast<EmsProcessViewController>(
      NavigationControllerKivExtension::findViewControllerInStackWithClass(*navigation,
                                                                           &EmsProcessViewController::staticClass()));
  if (!process) return;
  process->exam = exam;
  process->viewAnswerMode = true;
  process->initViewValues();
  process->showQuestionWithQuesIndex(0);
  navigation->popToViewController(process, true);
}

void EmsSubmitResultViewController::returnBtnClick() {
  auto navigation = navigationController();
  if (!navigation) return;
  if (auto root = std::dynamic_pointer_cast<EmsAllViewController>(navigation->viewControllers().front()))
    root->refreshAllData();
  navigation->popToRootViewControllerAnimated(true);
}
