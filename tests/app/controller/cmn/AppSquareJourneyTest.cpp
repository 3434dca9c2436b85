// The app square of the demo stand-in's visitor (a learner with only square entries): its pages, the
// menu opened by pulling past the first page, entries that launch or offer their store page, clean
// reused cells, and its look.

#include <gtest/gtest.h>

#include "app/controller/cmn/AppPlazaViewController.h"
#include "app/model/cmn/MobileApp.h"
#include "core/db/VelkDBHelper.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "tools/devserver/demo/DemoPicture.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewCell.h"

namespace {

class AppSquareJourneyTest : public SignInJourneyTest {
 protected:
  explicit AppSquareJourneyTest(pf::Screen::Profile profile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(profile) {}

  std::shared_ptr<AppPlazaViewController> signInAsVisitor() {
    auto login = showLogin();
    fill(*login, "demo", "visitor", "visitor123");
    tapView(login->loginBtn.lock());
    return deck() ? std::dynamic_pointer_cast<AppPlazaViewController>(deck()->centerController()) : nullptr;
  }
};

// Fault caught: pages counted in integers (seven entries on one page).
TEST(AppSquarePages, PagesOfSixCountTheLastPartPage) {
  const std::pair<size_t, long> cases[] = {{0, 0}, {1, 1}, {6, 1}, {7, 2}, {12, 2}, {13, 3}};
  for (const auto& [entries, pages] : cases) EXPECT_EQ(AppPlazaViewController::pageCount(entries), pages) << entries;
}

// Faults caught: a visitor left without a centre, a square that is not the deck's delegate, a page
// control that disagrees with the entries.
TEST_F(AppSquareJourneyTest, TheVisitorLandsOnTheSquare) {
  auto square = signInAsVisitor();
  ASSERT_TRUE(square) << "the square is the visitor's first module";
  EXPECT_EQ(deck()->delegate().lock().get(), static_cast<PanelDeckControllerDelegate*>(square.get()));
  EXPECT_EQ(square->resourceArr().size(), 2u);
  EXPECT_EQ(square->pageControl.lock()->numberOfPages(), 1);
  EXPECT_TRUE(square->currentDate->text().value_or("").find("星期") != std::string::npos);
}

// Faults caught: pulling right that does not open the menu, a grid that scrolls under the open menu,
// or one that stays frozen after the menu closed.
TEST_F(AppSquareJourneyTest, PullingThePageRightOpensTheMenuAndClosingItFreesTheGrid) {
  auto square = signInAsVisitor();
  ASSERT_TRUE(square);
  const pf::Rect grid = square->gridView()->convertRectToView(square->gridView()->bounds(), nullptr);
  pf::HeadlessHost host(window);
  host.drag({{grid.minX() + 20, grid.midY()}, {grid.minX() + 120, grid.midY()}, {grid.minX() + 220, grid.midY()}});
  settle();
  EXPECT_TRUE(deck()->isSideOpen(DeckSideLeft));
  EXPECT_FALSE(square->gridView()->isScrollEnabled());
  deck()->closeLeftView(false);
  settle();
  EXPECT_TRUE(deck()->isSideClosed(DeckSideLeft));
  EXPECT_TRUE(square->gridView()->isScrollEnabled());
}

// Faults caught: a registered scheme not used, the store offered on the wrong button, the store page
// opened after "取消".
TEST_F(AppSquareJourneyTest, AnEntryLaunchesItsApplicationOrOffersTheStore) {
  auto square = signInAsVisitor();
  ASSERT_TRUE(square);
  std::vector<std::string> opened;
  auto& application = pf::Application::sharedApplication();
  const auto record = [&](const std::string& url) {
    opened.push_back(url);
    return true;
  };
  application.registerUrlHandler("marlunemail", record);
  square->didTapOnItemAtIndex(*square->gridView(), 0);
  EXPECT_EQ(opened, std::vector<std::string>{"marlunemail://:open"});

  application.removeUrlHandlers();
  application.registerUrlHandler("itms-apps", record);
  for (long button : {1L, 0L}) {
    SCOPED_TRACE(button);
    opened.clear();
    std::optional<std::string> message;
    pf::DispatchQueue::main()->after(0.5, [&] {
      auto alert = pf::AlertView::visibleAlerts().back();
      message = alert->message();
      alert->dismissWithClickedButtonIndex(button, false);
    });
    square->didTapOnItemAtIndex(*square->gridView(), 0);
    EXPECT_EQ(message, "您未安装该应用，是否下载安装？");
    EXPECT_EQ(opened.size(), button == 0 ? 1u : 0u);
    if (!opened.empty()) EXPECT_NE(opened.front().find("id=100200300"), std::string::npos);
  }
}

// Faults caught: a reused cell showing the last entry's badge or pictures on top of the new ones.
TEST_F(AppSquareJourneyTest, AReusedCellShowsOnlyItsNewEntry) {
  VelkDBHelper::instance();
  auto square = signInAsVisitor();
  ASSERT_TRUE(square);
  square->resourceArr().front()->reminder = 120;
  auto& grid = *square->gridView();
  auto cell = square->cellForItemAtIndex(grid, 0);
  auto labels = [](const GridViewCell& c) {
    std::vector<std::string> texts;
    for (const auto& view : c.contentView()->subviews())
      if (auto label = std::dynamic_pointer_cast<pf::Label>(view); label && !label->isHidden())
        texts.push_back(label->text().value_or(""));
    return texts;
  };
  EXPECT_EQ(labels(*cell), (std::vector<std::string>{"企业邮箱", "99+"}));
  grid.queueReusableCell(cell);
  auto reused = square->cellForItemAtIndex(grid, 1);
  ASSERT_EQ(reused, cell);
  EXPECT_EQ(labels(*reused), std::vector<std::string>{"公司新闻"});
  EXPECT_EQ(reused->contentView()->subviews().size(), 4u);
}

class AppSquareSnapshotTest : public AppSquareJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  AppSquareSnapshotTest() : AppSquareJourneyTest(GetParam()) {}
};

TEST_P(AppSquareSnapshotTest, TheSquareShowsItsHeaderAndEntries) {
  auto square = signInAsVisitor();
  ASSERT_TRUE(square);
  settle();
  auto first = square->gridView()->cellForItemAtIndex(0);
  ASSERT_TRUE(first);
  const auto iconView = std::dynamic_pointer_cast<pf::ImageView>(first->contentView()->subviews().front());
  ASSERT_TRUE(iconView);
  const auto placeholderIcon = pf::Image::named("CMN_NAVI_default_n.png", pf::Screen::mainScreen().scale());
  loop->runUntilTrue([&] { return iconView->image() != placeholderIcon; }, 10);
  settle();
  pf::HeadlessHost host(window);
  host.render();
  const bool tablet = GetParam() != pf::Screen::Profile::Phone;
  writeSnapshot(host, tablet ? "square-tablet.png" : "square-phone.png");
  const pf::Rect header = square->imgView.lock()->convertRectToView(square->imgView.lock()->bounds(), nullptr);
  const pf::Pixel band = host.pixelAt({header.maxX() - 10, header.midY()});
  EXPECT_GT(band.blue, band.red + 60) << "the blue header band";
  // The entry's own icon, downloaded from the stand-in in place of the grey placeholder.
  const pf::Rect icon = first->convertRectToView(first->contentView()->subviews().front()->frame(), nullptr);
  const pf::Pixel shown = host.pixelAt({icon.minX() + icon.width() * 0.2, icon.midY()});
  const auto expected = devserver::DemoPicture::colour("app-corp_mail");
  EXPECT_NEAR(shown.red, expected[0], 3);
  EXPECT_NEAR(shown.green, expected[1], 3);
  EXPECT_NEAR(shown.blue, expected[2], 3);
}

INSTANTIATE_TEST_SUITE_P(Profiles, AppSquareSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace
