#include "ui/extension/ViewKivExtension.h"

#include <gtest/gtest.h>

#include "platform/text/StringDrawing.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "tests/platform/ui/UiTest.h"
#include "ui/extension/LabelKivExtension.h"
#include "ui/extension/NavigationControllerKivExtension.h"

namespace {

class ExamListScreen : public pf::ViewController {
  PF_OBJECT(ExamListScreen, pf::ViewController)
};

class RetakeListScreen : public ExamListScreen {
  PF_OBJECT(RetakeListScreen, ExamListScreen)
};

class ViewKivExtensionTest : public UiTest {};

TEST_F(ViewKivExtensionTest, FrameShorthandsReadTheFrame) {
  pf::View view(pf::Rect{{12, 34}, {56, 78}});
  EXPECT_EQ(ViewKivExtension::x(view), 12);
  EXPECT_EQ(ViewKivExtension::y(view), 34);
  EXPECT_EQ(ViewKivExtension::width(view), 56);
  EXPECT_EQ(ViewKivExtension::height(view), 78);
}

TEST_F(ViewKivExtensionTest, ALabelFitsItsHeightToItsTextKeepingOriginAndWidth) {
  pf::Label label(pf::Rect{{10, 20}, {100, 5}});
  label.setNumberOfLines(0);
  label.setLineBreakMode(pf::LineBreakMode::wordWrap);
  label.setFont(pf::Font::systemFont(14));
  const std::string text = "关于本次考试的说明：请在规定时间内完成全部题目，超时将自动提交。";
  label.setText(text);
  LabelKivExtension::resetFrameToFit(label);
  const double expected =
      pf::StringDrawing::sizeOfText(text, *label.font(), {100, 1e9}, pf::LineBreakMode::wordWrap).height;
  EXPECT_EQ(label.frame(), (pf::Rect{{10, 20}, {100, expected}}));
  EXPECT_GT(expected, 3 * label.font()->lineHeight() - 1);  // wrapped over several lines

  label.setText(std::nullopt);
  LabelKivExtension::resetFrameToFit(label);
  EXPECT_EQ(label.frame(), (pf::Rect{{10, 20}, {100, 0}}));
}

TEST_F(ViewKivExtensionTest, TheStackSearchMatchesTheExactClassOnly) {
  auto root = std::make_shared<pf::ViewController>();
  auto retakes = std::make_shared<RetakeListScreen>();
  auto exams = std::make_shared<ExamListScreen>();
  auto navigation = std::make_shared<pf::NavigationController>(root);
  navigation->pushViewController(retakes, false);
  navigation->pushViewController(exams, false);
  const auto find = [&](const pf::Class* cls) {
    return NavigationControllerKivExtension::findViewControllerInStackWithClass(*navigation, cls);
  };
  EXPECT_EQ(find(&ExamListScreen::staticClass()), exams);
  EXPECT_EQ(find(&RetakeListScreen::staticClass()), retakes);
  EXPECT_EQ(find(&pf::ViewController::staticClass()), root);
  EXPECT_EQ(find(nullptr), nullptr);
  EXPECT_EQ(find(&pf::NavigationController::staticClass()), nullptr);
}

}  // namespace
