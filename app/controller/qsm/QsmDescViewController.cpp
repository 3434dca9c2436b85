#include "app/controller/qsm/QsmDescViewController.h"

#include "app/controller/qsm/QsmAllTableViewCell.h"
#include "app/controller/qsm/QsmProcessViewController.h"
#include "app/controller/qsm/QsmReplyView.h"
#include "app/model/qsm/QsmSurvey.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "core/util/StringUtil.h"
#include "platform/foundation/Format.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/extension/LabelKivExtension.h"

namespace {

constexpr char kQsmSurveyModeDictionary[] = "SurveyMode";

void qsmDescMoveTo(pf::View& view, double y) {
  pf::Rect frame = view.frame();
  frame.origin.y = y;
  view.setFrame(frame);
}

}  // namespace

QsmDescViewController::QsmDescViewController() = default;
QsmDescViewController::QsmDescViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
QsmDescViewController::~QsmDescViewController() = default;

void QsmDescViewController::initService() {
  commonService =
      std::make_shared<CommonService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void QsmDescViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  if (auto scroll = scrollView.lock()) scrollHeight_ = scroll->frame().height();
  if (!survey) return;
  if (auto label = titleLabel.lock()) label->setText(survey->surveyName.value_or(""));
  if (auto label = durationLabel.lock()) label->setText(survey->durationText());
  if (auto label = modeLabel.lock()) {
    const auto resources = commonService ? commonService->resources() : nullptr;
    const pf::Value mode =
        resources ? resources->valueForResourceKey(survey->surveyMode.value_or(""), kQsmSurveyModeDictionary)
                  : pf::Value();
    label->setText(mode.string() ? *mode.string() : "");
  }
  if (auto label = sponsorLabel.lock()) label->setText(survey->sponsor.value_or(""));
  if (auto label = descLabel.lock()) label->setText(survey->comments.value_or(""));
  initReplyViews();
}

void QsmDescViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  if (auto deck = panelDeckController(*this)) deck->setEnabled(false);
}

void QsmDescViewController::initReplyViews() {
  if (!survey->replyList) return;
  auto scroll = scrollView.lock();
  for (const auto& reply : *survey->replyList) {
    auto replyView =
        std::dynamic_pointer_cast<QsmReplyView>(ViewUtil::viewFromNibOfClass(QsmReplyView::kClassName));
    if (!replyView || !reply) continue;
    if (auto label = replyView->titleLabel.lock()) label->setText(reply->title.value_or(""));
    if (auto label = replyView->contentLabel.lock()) label->setText(reply->content.value_or(""));
    if (auto label = replyView->replyInfoLabel.lock())
      label->setText(pf::format(
          "%@ %@", reply->userName.value_or(""),
          CommonUtil::parseStringResultOfDate(reply->createTime, "yyyy-MM-dd HH:mm").value_or("")));
    if (scroll) scroll->addSubview(replyView);
    replyViews.push_back(replyView);
  }
}

bool QsmDescViewController::hasComments() const {
  return survey && !StringUtil::isNullOrEmpty(survey->comments);
}

bool QsmDescViewController::isOpen() const {
  return survey && survey->statusText == QsmAllTableViewCell::kEnterStatus;
}

void QsmDescViewController::viewDidLayoutSubviews() {
  BaseViewController::viewDidLayoutSubviews();
  auto middle = bgMidImageView.lock();
  auto bottom = bgBtmImageView.lock();
  if (middle && bottom) qsmDescMoveTo(*bottom, middle->frame().maxY());
  auto enter = enterBtmView.lock();
  if (enter) {
    enter->setHidden(!isOpen());
    if (isOpen() && bottom) qsmDescMoveTo(*enter, bottom->frame().maxY() - enter->frame().height());
  }
  if (auto label = descLabel.lock()) LabelKivExtension::resetFrameToFit(*label);
  if (auto separator = replySepImageView.lock()) {
    separator->setHidden(!hasComments() || replyViews.empty());
    if (auto label = descLabel.lock()) qsmDescMoveTo(*separator, label->frame().maxY() + 2);
  }
  resetReplyViewFrames();
}

void QsmDescViewController::resetReplyViewFrames() {
  auto scroll = scrollView.lock();
  auto label = descLabel.lock();
  if (!scroll || !label) return;
  if (!replyViews.empty()) {
    double y = label->frame().origin.y + 5 + (hasComments() ? label->frame().height() : 0);
    for (const auto& reply : replyViews) {
      reply->initSubViewFrames();
      const auto replyBottom = reply->bgBtmImageView.lock();
      const double h = replyBottom ? replyBottom->frame().maxY() : reply->frame().height();
      reply->setFrame(pf::Rect(reply->frame().origin.x, y, reply->frame().width(), h));
      y += h;
    }
    scroll->setContentSize(pf::Size(scroll->frame().width(), y));
  } else {
    scroll->setContentSize(
        pf::Size(scroll->frame().width(), label->frame().origin.y + label->frame().height()));
  }
  auto enter = enterBtmView.lock();
  pf::Rect frame = scroll->frame();
  frame.size.height =
      scrollHeight_.value_or(frame.height()) - (enter && isOpen() ? enter->frame().height() : 0);
  scroll->setFrame(frame);
}

void QsmDescViewController::enterBtnClick() {
  if (!isOnTop() || !survey) return;
  auto process = std::dynamic_pointer_cast<QsmProcessViewController>(
      ViewUtil::viewControllerFromNibOfClass(QsmProcessViewController::kClassName));
  process->survey = survey;
  navigationController()->pushViewController(process, true);
}

void QsmDescViewController::backBtnClick() {
  if (auto navigation = navigationController(); navigation && isOnTop())
    navigation->popViewControllerAnimated(true);
}

bool QsmDescViewController::isOnTop() const {
  auto navigation = navigationController();
  return navigation && navigation->topViewController().get() == this;
}
