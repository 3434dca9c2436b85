#include "platform/host/window/WindowHost.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/Window.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using pf::Color;
using pf::Rect;

void pushMouse(Uint32 type, int x, int y) {
  SDL_Event event{};
  event.type = type;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.x = x;
  event.button.y = y;
  SDL_PushEvent(&event);
}

// Opens the window on the real clock, taps the red square with the mouse, looks at the frames and
// closes the window as its close button would.
TEST(WindowHostTest, OpensShowsFramesOnlyWhenSomethingChangedAndQuitsOnRequest) {
  pf::RunLoop::setMainThread();
  auto loop = pf::RunLoop::main();
  loop->clear();
  pf::Screen::configure(pf::Screen::Profile::Phone);
  auto window = std::make_shared<pf::Window>();
  window->setBackgroundColor(Color::white());
  auto square = std::make_shared<pf::View>(Rect(100, 100, 120, 120));
  square->setBackgroundColor(Color::red());
  window->addSubview(square);
  // Scrolled down, for a click on the status bar to bring back up.
  auto list = std::make_shared<pf::ScrollView>(Rect(0, 400, 320, 60));
  list->setContentSize({320, 1000});
  list->setContentOffset({0, 500});
  window->addSubview(list);
  window->makeKeyAndVisible();
  int taps = 0;
  auto tapper = std::make_shared<pf::TapGestureRecognizer>();
  tapper->addTarget([&](pf::GestureRecognizer&) { ++taps; });
  square->addGestureRecognizer(tapper);
  bool terminated = false;
  auto observation = pf::NotificationCenter::defaultCenter().addObserver(
      pf::Application::kWillTerminateNotification, nullptr,
      [&](const pf::Notification&) { terminated = true; });

  pf::WindowHost host;
  std::string error;
  if (!host.open("Marlune test", &error)) GTEST_SKIP() << "no display for the window host (" << error << ")";

  pf_test::TemporaryFolder folder;
  const std::string shot = folder.path() + "/frame.png";
  int framesWhenIdle = -1, framesLater = -1;
  loop->performAfter(0.6, [&] {
    framesWhenIdle = host.framesShown();
    host.saveScreenshot(shot);
    // Mouse at (160, 160) points = (320, 320) pixels at scale 2.
    pushMouse(SDL_MOUSEBUTTONDOWN, 320, 320);
    pushMouse(SDL_MOUSEBUTTONUP, 320, 320);
  });
  loop->performAfter(1.2, [&] { framesLater = host.framesShown(); });
  loop->performAfter(1.3, [&] {
    square->setBackgroundColor(Color::blue());
    // On the status bar, above the window's own views.
    pushMouse(SDL_MOUSEBUTTONDOWN, 20, 20);
    pushMouse(SDL_MOUSEBUTTONUP, 20, 20);
  });
  loop->performAfter(1.8, [&] {
    SDL_Event close{};
    close.type = SDL_QUIT;
    SDL_PushEvent(&close);
  });
  auto guard = loop->performAfter(15, [&] { loop->stop(); });

  const int frames = host.run();
  guard->invalidate();

  EXPECT_TRUE(terminated) << "closing the window terminates the application";
  EXPECT_LT(pf::Clock::now(), 15.0 + 1e9) << "ended by the close, not the guard";
  EXPECT_GE(framesWhenIdle, 1);
  EXPECT_EQ(framesLater, framesWhenIdle) << "no frames while nothing changes";
  EXPECT_GT(frames, framesLater) << "a change draws a frame";
  EXPECT_EQ(taps, 1) << "the mouse click is a tap";
  EXPECT_EQ(list->contentOffset().y, 0) << "a click on the status bar scrolls to the top";
  auto image = pf::Image::withContentsOfFile(shot);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitmap()->width(), 640);
  EXPECT_EQ(image->bitmap()->pixel(320, 320), (pf::Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image->bitmap()->pixel(100, 600), (pf::Pixel{255, 255, 255, 255}));
  if (const char* keep = std::getenv("MARLUNE_SNAPSHOT_DIR"))
    host.saveScreenshot(std::string(keep) + "/window-host.png");
  loop->clear();
}

void pushWindowEvent(Uint8 what) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = what;
  SDL_PushEvent(&event);
}

// Minimising the window leaves the application for the background and restoring it comes back, as the
// delegate hears (a delegate that pauses downloads on leaving relies on it).
TEST(WindowHostTest, MinimisingSendsTheApplicationToTheBackgroundAndRestoringBringsItBack) {
  pf::RunLoop::setMainThread();
  auto loop = pf::RunLoop::main();
  loop->clear();
  auto& application = pf::Application::sharedApplication();
  application.reset();
  pf::Screen::configure(pf::Screen::Profile::Phone);
  auto window = std::make_shared<pf::Window>();
  window->makeKeyAndVisible();
  pf::WindowHost host;
  std::string error;
  if (!host.open("Marlune test", &error)) GTEST_SKIP() << "no display for the window host (" << error << ")";
  application.launch();
  std::vector<pf::Application::State> states;
  loop->performAfter(0.2, [&] { pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED); });
  loop->performAfter(0.4, [&] {
    states.push_back(application.applicationState());
    pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
  });
  loop->performAfter(0.6, [&] {
    states.push_back(application.applicationState());
    host.quit();
  });
  auto guard = loop->performAfter(15, [&] { loop->stop(); });
  host.run();
  guard->invalidate();
  EXPECT_EQ(states, (std::vector{pf::Application::State::Background, pf::Application::State::Active}));
  application.reset();
  loop->clear();
}

}  // namespace
