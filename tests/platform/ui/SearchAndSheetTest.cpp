#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/host/HeadlessHost.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Button.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TextField.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Rect;

class SearchLog : public pf::SearchBarDelegate {
 public:
  std::vector<std::string> events;
  void searchBarTextDidBeginEditing(pf::SearchBar&) override { events.push_back("begin"); }
  void textDidChange(pf::SearchBar&, const std::string& text) override { events.push_back("text " + text); }
  void searchBarSearchButtonClicked(pf::SearchBar& bar) override { events.push_back("search " + bar.text()); }
  void searchBarCancelButtonClicked(pf::SearchBar&) override { events.push_back("cancel"); }
};

class SearchAndSheetTest : public UiTest {
 protected:
  void TearDown() override {
    pf::Keyboard::shared().reset();
    UiTest::TearDown();
  }
  pf::HeadlessHost host{window};
};

TEST_F(SearchAndSheetTest, TheSearchBarsFieldIsASubviewAndItsEventsReachTheDelegate) {
  auto bar = std::make_shared<pf::SearchBar>(Rect{{0, 64}, {320, 44}});
  window->addSubview(bar);
  auto log = std::make_shared<SearchLog>();
  bar->setDelegate(log);
  bar->setShowsCancelButton(true);
  bar->setPlaceholder("搜索");
  bar->layoutIfNeeded();
  const auto& subviews = bar->subviews();
  const bool hasField = std::any_of(subviews.begin(), subviews.end(), [](const auto& view) {
    return dynamic_cast<pf::TextField*>(view.get()) != nullptr;
  });
  EXPECT_TRUE(hasField);
  EXPECT_EQ(bar->textField()->returnKeyType(), pf::ReturnKeyType::Search);
  EXPECT_LT(bar->textField()->frame().maxX(), bar->cancelButton()->frame().origin.x);

  host.tap({60, 86});
  host.typeText("ab");
  host.pressReturn();
  const Rect cancel = bar->cancelButton()->frame();
  host.tap({cancel.midX(), 64 + cancel.midY()});
  EXPECT_THAT(log->events, testing::ElementsAre("begin", "text a", "text ab", "search ab", "cancel"));
}

// Faults caught: a bar without its background first, so removing "the background" removes the field,
// or a background that comes back at the next layout.
TEST_F(SearchAndSheetTest, TheSearchBarsBackgroundIsItsFirstSubviewAndStaysAwayOnceRemoved) {
  auto bar = std::make_shared<pf::SearchBar>(Rect{{0, 64}, {320, 44}});
  window->addSubview(bar);
  bar->textField();
  ASSERT_EQ(bar->subviews().size(), 3u);
  auto background = bar->subviews().front();
  EXPECT_FALSE(dynamic_cast<pf::TextField*>(background.get()));
  EXPECT_EQ(background->frame(), bar->bounds());
  background->removeFromSuperview();
  bar->setNeedsLayout();
  bar->layoutIfNeeded();
  EXPECT_EQ(bar->subviews().size(), 2u);
  EXPECT_TRUE(std::any_of(bar->subviews().begin(), bar->subviews().end(),
                          [&](const auto& view) { return view == bar->textField(); }));
}

class SheetLog : public pf::ActionSheetDelegate {
 public:
  std::vector<std::string> events;
  void clickedButtonAtIndex(pf::ActionSheet& sheet, long index) override {
    events.push_back("clicked " + *sheet.buttonTitleAtIndex(index));
  }
  void didDismissWithButtonIndex(pf::ActionSheet&, long index) override {
    events.push_back("did " + std::to_string(index));
  }
};

TEST_F(SearchAndSheetTest, SheetButtonsRunDestructiveOthersThenCancelAndATapAnswers) {
  auto log = std::make_shared<SheetLog>();
  auto sheet = std::make_shared<pf::ActionSheet>(std::nullopt, log, "取消", std::nullopt,
                                                 std::vector<std::string>{"相册", "拍照"});
  EXPECT_EQ(sheet->buttonTitleAtIndex(0), "相册");
  EXPECT_EQ(sheet->buttonTitleAtIndex(1), "拍照");
  EXPECT_EQ(sheet->cancelButtonIndex(), 2);
  EXPECT_EQ(sheet->destructiveButtonIndex(), -1);
  auto withDestructive =
      std::make_shared<pf::ActionSheet>("t", log, "取消", "删除", std::vector<std::string>{"a"});
  EXPECT_EQ(withDestructive->destructiveButtonIndex(), 0);
  EXPECT_EQ(withDestructive->firstOtherButtonIndex(), 1);
  EXPECT_EQ(withDestructive->cancelButtonIndex(), 2);

  auto screen = std::make_shared<pf::View>(window->bounds());
  window->addSubview(screen);
  sheet->showInView(screen);
  host.render();
  EXPECT_EQ(pf::ActionSheet::visibleSheets().size(), 1u);
  const Rect cancel = sheet->buttons()[2]->frame();
  const Rect photo = sheet->buttons()[1]->frame();
  EXPECT_GT(cancel.origin.y, photo.maxY());  // the cancel button sits apart, at the bottom
  EXPECT_NEAR(cancel.maxY(), 480 - 8, 0.5);
  host.tap({photo.midX(), photo.midY()});
  EXPECT_THAT(log->events, testing::ElementsAre("clicked 拍照", "did 1"));
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_EQ(sheet->superview(), nullptr);
  EXPECT_TRUE(pf::ActionSheet::visibleSheets().empty());
}

TEST_F(SearchAndSheetTest, OnATabletASheetShowsBesideItsRectAndOnAPhoneAtTheBottom) {
  const struct {
    const char* what;
    pf::Screen::Profile profile;
    Rect anchor;
    Rect panel;  // two rows of 44 and the cancel row, no gap beside a rect
  } cases[] = {
      {"room below", pf::Screen::Profile::Tablet, Rect(300, 100, 100, 40), Rect(350 - 136, 148, 272, 132)},
      {"none below: above", pf::Screen::Profile::Tablet, Rect(300, 950, 100, 40), Rect(350 - 136, 950 - 8 - 132, 272, 132)},
      {"at the right edge", pf::Screen::Profile::Tablet, Rect(720, 100, 40, 40), Rect(768 - 8 - 272, 148, 272, 132)},
      {"at the left edge", pf::Screen::Profile::Tablet, Rect(0, 100, 40, 40), Rect(8, 148, 272, 132)},
      {"phone", pf::Screen::Profile::Phone, Rect(100, 100, 40, 40), Rect(8, 480 - 8 - 44 * 3 - 8, 304, 44 * 3 + 8)},
  };
  for (const auto& c : cases) {
    pf::Screen::configure(c.profile);
    auto tabletWindow = std::make_shared<pf::Window>();
    tabletWindow->makeKeyAndVisible();
    pf::HeadlessHost tablet(tabletWindow);
    auto screen = std::make_shared<pf::View>(tabletWindow->bounds());
    tabletWindow->addSubview(screen);
    auto log = std::make_shared<SheetLog>();
    auto sheet = std::make_shared<pf::ActionSheet>(std::nullopt, log, "取消", std::nullopt,
                                                   std::vector<std::string>{"相册", "拍照"});
    sheet->showFromRect(c.anchor, screen, true);
    tablet.render();
    EXPECT_EQ(sheet->panelFrame(), c.panel) << c.what;
    // The rows follow one another down the panel, the cancel row last.
    EXPECT_EQ(sheet->buttons()[0]->frame().minY(), c.panel.minY()) << c.what;
    EXPECT_EQ(sheet->buttons()[2]->frame().maxY(), c.panel.maxY()) << c.what;
    const Rect photo = sheet->buttons()[1]->frame();
    // The panel is drawn where it is laid out.
    EXPECT_GT(tablet.pixelAt({c.panel.midX(), c.panel.minY() + 2}).red, 200) << c.what;
    tablet.tap({photo.midX(), photo.midY()});
    EXPECT_THAT(log->events, testing::ElementsAre("clicked 拍照", "did 1")) << c.what;
    EXPECT_FALSE(sheet->isVisible());
  }
  pf::Screen::configure(pf::Screen::Profile::Phone);
}

}  // namespace
