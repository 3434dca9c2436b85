#pragma once
// Fixture for the settings journeys: the demo learner signed in through the login screen against the
// stand-in, the module stand-ins and the settings screens registered, settings opened from the menu as
// the deck's centre, and a fresh update prompt.

#include <memory>
#include <string>

#include "app/controller/cmn/AppNavigatorViewController.h"
#include "app/controller/stg/SettingViewCell.h"
#include "app/controller/stg/SettingViewController.h"
#include "app/controller/stg/StgViewClasses.h"
#include "core/version/VersionPrompt.h"
#include "platform/foundation/Locale.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "tests/app/controller/lgn/ModuleStandIns.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "tools/devserver/demo/DemoStore.h"

class StgJourneyTest : public SignInJourneyTest {
 protected:
  explicit StgJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    VersionPrompt::resetSharedInstance();
    devserver::DemoStore::publish(std::nullopt);
    lgn_test::registerModuleStandIns();
    registerStgViewClasses();
  }
  void TearDown() override {
    pf::AlertView::resetVisibleAlerts();
    VersionPrompt::resetSharedInstance();
    devserver::DemoStore::publish(std::nullopt);
    pf::Locale::setCurrent(std::nullopt);
    SignInJourneyTest::TearDown();
  }

  void signInAs(const std::string& name, const std::string& password) {
    auto login = root ? std::dynamic_pointer_cast<LoginViewController>(root->viewControllers().front()) : showLogin();
    fill(*login, "demo", name, password);
    tapView(login->loginBtn.lock());
  }
  // Signs the learner in and opens settings from the menu.
  std::shared_ptr<SettingViewController> openSettings(const std::string& name = "learner",
                                                      const std::string& password = "learner123") {
    signInAs(name, password);
    if (!deck()) return nullptr;
    auto menu = std::dynamic_pointer_cast<AppNavigatorViewController>(deck()->leftController());
    deck()->openLeftView(false);
    settle();
    menu->settingBtnPressed();
    settle();
    return settings();
  }
  std::shared_ptr<pf::NavigationController> centre() const {
    return deck() ? std::dynamic_pointer_cast<pf::NavigationController>(deck()->centerController()) : nullptr;
  }
  std::shared_ptr<SettingViewController> settings() const {
    auto navigation = centre();
    return navigation ? std::dynamic_pointer_cast<SettingViewController>(navigation->viewControllers().front())
                      : nullptr;
  }
  std::shared_ptr<SettingViewCell> row(long index) const {
    auto table = settings()->tableView.lock();
    return std::dynamic_pointer_cast<SettingViewCell>(table->cellForRowAtIndexPath(pf::IndexPath::forRow(index, 0)));
  }
  // Taps the row's button where it shows.
  void tapRow(long index) {
    auto table = settings()->tableView.lock();
    table->scrollToRowAtIndexPath(pf::IndexPath::forRow(index, 0), pf::TableView::ScrollPosition::None, false);
    settle();
    tapView(row(index)->btn.lock());
  }
  // The text of the alert showing, if any.
  static std::optional<std::string> alertText() {
    const auto alerts = pf::AlertView::visibleAlerts();
    if (alerts.empty()) return std::nullopt;
    return alerts.back()->title().value_or("") + "|" + alerts.back()->message().value_or("");
  }
};
