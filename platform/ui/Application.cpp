#include "platform/ui/Application.h"

#include <algorithm>

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace pf {

Application& Application::sharedApplication() {
  static std::shared_ptr<Application> application(new Application());
  return *application;
}

void Application::post(const char* name) {
  NotificationCenter::defaultCenter().post(name, std::shared_ptr<void>(std::shared_ptr<void>(), this));
}

bool Application::launch() {
  auto delegate = delegate_;
  const bool launched = delegate ? delegate->didFinishLaunching(*this) : true;
  post(kDidFinishLaunchingNotification);
  state_ = State::Active;
  if (delegate) delegate->applicationDidBecomeActive(*this);
  post(kDidBecomeActiveNotification);
  return launched;
}

void Application::enterBackground() {
  if (state_ == State::Background) return;
  auto delegate = delegate_;
  if (state_ == State::Active) {
    state_ = State::Inactive;
    if (delegate) delegate->applicationWillResignActive(*this);
    post(kWillResignActiveNotification);
  }
  state_ = State::Background;
  if (delegate) delegate->applicationDidEnterBackground(*this);
  post(kDidEnterBackgroundNotification);
}

void Application::enterForeground() {
  if (state_ != State::Background) return;
  auto delegate = delegate_;
  // As on the device, the state still reads background while the return is announced.
  if (delegate) delegate->applicationWillEnterForeground(*this);
  post(kWillEnterForegroundNotification);
  state_ = State::Active;
  if (delegate) delegate->applicationDidBecomeActive(*this);
  post(kDidBecomeActiveNotification);
}

void Application::terminate() {
  auto delegate = delegate_;
  if (delegate) delegate->applicationWillTerminate(*this);
  post(kWillTerminateNotification);
}

void Application::receiveMemoryWarning() {
  if (auto delegate = delegate_) delegate->applicationDidReceiveMemoryWarning(*this);
  post(kDidReceiveMemoryWarningNotification);
}

std::vector<std::shared_ptr<Window>> Application::windows() const {
  std::vector<std::shared_ptr<Window>> live;
  for (const auto& weak : windows_) {
    if (auto window = weak.lock()) live.push_back(std::move(window));
  }
  return live;
}

void Application::setKeyWindow(const std::shared_ptr<Window>& window) {
  std::erase_if(windows_, [](const std::weak_ptr<Window>& w) { return w.expired(); });
  if (window && std::none_of(windows_.begin(), windows_.end(), [&](auto& w) { return w.lock() == window; }))
    windows_.push_back(window);
  keyWindow_ = window;
  chromeChanged_ = true;
}

void Application::removeWindow(const Window* window) {
  std::erase_if(windows_, [&](const std::weak_ptr<Window>& w) {
    auto locked = w.lock();
    return !locked || locked.get() == window;
  });
  if (keyWindow_.lock().get() == window) keyWindow_.reset();
}

namespace {

std::string schemeOf(const std::string& url) {
  const auto colon = url.find(':');
  if (colon == std::string::npos || colon == 0) return {};
  std::string scheme = url.substr(0, colon);
  std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return scheme;
}

}  // namespace

void Application::registerUrlHandler(const std::string& scheme, UrlHandler handler) {
  std::string key = scheme;
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
  urlHandlers_[key] = std::move(handler);
}

void Application::removeUrlHandlers() {
  urlHandlers_.clear();
}

bool Application::canOpenURL(const std::string& url) const {
  return urlHandlers_.contains(schemeOf(url));
}

bool Application::openURL(const std::string& url) {
  auto handler = urlHandlers_.find(schemeOf(url));
  if (handler == urlHandlers_.end()) return false;
  auto open = handler->second;
  return open(url);
}

Application::BackgroundTaskIdentifier Application::beginBackgroundTask(
    std::function<void()> expirationHandler) {
  const BackgroundTaskIdentifier id = nextTask_++;
  backgroundTasks_[id] = std::move(expirationHandler);
  return id;
}

void Application::endBackgroundTask(BackgroundTaskIdentifier identifier) {
  backgroundTasks_.erase(identifier);
}

void Application::expireBackgroundTasks() {
  // A handler normally ends its own task; whatever is left open afterwards is ended here.
  auto open = backgroundTasks_;
  for (auto& [id, handler] : open) {
    if (handler && backgroundTasks_.contains(id)) handler();
  }
  for (auto& entry : open) backgroundTasks_.erase(entry.first);
}

void Application::setStatusBarHidden(bool hidden, bool) {
  if (hidden == statusBarHidden_) return;
  statusBarHidden_ = hidden;
  chromeChanged_ = true;
  for (const auto& window : windows()) window->statusBarFrameDidChange();
}

void Application::setStatusBarStyle(StatusBarStyle style, bool) {
  statusBarStyle_ = style;
  chromeChanged_ = true;
}

Rect Application::statusBarFrame() const {
  if (statusBarHidden_) return Rect();
  return Rect(0, 0, Screen::mainScreen().bounds().width(), kStatusBarHeight);
}

void Application::setStatusBarOrientation(InterfaceOrientation orientation, bool) {
  if (orientation == statusBarOrientation_) return;
  post(kWillChangeStatusBarOrientationNotification);
  statusBarOrientation_ = orientation;
  chromeChanged_ = true;
  post(kDidChangeStatusBarOrientationNotification);
}

void Application::setNetworkActivityIndicatorVisible(bool visible) {
  if (visible == networkActivityIndicatorVisible_) return;
  networkActivityIndicatorVisible_ = visible;
  chromeChanged_ = true;
}

void Application::endIgnoringInteractionEvents() {
  if (ignoringEvents_ > 0) --ignoringEvents_;
}

bool Application::takeChromeChanged() {
  const bool changed = chromeChanged_;
  chromeChanged_ = false;
  return changed;
}

void Application::reset() {
  delegate_.reset();
  state_ = State::Inactive;
  windows_.clear();
  keyWindow_.reset();
  urlHandlers_.clear();
  backgroundTasks_.clear();
  statusBarHidden_ = false;
  statusBarStyle_ = StatusBarStyle::Default;
  statusBarOrientation_ = InterfaceOrientation::Portrait;
  networkActivityIndicatorVisible_ = false;
  badgeNumber_ = 0;
  ignoringEvents_ = 0;
  chromeChanged_ = true;
}

}  // namespace pf
