#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TouchInjector.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Control;
using pf::Point;
using pf::Rect;
using testing::ElementsAreArray;

std::string eventName(unsigned event) {
  switch (event) {
    case Control::kTouchDown:
      return "down";
    case Control::kTouchDownRepeat:
      return "repeat";
    case Control::kTouchDragInside:
      return "in";
    case Control::kTouchDragOutside:
      return "out";
    case Control::kTouchDragEnter:
      return "enter";
    case Control::kTouchDragExit:
      return "exit";
    case Control::kTouchUpInside:
      return "upInside";
    case Control::kTouchUpOutside:
      return "upOutside";
    case Control::kTouchCancel:
      return "cancel";
    default:
      return std::to_string(event);
  }
}

class ControlTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    control = std::make_shared<Control>(Rect{{100, 100}, {100, 40}});
    window->addSubview(control);
    control->addAction(
        [this](Control& sender, unsigned event) {
          events.push_back(eventName(event));
          highlightedAtEvent.push_back(sender.isHighlighted());
        },
        Control::kAllEvents);
  }
  std::shared_ptr<Control> control;
  std::vector<std::string> events;
  std::vector<bool> highlightedAtEvent;
};

TEST_F(ControlTest, TouchEventsFollowTheFingerInsideOutsideAndBack) {
  struct Case {
    const char* name;
    std::vector<Point> moves;  // after pressing at (150, 120)
    bool cancel;
    std::vector<std::string> expected;
  };
  const Point far{150, 300};  // well beyond the slop below the control
  const std::vector<Case> cases = {
      {"tap", {}, false, {"down", "upInside"}},
      {"drag within", {{160, 125}}, false, {"down", "in", "upInside"}},
      {"slop still counts inside", {{150, 160}}, false, {"down", "in", "upInside"}},
      {"leave and lift outside", {far}, false, {"down", "exit", "out", "upOutside"}},
      {"leave and come back", {far, {150, 120}}, false, {"down", "exit", "out", "enter", "in", "upInside"}},
      {"cancelled", {{155, 121}}, true, {"down", "in", "cancel"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    events.clear();
    pf::TouchInjector finger(window);
    finger.press(0, {150, 120});
    EXPECT_TRUE(control->isHighlighted());
    for (Point p : c.moves) finger.move(0, p);
    if (c.cancel) {
      finger.cancelAll();
    } else {
      finger.lift(0);
    }
    drain();
    EXPECT_THAT(events, ElementsAreArray(c.expected));
    EXPECT_FALSE(control->isHighlighted());
    EXPECT_FALSE(control->isTracking());
  }
}

// Faults caught: the highlight not following the finger; the highlight cleared before touch-up-inside
// is sent, so its handlers (which tell a tap by the highlight) read every tap as a release.
TEST_F(ControlTest, HighlightFollowsWhetherTheTouchIsInside) {
  pf::TouchInjector finger(window);
  finger.press(0, {150, 120});
  finger.move(0, {150, 400});
  EXPECT_FALSE(control->isHighlighted());
  finger.move(0, {150, 130});
  EXPECT_TRUE(control->isHighlighted());
  finger.lift(0);
  EXPECT_THAT(highlightedAtEvent, ElementsAreArray({true, false, false, true, true, true}));
  EXPECT_FALSE(control->isHighlighted()) << "the highlight outlives the touch";

  runUntil(pf::Clock::now() + 1);  // no double tap
  highlightedAtEvent.clear();
  finger.press(0, {150, 120});
  finger.move(0, {150, 400});
  finger.lift(0);
  EXPECT_THAT(highlightedAtEvent, ElementsAreArray({true, false, false, false})) << "down, exit, out, upOutside";
  runUntil(pf::Clock::now() + 1);
  highlightedAtEvent.clear();
  finger.press(0, {150, 120});
  finger.cancelAll();
  EXPECT_THAT(highlightedAtEvent, ElementsAreArray({true, false})) << "down, cancel";
  EXPECT_FALSE(control->isHighlighted());
}

TEST_F(ControlTest, ADisabledControlSendsNothing) {
  control->setEnabled(false);
  EXPECT_EQ(control->state(), Control::kDisabled);
  pf::TouchInjector finger(window);
  finger.press(0, {150, 120});
  finger.lift(0);
  EXPECT_TRUE(events.empty());
}

TEST_F(ControlTest, ATargetsNamedActionRunsOncePerEventAndOnlyWhileTheTargetLives) {
  auto target = std::make_shared<int>(0);
  int calls = 0;
  for (int i = 0; i < 2; ++i) {
    control->addTarget(
        target, "pressed:", [&calls](Control&, unsigned) { ++calls; }, Control::kTouchUpInside);
  }
  control->sendActionsForControlEvents(Control::kTouchUpInside);
  EXPECT_EQ(calls, 1);
  EXPECT_THAT(control->actionsForTarget(target.get(), Control::kTouchUpInside),
              ElementsAreArray({"pressed:"}));
  control->removeTarget(target.get(), "pressed:", Control::kTouchUpInside);
  control->sendActionsForControlEvents(Control::kTouchUpInside);
  EXPECT_EQ(calls, 1);

  control->addTarget(
      target, "pressed:", [&calls](Control&, unsigned) { ++calls; }, Control::kValueChanged);
  target.reset();
  control->sendActionsForControlEvents(Control::kValueChanged);
  EXPECT_EQ(calls, 1);
}

TEST_F(ControlTest, ADoubleTapSendsTouchDownRepeat) {
  pf::TouchInjector finger(window);
  finger.press(0, {150, 120});
  finger.lift(0);
  finger.press(0, {150, 120});
  finger.lift(0);
  EXPECT_THAT(events, ElementsAreArray({"down", "upInside", "down", "repeat", "upInside"}));
}

std::shared_ptr<pf::Image> solidImage(pf::Size size, pf::Color color) {
  auto bitmap = pf::Bitmap::create(static_cast<int>(size.width), static_cast<int>(size.height));
  pf::GraphicsContext context(bitmap);
  context.setFillColor(color);
  context.fillRect({{0, 0}, size});
  return pf::Image::withBitmap(bitmap);
}

class ButtonTest : public UiTest {};

TEST_F(ButtonTest, ValuesForAStateFallBackToSelectedThenNormal) {
  auto button = pf::Button::buttonWithType(pf::Button::Type::Custom);
  const auto normal = solidImage({10, 10}, pf::Color::red());
  const auto selected = solidImage({10, 10}, pf::Color::green());
  button->setImage(normal, Control::kNormal);
  button->setImage(selected, Control::kSelected);
  button->setTitle("Go", Control::kNormal);
  button->setTitle("Stop", Control::kHighlighted);
  struct Case {
    bool highlighted, selected, enabled;
    std::shared_ptr<pf::Image> image;
    const char* title;
  };
  const std::vector<Case> cases = {
      {false, false, true, normal, "Go"},  {true, false, true, normal, "Stop"},
      {false, true, true, selected, "Go"}, {true, true, true, selected, "Go"},
      {false, false, false, normal, "Go"},
  };
  for (const Case& c : cases) {
    button->setHighlighted(c.highlighted);
    button->setSelected(c.selected);
    button->setEnabled(c.enabled);
    SCOPED_TRACE(button->state());
    EXPECT_EQ(button->currentImage(), c.image);
    EXPECT_EQ(button->currentTitle(), c.title);
  }
  EXPECT_EQ(button->imageForState(Control::kHighlighted), nullptr);
}

TEST_F(ButtonTest, TitleAndImageSitSideBySideWithinTheInsets) {
  auto button = pf::Button::buttonWithType(pf::Button::Type::Custom);
  button->setImage(solidImage({20, 20}, pf::Color::red()), Control::kNormal);
  button->setTitle("Play", Control::kNormal);
  button->setContentEdgeInsets({5, 6, 5, 6});
  button->sizeToFit();
  const pf::Size title = button->titleLabel()->sizeThatFits({0, 0});
  EXPECT_EQ(button->frame().size.width, std::ceil(20 + title.width + 12));
  window->addSubview(button);
  button->setFrame({{0, 0}, {200, 40}});
  button->setTitleEdgeInsets({0, 4, 0, -4});
  button->layoutIfNeeded();
  const Rect image = button->imageView()->frame();
  const Rect label = button->titleLabel()->frame();
  EXPECT_NEAR(image.midY(), 20, 0.5);
  EXPECT_NEAR(label.origin.x, image.origin.x + 20 + 4, 0.5);
  EXPECT_NEAR(image.origin.x - 6 - 0, (188 - 20 - title.width) / 2, 0.5);
}

TEST_F(ButtonTest, APressedImageWithoutItsOwnPictureDarkens) {
  auto button = pf::Button::buttonWithType(pf::Button::Type::Custom);
  button->setImage(solidImage({20, 20}, pf::Color::red()), Control::kNormal);
  button->setHighlighted(true);
  EXPECT_LT(button->imageView()->alpha(), 1);
  button->setAdjustsImageWhenHighlighted(false);
  button->setHighlighted(false);
  button->setHighlighted(true);
  EXPECT_EQ(button->imageView()->alpha(), 1);
}

TEST(LabelTest, SizesForOneAndSeveralLines) {
  pf::Label label;
  label.setFont(pf::Font::systemFont(16));
  const std::string text = "The quick brown fox jumps over the lazy dog again and again";
  label.setText(text);
  const pf::Size oneLine = label.sizeThatFits({0, 0});
  const double lineHeight = std::ceil(label.font()->lineHeight());
  EXPECT_GT(oneLine.width, 300);
  EXPECT_LE(oneLine.height, lineHeight + 1);

  label.setNumberOfLines(0);
  const pf::Size wrapped = label.sizeThatFits({120, 0});
  EXPECT_LE(wrapped.width, 120);
  EXPECT_GE(wrapped.height, 3 * lineHeight - 1);

  label.setNumberOfLines(2);
  const pf::Size twoLines = label.sizeThatFits({120, 0});
  EXPECT_LE(twoLines.height, 2 * lineHeight + 1);
  EXPECT_GT(twoLines.height, lineHeight);

  label.setText(std::nullopt);
  EXPECT_EQ(label.sizeThatFits({120, 0}), (pf::Size{0, 0}));
}

TEST(LabelTest, ShrinksToFitTheWidthDownToTheMinimum) {
  pf::Label label({{0, 0}, {80, 20}});
  label.setText("A rather long caption");
  label.setFont(pf::Font::systemFont(17));
  EXPECT_EQ(label.fontForDrawing()->pointSize(), 17);
  label.setAdjustsFontSizeToFitWidth(true);
  label.setMinimumFontSize(12);
  EXPECT_EQ(label.fontForDrawing()->pointSize(), 12);
  label.setFrame({{0, 0}, {400, 20}});
  EXPECT_EQ(label.fontForDrawing()->pointSize(), 17);
}

TEST_F(ControlTest, AnImageViewCyclesItsFramesOnTheClock) {
  auto view = std::make_shared<pf::ImageView>(Rect{{0, 0}, {10, 10}});
  std::vector<std::shared_ptr<const pf::Image>> frames = {solidImage({4, 4}, pf::Color::red()),
                                                          solidImage({4, 4}, pf::Color::green()),
                                                          solidImage({4, 4}, pf::Color::blue())};
  view->setAnimationImages(frames);
  view->setAnimationDuration(0.3);
  view->setAnimationRepeatCount(1);
  view->startAnimating();
  EXPECT_EQ(view->displayedImage(), frames[0]);
  runUntil(pf::Clock::now() + 0.15);
  EXPECT_EQ(view->displayedImage(), frames[1]);
  runUntil(pf::Clock::now() + 0.2);
  EXPECT_FALSE(view->isAnimating());
}

}  // namespace
