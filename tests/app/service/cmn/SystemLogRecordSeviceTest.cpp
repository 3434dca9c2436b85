#include "app/service/cmn/SystemLogRecordSevice.h"

#include <gtest/gtest.h>

#include "app/controller/cmn/BaseTableViewController.h"
#include "app/controller/cmn/BaseViewController.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/runtime/ClassBuilder.h"
#include "tests/app/support/AppSandbox.h"

namespace {

// Screens derived from the two screen bases, named as the view log reads them.
class NamedScreen : public BaseViewController {
  PF_OBJECT(NamedScreen, BaseViewController)
  std::optional<std::string> name;
  std::optional<std::string> viewName() const override { return name; }
};
class CourseListScreen : public NamedScreen {
  PF_OBJECT(CourseListScreen, NamedScreen)
};
class NamedList : public BaseTableViewController {
  PF_OBJECT(NamedList, BaseTableViewController)
  std::optional<std::string> name;
  std::optional<std::string> viewName() const override { return name; }
};
class LooseView : public pf::Object {
  PF_OBJECT(LooseView, pf::Object)
  std::optional<std::string> viewName;
  static void declareProperties(pf::ClassBuilder<LooseView>& b) { PF_PROPERTY(b, viewName); }
};

template <typename Screen>
std::shared_ptr<Screen> screenNamed(const std::string& name) {
  pf::registerClass<Screen>();
  auto screen = std::make_shared<Screen>();
  if constexpr (requires { screen->name; }) {
    screen->name = name;
  } else {
    screen->viewName = name;
  }
  return screen;
}

class SystemLogRecordSeviceTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    pf::Clock::install(clock_);
    SystemLogRecordSevice::defaultLogServer().clearRecords();
  }
  void TearDown() override {
    pf::Clock::install(nullptr);
    SystemLogRecordSevice::defaultLogServer().clearRecords();
    AppSandbox::TearDown();
  }
  std::shared_ptr<pf::VirtualClock> clock_ = std::make_shared<pf::VirtualClock>(1577836800.25);
};

TEST_F(SystemLogRecordSeviceTest, BeforeSignInARecordHasTheViewAndTimeButNoUser) {
  SystemLogRecordSevice::takeALogForViewController(screenNamed<NamedScreen>("首页"));
  const auto records = SystemLogRecordSevice::defaultLogServer().records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->viewName, "首页");
  EXPECT_EQ(records[0]->recordTime, 1577836800250LL);
  EXPECT_FALSE(records[0]->userID || records[0]->userName || records[0]->corpID || records[0]->corpName);
}

TEST_F(SystemLogRecordSeviceTest, ScreensOfBothBasesAndTheirSubclassesAreRecordedWithTheUser) {
  auto user = std::make_shared<User>();
  user->userId = "U1";
  user->userName = "王芳";
  user->corpCode = "acme";
  user->corpName = "Acme";
  CommonService().updateCurrentUser(user);
  SystemLogRecordSevice::takeALogForViewController(screenNamed<CourseListScreen>("课程"));
  SystemLogRecordSevice::takeALogForViewController(screenNamed<NamedList>("列表"));
  const auto records = SystemLogRecordSevice::defaultLogServer().records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->viewName, "课程");
  EXPECT_EQ(records[1]->viewName, "列表");
  EXPECT_EQ(records[1]->userID, "U1");
  EXPECT_EQ(records[1]->userName, "王芳");
  EXPECT_EQ(records[1]->corpID, "acme");
  EXPECT_EQ(records[1]->corpName, "Acme");
}

TEST_F(SystemLogRecordSeviceTest, OtherObjectsBuildNoRecordAndOnlyTheLatestAreKept) {
  SystemLogRecordSevice::takeALogForViewController(screenNamed<LooseView>("loose"));
  SystemLogRecordSevice::takeALogForViewController(nullptr);
  EXPECT_TRUE(SystemLogRecordSevice::defaultLogServer().records().empty());
  for (std::size_t i = 0; i < SystemLogRecordSevice::kRecordsKept + 3; ++i) {
    SystemLogRecordSevice::takeALogForViewController(screenNamed<NamedScreen>(std::to_string(i)));
  }
  const auto records = SystemLogRecordSevice::defaultLogServer().records();
  ASSERT_EQ(records.size(), SystemLogRecordSevice::kRecordsKept);
  EXPECT_EQ(records.front()->viewName, "3");
  EXPECT_EQ(&SystemLogRecordSevice::defaultLogServer(), &SystemLogRecordSevice::defaultLogServer());
}

}  // namespace
