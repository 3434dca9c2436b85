#include "platform/host/window/WindowHost.h"

#include <poll.h>
#include <unistd.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <thread>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/Layer.h"
#include "platform/ui/LayerRenderer.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TouchInjector.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"

namespace pf {

namespace {

constexpr double kFrameInterval = 1.0 / 60;
// Events the window system queued without a byte on its socket (rare) wait at most this long.
constexpr double kSafetyPumpInterval = 0.25;

}  // namespace

struct WindowHost::Impl {
  SDL_Window* window = nullptr;
  bool sdlStarted = false;
  int pixelWidth = 0;
  int pixelHeight = 0;
  double scale = 1;
  std::shared_ptr<Bitmap> frame;
  int frames = 0;
  bool frameScheduled = false;
  bool drawing = false;
  double lastFrameAt = -1;
  bool mouseDown = false;
  bool pinching = false;
  std::shared_ptr<Window> injectorWindow;
  std::unique_ptr<TouchInjector> injector;
  std::shared_ptr<Timer> safetyPump;
  std::shared_ptr<Timer> frameTimer;
  // Work posted to the main loop checks this, so nothing runs into a host that is gone.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  // The watcher thread waits on the display connection and asks the main loop to pump events.
  int displayFd = -1;
  int stopPipe[2] = {-1, -1};
  std::thread watcher;
  std::mutex pumpMutex;
  std::condition_variable pumped;
  bool pumpPending = false;

  ~Impl() { close(); }

  void close() {
    stopWatcher();
    if (safetyPump) safetyPump->invalidate();
    if (frameTimer) frameTimer->invalidate();
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
    // The whole of SDL: its D-Bus connection goes only with SDL_Quit.
    if (sdlStarted) SDL_Quit();
    sdlStarted = false;
  }

  void startWatcher() {
    if (displayFd < 0 || pipe(stopPipe) != 0) return;
    watcher = std::thread([this] { watch(); });
  }

  void stopWatcher() {
    if (watcher.joinable()) {
      const char byte = 1;
      [[maybe_unused]] auto written = write(stopPipe[1], &byte, 1);
      {
        std::lock_guard lock(pumpMutex);
        pumpPending = false;
      }
      pumped.notify_all();
      watcher.join();
    }
    for (int& fd : stopPipe) {
      if (fd >= 0) ::close(fd);
      fd = -1;
    }
  }

  void watch() {
    pollfd fds[2] = {{displayFd, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
    while (true) {
      if (poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents) return;
      if (!(fds[0].revents & POLLIN)) continue;
      std::unique_lock lock(pumpMutex);
      pumpPending = true;
      RunLoop::main()->post([this, token = std::weak_ptr<bool>(alive)] {
        if (token.lock()) pumpFromWatcher();
      });
      // The data stays readable until the main thread reads it: wait for that, or for the stop.
      pumped.wait(lock, [&] { return !pumpPending; });
      if (pollfd stop{stopPipe[0], POLLIN, 0}; poll(&stop, 1, 0) > 0) return;
    }
  }

  void pumpFromWatcher() {
    pump();
    {
      std::lock_guard lock(pumpMutex);
      pumpPending = false;
    }
    pumped.notify_all();
  }

  TouchInjector* fingers() {
    auto key = Application::sharedApplication().keyWindow();
    if (!key) return nullptr;
    if (!injector || injectorWindow != key) {
      injector = std::make_unique<TouchInjector>(key);
      injectorWindow = key;
    }
    return injector.get();
  }

  Point toPoints(int x, int y) const { return {x / scale, y / scale}; }

  Point mirrored(Point p) const {
    const Rect screen = Screen::mainScreen().bounds();
    return {screen.width() - p.x, screen.height() - p.y};
  }

  void pump() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) handle(event);
  }

  void handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        requestQuit();
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) scheduleFrame(true);
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST && injector) injector->cancelAll();
        // Minimised is the desktop's way of leaving the application for another.
        if (event.window.event == SDL_WINDOWEVENT_MINIMIZED) Application::sharedApplication().enterBackground();
        if (event.window.event == SDL_WINDOWEVENT_RESTORED) Application::sharedApplication().enterForeground();
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) press(toPoints(event.button.x, event.button.y));
        break;
      case SDL_MOUSEMOTION:
        if (mouseDown) move(toPoints(event.motion.x, event.motion.y));
        break;
      case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT) lift();
        break;
      case SDL_TEXTINPUT:
        if (auto* input = dynamic_cast<TextInput*>(Responder::firstResponder().get()))
          input->insertText(event.text.text);
        break;
      case SDL_KEYDOWN:
        key(event.key.keysym.sym);
        break;
      default:
        break;
    }
  }

  void press(Point at) {
    auto* touch = fingers();
    if (!touch) return;
    mouseDown = true;
    pinching = (SDL_GetModState() & KMOD_ALT) != 0;
    // The status bar is not the window's: a click on it scrolls to the top instead of touching.
    auto& application = Application::sharedApplication();
    if (!pinching && !application.isStatusBarHidden() && application.statusBarFrame().contains(at)) {
      mouseDown = false;
      if (auto window = application.keyWindow()) ScrollView::scrollToTopInWindow(*window);
      return;
    }
    touch->press(0, at);
    if (pinching) touch->press(1, mirrored(at));
  }

  void move(Point to) {
    auto* touch = fingers();
    if (!touch) return;
    if (pinching) {
      touch->moveAll({{0, to}, {1, mirrored(to)}});
    } else {
      touch->move(0, to);
    }
  }

  void lift() {
    mouseDown = false;
    if (!injector) return;
    injector->lift(0);
    if (pinching) injector->lift(1);
    pinching = false;
  }

  void key(SDL_Keycode code) {
    auto* input = dynamic_cast<TextInput*>(Responder::firstResponder().get());
    if (!input) return;
    if (code == SDLK_RETURN || code == SDLK_KP_ENTER) input->insertText("\n");
    if (code == SDLK_BACKSPACE) input->deleteBackward();
  }

  void requestQuit() {
    Application::sharedApplication().terminate();
    RunLoop::main()->stop();
  }

  // A frame at the next 60 Hz slot; changes made while a frame is drawn do not ask for another.
  void scheduleFrame(bool force = false) {
    if (frameScheduled || (drawing && !force)) return;
    frameScheduled = true;
    const double wait = lastFrameAt < 0 ? 0 : std::max(0.0, lastFrameAt + kFrameInterval - Clock::now());
    frameTimer = RunLoop::main()->performAfter(
        wait, [this] { drawFrame(); }, RunLoop::kCommonModes);
  }

  void drawStatusBar(GraphicsContext& context) {
    auto& application = Application::sharedApplication();
    if (application.isStatusBarHidden()) return;
    const Rect bar = application.statusBarFrame();
    const bool light = application.statusBarStyle() == Application::StatusBarStyle::Default;
    context.setFillColor(light ? Color::fromWhite(0.92) : Color::black());
    context.fillRect(bar);
    if (application.isNetworkActivityIndicatorVisible()) {
      context.setFillColor(light ? Color::darkGray() : Color::lightGray());
      context.fillEllipse(Rect(8, bar.midY() - 4, 8, 8));
    }
  }

  // Copies the frame into the window's own surface: plain memory, no GPU needed (Xvfb has none).
  void present() {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(frame->data(), frame->width(), frame->height(),
                                                             32, frame->stride(), SDL_PIXELFORMAT_ARGB8888);
    if (target && source) {
      SDL_BlitSurface(source, nullptr, target, nullptr);
      SDL_UpdateWindowSurface(window);
    }
    if (source) SDL_FreeSurface(source);
  }

  void drawFrame() {
    frameScheduled = false;
    drawing = true;
    if (!frame) frame = Bitmap::create(pixelWidth, pixelHeight);
    {
      GraphicsContext context(frame, scale);
      context.setFillColor(Color::black());
      context.fillRect(Screen::mainScreen().bounds());
      if (auto key = Application::sharedApplication().keyWindow(); key && !key->isHidden()) {
        key->layoutIfNeeded();
        LayerRenderer::render(*key->layer(), context);
      }
      drawStatusBar(context);
    }
    present();
    ++frames;
    lastFrameAt = Clock::now();
    drawing = false;
    Application::sharedApplication().takeChromeChanged();
    // Presenting may have read window-system events into the queue without waking the watcher.
    pump();
    if (Animator::shared().isAnimating()) scheduleFrame();
  }
};

WindowHost::WindowHost() : impl_(std::make_unique<Impl>()) {}

WindowHost::~WindowHost() {
  Layer::setChangeObserver(nullptr);
}

bool WindowHost::open(const std::string& title, std::string* error) {
  const auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + ": " + SDL_GetError();
    impl_->close();
    return false;
  };
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Frames are drawn by Cairo in memory: no GPU driver is loaded for copying them.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail("no display");
  impl_->sdlStarted = true;
  const Screen& screen = Screen::mainScreen();
  impl_->scale = screen.scale();
  impl_->pixelWidth = static_cast<int>(std::lround(screen.bounds().width() * impl_->scale));
  impl_->pixelHeight = static_cast<int>(std::lround(screen.bounds().height() * impl_->scale));
  impl_->window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   impl_->pixelWidth, impl_->pixelHeight, SDL_WINDOW_SHOWN);
  if (!impl_->window) return fail("cannot open a window");
  if (!SDL_GetWindowSurface(impl_->window)) return fail("cannot draw into the window");
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(impl_->window, &info) && info.subsystem == SDL_SYSWM_X11)
    impl_->displayFd = ConnectionNumber(info.info.x11.display);
  SDL_StartTextInput();
  return true;
}

int WindowHost::run() {
  if (!impl_->window) return 0;
  Impl& host = *impl_;
  Layer::setChangeObserver([&host] { host.scheduleFrame(); });
  host.startWatcher();
  host.safetyPump = Timer::make(kSafetyPumpInterval, true, [&host](Timer&) { host.pump(); });
  RunLoop::main()->addTimer(host.safetyPump, RunLoop::kCommonModes);
  host.scheduleFrame(true);
  host.pump();
  RunLoop::main()->run();
  Layer::setChangeObserver(nullptr);
  host.safetyPump->invalidate();
  if (host.frameTimer) host.frameTimer->invalidate();
  host.frameScheduled = false;
  host.stopWatcher();
  return host.frames;
}

void WindowHost::quit() {
  RunLoop::main()->post([impl = impl_.get(), token = std::weak_ptr<bool>(impl_->alive)] {
    if (token.lock()) impl->requestQuit();
  });
}

int WindowHost::framesShown() const {
  return impl_->frames;
}

bool WindowHost::saveScreenshot(const std::string& path) const {
  if (!impl_->frame || impl_->frames == 0) return false;
  auto png = Image::withBitmap(impl_->frame, impl_->scale)->pngData();
  if (!png) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
  return static_cast<bool>(out);
}

}  // namespace pf
