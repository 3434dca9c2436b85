// The search tab: the history the search service keeps (one row per text, newest first, ten at most),
// a history row searching again, remote results online and the learner's own courses offline with
// their local pages, and the keyboard bar that only a phone gets.

#include <gtest/gtest.h>

#include "app/controller/cms/CmsSearchResultTableViewController.h"
#include "app/model/cms/CmsSearchInfo.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Toolbar.h"
#include "tests/app/controller/cms/browse/CmsBrowseJourneyTest.h"

namespace cms_search_journey_test {

class CmsSearchJourneyTest : public CmsBrowseJourneyTest {
 protected:
  explicit CmsSearchJourneyTest(pf::Screen::Profile profile = pf::Screen::Profile::Phone)
      : CmsBrowseJourneyTest(profile) {}

  std::shared_ptr<CmsSearchViewController> search() const { return cms->searchCourseViewController; }
  std::shared_ptr<CmsSearchResultTableViewController> results() const {
    return search()->searchResultTableViewController.lock();
  }
  void searchFor(const std::string& text) {
    search()->mainSearchBar.lock()->setText(text);
    search()->searchBarSearchButtonClicked(*search()->mainSearchBar.lock());
    waitForList(results());
  }
  std::vector<std::string> history() const {
    std::vector<std::string> texts;
    for (const auto& info : search()->searchArr) texts.push_back(info->title.value_or(""));
    return texts;
  }
  // Advances the clock so each search is recorded at a later time.
  void tick() { loop->runUntil(pf::Clock::now() + 1.5); }
};

// Faults caught: a repeated text recorded twice or left in its old place, an eleventh text kept
// beside the ten, a history row that does not search again.
TEST_F(CmsSearchJourneyTest, HistoryKeepsTenDistinctTextsNewestFirst) {
  ASSERT_TRUE(signIn());
  pickTab(2);
  searchFor("沟通");
  tick();
  searchFor("管理");
  tick();
  searchFor("沟通");
  search()->searchBarTextDidBeginEditing(*search()->mainSearchBar.lock());
  EXPECT_EQ(history(), (std::vector<std::string>{"沟通", "管理"}));
  EXPECT_FALSE(search()->showsResults());

  for (int i = 0; i < 9; ++i) {
    tick();
    searchFor("词" + std::to_string(i));
  }
  search()->searchBarTextDidBeginEditing(*search()->mainSearchBar.lock());
  const std::vector<std::string> ten = history();
  ASSERT_EQ(ten.size(), 10u);
  EXPECT_EQ(ten.front(), "词8");
  EXPECT_EQ(std::count(ten.begin(), ten.end(), "管理"), 0) << "the oldest went";
  EXPECT_EQ(std::count(ten.begin(), ten.end(), "沟通"), 1);

  tick();
  const long row = std::find(ten.begin(), ten.end(), "沟通") - ten.begin();
  search()->didSelectRowAtIndexPath(*search()->tableView.lock(), pf::IndexPath::forRow(row, 0));
  waitForList(results());
  EXPECT_EQ(search()->mainSearchBar.lock()->text(), "沟通");
  EXPECT_TRUE(search()->showsResults());
  EXPECT_EQ(results()->searchKey, "沟通");
  EXPECT_FALSE(results()->isLocalResource);
  EXPECT_EQ(idsOf(*results()), (std::vector<std::string>{"CRS-001", "CRS-010"}));
  search()->searchBarTextDidBeginEditing(*search()->mainSearchBar.lock());
  EXPECT_EQ(history().front(), "沟通");
}

// Faults caught: an offline search that asks the server, stops at the first twenty or asks a page
// twice or skips one.
TEST_F(CmsSearchJourneyTest, OfflineSearchesOwnCoursesPageByPage) {
  serveGeneratedCatalogue(45, 25, "沟通");
  ASSERT_TRUE(signIn());
  pickTab(2);
  setOnline(false);
  const size_t remote = callsTo("/v1/lcms/courseinfo/loadCourseInfoList");
  searchFor("沟通");
  EXPECT_TRUE(results()->isLocalResource);
  EXPECT_EQ(results()->resourceArr->size(), 20u);
  EXPECT_TRUE(results()->canLoadMore());
  ASSERT_TRUE(results()->loadMore());
  waitForList(results());
  EXPECT_EQ(results()->resourceArr->size(), 25u);
  std::vector<std::string> ids = idsOf(*results());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end()) << "no course twice";
  EXPECT_FALSE(results()->canLoadMore());
  EXPECT_EQ(callsTo("/v1/lcms/courseinfo/loadCourseInfoList"), remote);
}

// Faults caught: coming back from a course emptying the results or keeping the typed text.
TEST_F(CmsSearchJourneyTest, ComingBackKeepsTheResultsAndClearsTheBar) {
  ASSERT_TRUE(signIn());
  pickTab(2);
  searchFor("沟通");
  openCourse(results(), "CRS-010");
  settle();
  ASSERT_EQ(tabStack(2)->viewControllers().size(), 2u);
  EXPECT_FALSE(deck()->isEnabled());
  tabStack(2)->popViewControllerAnimated(false);
  settle();
  EXPECT_TRUE(deck()->isEnabled());
  EXPECT_EQ(search()->mainSearchBar.lock()->text(), "");
  EXPECT_TRUE(search()->showsResults());
  EXPECT_EQ(results()->resourceArr->size(), 2u);
}

std::shared_ptr<pf::Toolbar> keyboardBar(CmsSearchViewController& screen) {
  return std::dynamic_pointer_cast<pf::Toolbar>(screen.mainSearchBar.lock()->textField()->inputAccessoryView());
}

// Faults caught: the phone's field without its "隐藏键盘" bar, or a bar that does not hide the keyboard.
TEST_F(CmsSearchJourneyTest, APhoneKeyboardHasAHideBar) {
  ASSERT_TRUE(signIn());
  pickTab(2);
  auto bar = keyboardBar(*search());
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->items().size(), 2u);
  EXPECT_EQ(bar->items()[1]->title(), "隐藏键盘");
  EXPECT_EQ(bar->frame().height(), 30);
}

class CmsSearchTabletTest : public CmsSearchJourneyTest {
 protected:
  CmsSearchTabletTest() : CmsSearchJourneyTest(pf::Screen::Profile::Tablet) {}
};

// Faults caught: the phone-only bar on a tablet keyboard.
TEST_F(CmsSearchTabletTest, ATabletKeyboardHasNoHideBar) {
  ASSERT_TRUE(signIn());
  pickTab(2);
  EXPECT_FALSE(keyboardBar(*search()));
}

}  // namespace cms_search_journey_test
