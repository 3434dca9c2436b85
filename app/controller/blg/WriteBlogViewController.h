#pragma once
// The blog composer: a text of at most 140 units with its counter, a topic field, a mention button and
// one photo from the album or the camera, shown inside the text (it scrolls with it) and previewed full
// screen. Sending uploads the photo and posts the blog, once; the screen pops after "发布成功！".
//
// Main thread only; the upload and the post run on it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/blg/BlgBaseViewController.h"
#include "app/controller/blg/WblgShowImageDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Size.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace pf {
class GestureRecognizer;
class ImageView;
class Label;
class PopoverController;
class View;
}  // namespace pf
class BlgService;
class CommonService;

class WriteBlogViewController : public BlgBaseViewController,
                                public pf::TextViewDelegate,
                                public pf::TextFieldDelegate,
                                public pf::TabBarDelegate,
                                public pf::ActionSheetDelegate,
                                public pf::ImagePickerControllerDelegate,
                                public WblgShowImageDelegate {
  PF_OBJECT(WriteBlogViewController, BlgBaseViewController)

  static constexpr char kTitle[] = "发表新微博";
  static constexpr char kSendTitle[] = "发送";
  static constexpr char kTopicRefusal[] = "每个话题最多10个字，最多5个话题!";
  static constexpr char kMention[] = "@:";
  static constexpr unsigned kMaxTopics = 5;
  static constexpr unsigned kMaxTopicLength = 10;
  static constexpr double kPhotoMaxWidth = 150;
  static constexpr double kPhotoTop = 30;
  static constexpr double kPhotoLeft = 10;
  static constexpr double kJpegQuality = 0.5;
  static constexpr double kMoveDuration = 0.3;
  enum ActionTag { kPhotoTag = 0, kMentionTag = 1 };

  WriteBlogViewController();
  explicit WriteBlogViewController(std::string nibName);
  ~WriteBlogViewController() override;

  std::weak_ptr<pf::TextView> blogText;
  std::weak_ptr<pf::TextField> blogField;
  std::weak_ptr<pf::ImageView> fieldBgImgView;
  std::weak_ptr<pf::View> cleanView;
  std::weak_ptr<pf::Label> numLabel;
  std::weak_ptr<pf::TabBar> toolBar;
  pf::Size keyboardKey;
  // The attached photo's view; nil while there is none.
  std::shared_ptr<pf::ImageView> sendImage;
  std::shared_ptr<BlgService> blogService;
  std::shared_ptr<CommonService> commonService;
  std::shared_ptr<pf::PopoverController> popover;
  // The topic handed by the opener, put back into the field at each appearance.
  std::optional<std::string> topicText;

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void updateTopicText(const std::string& text);
  void keyboardWillShow(const pf::Notification& notification);
  void keyboardWillHide(const pf::Notification& notification);
  void editDone();

  bool textViewShouldBeginEditing(pf::TextView& view) override;
  void textViewDidChange(pf::TextView& view) override;
  void textViewDidEndEditing(pf::TextView& view) override;
  bool textFieldShouldBeginEditing(pf::TextField& field) override;
  bool textFieldShouldReturn(pf::TextField& field) override;
  void clearContentView();

  void didSelectItem(pf::TabBar& tabBar, pf::TabBarItem& item) override;
  void tellViewTap();
  void clickedButtonAtIndex(pf::ActionSheet& sheet, long buttonIndex) override;
  void photoalbumr();
  void photocamera();
  void didFinishPickingMediaWithInfo(pf::ImagePickerController& picker, const pf::PickedMediaInfo& info) override;
  void imagePickerControllerDidCancel(pf::ImagePickerController& picker) override;
  void sendImageViewTap();
  void deleteSendImage() override;

  void rightBtnPressed() override;
  void hudWasHidden(ProgressHUD& hud) override;

  // The photo's shown size: its own, or 150 wide with the height scaled alike.
  static pf::Size displaySizeOfImage(pf::Size size);

 private:
  long counter() const;
  void showRemaining(long remaining);
  double textHeight() const;
  void placeSendImage();
  // Text height plus the photo's; never grows by repeating.
  void fitContentSize();
  void closePicker(pf::ImagePickerController& picker);
  void moveViews(double textHeight);

  std::vector<pf::NotificationCenter::Observation> observations_;
  std::vector<std::shared_ptr<pf::TabBarItem>> items_;
  std::shared_ptr<pf::ActionSheet> sheet_;
  bool sent_ = false;
};
