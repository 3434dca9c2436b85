#pragma once
// Fixture for the survey screens: the demo learner signed in on the stand-in, the survey module's
// root in a navigation controller on the key window, alerts answered by a script as they show, and
// helpers to reach a survey's description and its answering screen.

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/controller/qsm/QsmAllTableViewController.h"
#include "app/controller/qsm/QsmAllViewController.h"
#include "app/controller/qsm/QsmDescViewController.h"
#include "app/controller/qsm/QsmProcessViewController.h"
#include "app/controller/qsm/QsmViewClasses.h"
#include "app/model/qsm/QsmSurvey.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/AlertView.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"

class QsmJourneyTest : public SignInJourneyTest {
 protected:
  static constexpr char kSubmitPath[] = "/v1/qsm/survey/batchSubmit";
  static constexpr char kListPath[] = "/v1/qsm/survey/sync";
  static constexpr char kTraining[] = "新员工入职培训满意度调查";

  explicit QsmJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerQsmViewClasses();
    openSession();
    becomeCurrentUser("U0001");
    answerer_ = pf::Timer::scheduled(0.1, true, [this](pf::Timer&) { answerAlerts(); });
  }
  void TearDown() override {
    if (answerer_) answerer_->invalidate();
    SignInJourneyTest::TearDown();
  }

  std::shared_ptr<QsmAllViewController> openSurveyList() {
    surveyRoot = std::dynamic_pointer_cast<QsmAllViewController>(
        ViewUtil::viewControllerFromNibOfClass(QsmAllViewController::kClassName));
    root = std::make_shared<pf::NavigationController>(surveyRoot);
    window->setRootViewController(root);
    waitForList();
    return surveyRoot;
  }
  void waitForList() {
    loop->runUntil(pf::Clock::now() + 0.2);
    loop->runUntilTrue([&] { return list() && !list()->isRefreshing(); }, 20);
    loop->runUntil(pf::Clock::now() + 1);
  }
  std::shared_ptr<QsmAllTableViewController> list() const {
    return surveyRoot ? surveyRoot->allTableViewController : nullptr;
  }
  std::vector<std::string> listedNames() const {
    std::vector<std::string> names;
    for (const auto& survey : list()->surveyList) names.push_back(survey->surveyName.value_or(""));
    return names;
  }
  long rowOf(const std::string& name) const {
    for (size_t i = 0; i < list()->surveyList.size(); ++i)
      if (list()->surveyList[i]->surveyName == name) return static_cast<long>(i);
    return -1;
  }
  std::shared_ptr<QsmSurvey> surveyNamed(const std::string& name) const {
    const long row = rowOf(name);
    return row < 0 ? nullptr : list()->surveyList[row];
  }
  std::shared_ptr<pf::TableViewCell> rowCell(const std::string& name) {
    const long row = rowOf(name);
    EXPECT_GE(row, 0) << name;
    if (row < 0) return nullptr;
    auto table = list()->tableView();
    table->scrollToRowAtIndexPath(pf::IndexPath::forRow(row, 0), pf::TableView::ScrollPosition::Middle,
                                  false);
    loop->runUntil(pf::Clock::now() + 0.1);
    return table->cellForRowAtIndexPath(pf::IndexPath::forRow(row, 0));
  }
  // Taps the survey's row and answers the description it opened.
  std::shared_ptr<QsmDescViewController> openDescription(const std::string& name) {
    auto cell = rowCell(name);
    if (!cell) return nullptr;
    tapView(cell);
    return std::dynamic_pointer_cast<QsmDescViewController>(root->topViewController());
  }
  std::shared_ptr<QsmProcessViewController> startAnswering(const std::string& name) {
    auto desc = openDescription(name);
    if (!desc) return nullptr;
    auto enter = findEnterButton(*desc);
    EXPECT_TRUE(enter && !desc->enterBtmView.lock()->isHidden()) << name;
    if (!enter) return nullptr;
    tapView(enter);
    return std::dynamic_pointer_cast<QsmProcessViewController>(root->topViewController());
  }
  static std::shared_ptr<pf::View> findEnterButton(QsmDescViewController& desc) {
    auto area = desc.enterBtmView.lock();
    return area && !area->subviews().empty() ? area->subviews().front() : nullptr;
  }

  std::vector<std::string> alerts;
  // The answer given to the submission's confirmation.
  long confirmationAnswer = 0;
  size_t submissions() const { return server->calls(kSubmitPath).size(); }

  std::shared_ptr<QsmAllViewController> surveyRoot;

 private:
  void answerAlerts() {
    for (const auto& alert : pf::AlertView::visibleAlerts()) {
      if (!seen_.insert(alert.get()).second) continue;
      const std::string message = alert->message().value_or("");
      alerts.push_back(message);
      alert->dismissWithClickedButtonIndex(
          message == QsmProcessViewController::kConfirmMessage ? confirmationAnswer : 0, false);
    }
  }

  std::shared_ptr<pf::Timer> answerer_;
  std::set<const void*> seen_;
};
