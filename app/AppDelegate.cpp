#include "app/AppDelegate.h"

#include <exception>

#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/DbDataMigrationService.h"
#include "app/service/cms/DownloadService.h"
#include "app/util/ViewUtil.h"
#include "core/version/VersionPrompt.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/text/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

bool AppDelegate::didFinishLaunching(pf::Application&) {
  window = std::make_shared<pf::Window>(pf::Screen::mainScreen().bounds());
  // The store is asked one main-loop pass from now, once the server settings below are in place.
  VersionPrompt::sharedInstance()->setCheckAtLaunch(true);
  window->setBackgroundColor(pf::Color::black());
  databaseStart_ = InitService().initAll();
  std::shared_ptr<pf::ViewController> screen;
  if (databaseStart_ == InitService::DatabaseStart::Unavailable) {
    screen = databaseUnavailableScreen();
  } else {
    runMigrations();
    screen = firstScreen();
  }
  window->setRootViewController(std::make_shared<pf::NavigationController>(screen));
  window->makeKeyAndVisible();
  return true;
}

void AppDelegate::runMigrations() {
  try {
    DbDataMigrationService().beginMigrations();
  } catch (const std::exception& e) {
    pf::logf("%@", e.what());
  } catch (...) {
    pf::logf("%@", "the migration ended with an unknown exception");
  }
}

std::shared_ptr<pf::ViewController> AppDelegate::firstScreen() {
  const char* className = CommonService().isFirstLauch() ? kHelpScreenClass : kLoginScreenClass;
  auto screen = std::dynamic_pointer_cast<pf::ViewController>(ViewUtil::viewControllerFromNibOfClass(className));
  if (!screen) throw pf::ContractViolation(std::string("The screen class ") + className + " makes no screen");
  return screen;
}

std::shared_ptr<pf::ViewController> AppDelegate::databaseUnavailableScreen() {
  auto screen = std::make_shared<pf::ViewController>();
  auto view = screen->view();
  view->setBackgroundColor(pf::Color::white());
  auto message = std::make_shared<pf::Label>(view->bounds().insetBy(24, 0));
  message->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  message->setNumberOfLines(0);
  message->setTextAlignment(pf::TextAlignment::center);
  message->setFont(pf::Font::systemFont(17));
  message->setText(kDatabaseUnavailableText);
  view->addSubview(message);
  return screen;
}

// Without a database there are no download records to pause.
bool AppDelegate::downloadsAvailable() const {
  return databaseStart_ != InitService::DatabaseStart::Unavailable;
}

void AppDelegate::applicationDidEnterBackground(pf::Application&) {
  if (!downloadsAvailable() || CommonService().netIsWifi()) return;
  DownloadService::instance()->pauseAllTasks();
}

void AppDelegate::applicationWillTerminate(pf::Application&) {
  if (!downloadsAvailable()) return;
  DownloadService::instance()->pauseAllTasks();
}
