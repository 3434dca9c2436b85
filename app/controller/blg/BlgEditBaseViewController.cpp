#include "app/controller/blg/BlgEditBaseViewController.h"

#include "app/controller/blg/BlgEditorText.h"
#include "app/controller/blg/BlgSentWatcher.h"
#include "platform/foundation/Notification.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/hud/ProgressHUD.h"

BlgEditBaseViewController::BlgEditBaseViewController() = default;
BlgEditBaseViewController::BlgEditBaseViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
BlgEditBaseViewController::~BlgEditBaseViewController() = default;

void BlgEditBaseViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(editorTitle());
  setRightBtnWithBgImageN("", "", std::string(kSendTitle), std::nullopt);
  checkFlag() = false;
  auto self = sharedAs<BlgEditBaseViewController>();
  if (auto text = textView.lock()) {
    text->setDelegate(std::weak_ptr<pf::TextViewDelegate>(self));
    BlgEditorText::addHideKeyboardBar(text);
  }
  std::weak_ptr<BlgEditBaseViewController> weak = self;
  auto& center = pf::NotificationCenter::defaultCenter();
  observations_.push_back(center.addObserver(pf::Keyboard::kDidShowNotification, nullptr,
                                             [weak](const pf::Notification& note) {
                                               if (auto editor = weak.lock()) editor->keyboardDidShow(note);
                                             }));
  observations_.push_back(center.addObserver(pf::Keyboard::kWillHideNotification, nullptr,
                                             [weak](const pf::Notification& note) {
                                               if (auto editor = weak.lock()) editor->keyboardWillHide(note);
                                             }));
}

std::string BlgEditBaseViewController::text() const {
  auto view = textView.lock();
  return view ? view->text() : std::string();
}

void BlgEditBaseViewController::showRemaining(long remaining) {
  if (auto counter = numLabel.lock()) BlgEditorText::showRemaining(*counter, remaining);
}

void BlgEditBaseViewController::placeCleanView() {
  auto text = textView.lock();
  auto clean = cleanView.lock();
  if (!text || !clean) return;
  const pf::Rect frame = clean->frame();
  clean->setFrame(pf::Rect(frame.minX(), text->frame().maxY() - frame.height() - 10, frame.width(), frame.height()));
}

void BlgEditBaseViewController::keyboardDidShow(const pf::Notification& notification) {
  const auto height = BlgEditorText::keyboardHeight(notification);
  auto text = textView.lock();
  if (!height || !text) return;
  keyboardKey = pf::Size(pf::Screen::mainScreen().bounds().width(), *height);
  const pf::Rect frame = text->frame();
  text->setFrame(pf::Rect(frame.minX(), frame.minY(), frame.width(), view()->bounds().height() - *height));
  placeCleanView();
}

void BlgEditBaseViewController::keyboardWillHide(const pf::Notification&) {
  auto text = textView.lock();
  if (!text) return;
  const pf::Rect frame = text->frame();
  text->setFrame(pf::Rect(frame.minX(), frame.minY(), frame.width(), view()->bounds().height() - 49));
  placeCleanView();
}

bool BlgEditBaseViewController::textViewShouldBeginEditing(pf::TextView&) { return true; }

void BlgEditBaseViewController::textViewDidChange(pf::TextView& view) {
  if (BlgEditorText::remaining(view.text()) < 0) view.setText(BlgEditorText::cut(view.text()));
  showRemaining(BlgEditorText::remaining(view.text()));
}

// The counter follows the emptied text, so it never reads a stale number.
void BlgEditBaseViewController::cleanBtn() {
  if (auto view = textView.lock()) view->setText(std::string());
  showRemaining(static_cast<long>(BlgEditorText::kMaxLength));
}

void BlgEditBaseViewController::checkBoxBtnPressed() {
  bool& flag = checkFlag();
  flag = !flag;
  if (auto box = checkbox.lock())
    box->setImage(flag ? pf::Image::named(kCheckedImage, pf::Screen::mainScreen().scale()) : nullptr,
                  pf::Control::kNormal);
}

void BlgEditBaseViewController::editDone() {
  if (auto view = textView.lock()) view->resignFirstResponder();
}

void BlgEditBaseViewController::finishSending() {
  sent_ = true;
  BlgSentWatcher::announce();
  showErrorInfoWithMessage(BlgEditorText::kPostedMessage,
                           std::dynamic_pointer_cast<ProgressHUDDelegate>(shared_from_this()));
}

void BlgEditBaseViewController::hudWasHidden(ProgressHUD&) {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
