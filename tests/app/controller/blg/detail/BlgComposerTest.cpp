// The blog composer: what a send refuses and what it posts, the cut at 140 units, the mention, the
// photo shown small and sent full size, an upload fault, one post per screen, and the topic put back
// at each return.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controller/blg/WblgShowImageViewController.h"
#include "app/service/cmn/CommonService.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ImageView.h"
#include "platform/foundation/Utf16.h"
#include "platform/ui/PopoverController.h"
#include "tests/app/controller/blg/detail/BlgDetailJourneyTest.h"
#include "tools/devserver/MultipartForm.h"

namespace blg_composer_test {

constexpr char kPostPath[] = "/v1/wb/blog/post";

class BlgComposerTest : public BlgDetailJourneyTest {
 protected:
  explicit BlgComposerTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : BlgDetailJourneyTest(screenProfile) {}

  std::shared_ptr<WriteBlogViewController> openComposer() { return push(makeScreen<WriteBlogViewController>()); }
  // Types into the text; the caret goes there as a tap beside the photo would put it.
  void type(WriteBlogViewController& composer, const std::string& text) {
    composer.blogText.lock()->becomeFirstResponder();
    pf::HeadlessHost(window).typeText(text);
  }
  std::string counter(WriteBlogViewController& composer) { return composer.numLabel.lock()->text().value_or(""); }
  size_t posts() const { return server->calls(kPostPath).size(); }
  // Chooses "相册" in the photo sheet and the album's first picture.
  void pickFirstAlbumPicture(WriteBlogViewController& composer) {
    tapBarItem(*composer.toolBar.lock(), WriteBlogViewController::kPhotoTag);
    settle();
    auto sheets = pf::ActionSheet::visibleSheets();
    ASSERT_EQ(sheets.size(), 1u);
    ASSERT_EQ(sheets.front()->buttonTitleAtIndex(sheets.front()->firstOtherButtonIndex()), "相册");
    sheets.front()->dismissWithClickedButtonIndex(sheets.front()->firstOtherButtonIndex(), false);
    settle();
    std::shared_ptr<pf::ImagePickerController> picker =
        composer.popover ? std::dynamic_pointer_cast<pf::ImagePickerController>(composer.popover->contentViewController())
                         : std::dynamic_pointer_cast<pf::ImagePickerController>(composer.presentedViewController());
    ASSERT_TRUE(picker);
    ASSERT_TRUE(picker->pickPictureAtIndex(0));
    settle();
  }
};

// Catches wrong refusals and lost or extra posts: each row is one composer, typed into and sent.
TEST_F(BlgComposerTest, SendRefusesWhatItMustAndPostsTheRest) {
  struct Case {
    const char* what;
    std::string text;
    std::string topics;
    bool online;
    const char* message;
    bool posts;
  };
  const std::vector<Case> cases = {
      {"the hint only", "", "", true, "你得说点什么...", false},
      {"blanks and line ends", "   \n  ", "", true, "你得说点什么...", false},
      {"six topics", "话题太多", "a,b,c,d,e,f", true, "每个话题最多10个字，最多5个话题!", false},
      {"a topic of 11 characters", "话题太长", "一二三四五六七八九十一", true, "每个话题最多10个字，最多5个话题!", false},
      {"offline", "断网时写的", "", false, "当前网络不可用", false},
      {"both commas", "三个话题", "新员工培训，安全月,读书分享", true, "发布成功！", true},
  };
  for (const Case& c : cases) {
    auto composer = openComposer();
    if (!c.text.empty()) type(*composer, c.text);
    composer->blogField.lock()->setText(c.topics);
    setOnline(c.online);
    const size_t before = posts();
    tapRightButton(*composer);
    EXPECT_EQ(boxText(), std::optional<std::string>(c.message)) << c.what;
    EXPECT_EQ(posts(), before + (c.posts ? 1 : 0)) << c.what;
    setOnline(true);
    waitForBoxToHide();
    tabStack()->popToRootViewControllerAnimated(false);
    settle();
  }
  const nlohmann::json sentBlog = nlohmann::json::parse(sent(kPostPath, "blog"));
  EXPECT_EQ(sentBlog["content"], "三个话题");
  EXPECT_EQ(sentBlog["topicName"], "新员工培训，安全月,读书分享");
}

// Catches a cut that splits an emoji's pair, a paste that escapes the limit, and a mention that does
// not land inside "@:" or miscounts.
TEST_F(BlgComposerTest, TheTextIsCutAtWholeCharactersAndTheMentionSitsInside) {
  auto composer = openComposer();
  tapView(composer->blogText.lock());
  pf::HeadlessHost host(window);
  host.pasteText(std::string(200, 'x'));
  EXPECT_EQ(pf::utf16::length(composer->blogText.lock()->text()), 140u);
  EXPECT_EQ(counter(*composer), "0");

  composer->clearContentView();
  EXPECT_EQ(counter(*composer), "140");
  host.pasteText(std::string(139, 'y') + "😀");
  EXPECT_EQ(composer->blogText.lock()->text(), std::string(139, 'y')) << "the pair is never split";
  EXPECT_EQ(counter(*composer), "1");

  composer->clearContentView();
  composer->blogText.lock()->resignFirstResponder();
  EXPECT_EQ(composer->blogText.lock()->text(), "你得说点什么...") << "the grey hint after editing ends empty";
  tapBarItem(*composer->toolBar.lock(), WriteBlogViewController::kMentionTag);
  settle();
  EXPECT_EQ(composer->blogText.lock()->text(), "@:");
  EXPECT_EQ(counter(*composer), "138");
  host.typeText("王芳");
  EXPECT_EQ(composer->blogText.lock()->text(), "@王芳:");
}

// Catches a photo shown at full size, sent scaled down, or a content height that grows at every edit.
TEST_F(BlgComposerTest, APhotoShowsAt150WideAndIsSentWhole) {
  placeAlbumPicture("photo.jpg", 300, 200);
  auto composer = openComposer();
  type(*composer, "午休拍的");
  pickFirstAlbumPicture(*composer);
  ASSERT_TRUE(composer->sendImage);
  EXPECT_EQ(composer->sendImage->frame().size, pf::Size(150, 100));
  auto text = composer->blogText.lock();
  EXPECT_EQ(composer->sendImage->superview().get(), text.get()) << "the photo scrolls with the text";
  const double height = text->contentSize().height;
  EXPECT_DOUBLE_EQ(height, text->textContentSize().height + 100);
  pf::HeadlessHost(window).typeText("的");
  text->resignFirstResponder();
  composer->clearContentView();
  EXPECT_DOUBLE_EQ(text->contentSize().height, text->textContentSize().height + 100) << "never grows by repeating";
  type(*composer, "午休拍的照片");
  composer->blogText.lock()->resignFirstResponder();
  {
    pf::HeadlessHost host(window);
    loop->runUntil(pf::Clock::now() + 0.5);
    host.render();
    const pf::Rect photo = inWindow(composer->sendImage);
    const pf::Pixel shown = host.pixelAt({photo.midX(), photo.midY()});
    EXPECT_LT(shown.red, 60) << "the photo's blue shows inside the text";
    EXPECT_GT(shown.blue, 160);
    writeSnapshot(host, "blg_composer_photo" + suffix());
  }

  tapRightButton(*composer);
  EXPECT_EQ(boxText(), "发布成功！");
  std::optional<devserver::MultipartPart> part;
  for (const auto& request : server->requests())
    if (request.path == "/upload/image") part = devserver::MultipartForm::parse(request)->front();
  ASSERT_TRUE(part);
  const pf::Data body(part->body.begin(), part->body.end());
  auto received = pf::JpegCodec::decode(body);
  ASSERT_TRUE(received);
  EXPECT_EQ(received->width(), 300);
  EXPECT_EQ(received->height(), 200);
}

// Catches a silent upload failure and a second post from a tap while "发布成功！" shows.
TEST_F(BlgComposerTest, AnUploadFaultIsShownAndASecondTapPostsNothing) {
  CommonService::clearSharedState();
  server->method("/v1/sf/file/getImgUploadUrl", [this](const devserver::OpenCall&) {
    return devserver::OpenAnswer::string(server->url("/nowhere"));
  });
  placeAlbumPicture("photo.jpg", 300, 200);
  auto composer = openComposer();
  type(*composer, "上传会失败");
  pickFirstAlbumPicture(*composer);
  tapRightButton(*composer);
  EXPECT_EQ(boxText(), BlgService::kUploadFailedMessage);
  EXPECT_EQ(posts(), 0u);
  waitForBoxToHide();

  composer->deleteSendImage();
  tapRightButton(*composer);
  EXPECT_EQ(boxText(), "发布成功！");
  tapRightButton(*composer);
  EXPECT_EQ(posts(), 1u);
  waitForBoxToHide();
  EXPECT_NE(top<WriteBlogViewController>(), composer) << "popped after the box";
}

// Catches a topic handed by the topic screen that is lost when the composer returns from the preview.
TEST_F(BlgComposerTest, TheHandedTopicIsPutBackAtEachReturn) {
  placeAlbumPicture("photo.jpg", 120, 80);
  auto composer = makeScreen<WriteBlogViewController>();
  composer->topicText = "安全月";
  push(composer);
  EXPECT_EQ(composer->blogField.lock()->text(), "安全月");
  composer->blogField.lock()->setText(std::string("别的"));
  pickFirstAlbumPicture(*composer);
  EXPECT_EQ(composer->sendImage->frame().size, pf::Size(120, 80));
  tapView(composer->sendImage);
  auto preview = top<WblgShowImageViewController>();
  ASSERT_TRUE(preview);
  tapRightButton(*preview);
  settle();
  EXPECT_EQ(top<WriteBlogViewController>(), composer);
  EXPECT_FALSE(composer->sendImage) << "删除 dropped the photo";
  EXPECT_EQ(composer->blogField.lock()->text(), "安全月");
}

class BlgComposerTabletTest : public BlgComposerTest {
 protected:
  BlgComposerTabletTest() : BlgComposerTest(pf::Screen::Profile::Tablet) {}
};

// Catches a popover left open over the composer after the pick, and a camera that does nothing.
TEST_F(BlgComposerTabletTest, APickClosesThePopoverAndTheCameraIsModal) {
  placeAlbumPicture("photo.jpg", 300, 200);
  auto composer = openComposer();
  pickFirstAlbumPicture(*composer);
  EXPECT_FALSE(composer->popover && composer->popover->isPopoverVisible());
  EXPECT_TRUE(composer->sendImage);
  EXPECT_FALSE(composer->blogText.lock()->inputAccessoryView()) << "no hide-keyboard bar on a tablet";

  pf::ImagePickerController::setCameraAvailable(true);
  composer->photocamera();
  settle();
  auto rootScreen = ViewUtil::getWindowRootViewController();
  auto camera = std::dynamic_pointer_cast<pf::ImagePickerController>(rootScreen->presentedViewController());
  ASSERT_TRUE(camera);
  EXPECT_EQ(camera->sourceType(), pf::ImagePickerController::SourceType::Camera);
  camera->cancel();
  settle();
  EXPECT_FALSE(rootScreen->presentedViewController());
}

}  // namespace blg_composer_test
