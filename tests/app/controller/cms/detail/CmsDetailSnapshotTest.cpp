// How the course detail looks on the phone and the tablet: the study tab of a selected course, the
// brief, the comments, the editor and the featured courses, checked by sampled pixels and places.

#include <gtest/gtest.h>

#include "app/controller/cms/CmsBaseInfoCell.h"
#include "app/controller/cms/CmsCommentCell.h"
#include "app/controller/cms/CmsCommentReplyViewController.h"
#include "app/controller/cms/CmsRecommandView.h"
#include "app/controller/cms/CmsRecommandViewController.h"
#include "app/controller/cms/CmsStudySelCosCell.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "tests/app/controller/cms/detail/CmsDetailJourneyTest.h"

namespace cms_detail_snapshot_test {

pf::Rect inWindow(const std::shared_ptr<pf::View>& view) { return view->convertRectToView(view->bounds(), nullptr); }

bool isPlainWhite(const pf::Pixel& pixel) { return pixel.red > 245 && pixel.green > 245 && pixel.blue > 245; }

}  // namespace cms_detail_snapshot_test

using namespace cms_detail_snapshot_test;

class CmsDetailSnapshotTest : public CmsDetailJourneyTest, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  CmsDetailSnapshotTest() : CmsDetailJourneyTest(GetParam()) {}
  std::string suffix() const { return GetParam() == pf::Screen::Profile::Phone ? "_phone.png" : "_tablet.png"; }
};

// Faults caught: an interface file that does not load on a profile, a cover, progress bar or text
// that is not drawn, rows overlapping, an editor without its text area.
TEST_P(CmsDetailSnapshotTest, TheTabsEditorAndFeaturedCoursesShowTheirContent) {
  auto detail = openDetail("CRS-001", CmsDetailViewController::kViewTypeMyCourses);
  auto study = detail->studyTab();
  auto info = std::dynamic_pointer_cast<CmsBaseInfoCell>(study->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(info);
  const double scale = GetParam() == pf::Screen::Profile::Tablet ? pf::Screen::mainScreen().bounds().height() / 480 : 1;
  EXPECT_DOUBLE_EQ(study->tableView()->rectForRowAtIndexPath(pf::IndexPath::forRow(0, 0)).height(), 112 * scale);
  EXPECT_DOUBLE_EQ(study->tableView()->rectForRowAtIndexPath(pf::IndexPath::forRow(1, 0)).height(), 60 * scale);
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, "cms_detail_study" + suffix());
  const pf::Rect cover = inWindow(info->courseImgView.lock());
  EXPECT_FALSE(isPlainWhite(host.pixelAt({cover.midX(), cover.midY()}))) << "the cover";
  const pf::Rect name = inWindow(info->courseNameLabel.lock());
  const pf::Rect unitRow = study->tableView()->convertRectToView(
      study->tableView()->rectForRowAtIndexPath(pf::IndexPath::forRow(1, 0)), nullptr);
  EXPECT_LE(name.maxY(), unitRow.minY()) << "the information row stays above the units";

  pickTab(*detail, 1);
  loop->runUntilTrue([&] { return detail->briefTab()->pendingBriefReads() == 0; }, 20);
  settleDetail(0.5);
  host.render();
  writeSnapshot(host, "cms_detail_brief" + suffix());
  EXPECT_TRUE(detail->briefTab()->brief.has_value());

  pickTab(*detail, 2);
  loop->runUntilTrue([&] { return !detail->commentTab()->isRefreshing(); }, 20);
  settleDetail(0.5);
  host.render();
  writeSnapshot(host, "cms_detail_comments" + suffix());
  auto comment = std::dynamic_pointer_cast<CmsCommentCell>(
      detail->commentTab()->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(comment);
  const pf::Rect face = inWindow(comment->userImgView.lock());
  EXPECT_FALSE(isPlainWhite(host.pixelAt({face.midX(), face.midY()}))) << "the avatar";
  EXPECT_GE(inWindow(comment->commentLabel.lock()).minY(), face.maxY()) << "the text under the face";

  tapRight(*detail);
  settleDetail(0.8);
  auto editor = std::dynamic_pointer_cast<CmsCommentReplyViewController>(root->topViewController());
  ASSERT_TRUE(editor);
  host.render();
  writeSnapshot(host, "cms_detail_editor" + suffix());
  const pf::Rect text = inWindow(editor->commentReplyView.lock());
  EXPECT_TRUE(isPlainWhite(host.pixelAt({text.minX() + 10, text.maxY() - 10}))) << "the white text area";
  editor->leftBtnPressed();
  settleDetail();
  root->popViewControllerAnimated(false);
  settleDetail(0.5);

  auto featured = std::dynamic_pointer_cast<CmsRecommandViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsRecommandViewController::kClassName));
  ASSERT_TRUE(featured);
  root->pushViewController(featured, false);
  loop->runUntilTrue([&] { return !featured->resourceArr.empty(); }, 20);
  settleDetail();
  host.render();
  writeSnapshot(host, "cms_featured" + suffix());
  auto pages = featured->pageControl.lock();
  EXPECT_FALSE(pages->isHidden());
  EXPECT_EQ(pages->numberOfPages(), static_cast<long>(featured->resourceArr.size()));
}

INSTANTIATE_TEST_SUITE_P(Profiles, CmsDetailSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));
