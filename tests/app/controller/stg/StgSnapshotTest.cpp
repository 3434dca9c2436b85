// Pictures of the settings screens on the phone and the tablet, checked by sampled pixels: the rows
// with their red buttons, the last help page, the password form and the update alert.

#include <gtest/gtest.h>

#include "app/controller/stg/HelpViewController.h"
#include "app/controller/stg/ModifyViewController.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "tests/app/controller/stg/StgJourneyTest.h"

namespace stg_snapshot_test {

class StgSnapshotTest : public StgJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  StgSnapshotTest() : StgJourneyTest(GetParam()) {}
  bool tablet() const { return GetParam() != pf::Screen::Profile::Phone; }
  std::string name(const std::string& screen) const { return screen + (tablet() ? "-tablet.png" : "-phone.png"); }
  static pf::Point centreOf(const std::shared_ptr<pf::View>& view) {
    const pf::Rect frame = view->convertRectToView(view->bounds(), nullptr);
    return {frame.midX(), frame.midY()};
  }
};

TEST_P(StgSnapshotTest, SettingsHelpPasswordAndUpdate) {
  auto screen = openSettings();
  ASSERT_TRUE(screen);
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, name("settings"));
  {
    auto button = row(0)->btn.lock();
    const pf::Rect frame = button->convertRectToView(button->bounds(), nullptr);
    const pf::Pixel red = host.pixelAt({frame.minX() + 6, frame.midY()});
    EXPECT_GT(red.red, red.blue + 60) << "the red row button";
    EXPECT_LE(frame.maxX(), window->bounds().width()) << "the button inside the screen";
    const pf::Rect title = row(6)->content.lock()->convertRectToView(row(6)->content.lock()->bounds(), nullptr);
    EXPECT_LT(title.maxX(), frame.minX()) << "the logout text clear of its button";
  }

  tapRow(SettingViewController::kHelp);
  auto help = std::dynamic_pointer_cast<HelpViewController>(centre()->topViewController());
  ASSERT_TRUE(help);
  auto pages = help->scrollView.lock();
  pages->setContentOffset({pages->bounds().width() * 5, 0});
  settle();
  host.render();
  writeSnapshot(host, name("help-6"));
  const pf::Pixel page = host.pixelAt({window->bounds().width() / 2, window->bounds().height() * 0.8});
  EXPECT_GT(page.red, page.blue + 40) << "the red last page";
  const pf::Pixel foot = host.pixelAt({window->bounds().width() / 2, window->bounds().height() - 2});
  EXPECT_GT(foot.red, foot.blue + 40) << "the page reaches the foot of the screen, no white strip under it";
  centre()->popViewControllerAnimated(false);
  settle();

  tapRow(SettingViewController::kModifyPassword);
  auto password = std::dynamic_pointer_cast<ModifyViewController>(centre()->topViewController());
  ASSERT_TRUE(password);
  host.render();
  writeSnapshot(host, name("password"));
  const pf::Pixel confirm = host.pixelAt({password->btn->convertRectToView(password->btn->bounds(), nullptr).minX() + 12,
                                          centreOf(password->btn).y});
  EXPECT_GT(confirm.blue, confirm.red + 60) << "the blue confirm button";
  const pf::Pixel field = host.pixelAt(centreOf(password->firstNewPW));
  EXPECT_GT(field.red, 230) << "a white field";
  centre()->popViewControllerAnimated(false);
  settle();

  devserver::DemoStore::publish("1.1");
  auto prompt = VersionPrompt::sharedInstance();
  tapRow(SettingViewController::kCheckVersion);
  loop->runUntilTrue([&] { return !prompt->currentlyChecking(); }, 20);
  settle();
  ASSERT_EQ(pf::AlertView::visibleAlerts().size(), 1u);
  host.render();
  writeSnapshot(host, name("update"));
  const auto alert = pf::AlertView::visibleAlerts().back();
  const pf::Rect box = alert->boxFrame();
  const pf::Pixel inside = host.pixelAt({box.minX() + 6, box.midY()});
  EXPECT_GT(inside.red, 220) << "the light alert box";
  const pf::Pixel dimmed = host.pixelAt({4, window->bounds().height() - 4});
  EXPECT_LT(dimmed.red, 200) << "the screen dimmed behind it";
  ASSERT_TRUE(alert->messageLabel());
  EXPECT_TRUE(box.contains(alert->messageLabel()->frame())) << "the notes inside the box";
}

INSTANTIATE_TEST_SUITE_P(Profiles, StgSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace stg_snapshot_test
