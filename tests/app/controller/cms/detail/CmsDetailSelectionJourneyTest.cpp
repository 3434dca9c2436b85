// The course detail's shell against the demo stand-in: the bar each tab dresses, selecting a course
// for its study window once however often the button is tapped, removing it from the catalogue or
// from the learner's own courses, a refused removal, and a closed detail being freed.

#include <gtest/gtest.h>

#include "app/controller/cms/CmsStudySelCosCell.h"
#include "app/controller/cms/CmsStudyUnSelCell.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/controller/cms/CmsCommentReplyViewController.h"
#include "app/service/cms/OpenCourseInfoService.h"
#include "platform/foundation/Notification.h"
#include "platform/ui/Keyboard.h"
#include "tests/app/controller/cms/detail/CmsDetailJourneyTest.h"

namespace cms_detail_selection_test {

constexpr char kUnselected[] = "CRS-002";
constexpr char kAssigned[] = "CRS-001";
constexpr char kOwnChoice[] = "CRS-004";
constexpr char kNoDiscussion[] = "CRS-003";
constexpr char kRemovePath[] = "/v1/lcms/courseinfo/removeSelectedCourse";

}  // namespace cms_detail_selection_test

using namespace cms_detail_selection_test;

class CmsDetailSelectionJourneyTest : public CmsDetailJourneyTest {
 protected:
  // Selects the course through the study tab's right button.
  void select(CmsDetailViewController& detail) {
    tapRight(detail);
    loop->runUntilTrue([&] { return !detail.studyTab()->isRequestingEditSelectingCourse; }, 20);
    settleDetail(0.5);
  }
};

// Faults caught: a second tap while the selection runs sending a second request; the bar and the unit
// rows not following the selection.
TEST_F(CmsDetailSelectionJourneyTest, TwoQuickTapsSelectOnceThenOfferRemovalAndProgressRows) {
  auto detail = openDetail(kUnselected);
  EXPECT_EQ(rightTitle(*detail), CmsDetailViewController::kSelectText);
  auto study = detail->studyTab();
  ASSERT_GT(study->tableView()->numberOfRowsInSection(0), 1);
  EXPECT_TRUE(std::dynamic_pointer_cast<CmsStudyUnSelCell>(
      study->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(1, 0))));
  const size_t before = callsTo(kSelectPath);
  tapRightTwiceAtOnce(*detail);
  loop->runUntilTrue([&] { return !study->isRequestingEditSelectingCourse; }, 20);
  settleDetail();
  EXPECT_EQ(callsTo(kSelectPath) - before, 1u);
  EXPECT_TRUE(detail->courseViewInfo()->selected);
  EXPECT_EQ(rightTitle(*detail), CmsDetailViewController::kRemoveText);
  EXPECT_TRUE(std::dynamic_pointer_cast<CmsStudySelCosCell>(
      study->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(1, 0))));
}

// Faults caught: "取消" removing anyway or clearing download marks; a removal from the catalogue
// closing the detail; one from the learner's own courses leaving it open.
TEST_F(CmsDetailSelectionJourneyTest, RemovalKeepsOrClosesTheDetailByWhereItWasOpened) {
  auto detail = openDetail(kUnselected);
  select(*detail);
  ASSERT_EQ(rightTitle(*detail), CmsDetailViewController::kRemoveText);
  for (const auto& unit : detail->courseViewInfo()->scoInfoList) unit->hasDownload = true;

  alertAnswer = 1;
  tapRight(*detail);
  settleDetail();
  EXPECT_EQ(alerts.back(), CmsDetailBaseViewController::kRemoveMessage);
  EXPECT_EQ(callsTo(kRemovePath), 0u);
  EXPECT_TRUE(detail->courseViewInfo()->selected);
  EXPECT_TRUE(detail->courseViewInfo()->scoInfoList.front()->hasDownload);

  alertAnswer = 0;
  tapRight(*detail);
  loop->runUntilTrue([&] { return !detail->studyTab()->isRequestingEditSelectingCourse; }, 20);
  settleDetail();
  EXPECT_EQ(root->topViewController(), detail) << "from the catalogue the detail stays";
  EXPECT_FALSE(detail->courseViewInfo()->selected);
  EXPECT_EQ(rightTitle(*detail), CmsDetailViewController::kSelectText);
  EXPECT_FALSE(detail->courseViewInfo()->scoInfoList.front()->hasDownload);

  select(*detail);
  root->popViewControllerAnimated(false);
  settleDetail();
  auto mine = openDetail(kUnselected, CmsDetailViewController::kViewTypeMyCourses);
  ASSERT_TRUE(mine->courseViewInfo()->selected);
  tapRight(*mine);
  loop->runUntilTrue([&] { return root->topViewController() != mine; }, 20);
  settleDetail();
  EXPECT_NE(root->topViewController(), mine) << "from my courses the detail closes";
}

// Faults caught: a refused removal closing the detail or clearing the units' download marks as if it
// had succeeded.
TEST_F(CmsDetailSelectionJourneyTest, ARefusedRemovalKeepsTheDetailAndTheMarks) {
  auto detail = openDetail(kOwnChoice, CmsDetailViewController::kViewTypeMyCourses);
  ASSERT_TRUE(detail->courseViewInfo()->selected);
  ASSERT_FALSE(detail->courseViewInfo()->scoInfoList.empty());
  for (const auto& unit : detail->courseViewInfo()->scoInfoList) unit->hasDownload = true;
  ASSERT_TRUE(OpenCourseInfoService().removeSelectedCourse(std::string(kOwnChoice))) << "gone on the server";
  alertAnswer = 0;
  tapRight(*detail);
  loop->runUntilTrue([&] { return !detail->studyTab()->isRequestingEditSelectingCourse; }, 20);
  settleDetail();
  EXPECT_EQ(root->topViewController(), detail);
  EXPECT_TRUE(detail->courseViewInfo()->selected);
  EXPECT_TRUE(detail->courseViewInfo()->scoInfoList.front()->hasDownload);
  EXPECT_EQ(rightTitle(*detail), CmsDetailViewController::kRemoveText);
  EXPECT_LT(detail->studyTab()->progressHUD->alpha(), 0.05) << "the overlay hides";
}

// Faults caught: a removal offered for a course that reached the learner by assignment; a write button
// or a comment request for a course without discussion.
TEST_F(CmsDetailSelectionJourneyTest, TheBarFollowsHowTheCourseWasObtainedAndItsDiscussion) {
  struct Case {
    const char* course;
    size_t tab;
    std::optional<std::string> title;
  };
  const Case cases[] = {{kAssigned, 0, std::nullopt},
                        {kAssigned, 1, std::nullopt},
                        {kOwnChoice, 0, std::string(CmsDetailViewController::kRemoveText)},
                        {kOwnChoice, 1, std::string(CmsDetailViewController::kRemoveText)},
                        {kUnselected, 1, std::string(CmsDetailViewController::kSelectText)},
                        {kAssigned, 2, std::string("评论")},
                        {kNoDiscussion, 2, std::nullopt},
                        {kAssigned, 3, std::string("下载列表")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.course) + " tab " + std::to_string(c.tab));
    const size_t comments = callsTo(kLoadDiscussPath);
    auto detail = openDetail(c.course);
    if (c.tab != 0) pickTab(*detail, c.tab);
    EXPECT_EQ(rightTitle(*detail), c.title);
    if (c.tab == 3) EXPECT_EQ(rightItem(*detail)->badgeNumber(), 0) << "nothing downloading";
    if (c.course == std::string(kNoDiscussion)) {
      EXPECT_EQ(callsTo(kLoadDiscussPath), comments);
      EXPECT_EQ(detail->commentTab()->tableView()->numberOfRowsInSection(0), 1) << "the no-comment row";
    }
    root->popViewControllerAnimated(false);
    settleDetail(0.3);
  }
}

// Faults caught: the tabs holding the shell strongly, so every opened course stays in memory.
TEST_F(CmsDetailSelectionJourneyTest, ADetailOpenedAndClosedIsFreed) {
  std::weak_ptr<CmsDetailViewController> weak;
  std::weak_ptr<CmsStudyViewController> study;
  {
    auto detail = openDetail(kOwnChoice, CmsDetailViewController::kViewTypeMyCourses);
    pickTab(*detail, 1);
    pickTab(*detail, 2);
    pickTab(*detail, 0);
    weak = detail;
    study = detail->studyTab();
    detail->goback();
  }
  settleDetail(2);
  EXPECT_TRUE(weak.expired());
  EXPECT_TRUE(study.expired());
}

// Faults caught: a removed download clearing the marks of other units, or of none.
TEST_F(CmsDetailSelectionJourneyTest, ARemovedDownloadClearsOnlyItsUnitsMark) {
  auto detail = openDetail(kOwnChoice, CmsDetailViewController::kViewTypeMyCourses);
  auto& units = detail->courseViewInfo()->scoInfoList;
  ASSERT_GE(units.size(), 2u);
  for (const auto& unit : units) unit->hasDownload = true;
  detail->downloadHasBeenRemovedRequest(nullptr, units.front()->scoId, 0, nullptr);
  EXPECT_FALSE(units.front()->hasDownload);
  EXPECT_TRUE(units.back()->hasDownload);
  detail->downloadHasBeenRemovedRequest(nullptr, std::nullopt, 0, nullptr);
  EXPECT_TRUE(units.back()->hasDownload) << "a course-wide removal names no unit";
}

// Faults caught: the editor's text area left at the keyboard's height on a tablet after the keyboard
// hides, or grown past the screen.
class CmsDetailTabletKeyboardTest : public CmsDetailJourneyTest {
 protected:
  CmsDetailTabletKeyboardTest() : CmsDetailJourneyTest(pf::Screen::Profile::Tablet) {}
};

TEST_F(CmsDetailTabletKeyboardTest, HidingTheKeyboardRestoresTheEditHeight) {
  auto detail = openDetail(kAssigned);
  pickTab(*detail, 2);
  tapRight(*detail);
  settleDetail(0.8);
  auto editor = std::dynamic_pointer_cast<CmsCommentReplyViewController>(root->topViewController());
  ASSERT_TRUE(editor);
  auto edit = editor->editView.lock();
  const double before = edit->frame().height();
  pf::Notification show{pf::Keyboard::kWillShowNotification, nullptr,
                        {{pf::Keyboard::kFrameEndUserInfoKey, pf::Keyboard::valueWithRect({0, 700, 768, 324})}}};
  editor->keyboardWillShow(show);
  settleDetail(0.5);
  EXPECT_DOUBLE_EQ(edit->frame().height(), editor->view()->bounds().height() - 324);
  pf::Notification hide{pf::Keyboard::kWillHideNotification, nullptr,
                        {{pf::Keyboard::kFrameEndUserInfoKey, pf::Keyboard::valueWithRect({0, 1024, 768, 324})}}};
  editor->keyboardWillHide(hide);
  settleDetail(0.5);
  EXPECT_DOUBLE_EQ(edit->frame().height(), before);
}
