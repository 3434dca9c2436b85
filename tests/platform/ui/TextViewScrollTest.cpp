// A text view is a scroll view: its content follows the text, code may make it taller, and what is
// added inside scrolls with the text. A paste is one change. The camera can be switched on for tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Sandbox.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/TextView.h"
#include "tests/platform/ui/UiTest.h"

namespace text_view_scroll_test {

using pf::Rect;

class PasteLog : public pf::TextViewDelegate {
 public:
  std::vector<std::string> changes;
  void textViewDidChange(pf::TextView& view) override { changes.push_back(view.text()); }
};

class TextViewScrollTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    view = std::make_shared<pf::TextView>(Rect{{20, 100}, {200, 80}});
    window->addSubview(view);
  }
  pf::HeadlessHost host{window};
  std::shared_ptr<pf::TextView> view;
};

// Catches a content size that ignores the text (a long text that cannot be scrolled to its end) or
// that code cannot enlarge for a picture placed under the text.
TEST_F(TextViewScrollTest, TheContentFollowsTheTextAndCodeMayEnlargeIt) {
  const double empty = view->contentSize().height;
  EXPECT_GT(empty, 0);
  view->setText(std::string(60, 'x') + "\n\n\n\n\n\n\n\n" + std::string(60, 'y'));
  const double tall = view->contentSize().height;
  EXPECT_GT(tall, view->bounds().height());
  EXPECT_DOUBLE_EQ(tall, view->textContentSize().height);
  view->setContentSize({200, tall + 100});
  EXPECT_DOUBLE_EQ(view->contentSize().height, tall + 100);
  view->setContentOffset({0, view->maximumContentOffset().y});
  EXPECT_DOUBLE_EQ(view->contentOffset().y, tall + 100 - 80);
  view->setText(std::string("short"));
  EXPECT_DOUBLE_EQ(view->contentSize().height, empty);
}

// Catches a picture inside the text that stays put while the text scrolls under it.
TEST_F(TextViewScrollTest, SubviewsScrollWithTheText) {
  view->setText(std::string(400, 'x'));
  auto photo = std::make_shared<pf::View>(Rect{{10, 60}, {50, 30}});
  view->addSubview(photo);
  const double before = photo->convertRectToView(photo->bounds(), nullptr).minY();
  view->setContentOffset({0, 40});
  EXPECT_DOUBLE_EQ(photo->convertRectToView(photo->bounds(), nullptr).minY(), before - 40);
}

// Catches a paste delivered as keystrokes: an editor that cuts its text on each change must see the
// whole pasted text in one change.
TEST_F(TextViewScrollTest, APasteIsOneChange) {
  auto log = std::make_shared<PasteLog>();
  view->setDelegate(log);
  host.tap({100, 140});
  ASSERT_TRUE(host.pasteText("粘贴的文字"));
  EXPECT_EQ(log->changes, std::vector<std::string>{"粘贴的文字"});
}

// Catches a camera that a test cannot switch on, or one left on for the next test.
TEST_F(TextViewScrollTest, TheCameraIsOffUntilSwitchedOn) {
  using Source = pf::ImagePickerController::SourceType;
  const std::string savedHome = pf::Sandbox::home();
  const auto home = std::filesystem::temp_directory_path() / "text-view-scroll-camera";
  std::filesystem::create_directories(home / "Pictures");
  pf::Sandbox::setHome(home.string());
  EXPECT_FALSE(pf::ImagePickerController::isSourceTypeAvailable(Source::Camera));
  pf::ImagePickerController::setCameraAvailable(true);
  EXPECT_TRUE(pf::ImagePickerController::isSourceTypeAvailable(Source::Camera));
  auto picker = std::make_shared<pf::ImagePickerController>();
  picker->setSourceType(Source::Camera);
  EXPECT_EQ(picker->sourceType(), Source::Camera);
  pf::ImagePickerController::setCameraAvailable(false);
  EXPECT_FALSE(pf::ImagePickerController::isSourceTypeAvailable(Source::Camera));
  pf::Sandbox::setHome(savedHome);
  std::filesystem::remove_all(home);
}

}  // namespace text_view_scroll_test
