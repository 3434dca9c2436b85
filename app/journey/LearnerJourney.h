#pragma once
// A learner's day through the real screens: signing in, the module menu and every module, courses,
// study online and offline, an exam, a survey, questions and answers, the micro-blog, the app square,
// settings and an offline sign-in with the changed password. It taps and types through the headless
// host on the given window, whose root navigation controller shows the login screen, against the
// server the app is configured for (the demo stand-in), and checks after each step what the learner
// sees. The screen profile is the one configured when the window was made.
//
// The observer hears each step's name and the screen on top once the step has settled: the tour draws
// it. A step that finds the screen other than it should be says so in its problems and the walk goes
// on as far as it can.
//
// The journey moves the main loop's clock (a virtual clock makes it exact and quick) and, for the
// offline part, takes the network away through a reachability provider of its own, put back when the
// journey ends.
//
// Main thread only.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pf {
class ViewController;
class Window;
}  // namespace pf

class LearnerJourney {
 public:
  struct Account {
    std::string corpCode = "demo";
    std::string loginName = "learner";
    std::string password = "learner123";
    // The password the settings step changes to; the last sign-in uses it.
    std::string newPassword = "learner456";
  };

  // What one step found: empty problems when the screen showed what it should. messages holds the
  // texts of boxes and alerts that came up during the step (a failure's explanation).
  struct StepResult {
    std::string name;
    std::vector<std::string> problems;
    std::vector<std::string> messages;
    bool passed() const { return problems.empty(); }
  };

  using Observer =
      std::function<void(const std::string& step, const std::shared_ptr<pf::ViewController>& onTop)>;

  // The demo learner of the demo corporation.
  explicit LearnerJourney(std::shared_ptr<pf::Window> window);
  LearnerJourney(std::shared_ptr<pf::Window> window, Account account);
  ~LearnerJourney();
  LearnerJourney(const LearnerJourney&) = delete;
  LearnerJourney& operator=(const LearnerJourney&) = delete;

  void setObserver(Observer observer);

  // The steps' names in the order they run.
  static std::vector<std::string> stepNames();
  // Runs the step of that index (of stepNames); later steps rely on the earlier ones having run.
  StepResult runStep(size_t index);
  // Runs every step in order.
  std::vector<StepResult> run();

  // The screen the learner sees now: a presented screen, else the top of the innermost navigation.
  std::shared_ptr<pf::ViewController> topScreen() const;

 private:
  struct Walk;
  static std::vector<std::pair<std::string, std::function<void(Walk&)>>> steps();

  std::unique_ptr<Walk> walk_;
};
