// Signing in from the login screen against the demo stand-in: the checks before any call, refusals
// that empty only the password, the way into the signed-in root, and what the screen remembers across
// launches, after a return to login and offline.

#include <gtest/gtest.h>

#include "app/controller/cmn/AppNavigatorViewController.h"
#include "app/controller/cmn/ScreenErrors.h"
#include "app/service/lgn/LoginService.h"
#include "core/open/ServiceManager.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"

namespace {

using Stack = std::vector<std::string>;
const Stack kSignedIn{"LoginViewController", "SynDataViewController", "PanelDeckController"};
const Stack kAtLogin{"LoginViewController"};

class LoginJourneyTest : public SignInJourneyTest {
 protected:
  // Signs in from a fresh login screen by tapping the button.
  std::shared_ptr<LoginViewController> signIn(const std::string& name, const std::string& password,
                                              bool remember = true) {
    auto login = root ? std::dynamic_pointer_cast<LoginViewController>(root->viewControllers().front()) : showLogin();
    if (login->checked() != remember) login->checkBoxPressed();
    fill(*login, "demo", name, password);
    tapView(login->loginBtn.lock());
    return login;
  }
  // A new process on this device showing its login screen.
  std::shared_ptr<LoginViewController> relaunchToLogin() {
    root.reset();
    window->setRootViewController(nullptr);
    settle();
    launchAgainstServer();
    return showLogin();
  }
};

// Faults caught: a check trimming the text (a password of spaces refused), checks out of order, a
// check that still signs in.
TEST_F(LoginJourneyTest, EmptyFieldsAreReportedInOrderAndSpacesPass) {
  struct Case {
    const char* corp;
    const char* name;
    const char* password;
    const char* message;
  } cases[] = {
      {"", "", "", LoginViewController::kCorpCodeMissing},
      {"", "learner", "learner123", LoginViewController::kCorpCodeMissing},
      {"demo", "", "", LoginViewController::kUserNameMissing},
      {"demo", "learner", "", LoginViewController::kPasswordMissing},
  };
  auto login = showLogin();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    fill(*login, c.corp, c.name, c.password);
    tapView(login->loginBtn.lock());
    EXPECT_EQ(boxText(), c.message);
    EXPECT_EQ(stack(), kAtLogin);
    loop->runUntil(pf::Clock::now() + 3);
  }
  fill(*login, "demo", "learner", "   ");
  tapView(login->loginBtn.lock());
  // The spaces went to the server, which refused them.
  EXPECT_NE(boxText(), LoginViewController::kPasswordMissing);
  EXPECT_TRUE(boxText().has_value());
  EXPECT_EQ(login->passWord.lock()->text(), "");
}

// Faults caught: a refusal that clears the name or the corporation, a missing cause, a refusal that
// moves on.
TEST_F(LoginJourneyTest, ARefusalShowsItsCauseAndEmptiesOnlyThePassword) {
  struct Case {
    const char* name;
    const char* password;
    std::optional<std::string> message;
  } cases[] = {
      {"learner", "wrong", std::nullopt},
      {"guest", "guest123", std::string(LoginService::kNoPermissionMessage)},
  };
  auto login = showLogin();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fill(*login, "demo", c.name, c.password);
    tapView(login->loginBtn.lock());
    ASSERT_TRUE(boxText().has_value());
    if (c.message) EXPECT_EQ(boxText(), c.message);
    EXPECT_NE(boxText(), LoginViewController::kUnknownError) << "the server's record carries a cause";
    EXPECT_EQ(login->corpCode.lock()->text(), "demo");
    EXPECT_EQ(login->userName.lock()->text(), c.name);
    EXPECT_EQ(login->passWord.lock()->text(), "");
    EXPECT_EQ(stack(), kAtLogin);
    loop->runUntil(pf::Clock::now() + 3);
  }
}

// Faults caught: no post-login screen, no deck, a deck without the menu, the wrong ledge.
TEST_F(LoginJourneyTest, SigningInPushesThePostLoginScreenAndTheDeck) {
  signIn("learner", "learner123");
  ASSERT_EQ(stack(), kSignedIn);
  auto root = deck();
  EXPECT_TRUE(std::dynamic_pointer_cast<AppNavigatorViewController>(root->leftController()));
  EXPECT_TRUE(root->centerController()) << "a deck never goes without a centre";
  EXPECT_DOUBLE_EQ(root->leftSize(), 50);
  EXPECT_FALSE(boxText().has_value() && boxText() == LoginViewController::kSigningIn)
      << "the overlay leaves once the sign-in ends";
}

// Faults caught: the remember box not read back, a sign-in without a tap when the box is off, the
// password kept when it should not be.
TEST_F(LoginJourneyTest, ARelaunchSignsInByItselfOnlyWithTheBoxOn) {
  signIn("learner", "learner123", true);
  ASSERT_EQ(stack(), kSignedIn);
  auto login = relaunchToLogin();
  EXPECT_EQ(stack(), kSignedIn) << "signed in without a tap";
  EXPECT_EQ(login->corpCode.lock()->text(), "demo");
  EXPECT_EQ(login->userName.lock()->text(), "learner");

  login->isLogout = true;
  ScreenErrors::backToLoginViewController();
  settle();
  signIn("learner", "learner123", false);
  ASSERT_EQ(stack(), kSignedIn);
  login = relaunchToLogin();
  EXPECT_EQ(stack(), kAtLogin);
  EXPECT_FALSE(login->checked());
  EXPECT_EQ(login->userName.lock()->text(), "learner");
  EXPECT_EQ(login->passWord.lock()->text(), "");
}

// Faults caught: an automatic sign-in after the session expired in the same process, fields cleared
// on the way back.
TEST_F(LoginJourneyTest, AfterAnExpiryReturnTheFieldsStayButNothingSignsIn) {
  auto login = signIn("learner", "learner123", true);
  ASSERT_EQ(stack(), kSignedIn);
  ScreenErrors::backToLoginViewController();
  settle();
  EXPECT_TRUE(login->isLogout);
  EXPECT_EQ(stack(), kAtLogin);
  EXPECT_EQ(login->userName.lock()->text(), "learner");
  EXPECT_EQ(login->passWord.lock()->text(), "learner123");
  EXPECT_FALSE(login->isSigningIn());
}

// Faults caught: an offline sign-in of someone never seen here, and an offline sign-in of another
// learner that keeps the first learner's session for the next call.
TEST_F(LoginJourneyTest, OfflineOnlyEarlierUsersSignInAndTheyNeverInheritASession) {
  signIn("visitor", "visitor123", false);
  ASSERT_EQ(stack(), kSignedIn);
  ScreenErrors::backToLoginViewController();
  settle();
  signIn("learner", "learner123", false);
  ASSERT_EQ(stack(), kSignedIn);
  ASSERT_EQ(ServiceManager::sessionCache().loginName(), "\"learner\"");
  ScreenErrors::backToLoginViewController();
  settle();

  setOnline(false);
  signIn("ann", "ann123", false);
  EXPECT_EQ(boxText(), LoginService::kLoginFailedMessage);
  EXPECT_EQ(stack(), kAtLogin);
  loop->runUntil(pf::Clock::now() + 3);

  signIn("visitor", "visitor123", false);
  EXPECT_EQ(stack(), kSignedIn);
  EXPECT_FALSE(ServiceManager::sessionCache().sessionId()) << "the next call would go as learner";

  // An offline sign-in of the learner whose session it is keeps it.
  ScreenErrors::backToLoginViewController();
  settle();
  setOnline(true);
  signIn("learner", "learner123", false);
  ScreenErrors::backToLoginViewController();
  settle();
  setOnline(false);
  signIn("learner", "learner123", false);
  EXPECT_EQ(stack(), kSignedIn);
  EXPECT_TRUE(ServiceManager::sessionCache().sessionId());
}

}  // namespace

namespace {

class LoginSnapshotTest : public SignInJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  LoginSnapshotTest() : SignInJourneyTest(GetParam()) {}
};

// The login screen as a learner first sees it: the form on the backdrop, the blue login button, the
// ticked remember box.
TEST_P(LoginSnapshotTest, TheFormShowsOnTheBackdrop) {
  auto login = showLogin();
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, GetParam() == pf::Screen::Profile::Phone ? "login-phone.png" : "login-tablet.png");
  const auto centreOf = [](const std::shared_ptr<pf::View>& view) {
    const pf::Rect frame = view->convertRectToView(view->bounds(), nullptr);
    return pf::Point(frame.midX(), frame.midY());
  };
  const pf::Rect button = login->loginBtn.lock()->convertRectToView(login->loginBtn.lock()->bounds(), nullptr);
  const pf::Pixel buttonPixel = host.pixelAt({button.minX() + 12, button.midY()});
  EXPECT_GT(buttonPixel.blue, buttonPixel.red + 60) << "the blue login button";
  const pf::Pixel field = host.pixelAt({login->passWord.lock()->convertRectToView(login->passWord.lock()->bounds(), nullptr).maxX() - 8,
                                        centreOf(login->passWord.lock()).y});
  EXPECT_GT(field.red, 230) << "a white field";
  const pf::Pixel backdrop = host.pixelAt({4, window->bounds().height() - 4});
  EXPECT_GT(backdrop.red, 190);
  const pf::Pixel box = host.pixelAt(centreOf(login->checkImgView.lock()));
  EXPECT_GT(box.blue, box.red) << "the ticked box";
}

INSTANTIATE_TEST_SUITE_P(Profiles, LoginSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace
