// The study and brief tabs against the demo stand-in: unit progress by the course standard, marks and
// icons, the information row's texts, the prompt over a course not selected, and the description
// with its no-description view.

#include <gtest/gtest.h>

#include "app/controller/cms/CmsBaseInfoCell.h"
#include "app/controller/cms/CmsBriefCell.h"
#include "app/controller/cms/CmsCourseUnSelectedPromptView.h"
#include "app/controller/cms/CmsStudySelCosCell.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/app/controller/cms/detail/CmsDetailJourneyTest.h"

namespace cms_study_tab_test {

std::shared_ptr<CmsStudySelCosCell> unitCell() {
  return std::dynamic_pointer_cast<CmsStudySelCosCell>(ViewUtil::viewFromNibOfClass(CmsStudySelCosCell::kClassName));
}

ScoViewInfo unitAt(long long minStudy, int total, int position, bool complete = false) {
  ScoViewInfo unit;
  unit.minStudyTime = minStudy;
  unit.totalTime = total;
  unit.currentPosition = position;
  unit.studyComplete = complete;
  unit.studyRate = 7;
  return unit;
}

}  // namespace cms_study_tab_test

using namespace cms_study_tab_test;

class CmsStudyTabJourneyTest : public CmsDetailJourneyTest {};

// Faults caught: the wrong reference time for two-screen courses, a rate overwritten when there is
// none, and the 32-bit product that turns positions past 5.9 hours negative.
TEST(CmsStudyUnitProgress, FollowsTheReferenceTimeOfTheStandard) {
  struct Case {
    const char* standard;
    long long minStudy;
    int total;
    int position;
    float progress;
    float rate;
  };
  const Case cases[] = {{"TWOSCREEN", 300000, 600000, 150000, 50.0f, 50.0f},
                        {"TWOSCREEN", 300000, 0, 150000, 50.0f, 50.0f},
                        {"THREESCREEN", 300000, 600000, 150000, 25.0f, 25.0f},
                        {"THREESCREEN", 0, 0, 90000, -90000.0f, 7.0f},
                        {"THREESCREEN", 0, 30000000, 25000000, 83.333336f, 83.333336f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.standard) + " " + std::to_string(c.position));
    ScoViewInfo unit = unitAt(c.minStudy, c.total, c.position);
    EXPECT_FLOAT_EQ(CmsStudySelCosCell::progressOfUnit(unit, std::string(c.standard)), c.progress);
    EXPECT_FLOAT_EQ(unit.studyRate, c.rate);
  }
}

// Faults caught: a bar shown without progress or for a finished unit, the wrong play icon, a reused
// row keeping the last unit's layout.
TEST_F(CmsStudyTabJourneyTest, AUnitRowShowsItsProgressBarIconAndNamePlace) {
  auto cell = unitCell();
  ASSERT_TRUE(cell);
  auto bar = cell->studyProgress.lock();
  auto name = cell->scoNameLabel.lock();
  const double nameY = name->frame().minY();

  cell->setProgress(50);
  cell->setStudyComplete(false);
  cell->setCellType(std::string("TWOSCREEN"));
  EXPECT_FALSE(bar->isHidden());
  EXPECT_FLOAT_EQ(bar->progress(), 0.5f);
  EXPECT_TRUE(cell->progressValueLable.lock()->isHidden());

  cell->setProgress(-90000);
  EXPECT_TRUE(bar->isHidden()) << "no reference time: no bar";

  cell->setProgress(100);
  cell->setStudyComplete(true);
  cell->setCellType(std::string("THREESCREEN"));
  EXPECT_TRUE(bar->isHidden());
  EXPECT_EQ(cell->playIcon.lock()->image(), pf::Image::named("CMS_VIEW_studyDone.png", pf::Screen::mainScreen().scale()));

  cell->setCellType(std::string("SCORM12"));
  EXPECT_TRUE(cell->studyProgressPromptLabel.lock()->isHidden());
  EXPECT_DOUBLE_EQ(name->frame().minY(), 16 * pf::Screen::mainScreen().bounds().height() / 480);
  cell->setCellType(std::string("THREESCREEN"));
  EXPECT_DOUBLE_EQ(name->frame().minY(), nameY) << "a reused row takes its own place back";
  EXPECT_FALSE(cell->studyProgressPromptLabel.lock()->isHidden());

  cell->setHasDownloaded(false);
  EXPECT_TRUE(cell->downloadStatusView.lock()->isHidden());
  cell->setHasDownloaded(true);
  EXPECT_EQ(cell->downState.lock()->text(), "已下载");
}

// Faults caught: an unknown completion code keeping the condition of the course shown before; the
// type badge and the labels after it out of step.
TEST_F(CmsStudyTabJourneyTest, TheInformationRowClearsUnknownConditionsAndPlacesTheBadge) {
  auto cell = std::dynamic_pointer_cast<CmsBaseInfoCell>(ViewUtil::viewFromNibOfClass(CmsBaseInfoCell::kClassName));
  ASSERT_TRUE(cell);
  auto condition = cell->graduateConditionLabel.lock();
  cell->setGraduateCondition(std::string("COURSE_EXAM"));
  EXPECT_EQ(condition->text(), "结业条件：课程考试");
  cell->setGraduateCondition(std::string("看完视频"));
  EXPECT_EQ(condition->text(), "");
  cell->setGraduateCondition(std::nullopt);
  EXPECT_EQ(condition->text(), "");

  auto type = cell->courseStudyTypeLabel.lock();
  cell->setCourseStudyType(std::string("MUST"));
  EXPECT_EQ(type->text(), "必修");
  EXPECT_FALSE(cell->courseTypeBgImgView.lock()->isHidden());
  EXPECT_DOUBLE_EQ(cell->courseCatagoryLabel.lock()->frame().minX(), type->frame().maxX() + 5);
  cell->setCourseStudyType(std::string("OTHER"));
  EXPECT_TRUE(type->isHidden());
  EXPECT_TRUE(cell->courseTypeBgImgView.lock()->isHidden());
  EXPECT_DOUBLE_EQ(cell->lecturerLabel.lock()->frame().minX(), type->frame().minX());
}

// Faults caught: the study tab's information row with the brief's texts, and the progress line
// missing for a selected course.
TEST_F(CmsStudyTabJourneyTest, TheStudyRowShowsHoursCreditsAndProgress) {
  auto detail = openDetail("CRS-004", CmsDetailViewController::kViewTypeMyCourses);
  auto row = std::dynamic_pointer_cast<CmsBaseInfoCell>(
      detail->studyTab()->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(row);
  EXPECT_EQ(row->studyTimeLabel.lock()->text().value_or("").rfind("学时：", 0), 0u);
  EXPECT_EQ(row->graduateConditionLabel.lock()->text(), "学习进度: 40.0%");
  pickTab(*detail, 1);
  row = std::dynamic_pointer_cast<CmsBaseInfoCell>(
      detail->briefTab()->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(row);
  EXPECT_EQ(row->studyTimeLabel.lock()->text().value_or("").rfind("学时: ", 0), 0u);
}

// Faults caught: a tap on a course not selected opening the player instead of the prompt; a touch
// on the select button's place not selecting; a prompt left on the window.
TEST_F(CmsStudyTabJourneyTest, APromptOverACourseNotSelectedSelectsOrCloses) {
  auto detail = openDetail("CRS-002");
  auto study = detail->studyTab();
  tapRow(*study->tableView(), 1);
  settleDetail(0.5);
  auto prompt = study->unSelectPromptVC;
  ASSERT_TRUE(prompt);
  EXPECT_EQ(prompt->superview(), window);
  EXPECT_EQ(root->topViewController(), detail);
  {
    pf::HeadlessHost host(window);
    host.render();
    writeSnapshot(host, "cms_detail_prompt_phone.png");
  }

  pf::HeadlessHost(window).tap({20, 300});
  settleDetail(0.5);
  EXPECT_FALSE(prompt->superview()) << "a touch elsewhere closes";
  EXPECT_EQ(callsTo(kSelectPath), 0u);

  tapRow(*study->tableView(), 2);
  settleDetail(0.5);
  prompt = study->unSelectPromptVC;
  ASSERT_TRUE(prompt);
  const pf::Rect place = prompt->convertRectToView(prompt->actionRect(), nullptr);
  pf::HeadlessHost(window).tap({place.midX(), place.midY()});
  loop->runUntilTrue([&] { return detail->courseViewInfo()->selected; }, 20);
  settleDetail();
  EXPECT_FALSE(prompt->superview());
  EXPECT_EQ(callsTo(kSelectPath), 1u);
  EXPECT_EQ(rightTitle(*detail), CmsDetailViewController::kRemoveText);
}

// Faults caught: a unit tap of a selected course pushing nothing or another unit.
TEST_F(CmsStudyTabJourneyTest, AUnitTapOfASelectedCourseOpensItsPlayer) {
  auto detail = openDetail("CRS-004", CmsDetailViewController::kViewTypeMyCourses);
  auto study = detail->studyTab();
  std::shared_ptr<ScoViewInfo> opened;
  study->makePlayer = [&](const std::shared_ptr<CourseViewInfo>&, const std::shared_ptr<ScoViewInfo>& unit) {
    opened = unit;
    return std::make_shared<pf::ViewController>();
  };
  ASSERT_GE(detail->courseViewInfo()->scoInfoList.size(), 1u);
  tapRow(*study->tableView(), 0);
  settleDetail(0.5);
  EXPECT_FALSE(opened) << "the information row opens nothing";
  tapRow(*study->tableView(), 1);
  settleDetail(0.5);
  EXPECT_EQ(opened, detail->courseViewInfo()->scoInfoList.front());
  EXPECT_NE(root->topViewController(), detail);
}

// Faults caught: a course without description showing an empty page instead of its view; markup
// characters of a description read as markup; missing sections not marked " 无".
TEST_F(CmsStudyTabJourneyTest, TheBriefShowsItsSectionsOrTheNoDescriptionView) {
  struct Case {
    const char* course;
    bool described;
    size_t none;
  };
  const Case cases[] = {{"CRS-005", false, 0}, {"CRS-003", true, 4}, {"CRS-002", true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.course);
    auto detail = openDetail(c.course);
    pickTab(*detail, 1);
    auto brief = detail->briefTab();
    loop->runUntilTrue([&] { return brief->pendingBriefReads() == 0; }, 20);
    settleDetail(0.5);
    auto cell = std::dynamic_pointer_cast<CmsBriefCell>(brief->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(1, 0)));
    ASSERT_TRUE(cell);
    EXPECT_EQ(!cell->noResPromptView.lock()->isHidden(), !c.described);
    EXPECT_EQ(!cell->courseBriefView.lock()->isHidden(), c.described);
    if (!c.described) {
      const double top = pf::Application::kStatusBarHeight + 49 + 44 + 112;
      EXPECT_DOUBLE_EQ(*brief->heightForRowAtIndexPath(*brief->tableView(), pf::IndexPath::forRow(1, 0)),
                       pf::Screen::mainScreen().bounds().height() - top);
    } else {
      size_t none = 0;
      for (size_t at = brief->brief->find(CourseService::kEmptyBriefSection); at != std::string::npos;
           at = brief->brief->find(CourseService::kEmptyBriefSection, at + 1))
        ++none;
      EXPECT_EQ(none, c.none);
    }
    if (c.course == std::string("CRS-002")) {
      EXPECT_NE(brief->brief->find("&lt;b&gt;&amp;"), std::string::npos);
      bool shownAsText = false;
      for (const auto& block : cell->courseBriefView.lock()->blocks())
        shownAsText = shownAsText || block.text.find("<b>&") != std::string::npos;
      EXPECT_TRUE(shownAsText) << "markup characters of the course stay text";
    }
    root->popViewControllerAnimated(false);
    settleDetail(0.3);
  }
}
