#include "app/controller/cms/CmsCommentReplyViewController.h"

#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/Discuss.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/OpenDiscussService.h"
#include "core/db/VelkSetting.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Notification.h"
#include "platform/foundation/Utf16.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "ui/hud/ProgressHUD.h"

namespace {

std::optional<double> cmsReplyKeyboardHeight(const pf::Notification& notification) {
  const auto it = notification.userInfo.find(pf::Keyboard::kFrameEndUserInfoKey);
  if (it == notification.userInfo.end()) return std::nullopt;
  const auto end = pf::Keyboard::rectFromValue(it->second);
  return end ? std::optional<double>(end->height()) : std::nullopt;
}

}  // namespace

CmsCommentReplyViewController::CmsCommentReplyViewController() = default;
CmsCommentReplyViewController::CmsCommentReplyViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
CmsCommentReplyViewController::~CmsCommentReplyViewController() = default;

std::string CmsCommentReplyViewController::limitedText(const std::string& text) {
  return pf::utf16::prefix(text, kMaxLength);
}

std::string CmsCommentReplyViewController::draftKey() const {
  auto common = commonServer ? commonServer : std::make_shared<CommonService>();
  return pf::format("draft_%@_%@_%@_%@", common->getCurrentCorpcode().value_or(""),
                    common->getCurrentUserId().value_or(""),
                    std::string(viewType == kViewTypeComment ? "评论" : "回复"),
                    courseViewInfo && courseViewInfo->id ? *courseViewInfo->id : std::string());
}

void CmsCommentReplyViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  courseServer = std::make_shared<CourseService>(self);
  commonServer = std::make_shared<CommonService>(self);
}

void CmsCommentReplyViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  shouldSaveToDraft = true;
  auto self = std::static_pointer_cast<CmsCommentReplyViewController>(shared_from_this());
  if (auto text = commentReplyView.lock()) {
    text->setDelegate(std::weak_ptr<pf::TextViewDelegate>(self));
    text->becomeFirstResponder();
  }
  if (auto clear = wordClearBtn.lock())
    clear->addTarget(weak_from_this(), "clearWords", [this](pf::Control&, unsigned) { clearWords(); },
                     pf::Control::kTouchUpInside);
  std::weak_ptr<CmsCommentReplyViewController> weak = self;
  navigationItem()->setRightBarButtonItem(std::make_shared<CmnNaviBtnItem>(
      std::string("CMN_BASE_btn_n.png"), std::string("CMN_BASE_btn_p.png"), std::nullopt, std::string("发表"), self,
      [weak] {
        if (auto editor = weak.lock()) editor->distribute();
      }));
  setNavgationItemTitle(viewType == kViewTypeComment ? "评论" : "回复");
  auto& center = pf::NotificationCenter::defaultCenter();
  observations_.push_back(center.addObserver(pf::Keyboard::kWillShowNotification, nullptr,
                                             [weak](const pf::Notification& note) {
                                               if (auto editor = weak.lock()) editor->keyboardWillShow(note);
                                             }));
  observations_.push_back(center.addObserver(pf::Keyboard::kWillHideNotification, nullptr,
                                             [weak](const pf::Notification& note) {
                                               if (auto editor = weak.lock()) editor->keyboardWillHide(note);
                                             }));
  alertPromptType = 0;
}

void CmsCommentReplyViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  const std::string key = draftKey();
  draft = VelkSetting::settingWithKey(key, commonServer->getDraftOfDraftIdentifier(key));
  if (auto text = commentReplyView.lock()) {
    text->setText(draft->value);
    const std::size_t length = pf::utf16::length(text->text());
    showRemaining(length < kMaxLength ? kMaxLength - length : 0);
  }
}

void CmsCommentReplyViewController::showRemaining(std::size_t remaining) {
  if (auto label = oddWordQty.lock()) label->setText(pf::format(kRemainFormat, static_cast<int>(remaining)));
}

void CmsCommentReplyViewController::textViewDidChange(pf::TextView& textView) {
  const std::size_t length = pf::utf16::length(textView.text());
  if (length <= kMaxLength) {
    showRemaining(kMaxLength - length);
    return;
  }
  auto alert = std::make_shared<pf::AlertView>(std::nullopt, pf::format(kTooLongFormat, static_cast<int>(kMaxLength)),
                                               std::dynamic_pointer_cast<pf::AlertViewDelegate>(shared_from_this()),
                                               std::string("确定"));
  alertPromptType = 0;
  alert->show();
  showRemaining(0);
}

void CmsCommentReplyViewController::clickedButtonAtIndex(pf::AlertView&, long) {
  if (alertPromptType != 0) return;
  if (auto text = commentReplyView.lock()) text->setText(limitedText(text->text()));
}

void CmsCommentReplyViewController::clearWords() {
  auto text = commentReplyView.lock();
  if (!text) return;
  text->setText(std::string());
  text->setEditable(true);
  showRemaining(kMaxLength);
  text->becomeFirstResponder();
}

bool CmsCommentReplyViewController::checkCommentIslegal() {
  auto text = commentReplyView.lock();
  const bool legal = text && !text->text().empty();
  if (!legal)
    std::make_shared<pf::AlertView>(std::string(), std::string(kEmptyMessage), std::weak_ptr<pf::AlertViewDelegate>(),
                                    std::string("确定"))
        ->show();
  if (text) text->becomeFirstResponder();
  return legal;
}

// Posting leaves the main queue; the text is kept as the draft until the server has it.
void CmsCommentReplyViewController::distribute() {
  if (posting_ || leaving_ || !checkCommentIslegal()) return;
  const std::string content = limitedText(commentReplyView.lock()->text());
  posting_ = true;
  std::weak_ptr<CmsCommentReplyViewController> weak =
      std::static_pointer_cast<CmsCommentReplyViewController>(shared_from_this());
  auto delegateOfService = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  const std::optional<std::string> courseId = courseViewInfo ? courseViewInfo->id : std::nullopt;
  const std::optional<std::string> idPath = comment ? comment->idPath : std::nullopt;
  const std::string key = draftKey();
  pf::DispatchQueue::global()->async([weak, delegateOfService = std::weak_ptr<ServiceDelegate>(delegateOfService),
                                      course = courseServer, common = commonServer, type = viewType, content,
                                      courseId, idPath, key] {
    std::shared_ptr<Discuss> posted;
    bool success = false;
    if (type == kViewTypeComment) {
      success = course->addCommentForCourse(courseId, content);
    } else {
      posted = OpenDiscussService(delegateOfService).replyCourse(content, idPath, courseId);
      success = posted != nullptr;
    }
    common->createOrUpdateDraft(VelkSetting::settingWithKey(key, success ? std::string() : content));
    pf::DispatchQueue::main()->async([weak, posted, success, content] {
      auto self = weak.lock();
      if (!self) return;
      self->posting_ = false;
      self->reply = posted;
      self->shouldSaveToDraft = !success;
      if (self->draft) self->draft->value = success ? std::string() : content;
      if (!success)
        if (auto text = self->commentReplyView.lock()) text->setText(content);
      self->showResult(success);
    });
  });
}

void CmsCommentReplyViewController::showResult(bool success) {
  leaving_ = true;
  auto hud = std::make_shared<ProgressHUD>(view()->bounds());
  hud->setMode(ProgressHUD::kCustomView);
  hud->setDelegate(std::dynamic_pointer_cast<ProgressHUDDelegate>(shared_from_this()));
  hud->setLabelText(std::string(!success ? kPostFailed : viewType == kViewTypeComment ? kCommentDone : kReplyDone));
  view()->addSubview(hud);
  hud->show(true);
  hud->hide(true, kResultSeconds);
}

void CmsCommentReplyViewController::hudWasHidden(ProgressHUD& hud) {
  hud.removeFromSuperview();
  leftBtnPressed();
}

void CmsCommentReplyViewController::leftBtnPressed() {
  if (auto opener = commentDelegate.lock()) opener->afterDistributeCommtent(reply);
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void CmsCommentReplyViewController::keyboardWillShow(const pf::Notification& notification) {
  auto edit = editView.lock();
  const auto keyboard = cmsReplyKeyboardHeight(notification);
  if (!edit || !keyboard) return;
  if (!editHeight_) editHeight_ = edit->frame().height();
  pf::Rect frame = edit->frame();
  frame.size.height = view()->bounds().height() - *keyboard;
  pf::View::animateWithDuration(0.3, [edit, frame] { edit->setFrame(frame); });
}

// On a tablet the edit view returns to the height it had before the keyboard showed.
void CmsCommentReplyViewController::keyboardWillHide(const pf::Notification&) {
  if (pf::Device::currentDevice().userInterfaceIdiom() != pf::Device::Idiom::Pad) return;
  auto edit = editView.lock();
  if (!edit || !editHeight_) return;
  pf::Rect frame = edit->frame();
  frame.size.height = *editHeight_;
  pf::View::animateWithDuration(0.3, [edit, frame] { edit->setFrame(frame); });
}
