// The app's launch to its first screen drawn, and the demo learner's sign-in through the login screen
// to the module screen drawn (the learner's journey's first step), each against the same steps with
// nothing drawn: what drawing the screens adds. Phone profile at scale 2, virtual clock (the journey's
// waits take no time), against the loopback stand-in with the demo data, on a fresh device. Each
// round is a process of its own (this program again with --once), so every launch is a first one;
// the fastest of the rounds is kept.
//   app_launch_bench 2>/dev/null

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/AppDelegate.h"
#include "app/controller/ScreenClasses.h"
#include "app/controller/stg/HelpViewController.h"
#include "app/journey/LearnerJourney.h"
#include "bench/support/LoopbackBench.h"
#include "bench/support/RatioReporter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tools/devserver/demo/DemoMethods.h"
#include "tools/devserver/open/OpenDataFolder.h"
#include "ui/auth/AuthenticationDialog.h"
#include "ui/deck/PanelDeckRouting.h"

namespace {

constexpr int kRounds = 5;

struct Times {
  double launch = 0, launchDraw = 0, signIn = 0, signInDraw = 0;
};

// One round in this process: prints the four times in milliseconds.
int runOnce() {
  std::string problem;
  const auto demo = devserver::OpenDataFolder::read(MARLUNE_DEMO_DATA, &problem);
  if (!demo) return 1;
  devserver::OpenServer server(demo->settings);
  demo->install(server);
  devserver::installDemoMethods(server, MARLUNE_DEMO_DATA);
  if (!server.start()) return 1;
  const bench::PrivateFolder home("marlune-app-launch-bench");
  setenv("MARLUNE_SERVER_HOST", server.host().c_str(), 1);
  setenv("MARLUNE_HOME", home.path().c_str(), 1);
  setenv("MARLUNE_SCREEN", "phone", 1);
  pf::Bundle::setMainBundlePath(MARLUNE_BUNDLE_DIR);
  pf::Screen::configure(pf::Screen::Profile::Phone);
  registerScreenClasses();
  PanelDeckRouting::install();
  AuthenticationDialog::install();
  pf::Clock::install(std::make_shared<pf::VirtualClock>(pf::Clock::current()->wall()));
  auto& application = pf::Application::sharedApplication();
  application.setDelegate(std::make_shared<AppDelegate>());

  Times times;
  pf::HeadlessHost host;
  times.launch = bench::seconds([&] {
    application.launch();
    host.runPending();
  });
  times.launchDraw = bench::seconds([&] { host.render(); });
  auto window = application.keyWindow();
  if (!window) return 1;
  LearnerJourney journey(window);
  // A first launch shows the help pages; the learner leaves them before signing in.
  if (auto help = std::dynamic_pointer_cast<HelpViewController>(journey.topScreen())) {
    help->enterAppView();
    host.advance(1);
  }
  LearnerJourney::StepResult result;
  times.signIn = bench::seconds([&] { result = journey.runStep(0); });
  times.signInDraw = bench::seconds([&] { host.render(); });
  if (!result.passed()) {
    for (const auto& why : result.problems) std::fprintf(stderr, "sign-in: %s\n", why.c_str());
    return 1;
  }
  std::printf("%f %f %f %f\n", times.launch * 1e3, times.launchDraw * 1e3, times.signIn * 1e3,
              times.signInDraw * 1e3);
  std::fflush(stdout);
  server.stop();
  std::error_code ignored;
  std::filesystem::remove_all(home.path(), ignored);
  std::_Exit(0);  // the round is measured: skip tearing the app down
}

bool runRound(const char* self, Times& times) {
  int lines[2];
  if (pipe2(lines, O_CLOEXEC) != 0) return false;
  bench::Child child = bench::Child::spawn({self, "--once"}, lines[1]);
  close(lines[1]);
  std::string out;
  char buffer[256];
  ssize_t got;
  while ((got = read(lines[0], buffer, sizeof buffer)) > 0) out.append(buffer, size_t(got));
  close(lines[0]);
  if (!child.wait()) return false;
  return std::sscanf(out.c_str(), "%lf %lf %lf %lf", &times.launch, &times.launchDraw, &times.signIn,
                     &times.signInDraw) == 4;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--once") return runOnce();
  Times best{1e9, 1e9, 1e9, 1e9};
  double bestLaunch = 1e9, bestLaunchDrawn = 1e9, bestSignIn = 1e9, bestSignInDrawn = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    Times times;
    if (!runRound("/proc/self/exe", times)) {
      std::fprintf(stderr, "round %d failed\n", round);
      return 1;
    }
    bestLaunch = std::min(bestLaunch, times.launch);
    bestLaunchDrawn = std::min(bestLaunchDrawn, times.launch + times.launchDraw);
    bestSignIn = std::min(bestSignIn, times.signIn);
    bestSignInDrawn = std::min(bestSignInDrawn, times.signIn + times.signInDraw);
    best.launchDraw = std::min(best.launchDraw, times.launchDraw);
    best.signInDraw = std::min(best.signInDraw, times.signInDraw);
  }
  std::printf("fastest of %d rounds; drawing the first screen %.2f ms, the module screen %.2f ms\n", kRounds,
              best.launchDraw, best.signInDraw);
  bench::printRatioLine("app launch", "launch to the first screen drawn", bestLaunchDrawn, "drawing off",
                        bestLaunch);
  bench::printRatioLine("app launch", "sign-in to the module screen drawn", bestSignInDrawn, "drawing off",
                        bestSignIn);
  return 0;
}
