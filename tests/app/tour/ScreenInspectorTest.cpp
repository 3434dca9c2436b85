// The tour's screen checks on small hand-built screens: each fault shows on its own, a clean screen
// and what does not show yield nothing.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tour/ScreenInspector.h"
#include "platform/foundation/RunLoop.h"
#include "platform/text/Font.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/View.h"
#include "ui/hud/ProgressHUD.h"

namespace screen_inspector_test {

using Kind = ScreenFinding::Kind;

class Rows : public pf::TableViewDataSource {
 public:
  explicit Rows(long count) : count_(count) {}
  long numberOfRowsInSection(pf::TableView&, long) override { return count_; }
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) override {
    return std::make_shared<pf::TableViewCell>();
  }

 private:
  long count_;
};

std::shared_ptr<pf::Label> label(const pf::Rect& frame, const std::string& text, double fontSize = 15) {
  auto made = std::make_shared<pf::Label>(frame);
  made->setFont(pf::Font::systemFont(fontSize));
  made->setText(text);
  return made;
}

struct Screen {
  std::shared_ptr<pf::View> root = std::make_shared<pf::View>(pf::Rect(0, 0, 320, 480));
  std::vector<std::shared_ptr<Rows>> sources;

  std::shared_ptr<pf::TableView> table(long rows, const pf::Rect& frame = pf::Rect(0, 100, 320, 300)) {
    auto made = std::make_shared<pf::TableView>(frame);
    sources.push_back(std::make_shared<Rows>(rows));
    made->setDataSource(sources.back());
    made->reloadData();
    root->addSubview(made);
    return made;
  }
  // What a tidy screen holds: a title that fits and a list with rows.
  void tidy() {
    root->addSubview(label(pf::Rect(10, 10, 300, 30), "我的课程"));
    table(3);
  }
};

struct Case {
  const char* fault;
  std::function<void(Screen&)> build;
  std::vector<Kind> expected;
};

// Catches: a check that misses its fault, or one that reports a tidy screen.
TEST(ScreenInspectorTest, EachFaultIsFoundAndATidyScreenHasNone) {
  pf::RunLoop::setMainThread();
  const std::vector<Case> cases = {
      {"tidy screen", [](Screen&) {}, {}},
      {"alert left showing",
       [](Screen& s) {
         auto alert = std::make_shared<pf::AlertView>("提示", "网络连接失败", std::weak_ptr<pf::AlertViewDelegate>(),
                                                      "确定");
         s.root->addSubview(alert);
       },
       {Kind::ErrorBox}},
      {"text box showing",
       [](Screen& s) {
         auto hud = ProgressHUD::initWithView(s.root);
         s.root->addSubview(hud);
         hud->setMode(ProgressHUD::kText);
         hud->setDetailsLabelText("服务器错误");
         hud->show(false);
       },
       {Kind::ErrorBox}},
      {"list without rows", [](Screen& s) { s.table(0, pf::Rect(0, 420, 320, 60)); }, {Kind::EmptyList}},
      {"one-line label too narrow",
       [](Screen& s) { s.root->addSubview(label(pf::Rect(10, 50, 80, 30), "一门名字很长很长的课程的标题")); },
       {Kind::CutText}},
      {"wrapping label too short",
       [](Screen& s) {
         auto text = label(pf::Rect(10, 50, 120, 40), "这门课程讲述了在线学习平台的方方面面，从登录到考试再到问答。");
         text->setNumberOfLines(0);
         s.root->addSubview(text);
       },
       {Kind::CutText}},
      {"two-line limit on a tall frame",
       [](Screen& s) {
         auto text = label(pf::Rect(10, 50, 120, 200), "这门课程讲述了在线学习平台的方方面面，从登录到考试再到问答。");
         text->setNumberOfLines(2);
         s.root->addSubview(text);
       },
       {Kind::CutText}},
      {"button title never placed",
       [](Screen& s) {
         auto chip = std::make_shared<pf::Button>(pf::Rect(10, 50, 90, 24));
         chip->setTitle("新员工培训", pf::Control::kNormal);
         s.root->addSubview(chip);
       },
       {Kind::CutText}},
      {"frame lower than the letters",
       [](Screen& s) { s.root->addSubview(label(pf::Rect(10, 50, 200, 9), "已完成", 17)); },
       {Kind::CutText}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    Screen screen;
    screen.tidy();
    c.build(screen);
    std::vector<Kind> kinds;
    for (const auto& finding : ScreenInspector::inspect(screen.root)) kinds.push_back(finding.kind);
    EXPECT_EQ(kinds, c.expected);
  }
}

// Catches: texts of a box missing from the finding, so the report could not say what went wrong.
TEST(ScreenInspectorTest, ABoxIsReportedWithItsText) {
  pf::RunLoop::setMainThread();
  Screen screen;
  screen.root->addSubview(
      std::make_shared<pf::AlertView>("提示", "网络连接失败", std::weak_ptr<pf::AlertViewDelegate>(), "确定"));
  const auto findings = ScreenInspector::inspect(screen.root);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].line(), "error box: alert \"提示\" \"网络连接失败\"");
}

// Catches: faults reported on what a person cannot see (hidden, transparent, clipped away or scrolled
// off), and labels reported cut that fit once shrunk, that are empty, or whose letters fit a frame
// lower than their line box.
TEST(ScreenInspectorTest, WhatDoesNotShowAndTextThatFitsAreNotReported) {
  pf::RunLoop::setMainThread();
  Screen screen;
  screen.tidy();
  auto hidden = std::make_shared<pf::View>(pf::Rect(0, 0, 320, 480));
  hidden->setHidden(true);
  auto transparent = std::make_shared<pf::View>(pf::Rect(0, 0, 320, 480));
  transparent->setAlpha(0);
  auto clipping = std::make_shared<pf::View>(pf::Rect(0, 300, 100, 20));
  clipping->setClipsToBounds(true);
  for (const auto& holder : {hidden, transparent, clipping}) {
    holder->addSubview(label(pf::Rect(0, 40, 20, 5), "放不下的一行很长的文字"));
    auto empty = std::make_shared<pf::TableView>(pf::Rect(0, 40, 100, 100));
    holder->addSubview(empty);
    screen.root->addSubview(holder);
  }
  screen.root->addSubview(label(pf::Rect(400, 10, 20, 10), "窗口外面的很长很长的文字"));
  auto shrinking = label(pf::Rect(10, 60, 90, 30), "一门名字很长的课程", 17);
  shrinking->setAdjustsFontSizeToFitWidth(true);
  shrinking->setMinimumFontSize(6);
  screen.root->addSubview(shrinking);
  screen.root->addSubview(label(pf::Rect(10, 90, 0, 0), ""));
  auto placed = std::make_shared<pf::Button>(pf::Rect(10, 150, 90, 24));
  placed->setTitle("新员工培训", pf::Control::kNormal);
  placed->layoutIfNeeded();
  screen.root->addSubview(placed);
  // As tight as a bar button's title: the line box is taller than the frame, the letters are not.
  screen.root->addSubview(label(pf::Rect(10, 120, 60, 12), "分类", 12));
  const auto findings = ScreenInspector::inspect(screen.root);
  for (const auto& finding : findings) ADD_FAILURE() << finding.line();
}

// Catches: picture names missed during a step dropped from the findings.
TEST(ScreenInspectorTest, MissedPictureNamesAreFindings) {
  pf::RunLoop::setMainThread();
  Screen screen;
  screen.tidy();
  const auto findings = ScreenInspector::inspect(screen.root, {"CMS_MAIN_gone.png", "STG_HELP_9"});
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0], (ScreenFinding{Kind::MissingPicture, "CMS_MAIN_gone.png"}));
  EXPECT_EQ(findings[1].line(), "missing picture: STG_HELP_9");
}

}  // namespace screen_inspector_test
