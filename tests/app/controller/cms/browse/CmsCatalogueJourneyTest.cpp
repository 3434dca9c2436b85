// The catalogue tab against the stand-in: its total in the title, paging to the end, a failed page
// asked again, the catalogue's open rule, and the categories button while offline.

#include <gtest/gtest.h>

#include "app/controller/cms/CmsAllCell.h"
#include "app/controller/cms/CmsDetailViewController.h"
#include "app/components/meter/ShapeMeterView.h"
#include "app/controller/cmn/TableFooterView.h"
#include "core/db/VelkDBHelper.h"
#include "platform/ui/ImageView.h"
#include "tools/devserver/Answers.h"
#include "tests/app/controller/cms/browse/CmsBrowseJourneyTest.h"

namespace cms_catalogue_journey_test {

class CmsCatalogueJourneyTest : public CmsBrowseJourneyTest {
 protected:
  void loadNextPage() {
    ASSERT_TRUE(allList()->loadMore());
    waitForList(allList());
  }
  bool endLabelShown() {
    auto footer = std::dynamic_pointer_cast<TableFooterView>(allList()->tableView()->tableFooterView());
    return footer && footer->infoLabel && !footer->infoLabel->isHidden();
  }
};

// Faults caught: a total missing from the title or changed by a load-more, a skipped or repeated page,
// no end label after the last page, a failed page that moves the next ask one page on.
TEST_F(CmsCatalogueJourneyTest, PagesTheGeneratedCatalogueToItsEndAndRetriesAFailedPage) {
  serveGeneratedCatalogue(45, 25, "沟通");
  ASSERT_TRUE(signIn());
  pickTab(0);
  EXPECT_EQ(titleOf(*cms->allCourseViewController), "全部课程(45)");
  EXPECT_EQ(allList()->resourceArr->size(), 20u);
  EXPECT_FALSE(endLabelShown());

  server->planFaults(kCataloguePath, {devserver::answers::text(500, "down")});
  loadNextPage();
  EXPECT_TRUE(waitForBox(CmsAllTableViewController::kLoadFailed));
  EXPECT_EQ(allList()->resourceArr->size(), 20u);
  loadNextPage();
  ASSERT_EQ(allList()->resourceArr->size(), 40u);
  EXPECT_EQ((*allList()->resourceArr)[20]->id, "GEN-20") << "the failed page is asked again, not skipped";
  EXPECT_EQ(server->calls(kCataloguePath).back().parameters.count("page"), 1u);
  loadNextPage();
  EXPECT_EQ(allList()->resourceArr->size(), 45u);
  EXPECT_FALSE(allList()->canLoadMore());
  EXPECT_TRUE(endLabelShown());
  EXPECT_EQ(titleOf(*cms->allCourseViewController), "全部课程(45)") << "load-more leaves the title";
}

// The demo catalogue spans two pages. Faults caught: a catalogue row without stars or score, a course
// without cover showing nothing.
TEST_F(CmsCatalogueJourneyTest, TheDemoCatalogueFillsMoreThanAPageWithRatedRows) {
  ASSERT_TRUE(signIn());
  pickTab(0);
  EXPECT_EQ(titleOf(*cms->allCourseViewController), "全部课程(23)");
  EXPECT_TRUE(allList()->canLoadMore());
  auto cell = std::dynamic_pointer_cast<CmsAllCell>(ViewUtil::viewFromNib(CmsAllCell::kClassName, allList()));
  ASSERT_TRUE(cell);
  cell->commonInit();
  CourseViewInfo course;
  course.avgPoint = 3.56f;
  cell->fillWithCourse(course);
  EXPECT_EQ(cell->scoreLabel.lock()->text(), "3.5");
  EXPECT_FLOAT_EQ(cell->starView.lock()->progress(), 3.56f / 5);
  EXPECT_EQ(cell->starView.lock()->meterType(), 2);
  EXPECT_EQ(cell->courseImage.lock()->image(),
            pf::Image::named(CmsCourseCell::kPlaceholderImage, pf::Screen::mainScreen().scale()));
}

// Faults caught: a desktop course reaching the server, a refused course opened, a selected course
// opened without the learner's copy, a course without units opened, the side menu left unlocked.
TEST_F(CmsCatalogueJourneyTest, TheCataloguesOpenRule) {
  ASSERT_TRUE(signIn());
  pickTab(0);
  allList()->loadMore();
  waitForList(allList());
  const size_t purview = callsTo(kPurviewPath);

  // The server leaves desktop courses out of the catalogue; a row of one still never reaches it.
  auto desktop = std::make_shared<CourseViewInfo>(*(*allList()->resourceArr)[0]);
  desktop->id = "CRS-008";
  desktop->courseStandard = "DOWNLOAD";
  allList()->resourceArr->insert(allList()->resourceArr->begin(), desktop);
  allList()->tableView()->reloadData();
  openCourse(allList(), "CRS-008");
  EXPECT_TRUE(waitForBox(CmsCourseTableViewController::kNotForMobile));
  EXPECT_EQ(callsTo(kPurviewPath), purview);

  openCourse(allList(), "CRS-005");  // OLINEURL without units
  EXPECT_TRUE(waitForBox(CmsCourseTableViewController::kNotForMobile));
  EXPECT_EQ(tabStack(0)->viewControllers().size(), 1u);

  openCourse(allList(), "CRS-018");  // refused by the server, but not selected: no check
  settle();
  EXPECT_EQ(callsTo(kPurviewPath), purview) << "only a selected course is checked";
  ASSERT_TRUE(std::dynamic_pointer_cast<CmsDetailViewController>(tabStack(0)->topViewController()));
  EXPECT_FALSE(deck()->isEnabled());
  tabStack(0)->popViewControllerAnimated(false);
  settle();
  EXPECT_TRUE(deck()->isEnabled());

  openCourse(allList(), "CRS-004");  // selected: the learner's copy, after the check
  settle();
  EXPECT_EQ(callsTo(kPurviewPath), purview + 1);
  auto detail = std::dynamic_pointer_cast<CmsDetailViewController>(tabStack(0)->topViewController());
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->viewType, CmsDetailViewController::kViewTypeCatalogue);
  EXPECT_EQ(detail->courseViewInfo()->obtainedWay, "SELF") << "the learner's own copy";
  tabStack(0)->popViewControllerAnimated(false);
  settle();

  setOnline(false);
  openCourse(allList(), "CRS-004");
  settle();
  EXPECT_EQ(callsTo(kPurviewPath), purview + 1) << "offline the check is skipped";
  EXPECT_TRUE(std::dynamic_pointer_cast<CmsDetailViewController>(tabStack(0)->topViewController()));
}

// Faults caught: a refused selected course opened; the units of a selected course missing from the
// device yet opened.
TEST_F(CmsCatalogueJourneyTest, ARefusedOrUnitlessSelectedCourseStaysClosed) {
  ASSERT_TRUE(signIn());
  pickTab(0);
  server->planFaults(kPurviewPath, {devserver::answers::text(200, "false")});
  openCourse(allList(), "CRS-001");
  EXPECT_TRUE(waitForBox(CmsCourseTableViewController::kRestricted));
  EXPECT_EQ(tabStack(0)->viewControllers().size(), 1u);

  VelkDBHelper::instance()->executeUpdate("delete from course_sco where course_id = ?", {pf::Value("CRS-001")});
  server->planFaults("/v1/lcms/courseinfo/getCourseScoList", {devserver::answers::text(500, "down")});
  openCourse(allList(), "CRS-001");
  EXPECT_TRUE(waitForBox(CmsCourseTableViewController::kNoUnits));
  EXPECT_EQ(tabStack(0)->viewControllers().size(), 1u);
}

// Faults caught: the categories pushed while offline, or without the side menu locked.
TEST_F(CmsCatalogueJourneyTest, CategoriesOnlyOnline) {
  ASSERT_TRUE(signIn());
  pickTab(0);
  setOnline(false);
  cms->allCourseViewController->rightBtnPressed();
  EXPECT_TRUE(waitForBox(CmsCourseTableViewController::kOffline));
  EXPECT_EQ(tabStack(0)->viewControllers().size(), 1u);
  setOnline(true);
  cms->allCourseViewController->rightBtnPressed();
  settle();
  EXPECT_EQ(tabStack(0)->topViewController()->className(), "CmsCategoryViewController");
  EXPECT_FALSE(deck()->isEnabled());
}

}  // namespace cms_catalogue_journey_test
