#include "platform/ui/AlertView.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/foundation/Timer.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "tests/platform/ui/UiTest.h"

namespace {

class ButtonRecorder : public pf::AlertViewDelegate {
 public:
  void clickedButtonAtIndex(pf::AlertView& alert, long index) override {
    events.push_back("clicked " + std::to_string(index) + (alert.isVisible() ? " showing" : " gone"));
  }
  void didDismissWithButtonIndex(pf::AlertView& alert, long index) override {
    events.push_back("dismissed " + std::to_string(index) + (alert.isVisible() ? " showing" : " gone"));
  }
  std::vector<std::string> events;
};

class AlertViewTest : public UiTest {
 protected:
  void TearDown() override {
    pf::AlertView::resetVisibleAlerts();
    UiTest::TearDown();
  }
};

TEST_F(AlertViewTest, ButtonsCancelFirstThenTheOthers) {
  const struct {
    std::optional<std::string> cancel;
    std::vector<std::string> others;
    long count, cancelIndex, firstOther;
    std::optional<std::string> titleAt1;
  } cases[] = {
      {"取消", {"确定", "重试"}, 3, 0, 1, "确定"},
      {std::nullopt, {"确定"}, 1, -1, 0, std::nullopt},
      {"确定", {}, 1, 0, -1, std::nullopt},
      {std::nullopt, {}, 0, -1, -1, std::nullopt},
  };
  for (const auto& c : cases) {
    pf::AlertView alert("提示", "message", {}, c.cancel, c.others);
    EXPECT_EQ(alert.numberOfButtons(), c.count);
    EXPECT_EQ(alert.cancelButtonIndex(), c.cancelIndex);
    EXPECT_EQ(alert.firstOtherButtonIndex(), c.firstOther);
    EXPECT_EQ(alert.buttonTitleAtIndex(1), c.titleAt1);
    EXPECT_EQ(alert.buttonTitleAtIndex(-1), std::nullopt);
  }
}

TEST_F(AlertViewTest, APressedButtonReachesTheDelegateThenTheAlertGoes) {
  auto recorder = std::make_shared<ButtonRecorder>();
  auto alert =
      std::make_shared<pf::AlertView>("提示", "继续？", recorder, "取消", std::vector<std::string>{"确定"});
  alert->show();
  alert->show();
  ASSERT_EQ(pf::AlertView::visibleAlerts().size(), 1u);
  EXPECT_TRUE(alert->isVisible());

  alert->dismissWithClickedButtonIndex(1, true);
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"clicked 1 showing", "dismissed 1 gone"}));
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());
  alert->dismissWithClickedButtonIndex(0, true);  // already gone: nobody hears of it
  EXPECT_EQ(recorder->events.size(), 2u);
}

TEST_F(AlertViewTest, AServiceOnAnotherThreadShowsItsAlertOnTheMainQueue) {
  std::thread service(
      [] { pf::AlertView::showOnMainQueue("友情提示：", "您当前学习的章节暂时没有上传视频哦！", "确定"); });
  service.join();
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());
  drain();
  const auto alerts = pf::AlertView::visibleAlerts();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0]->title(), "友情提示：");
  EXPECT_EQ(alerts[0]->message(), "您当前学习的章节暂时没有上传视频哦！");
  EXPECT_EQ(alerts[0]->buttonTitleAtIndex(0), "确定");
  alerts[0]->dismissWithClickedButtonIndex(0, false);
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());
}

TEST_F(AlertViewTest, ShowFromAnotherThreadWaitsForTheMainQueue) {
  auto alert = std::make_shared<pf::AlertView>("提示", "m", std::weak_ptr<pf::AlertViewDelegate>(), "确定");
  std::thread([alert] { alert->show(); }).join();
  EXPECT_FALSE(alert->isVisible());
  drain();
  EXPECT_TRUE(alert->isVisible());
}

TEST_F(AlertViewTest, AModalWaitAnswersTheTappedButtonWhileTimersKeepFiring) {
  auto alert = std::make_shared<pf::AlertView>("提示", "提交后将无法修改答卷内容，确定吗？",
                                               std::weak_ptr<pf::AlertViewDelegate>(), "确定",
                                               std::vector<std::string>{"取消"});
  int ticks = 0;
  auto ticker = pf::Timer::scheduled(1, true, [&ticks](pf::Timer&) { ++ticks; });
  pf::HeadlessHost host(window);
  loop->performAfter(5.5, [&] {
    ASSERT_EQ(alert->buttons().size(), 2u);
    const pf::Rect frame = alert->buttons()[1]->frame();
    host.tap(alert->convertPointToView({frame.midX(), frame.midY()}, nullptr));
  });
  const double started = pf::Clock::now();
  EXPECT_EQ(alert->showModal(), 1);
  EXPECT_EQ(ticks, 5);
  EXPECT_NEAR(pf::Clock::now() - started, 5.5, 0.1);  // the tap itself takes a moment
  EXPECT_FALSE(alert->isVisible());
  EXPECT_EQ(alert->superview(), nullptr);
  ticker->invalidate();
}

TEST_F(AlertViewTest, ASecondAlertShownDuringAWaitGetsItsOwnAnswer) {
  auto first = std::make_shared<pf::AlertView>("提示", "first", std::weak_ptr<pf::AlertViewDelegate>(),
                                               "确定", std::vector<std::string>{"取消"});
  auto second = std::make_shared<pf::AlertView>("提示", "second", std::weak_ptr<pf::AlertViewDelegate>(),
                                                "是", std::vector<std::string>{"否"});
  long secondAnswer = -2;
  loop->performAfter(1, [&] {
    loop->performAfter(1, [&] { first->dismissWithClickedButtonIndex(0, true); });  // answered early
    loop->performAfter(2, [&] { second->dismissWithClickedButtonIndex(1, true); });
    loop->performAfter(2.5, [&] { loop->stop(); });  // a stray stop ends neither wait
    secondAnswer = second->showModal();
  });
  EXPECT_EQ(first->showModal(), 0);
  EXPECT_EQ(secondAnswer, 1);
}

class DismissLog : public pf::AlertViewDelegate {
 public:
  std::vector<std::string> events;
  void clickedButtonAtIndex(pf::AlertView& alert, long index) override {
    events.push_back("clicked " + std::to_string(index));
    alert.dismissWithClickedButtonIndex(index, false);  // a delegate dismissing again changes nothing
  }
  void willDismissWithButtonIndex(pf::AlertView&, long index) override {
    events.push_back("will " + std::to_string(index));
  }
  void didDismissWithButtonIndex(pf::AlertView&, long index) override {
    events.push_back("did " + std::to_string(index));
  }
};

TEST_F(AlertViewTest, TheDelegateHearsClickedThenWillThenDidOnce) {
  auto log = std::make_shared<DismissLog>();
  auto alert = std::make_shared<pf::AlertView>("提示", "m", log, "取消", std::vector<std::string>{"确定"});
  alert->show();
  EXPECT_EQ(alert->superview(), window);
  alert->dismissWithClickedButtonIndex(-1, true);
  EXPECT_EQ(log->events, (std::vector<std::string>{"clicked -1", "will -1", "did -1"}));
}

}  // namespace

namespace {

class AlertPresentRecorder : public pf::AlertViewDelegate {
 public:
  void willPresentAlertView(pf::AlertView& alert) override {
    showing = alert.isVisible();
    label = alert.messageLabel();
    inSubviews = false;
    for (const auto& view : alert.subviews()) inSubviews = inSubviews || view == label;
  }
  bool showing = false;
  bool inSubviews = false;
  std::shared_ptr<pf::Label> label;
};

}  // namespace

// Faults caught: an observer that is never told before the alert shows (it could not fit the alert),
// a message drawn straight onto the alert where no one can find and resize it.
TEST_F(AlertViewTest, TheDelegateHearsBeforeItShowsAndFindsTheMessageLabel) {
  auto recorder = std::make_shared<AlertPresentRecorder>();
  auto alert = std::make_shared<pf::AlertView>("提示", "有新版本", recorder, "确定");
  alert->show();
  EXPECT_TRUE(recorder->showing);
  ASSERT_TRUE(recorder->label);
  EXPECT_TRUE(recorder->inSubviews);
  EXPECT_EQ(recorder->label->text(), "有新版本");
  EXPECT_GT(recorder->label->frame().height(), 0);
  EXPECT_TRUE(alert->boxFrame().contains(recorder->label->frame().origin));
  auto silent = std::make_shared<pf::AlertView>("提示", std::nullopt, recorder, "确定");
  silent->show();
  EXPECT_FALSE(recorder->label) << "no message, no label";
}
