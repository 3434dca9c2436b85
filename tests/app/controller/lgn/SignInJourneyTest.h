#pragma once
// Fixture for journeys from the login screen into the signed-in root: the demo stand-in with its
// learners, the application launched against it, the assembled bundle (interface files and pictures),
// the headless UI on a virtual clock and the screens registered. Subclasses pick the screen profile.

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/controller/cmn/CmnViewClasses.h"
#include "app/controller/cmn/MyNavigationBar.h"
#include "app/controller/cmn/NavigatorViewClasses.h"
#include "app/controller/lgn/LgnViewClasses.h"
#include "app/controller/lgn/LoginViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/host/HeadlessHost.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBarMaker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/app/controller/cmn/CmnScreenTest.h"
#include "tests/app/support/DemoServerSandbox.h"
#include "tools/devserver/demo/DemoMethods.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/hud/ProgressHUD.h"

class SignInJourneyTest : public DemoServerSandbox {
 protected:
  explicit SignInJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : profile(screenProfile) {}

  void SetUp() override {
    DemoServerSandbox::SetUp();
    pf::Clock::install(clock);
    pf::RunLoop::setMainThread();
    loop = pf::RunLoop::main();
    loop->clear();
    cmn_test::resetUi();
    pf::Screen::configure(profile);
    previousReachability_ = pf::ReachabilityProvider::install(reachability);
    setOnline(true);
    cmn_test::copyAssembledBundle(bundlePath());
    startServer([](devserver::OpenServer& standIn) { devserver::installDemoMethods(standIn, MARLUNE_DEMO_DATA); });
    registerCmnViewClasses();
    registerLgnViewClasses();
    registerNavigatorViewClasses();
    MyNavigationBar::setNavName(std::nullopt);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
  }
  void TearDown() override {
    root.reset();
    window.reset();
    cmn_test::resetUi();
    pf::NavigationBarMaker::setMaker({});
    ViewUtil::resetScreenClasses();
    loop->clear();
    pf::ReachabilityProvider::install(previousReachability_);
    DemoServerSandbox::TearDown();
    pf::Clock::install(nullptr);
    pf::Screen::configure(pf::Screen::Profile::Phone);
  }

  void setOnline(bool online) {
    reachability->setFlags(online ? pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect : 0);
  }

  // The login screen as the launch makes it: the root of a new navigation controller, shown.
  std::shared_ptr<LoginViewController> showLogin() {
    auto login = std::dynamic_pointer_cast<LoginViewController>(
        ViewUtil::viewControllerFromNibOfClass(LoginViewController::kClassName));
    root = std::make_shared<pf::NavigationController>(login);
    window->setRootViewController(root);
    settle();
    return login;
  }
  // Runs the loop (and the sign-in on its global queue) until nothing is moving on the screen.
  void settle() {
    for (int round = 0; round < 50; ++round) {
      loop->runUntil(pf::Clock::now() + 0.5);
      if (!signingIn()) break;
      loop->runUntilTrue([&] { return !signingIn(); }, 10);
    }
    loop->runUntil(pf::Clock::now() + 1);
  }
  bool signingIn() const {
    if (!root || root->viewControllers().empty()) return false;
    auto login = std::dynamic_pointer_cast<LoginViewController>(root->viewControllers().front());
    return login && login->isSigningIn();
  }
  void fill(LoginViewController& login, const std::string& corp, const std::string& name,
            const std::string& password) {
    login.corpCode.lock()->setText(corp);
    login.userName.lock()->setText(name);
    login.passWord.lock()->setText(password);
  }
  void tapView(const std::shared_ptr<pf::View>& view) {
    const pf::Rect frame = view->convertRectToView(view->bounds(), nullptr);
    pf::HeadlessHost host(window);
    host.tap({frame.midX(), frame.midY()});
    settle();
  }
  // The classes of the root navigation stack, bottom first.
  std::vector<std::string> stack() const {
    std::vector<std::string> names;
    for (const auto& controller : root->viewControllers()) names.push_back(controller->className());
    return names;
  }
  std::shared_ptr<PanelDeckController> deck() const {
    return root->viewControllers().empty()
               ? nullptr
               : std::dynamic_pointer_cast<PanelDeckController>(root->viewControllers().back());
  }
  // The text of the box shown on the window, if any.
  std::optional<std::string> boxText() const {
    auto hud = ProgressHUD::HUDForView(*window);
    if (!hud) return std::nullopt;
    return hud->detailsLabelText() ? hud->detailsLabelText() : hud->labelText();
  }
  static void writeSnapshot(pf::HeadlessHost& host, const std::string& name) {
    if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) host.writePng(std::string(folder) + "/" + name);
  }

  pf::Screen::Profile profile;
  // Starts at the real time: the stand-in refuses calls stamped far from its own clock.
  std::shared_ptr<pf::VirtualClock> clock = std::make_shared<pf::VirtualClock>(
      std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count());
  std::shared_ptr<pf::RunLoop> loop;
  std::shared_ptr<pf::Window> window;
  std::shared_ptr<pf::NavigationController> root;
  std::shared_ptr<pf::ManualReachabilityProvider> reachability = std::make_shared<pf::ManualReachabilityProvider>();

 private:
  std::shared_ptr<pf::ReachabilityProvider> previousReachability_;
};
