#include "app/journey/LearnerJourney.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "ui/deck/PanelDeckController.h"

struct LearnerJourney::Walk {
  std::shared_ptr<pf::Window> window;
  Account account;
  Observer observer;
};

LearnerJourney::LearnerJourney(std::shared_ptr<pf::Window> window)
    : LearnerJourney(std::move(window), Account()) {}

LearnerJourney::LearnerJourney(std::shared_ptr<pf::Window> window, Account account)
    : walk_(std::make_unique<Walk>()) {
  walk_->window = std::move(window);
  walk_->account = std::move(account);
}

LearnerJourney::~LearnerJourney() = default;

void LearnerJourney::setObserver(Observer observer) { walk_->observer = std::move(observer); }

std::vector<std::string> LearnerJourney::stepNames() { return {"sign-in"}; }

LearnerJourney::StepResult LearnerJourney::runStep(size_t index) {
  StepResult result;
  const auto names = stepNames();
  result.name = index < names.size() ? names[index] : "?";
  result.problems.push_back("not walked yet");
  if (walk_->observer) walk_->observer(result.name, topScreen());
  return result;
}

std::vector<LearnerJourney::StepResult> LearnerJourney::run() {
  std::vector<StepResult> results;
  for (size_t i = 0; i < stepNames().size(); ++i) results.push_back(runStep(i));
  return results;
}

std::shared_ptr<pf::ViewController> LearnerJourney::topScreen() const {
  auto screen = walk_->window ? walk_->window->rootViewController() : nullptr;
  while (screen) {
    if (auto presented = screen->presentedViewController()) {
      screen = presented;
    } else if (auto deck = std::dynamic_pointer_cast<PanelDeckController>(screen);
               deck && deck->centerController()) {
      screen = deck->isSideOpen(DeckSideLeft) && deck->leftController() ? deck->leftController()
                                                                          : deck->centerController();
    } else if (auto tabs = std::dynamic_pointer_cast<pf::TabBarController>(screen);
               tabs && tabs->selectedViewController()) {
      screen = tabs->selectedViewController();
    } else if (auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(screen);
               navigation && navigation->topViewController()) {
      screen = navigation->topViewController();
    } else {
      break;
    }
  }
  return screen;
}
