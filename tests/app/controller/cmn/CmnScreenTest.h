#pragma once
// Fixture for the common screens and views: an application launched in its sandbox (the store and the
// server settings made, as the view log needs), the headless UI on a fresh virtual clock with a key
// window of the phone screen, the bundle holding the assembled interface files and pictures, the
// common classes registered and every navigation bar a MyNavigationBar without a bar picture.

#include <filesystem>
#include <memory>
#include <string>

#include "app/controller/cmn/CmnViewClasses.h"
#include "app/controller/cmn/MyNavigationBar.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationBarMaker.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TouchDispatcher.h"
#include "platform/ui/Transaction.h"
#include "platform/ui/ViewAnimationContext.h"
#include "platform/ui/Window.h"
#include "tests/app/support/AppSandbox.h"

namespace cmn_test {

// Copies the interface files and pictures the build assembled into a test's bundle folder.
inline void copyAssembledBundle(const std::string& into) {
  namespace fs = std::filesystem;
  for (const auto& entry : fs::directory_iterator(MARLUNE_BUNDLE_DIR)) {
    const auto ext = entry.path().extension();
    if (ext == ".nib" || ext == ".png")
      fs::copy_file(entry.path(), fs::path(into) / entry.path().filename(), fs::copy_options::skip_existing);
  }
}

inline void resetUi() {
  pf::Animator::shared().reset();
  pf::Transaction::reset();
  pf::ViewAnimationContext::reset();
  pf::TouchDispatcher::shared().reset();
  pf::Application::sharedApplication().reset();
  pf::Keyboard::shared().reset();
}

}  // namespace cmn_test

class CmnScreenTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    pf::Clock::install(clock);
    pf::RunLoop::setMainThread();
    loop = pf::RunLoop::main();
    loop->clear();
    cmn_test::resetUi();
    pf::Screen::configure(pf::Screen::Profile::Phone);
    cmn_test::copyAssembledBundle(bundlePath());
    ASSERT_NE(launch(), InitService::DatabaseStart::Unavailable);
    registerCmnViewClasses();
    MyNavigationBar::setNavName(std::nullopt);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
  }
  void TearDown() override {
    window.reset();
    cmn_test::resetUi();
    MyNavigationBar::setNavName(std::nullopt);
    pf::NavigationBarMaker::setMaker({});
    ViewUtil::resetScreenClasses();
    loop->clear();
    pf::Clock::install(nullptr);
    AppSandbox::TearDown();
  }
  // Runs the main loop until the virtual clock reaches the time.
  void runUntil(double time) { loop->runUntil(time); }

  std::shared_ptr<pf::VirtualClock> clock = std::make_shared<pf::VirtualClock>();
  std::shared_ptr<pf::RunLoop> loop;
  std::shared_ptr<pf::Window> window;
};
