#pragma once
// Fixture for the exam screens: the demo learner signed in on the stand-in, the exam module's root in
// a navigation controller on the key window, alerts answered by a script as they show, and helpers
// to reach an exam's description and its timed screen.

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/controller/ems/EmsAllTableViewController.h"
#include "app/controller/ems/EmsAllViewController.h"
#include "app/controller/ems/EmsDescViewController.h"
#include "app/controller/ems/EmsProcessViewController.h"
#include "app/controller/ems/EmsViewClasses.h"
#include "app/model/ems/EmsExam.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/AlertView.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"

class EmsJourneyTest : public SignInJourneyTest {
 protected:
  static constexpr char kSubmitPath[] = "/v1/ems/paper/batchSubmit";
  static constexpr char kLearnerId[] = "U0001";

  explicit EmsJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerEmsViewClasses();
    openSession();
    becomeCurrentUser(kLearnerId);
    answerer_ = pf::Timer::scheduled(0.1, true, [this](pf::Timer&) { answerAlerts(); });
  }
  void TearDown() override {
    if (answerer_) answerer_->invalidate();
    SignInJourneyTest::TearDown();
  }

  // The module root on the window with its list loaded.
  std::shared_ptr<EmsAllViewController> openExamList() {
    examRoot = std::dynamic_pointer_cast<EmsAllViewController>(
        ViewUtil::viewControllerFromNibOfClass(EmsAllViewController::kClassName));
    root = std::make_shared<pf::NavigationController>(examRoot);
    window->setRootViewController(root);
    waitForList();
    return examRoot;
  }
  void waitForList() {
    loop->runUntil(pf::Clock::now() + 0.2);
    loop->runUntilTrue([&] { return list() && !list()->isRefreshing(); }, 20);
    loop->runUntil(pf::Clock::now() + 1);
  }
  std::shared_ptr<EmsAllTableViewController> list() const {
    return examRoot ? examRoot->allExamTableViewController.lock() : nullptr;
  }
  std::shared_ptr<EmsExam> examNamed(const std::string& name) const {
    for (const auto& exam : list()->examList)
      if (exam->examName == name) return exam;
    return nullptr;
  }
  long rowOf(const std::string& name) const {
    for (size_t i = 0; i < list()->examList.size(); ++i)
      if (list()->examList[i]->examName == name) return static_cast<long>(i);
    return -1;
  }
  // Taps the exam's row and answers the description it opened.
  std::shared_ptr<EmsDescViewController> openDescription(const std::string& name) {
    const long row = rowOf(name);
    EXPECT_GE(row, 0) << name;
    if (row < 0) return nullptr;
    auto table = list()->tableView();
    table->scrollToRowAtIndexPath(pf::IndexPath::forRow(row, 0), pf::TableView::ScrollPosition::Middle, false);
    loop->runUntil(pf::Clock::now() + 0.1);
    tapView(table->cellForRowAtIndexPath(pf::IndexPath::forRow(row, 0)));
    return std::dynamic_pointer_cast<EmsDescViewController>(root->topViewController());
  }
  // Enters the exam from its description: the timed screen on top, or null.
  std::shared_ptr<EmsProcessViewController> enterExam(const std::string& name, int maxIdleTime,
                                                      std::optional<int> maxCostTime = std::nullopt) {
    auto desc = openDescription(name);
    if (!desc) return nullptr;
    desc->exam->maxIdleTime = maxIdleTime;
    if (maxCostTime) desc->exam->maxCostTime = *maxCostTime;
    auto enter = desc->enterExamBtn.lock()->isHidden() ? desc->enterMakeupExamBtn.lock() : desc->enterExamBtn.lock();
    const pf::Rect frame = enter->convertRectToView(enter->bounds(), nullptr);
    pf::HeadlessHost(window).tap({frame.midX(), frame.midY()});
    entryTime = pf::Clock::now();
    loop->runUntil(pf::Clock::now() + 0.6);
    return std::dynamic_pointer_cast<EmsProcessViewController>(root->topViewController());
  }

  // Alerts shown so far, with the clock time each showed at.
  struct ShownAlert {
    std::string message;
    double time;
  };
  std::vector<ShownAlert> alerts;
  // When set, the submission's confirmation is left waiting.
  bool holdConfirmation = false;
  long confirmationAnswer = 0;

  std::vector<std::string> alertMessages() const {
    std::vector<std::string> messages;
    for (const auto& alert : alerts) messages.push_back(alert.message);
    return messages;
  }
  size_t submissions() const { return server->calls(kSubmitPath).size(); }

  std::shared_ptr<EmsAllViewController> examRoot;
  double entryTime = 0;

 private:
  void answerAlerts() {
    for (const auto& alert : pf::AlertView::visibleAlerts()) {
      const std::string message = alert->message().value_or("");
      const bool confirmation = message == EmsProcessViewController::kConfirmMessage;
      if (seen_.insert(alert.get()).second) alerts.push_back({message, pf::Clock::now()});
      if (confirmation && holdConfirmation) continue;
      alert->dismissWithClickedButtonIndex(confirmation ? confirmationAnswer : 0, false);
    }
  }

  std::shared_ptr<pf::Timer> answerer_;
  std::set<const void*> seen_;
};
