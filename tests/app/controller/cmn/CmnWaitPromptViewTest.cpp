#include "app/controller/cmn/CmnWaitPromptView.h"

#include <gtest/gtest.h>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "tests/app/controller/cmn/CmnScreenTest.h"

namespace {

using CmnWaitPromptViewTest = CmnScreenTest;

TEST_F(CmnWaitPromptViewTest, ShowsItsSpinnerBesideThePromptAndRepeatsChangeNothing) {
  auto prompt = std::make_shared<CmnWaitPromptView>(pf::Rect(0, 100, 320, 30));
  window->addSubview(prompt);
  EXPECT_TRUE(prompt->isHidden());
  EXPECT_EQ(prompt->activityView->frame(), pf::Rect(40, 0, 30, 30));
  EXPECT_EQ(prompt->promptLabel->frame(), pf::Rect(70, 0, 290, 30));
  prompt->setPromptStr("正在加载…");
  EXPECT_EQ(prompt->promptLabel->text(), "正在加载…");
  prompt->hide();
  EXPECT_TRUE(prompt->isHidden());
  EXPECT_FALSE(prompt->activityView->isAnimating());
  prompt->show();
  prompt->show();
  EXPECT_FALSE(prompt->isHidden());
  EXPECT_TRUE(prompt->activityView->isAnimating());
  EXPECT_EQ(prompt->activityView->superview(), prompt);
  EXPECT_EQ(prompt->promptLabel->superview(), prompt);
  prompt->hide();
  EXPECT_TRUE(prompt->isHidden());
  EXPECT_FALSE(prompt->activityView->isAnimating());
}

}  // namespace
