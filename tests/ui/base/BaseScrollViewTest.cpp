#include "ui/base/BaseScrollView.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/host/HeadlessHost.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Nib.h"
#include "platform/ui/TextField.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/TemporaryFolder.h"
#include "ui/base/BaseViewClasses.h"

namespace {

class BaseScrollViewTest : public UiTest {
 protected:
  // A scroll view over the whole screen with 1000 points of content and a field at `fieldY`.
  std::shared_ptr<pf::TextField> formWithFieldAt(double fieldY) {
    const pf::Rect screen = pf::Screen::mainScreen().bounds();
    form = std::make_shared<BaseScrollView>(screen);
    form->setContentSize({screen.size.width, 1000});
    window->addSubview(form);
    auto field = std::make_shared<pf::TextField>(pf::Rect{{20, fieldY}, {200, 30}});
    form->addSubview(field);
    return field;
  }
  void postKeyboard(const char* name, std::optional<pf::Rect> end) {
    pf::Dictionary info{{pf::Keyboard::kAnimationDurationUserInfoKey, pf::Value(pf::Number(0.25))},
                        {pf::Keyboard::kAnimationCurveUserInfoKey, pf::Value(pf::Number(0))}};
    if (end) info[pf::Keyboard::kFrameEndUserInfoKey] = pf::Keyboard::valueWithRect(*end);
    pf::NotificationCenter::defaultCenter().post(name, nullptr, info);
  }
  std::shared_ptr<BaseScrollView> form;
};

TEST_F(BaseScrollViewTest, TheContentIsNeverSmallerThanTheFrame) {
  BaseScrollView empty(pf::Rect{{0, 0}, {320, 400}});
  EXPECT_EQ(empty.contentSize(), (pf::Size{320, 400}));
  empty.setContentSize({320, 300});
  EXPECT_EQ(empty.contentSize(), (pf::Size{320, 400}));
  empty.setFrame({{0, 0}, {320, 200}});
  EXPECT_EQ(empty.contentSize(), (pf::Size{320, 300}));
  empty.setContentSize({100, 900});
  EXPECT_EQ(empty.contentSize(), (pf::Size{320, 900}));
}

TEST_F(BaseScrollViewTest, IdealOffsetsCentreTheFieldWithinTheContent) {
  auto form = std::make_shared<BaseScrollView>(pf::Rect{{0, 0}, {320, 480}});
  BaseScrollView& view = *form;
  view.setContentSize({320, 1000});
  const struct {
    double y, height, space, offset;
  } cases[] = {
      {900, 30, 264, 736},  // near the end: the content's end meets the space's
      {100, 30, 264, 0},    // 100 - 117 raised to 0
      {500, 30, 264, 383},  // centred
      {950, 50, 264, 736},
      {500, 300, 264, 500},  // taller than the space: its top shows
  };
  for (const auto& c : cases) {
    auto field = std::make_shared<pf::View>(pf::Rect{{0, c.y}, {100, c.height}});
    view.addSubview(field);
    EXPECT_EQ(view.idealOffsetForView(*field, c.space), c.offset) << c.y;
    field->removeFromSuperview();
  }
}

TEST_F(BaseScrollViewTest, AKeyboardNotificationWithoutAnOriginSitsAtTheScreensBottom) {
  formWithFieldAt(100);
  postKeyboard(pf::Keyboard::kWillShowNotification, pf::Rect{{0, 0}, {320, 216}});
  EXPECT_EQ(form->keyboardRect(), (pf::Rect{{0, 264}, {320, 216}}));
  postKeyboard(pf::Keyboard::kWillShowNotification, std::nullopt);
  EXPECT_EQ(form->keyboardRect().size, (pf::Size{0, 0}));
  EXPECT_TRUE(form->isKeyboardVisible());
  postKeyboard(pf::Keyboard::kWillHideNotification, std::nullopt);
  EXPECT_FALSE(form->isKeyboardVisible());
  EXPECT_EQ(form->contentInset(), pf::EdgeInsets{});  // no field was edited: nothing moved
}

class KeyboardInsetTest : public BaseScrollViewTest, public testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  void SetUp() override {
    BaseScrollViewTest::SetUp();
    pf::Screen::configure(GetParam());
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
  }
};

TEST_P(KeyboardInsetTest, TheKeyboardsHeightBecomesTheBottomInsetAndTheFieldScrollsAboveIt) {
  const double screenHeight = pf::Screen::mainScreen().bounds().size.height;
  const double keys = pf::Keyboard::keysHeight();
  auto field = formWithFieldAt(900);
  ASSERT_TRUE(field->becomeFirstResponder());
  EXPECT_EQ(form->contentInset().bottom, keys);
  runUntil(1);
  const double space = screenHeight - keys;
  const double content = std::max(1000.0, screenHeight);  // never less than the frame
  EXPECT_EQ(form->contentOffset().y, content - space);
  const pf::Rect onScreen = field->convertRectToView(field->bounds(), nullptr);
  EXPECT_GE(onScreen.origin.y, 0);
  EXPECT_LE(onScreen.maxY(), screenHeight - keys);

  // While the keyboard shows, a new frame keeps the inset covering it.
  form->setFrame({{0, 0}, {pf::Screen::mainScreen().bounds().size.width, screenHeight - 100}});
  EXPECT_EQ(form->contentInset().bottom, keys - 100);
  form->setFrame(pf::Screen::mainScreen().bounds());
  ASSERT_TRUE(field->resignFirstResponder());
  EXPECT_EQ(form->contentInset(), pf::EdgeInsets{});
}

INSTANTIATE_TEST_SUITE_P(Profiles, KeyboardInsetTest,
                         testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const testing::TestParamInfo<pf::Screen::Profile>& info) {
                           return info.param == pf::Screen::Profile::Phone ? "Phone" : "Tablet";
                         });

TEST_F(BaseScrollViewTest, MovingBetweenFieldsThenHidingGivesBackTheInsetsAsTheyWere) {
  auto first = formWithFieldAt(300);
  auto second = std::make_shared<pf::TextField>(pf::Rect{{20, 600}, {200, 30}});
  form->addSubview(second);
  form->setContentInset({10, 0, 5, 0});
  // Another screen's scroll view, with no field, keeps its own inset throughout.
  auto other = std::make_shared<BaseScrollView>(pf::Rect{{0, 0}, {320, 480}});
  other->setContentInset({0, 0, 44, 0});
  window->addSubview(other);

  ASSERT_TRUE(first->becomeFirstResponder());
  EXPECT_EQ(form->contentInset().bottom, 216);
  ASSERT_TRUE(second->becomeFirstResponder());  // the keyboard posts another show
  EXPECT_EQ(form->contentInset().bottom, 216);
  runUntil(1);
  ASSERT_TRUE(second->resignFirstResponder());
  EXPECT_EQ(form->contentInset(), (pf::EdgeInsets{10, 0, 5, 0}));
  EXPECT_EQ(other->contentInset(), (pf::EdgeInsets{0, 0, 44, 0}));
}

TEST_F(BaseScrollViewTest, AKeyboardBelowTheViewCoversNoneOfIt) {
  auto header = std::make_shared<BaseScrollView>(pf::Rect{{0, 0}, {320, 200}});
  auto field = std::make_shared<pf::TextField>(pf::Rect{{20, 100}, {200, 30}});
  header->addSubview(field);
  window->addSubview(header);
  ASSERT_TRUE(field->becomeFirstResponder());
  EXPECT_EQ(header->contentInset().bottom, 0);  // not -64
}

TEST_F(BaseScrollViewTest, ATouchOnTheViewEndsTheTyping) {
  auto field = formWithFieldAt(100);
  ASSERT_TRUE(field->becomeFirstResponder());
  pf::HeadlessHost host(window);
  host.tap({160, 50});
  EXPECT_FALSE(field->isFirstResponder());
  EXPECT_FALSE(pf::Keyboard::shared().isVisible());
}

TEST_F(BaseScrollViewTest, AnInterfaceFileMakesOneThatAwakesSetUp) {
  registerBaseViewClasses();
  pf_test::TemporaryFolder folder;
  {
    std::ofstream file(folder.file("AnswerEditor.nib"));
    file << R"(<interface>
  <object class="BaseScrollView" id="editor" frame="0 0 320 400">
    <object class="BaseTextView" id="answer" frame="10 300 300 80"/>
  </object>
</interface>)";
  }
  const auto objects = pf::Nib::nibWithPath(folder.file("AnswerEditor.nib"))->instantiateWithOwner(nullptr);
  ASSERT_EQ(objects.size(), 1u);
  auto editor = std::dynamic_pointer_cast<BaseScrollView>(objects[0]);
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->contentSize(), (pf::Size{320, 400}));
  window->addSubview(editor);
  ASSERT_TRUE(editor->subviews().back()->becomeFirstResponder());
  EXPECT_GT(editor->contentInset().bottom, 0);  // it listens to the keyboard
}

}  // namespace
