// The grid cell on its own: a second content view takes the first one's place, the highlight reaches
// nested labels and pictures and ends with the touch wherever it lifts, edit mode fades the delete
// button in and wobbles, a cell back from the reuse queue shows no highlight, and the delete button's
// look with and without an icon.

#include <gtest/gtest.h>

#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/TouchInjector.h"
#include "tests/platform/ui/UiTest.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewAdditions.h"
#include "ui/grid/GridViewCell.h"

namespace {

using pf::Rect;

class GridCellTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    cell = std::make_shared<GridViewCell>(Rect(20, 40, 70, 100));
    content = std::make_shared<pf::View>(Rect(0, 0, 70, 100));
    auto box = std::make_shared<pf::View>(Rect(0, 0, 70, 70));
    icon = std::make_shared<pf::ImageView>(Rect(0, 0, 70, 70));
    box->addSubview(icon);
    content->addSubview(box);
    name = std::make_shared<pf::Label>(Rect(0, 77, 70, 20));
    content->addSubview(name);
    cell->setContentView(content);
    window->addSubview(cell);
  }

  std::shared_ptr<GridViewCell> cell;
  std::shared_ptr<pf::View> content;
  std::shared_ptr<pf::ImageView> icon;
  std::shared_ptr<pf::Label> name;
};

TEST_F(GridCellTest, ASecondContentViewTakesTheFirstOnesFrame) {
  content->setFrame(Rect(5, 5, 60, 90));
  auto second = std::make_shared<pf::View>(Rect(0, 0, 10, 10));
  cell->setContentView(second);
  EXPECT_EQ(second->frame(), Rect(5, 5, 60, 90));
  EXPECT_EQ(content->superview(), nullptr);
  // The delete button stays on top.
  EXPECT_EQ(cell->subviews().back(), cell->deleteButton());
}

TEST_F(GridCellTest, AHighlightReachesNestedViewsAndEndsWhereverTheTouchLifts) {
  pf::TouchInjector fingers(window);
  fingers.press(0, {50, 60});
  EXPECT_TRUE(cell->isHighlighted());
  EXPECT_TRUE(icon->isHighlighted());
  EXPECT_TRUE(name->isHighlighted());
  fingers.move(0, {300, 400});
  fingers.lift(0);
  EXPECT_FALSE(cell->isHighlighted());
  EXPECT_FALSE(icon->isHighlighted());
  EXPECT_FALSE(name->isHighlighted());
  fingers.press(0, {50, 60});
  fingers.cancelAll();
  EXPECT_FALSE(name->isHighlighted());
}

TEST_F(GridCellTest, EditingFadesTheDeleteButtonInAndWobblesOnlyOnAChange) {
  auto button = cell->deleteButton();
  EXPECT_EQ(button->frame(), Rect(-5, -5, 35, 35));
  EXPECT_EQ(button->titleForState(0), "X");
  EXPECT_EQ(button->alpha(), 0);
  cell->setEditing(true, true);
  EXPECT_EQ(button->alpha(), 1);
  auto fade = button->layer()->animationForKey("opacity");
  ASSERT_NE(fade, nullptr);
  EXPECT_DOUBLE_EQ(fade->duration, 0.2);
  auto shake = cell->layer()->animationForKey(GridViewAdditions::kShakeAnimationKey);
  ASSERT_NE(shake, nullptr);
  EXPECT_DOUBLE_EQ(shake->duration, 0.13);
  EXPECT_TRUE(shake->autoreverses);
  EXPECT_FALSE(content->isUserInteractionEnabled());
  // The same value again neither animates nor touches the wobble.
  cell->layer()->removeAnimationForKey(GridViewAdditions::kShakeAnimationKey);
  cell->setEditing(true, true);
  EXPECT_EQ(cell->layer()->animationForKey(GridViewAdditions::kShakeAnimationKey), nullptr);
  cell->setEditing(false, false);
  EXPECT_EQ(button->alpha(), 0);
  EXPECT_TRUE(content->isUserInteractionEnabled());
}

TEST_F(GridCellTest, ACellBackFromTheReuseQueueShowsNoHighlightEditStateOrDeleteBlock) {
  auto grid = std::make_shared<GridView>(Rect(0, 0, 320, 400));
  cell->setHighlighted(true);
  cell->setEditing(true);
  int deletes = 0;
  cell->setDeleteBlock([&](GridViewCell&) { ++deletes; });
  cell->setFullSizeView(std::make_shared<pf::View>());
  grid->queueReusableCell(cell);
  auto reused = grid->dequeueReusableCell();
  ASSERT_EQ(reused, cell);
  EXPECT_FALSE(reused->isHighlighted());
  EXPECT_FALSE(name->isHighlighted());
  EXPECT_FALSE(reused->isEditing());
  EXPECT_EQ(reused->fullSizeView(), nullptr);
  reused->actionDelete();
  EXPECT_EQ(deletes, 0);
  EXPECT_EQ(grid->dequeueReusableCell(), nullptr);
}

TEST_F(GridCellTest, TheReuseQueueHandsOutCellsByIdentifier) {
  auto grid = std::make_shared<GridView>(Rect(0, 0, 320, 400));
  auto other = std::make_shared<GridViewCell>();
  other->setReuseIdentifier("icon");
  grid->queueReusableCell(cell);
  grid->queueReusableCell(other);
  EXPECT_EQ(grid->dequeueReusableCellWithIdentifier("badge"), nullptr);
  EXPECT_EQ(grid->dequeueReusableCellWithIdentifier("icon"), other);
  EXPECT_EQ(grid->dequeueReusableCellWithIdentifier("icon"), nullptr);
  EXPECT_EQ(grid->dequeueReusableCell(), cell);
}

TEST_F(GridCellTest, TheDeleteIconSetsTheButtonsSizeAndNilBringsBackTheX) {
  cell->setDeleteButtonOffset({4, 6});
  auto bitmap = pf::Bitmap::create(24, 20);
  cell->setDeleteButtonIcon(pf::Image::withBitmap(bitmap));
  auto button = cell->deleteButton();
  EXPECT_EQ(button->frame(), Rect(4, 6, 24, 20));
  EXPECT_EQ(button->titleForState(0), std::nullopt);
  EXPECT_NE(cell->deleteButtonIcon(), nullptr);
  cell->setDeleteButtonIcon(nullptr);
  EXPECT_EQ(button->frame(), Rect(4, 6, 35, 35));
  EXPECT_EQ(button->titleForState(0), "X");
  EXPECT_EQ(cell->deleteButtonOffset(), (pf::Point{4, 6}));
}

TEST_F(GridCellTest, TheSubviewWalkStopsOnlyTheLevelThatAskedItTo) {
  // root: a (a1, a2), b; stopping at a1 skips a2 but not b.
  auto root = std::make_shared<pf::View>();
  auto a = std::make_shared<pf::View>();
  auto a1 = std::make_shared<pf::View>();
  auto a2 = std::make_shared<pf::View>();
  auto b = std::make_shared<pf::View>();
  a->addSubview(a1);
  a->addSubview(a2);
  root->addSubview(a);
  root->addSubview(b);
  std::vector<pf::View*> seen;
  GridViewAdditions::recursiveEnumerateSubviewsUsingBlock(*root, [&](pf::View& view, bool& stop) {
    seen.push_back(&view);
    stop = &view == a1.get();
  });
  EXPECT_EQ(seen, (std::vector<pf::View*>{a.get(), a1.get(), b.get()}));
}

}  // namespace
