// Changing the password from settings against the stand-in: the checks before any call, the change
// itself, and what the device and the session know of the new password afterwards.

#include <gtest/gtest.h>

#include "app/controller/cmn/ScreenErrors.h"
#include "app/controller/stg/ModifyViewController.h"
#include "app/service/cms/CourseSyncService.h"
#include "platform/foundation/Clock.h"
#include "platform/ui/TextField.h"
#include "tests/app/controller/stg/StgJourneyTest.h"

namespace password_journey_test {

class PasswordJourneyTest : public StgJourneyTest {
 protected:
  std::shared_ptr<ModifyViewController> openPasswordScreen() {
    if (!openSettings()) return nullptr;
    tapRow(SettingViewController::kModifyPassword);
    return std::dynamic_pointer_cast<ModifyViewController>(centre()->topViewController());
  }
  void submit(ModifyViewController& screen, const std::string& old, const std::string& first,
              const std::string& second) {
    screen.oldPassword->setText(old);
    screen.firstNewPW->setText(first);
    screen.secondNewPW->setText(second);
    tapView(screen.btn);
  }
};

// Faults caught: a length counted in bytes or off by one, checks out of order, 6 or 20 refused, a new
// password equal to the old one refused.
TEST(PasswordChecks, MessagesInOrderAndLengthsFromSixToTwenty) {
  const std::string six(6, 'a'), twenty(20, 'b'), five(5, 'c'), twentyOne(21, 'd');
  const std::string chineseSix = "密码密码密码";
  struct Case {
    std::string old, first, second;
    std::optional<std::string> message;
  } cases[] = {
      {"", "", "", ModifyViewController::kOldMissing},
      {"", six, six, ModifyViewController::kOldMissing},
      {"old", "", six, ModifyViewController::kNewMissing},
      {"old", six, "", ModifyViewController::kConfirmMissing},
      {"old", six, six + "x", ModifyViewController::kMismatch},
      {"old", five, five, ModifyViewController::kBadLength},
      {"old", twentyOne, twentyOne, ModifyViewController::kBadLength},
      {"old", six, six, std::nullopt},
      {"old", twenty, twenty, std::nullopt},
      {"old", chineseSix, chineseSix, std::nullopt},
      {six, six, six, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ModifyViewController::checkPasswords(c.old, c.first, c.second), c.message) << c.first;
}

// Faults caught: a refused form that still calls the server, a password screen the menu can be dragged
// over, panning left off after coming back.
TEST_F(PasswordJourneyTest, ARefusedFormCallsNobodyAndTheMenuStaysShutMeanwhile) {
  auto screen = openPasswordScreen();
  ASSERT_TRUE(screen);
  EXPECT_EQ(deck()->panningMode(), DeckPanningNone);
  submit(*screen, "learner123", "abcde", "abcde");
  EXPECT_EQ(boxText(), ModifyViewController::kBadLength);
  EXPECT_TRUE(server->calls("/v1/uc/user/modifyUserPassword").empty());
  centre()->popViewControllerAnimated(false);
  settle();
  EXPECT_EQ(deck()->panningMode(), DeckPanningFullView);
}

// Faults caught: the remembered password left old (the next automatic sign-in fails), an offline
// sign-in that refuses the new password, and the session renewing with the old one (about 15 minutes
// later every call fails and the learner is sent to login).
TEST_F(PasswordJourneyTest, TheNewPasswordSignsInOfflineAndRenewsTheSession) {
  auto screen = openPasswordScreen();
  ASSERT_TRUE(screen);
  submit(*screen, "learner123", "newpass1", "newpass1");
  EXPECT_EQ(boxText(), ModifyViewController::kChanged);
  EXPECT_EQ(centre()->topViewController(), screen) << "the screen stays";
  EXPECT_EQ(CommonService().getLastLoginUserPassword(), "newpass1");

  // The renewal time has come: the next call logs in again with what the session remembers.
  ServiceManager::sessionCache().setLastRefreshTime(pf::Date{pf::Date::now().seconds - 900});
  CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
  settle();
  EXPECT_TRUE(delegate->reports->empty()) << "the call after the renewal time succeeds";
  const auto logins = server->calls(devserver::OpenServer::kLoginPath);
  ASSERT_FALSE(logins.empty());
  EXPECT_EQ(logins.back().text("password"), "newpass1");

  ScreenErrors::backToLoginViewController();
  settle();
  setOnline(false);
  signInAs("learner", "learner123");
  EXPECT_EQ(stack(), std::vector<std::string>{"LoginViewController"}) << "the old password is refused offline";
  loop->runUntil(pf::Clock::now() + 3);
  signInAs("learner", "newpass1");
  EXPECT_EQ(stack().size(), 3u) << "the new one signs in offline";
}

}  // namespace password_journey_test
