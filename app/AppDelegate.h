#pragma once
// The composition root: at launch it makes the one window, sets up the local database and the server
// configuration, carries over the previous release's data, and makes the help pages (first launch of
// a version) or the login screen the root of the one navigation controller that stays the window's
// root for the life of the process. Leaving the foreground off Wi-Fi, and terminating, pause every
// download.
//
// A database that cannot be opened (a full disk) leaves a screen saying so in place of the first
// screen, instead of stopping the program.
//
// Main thread only.

#include <memory>
#include <optional>

#include "app/service/cmn/InitService.h"
#include "platform/ui/Application.h"

namespace pf {
class ViewController;
class Window;
}

class AppDelegate : public pf::ApplicationDelegate {
 public:
  static constexpr char kHelpScreenClass[] = "HelpViewController";
  static constexpr char kLoginScreenClass[] = "LoginViewController";
  static constexpr char kDatabaseUnavailableText[] =
      "无法打开本地数据库，可能是存储空间已满。请清理空间后重新启动应用。";

  std::shared_ptr<pf::Window> window;

  bool didFinishLaunching(pf::Application& application) override;
  void applicationDidEnterBackground(pf::Application& application) override;
  void applicationWillTerminate(pf::Application& application) override;

  // What the launch found of the database; nullopt before the launch.
  std::optional<InitService::DatabaseStart> databaseStart() const { return databaseStart_; }

 private:
  static void runMigrations();
  static std::shared_ptr<pf::ViewController> firstScreen();
  static std::shared_ptr<pf::ViewController> databaseUnavailableScreen();
  bool downloadsAvailable() const;

  std::optional<InitService::DatabaseStart> databaseStart_;
};
