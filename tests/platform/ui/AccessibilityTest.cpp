#include "platform/ui/Accessibility.h"

#include <gtest/gtest.h>

#include "platform/ui/View.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Accessibility;
using Kind = pf::Accessibility::Notification;

class AccessibilityTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Accessibility::reset();
  }
};

TEST_F(AccessibilityTest, ValuesBelongToTheirViewAndStartEmpty) {
  auto view = std::make_shared<pf::View>();
  auto other = std::make_shared<pf::View>();
  EXPECT_FALSE(Accessibility::label(*view));
  EXPECT_FALSE(Accessibility::hint(*view));
  EXPECT_FALSE(Accessibility::frame(*view));
  EXPECT_FALSE(Accessibility::viewIsModal(*view));
  Accessibility::setLabel(*view, std::string("关闭"));
  Accessibility::setHint(*view, std::string("Closes the menu"));
  Accessibility::setFrame(*view, pf::Rect{270, 0, 50, 480});
  Accessibility::setViewIsModal(*view, true);
  EXPECT_EQ(Accessibility::label(*view), "关闭");
  EXPECT_EQ(Accessibility::hint(*view), "Closes the menu");
  EXPECT_EQ(Accessibility::frame(*view), (pf::Rect{270, 0, 50, 480}));
  EXPECT_TRUE(Accessibility::viewIsModal(*view));
  EXPECT_FALSE(Accessibility::label(*other));
  EXPECT_FALSE(Accessibility::viewIsModal(*other));
  Accessibility::setLabel(*view, std::nullopt);
  EXPECT_FALSE(Accessibility::label(*view));
}

TEST_F(AccessibilityTest, AnnouncementsAreRecordedInOrderUntilReset) {
  Accessibility::post(Kind::ScreenChanged);
  Accessibility::post(Kind::Announcement, std::string("Saved"));
  Accessibility::post(Kind::ScreenChanged);
  ASSERT_EQ(Accessibility::posted().size(), 3u);
  EXPECT_EQ(Accessibility::posted()[1].kind, Kind::Announcement);
  EXPECT_EQ(Accessibility::posted()[1].argument, "Saved");
  EXPECT_EQ(Accessibility::count(Kind::ScreenChanged), 2u);
  EXPECT_EQ(Accessibility::count(Kind::LayoutChanged), 0u);
  Accessibility::reset();
  EXPECT_TRUE(Accessibility::posted().empty());
}

}  // namespace
