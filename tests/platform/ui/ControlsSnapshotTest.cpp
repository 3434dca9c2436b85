#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/host/HeadlessHost.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/SystemStyle.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/TextField.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Color;
using pf::Pixel;
using pf::Rect;

// A settings-like screen: bar, search, field, buttons, switch, slider, segments, progress, tabs.
class ControlsSnapshotTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::Keyboard::shared().reset();
    window->setBackgroundColor(Color::fromRgba(239 / 255.0, 239 / 255.0, 244 / 255.0));
    bar = std::make_shared<pf::NavigationBar>(Rect{{0, 20}, {320, 44}});
    auto item = std::make_shared<pf::NavigationItem>("设置");
    item->setRightBarButtonItem(std::make_shared<pf::BarButtonItem>(pf::BarButtonItem::SystemItem::Done,
                                                                    std::weak_ptr<void>(), nullptr));
    bar->pushNavigationItem(std::make_shared<pf::NavigationItem>("Home"), false);
    bar->pushNavigationItem(item, false);
    window->addSubview(bar);

    auto search = std::make_shared<pf::SearchBar>(Rect{{0, 64}, {320, 44}});
    search->setPlaceholder("搜索课程");
    window->addSubview(search);

    field = std::make_shared<pf::TextField>(Rect{{20, 120}, {280, 31}});
    field->setBorderStyle(pf::TextField::BorderStyle::RoundedRect);
    field->setPlaceholder("企业代码");
    field->setText("marlune");
    window->addSubview(field);

    login = pf::Button::buttonWithType(pf::Button::Type::RoundedRect);
    login->setFrame({{20, 162}, {130, 36}});
    login->setTitle("登录", pf::Control::kNormal);
    window->addSubview(login);
    filled = pf::Button::buttonWithType(pf::Button::Type::Custom);
    filled->setFrame({{170, 162}, {130, 36}});
    filled->setBackgroundImage(nullptr, pf::Control::kNormal);
    filled->setBackgroundColor(pf::SystemStyle::tint());
    filled->setTitle("注册", pf::Control::kNormal);
    filled->layer()->setCornerRadius(6);
    window->addSubview(filled);

    auto caption = std::make_shared<pf::Label>(Rect{{20, 212}, {200, 31}});
    caption->setText("仅在 Wi-Fi 下下载");
    caption->setFont(pf::Font::systemFont(16));
    window->addSubview(caption);
    toggle = std::make_shared<pf::Switch>(Rect{{249, 212}, {0, 0}});
    toggle->setOn(true);
    window->addSubview(toggle);
    off = std::make_shared<pf::Switch>(Rect{{249, 252}, {0, 0}});
    window->addSubview(off);

    slider = std::make_shared<pf::Slider>(Rect{{20, 292}, {280, 34}});
    slider->setValue(0.5f);
    window->addSubview(slider);
    segments = std::make_shared<pf::SegmentedControl>(
        std::vector<pf::SegmentedControl::Item>{"全部", "必修", "选修"});
    segments->setFrame({{20, 336}, {280, 29}});
    segments->setSelectedSegmentIndex(0);
    window->addSubview(segments);
    auto progress = std::make_shared<pf::ProgressView>(Rect{{20, 380}, {280, 2}});
    progress->setProgress(0.25f);
    window->addSubview(progress);
    auto spinner = std::make_shared<pf::ActivityIndicatorView>(pf::ActivityIndicatorView::Style::Gray);
    spinner->setCenter({160, 400});
    window->addSubview(spinner);
    spinner->startAnimating();

    tabs = std::make_shared<pf::TabBar>(Rect{{0, 431}, {320, 49}});
    std::vector<std::shared_ptr<pf::TabBarItem>> items;
    for (const char* title : {"课程", "考试", "问答", "微博"}) {
      items.push_back(std::make_shared<pf::TabBarItem>(title, nullptr, 0));
    }
    items[2]->setBadgeValue("5");
    tabs->setItems(items);
    tabs->setSelectedItem(items[0]);
    window->addSubview(tabs);
  }
  void TearDown() override {
    pf::AlertView::resetVisibleAlerts();
    pf::Keyboard::shared().reset();
    UiTest::TearDown();
  }
  void keep(const std::string& name) {
    if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR"))
      host.writePng(std::string(folder) + "/" + name);
  }
  static bool near(Pixel pixel, int red, int green, int blue, int slack = 24) {
    return std::abs(pixel.red - red) <= slack && std::abs(pixel.green - green) <= slack &&
           std::abs(pixel.blue - blue) <= slack;
  }

  pf::HeadlessHost host{window};
  std::shared_ptr<pf::NavigationBar> bar;
  std::shared_ptr<pf::TextField> field;
  std::shared_ptr<pf::Button> login, filled;
  std::shared_ptr<pf::Switch> toggle, off;
  std::shared_ptr<pf::Slider> slider;
  std::shared_ptr<pf::SegmentedControl> segments;
  std::shared_ptr<pf::TabBar> tabs;
};

TEST_F(ControlsSnapshotTest, AScreenOfControlsLooksLikeAPhone) {
  ASSERT_NE(host.render(), nullptr);
  keep("controls.png");
  struct Sample {
    const char* what;
    pf::Point at;
    int red, green, blue;
  };
  const Sample samples[] = {
      {"navigation bar", {60, 30}, 247, 247, 247},
      {"field inside", {280, 128}, 255, 255, 255},
      {"outlined button inside", {40, 190}, 255, 255, 255},
      {"button outline", {85, 162.5}, 0, 122, 255},
      {"switch on", {256, 227}, 76, 217, 100},
      {"switch knob", {290, 227}, 255, 255, 255},
      {"switch off track", {256, 267}, 255, 255, 255},
      {"slider filled track", {60, 309}, 0, 122, 255},
      {"slider rest of track", {260, 309}, 183, 183, 183},
      {"slider thumb", {160, 309}, 255, 255, 255},
      {"selected segment", {30, 350}, 0, 122, 255},
      {"plain segment", {290, 345}, 255, 255, 255},
      {"progress done", {60, 381}, 0, 122, 255},
      {"progress to do", {250, 381}, 229, 229, 234},
      {"tab bar", {10, 470}, 247, 247, 247},
  };
  for (const Sample& s : samples) {
    const Pixel pixel = host.pixelAt(s.at);
    EXPECT_TRUE(near(pixel, s.red, s.green, s.blue))
        << s.what << ": " << int(pixel.red) << "," << int(pixel.green) << "," << int(pixel.blue);
  }
}

TEST_F(ControlsSnapshotTest, APressedButtonAndAnAlertShowOnTheScreen) {
  auto alert =
      std::make_shared<pf::AlertView>("提示", "确定要退出登录吗？", std::weak_ptr<pf::AlertViewDelegate>(),
                                      "确定", std::vector<std::string>{"取消"});
  alert->show();
  host.render();
  keep("controls-alert.png");
  EXPECT_TRUE(near(host.pixelAt({160, alert->boxFrame().origin.y + 10}), 247, 247, 247, 8));
  // Outside the box the screen is dimmed.
  const Pixel dimmed = host.pixelAt({10, 300});
  EXPECT_LT(dimmed.red, 239 * 0.7);
  alert->dismissWithClickedButtonIndex(0, false);
  host.render();
  EXPECT_TRUE(near(host.pixelAt({10, 300}), 239, 239, 244, 4));
}

}  // namespace
