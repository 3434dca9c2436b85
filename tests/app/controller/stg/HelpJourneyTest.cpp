// The help pages: six pages side by side, and the way out on the last page, back to settings or, at
// a first launch, on to the login screen, which then stands alone on the stack.

#include <gtest/gtest.h>

#include "app/controller/stg/HelpViewController.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/ScrollView.h"
#include "tests/app/controller/stg/StgJourneyTest.h"

namespace help_journey_test {

class HelpJourneyTest : public StgJourneyTest {
 protected:
  // Scrolls to the last page and taps the way out where it shows.
  void leaveFromTheLastPage(HelpViewController& help) {
    auto pages = help.scrollView.lock();
    pages->setContentOffset({pages->bounds().width() * (HelpViewController::kPageCount - 1), 0});
    settle();
    tapView(help.enterButton());
  }
};

// Faults caught: pages missing or not side by side, a way out that lands on the wrong screen, a
// navigation bar left hidden over settings.
TEST_F(HelpJourneyTest, FromSettingsTheLastPageLeadsBackToSettings) {
  ASSERT_TRUE(openSettings());
  tapRow(SettingViewController::kHelp);
  auto help = std::dynamic_pointer_cast<HelpViewController>(centre()->topViewController());
  ASSERT_TRUE(help);
  EXPECT_TRUE(centre()->isNavigationBarHidden());
  auto pages = help->scrollView.lock();
  EXPECT_TRUE(pages->isPagingEnabled());
  EXPECT_DOUBLE_EQ(pages->contentSize().width, 6 * 320);
  int pictures = 0;
  for (const auto& view : pages->subviews())
    if (auto page = std::dynamic_pointer_cast<pf::ImageView>(view); page && page->image()) ++pictures;
  EXPECT_EQ(pictures, 6);
  EXPECT_GT(help->enterButton()->frame().minX(), 5 * 320) << "on the last page";

  leaveFromTheLastPage(*help);
  EXPECT_EQ(centre()->viewControllers().size(), 1u);
  EXPECT_TRUE(std::dynamic_pointer_cast<SettingViewController>(centre()->topViewController()));
  EXPECT_FALSE(centre()->isNavigationBarHidden());
  EXPECT_EQ(stack().size(), 3u) << "the signed-in root stays";
}

// Fault caught: the help left under the login screen (back would return to it) or no login at all.
TEST_F(HelpJourneyTest, AtLaunchTheLastPageLeadsToLoginAlone) {
  auto help = std::dynamic_pointer_cast<HelpViewController>(ViewUtil::viewControllerFromNibOfClass("HelpViewController"));
  root = std::make_shared<pf::NavigationController>(help);
  window->setRootViewController(root);
  settle();
  leaveFromTheLastPage(*help);
  EXPECT_EQ(stack(), std::vector<std::string>{"LoginViewController"});
}

}  // namespace help_journey_test
