#include "app/service/cmn/ReminderService.h"

#include <gtest/gtest.h>

#include "app/model/cmn/MobileApp.h"
#include "tests/app/support/AppSandbox.h"

namespace {

class ReminderServiceTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    auto me = std::make_shared<User>();
    me->userId = "U1";
    CommonService().updateCurrentUser(me);
  }
  static void storeApp(const std::string& userId, const std::string& appCode, int reminder) {
    auto app = std::make_shared<MobileApp>();
    app->userId = userId;
    app->appCode = appCode;
    app->reminder = reminder;
    ASSERT_TRUE(VelkDBHelper::instance()->saveObject(app));
  }
};

TEST_F(ReminderServiceTest, ReadsTheCurrentUsersStoredCount) {
  storeApp("U1", "up_my_course", 3);
  storeApp("U2", "up_my_course", 9);
  storeApp("U2", "wb_user", 4);
  ReminderService reminders;
  EXPECT_EQ(reminders.getAppReminderWithAppCode("up_my_course"), 3);
  EXPECT_EQ(reminders.getAppReminderWithAppCode("wb_user"), 0);      // another user's module
  EXPECT_EQ(reminders.getAppReminderWithAppCode("ems_my_exam"), 0);  // not in the list
  CommonService().updateCurrentUser(nullptr);
  EXPECT_EQ(reminders.getAppReminderWithAppCode("up_my_course"), 0);
}

TEST_F(ReminderServiceTest, AnAppCodeSentTwiceIsReadWithoutFault) {
  storeApp("U1", "qa_wenda", 5);
  storeApp("U1", "qa_wenda", 7);
  EXPECT_EQ(ReminderService().getAppReminderWithAppCode("qa_wenda"), 5);
}

TEST_F(ReminderServiceTest, UpdatingKeepsTheCountOfTheLastSignIn) {
  storeApp("U1", "ems_my_exam", 2);
  ReminderService reminders;
  for (int count : {1, 0, 10}) reminders.updateMobileAppReminderWithAppCode("ems_my_exam", count);
  EXPECT_EQ(reminders.getAppReminderWithAppCode("ems_my_exam"), 2);
}

}  // namespace
