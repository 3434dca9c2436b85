#include "app/util/ViewUtil.h"

#include <gtest/gtest.h>

#include "platform/foundation/Error.h"
#include "platform/runtime/ClassBuilder.h"

namespace {

class StandInScreen : public pf::Object {
  PF_OBJECT(StandInScreen, pf::Object)
  std::string nibName;
};

class ViewUtilTest : public ::testing::Test {
 protected:
  void TearDown() override { ViewUtil::resetScreenClasses(); }
};

TEST_F(ViewUtilTest, MakesANewScreenOfARegisteredClassFromItsInterfaceFile) {
  ViewUtil::registerScreenClass("CmsMainViewController", [](const std::string& nibName) {
    auto screen = std::make_shared<StandInScreen>();
    screen->nibName = nibName;
    return screen;
  });
  EXPECT_TRUE(ViewUtil::isScreenClassRegistered("CmsMainViewController"));
  const auto first = ViewUtil::viewControllerFromNibOfClass("CmsMainViewController");
  const auto second = ViewUtil::viewControllerFromNibOfClass("CmsMainViewController");
  ASSERT_NE(std::dynamic_pointer_cast<StandInScreen>(first), nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(std::dynamic_pointer_cast<StandInScreen>(first)->nibName, "CmsMainViewController");
}

TEST_F(ViewUtilTest, AnUnknownScreenClassIsABuildFaultNamingIt) {
  try {
    ViewUtil::viewControllerFromNibOfClass("BlgMainViewController");
    FAIL() << "no fault";
  } catch (const pf::ContractViolation& e) {
    EXPECT_NE(std::string(e.what()).find("BlgMainViewController"), std::string::npos);
  }
}

}  // namespace
