#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/Appearance.h"
#include "platform/ui/Label.h"
#include "platform/ui/Nib.h"
#include "platform/ui/View.h"
#include "tests/platform/ui/UiTest.h"

namespace {

class AppearanceTinted : public pf::View {
  PF_OBJECT(AppearanceTinted, pf::View)
  AppearanceTinted() { setTint(pf::Color::green()); }
  void setTint(pf::Color color) {
    tint = color;
    ++sets;
  }
  void setWidth(double value) { width = value; }
  pf::Color tint;
  double width = 0;
  int sets = 0;
};

class AppearanceTintedMore : public AppearanceTinted {
  PF_OBJECT(AppearanceTintedMore, AppearanceTinted)
};

class AppearanceTest : public UiTest {
 protected:
  void TearDown() override {
    pf::Appearance::reset();
    UiTest::TearDown();
  }
};

TEST_F(AppearanceTest, ValuesReachViewsOnTheirWayIntoAWindowAfterTheirOwnDefaults) {
  pf::Appearance::of<AppearanceTinted>().set(&AppearanceTinted::setTint, pf::Color::lightGray());
  auto view = std::make_shared<AppearanceTinted>();
  EXPECT_EQ(view->tint, pf::Color::green()) << "nothing changes before the view is shown";
  auto holder = std::make_shared<pf::View>();
  holder->addSubview(view);
  EXPECT_EQ(view->tint, pf::Color::green());
  window->addSubview(holder);
  EXPECT_EQ(view->tint, pf::Color::lightGray()) << "a view inside a subtree added to the window";
}

TEST_F(AppearanceTest, ReplayedOnceAndTheLatestValueOfASetterWins) {
  auto proxy = pf::Appearance::of<AppearanceTinted>();
  for (int i = 0; i < 50; ++i) proxy.set(&AppearanceTinted::setTint, pf::Color::red());
  proxy.set(&AppearanceTinted::setTint, pf::Color::lightGray());
  proxy.set(&AppearanceTinted::setWidth, 3.0);
  auto view = std::make_shared<AppearanceTinted>();
  window->addSubview(view);
  EXPECT_EQ(view->sets, 2) << "the constructor and one replay, however often the proxy was set";
  EXPECT_EQ(view->tint, pf::Color::lightGray());
  EXPECT_EQ(view->width, 3.0);
  view->setTint(pf::Color::blue());
  view->removeFromSuperview();
  window->addSubview(view);
  EXPECT_EQ(view->tint, pf::Color::blue()) << "a second trip into a window keeps the view's own value";
}

TEST_F(AppearanceTest, SubclassesInheritAndTheNearerClassWins) {
  pf::Appearance::of<AppearanceTintedMore>().set(&AppearanceTinted::setTint, pf::Color::red());
  pf::Appearance::of<AppearanceTinted>().set(&AppearanceTinted::setTint, pf::Color::lightGray());
  pf::Appearance::of<AppearanceTinted>().set(&AppearanceTinted::setWidth, 4.0);
  auto more = std::make_shared<AppearanceTintedMore>();
  auto plain = std::make_shared<AppearanceTinted>();
  auto label = std::make_shared<pf::Label>();
  window->addSubview(more);
  window->addSubview(plain);
  window->addSubview(label);
  EXPECT_EQ(more->tint, pf::Color::red());
  EXPECT_EQ(more->width, 4.0);
  EXPECT_EQ(plain->tint, pf::Color::lightGray());
}

}  // namespace
