#include "platform/ui/AlertView.h"

#include <gtest/gtest.h>

#include <thread>

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

}  // namespace
