#include <gtest/gtest.h>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Toolbar.h"
#include "tests/platform/ui/UiTest.h"
#include "ui/base/BaseTextField.h"
#include "ui/base/BaseTextView.h"

namespace {

class BaseTextInputTest : public UiTest, public testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::Screen::configure(GetParam());
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
  }
  bool isPhone() const { return GetParam() == pf::Screen::Profile::Phone; }

  // Checks the bar the input's keyboard carries and ends the typing through its button.
  void checkBarEndsTyping(pf::View& input, const std::shared_ptr<pf::View>& accessory) {
    if (!isPhone()) {
      EXPECT_EQ(accessory, nullptr);
      EXPECT_EQ(pf::Keyboard::shared().frame().size.height, pf::Keyboard::keysHeight());
      return;
    }
    auto bar = std::dynamic_pointer_cast<pf::Toolbar>(accessory);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->frame(), (pf::Rect{{0, 0}, {320, 30}}));
    EXPECT_EQ(bar->barStyle(), pf::Toolbar::BarStyle::BlackTranslucent);
    ASSERT_EQ(bar->items().size(), 2u);
    EXPECT_EQ(bar->items()[0]->systemItem(), pf::BarButtonItem::SystemItem::FlexibleSpace);
    EXPECT_EQ(bar->items()[1]->title(), "隐藏键盘");
    EXPECT_EQ(bar->items()[1]->style(), pf::BarButtonItem::Style::Done);
    EXPECT_EQ(pf::Keyboard::shared().frame().size.height, pf::Keyboard::keysHeight() + 30);
    bar->items()[1]->performAction();
    EXPECT_FALSE(input.isFirstResponder());
    EXPECT_FALSE(pf::Keyboard::shared().isVisible());
  }
};

TEST_P(BaseTextInputTest, APhonesKeyboardCarriesABarThatEndsTheTyping) {
  auto field = std::make_shared<BaseTextField>(pf::Rect{{10, 10}, {300, 30}});
  window->addSubview(field);
  ASSERT_TRUE(field->becomeFirstResponder());
  checkBarEndsTyping(*field, field->inputAccessoryView());

  auto textView = std::make_shared<BaseTextView>(pf::Rect{{10, 60}, {300, 100}});
  window->addSubview(textView);
  ASSERT_TRUE(textView->becomeFirstResponder());
  checkBarEndsTyping(*textView, textView->inputAccessoryView());
}

TEST_P(BaseTextInputTest, ACallersOwnAccessoryStays) {
  auto field = std::make_shared<BaseTextField>(pf::Rect{{10, 10}, {300, 30}});
  auto own = std::make_shared<pf::View>(pf::Rect{{0, 0}, {320, 44}});
  field->setInputAccessoryView(own);
  window->addSubview(field);
  ASSERT_TRUE(field->becomeFirstResponder());
  EXPECT_EQ(field->inputAccessoryView(), own);
}

INSTANTIATE_TEST_SUITE_P(Profiles, BaseTextInputTest,
                         testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const testing::TestParamInfo<pf::Screen::Profile>& info) {
                           return info.param == pf::Screen::Profile::Phone ? "Phone" : "Tablet";
                         });

}  // namespace
