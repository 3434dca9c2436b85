// The learner's own courses against the demo stand-in: the module opens on them, they synchronise
// once per sign-in and on every pull, the rows show progress, and a course opens into its detail by
// the learner's rule while the side menu stays locked.

#include <gtest/gtest.h>

#include <thread>

#include "app/controller/cms/CmsDetailViewController.h"
#include "app/controller/cms/CmsMyCell.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseSyncService.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/RefreshControl.h"
#include "tools/devserver/Answers.h"
#include "platform/ui/TabBar.h"
#include "tests/app/controller/cms/browse/CmsBrowseJourneyTest.h"

namespace cms_my_courses_journey_test {

class CmsMyCoursesJourneyTest : public CmsBrowseJourneyTest {};

// Faults caught: a sync on every appearance (or none at all), the module opening on another tab, the
// catalogue not loading until its tab is shown, a title without the count.
TEST_F(CmsMyCoursesJourneyTest, OpensOnMyCoursesSyncedOnceAndNotAgainOnReturn) {
  ASSERT_TRUE(signIn());
  EXPECT_EQ(cms->tabBarCon->selectedIndex(), 1u);
  EXPECT_EQ(cms->currentItem, 1u);
  EXPECT_EQ(callsTo(kSyncCoursePath), 1u);
  EXPECT_EQ(callsTo(kSyncRecordPath), 1u);
  EXPECT_GE(callsTo(kCataloguePath), 1u) << "the catalogue tab loads while my courses show";
  EXPECT_EQ(titleOf(*cms->myCourseViewController), "我的课程(3)");
  EXPECT_EQ(idsOf(*myList()), (std::vector<std::string>{"CRS-004", "CRS-001", "CRS-007"}));

  pickTab(0);
  EXPECT_EQ(cms->currentItem, 0u);
  pickTab(1);
  waitForList(myList());
  EXPECT_EQ(callsTo(kSyncCoursePath), 1u) << "coming back reads the local rows only";
  EXPECT_EQ(titleOf(*cms->myCourseViewController), "我的课程(3)");

  myList()->refreshData();
  waitForList(myList());
  EXPECT_EQ(callsTo(kSyncCoursePath), 2u) << "a pull synchronises";
  EXPECT_EQ(callsTo(kSyncRecordPath), 2u);
}

// Faults caught: the tab bar or the shown tab's first screen still taking touches under the open
// menu, or staying dead after it closed; the menu opening by a drag over an opened course.
TEST_F(CmsMyCoursesJourneyTest, TheMenuMakesTheTabsInertAndAnOpenCourseLocksIt) {
  ASSERT_TRUE(signIn());
  deck()->openLeftView(false);
  settle();
  EXPECT_FALSE(cms->tabBarCon->tabBar()->isUserInteractionEnabled());
  EXPECT_FALSE(cms->myCourseViewController->view()->isUserInteractionEnabled());
  EXPECT_TRUE(cms->allCourseViewController->view()->isUserInteractionEnabled()) << "only the shown tab";
  deck()->closeLeftView(false);
  settle();
  EXPECT_TRUE(cms->tabBarCon->tabBar()->isUserInteractionEnabled());
  EXPECT_TRUE(cms->myCourseViewController->view()->isUserInteractionEnabled());

  openCourse(myList(), "CRS-001");
  settle();
  auto detail = std::dynamic_pointer_cast<CmsDetailViewController>(tabStack(1)->topViewController());
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->viewType, CmsDetailViewController::kViewTypeMyCourses);
  EXPECT_TRUE(detail->hidesBottomBarWhenPushed());
  EXPECT_FALSE(detail->courseViewInfo()->scoInfoList.empty());
  EXPECT_FALSE(deck()->isEnabled());
  pf::HeadlessHost(window).drag({{2, 240}, {60, 240}, {200, 240}}, 0.3);
  settle();
  EXPECT_FALSE(deck()->isSideOpen(DeckSideLeft)) << "an edge drag over the course";

  tabStack(1)->popViewControllerAnimated(false);
  settle();
  EXPECT_TRUE(deck()->isEnabled()) << "back on the tab's first screen";
}

// Faults caught: a refused course opened, the permission asked of a course that never opens on a
// phone, the permission asked offline, a course without units opened.
TEST_F(CmsMyCoursesJourneyTest, TheLearnersOpenRule) {
  ASSERT_TRUE(signIn());
  const size_t purviewCalls = callsTo(kPurviewPath);
  openCourse(myList(), "CRS-007");  // SCORM12
  EXPECT_TRUE(waitForBox(CmsCourseTableViewController::kNotForMobile));
  EXPECT_EQ(callsTo(kPurviewPath), purviewCalls) << "a desktop course never reaches the check";
  EXPECT_EQ(tabStack(1)->viewControllers().size(), 1u);

  setOnline(false);
  openCourse(myList(), "CRS-004");
  settle();
  EXPECT_EQ(callsTo(kPurviewPath), purviewCalls) << "offline the check is skipped";
  EXPECT_TRUE(std::dynamic_pointer_cast<CmsDetailViewController>(tabStack(1)->topViewController()));
  EXPECT_EQ(idsOf(*myList()).front(), "CRS-004");
}

// Faults caught: an offline pull leaving the spinner on or an offline sign-in showing nothing, and a
// failed sync hiding the local rows or showing no message.
TEST_F(CmsMyCoursesJourneyTest, OfflineAndFailedSyncsStillShowTheLocalRows) {
  ASSERT_TRUE(signIn());
  setOnline(false);
  myList()->resourceArr.reset();
  myList()->refreshData();
  EXPECT_TRUE(waitForBox(CmsCourseTableViewController::kOffline));
  EXPECT_FALSE(myList()->isRefreshing());
  EXPECT_EQ(idsOf(*myList()).size(), 3u) << "read from the device";

  setOnline(true);
  server->planFaults(kSyncCoursePath, {devserver::answers::text(500, "down")});
  server->planFaults(kSyncRecordPath, {devserver::answers::text(500, "down")});
  myList()->refreshData();
  EXPECT_TRUE(waitForBox(CmsMyTableViewController::kSyncFailed));
  waitForList(myList());
  EXPECT_EQ(idsOf(*myList()).size(), 3u);
}

// Faults caught: a spinner that never ends when the list shows during a sync started elsewhere, and
// rows not read once that sync is over.
TEST_F(CmsMyCoursesJourneyTest, ASyncStartedElsewhereEndsTheSpinnerWhenItIsOver) {
  ASSERT_TRUE(signIn());
  pickTab(0);
  server->planFaults(kSyncCoursePath, {devserver::answers::stall(1.0)});
  std::thread elsewhere([] { CourseSyncService().syncCourseInfoAndStudyRecord(); });
  for (int i = 0; i < 200 && !CourseSyncService::isSyncCourse(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  myList()->resourceArr.reset();
  pickTab(1);
  auto spinner = myList()->refreshControl();
  ASSERT_TRUE(spinner);
  EXPECT_TRUE(spinner->isRefreshing()) << "the spinner shows while the other sync runs";
  // The other sync takes real time; the list's watch runs on the virtual clock meanwhile.
  const auto over = [&] { return !spinner->isRefreshing() && idsOf(*myList()).size() == 3; };
  for (int i = 0; i < 200 && !over(); ++i) {
    loop->runUntil(pf::Clock::now() + 0.5);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(over()) << "the spinner ends and the rows are read once the sync is over";
  elsewhere.join();
}

// Faults caught: rounding where digits are cut, the completed mark at exactly 99, a reused row
// keeping the last cover, lecturer or tag.
TEST_F(CmsMyCoursesJourneyTest, RowsShowProgressMarkLecturerAndTag) {
  auto cell = std::dynamic_pointer_cast<CmsMyCell>(ViewUtil::viewFromNibOfClass(CmsMyCell::kClassName));
  ASSERT_TRUE(cell);
  struct Case {
    float rate;
    const char* shown;
    bool marked;
  };
  const Case cases[] = {{85.5f, "85.50%", false}, {99.5f, "99.50%", true}, {99, "99.00%", false}, {100, "100.00%", true}};
  CourseViewInfo course;
  course.courseTitle = "标题";
  course.coursePeriod = 2.96;
  course.score = 1.05;
  course.teacher = "王晓明";
  course.courseStudyType = "MUST";
  course.coverPath = server->url("/media/cms/cover/CRS-001.png");
  for (const auto& c : cases) {
    course.studyRate = c.rate;
    cell->fillWithCourse(course);
    EXPECT_EQ(cell->scheduleLabel.lock()->text(), c.shown);
    EXPECT_EQ(!cell->completeImgView.lock()->isHidden(), c.marked) << c.rate;
  }
  EXPECT_EQ(cell->periodLabel.lock()->text(), "2.9小时");
  EXPECT_EQ(cell->gradeLabel.lock()->text(), "1.0学分");
  EXPECT_EQ(cell->learningTypeLabel.lock()->text(), "必修");
  EXPECT_FALSE(cell->learningTypeImageView.lock()->isHidden());
  const double shownX = cell->categoryTitle.lock()->frame().minX();

  course.teacher = "";
  course.coverPath.reset();
  course.courseStudyType = "OTHER";
  cell->fillWithCourse(course);
  EXPECT_EQ(cell->teacherLabel.lock()->text(), "暂无");
  EXPECT_TRUE(cell->learningTypeImageView.lock()->isHidden());
  EXPECT_EQ(cell->categoryTitle.lock()->frame().minX(), cell->learningTypeImageView.lock()->frame().minX());
  EXPECT_LT(cell->categoryTitle.lock()->frame().minX(), shownX);
  EXPECT_EQ(cell->teacherTitle.lock()->frame().minX(), cell->categoryTitle.lock()->frame().minX());
  EXPECT_EQ(cell->categoryLabel.lock()->frame().minX(), cell->categoryTitle.lock()->frame().maxX());
  EXPECT_EQ(cell->courseImage.lock()->image(),
            pf::Image::named(CmsCourseCell::kPlaceholderImage, pf::Screen::mainScreen().scale()));
}

}  // namespace cms_my_courses_journey_test
