#pragma once
// Fixture for the question detail, the editors, the topics and the Q&A personal page: the demo
// learner signed in on the stand-in, a navigation controller on the key window, helpers that open a
// question's detail or a topic, type into the overlays and answer alerts as they show.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/ans/AnsDetailViewClasses.h"
#include "app/controller/ans/AnsDistributeView.h"
#include "app/controller/ans/AnsListViewClasses.h"
#include "app/controller/ans/AnsModifyView.h"
#include "app/controller/ans/AnsQuesDetailContentViewController.h"
#include "app/controller/ans/AnsQuesDetailViewController.h"
#include "app/controller/ans/AnsTabBar.h"
#include "app/model/ans/Answer.h"
#include "app/model/ans/QaQuestion.h"
#include "app/service/ans/AnsService.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "ui/base/BaseTextView.h"

class AnsDetailJourneyTest : public SignInJourneyTest {
 protected:
  static constexpr char kLearnerId[] = "U0001";

  explicit AnsDetailJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerAnsListViewClasses();
    registerAnsDetailViewClasses();
    openSession();
    becomeCurrentUser(kLearnerId);
    start = std::make_shared<pf::ViewController>();
    root = std::make_shared<pf::NavigationController>(start);
    window->setRootViewController(root);
    settle();
    baseSubviews = window->subviews().size();
  }

  std::shared_ptr<QaQuestion> questionOf(const std::string& id) { return AnsService().getQuestionById(id); }

  // The question's detail pushed on the stack, its answers loaded.
  std::shared_ptr<AnsQuesDetailViewController> openDetail(const std::string& id) {
    auto question = questionOf(id);
    EXPECT_TRUE(question) << id;
    return openDetail(question);
  }
  std::shared_ptr<AnsQuesDetailViewController> openDetail(const std::shared_ptr<QaQuestion>& question) {
    auto detail = std::dynamic_pointer_cast<AnsQuesDetailViewController>(
        ViewUtil::viewControllerFromNibOfClass(AnsQuesDetailViewController::kClassName));
    detail->question = question;
    detail->setNavgationItemTitle("问题");
    detail->setHidesBottomBarWhenPushed(true);
    root->pushViewController(detail, false);
    settle();
    return detail;
  }
  // Taps the bar item (0 answer, 1 share, 2 collect) of a detail screen's bar.
  void tapBarItem(AnsTabBar& bar, int index) {
    for (const auto& item : bar.items)
      if (item->tag() == (index + 1) * 100 + 3) {
        tapView(item);
        return;
      }
    ADD_FAILURE() << "no bar item " << index;
  }
  // The editor a detail screen shows, if it is on the window and visible.
  static bool showing(const std::shared_ptr<pf::View>& overlay) {
    return overlay && overlay->superview() && !overlay->isHidden();
  }
  // Replaces the text of an overlay's text area as typing would, telling its delegate.
  static void typeInto(const std::shared_ptr<BaseTextView>& area, const std::string& text) {
    area->setText(text);
    if (auto delegate = area->delegate().lock()) delegate->textViewDidChange(*area);
  }
  void tapLeft(AnsDistributeView& overlay) { tapView(overlay.leftBtn.lock()); }
  void tapRight(AnsDistributeView& overlay) { tapView(overlay.rightBtn.lock()); }

  // Messages of the alerts shown so far; each is dismissed as it is read.
  std::vector<std::string> takeAlerts() {
    std::vector<std::string> messages;
    for (const auto& alert : pf::AlertView::visibleAlerts()) {
      messages.push_back(alert->message().value_or(""));
      alert->dismissWithClickedButtonIndex(0, false);
    }
    settle();
    return messages;
  }
  // The overlay text a screen's view shows right now (topmost overlay).
  static std::optional<std::string> hudText(const pf::View& view) {
    auto hud = ProgressHUD::HUDForView(view);
    if (!hud || !hud->isShowing()) return std::nullopt;
    return hud->labelText();
  }
  size_t callsTo(const std::string& path) const { return server->calls(path).size(); }

  std::shared_ptr<pf::ViewController> start;
  size_t baseSubviews = 0;
};
