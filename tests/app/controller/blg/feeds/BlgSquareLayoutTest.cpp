// Where the square's two lists lie on the phone and the tablet: below the search field and the
// segments and above the tab bar, when the tab first shows, after the people segment is chosen and
// after coming back from another tab; and the field drawn, not covered by rows.

#include <gtest/gtest.h>

#include "app/controller/blg/SearchBlogViewController.h"
#include "app/controller/blg/SearchPeopleViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "tests/app/controller/blg/feeds/BlgFeedJourneyTest.h"

namespace blg_square_layout_test {

class BlgSquareLayoutTest : public BlgFeedJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  BlgSquareLayoutTest() : BlgFeedJourneyTest(GetParam()) {}

  std::shared_ptr<BlgSquareViewController> square() const { return blgRoot->blgSquareViewController; }

  void expectListsBelowTheControls(const std::string& when) {
    const pf::Rect field = inWindow(square()->searchTextField.lock());
    const pf::Rect segments = inWindow(square()->leftBtn.lock()).unionWith(inWindow(square()->rightBtn.lock()));
    const pf::Rect tabBar = inWindow(blgRoot->tabBarController->tabBar());
    const double width = pf::Screen::mainScreen().bounds().width();
    for (const auto& list : {square()->searchBlgTableViewController.lock()->view(),
                             square()->searchPeopleTableViewController.lock()->view()}) {
      const pf::Rect place = inWindow(list);
      EXPECT_GE(place.minY(), field.maxY()) << when << ": the list covers the search field";
      EXPECT_GE(place.minY(), segments.maxY() - 0.5) << when << ": the list covers the segments";
      EXPECT_LE(place.maxY(), tabBar.minY() + 0.5) << when << ": the list runs under the tab bar";
      EXPECT_GT(place.height(), tabBar.minY() - segments.maxY() - 20) << when << ": the list leaves a gap";
      EXPECT_NEAR(place.width(), width, 0.5) << when;
    }
  }

  // The field's right end shows its white background, not a row drawn over it.
  void expectFieldDrawn(const std::string& when) {
    pf::HeadlessHost host(window);
    host.render();
    keepSnapshot(host, "blg_square_layout" + suffix());
    const pf::Rect field = inWindow(square()->searchTextField.lock());
    EXPECT_TRUE(pixelNear(host.pixelAt({field.maxX() - 4, field.midY()}), 255, 255, 255, 8)) << when;
  }
};

// Faults caught: lists laid over the search field and the segments (placed from the interface
// file's frames before the screen has its size, or resized from the top), lists running under the
// tab bar, a people list that is placed only while hidden.
TEST_P(BlgSquareLayoutTest, TheListsLieBetweenTheSegmentsAndTheTabBar) {
  openModule();
  selectTab(1);
  waitForList(*square()->searchBlgTableViewController.lock());
  expectListsBelowTheControls("first shown");
  expectFieldDrawn("first shown");

  square()->searchPeopleBtnPressed();
  waitForList(*square()->searchPeopleTableViewController.lock());
  expectListsBelowTheControls("people chosen");

  selectTab(0);
  selectTab(1);
  expectListsBelowTheControls("back from the home tab");
  expectFieldDrawn("back from the home tab");
}

INSTANTIATE_TEST_SUITE_P(Profiles, BlgSquareLayoutTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace blg_square_layout_test
