#include "platform/ui/View.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Layer.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::AffineTransform;
using pf::Point;
using pf::Rect;
using pf::Size;
using pf::View;
using testing::ElementsAre;

using ViewTest = UiTest;

void expectRect(const Rect& actual, const Rect& expected) {
  EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-6);
  EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-6);
  EXPECT_NEAR(actual.size.width, expected.size.width, 1e-6);
  EXPECT_NEAR(actual.size.height, expected.size.height, 1e-6);
}

struct AutoresizingCase {
  unsigned mask;
  Rect expected;
};

class AutoresizingTest : public UiTest, public testing::WithParamInterface<AutoresizingCase> {};

// A 30x40 view at (10, 20) in a 100x100 superview that grows to 200x150: right margin 60, bottom 40.
TEST_P(AutoresizingTest, SuperviewGrowthIsSharedByTheFlexibleParts) {
  auto parent = std::make_shared<View>(Rect(0, 0, 100, 100));
  auto child = std::make_shared<View>(Rect(10, 20, 30, 40));
  child->setAutoresizingMask(GetParam().mask);
  parent->addSubview(child);

  parent->setFrame(Rect(0, 0, 200, 150));

  expectRect(child->frame(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, AutoresizingTest,
    testing::Values(AutoresizingCase{0, Rect(10, 20, 30, 40)},
                    AutoresizingCase{View::kFlexibleWidth, Rect(10, 20, 130, 40)},
                    AutoresizingCase{16, Rect(10, 20, 30, 90)}, AutoresizingCase{18, Rect(10, 20, 130, 90)},
                    AutoresizingCase{34, Rect(10, 20, 130, 40)},
                    // Every margin flexible: each axis keeps the margins' proportions.
                    AutoresizingCase{45, Rect(10 + 100.0 * 10 / 70, 20 + 50.0 * 20 / 60, 30, 40)},
                    AutoresizingCase{View::kFlexibleLeftMargin, Rect(110, 20, 30, 40)},
                    AutoresizingCase{View::kFlexibleTopMargin | View::kFlexibleHeight,
                                     Rect(10, 20 + 50.0 * 20 / 60, 30, 40 + 50.0 * 40 / 60)}));

TEST_F(ViewTest, NoAutoresizingWhenTheSuperviewSaysSoOrOnlyMoves) {
  auto parent = std::make_shared<View>(Rect(0, 0, 100, 100));
  auto child = std::make_shared<View>(Rect(10, 20, 30, 40));
  child->setAutoresizingMask(18);
  parent->addSubview(child);

  parent->setFrame(Rect(50, 50, 100, 100));
  expectRect(child->frame(), Rect(10, 20, 30, 40));

  parent->setAutoresizesSubviews(false);
  parent->setFrame(Rect(0, 0, 300, 300));
  expectRect(child->frame(), Rect(10, 20, 30, 40));
}

TEST_F(ViewTest, FrameBoundsAndCentreFollowTheTransform) {
  auto view = std::make_shared<View>(Rect(0, 0, 100, 50));
  view->setTransform(AffineTransform::makeScale(2, 2));

  expectRect(view->frame(), Rect(-50, -25, 200, 100));
  expectRect(view->bounds(), Rect(0, 0, 100, 50));
  EXPECT_EQ(view->center(), (Point{50, 25}));

  view->setCenter({200, 200});
  expectRect(view->frame(), Rect(100, 150, 200, 100));
}

// A scaled parent (frame 0,0 200x200 from bounds 100x100) holding a child at (10, 10, 20, 20) of its bounds.
struct ViewScene {
  std::shared_ptr<View> parent = std::make_shared<View>(Rect(0, 0, 100, 100));
  std::shared_ptr<View> child = std::make_shared<View>(Rect(10, 10, 20, 20));
  explicit ViewScene(pf::Window& window) {
    parent->setTransform(AffineTransform::makeScale(2, 2));
    parent->setCenter({100, 100});
    parent->addSubview(child);
    window.addSubview(parent);
  }
};

TEST_F(ViewTest, ConvertsPointsAndRectsThroughTransformedViews) {
  ViewScene scene(*window);

  EXPECT_EQ(scene.child->convertPointToView({0, 0}, nullptr), (Point{20, 20}));
  EXPECT_EQ(scene.child->convertPointFromView({60, 60}, nullptr), (Point{20, 20}));
  EXPECT_EQ(scene.child->convertPointToView({5, 5}, scene.parent.get()), (Point{15, 15}));
  expectRect(scene.child->convertRectToView(scene.child->bounds(), window.get()), Rect(20, 20, 40, 40));
  expectRect(window->convertRectToView(Rect(20, 20, 40, 40), scene.child.get()), Rect(0, 0, 20, 20));
  expectRect(scene.child->convertRectFromView(Rect(20, 20, 40, 40), window.get()), Rect(0, 0, 20, 20));
}

TEST_F(ViewTest, HitTestFindsTheDeepestTouchableViewThroughTransforms) {
  ViewScene scene(*window);

  EXPECT_EQ(window->hitTest({25, 25}, nullptr), scene.child);
  EXPECT_EQ(window->hitTest({70, 70}, nullptr), scene.parent);
  EXPECT_EQ(window->hitTest({250, 250}, nullptr), window);
}

TEST_F(ViewTest, HitTestSkipsHiddenTransparentAndUntouchableViews) {
  ViewScene scene(*window);
  struct Case {
    std::string what;
    std::function<void(View&)> change;
  };
  const std::vector<Case> cases{
      {"hidden", [](View& v) { v.setHidden(true); }},
      {"alpha zero", [](View& v) { v.setAlpha(0); }},
      {"alpha 0.01", [](View& v) { v.setAlpha(0.01); }},
      {"no interaction", [](View& v) { v.setUserInteractionEnabled(false); }},
  };
  for (const auto& c : cases) {
    auto child = std::make_shared<View>(Rect(10, 10, 20, 20));
    scene.parent->addSubview(child);
    c.change(*child);
    EXPECT_EQ(window->hitTest({25, 25}, nullptr), scene.child) << c.what;
    child->removeFromSuperview();
  }
  scene.parent->setHidden(true);
  EXPECT_EQ(window->hitTest({25, 25}, nullptr), window) << "a hidden parent hides its subviews";
}

TEST_F(ViewTest, ASubviewOutsideItsSuperviewIsNotHitThere) {
  auto clip = std::make_shared<View>(Rect(0, 0, 50, 50));
  clip->setClipsToBounds(true);
  auto overhang = std::make_shared<View>(Rect(30, 30, 60, 60));
  clip->addSubview(overhang);
  window->addSubview(clip);

  EXPECT_EQ(window->hitTest({40, 40}, nullptr), overhang);
  EXPECT_EQ(window->hitTest({80, 80}, nullptr), window);
}

class RecordingView : public View {
 public:
  using View::View;
  std::vector<std::string>* log = nullptr;
  void willMoveToSuperview(View* s) override {
    log->push_back(s ? "willMoveToSuperview" : "willMoveToSuperview nil");
  }
  void didMoveToSuperview() override { log->push_back("didMoveToSuperview"); }
  void willMoveToWindow(pf::Window* w) override {
    log->push_back(w ? "willMoveToWindow" : "willMoveToWindow nil");
  }
  void didMoveToWindow() override { log->push_back("didMoveToWindow"); }
  void layoutSubviews() override { log->push_back("layoutSubviews"); }
};

TEST_F(ViewTest, MoveHooksRunInOrderAndReachSubviews) {
  std::vector<std::string> log, innerLog;
  auto view = std::make_shared<RecordingView>(Rect(0, 0, 10, 10));
  auto inner = std::make_shared<RecordingView>(Rect(0, 0, 5, 5));
  view->log = &log;
  inner->log = &innerLog;
  view->addSubview(inner);
  innerLog.clear();

  window->addSubview(view);
  EXPECT_THAT(
      log, ElementsAre("willMoveToSuperview", "willMoveToWindow", "didMoveToWindow", "didMoveToSuperview"));
  EXPECT_THAT(innerLog, ElementsAre("willMoveToWindow", "didMoveToWindow"));
  EXPECT_EQ(inner->window(), window);

  log.clear();
  view->removeFromSuperview();
  EXPECT_THAT(log, ElementsAre("willMoveToSuperview nil", "willMoveToWindow nil", "didMoveToWindow",
                               "didMoveToSuperview"));
  EXPECT_EQ(inner->window(), nullptr);
}

TEST_F(ViewTest, LayoutRunsOnTheNextTurnOfTheMainLoopOnce) {
  std::vector<std::string> log;
  auto view = std::make_shared<RecordingView>(Rect(0, 0, 10, 10));
  view->log = &log;
  window->addSubview(view);
  drain();
  log.clear();

  view->setNeedsLayout();
  view->setNeedsLayout();
  EXPECT_TRUE(log.empty());
  drain();
  EXPECT_THAT(log, ElementsAre("layoutSubviews"));

  log.clear();
  view->setFrame(Rect(0, 0, 20, 20));
  view->layoutIfNeeded();
  EXPECT_THAT(log, ElementsAre("layoutSubviews"));
}

TEST_F(ViewTest, SubviewOrderOperationsKeepLayersInStep) {
  auto parent = std::make_shared<View>(Rect(0, 0, 100, 100));
  std::vector<std::shared_ptr<View>> views;
  for (int tag = 1; tag <= 4; ++tag) {
    views.push_back(std::make_shared<View>(Rect()));
    views.back()->setTag(tag);
  }
  parent->addSubview(views[0]);
  parent->addSubview(views[1]);
  parent->insertSubview(views[2], 0);
  parent->insertSubviewAbove(views[3], views[2].get());
  const auto tags = [&] {
    std::vector<int> order;
    for (auto& v : parent->subviews()) order.push_back(v->tag());
    for (size_t i = 0; i < order.size(); ++i)
      EXPECT_EQ(parent->layer()->sublayers()[i], parent->subviews()[i]->layer()) << "layer order at " << i;
    return order;
  };
  EXPECT_THAT(tags(), ElementsAre(3, 4, 1, 2));
  parent->bringSubviewToFront(views[2].get());
  EXPECT_THAT(tags(), ElementsAre(4, 1, 2, 3));
  parent->sendSubviewToBack(views[1].get());
  EXPECT_THAT(tags(), ElementsAre(2, 4, 1, 3));
  parent->exchangeSubviewAtIndex(0, 3);
  EXPECT_THAT(tags(), ElementsAre(3, 4, 1, 2));
  parent->insertSubviewBelow(views[1], views[3].get());
  EXPECT_THAT(tags(), ElementsAre(3, 2, 4, 1));

  EXPECT_EQ(parent->viewWithTag(4), views[3]);
  EXPECT_EQ(parent->viewWithTag(9), nullptr);
  EXPECT_TRUE(views[0]->isDescendantOfView(parent.get()));
  parent->addSubview(parent);
  EXPECT_EQ(parent->superview(), nullptr) << "a view cannot hold itself";
}

TEST_F(ViewTest, SizeToFitTakesTheFittingSize) {
  struct Fixed : View {
    using View::View;
    Size sizeThatFits(Size) const override { return {42, 7}; }
  };
  auto view = std::make_shared<Fixed>(Rect(5, 5, 10, 10));
  view->sizeToFit();
  EXPECT_EQ(view->bounds().size, (Size{42, 7}));
}

TEST_F(ViewTest, ResponderChainRunsThroughControllerSuperviewWindowAndApplication) {
  auto parent = std::make_shared<View>(Rect(0, 0, 10, 10));
  auto child = std::make_shared<View>(Rect(0, 0, 5, 5));
  auto controller = std::make_shared<pf::Responder>();
  parent->addSubview(child);
  window->addSubview(parent);

  EXPECT_EQ(child->nextResponder(), parent);
  child->setViewController(controller);
  EXPECT_EQ(child->nextResponder(), controller);
  EXPECT_EQ(parent->nextResponder(), window);
  EXPECT_EQ(window->nextResponder().get(), &pf::Application::sharedApplication());
}

TEST_F(ViewTest, RemovingAViewResignsAFirstResponderInside) {
  struct Field : View {
    using View::View;
    bool canBecomeFirstResponder() const override { return true; }
  };
  auto box = std::make_shared<View>(Rect(0, 0, 10, 10));
  auto field = std::make_shared<Field>(Rect(0, 0, 5, 5));
  box->addSubview(field);
  window->addSubview(box);
  ASSERT_TRUE(field->becomeFirstResponder());
  EXPECT_FALSE(box->becomeFirstResponder());

  box->removeFromSuperview();

  EXPECT_FALSE(field->isFirstResponder());
  EXPECT_EQ(pf::Responder::firstResponder(), nullptr);
}

}  // namespace
