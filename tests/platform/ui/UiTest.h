#pragma once
// Fixture for view code: the main loop on a fresh virtual clock (MainLoopTest), a phone screen, a
// fresh application, no animation, transaction or touch left over from another test, and a key
// window of the screen's size.

#include <memory>

#include "platform/foundation/MainLoopTest.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TouchDispatcher.h"
#include "platform/ui/Transaction.h"
#include "platform/ui/ViewAnimationContext.h"
#include "platform/ui/Window.h"

class UiTest : public MainLoopTest {
 protected:
  void SetUp() override {
    MainLoopTest::SetUp();
    resetUi();
    pf::Screen::configure(pf::Screen::Profile::Phone);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
  }
  void TearDown() override {
    window.reset();
    resetUi();
    MainLoopTest::TearDown();
  }
  static void resetUi() {
    pf::Animator::shared().reset();
    pf::Transaction::reset();
    pf::ViewAnimationContext::reset();
    pf::TouchDispatcher::shared().reset();
    pf::Application::sharedApplication().reset();
    pf::Keyboard::shared().reset();
  }
  // Runs the main loop until the virtual clock reaches the time (timers and posted work included).
  void runUntil(double time) { loop->runUntil(time); }
  // Handles what is posted now, without moving the clock.
  void drain() { loop->runUntil(pf::Clock::now()); }

  std::shared_ptr<pf::Window> window;
};
