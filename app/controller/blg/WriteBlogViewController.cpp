#include "app/controller/blg/WriteBlogViewController.h"

#include <algorithm>

#include "app/controller/blg/BlgEditorText.h"
#include "app/controller/blg/BlgSentWatcher.h"
#include "app/controller/blg/WblgShowImageViewController.h"
#include "app/model/blg/Blog.h"
#include "app/service/blg/BlgService.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Notification.h"
#include "platform/foundation/Utf16.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/TapGestureRecognizer.h"

namespace {

constexpr double kWriteBlogHintGrey = 121.0 / 255;

bool writeBlogOnTablet() {
  return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad;
}

void writeBlogMove(const std::shared_ptr<pf::View>& view, const pf::Rect& frame) {
  if (!view) return;
  pf::View::animateWithDuration(WriteBlogViewController::kMoveDuration, [view, frame] { view->setFrame(frame); });
}

}  // namespace

WriteBlogViewController::WriteBlogViewController() = default;
WriteBlogViewController::WriteBlogViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}

WriteBlogViewController::~WriteBlogViewController() {
  if (popover) popover->dismissPopoverAnimated(false);
}

void WriteBlogViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  blogService = std::make_shared<BlgService>(self);
  commonService = std::make_shared<CommonService>(self);
}

void WriteBlogViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  setRightBtnWithBgImageN("BLG_BASE_nav_btn_n.png", "BLG_BASE_nav_btn_p.png", std::string(kSendTitle), std::nullopt);
  auto self = sharedAs<WriteBlogViewController>();
  std::weak_ptr<WriteBlogViewController> weak = self;
  auto& center = pf::NotificationCenter::defaultCenter();
  observations_.push_back(center.addObserver(pf::Keyboard::kWillShowNotification, nullptr,
                                             [weak](const pf::Notification& note) {
                                               if (auto composer = weak.lock()) composer->keyboardWillShow(note);
                                             }));
  observations_.push_back(center.addObserver(pf::Keyboard::kWillHideNotification, nullptr,
                                             [weak](const pf::Notification& note) {
                                               if (auto composer = weak.lock()) composer->keyboardWillHide(note);
                                             }));
  if (auto text = blogText.lock()) {
    text->setDelegate(std::weak_ptr<pf::TextViewDelegate>(self));
    BlgEditorText::addHideKeyboardBar(text);
  }
  if (auto field = blogField.lock()) field->setDelegate(std::weak_ptr<pf::TextFieldDelegate>(self));
  if (auto bar = toolBar.lock()) {
    items_ = {std::make_shared<pf::TabBarItem>(std::string("图片"), nullptr, kPhotoTag),
              std::make_shared<pf::TabBarItem>(std::string("@"), nullptr, kMentionTag)};
    bar->setItems(items_);
    bar->setDelegate(std::weak_ptr<pf::TabBarDelegate>(self));
  }
}

void WriteBlogViewController::viewWillAppear(bool animated) {
  BlgBaseViewController::viewWillAppear(animated);
  if (topicText) updateTopicText(*topicText);
}

void WriteBlogViewController::updateTopicText(const std::string& text) {
  if (auto field = blogField.lock()) field->setText(text);
}

void WriteBlogViewController::moveViews(double height) {
  auto text = blogText.lock();
  auto background = fieldBgImgView.lock();
  if (!text || !background) return;
  pf::Rect textFrame = text->frame();
  textFrame = pf::Rect(textFrame.minX(), textFrame.minY(), textFrame.width(), height);
  writeBlogMove(text, textFrame);
  if (auto clean = cleanView.lock()) {
    const pf::Rect frame = clean->frame();
    writeBlogMove(clean, pf::Rect(frame.minX(), textFrame.maxY() - frame.height() - 5, frame.width(), frame.height()));
  }
  const pf::Rect fieldBackground(background->frame().minX(), textFrame.maxY(), background->frame().width(),
                                 background->frame().height());
  writeBlogMove(background, fieldBackground);
  if (auto field = blogField.lock()) {
    const pf::Rect frame = field->frame();
    writeBlogMove(field, pf::Rect(frame.minX(), fieldBackground.minY() + 8, frame.width(), frame.height()));
  }
}

void WriteBlogViewController::keyboardWillShow(const pf::Notification& notification) {
  const auto height = BlgEditorText::keyboardHeight(notification);
  auto background = fieldBgImgView.lock();
  if (!height || !background) return;
  keyboardKey = pf::Size(view()->bounds().width(), *height);
  moveViews(view()->bounds().height() - *height - background->frame().height());
}

void WriteBlogViewController::keyboardWillHide(const pf::Notification&) {
  auto background = fieldBgImgView.lock();
  if (!background) return;
  moveViews(view()->bounds().height() - background->frame().height() - pf::TabBar::kHeight);
}

void WriteBlogViewController::editDone() {
  if (auto text = blogText.lock()) text->resignFirstResponder();
}

long WriteBlogViewController::counter() const {
  auto label = numLabel.lock();
  return label ? BlgEditorText::counterValue(*label) : static_cast<long>(BlgEditorText::kMaxLength);
}

void WriteBlogViewController::showRemaining(long remaining) {
  if (auto label = numLabel.lock()) BlgEditorText::showRemaining(*label, remaining);
}

// The hint goes as soon as editing starts on an empty text.
bool WriteBlogViewController::textViewShouldBeginEditing(pf::TextView& view) {
  view.setTextColor(pf::Color::black());
  if (counter() >= static_cast<long>(BlgEditorText::kMaxLength)) view.setText(std::string());
  return true;
}

void WriteBlogViewController::textViewDidChange(pf::TextView& view) {
  if (BlgEditorText::remaining(view.text()) < 0) view.setText(BlgEditorText::cut(view.text()));
  showRemaining(BlgEditorText::remaining(view.text()));
  placeSendImage();
  fitContentSize();
}

void WriteBlogViewController::textViewDidEndEditing(pf::TextView& view) {
  if (counter() >= static_cast<long>(BlgEditorText::kMaxLength)) {
    view.setText(std::string(BlgEditorText::kEmptyMessage));
    view.setTextColor(pf::Color::fromRgba(kWriteBlogHintGrey, kWriteBlogHintGrey, kWriteBlogHintGrey, 1));
  }
  fitContentSize();
}

bool WriteBlogViewController::textFieldShouldBeginEditing(pf::TextField&) { return true; }

bool WriteBlogViewController::textFieldShouldReturn(pf::TextField& field) {
  field.resignFirstResponder();
  return true;
}

void WriteBlogViewController::clearContentView() {
  if (auto text = blogText.lock()) text->setText(std::nullopt);
  showRemaining(static_cast<long>(BlgEditorText::kMaxLength));
  placeSendImage();
  fitContentSize();
}

double WriteBlogViewController::textHeight() const {
  auto text = blogText.lock();
  if (!text) return 0;
  return pf::StringDrawing::sizeOfText(text->text(), *text->font(), pf::Size(text->bounds().width(), 0),
                                       pf::LineBreakMode::wordWrap)
      .height;
}

void WriteBlogViewController::placeSendImage() {
  if (!sendImage) return;
  const pf::Rect frame = sendImage->frame();
  sendImage->setFrame(pf::Rect(kPhotoLeft, textHeight() + kPhotoTop, frame.width(), frame.height()));
}

void WriteBlogViewController::fitContentSize() {
  auto text = blogText.lock();
  if (!text) return;
  const double photo = sendImage ? sendImage->frame().height() : 0;
  text->setContentSize(pf::Size(text->contentSize().width, text->textContentSize().height + photo));
}

void WriteBlogViewController::didSelectItem(pf::TabBar& tabBar, pf::TabBarItem& item) {
  tabBar.setSelectedItem(nullptr);
  if (item.tag() == kMentionTag) {
    tellViewTap();
    return;
  }
  if (item.tag() != kPhotoTag) return;
  sheet_ = std::make_shared<pf::ActionSheet>(std::nullopt, std::dynamic_pointer_cast<pf::ActionSheetDelegate>(shared_from_this()),
                                             std::string("取消"), std::nullopt,
                                             std::vector<std::string>{"相册", "拍照"});
  sheet_->showInView(view());
}

void WriteBlogViewController::tellViewTap() {
  auto text = blogText.lock();
  if (!text) return;
  if (counter() >= static_cast<long>(BlgEditorText::kMaxLength)) text->setText(std::string());
  const std::size_t caret = pf::utf16::length(text->text()) + 1;
  text->setText(text->text() + kMention);
  showRemaining(counter() - 2);
  text->becomeFirstResponder();
  text->setSelectedRange(pf::utf16::Range{caret, 0});
}

void WriteBlogViewController::clickedButtonAtIndex(pf::ActionSheet& sheet, long buttonIndex) {
  if (buttonIndex == sheet.cancelButtonIndex()) return;
  const long first = sheet.firstOtherButtonIndex();
  if (buttonIndex == first) photoalbumr();
  if (buttonIndex == first + 1) photocamera();
}

void WriteBlogViewController::photoalbumr() {
  using Source = pf::ImagePickerController::SourceType;
  if (!pf::ImagePickerController::isSourceTypeAvailable(Source::PhotoLibrary)) return;
  auto picker = std::make_shared<pf::ImagePickerController>();
  picker->setDelegate(std::dynamic_pointer_cast<pf::ImagePickerControllerDelegate>(shared_from_this()));
  picker->setSourceType(Source::PhotoLibrary);
  if (writeBlogOnTablet()) {
    popover = std::make_shared<pf::PopoverController>(picker);
    popover->presentPopoverFromRect(pf::Rect(0, 0, 300, 300), view(), pf::PopoverController::kArrowDirectionAny, true);
  } else {
    presentViewController(picker, true);
  }
}

void WriteBlogViewController::photocamera() {
  using Source = pf::ImagePickerController::SourceType;
  if (!pf::ImagePickerController::isSourceTypeAvailable(Source::Camera)) return;
  auto root = ViewUtil::getWindowRootViewController();
  if (!root) return;
  auto picker = std::make_shared<pf::ImagePickerController>();
  picker->setDelegate(std::dynamic_pointer_cast<pf::ImagePickerControllerDelegate>(shared_from_this()));
  picker->setSourceType(Source::Camera);
  picker->setModalTransitionStyle(pf::ViewController::ModalTransitionStyle::CoverVertical);
  root->presentViewController(picker, true);
}

pf::Size WriteBlogViewController::displaySizeOfImage(pf::Size size) {
  if (size.width <= kPhotoMaxWidth) return size;
  return pf::Size(kPhotoMaxWidth, size.height * kPhotoMaxWidth / size.width);
}

void WriteBlogViewController::didFinishPickingMediaWithInfo(pf::ImagePickerController& picker,
                                                            const pf::PickedMediaInfo& info) {
  auto text = blogText.lock();
  if (info.mediaType == pf::ImagePickerController::kMediaTypeImage && info.originalImage && text) {
    if (!sendImage) {
      sendImage = std::make_shared<pf::ImageView>(pf::Rect(0, 0, 100, 100));
      sendImage->setUserInteractionEnabled(true);
      auto tap = std::make_shared<pf::TapGestureRecognizer>();
      std::weak_ptr<WriteBlogViewController> weak = sharedAs<WriteBlogViewController>();
      tap->addTarget(weak, [weak](pf::GestureRecognizer&) {
        if (auto composer = weak.lock()) composer->sendImageViewTap();
      });
      sendImage->addGestureRecognizer(tap);
    }
    const pf::Size shown = displaySizeOfImage(info.originalImage->size());
    sendImage->setFrame(pf::Rect(kPhotoLeft, textHeight() + kPhotoTop, shown.width, shown.height));
    sendImage->setImage(info.originalImage);
    text->addSubview(sendImage);
    fitContentSize();
  }
  closePicker(picker);
}

void WriteBlogViewController::imagePickerControllerDidCancel(pf::ImagePickerController& picker) { closePicker(picker); }

// A tablet's popover closes with the pick or the cancel; a modal picker is dismissed by its presenter.
void WriteBlogViewController::closePicker(pf::ImagePickerController& picker) {
  if (popover && popover->contentViewController().get() == &picker) {
    popover->dismissPopoverAnimated(true);
    popover.reset();
    return;
  }
  if (auto presenter = picker.presentingViewController()) presenter->dismissViewControllerAnimated(true);
}

void WriteBlogViewController::sendImageViewTap() {
  auto preview = std::dynamic_pointer_cast<WblgShowImageViewController>(
      ViewUtil::viewControllerFromNibOfClass(WblgShowImageViewController::kClassName));
  auto navigation = navigationController();
  if (!preview || !navigation || !sendImage) return;
  preview->delegate = std::dynamic_pointer_cast<WblgShowImageDelegate>(shared_from_this());
  preview->img = sendImage->image();
  preview->parentController = parentController;
  navigation->pushViewController(preview, true);
}

void WriteBlogViewController::deleteSendImage() {
  if (!sendImage) return;
  sendImage->removeFromSuperview();
  sendImage.reset();
  fitContentSize();
}

void WriteBlogViewController::rightBtnPressed() {
  if (sent_) return;
  auto text = blogText.lock();
  auto field = blogField.lock();
  if (field) field->resignFirstResponder();
  if (text) text->resignFirstResponder();
  const std::string content = text ? text->text() : std::string();
  if (counter() >= static_cast<long>(BlgEditorText::kMaxLength) || BlgEditorText::isBlank(content)) {
    showErrorInfoWithMessage(BlgEditorText::kEmptyMessage);
    return;
  }
  const std::optional<std::string> topics = field ? std::optional<std::string>(field->text()) : std::nullopt;
  if (!ViewUtil::checkTopicInput(topics, kMaxTopics, kMaxTopicLength)) {
    showErrorInfoWithMessage(kTopicRefusal);
    return;
  }
  if (!CommonUtil::isOnline()) {
    showErrorInfoWithMessage(BlgEditorText::kOfflineMessage);
    return;
  }
  auto blog = std::make_shared<Blog>();
  blog->content = content;
  blog->topicName = topics;
  blog->clientType = commonService->getClientType();
  std::optional<pf::Data> imageData;
  if (sendImage && sendImage->image() && sendImage->image()->bitmap())
    imageData = pf::JpegCodec::encode(*sendImage->image()->bitmap(), kJpegQuality);
  if (!blogService->postBlog(blog, imageData)) return;
  sent_ = true;
  BlgSentWatcher::announce();
  showErrorInfoWithMessage(BlgEditorText::kPostedMessage,
                           std::dynamic_pointer_cast<ProgressHUDDelegate>(shared_from_this()));
}

void WriteBlogViewController::hudWasHidden(ProgressHUD&) {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
