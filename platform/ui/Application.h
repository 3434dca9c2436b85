#pragma once
// The running application: its windows and key window, its delegate and life cycle (launch,
// foreground, background, termination, memory warnings, each also posted as a notification),
// opening URLs through handlers registered by scheme, background tasks, the status bar and the
// network activity indicator. Hosts drive the life cycle; tests call it directly. Main thread only.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Rect.h"
#include "platform/ui/Device.h"
#include "platform/ui/Responder.h"

namespace pf {

class Window;
class Application;

// The application's delegate (the program's composition root). Every operation is optional.
class ApplicationDelegate {
 public:
  virtual ~ApplicationDelegate() = default;
  virtual bool didFinishLaunching(Application& /*application*/) { return true; }
  virtual void applicationWillResignActive(Application& /*application*/) {}
  virtual void applicationDidEnterBackground(Application& /*application*/) {}
  virtual void applicationWillEnterForeground(Application& /*application*/) {}
  virtual void applicationDidBecomeActive(Application& /*application*/) {}
  virtual void applicationWillTerminate(Application& /*application*/) {}
  virtual void applicationDidReceiveMemoryWarning(Application& /*application*/) {}
};

class Application : public Responder {
  PF_OBJECT(Application, Responder)

  static constexpr char kDidFinishLaunchingNotification[] = "UIApplicationDidFinishLaunchingNotification";
  static constexpr char kWillResignActiveNotification[] = "UIApplicationWillResignActiveNotification";
  static constexpr char kDidEnterBackgroundNotification[] = "UIApplicationDidEnterBackgroundNotification";
  static constexpr char kWillEnterForegroundNotification[] = "UIApplicationWillEnterForegroundNotification";
  static constexpr char kDidBecomeActiveNotification[] = "UIApplicationDidBecomeActiveNotification";
  static constexpr char kWillTerminateNotification[] = "UIApplicationWillTerminateNotification";
  static constexpr char kDidReceiveMemoryWarningNotification[] =
      "UIApplicationDidReceiveMemoryWarningNotification";
  static constexpr char kDidChangeStatusBarOrientationNotification[] =
      "UIApplicationDidChangeStatusBarOrientationNotification";
  // Posted before the status bar turns, while statusBarOrientation still answers the old one.
  static constexpr char kWillChangeStatusBarOrientationNotification[] =
      "UIApplicationWillChangeStatusBarOrientationNotification";

  // The platform's numbers.
  enum class State { Active = 0, Inactive = 1, Background = 2 };
  enum class StatusBarStyle { Default = 0, LightContent = 1, BlackOpaque = 2 };
  enum class InterfaceOrientation {
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeRight = 3,
    LandscapeLeft = 4
  };
  using BackgroundTaskIdentifier = unsigned long;
  static constexpr BackgroundTaskIdentifier kBackgroundTaskInvalid = 0;
  static constexpr double kStatusBarHeight = 20;

  // Handles URLs of one scheme: answers whether it opened the URL.
  using UrlHandler = std::function<bool(const std::string& url)>;

  static Application& sharedApplication();

  std::shared_ptr<ApplicationDelegate> delegate() const { return delegate_; }
  void setDelegate(std::shared_ptr<ApplicationDelegate> delegate) { delegate_ = std::move(delegate); }

  // Life cycle, driven by the host.
  bool launch();
  void enterBackground();
  void enterForeground();
  void terminate();
  void receiveMemoryWarning();
  State applicationState() const { return state_; }

  // Windows.
  std::shared_ptr<Window> keyWindow() const { return keyWindow_.lock(); }
  std::vector<std::shared_ptr<Window>> windows() const;
  void setKeyWindow(const std::shared_ptr<Window>& window);
  void removeWindow(const Window* window);

  // URLs of other applications.
  void registerUrlHandler(const std::string& scheme, UrlHandler handler);
  void removeUrlHandlers();
  bool canOpenURL(const std::string& url) const;
  bool openURL(const std::string& url);

  // Background tasks: every begun task is ended exactly once; ending an unknown one does nothing.
  BackgroundTaskIdentifier beginBackgroundTask(std::function<void()> expirationHandler = {});
  void endBackgroundTask(BackgroundTaskIdentifier identifier);
  size_t backgroundTaskCount() const { return backgroundTasks_.size(); }
  // Runs the expiration handlers of the tasks still open (the host's time ran out).
  void expireBackgroundTasks();

  // Status bar and activity indicator.
  bool isStatusBarHidden() const { return statusBarHidden_; }
  void setStatusBarHidden(bool hidden, bool animated = false);
  StatusBarStyle statusBarStyle() const { return statusBarStyle_; }
  void setStatusBarStyle(StatusBarStyle style, bool animated = false);
  Rect statusBarFrame() const;
  InterfaceOrientation statusBarOrientation() const { return statusBarOrientation_; }
  void setStatusBarOrientation(InterfaceOrientation orientation, bool animated = false);
  bool isNetworkActivityIndicatorVisible() const { return networkActivityIndicatorVisible_; }
  void setNetworkActivityIndicatorVisible(bool visible);
  int applicationIconBadgeNumber() const { return badgeNumber_; }
  void setApplicationIconBadgeNumber(int number) { badgeNumber_ = number; }
  bool isIgnoringInteractionEvents() const { return ignoringEvents_ > 0; }
  void beginIgnoringInteractionEvents() { ++ignoringEvents_; }
  void endIgnoringInteractionEvents();
  // Whether anything the user sees changed since the host last asked (status bar, indicator).
  bool takeChromeChanged();

  // Back to a fresh application (tests).
  void reset();

 private:
  Application() = default;
  void post(const char* name);

  std::shared_ptr<ApplicationDelegate> delegate_;
  State state_ = State::Inactive;
  std::vector<std::weak_ptr<Window>> windows_;
  std::weak_ptr<Window> keyWindow_;
  std::map<std::string, UrlHandler> urlHandlers_;
  std::map<BackgroundTaskIdentifier, std::function<void()>> backgroundTasks_;
  BackgroundTaskIdentifier nextTask_ = 1;
  bool statusBarHidden_ = false;
  StatusBarStyle statusBarStyle_ = StatusBarStyle::Default;
  InterfaceOrientation statusBarOrientation_ = InterfaceOrientation::Portrait;
  bool networkActivityIndicatorVisible_ = false;
  int badgeNumber_ = 0;
  int ignoringEvents_ = 0;
  bool chromeChanged_ = true;
};

}  // namespace pf
