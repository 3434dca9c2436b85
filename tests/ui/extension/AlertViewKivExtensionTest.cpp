#include "ui/extension/AlertViewKivExtension.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/foundation/Timer.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "tests/platform/ui/UiTest.h"

namespace {

class DismissJournal : public pf::AlertViewDelegate {
 public:
  void clickedButtonAtIndex(pf::AlertView&, long index) override { events.push_back("clicked " + std::to_string(index)); }
  void didDismissWithButtonIndex(pf::AlertView&, long index) override {
    events.push_back("dismissed " + std::to_string(index));
  }
  std::vector<std::string> events;
};

class AlertViewKivExtensionTest : public UiTest {
 protected:
  void TearDown() override {
    pf::AlertView::resetVisibleAlerts();
    UiTest::TearDown();
  }
  // Taps the button as a finger would, through the window.
  void tapButton(pf::HeadlessHost& host, const std::shared_ptr<pf::AlertView>& alert, size_t index) {
    ASSERT_LT(index, alert->buttons().size());
    const pf::Rect frame = alert->buttons()[index]->frame();
    host.tap(alert->convertPointToView({frame.midX(), frame.midY()}, nullptr));
  }
};

TEST_F(AlertViewKivExtensionTest, ButtonSetsGiveTheirTitlesWithTheFirstAsCancel) {
  const struct {
    unsigned type;
    std::vector<std::string> titles;
  } cases[] = {
      {0, {}}, {1, {"确定"}}, {2, {"确定", "取消"}}, {3, {}}, {4, {"是", "否"}}, {5, {}}, {17, {}},
  };
  for (const auto& c : cases) {
    const auto alert = AlertViewKivExtension::initWithMsg("提交后将无法修改答卷内容，确定吗？", c.type, {});
    EXPECT_EQ(alert->title(), "提示") << c.type;
    EXPECT_EQ(alert->message(), "提交后将无法修改答卷内容，确定吗？") << c.type;
    ASSERT_EQ(alert->numberOfButtons(), static_cast<long>(c.titles.size())) << c.type;
    for (size_t i = 0; i < c.titles.size(); ++i) EXPECT_EQ(alert->buttonTitleAtIndex(long(i)), c.titles[i]);
    EXPECT_EQ(alert->cancelButtonIndex(), c.titles.empty() ? -1 : 0) << c.type;
  }
  const auto plain = AlertViewKivExtension::initWithMsg("考试时间到");
  EXPECT_EQ(plain->title(), "提示");
  EXPECT_EQ(plain->numberOfButtons(), 0);
  EXPECT_EQ(plain->delegate().lock(), nullptr);
  EXPECT_EQ(AlertViewKivExtension::initWithMsg("m", "友情提示", 1, {})->title(), "友情提示");
}

TEST_F(AlertViewKivExtensionTest, AModalAlertAnswersTheTappedButtonWhileTimersFire) {
  const struct {
    unsigned type;
    size_t tapped;
    long answer;
  } cases[] = {{1, 0, 0}, {2, 0, 0}, {2, 1, 1}, {4, 1, 1}};
  pf::HeadlessHost host(window);
  for (const auto& c : cases) {
    auto callersDelegate = std::make_shared<DismissJournal>();
    auto alert = AlertViewKivExtension::initWithMsg("确定提交吗？", c.type, callersDelegate);
    int ticks = 0;
    auto countdown = pf::Timer::scheduled(1, true, [&ticks](pf::Timer&) { ++ticks; });  // an exam's clock
    const double start = pf::Clock::now();
    loop->performAfter(3.5, [&] { tapButton(host, alert, c.tapped); });
    EXPECT_EQ(AlertViewKivExtension::showModal(alert), c.answer) << c.type;
    EXPECT_EQ(ticks, 3) << c.type;
    EXPECT_NEAR(pf::Clock::now() - start, 3.5, 0.2);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(callersDelegate->events.empty());  // the wait answers in its stead
    countdown->invalidate();
  }
}

TEST_F(AlertViewKivExtensionTest, NestedAlertsEachGetTheirOwnAnswer) {
  auto confirm = AlertViewKivExtension::initWithMsg("提交后将无法修改答卷内容，确定吗？", 2, {});
  auto timeUp = AlertViewKivExtension::initWithMsg("考试时间到，系统将自动提交", 4, {});
  pf::HeadlessHost host(window);
  long timeUpAnswer = -2;
  double timeUpReturned = 0;
  loop->performAfter(1, [&] {
    timeUpAnswer = AlertViewKivExtension::showModal(timeUp);
    timeUpReturned = pf::Clock::now();
  });
  // The confirmation is answered while the time-up alert waits on top: its answer waits its turn.
  loop->performAfter(2, [&] { confirm->dismissWithClickedButtonIndex(1, true); });
  loop->performAfter(3, [&] { tapButton(host, timeUp, 0); });
  EXPECT_EQ(AlertViewKivExtension::showModal(confirm), 1);
  EXPECT_EQ(timeUpAnswer, 0);
  EXPECT_NEAR(timeUpReturned, 3, 0.2);
  EXPECT_NEAR(pf::Clock::now(), 3, 0.2);
}

TEST_F(AlertViewKivExtensionTest, ADismissalByCodeEndsTheWaitWithoutAnAnswer) {
  auto alert = AlertViewKivExtension::initWithMsg("网络异常", 1, {});
  loop->performAfter(2, [&] { alert->dismissByCode(0, true); });
  EXPECT_EQ(AlertViewKivExtension::showModal(alert), -1);
  EXPECT_NEAR(pf::Clock::now(), 2, 1e-6);

  // No button, nobody could end the wait: it answers at once and shows nothing.
  for (unsigned type : {0u, 3u, 5u}) {
    auto buttonless = AlertViewKivExtension::initWithMsg("请稍候", type, {});
    EXPECT_EQ(AlertViewKivExtension::showModal(buttonless), -1);
    EXPECT_FALSE(buttonless->isVisible());
  }
  EXPECT_NEAR(pf::Clock::now(), 2, 1e-6);
}

TEST_F(AlertViewKivExtensionTest, ATimedAlertGoesByItselfTellingItsDelegateOfNoClick) {
  auto journal = std::make_shared<DismissJournal>();
  auto alert = AlertViewKivExtension::initWithMsg("保存成功", 0, journal);
  AlertViewKivExtension::showAndDismissWithInterval(alert, 2);
  EXPECT_TRUE(alert->isVisible());
  EXPECT_EQ(alert->superview(), window);
  runUntil(1.9);
  EXPECT_TRUE(alert->isVisible());
  runUntil(2.1);
  EXPECT_FALSE(alert->isVisible());
  EXPECT_EQ(alert->superview(), nullptr);
  EXPECT_EQ(journal->events, std::vector<std::string>{"dismissed -1"});
}

TEST_F(AlertViewKivExtensionTest, SnapshotOfAConfirmation) {
  auto page = std::make_shared<pf::View>(window->bounds());
  page->setBackgroundColor(pf::Color::white());
  window->addSubview(page);
  auto alert = AlertViewKivExtension::initWithMsg("提交后将无法修改答卷内容，确定吗？", 2, {});
  pf::HeadlessHost host(window);
  loop->performAfter(0.5, [&] {
    ASSERT_TRUE(host.render());
    if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) host.writePng(std::string(folder) + "/alert.png");
    const pf::Rect box = alert->convertRectToView(alert->boxFrame(), nullptr);
    // The page dims behind a light box; two buttons side by side under the text.
    EXPECT_NEAR(host.pixelAt({5, 5}).red, 153, 3);
    EXPECT_GT(host.pixelAt({box.midX(), box.origin.y + 4}).red, 240);
    ASSERT_EQ(alert->buttons().size(), 2u);
    EXPECT_EQ(alert->buttons()[0]->frame().origin.y, alert->buttons()[1]->frame().origin.y);
    int dark = 0;
    for (double x = box.origin.x; x < box.maxX(); x += 1) {
      for (double y = box.origin.y; y < box.midY(); y += 1) dark += host.pixelAt({x, y}).red < 100;
    }
    EXPECT_GT(dark, 30);  // the title and message are drawn
    tapButton(host, alert, 0);
  });
  EXPECT_EQ(AlertViewKivExtension::showModal(alert), 0);
}

}  // namespace
