#include "ui/base/BaseTableView.h"

#include <gtest/gtest.h>

#include "platform/host/HeadlessHost.h"
#include "platform/ui/Keyboard.h"
#include "tests/platform/ui/UiTest.h"

namespace {

class OwnFieldDelegate : public pf::TextFieldDelegate {};

// A form in the table's header, no rows.
class HeaderOnly : public pf::TableViewDataSource {
 public:
  long numberOfRowsInSection(pf::TableView&, long) override { return 0; }
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) override {
    return nullptr;
  }
};

class BaseTableViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    table = std::make_shared<BaseTableView>(window->bounds());
    form = std::make_shared<pf::View>(pf::Rect{{0, 0}, {320, 1000}});
    table->setDataSource(source);
    table->setTableHeaderView(form);
    window->addSubview(table);
  }
  // A field in its own row of the form, so the search goes through the tree.
  std::shared_ptr<pf::TextField> addField(double top) {
    auto row = std::make_shared<pf::View>(pf::Rect{{0, top - 5}, {320, 40}});
    auto field = std::make_shared<pf::TextField>(pf::Rect{{10, 5}, {300, 30}});
    row->addSubview(field);
    form->addSubview(row);
    return field;
  }
  std::shared_ptr<BaseTableView> table;
  std::shared_ptr<pf::View> form;
  std::shared_ptr<HeaderOnly> source = std::make_shared<HeaderOnly>();
};

TEST_F(BaseTableViewTest, ReturnMovesDownTheFormAndTheLastFieldEndsTheTyping) {
  auto a = addField(10);
  auto b = addField(50);
  auto c = addField(50);  // level with B, later in the tree
  table->layoutIfNeeded();
  EXPECT_EQ(a->returnKeyType(), pf::ReturnKeyType::Next);
  EXPECT_EQ(b->returnKeyType(), pf::ReturnKeyType::Next);
  EXPECT_EQ(c->returnKeyType(), pf::ReturnKeyType::Done);
  EXPECT_EQ(a->delegate().lock().get(), static_cast<pf::TextFieldDelegate*>(table.get()));

  pf::HeadlessHost host(window);
  host.tap(a->convertPointToView({50, 15}, nullptr));
  ASSERT_TRUE(a->isFirstResponder());
  ASSERT_TRUE(host.pressReturn());
  EXPECT_TRUE(b->isFirstResponder());
  ASSERT_TRUE(host.pressReturn());
  EXPECT_TRUE(c->isFirstResponder());
  ASSERT_TRUE(host.pressReturn());  // C does not bounce back to B
  EXPECT_FALSE(c->isFirstResponder());
  EXPECT_FALSE(b->isFirstResponder());
  EXPECT_FALSE(pf::Keyboard::shared().isVisible());
}

TEST_F(BaseTableViewTest, TheLastOfTwoFieldsGetsDoneAndResignsOnReturn) {
  auto a = addField(10);
  auto b = addField(50);
  auto hiddenRow = std::make_shared<pf::View>(pf::Rect{{0, 90}, {320, 40}});
  hiddenRow->addSubview(std::make_shared<pf::TextField>(pf::Rect{{10, 5}, {300, 30}}));
  hiddenRow->setHidden(true);
  form->addSubview(hiddenRow);
  table->layoutIfNeeded();
  EXPECT_EQ(a->returnKeyType(), pf::ReturnKeyType::Next);
  EXPECT_EQ(b->returnKeyType(), pf::ReturnKeyType::Done);
  ASSERT_TRUE(b->becomeFirstResponder());
  pf::HeadlessHost host(window);
  ASSERT_TRUE(host.pressReturn());
  EXPECT_FALSE(b->isFirstResponder());
}

TEST_F(BaseTableViewTest, AFieldWithItsOwnDelegateKeepsItAndItsReturnKey) {
  auto own = std::make_shared<OwnFieldDelegate>();
  auto a = addField(10);
  a->setDelegate(own);
  a->setReturnKeyType(pf::ReturnKeyType::Search);
  auto b = addField(50);
  table->layoutIfNeeded();
  EXPECT_EQ(a->delegate().lock(), own);
  EXPECT_EQ(a->returnKeyType(), pf::ReturnKeyType::Search);
  EXPECT_EQ(b->delegate().lock().get(), static_cast<pf::TextFieldDelegate*>(table.get()));
}

TEST_F(BaseTableViewTest, MovingBetweenFieldsThenHidingGivesBackTheInset) {
  table->setContentInset({64, 0, 0, 0});
  table->setScrollIndicatorInsets({64, 0, 0, 0});
  auto a = addField(200);
  auto b = addField(400);
  table->layoutIfNeeded();
  ASSERT_TRUE(a->becomeFirstResponder());
  EXPECT_EQ(table->contentInset(), (pf::EdgeInsets{64, 0, 216, 0}));
  EXPECT_EQ(table->scrollIndicatorInsets(), table->contentInset());
  pf::HeadlessHost host(window);
  ASSERT_TRUE(host.pressReturn());  // to B: the keyboard posts another show
  ASSERT_TRUE(b->isFirstResponder());
  EXPECT_EQ(table->contentInset(), (pf::EdgeInsets{64, 0, 216, 0}));
  runUntil(1);
  const pf::Rect onScreen = b->convertRectToView(b->bounds(), nullptr);
  EXPECT_LE(onScreen.maxY(), 480 - 216);
  ASSERT_TRUE(host.pressReturn());  // B is the last: the keyboard goes
  EXPECT_EQ(table->contentInset(), (pf::EdgeInsets{64, 0, 0, 0}));
  EXPECT_EQ(table->scrollIndicatorInsets(), (pf::EdgeInsets{64, 0, 0, 0}));
}

TEST_F(BaseTableViewTest, ATouchOnTheTableEndsTheTyping) {
  auto a = addField(10);
  table->layoutIfNeeded();
  ASSERT_TRUE(a->becomeFirstResponder());
  pf::HeadlessHost host(window);
  host.tap({160, 300});
  EXPECT_FALSE(a->isFirstResponder());
}

}  // namespace
