#include "app/journey/LearnerJourney.h"

#include <algorithm>

#include "app/controller/cmn/AppNavigatorViewController.h"
#include "app/controller/lgn/LoginViewController.h"
#include "app/journey/JourneyScreen.h"
#include "app/model/cmn/MobileApp.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "ui/deck/PanelDeckController.h"

namespace {

// The module rows of the demo learner's menu, in order, and what each root shows.
struct LearnerJourneyModule {
  const char* key;
  const char* row;
  const char* shows;
};
constexpr LearnerJourneyModule kLearnerJourneyModules[] = {
    {"exams", "我的考试", "安全生产基础"}, {"surveys", "问卷调查", "新员工入职培训满意度调查"},
    {"questions", "问答", "问题"},         {"blog", "微博", "微博"},
    {"square", "应用广场", "应用广场"},    {"courses", "我的课程", "我的课程"}};

}  // namespace

struct LearnerJourney::Walk {
  Walk(std::shared_ptr<pf::Window> shownOn, Account who)
      : screen(std::move(shownOn)), account(std::move(who)) {
    reachability->setFlags(pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect);
    previousReachability = pf::ReachabilityProvider::install(reachability);
  }
  ~Walk() { pf::ReachabilityProvider::install(previousReachability); }

  JourneyScreen screen;
  Account account;
  Observer observer;
  std::shared_ptr<pf::ManualReachabilityProvider> reachability = std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::ReachabilityProvider> previousReachability;
  std::vector<std::string> problems;

  // --- Reading the screen.
  void expect(bool holds, const std::string& what) {
    if (!holds) problems.push_back(what + " [on screen: " + screen.describe() + "]");
  }
  void expectShows(const std::string& text) { expect(screen.shows(text), "\"" + text + "\" not shown"); }
  std::shared_ptr<pf::NavigationController> rootStack() const {
    return std::dynamic_pointer_cast<pf::NavigationController>(screen.window()->rootViewController());
  }
  std::shared_ptr<PanelDeckController> deck() const {
    auto stack = rootStack();
    return stack ? std::dynamic_pointer_cast<PanelDeckController>(stack->topViewController()) : nullptr;
  }
  std::shared_ptr<LoginViewController> login() const {
    auto stack = rootStack();
    return stack && !stack->viewControllers().empty()
               ? std::dynamic_pointer_cast<LoginViewController>(stack->viewControllers().front())
               : nullptr;
  }
  std::shared_ptr<pf::ViewController> top() const {
    auto shown = screen.window()->rootViewController();
    while (shown) {
      if (auto presented = shown->presentedViewController()) {
        shown = presented;
      } else if (auto side = std::dynamic_pointer_cast<PanelDeckController>(shown); side && side->centerController()) {
        shown = side->isSideOpen(DeckSideLeft) && side->leftController() ? side->leftController()
                                                                          : side->centerController();
      } else if (auto tabs = std::dynamic_pointer_cast<pf::TabBarController>(shown);
                 tabs && tabs->selectedViewController()) {
        shown = tabs->selectedViewController();
      } else if (auto stack = std::dynamic_pointer_cast<pf::NavigationController>(shown);
                 stack && stack->topViewController()) {
        shown = stack->topViewController();
      } else {
        break;
      }
    }
    return shown;
  }
  std::string topClass() const {
    auto shown = top();
    return shown ? shown->className() : "nothing";
  }
  // The first table showing in the view with at least one row.
  static std::shared_ptr<pf::TableView> tableIn(const std::shared_ptr<pf::View>& view) {
    if (!view || view->isHidden()) return nullptr;
    if (auto table = std::dynamic_pointer_cast<pf::TableView>(view);
        table && table->numberOfSections() > 0 && table->numberOfRowsInSection(0) > 0)
      return table;
    for (const auto& sub : view->subviews())
      if (auto table = tableIn(sub)) return table;
    return nullptr;
  }

  // --- Acting.
  // Runs the loop until nothing is under way elsewhere and a moment has passed.
  void settle(double timeout = 30) {
    for (int round = 0; round < 8; ++round) {
      screen.waitFor([] { return pf::RunLoop::pendingWorkCount() == 0; }, timeout);
      screen.wait(0.5);
      if (pf::RunLoop::pendingWorkCount() == 0) return;
    }
  }
  void setOnline(bool online) {
    reachability->setFlags(online ? pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect : 0);
    reachability->fireChange();
    settle();
  }
  bool tapBarButton(bool left) {
    auto shown = top();
    if (!shown) return false;
    auto item = left ? shown->navigationItem()->leftBarButtonItem() : shown->navigationItem()->rightBarButtonItem();
    return item && screen.tap(item->customView());
  }
  void fillField(const std::weak_ptr<pf::TextField>& weak, const std::string& text) {
    auto field = weak.lock();
    if (!field) return;
    field->setText("");
    screen.type(field, text);
  }

  // --- Steps.
  void signIn(const std::string& password) {
    auto screenAtLogin = login();
    expect(screenAtLogin && top() == screenAtLogin, "the login screen is not showing");
    if (!screenAtLogin) return;
    fillField(screenAtLogin->corpCode, account.corpCode);
    fillField(screenAtLogin->userName, account.loginName);
    fillField(screenAtLogin->passWord, password);
    screen.tap(screenAtLogin->loginBtn.lock());
    screen.waitFor([&] { return !screenAtLogin->isSigningIn(); });
    settle();
    expect(deck() != nullptr, "signing in did not reach the module screen");
  }
  void openMenu() {
    auto side = deck();
    if (!side) return;
    if (!side->isSideOpen(DeckSideLeft)) tapBarButton(true);
    settle();
    if (!side->isSideOpen(DeckSideLeft)) {
      screen.drag({2, screen.window()->bounds().midY()}, {220, screen.window()->bounds().midY()});
      settle();
    }
    expect(side->isSideOpen(DeckSideLeft), "the menu did not open");
  }
  void chooseModule(const std::string& row) {
    openMenu();
    auto side = deck();
    auto menu = side ? std::dynamic_pointer_cast<AppNavigatorViewController>(side->leftController()) : nullptr;
    if (!menu) return;
    const auto& rows = menu->resourceArr();
    const auto at = std::find_if(rows.begin(), rows.end(), [&](const auto& app) { return app->appName == row; });
    expect(at != rows.end(), "the menu has no row " + row);
    if (at == rows.end()) return;
    screen.tapRow(*menu->tableView, static_cast<long>(at - rows.begin()));
    settle();
    expect(!side->isSideOpen(DeckSideLeft), "the menu stayed open after choosing " + row);
  }

  void stepSignIn() { signIn(account.password); }
  void stepMenu() {
    openMenu();
    for (const auto& module : kLearnerJourneyModules) expectShows(module.row);
    expectShows("设置");
  }
  void stepModuleRoots() {
    for (const auto& module : kLearnerJourneyModules) {
      chooseModule(module.row);
      expectShows(module.shows);
      if (observer) observer(std::string("module-") + module.key, top());
    }
  }
};

LearnerJourney::LearnerJourney(std::shared_ptr<pf::Window> window)
    : LearnerJourney(std::move(window), Account()) {}

LearnerJourney::LearnerJourney(std::shared_ptr<pf::Window> window, Account account)
    : walk_(std::make_unique<Walk>(std::move(window), std::move(account))) {}

LearnerJourney::~LearnerJourney() = default;

void LearnerJourney::setObserver(Observer observer) { walk_->observer = std::move(observer); }

std::vector<std::string> LearnerJourney::stepNames() {
  std::vector<std::string> names;
  for (const auto& step : steps()) names.push_back(step.first);
  return names;
}

LearnerJourney::StepResult LearnerJourney::runStep(size_t index) {
  StepResult result;
  const auto all = steps();
  if (index >= all.size()) {
    result.name = "?";
    result.problems.push_back("no step " + std::to_string(index));
    return result;
  }
  result.name = all[index].first;
  walk_->problems.clear();
  walk_->screen.takeMessages();
  all[index].second(*walk_);
  walk_->settle();
  result.problems = std::exchange(walk_->problems, {});
  result.messages = walk_->screen.takeMessages();
  if (walk_->observer) walk_->observer(result.name, topScreen());
  return result;
}

std::vector<LearnerJourney::StepResult> LearnerJourney::run() {
  std::vector<StepResult> results;
  for (size_t i = 0; i < steps().size(); ++i) results.push_back(runStep(i));
  return results;
}

std::shared_ptr<pf::ViewController> LearnerJourney::topScreen() const { return walk_->top(); }

std::vector<std::pair<std::string, std::function<void(LearnerJourney::Walk&)>>> LearnerJourney::steps() {
  return {
      {"sign-in", [](Walk& walk) { walk.stepSignIn(); }},
      {"menu", [](Walk& walk) { walk.stepMenu(); }},
      {"module-roots", [](Walk& walk) { walk.stepModuleRoots(); }},
  };
}
