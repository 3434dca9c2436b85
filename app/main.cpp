// The program: the application with AppDelegate as its delegate, in a desktop window.
//   marlune                          opens the window at the first screen (help or login)
//   marlune --headless [--snapshot FILE]
//                                    launches without a window; writes the first screen to a PNG
//   marlune --snapshot FILE          opens the window, writes its first second's frame to a PNG, closes
//   marlune --walkthrough            walks a learner's day through the services, printing what it did
//   marlune --tour DIR               walks a learner's day through the screens without a window, one
//                                    PNG per screen and a contact sheet in DIR/index.html; fails on
//                                    what a screen shows wrong (MARLUNE_SCREEN picks the profile)

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "app/Walkthrough.h"
#include "app/controller/ScreenClasses.h"
#include "app/service/cmn/InitService.h"
#include "app/tour/TourCommand.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/window/WindowHost.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "ui/auth/AuthenticationDialog.h"
#include "ui/deck/PanelDeckRouting.h"

namespace {

void registerScreens() {
  registerScreenClasses();
  PanelDeckRouting::install();
  AuthenticationDialog::install();
}

std::string optionValue(const std::vector<std::string>& args, const std::string& name) {
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == name) return args[i + 1];
  return "";
}

bool hasOption(const std::vector<std::string>& args, const std::string& name) {
  for (const auto& arg : args)
    if (arg == name) return true;
  return false;
}

int runHeadless(const std::string& snapshot) {
  auto& application = pf::Application::sharedApplication();
  application.launch();
  pf::HeadlessHost host;
  host.runPending();
  if (snapshot.empty()) return 0;
  if (!host.writePng(snapshot)) {
    std::fprintf(stderr, "could not write the first screen to %s\n", snapshot.c_str());
    return 1;
  }
  std::printf("first screen written to %s\n", snapshot.c_str());
  return 0;
}

// The demo's mail application, so its menu and square entries open something in the window.
void registerDemoMailApplication() {
  pf::Application::sharedApplication().registerUrlHandler("marlunemail", [](const std::string& url) {
    pf::AlertView::showOnMainQueue(std::string("企业邮箱"), "已打开 " + url, std::string("确定"));
    return true;
  });
}

int runInWindow(const std::string& snapshot) {
  pf::WindowHost host;
  std::string error;
  if (!host.open("Marlune", &error)) {
    std::printf("no window: %s (run with a display, or pass --headless --snapshot FILE)\n", error.c_str());
    return 0;
  }
  registerDemoMailApplication();
  pf::Application::sharedApplication().launch();
  bool written = true;
  std::shared_ptr<pf::Timer> shot;
  if (!snapshot.empty()) {
    shot = pf::RunLoop::main()->performAfter(1, [&] {
      written = host.saveScreenshot(snapshot);
      host.quit();
    });
  }
  host.run();
  if (!snapshot.empty()) std::printf("%s %s\n", written ? "window frame written to" : "could not write", snapshot.c_str());
  return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  pf::RunLoop::setMainThread();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (hasOption(args, "--walkthrough")) {
    InitService().initAll();
    std::printf("A learner's day against the server:\n");
    return Walkthrough("learner", "learner123", "demo").run();
  }
  registerScreens();
  auto delegate = std::make_shared<AppDelegate>();
  pf::Application::sharedApplication().setDelegate(delegate);
  if (hasOption(args, "--tour")) {
    const std::string folder = optionValue(args, "--tour");
    if (folder.empty() || folder.starts_with("--")) {
      std::fprintf(stderr, "--tour needs the folder to write the pictures to\n");
      return 2;
    }
    return TourCommand::run(folder);
  }
  if (hasOption(args, "--headless")) return runHeadless(optionValue(args, "--snapshot"));
  return runInWindow(optionValue(args, "--snapshot"));
}
