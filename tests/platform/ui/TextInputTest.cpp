#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Number.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/TextBuffer.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Rect;
using pf::utf16::Range;

// Refuses any change that would make the text longer than the limit, in UTF-16 units.
class LimitDelegate : public pf::TextFieldDelegate {
 public:
  size_t limit = 4;
  bool allowReturn = true;
  std::vector<std::string> log;
  bool shouldChangeCharactersInRange(pf::TextField& field, Range range, const std::string& text) override {
    log.push_back(std::to_string(range.location) + "," + std::to_string(range.length) + ":" + text);
    return field.text().empty()
               ? pf::utf16::length(text) <= limit
               : pf::utf16::length(field.text()) - range.length + pf::utf16::length(text) <= limit;
  }
  bool textFieldShouldReturn(pf::TextField&) override {
    log.push_back("return");
    return allowReturn;
  }
};

class TextInputTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::Keyboard::shared().reset();
    field = std::make_shared<pf::TextField>(Rect{{20, 100}, {280, 31}});
    field->setBorderStyle(pf::TextField::BorderStyle::RoundedRect);
    window->addSubview(field);
  }
  void TearDown() override {
    pf::Keyboard::shared().reset();
    UiTest::TearDown();
  }
  pf::HeadlessHost host{window};
  std::shared_ptr<pf::TextField> field;
};

TEST_F(TextInputTest, TypingGoesThroughTheDelegateWhichMayRefuse) {
  auto delegate = std::make_shared<LimitDelegate>();
  field->setDelegate(delegate);
  int changes = 0;
  field->addAction([&changes](pf::Control&, unsigned) { ++changes; }, pf::Control::kEditingChanged);
  host.tap({100, 115});
  ASSERT_TRUE(field->isFirstResponder());
  EXPECT_TRUE(host.typeText("abc"));
  EXPECT_TRUE(host.typeText("😀"));  // two units: the fifth and sixth would pass the limit
  EXPECT_TRUE(host.typeText("d"));
  EXPECT_EQ(field->text(), "abcd");
  host.typeText("😀");
  EXPECT_EQ(field->text(), "abcd");  // refused: kept as it was
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(delegate->log[3], "3,0:😀");
  host.pressBackspace();
  EXPECT_EQ(field->text(), "abc");
}

TEST_F(TextInputTest, BackspaceRemovesAWholeSurrogatePair) {
  host.tap({100, 115});
  host.typeText("a😀");
  EXPECT_EQ(field->selectedRange(), (Range{3, 0}));
  host.pressBackspace();
  EXPECT_EQ(field->text(), "a");
  host.pressBackspace();
  host.pressBackspace();
  EXPECT_EQ(field->text(), "");
}

TEST(TextBufferTest, RangesNeverSplitAPair) {
  struct Case {
    Range range;
    const char* replacement;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {{1, 1}, "x", "ax中b"},   // the first half of the pair takes the whole pair
      {{2, 0}, "x", "ax😀中b"},  // the middle of the pair moves the insertion point back
      {{0, 99}, "", ""},        // clipped to the text
      {{9, 3}, "!", "a😀中b!"},  // past the end: appended
      {{3, 1}, "", "a😀b"},
  };
  for (const Case& c : cases) {
    pf::TextBuffer buffer;
    buffer.setText("a😀中b");
    buffer.replace(c.range, c.replacement);
    EXPECT_EQ(buffer.text(), c.expected) << c.range.location << "," << c.range.length;
  }
}

TEST_F(TextInputTest, ReturnAsksTheDelegateAndAnExitActionEndsEditing) {
  auto delegate = std::make_shared<LimitDelegate>();
  field->setDelegate(delegate);
  int exits = 0;
  field->addAction([&exits](pf::Control&, unsigned) { ++exits; }, pf::Control::kEditingDidEndOnExit);
  field->becomeFirstResponder();
  delegate->allowReturn = false;
  host.pressReturn();
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(field->isEditing());
  delegate->allowReturn = true;
  host.pressReturn();
  EXPECT_EQ(exits, 1);
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(field->text(), "");  // return is never typed into a field
}

struct KeyboardNote {
  std::string name;
  Rect begin, end;
  double duration;
  double at;
};

TEST_F(TextInputTest, TheKeyboardRisesToTheBottomOfTheScreenAndFallsAgain) {
  std::vector<KeyboardNote> notes;
  std::vector<pf::NotificationCenter::Observation> observations;
  for (const char* name : {pf::Keyboard::kWillShowNotification, pf::Keyboard::kDidShowNotification,
                           pf::Keyboard::kWillHideNotification, pf::Keyboard::kDidHideNotification}) {
    observations.push_back(pf::NotificationCenter::defaultCenter().addObserver(
        name, nullptr, [&notes](const pf::Notification& n) {
          notes.push_back({n.name,
                           *pf::Keyboard::rectFromValue(n.userInfo.at(pf::Keyboard::kFrameBeginUserInfoKey)),
                           *pf::Keyboard::rectFromValue(n.userInfo.at(pf::Keyboard::kFrameEndUserInfoKey)),
                           n.userInfo.at(pf::Keyboard::kAnimationDurationUserInfoKey).number()->doubleValue(),
                           pf::Clock::now()});
        }));
  }
  auto other = std::make_shared<pf::TextView>(Rect{{20, 150}, {280, 80}});
  window->addSubview(other);
  auto bar = std::make_shared<pf::View>(Rect{{0, 0}, {320, 30}});
  field->setInputAccessoryView(bar);
  const double start = pf::Clock::now();
  host.tap({100, 115});
  host.advance(1);
  host.tap({100, 190});  // editing moves to the text view: a new show, no hide
  host.advance(1);
  ASSERT_TRUE(other->isEditing());
  other->resignFirstResponder();
  host.advance(1);

  const Rect below{{0, 480}, {320, 246}};
  const Rect up{{0, 234}, {320, 246}};  // keys and the field's accessory bar
  const Rect upBare{{0, 264}, {320, 216}};
  const Rect belowBare{{0, 480}, {320, 216}};
  ASSERT_EQ(notes.size(), 6u);
  const std::vector<std::pair<std::string, std::pair<Rect, Rect>>> expected = {
      {pf::Keyboard::kWillShowNotification, {below, up}},
      {pf::Keyboard::kDidShowNotification, {below, up}},
      {pf::Keyboard::kWillShowNotification, {up, upBare}},
      {pf::Keyboard::kDidShowNotification, {up, upBare}},
      {pf::Keyboard::kWillHideNotification, {upBare, belowBare}},
      {pf::Keyboard::kDidHideNotification, {upBare, belowBare}}};
  for (size_t i = 0; i < notes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(notes[i].name, expected[i].first);
    EXPECT_EQ(notes[i].begin, expected[i].second.first);
    EXPECT_EQ(notes[i].end, expected[i].second.second);
    EXPECT_EQ(notes[i].duration, 0.25);
  }
  EXPECT_NEAR(notes[1].at - notes[0].at, 0.25, 1e-9);
  EXPECT_GT(notes[0].at, start);
  EXPECT_FALSE(pf::Keyboard::shared().isVisible());
}

TEST(KeyboardTest, RectValuesReadBackAndAnythingElseIsNoRect) {
  const Rect rect{{0, 264.5}, {320, 216}};
  EXPECT_EQ(pf::Keyboard::rectFromValue(pf::Keyboard::valueWithRect(rect)), rect);
  EXPECT_EQ(pf::Keyboard::rectFromValue(pf::Value("{{1, 2}, {3}}")), std::nullopt);
  EXPECT_EQ(pf::Keyboard::rectFromValue(pf::Value()), std::nullopt);
}

class ChangeLog : public pf::TextViewDelegate {
 public:
  std::vector<std::string> changes;
  bool shouldChangeTextInRange(pf::TextView&, Range, const std::string& text) override {
    return text != "\n";
  }
  void textViewDidChange(pf::TextView& view) override { changes.push_back(view.text()); }
};

TEST_F(TextInputTest, ATextViewTellsItsDelegateOfEachChangeAndMayRefuseReturn) {
  auto view = std::make_shared<pf::TextView>(Rect{{20, 150}, {280, 80}});
  window->addSubview(view);
  auto log = std::make_shared<ChangeLog>();
  view->setDelegate(log);
  host.tap({100, 190});
  host.typeText("好的");
  host.pressReturn();
  EXPECT_EQ(view->text(), "好的");
  EXPECT_THAT(log->changes, testing::ElementsAre("好", "好的"));
  view->setEditable(false);
  EXPECT_FALSE(view->isFirstResponder());
  EXPECT_FALSE(host.typeText("x"));
}

}  // namespace
