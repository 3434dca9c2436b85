#include "platform/ui/ImagePickerController.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/Sandbox.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/PngCodec.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/PopoverController.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::ImagePickerController;
using Source = ImagePickerController::SourceType;

class PickLog : public pf::ImagePickerControllerDelegate, public pf::PopoverControllerDelegate {
 public:
  void didFinishPickingMediaWithInfo(ImagePickerController&, const pf::PickedMediaInfo& info) override {
    events.push_back("picked " + info.mediaType + " " +
                     std::filesystem::path(info.referenceURL).filename().string() + " " +
                     std::to_string(static_cast<int>(info.originalImage->size().width)));
  }
  void imagePickerControllerDidCancel(ImagePickerController&) override { events.push_back("cancel"); }
  void popoverControllerDidDismissPopover(pf::PopoverController&) override { events.push_back("dismissed"); }
  std::vector<std::string> events;
};

class ImagePickerTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    savedHome = pf::Sandbox::home();
    home = std::filesystem::temp_directory_path() /
           ("picker-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    pf::Sandbox::setHome(home.string());
  }
  void TearDown() override {
    pf::Sandbox::setHome(savedHome);
    std::filesystem::remove_all(home);
    UiTest::TearDown();
  }
  void placePicture(const std::string& name, double width) {
    auto context = pf::ImageContext::create({width, 20}, true, 1);
    ASSERT_TRUE(context);
    auto png = pf::PngCodec::encode(*context->image()->bitmap());
    ASSERT_TRUE(png);
    std::ofstream((home / "Pictures" / name).string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
  }

  std::string savedHome;
  std::filesystem::path home;
  std::shared_ptr<PickLog> log = std::make_shared<PickLog>();
};

TEST_F(ImagePickerTest, TheLibraryIsThePicturesFolder) {
  EXPECT_FALSE(ImagePickerController::isSourceTypeAvailable(Source::PhotoLibrary));
  std::filesystem::create_directories(home / "Pictures");
  EXPECT_TRUE(ImagePickerController::isSourceTypeAvailable(Source::PhotoLibrary));
  EXPECT_FALSE(ImagePickerController::isSourceTypeAvailable(Source::Camera));
  placePicture("b.png", 30);
  placePicture("a.png", 40);
  std::ofstream(home / "Pictures" / "notes.txt") << "not a picture";
  std::ofstream(home / "Pictures" / "broken.png") << "not a png";

  auto picker = std::make_shared<ImagePickerController>();
  EXPECT_THROW(picker->setSourceType(Source::Camera), pf::ContractViolation);
  picker->setSourceType(Source::PhotoLibrary);
  picker->setDelegate(log);
  ASSERT_EQ(picker->picturePaths().size(), 3u);  // a.png, b.png, broken.png
  EXPECT_FALSE(picker->pickPictureAtIndex(2));   // does not decode: nothing handed on
  EXPECT_FALSE(picker->pickPictureAtIndex(7));
  EXPECT_TRUE(log->events.empty());

  window->addSubview(picker->view());
  pf::HeadlessHost host(window);
  host.tap({100, 44 + 64 + 30});  // the second row
  host.tap({290, 22});            // Cancel
  EXPECT_EQ(log->events, (std::vector<std::string>{"picked public.image b.png 30", "cancel"}));
}

TEST_F(ImagePickerTest, OnATabletThePickerShowsInAPopover) {
  pf::Screen::configure(pf::Screen::Profile::Tablet);
  window = std::make_shared<pf::Window>();
  window->makeKeyAndVisible();
  std::filesystem::create_directories(home / "Pictures");
  placePicture("a.png", 40);
  auto picker = std::make_shared<ImagePickerController>();
  picker->setDelegate(log);
  auto popover = std::make_shared<pf::PopoverController>(picker);
  popover->setDelegate(log);
  popover->presentPopoverFromRect(pf::Rect(0, 0, 300, 40), window, pf::PopoverController::kArrowDirectionAny,
                                  true);
  ASSERT_TRUE(popover->isPopoverVisible());
  EXPECT_TRUE(picker->view()->window());

  pf::HeadlessHost host(window);
  host.advance(1);  // the box takes touches once it has faded in
  const pf::Rect row = picker->view()->convertRectToView(pf::Rect(0, 44, 320, 64), nullptr);
  host.tap({row.midX(), row.midY()});
  EXPECT_EQ(log->events, (std::vector<std::string>{"picked public.image a.png 40"}));
  host.tap({700, 1000});
  EXPECT_FALSE(popover->isPopoverVisible());
  EXPECT_EQ(log->events.back(), "dismissed");
}

}  // namespace
