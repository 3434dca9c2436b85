#pragma once
// Fixture for the blog detail, the editors, the comment list and the topics: the micro-blog module
// open on the stand-in for the demo learner, and helpers that push a screen on the home tab, tap a
// bar item, read the last call the stand-in received and place pictures in the sandbox's album.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "app/controller/blg/BlgCommentEditViewController.h"
#include "app/controller/blg/BlgCommentViewController.h"
#include "app/controller/blg/BlgDetailTableViewCell.h"
#include "app/controller/blg/BlgDetailTableViewController.h"
#include "app/controller/blg/BlgDetailViewController.h"
#include "app/controller/blg/BlgForwardEditViewController.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/controller/blg/WriteBlogViewController.h"
#include "app/service/blg/BlgService.h"
#include "platform/foundation/Sandbox.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"
#include "tests/app/controller/blg/feeds/BlgFeedJourneyTest.h"

class BlgDetailJourneyTest : public BlgFeedJourneyTest {
 protected:
  explicit BlgDetailJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : BlgFeedJourneyTest(screenProfile) {}

  void SetUp() override {
    BlgFeedJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    openModule();
  }
  void TearDown() override {
    pf::ImagePickerController::setCameraAvailable(false);
    BlgFeedJourneyTest::TearDown();
  }

  // A screen of the class made from its interface file, handed the module root, pushed on the home tab.
  template <typename Screen>
  std::shared_ptr<Screen> makeScreen() {
    auto screen = std::dynamic_pointer_cast<Screen>(ViewUtil::viewControllerFromNibOfClass(Screen::kClassName));
    screen->parentController = blgRoot;
    screen->setHidesBottomBarWhenPushed(true);
    return screen;
  }
  template <typename Screen>
  std::shared_ptr<Screen> push(const std::shared_ptr<Screen>& screen) {
    tabStack()->pushViewController(screen, true);
    settle();
    return screen;
  }
  std::shared_ptr<BlgDetailViewController> openDetail(const std::string& blogId) {
    auto detail = makeScreen<BlgDetailViewController>();
    detail->blog = BlgService().getBlogWithBlogID(blogId);
    return push(detail);
  }
  template <typename Screen>
  std::shared_ptr<Screen> top() const {
    return std::dynamic_pointer_cast<Screen>(tabStack()->topViewController());
  }
  static std::shared_ptr<BlgDetailTableViewCell> detailRow(BlgDetailViewController& detail) {
    auto list = detail.detailTableViewController.lock();
    return std::dynamic_pointer_cast<BlgDetailTableViewCell>(
        list->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  }

  void tapBarItem(pf::TabBar& bar, size_t index) {
    const pf::Rect slot = bar.convertRectToView(bar.rectForItemAtIndex(index), nullptr);
    pf::HeadlessHost(window).tap({slot.midX(), slot.midY()});
  }
  // Taps the screen's right bar button.
  void tapRightButton(pf::ViewController& screen) {
    auto item = screen.navigationItem()->rightBarButtonItem();
    tapView(item->customView());
  }
  // The parameter of the stand-in's last call to the path, "(none)" without one.
  std::string sent(const std::string& path, const std::string& name) const {
    const auto calls = server->calls(path);
    if (calls.empty() || !calls.back().parameters.contains(name)) return "(none)";
    return calls.back().parameters.at(name);
  }
  // A picture of that size in the album, as a JPEG file.
  void placeAlbumPicture(const std::string& name, double width, double height) {
    const auto folder = std::filesystem::path(pf::Sandbox::home()) / "Pictures";
    std::filesystem::create_directories(folder);
    auto context = pf::ImageContext::create({width, height}, true, 1);
    ASSERT_TRUE(context);
    context->context().setFillColor(pf::Color::fromRgba(0.1, 0.5, 0.8, 1));
    context->context().fillRect(pf::Rect(0, 0, width, height));
    auto jpeg = pf::JpegCodec::encode(*context->image()->bitmap(), 0.9);
    ASSERT_TRUE(jpeg);
    std::ofstream((folder / name).string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg->data()), static_cast<std::streamsize>(jpeg->size()));
  }
  // Lets the box on the window hide.
  void waitForBoxToHide() {
    loop->runUntil(pf::Clock::now() + 3);
  }
};
